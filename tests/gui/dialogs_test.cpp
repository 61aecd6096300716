// The Qt message boxes show German buttons and return the operator's answer.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/qt/qt_dialogs.h"

namespace kontura {
namespace {

// Clicks the button with the given text in the active message box as soon as it shows.
void ClickLater(const QString& text) {
  QTimer::singleShot(0, [text] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (!box || !box->isVisible()) continue;
      for (QAbstractButton* b : box->buttons()) {
        if (b->text() == text) b->click();
      }
    }
  });
}

TEST(QtDialogs, YesNoQuestionAnswers) {
  QtDialogs dialogs;
  ClickLater(QStringLiteral("Ja"));
  EXPECT_TRUE(dialogs.AskYesNo("Programm beenden?"));
  ClickLater(QStringLiteral("Nein"));
  EXPECT_FALSE(dialogs.AskYesNo("Programm beenden?"));
}

TEST(QtDialogs, MessageShowsConvertedText) {
  QtDialogs dialogs;
  QString seen;
  QTimer::singleShot(0, [&seen] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
        seen = box->text();
        box->button(QMessageBox::Ok)->click();
      }
    }
  });
  dialogs.ShowMessage("Datenbankzugriff verweigert!\rZeile 2 \xFC");
  EXPECT_EQ(seen, QStringLiteral("Datenbankzugriff verweigert!\nZeile 2 ü"));
}

}  // namespace
}  // namespace kontura
