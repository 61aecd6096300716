// TPrefAuswahl driven through its widgets: rows selected by click and arrow
// keys, taken by double click or "Übernehmen", cancelled by Escape or
// "Abbrechen".

#include "refdata/qt/prefix_choice_dialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace kontura {
namespace {

std::vector<PrefixCandidate> ThreeRows() {
  return {{1, "VK9X", "29", "54", "Christmas Island", ""},
          {2, "VK9C", "29", "54", "Cocos-Keeling", "Cocos"},
          {3, "VK9O", "29", "54", "Old Island", "  (deleted)"}};
}

QString ColumnText(QWidget* row, int column) {
  return row->findChild<QLabel*>(QStringLiteral("col%1").arg(column))->text();
}

bool Highlighted(QWidget* row) { return row->palette().color(QPalette::Window) == QColor(0, 0, 128); }

// Runs `drive` on the chooser's dialog as soon as it shows.
int ChooseDriven(const std::function<void(TPrefAuswahl*)>& drive) {
  QTimer::singleShot(0, [drive] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* d = qobject_cast<TPrefAuswahl*>(w); d && d->isVisible()) drive(d);
    }
  });
  QtPrefixChooser chooser;
  return chooser.Choose("VK9", ThreeRows());
}

TEST(TPrefAuswahl, ShowsTheRowsUnderTheirHeadings) {
  TPrefAuswahl d("VK9", ThreeRows());
  d.show();
  EXPECT_EQ(d.windowTitle(), QStringLiteral("Auswahl DXCC"));
  auto* name = d.findChild<QLabel*>(QStringLiteral("lQSO1"));
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->text(), QStringLiteral("VK9"));
  EXPECT_TRUE(name->font().bold());
  EXPECT_TRUE(d.findChild<QLabel*>(QStringLiteral("ltext3"))->isVisible());
  EXPECT_FALSE(d.findChild<QLabel*>(QStringLiteral("ltext1"))->isVisible());
  QWidget* heading = d.findChild<QWidget*>(QStringLiteral("heading"));
  EXPECT_EQ(ColumnText(heading, 1), QStringLiteral("Nr"));
  EXPECT_EQ(ColumnText(heading, 6), QStringLiteral("Bemerkung"));
  QWidget* row3 = d.RowWidget(2);
  EXPECT_EQ(row3->objectName(), QStringLiteral("row3"));
  EXPECT_EQ(ColumnText(row3, 1), QStringLiteral(" 3"));
  EXPECT_EQ(ColumnText(row3, 2), QStringLiteral("VK9O"));
  EXPECT_EQ(ColumnText(row3, 5), QStringLiteral("Old Island"));
  EXPECT_EQ(ColumnText(row3, 6), QStringLiteral("  (deleted)"));
  const int cw = QFontMetrics(d.font()).horizontalAdvance(QLatin1Char('8'));
  EXPECT_EQ(d.width(), 91 * cw + 20);

  TPrefAuswahl bigger("VK9", {ThreeRows()[0], ThreeRows()[1], ThreeRows()[2], ThreeRows()[0]});
  EXPECT_EQ(bigger.sizeHint().height() - d.sizeHint().height(), 18) << "18 pixels per row";
}

TEST(TPrefAuswahl, ClickAndArrowsSelectOneRow) {
  TPrefAuswahl d("VK9", ThreeRows());
  d.show();
  auto* take = d.findChild<QPushButton*>(QStringLiteral("btnUebernahme"));
  auto* focus = d.findChild<QLineEdit*>(QStringLiteral("eFocus"));
  EXPECT_FALSE(take->isEnabled());
  EXPECT_EQ(d.SelectedRow(), -1);

  QTest::mouseClick(d.RowWidget(1), Qt::LeftButton);
  EXPECT_EQ(d.SelectedRow(), 1);
  EXPECT_TRUE(take->isEnabled());
  EXPECT_TRUE(take->isDefault());
  EXPECT_TRUE(Highlighted(d.RowWidget(1)));
  EXPECT_FALSE(Highlighted(d.RowWidget(0)));

  const struct {
    Qt::Key key;
    int row;
  } steps[] = {{Qt::Key_Down, 2}, {Qt::Key_Down, 0}, {Qt::Key_Up, 2}, {Qt::Key_Up, 1}};
  for (const auto& s : steps) {
    QTest::keyClick(focus, s.key);
    EXPECT_EQ(d.SelectedRow(), s.row);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Highlighted(d.RowWidget(i)), i == s.row) << i;
  }
  QTest::mouseClick(take, Qt::LeftButton);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.TakenRow(), 1);
}

TEST(TPrefAuswahl, ArrowsWithoutSelectionStartAtTheEnds) {
  for (const auto& [key, row] : {std::pair{Qt::Key_Down, 0}, std::pair{Qt::Key_Up, 2}}) {
    TPrefAuswahl d("VK9", ThreeRows());
    d.show();
    QTest::keyClick(d.findChild<QLineEdit*>(QStringLiteral("eFocus")), key);
    EXPECT_EQ(d.SelectedRow(), row);
  }
}

TEST(TPrefAuswahl, ChooserTakesDoubleClickedRowAndNothingOnCancel) {
  EXPECT_EQ(ChooseDriven([](TPrefAuswahl* d) { QTest::mouseDClick(d->RowWidget(2), Qt::LeftButton); }), 2);
  EXPECT_EQ(ChooseDriven([](TPrefAuswahl* d) {
              QTest::mouseClick(d->RowWidget(0), Qt::LeftButton);
              QTest::keyClick(d->findChild<QLineEdit*>(QStringLiteral("eFocus")), Qt::Key_Escape);
            }),
            -1);
  EXPECT_EQ(ChooseDriven([](TPrefAuswahl* d) {
              QTest::mouseClick(d->RowWidget(0), Qt::LeftButton);
              d->findChild<QPushButton*>(QStringLiteral("btnAbbruch"))->click();
            }),
            -1);
}

}  // namespace
}  // namespace kontura
