#include "contest/qt/contest_note.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QVBoxLayout>
#include <vector>

#include "contest/contest_header.h"
#include "contest/contest_header_store.h"
#include "contest/contest_note.h"
#include "platform/platform.h"
#include "platform/qt/qt_text.h"
#include "refdata/suite_settings.h"
#include "storage/catalogue.h"
#include "text/calendar.h"
#include "ui/qt/text_printing.h"

namespace kontura {
namespace {

constexpr char kNoteNotSaved[] = "Die Notiz konnte nicht gespeichert werden.";

}  // namespace

TContNotiz::TContNotiz(const std::string& path, const std::string& text, size_t cursor, QWidget* parent)
    : QDialog(parent), m_path(path) {
  setObjectName(QStringLiteral("ContNotiz"));
  setWindowTitle(ToQString(kNoteCaption));
  auto* layout = new QVBoxLayout(this);
  m_text = new QPlainTextEdit(this);
  m_text->setObjectName(QStringLiteral("mNotiz"));
  m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  m_text->setPlainText(ToQString(text));
  layout->addWidget(m_text);
  auto* buttons = new QHBoxLayout;
  auto* print = new QPushButton(ToQString(kNotePrint), this);
  print->setObjectName(QStringLiteral("btnDrucken"));
  auto* save = new QPushButton(ToQString(kNoteSaveAndClose), this);
  save->setObjectName(QStringLiteral("btnSpeichern"));
  for (QPushButton* b : {print, save}) b->setAutoDefault(false);
  buttons->addWidget(print);
  buttons->addStretch();
  buttons->addWidget(save);
  layout->addLayout(buttons);
  connect(save, &QPushButton::clicked, this, [this] { SaveAndClose(); });
  connect(print, &QPushButton::clicked, this, [this] { Print(); });

  QTextCursor c = m_text->textCursor();
  c.setPosition(std::min(static_cast<int>(cursor), static_cast<int>(m_text->document()->characterCount() - 1)));
  m_text->setTextCursor(c);
  m_text->setFocus();
}

bool TContNotiz::Save() {
  if (SaveContestNote(m_path, FromQString(m_text->toPlainText()))) return true;
  TheDialogs().ShowMessage(kNoteNotSaved);
  return false;
}

void TContNotiz::SaveAndClose() {
  if (!Save()) return;
  m_saved = true;
  m_text->clear();
  accept();
}

void TContNotiz::Print() {
  if (Save()) PrintTextFile(m_path, this);
}

// Esc saves and closes, like the button that names it.
void TContNotiz::reject() { SaveAndClose(); }

bool OpenContestNote(QWidget* parent, int32_t contest_number, const std::string& call) {
  std::vector<uint8_t> bytes;
  if (!LoadContestHeader(contest_number, &bytes)) return false;
  const ConstContestHeader header(bytes.data());
  const std::string path = StartDir() + ContestNoteFileName(header.EntryName());
  int32_t seconds = 0;
  const int32_t date = ClockShiftedBy(TheSuiteSettings().TimeOffsetHours, &seconds);
  const std::string prefix = NotePrefixLine(date, seconds, call);
  std::string text;
  if (!PrepareContestNote(path, prefix, &text)) TheDialogs().ShowMessage(kNoteNotSaved);

  // The cursor goes behind the prefix as it was inserted: a call longer
  // than its 10 places makes the line longer than the pictures say.
  TContNotiz note(path, text, prefix.size(), parent);
  if (header.NoteWidth() > 0) {
    note.setGeometry(header.NoteLeft(), header.NoteTop(), header.NoteWidth(), header.NoteHeight());
  } else {
    note.resize(640, 420);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      note.move(screen->availableGeometry().center() - note.rect().center());
    }
  }
  note.exec();
  const QRect g = note.geometry();
  UpdateContestHeader(contest_number, [&g](TContestHeader& h) {
    h.SetNoteLeft(static_cast<int16_t>(g.left()));
    h.SetNoteTop(static_cast<int16_t>(g.top()));
    h.SetNoteWidth(static_cast<int16_t>(g.width()));
    h.SetNoteHeight(static_cast<int16_t>(g.height()));
  });
  return note.Saved();
}

}  // namespace kontura
