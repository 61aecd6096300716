// The contest definition of this edition, filled from a contest header, the
// own locator and the clock.

#include <gtest/gtest.h>

#include "contest/contest_definition.h"
#include "tests/support/scripted_platform.h"
#include "text/calendar.h"

namespace kontura {
namespace {

using testing::FixedClock;

TContestDefinition Fill(int32_t start_date, int32_t participant, std::string locator = "JO40HC") {
  FixedClock clock;
  TContestDefinition def;
  FillContestDefinition(def, {start_date, participant, std::move(locator)}, clock);
  return def;
}

TEST(ContestDefinition, EditionValues) {
  TContestDefinition def = Fill(DayNumber(7, 3, 2026), 42);
  EXPECT_EQ(def.ProgramTitle, "Kontura Version 2010-1.0");
  EXPECT_EQ(def.ContestName, "Gro\xDF" "raum-Mobilwettbewerb 80m 2026");
  EXPECT_EQ(def.ListenerLog, 0);
  EXPECT_EQ(def.ModeNames[0], "CW");
  EXPECT_EQ(def.ModeNames[1], "SSB");
  EXPECT_EQ(def.ModeNames[2], "FM");
  EXPECT_EQ(def.ModeNames[3], "") << "no fourth mode";
  EXPECT_EQ(std::string(def.BandCodes.data(), 4), std::string("bkl\0", 4));
  EXPECT_TRUE(def.ContestOptions.none());
  EXPECT_EQ(def.RecvKinds, (std::array<int32_t, 3>{99, 6, 0}));
  EXPECT_EQ(def.SentKinds, (std::array<int32_t, 3>{99, 6, 0}));
  EXPECT_EQ(def.SentDefaults[0], "00042");
  EXPECT_EQ(def.SentDefaults[1], "JO40HC");
  EXPECT_EQ(def.SentDefaults[2], "");
  EXPECT_EQ(def.DupeRule, 2);
  EXPECT_EQ(def.BandCounting, 0);
  EXPECT_EQ(def.AutoBandByTime, 0);
  EXPECT_EQ(def.DefaultDateFrom, "");
  EXPECT_EQ(def.DefaultDateTo, "");
  EXPECT_EQ(def.DefaultTimeFrom, "05:30");
  EXPECT_EQ(def.DefaultTimeTo, "07:30");
  EXPECT_EQ(def.ExchangeLabels[0], "Teiln.Nr.");
  EXPECT_EQ(def.ExchangeLabels[1], "");
  EXPECT_EQ(def.MultiplierNames[0], "");
}

TEST(ContestDefinition, ExactlyOneCategory) {
  TContestDefinition def = Fill(0, 0);
  EXPECT_EQ(def.Categories[0].LongName, "alle");
  EXPECT_EQ(def.Categories[0].PeriodIndex, 0);
  EXPECT_EQ(def.Categories[0].ShortName, "");
  for (size_t i = 1; i < def.Categories.size(); ++i) EXPECT_EQ(def.Categories[i].LongName, "");
}

TEST(ContestDefinition, ParticipantNumberPreset) {
  struct Case {
    int32_t participant;
    const char* expected;
  } cases[] = {
      {0, ""},
      {-5, ""},
      {1, "00001"},
      {99999, "99999"},
      {123456, "*****"},  // wider than the picture: overflow marks
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Fill(0, c.participant).SentDefaults[0], c.expected) << c.participant;
  }
}

TEST(ContestDefinition, ClearedHeaderGivesYearOfDayZero) {
  EXPECT_EQ(Fill(0, 0).ContestName, "Gro\xDF" "raum-Mobilwettbewerb 80m 1600");
}

TEST(ContestDefinition, RefillForgetsThePreviousContest) {
  FixedClock clock;
  TContestDefinition def;
  FillContestDefinition(def, {DayNumber(1, 6, 2025), 7, "JN58TD"}, clock);
  def.ModeNames[5] = "RTTY";
  FillContestDefinition(def, {DayNumber(1, 6, 2026), 0, ""}, clock);
  EXPECT_EQ(def.ModeNames[5], "");
  EXPECT_EQ(def.SentDefaults[0], "");
  EXPECT_EQ(def.SentDefaults[1], "");
  EXPECT_EQ(def.ContestName, "Gro\xDF" "raum-Mobilwettbewerb 80m 2026");
}

TEST(ContestDefinition, UtcOffsetFromTimeZone) {
  struct Case {
    const char* name;
    TimeZoneInfo zone;
    int32_t hours;
  } cases[] = {
      {"central european winter", {-60, 0, -60, false}, -1},
      {"central european summer", {-60, 0, -60, true}, -2},
      {"utc", {0, 0, 0, false}, 0},
      {"india, truncated", {-330, 0, 0, false}, -5},
      {"newfoundland summer, truncated", {210, 0, -60, true}, 2},
  };
  for (const Case& c : cases) {
    FixedClock clock;
    clock.zone = c.zone;
    TContestDefinition def;
    FillContestDefinition(def, {}, clock);
    EXPECT_EQ(def.UtcOffsetHours, c.hours) << c.name;
  }
}

TEST(ContestDefinition, ExportMenuOffersOnlyThisEditionsOutputs) {
  TContestDefinition def = Fill(0, 0);
  std::string enabled;
  for (const ExportMenuEntry& e : kExportMenu) {
    if (def.ExportSet.test(e.element)) enabled += std::string(e.caption) + "|";
  }
  EXPECT_EQ(enabled,
            "E-Log Deckblatt|E-Log QSO-Liste|ADIF- Exportdatei der QSO-Liste|Papierlog - Deckblatt|"
            "Papierlog - QSO-Liste|Papierlog - Band-Liste|E-Log Band-Liste|");
  EXPECT_EQ(def.ExportSet.count(), 7u);
}

TEST(ContestDefinition, ReceivedFieldCaptions) {
  TContestDefinition def = Fill(0, 0);
  // Field 2 has a label of its own; field 3 takes the caption of its kind.
  EXPECT_EQ(def.ExchangeLabels[0], "Teiln.Nr.");
  EXPECT_EQ(ExchangeKindCaption(def.RecvKinds[1]), "LOC");
  EXPECT_EQ(ExchangeKindCaption(def.RecvKinds[2]), "");
  struct Case {
    int32_t kind;
    const char* caption;
  } cases[] = {{4, "DOK"}, {5, "LOC"}, {7, "lfd.Nr."}, {8, "Area"}, {11, "lfd.Nr."}, {12, "US-State"},
               {13, "lfd.Nr."}, {15, "PLZ"}, {17, "LDK"}, {16, ""}, {99, ""}, {42, ""}};
  for (const Case& c : cases) EXPECT_EQ(ExchangeKindCaption(c.kind), c.caption) << c.kind;
}

TEST(ContestDefinition, EditionTable) {
  EXPECT_EQ(ThisEdition().code, 'm');
  EXPECT_EQ(ThisEdition().windowCaption, "Brixam Kontura Version 2010-1.0 Gro\xDF" "raum-Mobilwettbewerb 80m");
  EXPECT_EQ(EditionContestName('T'), "Th\xFC" "ringen-Contest");
  EXPECT_EQ(EditionContestName('m'), "Gro\xDF" "raum-Mobilwettbewerb 80m");
  EXPECT_EQ(EditionContestName('x'), "");
}

}  // namespace
}  // namespace kontura
