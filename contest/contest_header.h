#pragma once
// The contest header record (fileblock FHKK): one record per contest of the
// catalogue, 379 bytes, shared with the other editions of the suite. Every
// byte position below is part of the file format.
//
// Layout (offset, bytes, field):
//     0   4  deletion marker of the fileblock engine (0 in a live record)
//     4   4  ContestNumber       int32, counter field of key 3
//     8   4  DateFrom            int32 day number, <= 0 no date
//    12   4  DateTo
//    16   4  TimeFrom            int32 seconds since midnight, <= 0 none
//    20   4  TimeTo
//    24  26  EntryName           string[25]
//    50   7  CreatedLocator      string[6]
//    57  14  HeaderDok           string[13]
//    71   1  reserved, 255 when created     72  1  reserved, 1 when created
//    73  85  reserved (other editions keep a text here)
//   158   4  ParticipantNo       int32: -1 typed "0", 0 nothing typed
//   162   4  reserved
//   166  13  ContestCall         string[12]
//   179  11  reserved
//   190   1  ListKey4            char, source of key 4 (always 0 here)
//   191   1  EditionCode         char, first byte of keys 1 and 2
//   192   1  AutoDate  193 AutoTime (flags)   194 HeaderMark ('D')
//   195   1  reserved, 255 when created
//   196  10  SumQso[1..5]        uint16 each
//   206  10  SumMulti[1..5]      uint16 each
//   216  10  reserved, cleared by the recalculation (6 bytes + int32)
//   226  20  SumPoints[1..5]     int32 each
//   246 RstSentFree  247 RstRcvdFree (flags)  248 reserved (0 when created)
//   249 QslSentDefault  250 QslRcvdDefault (chars)  251 CategoryNo  252 StartSsb
//   253   8  NoteTop, NoteLeft, NoteWidth, NoteHeight   int16 each
//   261  10  SumMultiCol1[1..5]  271 SumMultiCol2[1..5]  281 SumMultiCol3[1..5]
//   291 StartFm  292 StartPr  293 AutoBand (flags)
//   294   6  HeaderPlz           string[5]
//   300   1  reserved flag of other editions
//   301  40  ColumnWidths[1..20] int16 each
//   341  14  band position 6: Qso u16, Multi u16, Points i32, MultiCol1..3 u16
//   355  14  band position 7, same layout
//   369   1  TotalsInFhkz        byte (0 in this edition)
//   370   4  OwnLdk              string[3]
//   374   1  EditedFields        bit set (see EditedField)
//   375   4  reserved
//
// Reserved bytes are never touched by the accessors, so a record written by
// another edition keeps its unknown bytes when this program rewrites it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "storage/record_bytes.h"

namespace kontura {

namespace contest_header {
inline constexpr size_t kSize = 379;

inline constexpr size_t kContestNumber = 4;
inline constexpr size_t kDateFrom = 8;
inline constexpr size_t kDateTo = 12;
inline constexpr size_t kTimeFrom = 16;
inline constexpr size_t kTimeTo = 20;
inline constexpr StrField kEntryName{24, 25};
inline constexpr StrField kCreatedLocator{50, 6};
inline constexpr StrField kHeaderDok{57, 13};
inline constexpr size_t kCreatedMark71 = 71;   // 255 when created, never read
inline constexpr size_t kCreatedMark72 = 72;   // 1 when created, never read
inline constexpr size_t kParticipantNo = 158;
inline constexpr StrField kContestCall{166, 12};
inline constexpr size_t kListKey4 = 190;
inline constexpr size_t kEditionCode = 191;
inline constexpr size_t kAutoDate = 192;
inline constexpr size_t kAutoTime = 193;
inline constexpr size_t kHeaderMark = 194;
inline constexpr size_t kCreatedMark195 = 195;  // 255 when created, never read
inline constexpr size_t kSumQso = 196;          // + 2 (i - 1), i = 1..5
inline constexpr size_t kSumMulti = 206;        // + 2 (i - 1)
inline constexpr size_t kRecalcCleared = 216;   // 10 bytes the recalculation clears
inline constexpr size_t kRecalcClearedLen = 10;
inline constexpr size_t kSumPoints = 226;       // + 4 (i - 1)
inline constexpr size_t kRstSentFree = 246;
inline constexpr size_t kRstRcvdFree = 247;
inline constexpr size_t kCreatedMark248 = 248;  // 0 when created, never read
inline constexpr size_t kQslSentDefault = 249;
inline constexpr size_t kQslRcvdDefault = 250;
inline constexpr size_t kCategoryNo = 251;
inline constexpr size_t kStartSsb = 252;
inline constexpr size_t kNoteTop = 253;
inline constexpr size_t kNoteLeft = 255;
inline constexpr size_t kNoteWidth = 257;
inline constexpr size_t kNoteHeight = 259;
inline constexpr size_t kSumMultiCol1 = 261;    // + 2 (i - 1), i = 1..5
inline constexpr size_t kSumMultiCol2 = 271;
inline constexpr size_t kSumMultiCol3 = 281;
inline constexpr size_t kStartFm = 291;
inline constexpr size_t kStartPr = 292;
inline constexpr size_t kAutoBand = 293;
inline constexpr StrField kHeaderPlz{294, 5};
inline constexpr size_t kColumnWidths = 301;    // + 2 (k - 1), k = 1..20
inline constexpr int kColumnCount = 20;
inline constexpr size_t kSum6 = 341;            // band position 6 block
inline constexpr size_t kSum7 = 355;            // band position 7 block
// Offsets inside the block of band position 6 or 7.
inline constexpr size_t kBlockQso = 0;
inline constexpr size_t kBlockMulti = 2;
inline constexpr size_t kBlockPoints = 4;
inline constexpr size_t kBlockMultiCol1 = 8;
inline constexpr size_t kBlockMultiCol2 = 10;
inline constexpr size_t kBlockMultiCol3 = 12;
inline constexpr size_t kTotalsInFhkz = 369;
inline constexpr StrField kOwnLdk{370, 3};
inline constexpr size_t kEditedFields = 374;

// The header holds the totals of band positions 1 to 7.
inline constexpr int kBandPositions = 7;

// Key lengths of FHKK.
inline constexpr int kKeyCount = 5;
}  // namespace contest_header

// Bits of EditedFields: a date or time field the operator typed by hand.
enum EditedField : uint8_t {
  kEditedDateFrom = 1,
  kEditedDateTo = 2,
  kEditedTimeFrom = 4,
  kEditedTimeTo = 8,
};

// Read access to a header record of contest_header::kSize bytes owned by the
// caller (usually the FHKK record buffer). Flags read as on when non-zero.
// Band positions run from 1 to 7 (positions 6 and 7 have their own block at
// the end of the record); a position outside 1..7 reads as 0.
class ConstContestHeader {
 public:
  explicit ConstContestHeader(const uint8_t* rec) : m_rec(rec) {}

  int32_t ContestNumber() const;
  int32_t DateFrom() const;
  int32_t DateTo() const;
  int32_t TimeFrom() const;
  int32_t TimeTo() const;
  std::string EntryName() const;
  std::string CreatedLocator() const;
  std::string HeaderDok() const;
  int32_t ParticipantNo() const;
  std::string ContestCall() const;
  char ListKey4() const;
  char EditionCode() const;
  bool AutoDate() const;
  bool AutoTime() const;
  char HeaderMark() const;
  bool RstSentFree() const;
  bool RstRcvdFree() const;
  char QslSentDefault() const;
  char QslRcvdDefault() const;
  uint8_t CategoryNo() const;
  bool StartSsb() const;
  bool StartFm() const;
  bool StartPr() const;
  bool AutoBand() const;
  int16_t NoteTop() const;
  int16_t NoteLeft() const;
  int16_t NoteWidth() const;
  int16_t NoteHeight() const;
  std::string HeaderPlz() const;
  int16_t ColumnWidth(int k) const;  // k = 1..20; 0 outside
  uint8_t TotalsInFhkz() const;
  std::string OwnLdk() const;
  uint8_t EditedFields() const;

  uint16_t SumQso(int pos) const;
  uint16_t SumMulti(int pos) const;
  int32_t SumPoints(int pos) const;
  uint16_t SumMultiCol1(int pos) const;
  uint16_t SumMultiCol2(int pos) const;
  uint16_t SumMultiCol3(int pos) const;

  const uint8_t* Bytes() const { return m_rec; }

 private:
  const uint8_t* m_rec;
};

// Read and write access. Strings are cut to their capacity; the characters
// behind the new length are set to zero, as the stored format has them.
// Flags are written as 255 (on) and 0 (off).
class TContestHeader : public ConstContestHeader {
 public:
  explicit TContestHeader(uint8_t* rec) : ConstContestHeader(rec), m_rec(rec) {}

  void Clear();  // all 379 bytes to zero

  void SetContestNumber(int32_t v);
  void SetDateFrom(int32_t v);
  void SetDateTo(int32_t v);
  void SetTimeFrom(int32_t v);
  void SetTimeTo(int32_t v);
  void SetEntryName(const std::string& s);
  void SetCreatedLocator(const std::string& s);
  void SetHeaderDok(const std::string& s);
  void SetParticipantNo(int32_t v);
  void SetContestCall(const std::string& s);
  void SetListKey4(char c);
  void SetEditionCode(char c);
  void SetAutoDate(bool on);
  void SetAutoTime(bool on);
  void SetHeaderMark(char c);
  void SetRstSentFree(bool on);
  void SetRstRcvdFree(bool on);
  void SetQslSentDefault(char c);
  void SetQslRcvdDefault(char c);
  void SetCategoryNo(uint8_t v);
  void SetStartSsb(bool on);
  void SetStartFm(bool on);
  void SetStartPr(bool on);
  void SetAutoBand(bool on);
  void SetNoteTop(int16_t v);
  void SetNoteLeft(int16_t v);
  void SetNoteWidth(int16_t v);
  void SetNoteHeight(int16_t v);
  void SetHeaderPlz(const std::string& s);
  void SetColumnWidth(int k, int16_t v);  // k outside 1..20 is ignored
  void SetTotalsInFhkz(uint8_t v);
  void SetOwnLdk(const std::string& s);
  // Sets the bits given; bits once set are never cleared by the program.
  void MarkEdited(uint8_t bits);

  // Band positions outside 1..7 are ignored.
  void SetSumQso(int pos, uint16_t v);
  void SetSumMulti(int pos, uint16_t v);
  void SetSumPoints(int pos, int32_t v);
  void SetSumMultiCol1(int pos, uint16_t v);
  void SetSumMultiCol2(int pos, uint16_t v);
  void SetSumMultiCol3(int pos, uint16_t v);
  // Zeroes the ten reserved bytes at 216 that the recalculation clears.
  void ClearRecalcReserved();

  uint8_t* Bytes() { return m_rec; }

 private:
  uint8_t* m_rec;
};

// The preset of a header for a new contest, before the configuration dialog
// fills in what the operator types: the buffer is cleared, then the own
// locator and call, the creation marks (bytes 71, 72, 195, 248), the edition
// code, automatic date and time on, HeaderMark 'D' and both reports fixed.
// Dates and times stay 0; the dialog puts the contest definition's defaults
// there.
void PresetNewContest(TContestHeader& header, const std::string& own_locator,
                      const std::string& own_call, char edition_code);

// Key builder of FHKK: the key string of key_number (1..5) of the header at
// rec, the empty string for other key numbers. The keys come out at their
// full length (26, 5, 5, 1, 25 bytes); the engine cuts every key to 50 bytes
// and to the key length of the index, which changes nothing here.
//   1: EditionCode + EntryName padded with blanks to 25
//   2: EditionCode + DateToKey(DateFrom)
//   3: NumberToKey(ContestNumber) - counter key
//   4: ListKey4
//   5: EntryName padded with blanks to 25
std::string ContestHeaderKey(const uint8_t* rec, int key_number);

}  // namespace kontura
