// The record list panel driven through its widgets: buttons, keys, the
// quick-search field, the sort list, the scroll bars and the binding errors.

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <stdexcept>

#include "tests/support/named_records.h"
#include "tests/support/scripted_platform.h"
#include "ui/qt/fk_brow.h"
#include "ui/qt/fk_edit.h"

namespace kontura {
namespace {

class FkBrowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(records.fb, nullptr);
    brow.resize(420, 300);
    brow.OnBuildRow = [this](RowRec& row) { row.text = records.NameInBuffer() + ";" + std::to_string(row.ref); };
    brow.OnSetHeaderFooter = [this] {
      ++header_calls;
      brow.SetHeaderFooter(brow.CurrentKeyNr() == 2 ? "Name;Nummer" : "Nummer;Name", "Fu\xDF");
    };
    grid = brow.findChild<QTableWidget*>("grid");
    search = brow.findChild<TfkEdit*>("eSuch");
    sort = brow.findChild<QComboBox*>("cbSort");
    ASSERT_TRUE(grid && search && sort);
  }
  void TearDown() override { EXPECT_TRUE(records.fatal.empty()); }

  void Bind(int n = 30) {
    records.AddNumbered(n);
    brow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&brow));
    ASSERT_TRUE(brow.BindFileblock(records.fb, 2, "", ""));
  }
  QString Cell(int row, int col) const {
    QTableWidgetItem* item = grid->item(row, col);
    return item ? item->text() : QString();
  }
  QString CurrentName() const { return Cell(grid->currentRow(), 0); }
  void Click(const char* button) {
    auto* b = brow.findChild<QToolButton*>(button);
    ASSERT_NE(b, nullptr) << button;
    QTest::mouseClick(b, Qt::LeftButton);
  }

  testing::NamedRecords records;
  testing::ScopedPlatform platform;
  TfkBrow brow;
  QTableWidget* grid = nullptr;
  TfkEdit* search = nullptr;
  QComboBox* sort = nullptr;
  int header_calls = 0;
};

TEST_F(FkBrowTest, GridShowsTheRowsThatFitUnderOneTitleRow) {
  Bind();
  const int row_height = static_cast<int>(std::lround(1.2 * QFontMetrics(grid->font()).height()));
  EXPECT_EQ(grid->rowHeight(0), row_height);
  EXPECT_EQ(grid->rowCount(), grid->viewport()->height() / row_height);
  EXPECT_EQ(grid->rowCount(), brow.RowsThatFit());
  ASSERT_GE(grid->rowCount(), 5);
  EXPECT_EQ(grid->columnCount(), 2);
  EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), QStringLiteral("Name"));
  EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Nummer"));
  EXPECT_EQ(brow.FooterText(), "Fu\xDF");
  EXPECT_EQ(Cell(0, 0), QStringLiteral("N01"));
  EXPECT_EQ(Cell(1, 1), QStringLiteral("2"));
  EXPECT_EQ(grid->currentRow(), 0);
  // Title width: (letters + 1) times an "X"; the last column fills the table.
  const int x = QFontMetrics(grid->font()).horizontalAdvance(QLatin1Char('X'));
  EXPECT_EQ(grid->columnWidth(0), 5 * x);
  EXPECT_EQ(grid->columnWidth(0) + grid->columnWidth(1), grid->viewport()->width());
  brow.OnBrowColWidths = [](int col) { return col == 0 ? 150 : 0; };
  brow.SetHeaderFooter("Name;Nummer", "");
  EXPECT_EQ(grid->columnWidth(0), 150);
  // A taller panel shows more rows.
  const int rows = grid->rowCount();
  brow.resize(420, 500);
  QApplication::processEvents();
  EXPECT_GT(grid->rowCount(), rows);
  EXPECT_EQ(Cell(grid->rowCount() - 1, 0).isEmpty(), false);
  EXPECT_FALSE(brow.findChild<QWidget*>("closeStrip")->isVisible());
  EXPECT_FALSE(brow.findChild<QWidget*>("btnClose")->isVisible());
}

TEST_F(FkBrowTest, MarkedRowsShowAPlusInAFixedFirstColumn) {
  brow.OnFindeSelectRow = [](int ref) { return ref % 2; };
  Bind(4);
  EXPECT_EQ(grid->columnCount(), 3);
  EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Name"));
  const QString marks[] = {QStringLiteral("+"), QString(), QStringLiteral("+"), QString()};
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(Cell(r, 0), marks[r]) << r;
    EXPECT_EQ(Cell(r, 1), QStringLiteral("N0%1").arg(r + 1)) << r;
  }
  EXPECT_EQ(brow.CurrentColumn(), 1);
  QTest::keyClick(grid, Qt::Key_Home);
  EXPECT_EQ(brow.CurrentColumn(), 1);  // the fixed column is never current
}

TEST_F(FkBrowTest, NavigationButtonsWithHints) {
  Bind();
  int scrolls = 0;
  brow.OnBrowScroll = [&scrolls] { ++scrolls; };
  const int rows = grid->rowCount();
  struct Case {
    const char* button;
    const char* hint;
    QString current;
  } cases[] = {
      {"btnNext", "nächster Datensatz", QStringLiteral("N02")},
      {"btnNextPage", "nächste Seite", QStringLiteral("N%1").arg(2 + rows, 2, 10, QLatin1Char('0'))},
      {"btnPrev", "voriger Datensatz", QStringLiteral("N%1").arg(1 + rows, 2, 10, QLatin1Char('0'))},
      {"btnLast", "Dateiende", QStringLiteral("N30")},
      {"btnPrevPage", "vorige Seite", QStringLiteral("N%1").arg(30 - rows, 2, 10, QLatin1Char('0'))},
      {"btnFirst", "Dateianfang", QStringLiteral("N01")},
  };
  for (const Case& c : cases) {
    Click(c.button);
    EXPECT_EQ(CurrentName(), c.current) << c.button;
    EXPECT_EQ(brow.findChild<QToolButton*>(c.button)->toolTip(), QString::fromUtf8(c.hint));
  }
  EXPECT_EQ(scrolls, 6);
  Click("btnLast");
  EXPECT_EQ(grid->currentRow(), rows - 1);  // the last record in the last row
}

TEST_F(FkBrowTest, KeysInTheTable) {
  Bind();
  int enters = 0;
  std::vector<int> posted;
  brow.OnBrowEnter = [&enters] { ++enters; };
  brow.OnProcessPostCommand = [&posted](const BrowKeyPress& k) {
    posted.push_back(k.code);
    return k.code == Qt::Key_Escape;
  };
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Down);
  QTest::keyClick(grid, Qt::Key_Down);
  EXPECT_EQ(CurrentName(), QStringLiteral("N03"));
  QTest::keyClick(grid, Qt::Key_Up);
  EXPECT_EQ(CurrentName(), QStringLiteral("N02"));
  QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(CurrentName(), QStringLiteral("N30"));
  QTest::keyClick(grid, Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(CurrentName(), QStringLiteral("N01"));
  QTest::keyClick(grid, Qt::Key_PageDown);
  EXPECT_EQ(grid->currentRow(), 0);
  EXPECT_NE(CurrentName(), QStringLiteral("N01"));
  // Columns: Right, End and Home move between them.
  QTest::keyClick(grid, Qt::Key_Right);
  EXPECT_EQ(brow.CurrentColumn(), 1);
  EXPECT_EQ(brow.findChild<QScrollBar*>("sbHorz")->value(), 1);
  QTest::keyClick(grid, Qt::Key_Home);
  EXPECT_EQ(brow.CurrentColumn(), 0);
  QTest::keyClick(grid, Qt::Key_End);
  EXPECT_EQ(brow.CurrentColumn(), 1);
  QTest::keyClick(grid, Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(brow.CurrentColumn(), 0);
  // Enter goes to the host; Esc, shifted and unlisted keys to its post command.
  QTest::keyClick(grid, Qt::Key_Return);
  EXPECT_EQ(enters, 1);
  QTest::keyClick(grid, Qt::Key_Escape);
  QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClick(grid, Qt::Key_F5);
  EXPECT_EQ(posted, (std::vector<int>{Qt::Key_Escape, Qt::Key_Down, Qt::Key_F5}));
}

TEST_F(FkBrowTest, QuickSearchAndTheKeysThatEmptyIt) {
  Bind();
  int search_enters = 0;
  brow.OnBrowSuchfeldEnter = [&search_enters] { ++search_enters; };
  brow.OnProcessPostCommand = [](const BrowKeyPress& k) { return k.code == Qt::Key_Escape; };
  search->setFocus();
  QTest::keyClicks(search, QStringLiteral("n2"));
  EXPECT_EQ(CurrentName(), QStringLiteral("N20"));
  QTest::keyClicks(search, QStringLiteral("-/ "));  // only letters and digits
  EXPECT_EQ(search->text(), QStringLiteral("n2"));
  QTest::keyClick(search, Qt::Key_Return);
  EXPECT_EQ(search_enters, 1);
  EXPECT_EQ(search->text(), QStringLiteral("n2"));
  QTest::keyClick(search, Qt::Key_Left);  // the edit's own cursor key
  EXPECT_EQ(search->text(), QStringLiteral("n2"));
  QTest::keyClick(search, Qt::Key_Delete);  // passed on, not handled: the field keeps its text
  EXPECT_EQ(search->text(), QStringLiteral("n"));
  QTest::keyClick(search, Qt::Key_Down);
  EXPECT_EQ(search->text(), QString());
  const QString after_down = CurrentName();
  EXPECT_NE(after_down, QStringLiteral("N20"));
  QTest::keyClicks(search, QStringLiteral("x"));  // behind every name: the last record
  EXPECT_EQ(CurrentName(), QStringLiteral("N30"));
  QTest::keyClick(search, Qt::Key_Escape);  // handled by the host
  EXPECT_EQ(search->text(), QString());
  EXPECT_EQ(CurrentName(), QStringLiteral("N30"));  // emptying the field searches nothing
}

TEST_F(FkBrowTest, SortListShownWithTwoEntries) {
  brow.OnInitSortList = [this] {
    brow.ClearSortList();
    brow.AddSortItem("Name");
  };
  Bind(3);
  EXPECT_FALSE(sort->isVisible());
  EXPECT_FALSE(sort->isEnabled());
  EXPECT_FALSE(brow.findChild<QLabel*>("lSortierung")->isVisible());

  brow.OnInitSortList = [this] {
    brow.ClearSortList();
    brow.AddSortItem("Name");
    brow.AddSortItem("Nummer");
  };
  brow.OnSortList2Key = [](int i, std::string& low, std::string& high) {
    low.clear();
    high.clear();
    return i == 0 ? 2 : 1;
  };
  records.Add("A00");  // number 4, first by name
  search->SetValue(std::string("N"));
  ASSERT_TRUE(brow.BindFileblock(records.fb, 2, "", ""));
  EXPECT_TRUE(sort->isVisible());
  EXPECT_TRUE(sort->isEnabled());
  EXPECT_EQ(sort->currentIndex(), -1);
  EXPECT_EQ(sort->placeholderText(), QStringLiteral("Sortierung"));
  EXPECT_EQ(search->text(), QString());
  EXPECT_EQ(CurrentName(), QStringLiteral("A00"));

  const int headers = header_calls;
  search->SetValue(std::string("A"));
  sort->setFocus();
  QTest::keyClick(sort, Qt::Key_Down);  // the list's own key: chooses "Name" (no change)
  QTest::keyClick(sort, Qt::Key_Down);  // chooses "Nummer"
  EXPECT_EQ(sort->currentIndex(), 1);
  EXPECT_EQ(brow.CurrentKeyNr(), 1);
  EXPECT_EQ(header_calls, headers + 1);
  EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), QStringLiteral("Nummer"));
  EXPECT_EQ(search->text(), QString());
  // The same record stays current in the new order: the last one by number.
  EXPECT_EQ(Cell(grid->currentRow(), 0), QStringLiteral("A00"));
  EXPECT_EQ(grid->currentRow(), 3);
}

TEST_F(FkBrowTest, DeleteKeyAsksAndRemovesTheRow) {
  Bind(3);
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Down);
  platform.dialogs.answers = {false, true};
  QTest::keyClick(grid, Qt::Key_Delete);
  EXPECT_EQ(records.fb->RecordCount(), 3);
  QTest::keyClick(grid, Qt::Key_Delete);
  EXPECT_EQ(platform.dialogs.questions,
            (std::vector<std::string>{" L\xF6schen \"Datensatz\"", " L\xF6schen \"Datensatz\""}));
  EXPECT_EQ(records.fb->RecordCount(), 2);
  EXPECT_EQ(CurrentName(), QStringLiteral("N03"));
  EXPECT_EQ(Cell(2, 0), QString());
}

TEST_F(FkBrowTest, DoubleClickReadsTheRecordAndCloseButtonsReport) {
  Bind(5);
  std::string seen;
  brow.OnBrowDoppelKlick = [this, &seen] { seen = records.NameInBuffer(); };
  int closes = 0;
  brow.OnBrowCloseBtnKlick = [&closes] { ++closes; };
  const QRect cell = grid->visualRect(grid->model()->index(3, 0));
  // A double click starts with a press on the cell.
  QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(grid->currentRow(), 3);
  EXPECT_EQ(seen, "N04");
  EXPECT_EQ(grid->currentRow(), 3);
  brow.SetCloseStripVisible(true);
  brow.SetCloseButtonVisible(true);
  Click("btnCloseStrip");
  Click("btnClose");
  EXPECT_EQ(closes, 2);
  EXPECT_EQ(brow.findChild<QToolButton*>("btnClose")->toolTip(), QStringLiteral("Schließen der Liste"));
}

TEST_F(FkBrowTest, VerticalScrollBarFollowsTheRecord) {
  Bind(300);
  auto* bar = brow.findChild<QScrollBar*>("sbVert");
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 299);
  EXPECT_EQ(bar->pageStep(), grid->rowCount() - 2);
  EXPECT_EQ(bar->value(), 0);
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(CurrentName(), QStringLiteral("N300"));
  EXPECT_EQ(bar->value(), 299);
  bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(CurrentName(), QStringLiteral("N299"));
  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(CurrentName(), QStringLiteral("N001"));
  EXPECT_EQ(bar->value(), 0);
  bar->setSliderPosition(150);  // a drag to the middle
  EXPECT_GT(records.fb->CurrentRef(), 1);
  EXPECT_LT(records.fb->CurrentRef(), 300);
}

TEST_F(FkBrowTest, BindingFailuresTellTheOperator) {
  int removed = 0;
  brow.OnEntf_brDats = [&removed] { ++removed; };
  brow.OnInit_brDats = [] { return false; };
  EXPECT_FALSE(brow.BindFileblock(records.fb, 2, "", ""));
  EXPECT_EQ(removed, 1);
  brow.OnInit_brDats = nullptr;
  EXPECT_FALSE(brow.BindFileblock(nullptr, 2, "", ""));
  brow.OnInitSortList = [] { throw std::runtime_error("host failed"); };
  EXPECT_FALSE(brow.BindFileblock(records.fb, 2, "", ""));
  EXPECT_EQ(platform.dialogs.messages,
            (std::vector<std::string>{"Fehler beim \xD6" "ffnen der Datenbanken!", "ung\xFCltiger Treiber",
                                      "Fehler beim Erstellen der Liste! (FNr 8)"}));
}

}  // namespace
}  // namespace kontura
