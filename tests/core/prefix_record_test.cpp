// Byte layout and keys of the prefix database record.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "refdata/prefix_record.h"
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

using PrefixCase = testing::FieldCase<PrefixRecord, ConstPrefixRecord>;
#define PROW(off, bytes, write_expr, read_expr, value) \
  FIELD_ROW(PrefixRecord, ConstPrefixRecord, p, off, bytes, write_expr, read_expr, value)

const std::vector<PrefixCase>& PrefixCases() {
  static const std::vector<PrefixCase> cases = {
      PROW(4, "\x04" "FT?W", p.SetPatternText("FT?W"), p.PatternText(), "FT?W"),
      PROW(11, "\x02" "DL", p.SetEntityPrefix("DL"), p.EntityPrefix(), "DL"),
      PROW(18, "\x01" "2", p.SetAlternativeNo("2"), p.AlternativeNo(), "2"),
      PROW(22, "\x02" "14", p.SetCqZone("14"), p.CqZone(), "14"),
      PROW(25, "\x02" "28", p.SetItuZone("28"), p.ItuZone(), "28"),
      PROW(28, "\x02" "EU", p.SetContinentCode("EU"), p.ContinentCode(), "EU"),
      PROW(31, "\x0B" "Deutschland", p.SetCountryName("Deutschland"), p.CountryName(), "Deutschland"),
      PROW(62, "\x03XYZ", p.SetExtraCode("XYZ"), p.ExtraCode(), "XYZ"),
      PROW(80, Raw("\x01\x02\x03\x00", 4), p.SetValidFrom(0x030201), p.ValidFrom(), 0x030201),
      PROW(84, Raw("\x04\x05\x06\x00", 4), p.SetValidTo(0x060504), p.ValidTo(), 0x060504),
      PROW(88, Raw("\x07\x08\x09\x00", 4), p.SetFormerUntil2(0x090807), p.FormerUntil2(), 0x090807),
      PROW(96, "\x02RA", p.SetFormerPrefix2("RA"), p.FormerPrefix2(), "RA"),
      PROW(107, "A", p.SetRangeStart('A'), p.RangeStart(), 'A'),
      PROW(108, Raw("\xE6\x00", 2), p.SetDxccNumber(230), p.DxccNumber(), 230),
      PROW(110, "\x04" "DL-N", p.SetRedirectPrefix("DL-N"), p.RedirectPrefix(), "DL-N"),
      PROW(120, "\x05" "Notiz", p.SetRemark("Notiz"), p.Remark(), "Notiz"),
      PROW(161, Raw("\x0A\x0B\x0C\x00", 4), p.SetFormerUntil1(0x0C0B0A), p.FormerUntil1(), 0x0C0B0A),
      PROW(165, "\x02Y2", p.SetFormerPrefix1("Y2"), p.FormerPrefix1(), "Y2"),
      PROW(172, "\x03" "DA0", p.SetAltEntityPrefix("DA0"), p.AltEntityPrefix(), "DA0"),
      PROW(179, "*", p.SetEntryClass('*'), p.EntryClass(), '*'),
      PROW(180, "J", p.SetPrefixFlag('J'), p.PrefixFlag(), 'J'),
  };
  return cases;
}

TEST(PrefixRecord, EveryFieldIsWrittenAtItsOffsetAndReadFromIt) {
  ExpectFieldsAtTheirOffsets<PrefixRecord, ConstPrefixRecord>(PrefixCases(), prefix_record::kSize);
}

TEST(PrefixRecord, LengthByteAboveCapacityReadsAsCapacity) {
  std::vector<uint8_t> rec(prefix_record::kSize, 'K');
  rec[prefix_record::kPatternText.offset] = 9;
  rec[prefix_record::kRemark.offset] = 255;
  ConstPrefixRecord p(rec.data());
  EXPECT_EQ(p.PatternText(), "KKKKKK");
  EXPECT_EQ(p.Remark().size(), 40u);
}

std::vector<uint8_t> SampleEntry(char entry_class) {
  std::vector<uint8_t> rec(prefix_record::kSize, 0);
  PrefixRecord p(rec.data());
  p.SetPatternText("DL");
  p.SetEntityPrefix("DL");
  p.SetAlternativeNo("1");
  p.SetCqZone("14");
  p.SetItuZone("28");
  p.SetContinentCode("EU");
  p.SetCountryName("\xD6sterreich");  // lower-case umlauts would be raised too
  p.SetExtraCode("X1");
  p.SetAltEntityPrefix("DA");
  p.SetRedirectPrefix("DR#");
  p.SetFormerPrefix2("Y2");
  p.SetDxccNumber(230);
  p.SetEntryClass(entry_class);
  return rec;
}

TEST(PrefixRecord, Keys) {
  const auto rec = SampleEntry('A');
  const std::string dl6 = "DL    ";
  struct KeyCase { int key; std::string expected; };
  const KeyCase cases[] = {
      {1, dl6},
      {2, "DL    " + dl6},
      {3, dl6 + "1  "},
      {4, "14" + dl6},
      {5, "28" + dl6},
      {6, "EU" + dl6},
      {7, "\xD6STERREICH" + std::string(20, ' ') + dl6},
      {8, "X1      " + dl6},
      {9, "DA    "},
      {10, Raw("\x00", 1) + dl6},
      {11, "DR#   "},
      {12, "Y2    "},
      {13, NumberToKey(230)},
      {14, "A" + dl6},
      {15, ""},
      {0, ""},
  };
  for (const KeyCase& c : cases) EXPECT_EQ(PrefixKey(rec.data(), c.key), c.expected) << "key " << c.key;
}

TEST(PrefixRecord, ClassByteOfKeyTen) {
  struct Case { char entry_class; char expected; };
  const Case cases[] = {{'*', 2}, {'J', 1}, {'Z', 1}, {'\xC4', 1}, {'I', 0}, {'\0', 0}, {'1', 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(PrefixKey(SampleEntry(c.entry_class).data(), 10)[0], c.expected)
        << "class " << int(static_cast<uint8_t>(c.entry_class));
  }
}

TEST(PrefixRecord, OverlayTablesShareTheFirstTwelveKeys) {
  const auto rec = SampleEntry('*');
  for (int key = 1; key <= 12; ++key) EXPECT_EQ(OverlayPrefixKey(rec.data(), key), PrefixKey(rec.data(), key));
  EXPECT_EQ(OverlayPrefixKey(rec.data(), 13), "");
  EXPECT_EQ(OverlayPrefixKey(rec.data(), 14), "");
}

}  // namespace
}  // namespace kontura
