// The configuration dialog's logic on a real start directory: the order and
// texts of the checks, what a save stores where, the participant number and
// the date completion, and the faults of the stored-record handling.

#include <gtest/gtest.h>

#include <functional>

#include "contest/contest_config.h"
#include "contest/contest_header.h"
#include "contest/contest_totals.h"
#include "refdata/date_time_pictures.h"
#include "refdata/setup_record.h"
#include "refdata/suite_settings.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"
#include "tests/support/start_dir_fixture.h"
#include "text/calendar.h"

namespace kontura::testing {
namespace {

class ContestConfigTest : public StartDirTest {
 protected:
  void SetUp() override {
    StartDirTest::SetUp();
    InstallDateTimeSeparators();
    TheSuiteSettings() = SuiteSettings{};
    ASSERT_TRUE(StartStorage());
    ASSERT_TRUE(OpenFHKK());
    ASSERT_TRUE(OpenFHKZ());
    FillDefinitionFromHeader(def, nullptr);
  }
  void TearDown() override {
    TheSuiteSettings() = SuiteSettings{};
    StartDirTest::TearDown();
  }

  static ConfigFields Valid() {
    ConfigFields f;
    f.name = "Mobil 2026";
    f.plz = "80331";
    f.town = "M\xFCnchen";
    f.street = "Hauptstr. 1";
    f.contact_name = "Anna";
    f.locator = "JN58TD";
    f.call = "DL1ABC";
    f.date_from = "07.03.2026";
    f.date_to = "07.03.2026";
    f.time_from = "05:30";
    f.time_to = "07:30";
    f.utc_time = true;
    f.category = 0;
    f.participant_no = "17";
    return f;
  }

  Fileblock* Fhkk() { return CatalogueHandle(CatalogueId::kFhkk); }
  Fileblock* Fhkz() { return CatalogueHandle(CatalogueId::kFhkz); }

  // Makes the stored contest the current FHKK and FHKZ record, as the catalogue does.
  ConstContestHeader Read(int32_t number) {
    Fhkk()->FindExact(3, NumberToKey(number));
    EXPECT_EQ(StorageErrorClass(), 0);
    Fhkz()->FindExact(1, NumberToKey(number));
    return ConstContestHeader(Fhkk()->RecordBuffer());
  }

  int32_t StoreNew(const ConfigFields& f) {
    ContestConfig config(ConfigMode::kNew, def);
    config.Open();
    EXPECT_TRUE(config.Save(f, SaveInitiator::kBeenden).saved());
    return config.ContestNumber();
  }

  TContestDefinition def;
};

struct RefusalCase {
  const char* label;
  std::function<void(ConfigFields&)> change;
  std::string message;
  ConfigField field;
};

TEST_F(ContestConfigTest, ChecksInOrderRefuseWithoutStoringOrChangingSettings) {
  const RefusalCase cases[] = {
      {"everything empty: the name first", [](ConfigFields& f) { f = ConfigFields{}; },
       "Eingabe eines Contest-Namens notwendig.", ConfigField::kName},
      {"blank name", [](ConfigFields& f) { f.name = "  "; }, "Eingabe eines Contest-Namens notwendig.",
       ConfigField::kName},
      {"no postcode", [](ConfigFields& f) { f.plz.clear(); f.locator.clear(); },
       "Angabe der Postleitzahl und des Ortes notwendig.", ConfigField::kPlz},
      {"no locator", [](ConfigFields& f) { f.locator.clear(); }, "Angabe des Standortlocators notwendig.",
       ConfigField::kLocator},
      {"four-character locator", [](ConfigFields& f) { f.locator = "JN58"; },
       "Angabe des Standortlocators notwendig.", ConfigField::kLocator},
      {"locator of wrong letters", [](ConfigFields& f) { f.locator = "ZZ58TD"; },
       "Angabe des Standortlocators notwendig.", ConfigField::kLocator},
      {"neither call nor listener number", [](ConfigFields& f) { f.call.clear(); f.date_from.clear(); },
       "Eingabe des Rufzeichens notwendig.", ConfigField::kCall},
      {"no start date", [](ConfigFields& f) { f.date_from.clear(); }, "Eingabe eines Contest-Datums notwendig.",
       ConfigField::kDateFrom},
      {"impossible end date", [](ConfigFields& f) { f.date_to = "31.02.2026"; },
       "Eingabe eines Contest-Datums notwendig.", ConfigField::kDateTo},
      {"computer time not chosen", [](ConfigFields& f) { f.utc_time = false; f.category = -1; },
       "Es wurde nicht bestimmt, ob der Computer mit Ortszeit l\xE4uft.", ConfigField::kComputerTime},
      {"no category", [](ConfigFields& f) { f.category = -1; }, "Sie haben keine Teilnahmeart angegeben.",
       ConfigField::kCategory},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.label);
    platform.dialogs.messages.clear();
    TheSuiteSettings().OwnCall = "OLD";
    TheSuiteSettings().OwnLocator = "JO31AA";
    TheSuiteSettings().SwlNumber = "SWL-OLD";
    ContestConfig config(ConfigMode::kNew, def);
    config.Open();
    ConfigFields f = Valid();
    f.swl = "";
    c.change(f);
    ConfigSaveResult r = config.Save(f, SaveInitiator::kContestStarten);
    EXPECT_EQ(r.outcome, ConfigSaveResult::Outcome::kRefused);
    EXPECT_EQ(r.mark, c.field);
    EXPECT_EQ(platform.dialogs.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(Fhkk()->RecordCount(), 0);
    EXPECT_EQ(TheSuiteSettings().OwnCall, "OLD");
    EXPECT_EQ(TheSuiteSettings().OwnLocator, "JO31AA");
    EXPECT_EQ(TheSuiteSettings().SwlNumber, "SWL-OLD");
  }
}

TEST_F(ContestConfigTest, ListenerNumberStandsInForTheCall) {
  ConfigFields f = Valid();
  f.call.clear();
  f.swl = "DE-1234";
  ContestConfig config(ConfigMode::kNew, def);
  config.Open();
  EXPECT_TRUE(config.Save(f, SaveInitiator::kBeenden).saved());
  EXPECT_EQ(TheSuiteSettings().SwlNumber, "DE-1234");
}

TEST_F(ContestConfigTest, NewContestStoresHeaderTotalsAddressAndProgramValues) {
  def.UtcOffsetHours = -1;
  ConfigFields f = Valid();
  f.utc_time = false;
  f.local_time = true;
  f.rst_unlocked = true;
  f.start_fm = true;
  const int32_t number = StoreNew(f);
  EXPECT_EQ(number, 1);
  ConstContestHeader h = Read(number);
  EXPECT_EQ(h.EntryName(), "Mobil 2026");
  EXPECT_EQ(h.EditionCode(), 'm');
  EXPECT_EQ(h.DateFrom(), DayNumber(7, 3, 2026));
  EXPECT_EQ(h.TimeFrom(), SecondsOf(5, 30, 0));
  EXPECT_EQ(h.ContestCall(), "DL1ABC");
  EXPECT_EQ(h.HeaderPlz(), "80331");
  EXPECT_EQ(h.CategoryNo(), 1);
  EXPECT_EQ(h.ParticipantNo(), 17);
  EXPECT_TRUE(h.StartFm());
  EXPECT_EQ(h.HeaderMark(), 'D');
  EXPECT_TRUE(ConstContestTotals(Fhkz()->RecordBuffer()).RstSentUnlocked());
  EXPECT_EQ(ConstContestTotals(Fhkz()->RecordBuffer()).ContestNumber(), number);
  EXPECT_EQ(TheSuiteSettings().OwnCall, "DL1ABC");
  EXPECT_EQ(TheSuiteSettings().OwnLocator, "JN58TD");
  EXPECT_EQ(TheSuiteSettings().OwnName, "Anna");
  EXPECT_EQ(TheSuiteSettings().TimeOffsetHours, -1);

  ASSERT_TRUE(OpenFHSETUP());
  Fileblock* setup = CatalogueHandle(CatalogueId::kFhsetup);
  setup->First(1);
  ConstSetupRecord s(setup->RecordBuffer());
  EXPECT_EQ(s.OwnCity(), "80331 M\xFCnchen");
  EXPECT_EQ(s.OwnStreet(), "Hauptstr. 1");
  EXPECT_EQ(s.OwnLocator(), "JN58TD");
  CloseFHSETUP();

  // Reopened for editing, the fields show what was stored.
  ContestConfig again(ConfigMode::kEdit, def);
  ConfigFields shown = again.Open();
  EXPECT_EQ(shown.plz, "80331");
  EXPECT_EQ(shown.town, "M\xFCnchen");
  EXPECT_EQ(shown.date_from, "07.03.2026");
  EXPECT_EQ(shown.time_to, "07:30");
  EXPECT_TRUE(shown.local_time);
  EXPECT_FALSE(shown.category_enabled);
  EXPECT_EQ(shown.category, 0);
}

TEST_F(ContestConfigTest, NewContestShowsDefaultTimesAndNoDates) {
  ContestConfig config(ConfigMode::kNew, def);
  ConfigFields f = config.Open();
  EXPECT_EQ(f.time_from, "05:30");
  EXPECT_EQ(f.time_to, "07:30");
  EXPECT_EQ(f.date_from, "");
  EXPECT_FALSE(f.local_time || f.utc_time);
  EXPECT_TRUE(f.category_enabled);
  EXPECT_EQ(config.CategoryItems(), std::vector<std::string>{"alle"});
  EXPECT_EQ(config.Caption(), "\"" + def.ContestName + "\"  Contest-Konfiguration");
  ModeButtons b = config.VisibleModeButtons();
  EXPECT_TRUE(b.cw && b.ssb && b.fm);
  EXPECT_EQ(b.fourth, "PR");
}

TEST_F(ContestConfigTest, DateCompletionOnLeavingAndBeforeConversion) {
  platform.clock.Set(2026, 3, 7);
  const std::pair<const char*, int32_t> cases[] = {
      {"1205", DayNumber(12, 5, 2026)},
      {"12.05.98", DayNumber(12, 5, 1998)},
      {"12.05.49", DayNumber(12, 5, 2049)},
      {"", -1},
  };
  for (const auto& [typed, day] : cases) {
    SCOPED_TRACE(typed);
    EXPECT_EQ(ConfigDateOf(typed), day);
  }
  ContestConfig config(ConfigMode::kNew, def);
  config.Open();
  EXPECT_EQ(config.FieldLeft(ConfigField::kDateFrom, "", "1205"), "12.05.2026");
  EXPECT_EQ(config.FieldLeft(ConfigField::kTimeTo, "07:30", "0730"), "07:30");  // unchanged: no mark
  ConfigFields f = Valid();
  f.date_from = "1205";
  ASSERT_TRUE(config.Save(f, SaveInitiator::kBeenden).saved());
  ConstContestHeader h = Read(config.ContestNumber());
  EXPECT_EQ(h.DateFrom(), DayNumber(12, 5, 2026));
  EXPECT_EQ(h.EditedFields(), kEditedDateFrom);
}

TEST_F(ContestConfigTest, ParticipantNumberRoundTrips) {
  struct Case {
    const char* typed;
    int32_t stored;
    const char* shown;
    bool message;
  };
  const Case cases[] = {
      {"", 0, "", true},
      {"0", -1, "0", false},
      {"17", 17, "17", false},
      {"abc", 0, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    platform.dialogs.messages.clear();
    ConfigFields f = Valid();
    f.participant_no = c.typed;
    ContestConfig config(ConfigMode::kNew, def);
    config.Open();
    ConfigSaveResult r = config.Save(f, SaveInitiator::kBeenden);
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(r.focus, c.message ? ConfigField::kParticipantNo : ConfigField::kNone);
    EXPECT_EQ(platform.dialogs.messages.size(), c.message ? 1u : 0u);
    EXPECT_EQ(Read(config.ContestNumber()).ParticipantNo(), c.stored);

    // Opened again and saved without an edit, the number stays.
    ContestConfig again(ConfigMode::kEdit, def);
    ConfigFields shown = again.Open();
    EXPECT_EQ(shown.participant_no, c.shown);
    ASSERT_TRUE(again.Save(shown, SaveInitiator::kBeenden).saved());
    EXPECT_EQ(Read(config.ContestNumber()).ParticipantNo(), c.stored);
  }
}

TEST_F(ContestConfigTest, CategoryClickStoresAtOnceWithoutChecks) {
  ContestConfig config(ConfigMode::kNew, def);
  ConfigFields f = config.Open();
  f.category = 0;
  ConfigSaveResult r = config.Save(f, SaveInitiator::kCategoryClick);
  EXPECT_TRUE(r.saved());
  EXPECT_TRUE(platform.dialogs.messages.empty());
  EXPECT_EQ(config.Mode(), ConfigMode::kEdit);
  EXPECT_EQ(Fhkk()->RecordCount(), 1);
  EXPECT_EQ(Fhkz()->RecordCount(), 1);
  ModeButtons b = config.VisibleModeButtons();
  EXPECT_TRUE(b.cw && b.ssb && b.fm);
  EXPECT_EQ(b.fourth, "");
  // A second save updates the same contest.
  f.name = "Mobil";
  EXPECT_TRUE(config.Save(f, SaveInitiator::kCategoryClick).saved());
  EXPECT_EQ(Fhkk()->RecordCount(), 1);
  EXPECT_EQ(Read(1).EntryName(), "Mobil");
}

TEST_F(ContestConfigTest, AddressMessageOnlyForPrinting) {
  ConfigFields f = Valid();
  f.street.clear();
  ContestConfig config(ConfigMode::kNew, def);
  config.Open();
  ASSERT_TRUE(config.Save(f, SaveInitiator::kBeenden).saved());
  EXPECT_TRUE(platform.dialogs.messages.empty());
  ASSERT_TRUE(config.Save(f, SaveInitiator::kDruckenELog).saved());
  EXPECT_EQ(platform.dialogs.messages, std::vector<std::string>{"Die Adress-Angaben sind nicht vollst\xE4ndig."});
}

TEST_F(ContestConfigTest, EditSavesIntoItsContestWhateverTheBufferHolds) {
  StoreNew(Valid());
  ConfigFields other = Valid();
  other.name = "Zweiter";
  StoreNew(other);
  Read(1);
  ContestConfig config(ConfigMode::kEdit, def);
  ConfigFields f = config.Open();
  Read(2);  // the list builds its rows meanwhile
  f.name = "Erster";
  ASSERT_TRUE(config.Save(f, SaveInitiator::kBeenden).saved());
  EXPECT_EQ(Read(1).EntryName(), "Erster");
  EXPECT_EQ(Read(2).EntryName(), "Zweiter");
}

TEST_F(ContestConfigTest, FailedTotalsAddIsRepeatedByTheNextSave) {
  // A stray totals record already holds number 1: the add of the new
  // contest's totals fails on the unique key.
  Fhkz()->ClearBuffer();
  TContestTotals(Fhkz()->RecordBuffer()).SetContestNumber(1);
  Fhkz()->AddRecord();
  ASSERT_EQ(StorageErrorClass(), 0);

  ContestConfig config(ConfigMode::kNew, def);
  config.Open();
  ConfigSaveResult r = config.Save(Valid(), SaveInitiator::kContestStarten);
  EXPECT_EQ(r.outcome, ConfigSaveResult::Outcome::kStorageFailed);
  EXPECT_EQ(platform.dialogs.messages,
            std::vector<std::string>{"Fehler bei Dateneingabe. Datensatz evtl. schon vorhanden."});
  EXPECT_EQ(config.Mode(), ConfigMode::kEdit);
  EXPECT_EQ(Fhkk()->RecordCount(), 1);

  Fhkz()->FindExact(1, NumberToKey(1));
  Fhkz()->DeleteRecord(kAfterNone);
  EXPECT_TRUE(config.Save(Valid(), SaveInitiator::kContestStarten).saved());
  EXPECT_EQ(Fhkk()->RecordCount(), 1);
  EXPECT_EQ(Fhkz()->RecordCount(), 1);
}

TEST_F(ContestConfigTest, TotalsOfTheBandsAndTheScore) {
  StoreNew(Valid());
  Read(1);
  TContestHeader h(Fhkk()->RecordBuffer());
  h.SetSumQso(1, 3);
  h.SetSumPoints(1, 120);
  h.SetSumQso(2, 1);
  h.SetSumPoints(2, 35);
  ContestConfig config(ConfigMode::kAfterLogging, def);
  config.Open();
  TotalsView v = config.Totals();
  EXPECT_TRUE(v.lines[0].visible);
  EXPECT_EQ(v.lines[0].band, "80 m");
  EXPECT_EQ(v.lines[0].qso, "    3");
  EXPECT_EQ(v.lines[0].points, "  120");
  EXPECT_FALSE(v.lines[3].visible);
  EXPECT_EQ(v.qso_total, "4 QSO");
  EXPECT_EQ(v.multi_total, "0 Multi x");
  EXPECT_EQ(v.points_total, "155 Punkte =");
  EXPECT_EQ(v.score, "155 Pkt.");
  EXPECT_EQ(config.Caption(), "\"" + def.ContestName + "\"");
}

}  // namespace
}  // namespace kontura::testing
