// The logging window's model: caption, which keys act in which area, the
// band and mode choice, and the widening of the mask.

#include <gtest/gtest.h>

#include <string>

#include "logging/log_window.h"
#include "logging/mask_widening.h"
#include "refdata/suite_settings.h"
#include "tests/support/log_fixture.h"

namespace kontura::testing {
namespace {

TEST(LogWindowCaption, OwnCallAndTwoBlanksTakeAtMost19Characters) {
  struct Case {
    const char* call;
    const char* name;
    const char* expected;
  };
  const Case cases[] = {
      {"DL1ABC", "Mobil 2026", "DL1ABC  Logbuch (Contest : Mobil 2026 )"},
      {"", "X", "  Logbuch (Contest : X )"},
      // 17 characters and the two blanks fill the 19 exactly.
      {"DL1ABC/P/MM/12345", "X", "DL1ABC/P/MM/12345  Logbuch (Contest : X )"},
      {"DL1ABC/P/MM/123456", "X", "DL1ABC/P/MM/123456 Logbuch (Contest : X )"},
      {"DL1ABC/P/MM/1234567890", "X", "DL1ABC/P/MM/1234567Logbuch (Contest : X )"},
  };
  for (const Case& c : cases) EXPECT_EQ(LogWindowCaption(c.call, c.name), c.expected) << c.call;
}

TEST(MaskWidening, SpreadsOnlyAboveTheDesignWidth) {
  struct Case {
    int left, width, expected;
  };
  for (const Case& c : {Case{170, 640, 170}, Case{170, 800, 170}, Case{170, 1600, 340}, Case{400, 1000, 500},
                        Case{0, 1280, 0}}) {
    EXPECT_EQ(WidenedLeft(c.left, c.width), c.expected) << c.left << " at " << c.width;
  }
}

class LogWindowModelTest : public LogTest {
 protected:
  void SetUp() override {
    LogTest::SetUp();
    // The window opens the log itself.
    CloseFHCALL();
    CloseFHCBUCH();
    CloseFHLK();
  }

  void TearDown() override {
    model.reset();  // closes the log while the storage still runs
    LogTest::TearDown();
  }

  LogWindow& OpenWindow() {
    model = std::make_unique<LogWindow>(kContest, ctx.Definition, prefixes);
    EXPECT_TRUE(model->Open());
    return *model;
  }

  std::unique_ptr<LogWindow> model;
};

// Every key of the window in both areas: a key acts only where its button
// is enabled; Esc closes an open choice list first.
TEST_F(LogWindowModelTest, KeysActOnlyWhereTheirButtonIsEnabled) {
  LogWindow& w = OpenWindow();
  struct Case {
    LogKey key;
    LogCommand in_entry;
    LogCommand in_list;
  };
  const Case cases[] = {
      {LogKey::kEsc, LogCommand::kClearMask, LogCommand::kBackToEntry},
      {LogKey::kF3, LogCommand::kNone, LogCommand::kBandLog},
      {LogKey::kF4, LogCommand::kCallSearch, LogCommand::kNone},
      {LogKey::kF5, LogCommand::kFocusList, LogCommand::kNone},
      {LogKey::kF6, LogCommand::kNote, LogCommand::kNone},
      {LogKey::kF7, LogCommand::kModeChoice, LogCommand::kNone},
      {LogKey::kF8, LogCommand::kBandChoice, LogCommand::kNone},
      {LogKey::kF9, LogCommand::kToggleNameQth, LogCommand::kNone},
      {LogKey::kF12, LogCommand::kCorrection, LogCommand::kNone},
      {LogKey::kAltW, LogCommand::kCorrection, LogCommand::kNone},
      {LogKey::kAltQ, LogCommand::kToggleQsl, LogCommand::kNone},
      {LogKey::kAltNum1, LogCommand::kFocusReceived2, LogCommand::kNone},
      {LogKey::kAltNum2, LogCommand::kFocusReceived3, LogCommand::kNone},
      {LogKey::kAltNum3, LogCommand::kFocusReceived4, LogCommand::kNone},
  };
  for (const Case& c : cases) {
    w.EnterArea(LogArea::kEntry);
    EXPECT_EQ(w.CommandOfKey(c.key), c.in_entry) << static_cast<int>(c.key);
    w.EnterArea(LogArea::kList);
    EXPECT_EQ(w.CommandOfKey(c.key), c.in_list) << static_cast<int>(c.key);
  }
  EXPECT_EQ(w.ListBarText(), kListBarList);
  EXPECT_EQ(w.ListBarColourNow(), ListBarColour::kRed);
  w.EnterArea(LogArea::kEntry);
  EXPECT_EQ(w.PressBand(), LogChoice::kBand);
  EXPECT_EQ(w.CommandOfKey(LogKey::kEsc), LogCommand::kCloseChoice);
  for (LogButton b : {LogButton::kHelp, LogButton::kEnd, LogButton::kImport}) {
    EXPECT_TRUE(w.ButtonEnabled(b));
  }
}

TEST_F(LogWindowModelTest, OneModeOrBandHidesItsButtonAndKey) {
  ctx.Definition.ModeNames = {};
  ctx.Definition.ModeNames[0] = "FM";
  ctx.Definition.BandCodes = {};
  ctx.Definition.BandCodes[0] = kBand2;
  LogWindow& w = OpenWindow();
  EXPECT_FALSE(w.ButtonVisible(LogButton::kMode));
  EXPECT_FALSE(w.ButtonVisible(LogButton::kBand));
  EXPECT_EQ(w.CommandOfKey(LogKey::kF7), LogCommand::kNone);
  EXPECT_EQ(w.CommandOfKey(LogKey::kF8), LogCommand::kNone);
}

TEST_F(LogWindowModelTest, ChoosingABandOrModeGoesThroughTheEntry) {
  LogWindow& w = OpenWindow();
  EXPECT_EQ(w.BandNames(), (std::vector<std::string>{"80 m", "2 m", "70 cm"}));
  ASSERT_EQ(w.PressBand(), LogChoice::kBand);
  EXPECT_EQ(w.PressMode(), LogChoice::kMode) << "the mode list replaces the band list";
  w.ChooseRow(1);  // SSB
  EXPECT_EQ(w.open_choice(), LogChoice::kNone);
  EXPECT_EQ(w.session().CurrentMode, "SSB");
  EXPECT_EQ(w.entry().record().Mode(), "SSB");
  w.PressBand();
  w.ChooseRow(2);  // 70 cm
  EXPECT_EQ(w.session().CurrentBand, kBand70);
  EXPECT_EQ(w.entry().mask().band_label, "70 cm");
}

// The transceiver may change band and mode only where F8 and F7 act.
TEST_F(LogWindowModelTest, TheRigIsFollowedOnlyInTheEntryWithNoListOpen) {
  LogWindow& w = OpenWindow();
  EXPECT_TRUE(w.FollowsRig());
  w.PressBand();
  EXPECT_FALSE(w.FollowsRig()) << "band list open";
  w.ChooseRow(0);
  EXPECT_TRUE(w.FollowsRig());
  w.EnterArea(LogArea::kList);
  EXPECT_FALSE(w.FollowsRig()) << "in the QSO list";
  w.EnterArea(LogArea::kEntry);
  EXPECT_TRUE(w.FollowsRig());
}

// A band the contest does not have (stored by another program) shows no
// row selected, and nothing changes it.
TEST_F(LogWindowModelTest, ABandOutsideTheListHasNoRow) {
  LogWindow& w = OpenWindow();
  EXPECT_EQ(w.BandRow(kBand2), 1);
  EXPECT_EQ(w.BandRow('a'), -1);
  EXPECT_EQ(w.ModeRow("RTTY"), -1);
  w.session().CurrentBand = 'a';
  w.PressBand();
  w.ChooseRow(-1);
  EXPECT_EQ(w.session().CurrentBand, 'a');
}

TEST_F(LogWindowModelTest, LastRecordOfTheCurrentBand) {
  ASSERT_TRUE(OpenFHLK(kContest));
  Store("DL1AAA", kBand80, "CW", 9 * 3600, 1);
  Store("DL2BBB", kBand2, "FM", 10 * 3600, 2);
  Store("DL3CCC", kBand80, "CW", 11 * 3600, 3);
  CloseFHLK();
  LogWindow& w = OpenWindow();
  // The log opened on the band of its last entry, 80 m.
  EXPECT_EQ(w.session().CurrentBand, kBand80);
  EXPECT_EQ(w.LastRecordOfCurrentBand(), 3);
  w.entry().SelectBand(kBand2);
  EXPECT_EQ(w.LastRecordOfCurrentBand(), 2);
  w.entry().SelectBand(kBand70);
  EXPECT_EQ(w.LastRecordOfCurrentBand(), -1);
}

}  // namespace
}  // namespace kontura::testing
