#include "contest/contest_totals.h"

#include <cstring>

#include "storage/key_encoding.h"
#include "storage/record_bytes.h"

namespace kontura {

using namespace contest_totals;

namespace {

// Offset of element pos (1..100) of an array, 0 when pos is outside.
size_t At(size_t base, size_t width, int pos) {
  if (pos < 1 || pos > kBandPositions) return 0;
  return base + width * static_cast<size_t>(pos - 1);
}

int32_t GetI32At(const uint8_t* rec, size_t off) { return off ? GetI32(rec, off) : 0; }
uint16_t GetU16At(const uint8_t* rec, size_t off) { return off ? GetU16(rec, off) : 0; }
void PutI32At(uint8_t* rec, size_t off, int32_t v) {
  if (off) PutI32(rec, off, v);
}
void PutU16At(uint8_t* rec, size_t off, uint16_t v) {
  if (off) PutU16(rec, off, v);
}

}  // namespace

int32_t ConstContestTotals::ContestNumber() const { return GetI32(m_rec, kContestNumber); }
int32_t ConstContestTotals::TotQso(int pos) const { return GetI32At(m_rec, At(kTotQso, 4, pos)); }
int32_t ConstContestTotals::TotMulti(int pos) const { return GetI32At(m_rec, At(kTotMulti, 4, pos)); }
int32_t ConstContestTotals::TotPoints(int pos) const { return GetI32At(m_rec, At(kTotPoints, 4, pos)); }
uint16_t ConstContestTotals::TotMultiCol1(int pos) const { return GetU16At(m_rec, At(kTotMultiCol1, 2, pos)); }
uint16_t ConstContestTotals::TotMultiCol2(int pos) const { return GetU16At(m_rec, At(kTotMultiCol2, 2, pos)); }
uint16_t ConstContestTotals::TotMultiCol3(int pos) const { return GetU16At(m_rec, At(kTotMultiCol3, 2, pos)); }
bool ConstContestTotals::RstSentUnlocked() const { return m_rec[kRstSentUnlocked] != 0; }
bool ConstContestTotals::LogUncountedDupes() const { return m_rec[kLogUncountedDupes] != 0; }

void TContestTotals::Clear() { std::memset(m_rec, 0, kSize); }
void TContestTotals::SetContestNumber(int32_t v) { PutI32(m_rec, kContestNumber, v); }
void TContestTotals::SetTotQso(int pos, int32_t v) { PutI32At(m_rec, At(kTotQso, 4, pos), v); }
void TContestTotals::SetTotMulti(int pos, int32_t v) { PutI32At(m_rec, At(kTotMulti, 4, pos), v); }
void TContestTotals::SetTotPoints(int pos, int32_t v) { PutI32At(m_rec, At(kTotPoints, 4, pos), v); }
void TContestTotals::SetTotMultiCol1(int pos, uint16_t v) { PutU16At(m_rec, At(kTotMultiCol1, 2, pos), v); }
void TContestTotals::SetTotMultiCol2(int pos, uint16_t v) { PutU16At(m_rec, At(kTotMultiCol2, 2, pos), v); }
void TContestTotals::SetTotMultiCol3(int pos, uint16_t v) { PutU16At(m_rec, At(kTotMultiCol3, 2, pos), v); }
void TContestTotals::SetRstSentUnlocked(bool on) { PutU8(m_rec, kRstSentUnlocked, on ? 255 : 0); }
void TContestTotals::SetLogUncountedDupes(bool on) { PutU8(m_rec, kLogUncountedDupes, on ? 255 : 0); }

void PrepareMissingTotals(TContestTotals& totals, int32_t contest_number) {
  totals.Clear();
  totals.SetContestNumber(contest_number);
}

std::string ContestTotalsKey(const uint8_t* rec, int key_number) {
  if (key_number != 1) return {};
  return NumberToKey(ConstContestTotals(rec).ContestNumber());
}

}  // namespace kontura
