// Rows and headings of the contest list, its sort orders, and the main
// window's start-up and closing sequence on a real start directory.

#include <gtest/gtest.h>

#include <array>

#include "app/catalogue_actions.h"
#include "app/contest_brow.h"
#include "app/contest_list.h"
#include "contest/contest_header.h"
#include "refdata/suite_settings.h"
#include "tests/support/start_dir_fixture.h"
#include "text/calendar.h"

namespace kontura::testing {
namespace {

std::array<uint8_t, contest_header::kSize> Header(const std::string& name, int32_t from, int32_t to) {
  std::array<uint8_t, contest_header::kSize> rec{};
  TContestHeader h(rec.data());
  h.SetEntryName(name);
  h.SetDateFrom(from);
  h.SetDateTo(to);
  h.SetEditionCode('m');
  return rec;
}

TEST(ContestList, RowTextUnderBothKeys) {
  auto rec = Header("Mobil 2026", DayNumber(7, 3, 2026), DayNumber(8, 3, 2026));
  EXPECT_EQ(ContestRowText(rec.data(), kContestListKeyName),
            " Mobil 2026 ;07.03.2026   ;08.03.2026   ");
  EXPECT_EQ(ContestRowText(rec.data(), kContestListKeyDate),
            " 07.03.2026   ;Mobil 2026 ;08.03.2026   ");
}

TEST(ContestList, LongNameAndMissingDates) {
  auto rec = Header(std::string(25, 'N'), 0, -1);
  std::string row = ContestRowText(rec.data(), kContestListKeyName);
  EXPECT_EQ(row, " " + std::string(25, 'N') + " ;" + std::string(13, ' ') + ";" + std::string(13, ' '));
}

TEST(ContestList, Headings) {
  std::string by_name = ContestHeadingText(kContestListKeyName);
  ASSERT_EQ(by_name.size(), 255u);
  EXPECT_EQ(by_name.substr(0, 55), "  Name" + std::string(21, ' ') + ";Datum (von)  ;Datum (bis)  ");
  EXPECT_EQ(ContestHeadingText(kContestListKeyDate).substr(0, 16), " Datum (von)  ; ");
}

TEST(ContestList, SortEntriesSelectEditionRange) {
  std::string low, high;
  EXPECT_EQ(ContestSortListToKey(0, 'm', low, high), 1);
  EXPECT_EQ(low, "m");
  EXPECT_EQ(high, "m");
  EXPECT_EQ(ContestSortListToKey(1, 'm', low, high), 2);
  EXPECT_EQ(ContestSortListToKey(2, 'm', low, high), 0);
  EXPECT_EQ(ContestSortListToKey(-1, 'm', low, high), 0);
}

class ContestBrowSessionTest : public StartDirTest {
 protected:
  void TearDown() override {
    session.Close();
    TheSuiteSettings() = SuiteSettings{};
    StartDirTest::TearDown();
  }
  ContestBrowSession session;
};

TEST_F(ContestBrowSessionTest, FirstStartInAnEmptyDirectory) {
  ASSERT_EQ(session.Start(), ContestBrowSession::Outcome::kReady);
  ASSERT_EQ(platform.dialogs.messages.size(), 1u);
  EXPECT_EQ(platform.dialogs.messages[0], ContestBrowSession::EmptyPrefixFileText());
  EXPECT_TRUE(session.ContestFileEmpty());
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhsetup), nullptr) << "FHSETUP is open only around each use";
  EXPECT_NE(CatalogueHandle(CatalogueId::kFhkk), nullptr);
  EXPECT_EQ(session.Definition().ContestName, "Gro\xDF" "raum-Mobilwettbewerb 80m 1600");
  EXPECT_EQ(session.Definition().SentDefaults[1], TheSuiteSettings().OwnLocator);
  session.Close();
  EXPECT_FALSE(FileManagerStarted());
  EXPECT_TRUE(exit_codes.empty()) << "everything was closed before the engine stopped";
  // FHKZ is opened but not used yet: its files come with its first use.
  for (const char* f : {"FHSETUP.DAT", "FHSETUP2.DAT", "FHPRO.DAT", "FHKK.DAT", "FHPREFIX.DAT"}) {
    EXPECT_TRUE(std::filesystem::exists(Path(f))) << f << " in " << m_dir;
  }
}

TEST_F(ContestBrowSessionTest, SettingsWrittenBackAtTheEnd) {
  ASSERT_EQ(session.Start(), ContestBrowSession::Outcome::kReady);
  TheSuiteSettings().OwnCall = "DL1ABC";
  session.Close();
  TheSuiteSettings() = SuiteSettings{};
  ASSERT_EQ(session.Start(), ContestBrowSession::Outcome::kReady);
  EXPECT_EQ(ContestBrowSession::CallLabelText(), "DL1ABC");
}

TEST_F(ContestBrowSessionTest, OtherEditionsMakeTheFileNonEmpty) {
  ASSERT_TRUE(StartStorage());
  ASSERT_TRUE(OpenFHKK());
  Fileblock* fhkk = CatalogueHandle(CatalogueId::kFhkk);
  fhkk->ClearBuffer();
  TContestHeader(fhkk->RecordBuffer()).SetEditionCode('V');
  fhkk->AddRecord();
  ASSERT_EQ(StorageErrorClass(), 0);
  CloseFHKK();
  ExitFileManager();

  ASSERT_EQ(session.Start(), ContestBrowSession::Outcome::kReady);
  EXPECT_FALSE(session.ContestFileEmpty());
}

TEST(CallLabel, CallElseListenerNumberElseEmpty) {
  SuiteSettings saved = TheSuiteSettings();
  TheSuiteSettings().OwnCall = "";
  TheSuiteSettings().SwlNumber = "DE-1234";
  EXPECT_EQ(ContestBrowSession::CallLabelText(), "DE-1234");
  TheSuiteSettings().SwlNumber = "";
  EXPECT_EQ(ContestBrowSession::CallLabelText(), "");
  TheSuiteSettings().OwnCall = "DL1ABC";
  EXPECT_EQ(ContestBrowSession::CallLabelText(), "DL1ABC");
  TheSuiteSettings() = saved;
}

TEST(UnavailableLogWindow, TellsTheOperator) {
  ScopedPlatform platform;
  UnavailableLogWindow log_window;
  log_window.RunLogWindow(1, TContestDefinition{}, WindowPlacement{});
  ASSERT_EQ(platform.dialogs.messages.size(), 1u);
  EXPECT_EQ(platform.dialogs.messages[0], UnavailableLogWindow::Text());
}

}  // namespace
}  // namespace kontura::testing
