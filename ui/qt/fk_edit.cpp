#include "ui/qt/fk_edit.h"

#include <QKeyEvent>

#include "platform/qt/qt_text.h"

namespace kontura {

TfkEdit::TfkEdit(QWidget* parent) : QLineEdit(parent) {
  connect(this, &QLineEdit::textEdited, this, [this] { RaiseTypedText(); });
}

void TfkEdit::SetTextLimit(int limit) { m_limit = limit; }

// Typing (and pasting) that makes the text longer than the limit is taken
// back; a text that is too long already may still get shorter.
void TfkEdit::keyPressEvent(QKeyEvent* event) {
  const QString before = text();
  const int cursor = cursorPosition();
  QLineEdit::keyPressEvent(event);
  if (m_limit > 0 && text().size() > m_limit && text().size() > before.size()) {
    setText(before);
    setCursorPosition(cursor);
  }
}

void TfkEdit::RaiseTypedText() {
  if (!m_upper) return;
  const QString upper = text().toUpper();
  if (upper == text()) return;
  const int cursor = cursorPosition();
  setText(upper);
  setCursorPosition(cursor);
}

void TfkEdit::SetValue(const std::string& text) { setText(ToQString(m_field.TextForString(text))); }

void TfkEdit::SetValue(int64_t value) { setText(ToQString(m_field.TextForInteger(value))); }

void TfkEdit::SetCharValue(char value) { setText(ToQString(m_field.TextForChar(value))); }

void TfkEdit::SetRealValue(double value) {
  std::string current = FromQString(text());
  std::string next = m_field.TextForReal(value, current);
  // Writing only a changed text keeps the cursor and the operator's own way of
  // typing an unchanged number.
  if (next != current) setText(ToQString(next));
}

std::string TfkEdit::StringValue() const { return FromQString(text()); }

int64_t TfkEdit::IntegerValue() const { return m_field.IntegerOf(FromQString(text())); }

char TfkEdit::CharValue() const { return m_field.CharOf(FromQString(text())); }

double TfkEdit::RealValue() { return m_field.RealOf(FromQString(text())); }

}  // namespace kontura
