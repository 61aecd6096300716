// The catalogue actions on a real start directory, with a scripted
// configuration dialog (the real dialog logic behind scripted fields) and a
// logging window that records what it was given.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/contest_brow.h"
#include "app/contest_catalogue.h"
#include "contest/contest_config.h"
#include "contest/contest_header.h"
#include "contest/contest_totals.h"
#include "refdata/suite_settings.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"
#include "tests/support/start_dir_fixture.h"

namespace kontura::testing {
namespace {

// Runs the dialog logic: opens it in the mode asked and saves the fields
// with the initiator of the script (none: the operator cancels).
class ScriptedConfigDialog : public ConfigurationDialogRunner {
 public:
  std::vector<ConfigMode> modes;
  std::vector<std::string> names_seen;
  std::optional<SaveInitiator> initiator;
  std::function<void(ConfigFields&)> edit = [](ConfigFields&) {};

  ConfigDialogResult RunConfigurationDialog(ConfigMode mode, TContestDefinition& def) override {
    modes.push_back(mode);
    ContestConfig config(mode, def);
    ConfigFields f = config.Open();
    names_seen.push_back(f.name);
    if (!initiator) return {};
    edit(f);
    ConfigDialogResult r;
    if (config.Save(f, *initiator).saved()) {
      r.start = *initiator == SaveInitiator::kContestStarten;
      r.contest_number = config.ContestNumber();
    }
    return r;
  }
};

class RecordingLogWindow : public LogWindowLauncher {
 public:
  std::vector<int32_t> contests;
  std::function<void()> during = [] {};
  void RunLogWindow(int32_t contest_number, TContestDefinition, const WindowPlacement&) override {
    contests.push_back(contest_number);
    during();
  }
};

class ContestCatalogueTest : public StartDirTest {
 protected:
  void SetUp() override {
    StartDirTest::SetUp();
    TheSuiteSettings() = SuiteSettings{};
    ASSERT_EQ(session.Start(), ContestBrowSession::Outcome::kReady);
    platform.dialogs.messages.clear();
  }
  void TearDown() override {
    session.Close();
    TheSuiteSettings() = SuiteSettings{};
    StartDirTest::TearDown();
  }

  // A new contest stored with "Beenden".
  int32_t Create(const std::string& name) {
    dialog.initiator = SaveInitiator::kBeenden;
    dialog.edit = [name](ConfigFields& f) {
      f.name = name;
      f.plz = "80331";
      f.locator = "JN58TD";
      f.call = "DL1ABC";
      f.date_from = f.date_to = "07.03.2026";
      f.utc_time = true;
      f.category = 0;
      f.participant_no = "5";
    };
    catalogue.New();
    return ConstContestHeader(Fhkk()->RecordBuffer()).ContestNumber();
  }

  Fileblock* Fhkk() { return CatalogueHandle(CatalogueId::kFhkk); }
  Fileblock* Fhkz() { return CatalogueHandle(CatalogueId::kFhkz); }
  std::string NameOf(int32_t number) {
    Fhkk()->FindExact(3, NumberToKey(number));
    return StorageErrorClass() == 0 ? ConstContestHeader(Fhkk()->RecordBuffer()).EntryName() : "<none>";
  }

  ContestBrowSession session;
  ScriptedConfigDialog dialog;
  RecordingLogWindow log_window;
  ContestCatalogue catalogue{session, dialog, log_window, [] { return WindowPlacement{}; }};
};

TEST_F(ContestCatalogueTest, EmptyListDoesNothing) {
  catalogue.Start(0);
  catalogue.Delete(0);
  catalogue.StartLogging(0);
  EXPECT_FALSE(catalogue.DeleteWithoutQuestion(0));
  EXPECT_TRUE(dialog.modes.empty());
  EXPECT_TRUE(log_window.contests.empty());
  EXPECT_TRUE(platform.dialogs.messages.empty());
  EXPECT_TRUE(platform.dialogs.questions.empty());
}

TEST_F(ContestCatalogueTest, CancelledNewContestLeavesTheCatalogueUnchanged) {
  catalogue.New();
  EXPECT_EQ(dialog.modes, std::vector<ConfigMode>{ConfigMode::kNew});
  EXPECT_EQ(platform.dialogs.messages, std::vector<std::string>{ContestCatalogue::NewVersionNotice()});
  EXPECT_EQ(Fhkk()->RecordCount(), 0);
  EXPECT_EQ(Fhkz()->RecordCount(), 0);
}

TEST_F(ContestCatalogueTest, BeendenStoresWithoutLogging) {
  EXPECT_EQ(Create("Mobil 2026"), 1);
  EXPECT_EQ(Fhkk()->RecordCount(), 1);
  EXPECT_EQ(Fhkz()->RecordCount(), 1);
  EXPECT_TRUE(log_window.contests.empty());
}

TEST_F(ContestCatalogueTest, StartingLogsThenShowsTheTotalsAndStoresWhatLoggingChanged) {
  Create("Mobil 2026");
  Create("Zweiter");
  // The logging window counts three QSOs into the header; meanwhile the list
  // reads the other contest into the shared buffer.
  log_window.during = [this] {
    TContestHeader(Fhkk()->RecordBuffer()).SetSumQso(1, 3);
    Fileblock* fhkk = Fhkk();
    std::vector<uint8_t> mine(fhkk->RecordBuffer(), fhkk->RecordBuffer() + contest_header::kSize);
    fhkk->FindExact(3, NumberToKey(2));
    std::memcpy(fhkk->RecordBuffer(), mine.data(), mine.size());
  };
  dialog.modes.clear();
  dialog.initiator = SaveInitiator::kContestStarten;
  dialog.edit = [](ConfigFields&) {};
  Fhkk()->FindExact(3, NumberToKey(2));  // the buffer holds another contest than the row
  catalogue.Start(1);
  EXPECT_EQ(log_window.contests, std::vector<int32_t>{1});
  EXPECT_EQ(dialog.modes, (std::vector<ConfigMode>{ConfigMode::kEdit, ConfigMode::kAfterLogging}));
  EXPECT_EQ(dialog.names_seen.back(), "Mobil 2026");
  Fhkk()->FindExact(3, NumberToKey(1));
  EXPECT_EQ(ConstContestHeader(Fhkk()->RecordBuffer()).SumQso(1), 3);
  Fhkk()->FindExact(3, NumberToKey(2));
  EXPECT_EQ(ConstContestHeader(Fhkk()->RecordBuffer()).SumQso(1), 0);
  EXPECT_EQ(ConstContestHeader(Fhkk()->RecordBuffer()).EntryName(), "Zweiter");
}

TEST_F(ContestCatalogueTest, DeleteActsOnTheRowsContestAfterTheQuestion) {
  Create("Erster");
  Create("Zweiter");
  Fhkk()->FindExact(3, NumberToKey(2));  // the list painted the other contest last
  catalogue.Delete(1);  // answered No
  EXPECT_EQ(platform.dialogs.questions, std::vector<std::string>{"Eintrag Erster l\xF6schen?"});
  EXPECT_EQ(Fhkk()->RecordCount(), 2);
  platform.dialogs.answers = {true};
  Fhkk()->FindExact(3, NumberToKey(2));
  catalogue.Delete(1);
  EXPECT_EQ(NameOf(1), "<none>");
  EXPECT_EQ(NameOf(2), "Zweiter");
  EXPECT_EQ(Fhkz()->RecordCount(), 1);
}

TEST_F(ContestCatalogueTest, HighestNumberDeletedIsReusedWithAnEmptyLog) {
  Create("Erster");
  Create("Zweiter");
  ASSERT_TRUE(OpenFHLK(2));
  Fileblock* log = CatalogueHandle(CatalogueId::kFhlk);
  log->ClearBuffer();
  log->AddRecord();
  ASSERT_EQ(log->RecordCount(), 1);
  CloseFHLK();

  EXPECT_TRUE(catalogue.DeleteWithoutQuestion(2));
  EXPECT_TRUE(platform.dialogs.questions.empty());
  EXPECT_FALSE(std::filesystem::exists(Path("FHLK0002.DAT")));
  EXPECT_EQ(Create("Dritter"), 2);
  ASSERT_TRUE(OpenFHLK(2));
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhlk)->RecordCount(), 0);
  CloseFHLK();
}

TEST_F(ContestCatalogueTest, QuickSearchFindsATypedNameInAnyCase) {
  Create("Alpha");
  Create("Mobil 2026");
  Create("Zulu");
  const std::string key = ContestCatalogue::QuickSearchKey(1, 'm', "MOB");
  EXPECT_EQ(key.substr(0, 11), "mMobil 2026");
  EXPECT_EQ(ContestCatalogue::QuickSearchKey(1, 'm', "XY"), "mXY");
  EXPECT_EQ(ContestCatalogue::QuickSearchKey(2, 'm', "07"), "m07");
}

}  // namespace
}  // namespace kontura::testing
