#pragma once
// The contest header record (fileblock FHKK): one record per contest of the
// catalogue, 379 bytes, shared with the other editions of the suite. Every
// byte position below is part of the file format.
//
// OFFSET WIDTH TYPE        NAME              MEANING
//    0     4   bytes       Reserved          the engine's deleted-record marker; 0
//    4     4   int32       ContestNumber     counter field of key 3
//    8     4   int32       DateFrom          day number; <= 0 no date
//   12     4   int32       DateTo            day number; <= 0 no date
//   16     4   int32       TimeFrom          seconds since midnight; <= 0 none
//   20     4   int32       TimeTo            seconds since midnight; <= 0 none
//   24    26   string[25]  EntryName         the contest entry's name
//   50     7   string[6]   CreatedLocator    own locator when created
//   57    14   string[13]  HeaderDok         own DOK
//   71     1   byte        (reserved)        255 when created, never read
//   72     1   byte        (reserved)        1 when created, never read
//   73    85   bytes       (reserved)        other editions keep a text here
//  158     4   int32       ParticipantNo     -1 typed "0", 0 nothing typed
//  162     4   bytes       (reserved)
//  166    13   string[12]  ContestCall       own call for this contest
//  179    11   bytes       (reserved)
//  190     1   char        ListKey4          source of key 4 (always 0 here)
//  191     1   char        EditionCode       first byte of keys 1 and 2
//  192     1   flag        AutoDate          the clock sets the QSO date
//  193     1   flag        AutoTime          the clock sets the QSO time
//  194     1   char        HeaderMark        'D'
//  195     1   byte        (reserved)        255 when created
//  196    10   uint16[5]   SumQso            QSOs of band positions 1..5
//  206    10   uint16[5]   SumMulti          multipliers of band positions 1..5
//  216    10   bytes       (reserved)        cleared by the recalculation (6 bytes + int32)
//  226    20   int32[5]    SumPoints         points of band positions 1..5
//  246     1   flag        RstSentFree       sent report may be typed
//  247     1   flag        RstRcvdFree       received report may be typed
//  248     1   byte        (reserved)        0 when created
//  249     1   char        QslSentDefault
//  250     1   char        QslRcvdDefault
//  251     1   byte        CategoryNo        1-based; 0 none
//  252     1   flag        StartSsb          start mode SSB
//  253     8   int16[4]    NoteTop, NoteLeft, NoteWidth, NoteHeight   the note window
//  261    10   uint16[5]   SumMultiCol1      first multiplier column, positions 1..5
//  271    10   uint16[5]   SumMultiCol2
//  281    10   uint16[5]   SumMultiCol3
//  291     1   flag        StartFm           start mode FM
//  292     1   flag        StartPr           start mode packet
//  293     1   flag        AutoBand          band from the frequency
//  294     6   string[5]   HeaderPlz         own postcode; not read by this program
//  300     1   flag        (reserved)        of other editions
//  301    40   int16[20]   ColumnWidths      QSO list column widths
//  341    14   block       band position 6   Qso u16, Multi u16, Points i32, MultiCol1..3 u16
//  355    14   block       band position 7   same layout
//  369     1   byte        TotalsInFhkz      0 in this edition
//  370     4   string[3]   OwnLdk            LDK of editions that ask for it; empty here
//  374     1   bits        EditedFields      see EditedField
//  375     4   bytes       (reserved)
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
