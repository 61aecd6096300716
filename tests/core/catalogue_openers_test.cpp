// The openers and closers of the catalogue, the settings loaded from and
// saved to the set-up fileblocks, and the totals record of a contest.

#include <gtest/gtest.h>

#include "contest/contest_totals.h"
#include "contest/contest_totals_store.h"
#include "refdata/setup_record.h"
#include "refdata/suite_settings.h"
#include "refdata/suite_settings_store.h"
#include "storage/key_encoding.h"
#include "storage/record_bytes.h"
#include "tests/support/catalogue_ids.h"
#include "tests/support/start_dir_fixture.h"

namespace kontura::testing {
namespace {

class CatalogueOpenersTest : public StartDirTest {
 protected:
  void SetUp() override {
    StartDirTest::SetUp();
    ASSERT_TRUE(StartStorage());
    TheSuiteSettings() = SuiteSettings{};
  }
  void TearDown() override {
    TheSuiteSettings() = SuiteSettings{};
    ResetSuffixTable();
    StartDirTest::TearDown();
  }
};

TEST_F(CatalogueOpenersTest, UseCountsShareOneObject) {
  ASSERT_TRUE(OpenFHKK());
  Fileblock* first = CatalogueHandle(CatalogueId::kFhkk);
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(OpenFHKK());
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhkk), first);
  EXPECT_EQ(CatalogueRecord(CatalogueId::kFhkk), first->RecordBuffer());

  CloseFHKK();
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhkk), first) << "one user is left";
  EXPECT_EQ(FindOpenFileblock("FHKK"), first);
  CloseFHKK();
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhkk), nullptr);
  EXPECT_EQ(CatalogueRecord(CatalogueId::kFhkk), nullptr);
  EXPECT_EQ(FindOpenFileblock("FHKK"), nullptr);
  CloseFHKK();  // a closer without an opener does nothing
}

TEST_F(CatalogueOpenersTest, ContestLogIsNamedAfterTheContest) {
  ASSERT_TRUE(OpenFHLK(7));
  Fileblock* fb = CatalogueHandle(CatalogueId::kFhlk);
  EXPECT_EQ(fb->name(), "FHLK0007");
  EXPECT_EQ(fb->RecordCount(), 0);  // the first use creates the files
  EXPECT_TRUE(std::filesystem::exists(Path("FHLK0007.DAT")));
  EXPECT_TRUE(std::filesystem::exists(Path("FHLK0007.IX")));
  EXPECT_EQ(fb->key_count(), 27);
  CloseFHLK();
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhlk), nullptr);
}

TEST_F(CatalogueOpenersTest, EveryFileblockOpensWithItsTable) {
  for (const FileblockLayout& e : ProgramCatalogue()) {
    std::string name = IdOf(e) == CatalogueId::kFhlk ? FhlkFileName(1) : e.name;
    ASSERT_TRUE(OpenCatalogued(IdOf(e), name)) << name;
    Fileblock* fb = CatalogueHandle(IdOf(e));
    EXPECT_EQ(fb->RecordCount(), 0) << name;
    EXPECT_EQ(StorageErrorClass(), 0) << name;
    EXPECT_EQ(fb->buffer_size(), e.buffer_size) << name;
    CloseCatalogued(IdOf(e));
  }
  EXPECT_TRUE(platform.dialogs.questions.empty()) << "missing files are created without asking";
  EXPECT_TRUE(platform.dialogs.messages.empty());
}

TEST_F(CatalogueOpenersTest, FirstStartAddsClearedSetupRecordsAndKeepsInitialValues) {
  LoadSuiteSettings();
  EXPECT_EQ(TheSuiteSettings().OwnLocator, SuiteSettings{}.OwnLocator);
  ASSERT_TRUE(OpenFHSETUP());
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhsetup)->RecordCount(), 1);
  CloseFHSETUP();
  ASSERT_TRUE(OpenFHSETUP2());
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhsetup2)->RecordCount(), 1);
  CloseFHSETUP2();
}

TEST_F(CatalogueOpenersTest, SettingsSurviveSaveAndLoad) {
  LoadSuiteSettings();
  TheSuiteSettings().OwnCall = "DL1ABC";
  TheSuiteSettings().OwnLocator = "JO40HC";
  TheSuiteSettings().TimeOffsetHours = -1;
  SaveSuiteSettings();

  TheSuiteSettings() = SuiteSettings{};
  LoadSuiteSettings();
  EXPECT_EQ(TheSuiteSettings().OwnCall, "DL1ABC");
  EXPECT_EQ(TheSuiteSettings().OwnLocator, "JO40HC");
  EXPECT_EQ(TheSuiteSettings().TimeOffsetHours, -1);
}

TEST_F(CatalogueOpenersTest, SecondSetupRecordIsWrittenBackUnchanged) {
  ASSERT_TRUE(OpenFHSETUP2());
  Fileblock* fb = CatalogueHandle(CatalogueId::kFhsetup2);
  fb->ClearBuffer();
  PutPStr(fb->RecordBuffer(), 1668 + 11 * 2, 10, "X3");
  fb->RecordBuffer()[40000] = 0x5A;  // suite data this program does not know
  fb->AddRecord();
  ASSERT_EQ(StorageErrorClass(), 0);
  CloseFHSETUP2();

  LoadSuiteSettings();
  EXPECT_EQ(TheSuiteSettings().Setup2Texts[2], "X3");
  EXPECT_EQ(TheSuiteSettings().Setup2Texts[0], "M1") << "empty texts keep the defaults";
  SaveSuiteSettings();

  ASSERT_TRUE(OpenFHSETUP2());
  fb = CatalogueHandle(CatalogueId::kFhsetup2);
  fb->First(1);
  ASSERT_EQ(StorageErrorClass(), 0);
  EXPECT_EQ(GetPStr(fb->RecordBuffer(), 1668, 10), "") << "not filled with defaults";
  EXPECT_EQ(fb->RecordBuffer()[40000], 0x5A);
  CloseFHSETUP2();
}

TEST_F(CatalogueOpenersTest, TotalsRecordIsAddedOnce) {
  ASSERT_TRUE(OpenFHKZ());
  ASSERT_TRUE(EnsureContestTotals(7));
  Fileblock* fhkz = CatalogueHandle(CatalogueId::kFhkz);
  EXPECT_EQ(ConstContestTotals(fhkz->RecordBuffer()).ContestNumber(), 7);
  ASSERT_TRUE(EnsureContestTotals(7));
  ASSERT_TRUE(EnsureContestTotals(3));
  EXPECT_EQ(fhkz->RecordCount(), 2);
  fhkz->FindExact(1, NumberToKey(7));
  EXPECT_EQ(StorageErrorClass(), 0);
  CloseFHKZ();
}

}  // namespace
}  // namespace kontura::testing
