// The main window driven through its widgets in a temporary start directory.

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "app/qt/contest_brow.h"
#include "contest/contest_header.h"
#include "refdata/suite_settings.h"
#include "storage/catalogue.h"
#include "storage/fileblock.h"
#include "tests/support/modal_scripts.h"
#include "tests/support/start_dir_fixture.h"
#include "text/calendar.h"
#include "ui/qt/fk_brow.h"

namespace kontura::testing {
namespace {

// Records which catalogue action the window pressed, for which contest.
class RecordingActions : public CatalogueActions {
 public:
  std::vector<std::string> calls;
  void New() override { calls.push_back("New"); }
  void Start(int32_t n) override { calls.push_back("Start " + std::to_string(n)); }
  void Delete(int32_t n) override { calls.push_back("Delete " + std::to_string(n)); }
  void StartLogging(int32_t n) override { calls.push_back("StartLogging " + std::to_string(n)); }
  bool DeleteWithoutQuestion(int32_t n) override {
    calls.push_back("DeleteWithoutQuestion " + std::to_string(n));
    return false;
  }
};

class ContestBrowTest : public StartDirTest {
 protected:
  void TearDown() override {
    window.reset();
    TheSuiteSettings() = SuiteSettings{};
    StartDirTest::TearDown();
  }

  // Writes contest headers with the engine before the window starts.
  void WriteContests(const std::vector<std::tuple<char, std::string, int32_t>>& contests) {
    ASSERT_TRUE(StartStorage());
    ASSERT_TRUE(OpenFHKK());
    Fileblock* fhkk = CatalogueHandle(CatalogueId::kFhkk);
    for (const auto& [edition, name, date] : contests) {
      fhkk->ClearBuffer();
      TContestHeader h(fhkk->RecordBuffer());
      h.SetEditionCode(edition);
      h.SetEntryName(name);
      h.SetDateFrom(date);
      h.SetDateTo(date);
      fhkk->AddRecord();
      ASSERT_EQ(StorageErrorClass(), 0);
    }
    CloseFHKK();
    ExitFileManager();
  }

  TContestBrow& Open() {
    window = std::make_unique<TContestBrow>(&actions);
    EXPECT_EQ(window->FormCreate(), ContestBrowSession::Outcome::kReady);
    window->ShowAndGreet();
    QApplication::setActiveWindow(window.get());
    return *window;
  }

  QStringList ListRows() {
    auto* grid = window->findChild<QTableWidget*>(QStringLiteral("grid"));
    QStringList rows;
    for (int r = 0; r < grid->rowCount(); ++r) {  // the titles sit in the header
      QString row;
      for (int c = 0; c < grid->columnCount(); ++c) {
        if (auto* item = grid->item(r, c)) row += item->text();
      }
      if (!row.trimmed().isEmpty()) rows << row.trimmed();
    }
    return rows;
  }

  RecordingActions actions;
  std::unique_ptr<TContestBrow> window;
};

TEST_F(ContestBrowTest, FirstStartCreatesSetupAndLeadsIntoNew) {
  TContestBrow& w = Open();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Brixam Kontura Version 2010-1.0 Großraum-Mobilwettbewerb 80m"));
  EXPECT_TRUE(std::filesystem::exists(Path("FHSETUP.DAT")));
  // The empty prefix file is reported, then "Neu" is pressed for the empty contest file.
  ASSERT_EQ(platform.dialogs.messages.size(), 1u);
  EXPECT_EQ(platform.dialogs.messages[0].substr(0, 9), "Achtung: ");
  EXPECT_EQ(actions.calls, std::vector<std::string>{"New"});
  EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("MenueBeenden"))->text(), QStringLiteral("    Beenden"));
  EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("lUtils"))->text(), QStringLiteral("für"));
  EXPECT_GE(w.minimumWidth(), 800);
  EXPECT_GE(w.minimumHeight(), 600);
}

TEST_F(ContestBrowTest, OtherEditionsOnlyGiveAnEmptyListWithoutNew) {
  WriteContests({{'V', "Vorpommern", DayNumber(1, 5, 2026)}});
  Open();
  EXPECT_TRUE(ListRows().isEmpty());
  EXPECT_EQ(platform.dialogs.messages.size(), 1u) << "only the prefix warning";
  EXPECT_TRUE(actions.calls.empty());
}

TEST_F(ContestBrowTest, ListShowsThisEditionPositionedOnTheLatestStart) {
  WriteContests({{'m', "Mobil 2024", DayNumber(5, 5, 2024)},
                 {'m', "Mobil 2026", DayNumber(3, 5, 2026)},
                 {'V', "Vorpommern", DayNumber(1, 5, 2027)},
                 {'m', "Mobil 2025", DayNumber(4, 5, 2025)}});
  TContestBrow& w = Open();
  QStringList rows = ListRows();
  ASSERT_EQ(rows.size(), 3) << rows.join(QStringLiteral("|")).toStdString();
  EXPECT_TRUE(rows[0].startsWith(QStringLiteral("Mobil 2024")));
  EXPECT_TRUE(rows[2].startsWith(QStringLiteral("Mobil 2026")));
  ASSERT_TRUE(w.List()->ReadCurrent());
  EXPECT_EQ(ConstContestHeader(CatalogueRecord(CatalogueId::kFhkk)).EntryName(), "Mobil 2026");
  auto* bar = w.List()->findChild<QScrollBar*>(QStringLiteral("sbVert"));
  EXPECT_EQ(bar->value(), bar->maximum()) << "the knob shows the last record";
}

TEST_F(ContestBrowTest, EscapeAsksAndNoKeepsTheProgramRunning) {
  WriteContests({{'m', "Mobil", DayNumber(3, 5, 2026)}});
  TContestBrow& w = Open();
  platform.dialogs.answers = {false};
  QTest::keyClick(w.List()->findChild<QTableWidget*>(QStringLiteral("grid")), Qt::Key_Escape);
  ASSERT_EQ(platform.dialogs.questions.size(), 1u);
  EXPECT_EQ(platform.dialogs.questions[0], "Programm beenden?");
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(FileManagerStarted());

  platform.dialogs.answers = {true};
  QTest::keyClick(w.List()->findChild<QTableWidget*>(QStringLiteral("grid")), Qt::Key_Escape);
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(FileManagerStarted()) << "closing stops the engine";
  EXPECT_TRUE(exit_codes.empty());
}

TEST_F(ContestBrowTest, SchliessenClosesWithoutAQuestionAndSavesSettings) {
  WriteContests({{'m', "Mobil", DayNumber(3, 5, 2026)}});
  TContestBrow& w = Open();
  TheSuiteSettings().OwnCall = "DL9XYZ";
  w.findChild<QPushButton*>(QStringLiteral("btnSchliessen"))->click();
  EXPECT_FALSE(w.isVisible());
  EXPECT_TRUE(platform.dialogs.questions.empty());
  EXPECT_FALSE(FileManagerStarted());

  TheSuiteSettings() = SuiteSettings{};
  window.reset();
  TContestBrow& again = Open();
  EXPECT_EQ(again.findChild<QLabel*>(QStringLiteral("lCall"))->text(), QStringLiteral("DL9XYZ"));
}

TEST_F(ContestBrowTest, EnterPressesStartenAndHelpOpensTheHelpPage) {
  WriteContests({{'m', "Mobil", DayNumber(3, 5, 2026)}});
  TContestBrow& w = Open();
  QTest::keyClick(w.List()->findChild<QTableWidget*>(QStringLiteral("grid")), Qt::Key_Return);
  QTest::keyClick(w.List()->findChild<QTableWidget*>(QStringLiteral("grid")), Qt::Key_F10);
  EXPECT_EQ(actions.calls, (std::vector<std::string>{"Start 1", "Start 1"}));

  w.findChild<QPushButton*>(QStringLiteral("btnHilfe"))->click();
  ASSERT_EQ(platform.documents.opened.size(), 1u);
  EXPECT_EQ(QString::fromStdString(platform.documents.opened[0]), TContestBrow::HelpFilePath());
  EXPECT_TRUE(QFile::exists(TContestBrow::HelpFilePath()));

  // "Transceiver" opens the rig's settings over the main window.
  ModalScripts modals;
  modals.scripts.push_back([](QWidget& d) { d.findChild<QPushButton*>(QStringLiteral("btnAbbrechen"))->click(); });
  w.findChild<QPushButton*>(QStringLiteral("btnTransceiver"))->click();
  EXPECT_EQ(modals.seen, std::vector<std::string>{"RigSettingsDlg"});
}

// The window with its real catalogue: the Delete key in the list asks the
// browser's question once and removes the row's contest with its totals;
// "Löschen" and "Starten" on an empty list do nothing.
TEST_F(ContestBrowTest, DeleteKeyRemovesTheRowsContestAndAnEmptyListIgnoresTheButtons) {
  WriteContests({{'m', "Alpha", DayNumber(3, 5, 2025)}, {'m', "Beta", DayNumber(3, 5, 2026)}});
  TContestBrow w;
  ASSERT_EQ(w.FormCreate(), ContestBrowSession::Outcome::kReady);
  w.ShowAndGreet();
  QApplication::setActiveWindow(&w);
  auto* grid = w.List()->findChild<QTableWidget*>(QStringLiteral("grid"));
  ASSERT_TRUE(w.List()->ReadCurrent());
  EXPECT_EQ(ConstContestHeader(CatalogueRecord(CatalogueId::kFhkk)).EntryName(), "Beta");

  platform.dialogs.answers = {true};
  QTest::keyClick(grid, Qt::Key_Delete);
  ASSERT_EQ(platform.dialogs.questions.size(), 1u);
  EXPECT_NE(platform.dialogs.questions[0].find("Beta"), std::string::npos);
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhkk)->RecordCount(), 1);
  ASSERT_TRUE(w.List()->ReadCurrent());
  EXPECT_EQ(ConstContestHeader(CatalogueRecord(CatalogueId::kFhkk)).EntryName(), "Alpha");

  platform.dialogs.answers = {true};
  QTest::keyClick(grid, Qt::Key_Delete);
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhkk)->RecordCount(), 0);
  platform.dialogs.questions.clear();
  platform.dialogs.messages.clear();
  w.findChild<QPushButton*>(QStringLiteral("btnLoeschen"))->click();
  w.findChild<QPushButton*>(QStringLiteral("btnStarten"))->click();
  EXPECT_TRUE(platform.dialogs.questions.empty());
  EXPECT_TRUE(platform.dialogs.messages.empty());
  w.close();
}

}  // namespace
}  // namespace kontura::testing
