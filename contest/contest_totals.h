#pragma once
// The contest totals record (fileblock FHKZ): one record per contest, keyed
// by the same contest number as its header, 11608 bytes.
//
// OFFSET WIDTH TYPE        NAME              MEANING
//     0     4   bytes       Reserved          the engine's deleted-record marker
//     4     4   int32       ContestNumber     key 1 = NumberToKey, unique
//     8   400   int32[100]  TotQso            per band position
//   408   400   int32[100]  TotMulti
//   808   400   int32[100]  TotPoints
//  1208   200   uint16[100] TotMultiCol1
//  1408   200   uint16[100] TotMultiCol3      the third kind comes second
//  1608   200   uint16[100] TotMultiCol2
//  1808     1   flag        RstSentUnlocked
//  1809     1   flag        LogUncountedDupes always stored as 0 here
//  1810  9798   bytes       (reserved)
//
// The per-band arrays are used only when the header's TotalsInFhkz is
// non-zero, which this edition never sets; the accessors exist so that the
// record can be shown and carried whole. Reserved bytes are never touched.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kontura {

namespace contest_totals {
inline constexpr size_t kSize = 11608;
inline constexpr size_t kContestNumber = 4;
inline constexpr size_t kTotQso = 8;          // + 4 (i - 1), i = 1..100
inline constexpr size_t kTotMulti = 408;      // + 4 (i - 1)
inline constexpr size_t kTotPoints = 808;     // + 4 (i - 1)
inline constexpr size_t kTotMultiCol1 = 1208; // + 2 (i - 1)
inline constexpr size_t kTotMultiCol3 = 1408; // + 2 (i - 1)
inline constexpr size_t kTotMultiCol2 = 1608; // + 2 (i - 1)
inline constexpr size_t kRstSentUnlocked = 1808;
inline constexpr size_t kLogUncountedDupes = 1809;
inline constexpr int kBandPositions = 100;
inline constexpr int kKeyCount = 1;
}  // namespace contest_totals

// Read access to a totals record owned by the caller. Band positions run
// from 1 to 100; a position outside reads as 0.
class ConstContestTotals {
 public:
  explicit ConstContestTotals(const uint8_t* rec) : m_rec(rec) {}

  int32_t ContestNumber() const;
  int32_t TotQso(int pos) const;
  int32_t TotMulti(int pos) const;
  int32_t TotPoints(int pos) const;
  uint16_t TotMultiCol1(int pos) const;
  uint16_t TotMultiCol2(int pos) const;
  uint16_t TotMultiCol3(int pos) const;
  bool RstSentUnlocked() const;
  bool LogUncountedDupes() const;

  const uint8_t* Bytes() const { return m_rec; }

 private:
  const uint8_t* m_rec;
};

// Read and write access; positions outside 1..100 are ignored, flags are
// written as 255 and 0.
class TContestTotals : public ConstContestTotals {
 public:
  explicit TContestTotals(uint8_t* rec) : ConstContestTotals(rec), m_rec(rec) {}

  void Clear();  // all 11608 bytes to zero
  void SetContestNumber(int32_t v);
  void SetTotQso(int pos, int32_t v);
  void SetTotMulti(int pos, int32_t v);
  void SetTotPoints(int pos, int32_t v);
  void SetTotMultiCol1(int pos, uint16_t v);
  void SetTotMultiCol2(int pos, uint16_t v);
  void SetTotMultiCol3(int pos, uint16_t v);
  void SetRstSentUnlocked(bool on);
  void SetLogUncountedDupes(bool on);

  uint8_t* Bytes() { return m_rec; }

 private:
  uint8_t* m_rec;
};

// The record a contest gets when its totals record is missing: the buffer
// cleared and the contest number copied in. The caller adds it to FHKZ.
void PrepareMissingTotals(TContestTotals& totals, int32_t contest_number);

// Key builder of FHKZ: key 1 = NumberToKey(ContestNumber); empty for other
// key numbers.
std::string ContestTotalsKey(const uint8_t* rec, int key_number);

}  // namespace kontura
