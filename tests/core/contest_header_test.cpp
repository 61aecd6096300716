// Byte layout, preset and keys of the contest header and totals records.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "contest/contest_header.h"
#include "contest/contest_totals.h"
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
std::string Zeros(size_t n) { return std::string(n, '\0'); }

using HeaderCase = testing::FieldCase<TContestHeader, ConstContestHeader>;
#define HROW(off, bytes, write_expr, read_expr, value) \
  FIELD_ROW(TContestHeader, ConstContestHeader, h, off, bytes, write_expr, read_expr, value)

const std::vector<HeaderCase>& HeaderCases() {
  static const std::vector<HeaderCase> cases = {
      HROW(4, Raw("\x04\x03\x02\x01", 4), h.SetContestNumber(0x01020304), h.ContestNumber(), 0x01020304),
      HROW(8, Raw("\x90\x59\x02\x00", 4), h.SetDateFrom(154000), h.DateFrom(), 154000),
      HROW(12, Raw("\xFF\xFF\xFF\xFF", 4), h.SetDateTo(-1), h.DateTo(), -1),
      HROW(16, Raw("\x58\x4D\x00\x00", 4), h.SetTimeFrom(19800), h.TimeFrom(), 19800),
      HROW(20, Raw("\x78\x69\x00\x00", 4), h.SetTimeTo(27000), h.TimeTo(), 27000),
      HROW(24, "\x08GMW 2026" + Zeros(17), h.SetEntryName("GMW 2026"), h.EntryName(), "GMW 2026"),
      HROW(50, "\x06JO62QM", h.SetCreatedLocator("JO62QM"), h.CreatedLocator(), "JO62QM"),
      HROW(57, "\x03X12" + Zeros(10), h.SetHeaderDok("X12"), h.HeaderDok(), "X12"),
      HROW(158, Raw("\xFF\xFF\xFF\xFF", 4), h.SetParticipantNo(-1), h.ParticipantNo(), -1),
      HROW(166, "\x06" "DL1ABC" + Zeros(6), h.SetContestCall("DL1ABC"), h.ContestCall(), "DL1ABC"),
      HROW(190, "Z", h.SetListKey4('Z'), h.ListKey4(), 'Z'),
      HROW(191, "m", h.SetEditionCode('m'), h.EditionCode(), 'm'),
      HROW(192, "\xFF", h.SetAutoDate(true), h.AutoDate(), true),
      HROW(193, "\xFF", h.SetAutoTime(true), h.AutoTime(), true),
      HROW(194, "D", h.SetHeaderMark('D'), h.HeaderMark(), 'D'),
      HROW(196, "\x02\x01", h.SetSumQso(1, 0x0102), h.SumQso(1), 0x0102),
      HROW(204, "\x05\x01", h.SetSumQso(5, 0x0105), h.SumQso(5), 0x0105),
      HROW(206, "\x03\x01", h.SetSumMulti(1, 0x0103), h.SumMulti(1), 0x0103),
      HROW(214, "\x04\x01", h.SetSumMulti(5, 0x0104), h.SumMulti(5), 0x0104),
      HROW(226, Raw("\x01\x02\x03\x00", 4), h.SetSumPoints(1, 0x030201), h.SumPoints(1), 0x030201),
      HROW(242, Raw("\xFE\xFF\xFF\xFF", 4), h.SetSumPoints(5, -2), h.SumPoints(5), -2),
      HROW(246, "\xFF", h.SetRstSentFree(true), h.RstSentFree(), true),
      HROW(247, "\xFF", h.SetRstRcvdFree(true), h.RstRcvdFree(), true),
      HROW(249, "J", h.SetQslSentDefault('J'), h.QslSentDefault(), 'J'),
      HROW(250, "N", h.SetQslRcvdDefault('N'), h.QslRcvdDefault(), 'N'),
      HROW(251, "\x03", h.SetCategoryNo(3), h.CategoryNo(), 3),
      HROW(252, "\xFF", h.SetStartSsb(true), h.StartSsb(), true),
      HROW(253, "\xFE\xFF", h.SetNoteTop(-2), h.NoteTop(), -2),
      HROW(255, "\x10\x01", h.SetNoteLeft(0x0110), h.NoteLeft(), 0x0110),
      HROW(257, "\x20\x01", h.SetNoteWidth(0x0120), h.NoteWidth(), 0x0120),
      HROW(259, "\x30\x01", h.SetNoteHeight(0x0130), h.NoteHeight(), 0x0130),
      HROW(261, "\x11\x02", h.SetSumMultiCol1(1, 0x0211), h.SumMultiCol1(1), 0x0211),
      HROW(269, "\x15\x02", h.SetSumMultiCol1(5, 0x0215), h.SumMultiCol1(5), 0x0215),
      HROW(271, "\x21\x02", h.SetSumMultiCol2(1, 0x0221), h.SumMultiCol2(1), 0x0221),
      HROW(279, "\x25\x02", h.SetSumMultiCol2(5, 0x0225), h.SumMultiCol2(5), 0x0225),
      HROW(281, "\x31\x02", h.SetSumMultiCol3(1, 0x0231), h.SumMultiCol3(1), 0x0231),
      HROW(289, "\x35\x02", h.SetSumMultiCol3(5, 0x0235), h.SumMultiCol3(5), 0x0235),
      HROW(291, "\xFF", h.SetStartFm(true), h.StartFm(), true),
      HROW(292, "\xFF", h.SetStartPr(true), h.StartPr(), true),
      HROW(293, "\xFF", h.SetAutoBand(true), h.AutoBand(), true),
      HROW(294, "\x05" "80331", h.SetHeaderPlz("80331"), h.HeaderPlz(), "80331"),
      HROW(301, Raw("\x40\x00", 2), h.SetColumnWidth(1, 64), h.ColumnWidth(1), 64),
      HROW(339, Raw("\x41\x00", 2), h.SetColumnWidth(20, 65), h.ColumnWidth(20), 65),
      HROW(341, "\x61\x03", h.SetSumQso(6, 0x0361), h.SumQso(6), 0x0361),
      HROW(343, "\x62\x03", h.SetSumMulti(6, 0x0362), h.SumMulti(6), 0x0362),
      HROW(345, Raw("\x63\x03\x00\x00", 4), h.SetSumPoints(6, 0x0363), h.SumPoints(6), 0x0363),
      HROW(349, "\x64\x03", h.SetSumMultiCol1(6, 0x0364), h.SumMultiCol1(6), 0x0364),
      HROW(351, "\x65\x03", h.SetSumMultiCol2(6, 0x0365), h.SumMultiCol2(6), 0x0365),
      HROW(353, "\x66\x03", h.SetSumMultiCol3(6, 0x0366), h.SumMultiCol3(6), 0x0366),
      HROW(355, "\x71\x03", h.SetSumQso(7, 0x0371), h.SumQso(7), 0x0371),
      HROW(357, "\x72\x03", h.SetSumMulti(7, 0x0372), h.SumMulti(7), 0x0372),
      HROW(359, Raw("\x73\x03\x00\x00", 4), h.SetSumPoints(7, 0x0373), h.SumPoints(7), 0x0373),
      HROW(363, "\x74\x03", h.SetSumMultiCol1(7, 0x0374), h.SumMultiCol1(7), 0x0374),
      HROW(365, "\x75\x03", h.SetSumMultiCol2(7, 0x0375), h.SumMultiCol2(7), 0x0375),
      HROW(367, "\x76\x03", h.SetSumMultiCol3(7, 0x0376), h.SumMultiCol3(7), 0x0376),
      HROW(369, "\x01", h.SetTotalsInFhkz(1), h.TotalsInFhkz(), 1),
      HROW(370, Raw("\x02" "AB\0", 4), h.SetOwnLdk("AB"), h.OwnLdk(), "AB"),
  };
  return cases;
}

TEST(ContestHeader, EveryFieldIsWrittenAtItsOffsetAndNowhereElse) {
  for (const HeaderCase& c : HeaderCases()) {
    auto rec = MarkedRecord(contest_header::kSize);
    TContestHeader h(rec.data());
    c.write(h);
    ExpectWrittenAt(rec, c.offset, Bytes(c.bytes), c.what);
  }
}

TEST(ContestHeader, EveryFieldIsReadFromBytesAtItsOffset) {
  for (const HeaderCase& c : HeaderCases()) {
    SCOPED_TRACE(c.what);
    auto rec = RecordWith(contest_header::kSize, c.offset, Bytes(c.bytes));
    c.check(ConstContestHeader(rec.data()));
  }
}

TEST(ContestHeader, FlagsWriteZeroWhenOffAndReadAnyNonZeroAsOn) {
  auto rec = MarkedRecord(contest_header::kSize);
  TContestHeader h(rec.data());
  h.SetAutoDate(false);
  h.SetRstSentFree(false);
  EXPECT_EQ(rec[contest_header::kAutoDate], 0);
  EXPECT_EQ(rec[contest_header::kRstSentFree], 0);
  rec[contest_header::kAutoBand] = 1;  // written by another edition
  EXPECT_TRUE(h.AutoBand());
}

TEST(ContestHeader, ShorterTextLeavesZerosBehindItsLength) {
  std::vector<uint8_t> rec(contest_header::kSize, 0);
  TContestHeader h(rec.data());
  h.SetEntryName("Mobilwettbewerb Fruehjahr");
  h.SetEntryName("GMW");
  EXPECT_EQ(std::string(rec.begin() + 24, rec.begin() + 50), "\x03GMW" + Zeros(22));
}

TEST(ContestHeader, TextsAreCutToCapacityAndLengthByteAboveCapacityReadsAsCapacity) {
  std::vector<uint8_t> rec(contest_header::kSize, 0);
  TContestHeader h(rec.data());
  h.SetContestCall("DL1ABCDEFGHIJK");  // 14 characters, capacity 12
  EXPECT_EQ(h.ContestCall(), "DL1ABCDEFGHI");
  EXPECT_EQ(rec[contest_header::kContestCall.offset + 13], 0) << "byte 179 lies behind the field";
  // A damaged length byte never reaches into the next field.
  rec[contest_header::kEntryName.offset] = 200;
  std::fill(rec.begin() + 25, rec.begin() + 50, 'N');
  rec[contest_header::kCreatedLocator.offset] = 6;
  EXPECT_EQ(h.EntryName(), std::string(25, 'N'));
  rec[contest_header::kOwnLdk.offset] = 255;
  EXPECT_EQ(h.OwnLdk().size(), 3u);
}

TEST(ContestHeader, BandPositionsOutsideOneToSevenAreIgnored) {
  auto rec = MarkedRecord(contest_header::kSize);
  TContestHeader h(rec.data());
  for (int pos : {0, 8, -1}) {
    h.SetSumQso(pos, 1);
    h.SetSumMulti(pos, 1);
    h.SetSumPoints(pos, 1);
    h.SetSumMultiCol1(pos, 1);
    h.SetSumMultiCol2(pos, 1);
    h.SetSumMultiCol3(pos, 1);
    EXPECT_EQ(h.SumQso(pos), 0);
    EXPECT_EQ(h.SumPoints(pos), 0);
  }
  h.SetColumnWidth(0, 1);
  h.SetColumnWidth(21, 1);
  EXPECT_EQ(h.ColumnWidth(21), 0);
  EXPECT_EQ(rec, MarkedRecord(contest_header::kSize));
}

TEST(ContestHeader, EditedFieldBitsStaySetOnceSet) {
  std::vector<uint8_t> rec(contest_header::kSize, 0);
  TContestHeader h(rec.data());
  h.MarkEdited(kEditedDateTo);
  h.MarkEdited(kEditedTimeFrom);
  h.MarkEdited(0);
  EXPECT_EQ(rec[374], kEditedDateTo | kEditedTimeFrom);
  EXPECT_EQ(h.EditedFields(), 0x06);
}

TEST(ContestHeader, ReservedBytesOfAnotherEditionSurviveARewriteOfEveryField) {
  std::vector<uint8_t> rec(contest_header::kSize);
  for (size_t i = 0; i < rec.size(); ++i) rec[i] = static_cast<uint8_t>(i * 7 + 3);
  const std::vector<uint8_t> before = rec;
  TContestHeader h(rec.data());
  for (const HeaderCase& c : HeaderCases()) c.write(h);
  h.MarkEdited(kEditedDateFrom);
  struct Range { size_t from, len; };
  for (Range r : {Range{0, 4}, Range{71, 87}, Range{162, 4}, Range{179, 11}, Range{195, 1}, Range{216, 10},
                  Range{248, 1}, Range{300, 1}, Range{375, 4}}) {
    for (size_t i = r.from; i < r.from + r.len; ++i) EXPECT_EQ(rec[i], before[i]) << "reserved byte " << i;
  }
}

TEST(ContestHeader, RecalculationClearsOnlyItsTenReservedBytes) {
  auto rec = MarkedRecord(contest_header::kSize);
  TContestHeader h(rec.data());
  h.ClearRecalcReserved();
  ExpectWrittenAt(rec, 216, std::vector<uint8_t>(10, 0), "ClearRecalcReserved");
}

TEST(ContestHeader, PresetForANewContest) {
  auto rec = MarkedRecord(contest_header::kSize);  // the buffer still holds an old header
  TContestHeader h(rec.data());
  PresetNewContest(h, "JO62QM", "DL1ABC", 'm');

  std::vector<uint8_t> expected(contest_header::kSize, 0);
  auto put = [&expected](size_t off, const std::string& s) { std::copy(s.begin(), s.end(), expected.begin() + off); };
  put(50, "\x06JO62QM");
  put(166, "\x06" "DL1ABC");
  put(71, "\xFF\x01");
  put(191, "m\xFF\xFF" "D\xFF");
  EXPECT_EQ(rec, expected);
}

TEST(ContestHeader, Keys) {
  std::vector<uint8_t> rec(contest_header::kSize, 0);
  TContestHeader h(rec.data());
  h.SetEditionCode('m');
  h.SetEntryName("GMW");
  h.SetDateFrom(0x00012345);
  h.SetContestNumber(7);
  const std::string name25 = "GMW" + std::string(22, ' ');
  struct KeyCase { int key; std::string expected; };
  const KeyCase cases[] = {
      {1, "m" + name25},
      {2, Raw("m\x00\x01\x23\x45", 5)},
      {3, NumberToKey(7)},
      {4, Zeros(1)},
      {5, name25},
      {0, ""},
      {6, ""},
  };
  for (const KeyCase& c : cases) EXPECT_EQ(ContestHeaderKey(rec.data(), c.key), c.expected) << "key " << c.key;

  h.SetEntryName(std::string(25, 'X'));
  rec[contest_header::kEntryName.offset] = 30;  // damaged length byte
  EXPECT_EQ(ContestHeaderKey(rec.data(), 5), std::string(25, 'X'));
}

// --- totals ---------------------------------------------------------------

using TotalsCase = testing::FieldCase<TContestTotals, ConstContestTotals>;
#define TROW(off, bytes, write_expr, read_expr, value) \
  FIELD_ROW(TContestTotals, ConstContestTotals, t, off, bytes, write_expr, read_expr, value)

const std::vector<TotalsCase>& TotalsCases() {
  static const std::vector<TotalsCase> cases = {
      TROW(4, Raw("\x07\x00\x00\x00", 4), t.SetContestNumber(7), t.ContestNumber(), 7),
      TROW(8, Raw("\x01\x01\x00\x00", 4), t.SetTotQso(1, 0x101), t.TotQso(1), 0x101),
      TROW(404, Raw("\x02\x01\x00\x00", 4), t.SetTotQso(100, 0x102), t.TotQso(100), 0x102),
      TROW(408, Raw("\x03\x01\x00\x00", 4), t.SetTotMulti(1, 0x103), t.TotMulti(1), 0x103),
      TROW(804, Raw("\x04\x01\x00\x00", 4), t.SetTotMulti(100, 0x104), t.TotMulti(100), 0x104),
      TROW(808, Raw("\xFF\xFF\xFF\xFF", 4), t.SetTotPoints(1, -1), t.TotPoints(1), -1),
      TROW(1204, Raw("\x05\x01\x00\x00", 4), t.SetTotPoints(100, 0x105), t.TotPoints(100), 0x105),
      TROW(1208, "\x06\x01", t.SetTotMultiCol1(1, 0x106), t.TotMultiCol1(1), 0x106),
      TROW(1406, "\x07\x01", t.SetTotMultiCol1(100, 0x107), t.TotMultiCol1(100), 0x107),
      TROW(1408, "\x08\x01", t.SetTotMultiCol3(1, 0x108), t.TotMultiCol3(1), 0x108),
      TROW(1606, "\x09\x01", t.SetTotMultiCol3(100, 0x109), t.TotMultiCol3(100), 0x109),
      TROW(1608, "\x0A\x01", t.SetTotMultiCol2(1, 0x10A), t.TotMultiCol2(1), 0x10A),
      TROW(1806, "\x0B\x01", t.SetTotMultiCol2(100, 0x10B), t.TotMultiCol2(100), 0x10B),
      TROW(1808, "\xFF", t.SetRstSentUnlocked(true), t.RstSentUnlocked(), true),
      TROW(1809, "\xFF", t.SetLogUncountedDupes(true), t.LogUncountedDupes(), true),
  };
  return cases;
}

TEST(ContestTotals, EveryFieldIsWrittenAtItsOffsetAndReadFromIt) {
  ExpectFieldsAtTheirOffsets<TContestTotals, ConstContestTotals>(TotalsCases(), contest_totals::kSize);
}

TEST(ContestTotals, PositionsOutsideOneToHundredAreIgnored) {
  auto rec = MarkedRecord(contest_totals::kSize);
  TContestTotals t(rec.data());
  for (int pos : {0, 101}) {
    t.SetTotQso(pos, 1);
    t.SetTotMulti(pos, 1);
    t.SetTotPoints(pos, 1);
    t.SetTotMultiCol1(pos, 1);
    t.SetTotMultiCol2(pos, 1);
    t.SetTotMultiCol3(pos, 1);
    EXPECT_EQ(t.TotQso(pos), 0);
    EXPECT_EQ(t.TotMultiCol2(pos), 0);
  }
  EXPECT_EQ(rec, MarkedRecord(contest_totals::kSize));
}

TEST(ContestTotals, MissingRecordIsPreparedClearedWithTheContestNumberAndKeyedByIt) {
  auto rec = MarkedRecord(contest_totals::kSize);
  TContestTotals t(rec.data());
  PrepareMissingTotals(t, 12);
  std::vector<uint8_t> expected(contest_totals::kSize, 0);
  expected[4] = 12;
  EXPECT_EQ(rec, expected);
  EXPECT_EQ(ContestTotalsKey(rec.data(), 1), NumberToKey(12));
  EXPECT_EQ(ContestTotalsKey(rec.data(), 2), "");
}

}  // namespace
}  // namespace kontura
