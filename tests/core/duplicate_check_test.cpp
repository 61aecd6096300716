// The duplicate rules on a real log, the call check when the call field is
// left (duplicate, earlier name, call book, entity) and the check before
// storing.

#include <gtest/gtest.h>

#include "logging/duplicate_check.h"
#include "tests/support/log_fixture.h"

namespace kontura::testing {
namespace {

using F = MaskField;

class DuplicateCheckTest : public LogTest {};

TEST_F(DuplicateCheckTest, RulesOnTheStoredLog) {
  Store("DL1ABC", kBand80, "CW", SecondsOf(9, 0, 0));
  Store("DK2XY/P", kBand2, "FM", SecondsOf(9, 5, 0));
  Store("G4ABC", kBand80, "SSB", SecondsOf(9, 10, 0));
  struct Case {
    int rule;
    const char* base;
    char band;
    const char* mode;
    bool duplicate;
  } cases[] = {
      {2, "DL1ABC", kBand80, "SSB", true},   // same band, other mode
      {2, "DL1ABC", kBand80, "CW", true},
      {2, "DL1ABC", kBand2, "CW", false},    // other band
      {2, "DK2XY", kBand2, "FM", true},      // stored with "/P", entered without
      {2, "DL1AB", kBand80, "CW", false},    // a shorter call is another call
      {2, "DL1ABCD", kBand80, "CW", false},
      {1, "DL1ABC", kBand80, "CW", true},
      {1, "DL1ABC", kBand80, "SSB", false},
      {3, "DL1ABC", kBand2, "CW", true},     // CW against CW, any band
      {3, "DL1ABC", kBand2, "FM", false},
      {3, "G4ABC", kBand70, "FM", true},     // SSB and FM are one class
      {5, "DK2XY", kBand70, "CW", true},
      {5, "DK2XZ", kBand70, "CW", false},
  };
  QsoRecord marker;
  marker.SetCall("BUFFER");
  marker.CopyTo(TheLog()->RecordBuffer());
  for (const Case& c : cases) {
    EXPECT_EQ(FindDuplicate(c.rule, c.base, c.band, c.mode), c.duplicate)
        << "rule " << c.rule << " " << c.base << " " << c.band << " " << c.mode;
  }
  EXPECT_EQ(LogRecord().Call(), "BUFFER") << "the searches put the log's buffer back";
}

TEST_F(DuplicateCheckTest, CallCheckDuplicateClearsTheWholeMask) {
  Store("DL1ABC/P", kBand80, "CW", SecondsOf(9, 0, 0));
  ctx.Options.StartSsb = true;
  QsoEntry& e = Entry();
  e.mask().focus = F::kRecv2;
  e.Type(F::kRecv2, "042");  // typed before the call
  e.Type(F::kRecv3, "JO40HC");
  e.mask().focus = F::kCall;
  e.Type(F::kCall, "DL1ABC");
  e.PressEnter();
  EXPECT_EQ(platform.dialogs.beeps, 1);
  ASSERT_EQ(platform.dialogs.messages.size(), 1u);
  EXPECT_EQ(platform.dialogs.messages[0], "Call DL1ABC bereits auf Band vorhanden");
  EXPECT_EQ(e.mask()[F::kCall].text, "");
  EXPECT_EQ(e.mask()[F::kRecv2].text, "");
  EXPECT_EQ(e.mask()[F::kRecv3].text, "");
  EXPECT_EQ(e.record().Locator(), "");
  EXPECT_EQ(e.mask().focus, F::kCall);
  EXPECT_EQ(session.LastCall, "");
}

TEST_F(DuplicateCheckTest, StoreTimeDuplicateKeepsTheMask) {
  Store("DL1ABC", kBand80, "CW", SecondsOf(9, 0, 0));
  QsoEntry& e = Entry(kBand2);
  e.Type(F::kCall, "DL1ABC");
  e.PressEnter();  // no duplicate on 2 m
  EXPECT_TRUE(platform.dialogs.messages.empty());
  e.Type(F::kRecv2, "042");
  e.SelectBand(kBand80);  // the call stays in the mask while the band changes
  e.mask().focus = F::kRecv3;
  e.Type(F::kRecv3, "JO40HC");
  e.PressEnter();
  ASSERT_EQ(platform.dialogs.messages.size(), 1u);
  EXPECT_EQ(platform.dialogs.messages[0], "Call bereits auf Band vorhanden");
  EXPECT_EQ(platform.dialogs.beeps, 1);
  EXPECT_EQ(e.mask()[F::kCall].text, "DL1ABC");
  EXPECT_EQ(e.mask()[F::kRecv2].text, "042");
  EXPECT_EQ(Records().size(), 1u);
}

TEST_F(DuplicateCheckTest, CallCheckTakesTheEarlierNameAndRunsOncePerCall) {
  Store("DL1ABC", kBand80, "CW", SecondsOf(9, 0, 0));
  {
    SavedLogBuffer keep;
    TheLog()->First(4);
    QsoRecord q = LogRecord();
    q.SetNameQth("Otto;Bonn");
    q.CopyTo(TheLog()->RecordBuffer());
    TheLog()->UpdateRecord();
  }
  QsoEntry& e = Entry(kBand2);
  e.Type(F::kCall, "DL1ABC/P");
  e.LeaveField(F::kCall);
  EXPECT_EQ(e.record().NameQth(), "Otto;Bonn");
  EXPECT_EQ(e.mask()[F::kName].text, "Otto");
  EXPECT_EQ(e.mask()[F::kQth].text, "Bonn");
  EXPECT_EQ(e.record().Dxcc(), "DL");
  EXPECT_EQ(e.record().Continent(), "EU");
  const int lookups = prefixes.lookups;
  e.LeaveField(F::kCall);
  EXPECT_EQ(session.LastCall, "DL1ABC/P");
  EXPECT_EQ(prefixes.lookups, lookups + 1) << "the entity is determined on every exit";
}

TEST_F(DuplicateCheckTest, UnknownPrefixOnlyForNewCallsOfThreeCharacters) {
  QsoEntry& e = Entry();
  e.Type(F::kCall, "QQ");
  e.LeaveField(F::kCall);
  EXPECT_TRUE(platform.dialogs.messages.empty()) << "two characters: no message";
  e.Type(F::kCall, "QQ1ABC");
  e.LeaveField(F::kCall);
  ASSERT_EQ(platform.dialogs.messages.size(), 1u);
  EXPECT_EQ(platform.dialogs.messages[0], "Pr\xE4" "fix unbekannt");
  EXPECT_EQ(platform.dialogs.beeps, 1);
  e.LeaveField(F::kCall);
  EXPECT_EQ(platform.dialogs.messages.size(), 1u) << "the same call again: no second message";
}

TEST_F(DuplicateCheckTest, EntityWhileTypingIsForDisplayOnly) {
  QsoEntry& e = Entry();
  e.Type(F::kCall, "E");
  EXPECT_EQ(e.ShownEntity(), "");
  e.Type(F::kCall, "EA8AB");
  EXPECT_EQ(e.ShownEntity(), "EA8");
  EXPECT_EQ(e.record().Dxcc(), "") << "typing sets no entity in the record";
  EXPECT_FALSE(session.EntityChosen);
}

}  // namespace
}  // namespace kontura::testing
