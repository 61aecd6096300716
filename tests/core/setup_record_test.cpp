// Byte layout of the suite's set-up records and the rules that turn them
// into the program's settings and back.

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "refdata/setup_record.h"
#include "refdata/suite_settings.h"
#include "storage/key_encoding.h"
#include "tests/support/record_layout.h"

namespace kontura {
namespace {

using testing::Bytes;
using testing::ExpectFieldsAtTheirOffsets;
using testing::ExpectWrittenAt;
using testing::MarkedRecord;
using testing::RecordWith;

using testing::Raw;

using SetupCase = testing::FieldCase<SetupRecord, ConstSetupRecord>;
#define SROW(off, bytes, write_expr, read_expr, value) \
  FIELD_ROW(SetupRecord, ConstSetupRecord, r, off, bytes, write_expr, read_expr, value)

const std::vector<SetupCase>& SetupCases() {
  static const std::vector<SetupCase> cases = {
      SROW(4, Raw("\x02\x00\x00\x00", 4), r.SetRecordNumber(2), r.RecordNumber(), 2),
      SROW(703, "\x01\x02\x03\x04", r.SetPanelColour(0x04030201u), r.PanelColour(), 0x04030201u),
      SROW(707, "\x11\x12\x13\x14", r.SetLabelTextColour(0x14131211u), r.LabelTextColour(), 0x14131211u),
      SROW(711, "\x21\x22\x23\x24", r.SetHighlightLabelColour(0x24232221u), r.HighlightLabelColour(),
           0x24232221u),
      SROW(715, "\x31\x32\x33\x34", r.SetListHeaderColour(0x34333231u), r.ListHeaderColour(), 0x34333231u),
      SROW(719, "\x41\x42\x43\x44", r.SetListHeaderTextColour(0x44434241u), r.ListHeaderTextColour(),
           0x44434241u),
      // The bytes behind a shorter suffix text keep their old contents.
      SROW(723, "\x01P\xA5\xA5\xFF", r.SetSuffixEntry(1, "P", 255), r.SuffixText(1), "P"),
      SROW(723, Raw("\x03QRP\x07", 5), r.SetSuffixEntry(1, "QRP", 7), r.SuffixType(1), 7),
      SROW(779, Raw("\x02LH\xA5\x00", 5), r.SetSuffixEntry(9, "LH", 0), r.SuffixText(9), "LH"),
      SROW(786, Raw("\x05\x00\x00\x00", 4), r.SetProfileNumber(5), r.ProfileNumber(), 5),
      SROW(790, "\x03", r.SetNameCase(3), r.NameCase(), 3),
      SROW(1776, "\x06JN58TD", r.SetOwnLocator("JN58TD"), r.OwnLocator(), "JN58TD"),
      SROW(1795, "\xFE\xFF\xFF\xFF", r.SetTimeOffsetHours(-2), r.TimeOffsetHours(), -2),
      SROW(2103, "\x04" "Hans", r.SetOwnName("Hans"), r.OwnName(), "Hans"),
      SROW(2154, "\x08Hauptstr", r.SetOwnStreet("Hauptstr"), r.OwnStreet(), "Hauptstr"),
      SROW(2205, "\x0D" "80331 M\xFCnchen", r.SetOwnCity("80331 M\xFCnchen"), r.OwnCity(), "80331 M\xFCnchen"),
      SROW(2256, "\x0B" "Deutschland", r.SetOwnCountry("Deutschland"), r.OwnCountry(), "Deutschland"),
      SROW(2307, "\x03" "C12", r.SetOwnDok("C12"), r.OwnDok(), "C12"),
      SROW(2741, "\x7F\x9F\xCF\x02", r.SetBackgroundColour(0x02CF9F7Fu), r.BackgroundColour(), 0x02CF9F7Fu),
      SROW(2745, "\x50\x6C\xA6\x02", r.SetBarColour(0x02A66C50u), r.BarColour(), 0x02A66C50u),
      SROW(3171, "\x05" "DE123", r.SetSwlNumber("DE123"), r.SwlNumber(), "DE123"),
      SROW(3400, "\x06" "DL1ABC", r.SetOwnCall("DL1ABC"), r.OwnCall(), "DL1ABC"),
  };
  return cases;
}

TEST(SetupRecord, EveryFieldIsWrittenAtItsOffsetAndReadFromIt) {
  ExpectFieldsAtTheirOffsets<SetupRecord, ConstSetupRecord>(SetupCases(), setup_record::kSize);
}

TEST(SetupRecord, SuffixEntriesOutsideOneToNineAreEmptyAndIgnored) {
  auto rec = MarkedRecord(setup_record::kSize);
  SetupRecord r(rec.data());
  r.SetSuffixEntry(0, "X", 1);
  r.SetSuffixEntry(10, "X", 1);
  EXPECT_EQ(rec, MarkedRecord(setup_record::kSize));
  EXPECT_EQ(r.SuffixText(10), "");
  EXPECT_EQ(r.SuffixType(0), 0);
}

TEST(SetupRecord, LengthByteAboveCapacityReadsAsCapacity) {
  std::vector<uint8_t> rec(setup_record::kSize, 'Q');
  rec[setup_record::kOwnCall.offset] = 200;
  rec[setup_record::kOwnLocator.offset] = 7;
  rec[setup_record::kSuffixEntries] = 9;
  ConstSetupRecord r(rec.data());
  EXPECT_EQ(r.OwnCall(), std::string(14, 'Q'));
  EXPECT_EQ(r.OwnLocator(), std::string(6, 'Q'));
  EXPECT_EQ(r.SuffixText(1), "QQQ");
}

TEST(Setup2Record, SixTextsEveryElevenBytesFrom1668) {
  auto rec = MarkedRecord(setup2_record::kSize);
  SetSetup2Text(rec.data(), 6, "ABC");
  ExpectWrittenAt(rec, 1668 + 55, Bytes("\x03" "ABC"), "text 6");
  auto built = RecordWith(setup2_record::kSize, 1668 + 11, Bytes("\x02X1"));
  EXPECT_EQ(Setup2Text(built.data(), 2), "X1");
  EXPECT_EQ(Setup2Text(built.data(), 7), "");
}

TEST(SetupRecords, KeyIsTheRecordNumber) {
  std::vector<uint8_t> rec(setup2_record::kSize, 0);
  rec[4] = 3;
  EXPECT_EQ(SetupRecordKey(rec.data(), 1), NumberToKey(3));
  EXPECT_EQ(Setup2RecordKey(rec.data(), 1), NumberToKey(3));
  EXPECT_EQ(SetupRecordKey(rec.data(), 2), "");
  EXPECT_EQ(Setup2RecordKey(rec.data(), 0), "");
}

// --- settings ---------------------------------------------------------------

TEST(SuiteSettings, InitialValues) {
  SuiteSettings s;
  EXPECT_EQ(s.OwnCall, "");
  // Any valid six-character locator: field A-R, square 0-9, subsquare A-X.
  ASSERT_EQ(s.OwnLocator.size(), 6u);
  EXPECT_TRUE(s.OwnLocator[0] >= 'A' && s.OwnLocator[0] <= 'R' && s.OwnLocator[1] >= 'A' &&
              s.OwnLocator[1] <= 'R' && std::isdigit(static_cast<unsigned char>(s.OwnLocator[2])) &&
              std::isdigit(static_cast<unsigned char>(s.OwnLocator[3])) && s.OwnLocator[4] >= 'A' &&
              s.OwnLocator[4] <= 'X' && s.OwnLocator[5] >= 'A' && s.OwnLocator[5] <= 'X')
      << s.OwnLocator;
  EXPECT_EQ(s.TimeOffsetHours, -2);
  EXPECT_EQ(s.NameCase, 4);
  EXPECT_EQ(s.BackgroundColour, 0x02CF9F7Fu);
  EXPECT_EQ(s.BarColour, 0x02A66C50u);
  EXPECT_EQ(s.PanelColour, 0x02F7D2C0u);
  EXPECT_EQ(s.LabelTextColour, 0x00FFFFFFu);
  EXPECT_EQ(s.HighlightLabelColour, 0x0000FFFFu);
  EXPECT_EQ(s.ListHeaderColour, 0x00FFFFFFu);
  EXPECT_EQ(s.ListHeaderTextColour, 0u);
  EXPECT_FALSE(s.StoredSuffixes.has_value());
  EXPECT_EQ(s.Language, 1);
  EXPECT_EQ(s.Setup2Texts[0], "M1");
  EXPECT_EQ(s.Setup2Texts[5], "M6");
}

std::vector<uint8_t> StationRecord() {
  std::vector<uint8_t> rec(setup_record::kSize, 0);
  SetupRecord r(rec.data());
  r.SetOwnCall("DK2XY");
  r.SetOwnLocator("JO62QM");
  r.SetOwnName("Erika");
  r.SetSwlNumber("DE-1");
  r.SetTimeOffsetHours(-1);
  r.SetNameCase(2);
  r.SetProfileNumber(3);
  return rec;
}

TEST(SuiteSettings, TakesStationFieldsFromTheRecord) {
  auto rec = StationRecord();
  SuiteSettings s;
  TakeSetupRecord(rec.data(), s);
  EXPECT_EQ(s.OwnCall, "DK2XY");
  EXPECT_EQ(s.OwnLocator, "JO62QM");
  EXPECT_EQ(s.OwnName, "Erika");
  EXPECT_EQ(s.SwlNumber, "DE-1");
  EXPECT_EQ(s.TimeOffsetHours, -1);
  EXPECT_EQ(s.NameCase, 2);
  EXPECT_EQ(s.ProfileNumber, 3);
}

TEST(SuiteSettings, ColourRules) {
  struct Case {
    const char* what;
    uint32_t panel, label, background;
    uint32_t want_panel, want_label, want_background, want_bar;
  };
  const SuiteSettings initial;
  const Case cases[] = {
      {"all five zero: every colour keeps its initial value", 0, 0, 0x00123456, initial.PanelColour,
       initial.LabelTextColour, initial.BackgroundColour, initial.BarColour},
      {"one set: all seven taken", 0, 0x00000001, 0x00123456, 0, 0x00000001, 0x00123456, 0x00654321},
      {"old default background is replaced", 0x02F7D2C0, 0x00FFFFFF, 0x02CD9E87, 0x02F7D2C0, 0x00FFFFFF,
       0x02CF9F7F, 0x00654321},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> rec(setup_record::kSize, 0);
    SetupRecord r(rec.data());
    r.SetPanelColour(c.panel);
    r.SetLabelTextColour(c.label);
    r.SetBackgroundColour(c.background);
    r.SetBarColour(0x00654321);
    SuiteSettings s;
    TakeSetupRecord(rec.data(), s);
    EXPECT_EQ(s.PanelColour, c.want_panel) << c.what;
    EXPECT_EQ(s.LabelTextColour, c.want_label) << c.what;
    EXPECT_EQ(s.BackgroundColour, c.want_background) << c.what;
    EXPECT_EQ(s.BarColour, c.want_bar) << c.what;
  }
}

TEST(SuiteSettings, OldDefaultBackgroundIsWrittenBackAsTheNewOne) {
  std::vector<uint8_t> rec(setup_record::kSize, 0);
  SetupRecord r(rec.data());
  r.SetPanelColour(0x02F7D2C0);
  r.SetBackgroundColour(0x02CD9E87);
  SuiteSettings s;
  TakeSetupRecord(rec.data(), s);
  PutSetupRecord(s, rec.data());
  EXPECT_EQ(r.BackgroundColour(), 0x02CF9F7Fu);
  EXPECT_EQ(LoadedBackgroundColour(0x02CD9E86), 0x02CD9E86u);
}

TEST(SuiteSettings, SuffixEntriesAreTakenOnlyWhenTheFirstHasAText) {
  std::vector<uint8_t> rec(setup_record::kSize, 0);
  SetupRecord r(rec.data());
  r.SetSuffixEntry(2, "QRP", 0);  // the first entry is empty
  SuiteSettings s;
  TakeSetupRecord(rec.data(), s);
  EXPECT_FALSE(s.StoredSuffixes.has_value());

  r.SetSuffixEntry(1, "P", 255);
  rec[setup_record::kSuffixEntries + 7 * 8] = 6;  // entry 9: length byte above 3
  std::copy_n("ABCDEF", 6, rec.begin() + setup_record::kSuffixEntries + 7 * 8 + 1);
  TakeSetupRecord(rec.data(), s);
  ASSERT_TRUE(s.StoredSuffixes.has_value());
  EXPECT_EQ((*s.StoredSuffixes)[0].text, "P");
  EXPECT_EQ((*s.StoredSuffixes)[0].type, 255);
  EXPECT_EQ((*s.StoredSuffixes)[1].text, "QRP");
  EXPECT_EQ((*s.StoredSuffixes)[1].type, 0);
  EXPECT_EQ((*s.StoredSuffixes)[8].text, "ABC");
}

TEST(SuiteSettings, StoredSuffixesFeedTheCallSplit) {
  std::vector<uint8_t> rec(setup_record::kSize, 0);
  SetupRecord(rec.data()).SetSuffixEntry(1, "QRP", 7);
  SuiteSettings s;
  TakeSetupRecord(rec.data(), s);
  ASSERT_TRUE(s.StoredSuffixes.has_value());
  InstallStoredSuffixEntries(*s.StoredSuffixes);
  CallPartResult r = CallPart("DL1ABC/QRP", CallPartMode::Base);
  ResetSuffixTable();
  EXPECT_EQ(r.part, "DL1ABC");
  EXPECT_EQ(r.suffixType, 7);
}

TEST(SuiteSettings, WritingBackTouchesOnlyTheProgramsFields) {
  std::vector<uint8_t> rec(setup_record::kSize);
  for (size_t i = 0; i < rec.size(); ++i) rec[i] = static_cast<uint8_t>(i * 13 + 1);
  const std::vector<uint8_t> before = rec;
  SuiteSettings s;
  s.OwnCall = "DL1ABCDEFGHIJKLM";  // 16 characters
  s.SwlNumber = std::string(25, '7');
  s.OwnLocator = "JO62QMXX";
  s.OwnName = "not written";
  s.NameCase = 1;
  s.ProfileNumber = 99;
  PutSetupRecord(s, rec.data());

  ConstSetupRecord r(rec.data());
  EXPECT_EQ(r.OwnCall(), "DL1ABCDEFGHIJK");
  EXPECT_EQ(r.SwlNumber(), std::string(20, '7'));
  EXPECT_EQ(r.OwnLocator(), "JO62QM");
  EXPECT_EQ(r.TimeOffsetHours(), -2);
  EXPECT_EQ(r.BarColour(), 0x02A66C50u);
  EXPECT_EQ(r.ListHeaderTextColour(), 0u);

  // The written fields: locator, time offset, listener number, own call and
  // the seven colours. Nothing else may differ.
  struct Field { size_t from, len; };
  const Field written[] = {{1776, 7}, {1795, 4}, {3171, 21}, {3400, 15}, {703, 20}, {2741, 8}};
  for (size_t i = 0; i < rec.size(); ++i) {
    bool inside = false;
    for (Field f : written) inside = inside || (i >= f.from && i < f.from + f.len);
    if (!inside && rec[i] != before[i]) {
      ADD_FAILURE() << "byte " << i << " changed";
      break;
    }
  }
}

TEST(SuiteSettings, Setup2TextsReplaceTheDefaultsOnlyWhenNotEmpty) {
  std::vector<uint8_t> rec(setup2_record::kSize, 0);
  SetSetup2Text(rec.data(), 2, "QRV");
  SuiteSettings s;
  TakeSetup2Record(rec.data(), s);
  EXPECT_EQ(s.Setup2Texts[0], "M1");
  EXPECT_EQ(s.Setup2Texts[1], "QRV");
  std::vector<uint8_t> out(setup2_record::kSize, 0);
  PutSetup2Record(s, out.data());
  EXPECT_EQ(Setup2Text(out.data(), 1), "M1");
  EXPECT_EQ(Setup2Text(out.data(), 2), "QRV");
  EXPECT_EQ(Setup2Text(out.data(), 6), "M6");
}

TEST(NormaliseNameCase, FiveCases) {
  struct Case {
    uint8_t name_case;
    std::string typed, expected;
  };
  const Case cases[] = {
      {1, "\xE4rger m\xFCller", "\xC4RGER M\xDCLLER"},
      {2, "M\xDCLLER-L\xDC" "DENSCHEID", "m\xFCller-l\xFC" "denscheid"},
      {3, "DE LA ROSA", "De la rosa"},
      {3, "\xC4RGER", "\xE4rger"},  // only a-z are raised
      {4, "mueller-l\xFC" "denscheid", "Mueller-L\xFC" "denscheid"},
      {4, "jo.meier", "Jo.Meier"},
      {4, "hans peter", "Hans peter"},
      {4, "\xE4rger", "\xE4rger"},
      {4, "anna-", "Anna-"},
      {4, "HANS-peter", "HANS-Peter"},
      {0, "hans PETER", "hans PETER"},
      {7, "hans", "hans"},
      {1, "", ""},
      {3, "", ""},
      {4, "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NormaliseNameCase(c.typed, c.name_case), c.expected)
        << "case " << int(c.name_case) << ": " << c.typed;
  }
}

TEST(NormaliseNameCase, UsesTheProgramSetting) {
  SuiteSettings saved = TheSuiteSettings();
  TheSuiteSettings().NameCase = 3;
  EXPECT_EQ(NormaliseNameCase("mAIER"), "Maier");
  TheSuiteSettings() = saved;
}

}  // namespace
}  // namespace kontura
