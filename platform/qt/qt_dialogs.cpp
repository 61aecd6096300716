#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/qt/qt_text.h"

namespace kontura {
namespace {

// Windows message texts separate lines with CR; Qt wants LF.
QString MessageText(std::string_view text) {
  QString s = ToQString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QChar('\r'), QChar('\n'));
  return s;
}

}  // namespace

void QtDialogs::ShowMessage(std::string_view text) {
  QMessageBox box(QMessageBox::Information, QApplication::applicationName(), MessageText(text),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

bool QtDialogs::AskYesNo(std::string_view text) {
  QMessageBox box(QMessageBox::Question, QApplication::applicationName(), MessageText(text),
                  QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
  box.button(QMessageBox::Yes)->setText(QStringLiteral("Ja"));
  box.button(QMessageBox::No)->setText(QStringLiteral("Nein"));
  return box.exec() == QMessageBox::Yes;
}

void QtDialogs::Beep() { QApplication::beep(); }

}  // namespace kontura
