#include "contest/contest_header.h"

#include <cstring>

#include "storage/key_encoding.h"
#include "storage/record_bytes.h"

namespace kontura {

using namespace contest_header;

namespace {

constexpr uint8_t kFlagOn = 255;

uint8_t FlagByte(bool on) { return on ? kFlagOn : 0; }

// The header's strings keep zeros behind their length, so a rewritten shorter
// text leaves no trace of the old one.
void PutHeaderStr(uint8_t* rec, StrField f, const std::string& s) {
  std::memset(rec + f.offset + 1, 0, f.capacity);
  PutPStr(rec, f, s);
}

// Offset of a band total of position 1..7, or 0 when the position is outside.
// base15 is the array of positions 1..5, width its element size and
// block_off the place of the field inside the blocks of positions 6 and 7.
size_t BandOffset(int pos, size_t base15, size_t width, size_t block_off) {
  if (pos >= 1 && pos <= 5) return base15 + width * static_cast<size_t>(pos - 1);
  if (pos == 6) return kSum6 + block_off;
  if (pos == 7) return kSum7 + block_off;
  return 0;
}

size_t QsoOff(int pos) { return BandOffset(pos, kSumQso, 2, kBlockQso); }
size_t MultiOff(int pos) { return BandOffset(pos, kSumMulti, 2, kBlockMulti); }
size_t PointsOff(int pos) { return BandOffset(pos, kSumPoints, 4, kBlockPoints); }
size_t Col1Off(int pos) { return BandOffset(pos, kSumMultiCol1, 2, kBlockMultiCol1); }
size_t Col2Off(int pos) { return BandOffset(pos, kSumMultiCol2, 2, kBlockMultiCol2); }
size_t Col3Off(int pos) { return BandOffset(pos, kSumMultiCol3, 2, kBlockMultiCol3); }

size_t ColumnOff(int k) {
  if (k < 1 || k > kColumnCount) return 0;
  return kColumnWidths + 2 * static_cast<size_t>(k - 1);
}

uint16_t GetU16At(const uint8_t* rec, size_t off) { return off ? GetU16(rec, off) : 0; }
void PutU16At(uint8_t* rec, size_t off, uint16_t v) {
  if (off) PutU16(rec, off, v);
}

}  // namespace

int32_t ConstContestHeader::ContestNumber() const { return GetI32(m_rec, kContestNumber); }
int32_t ConstContestHeader::DateFrom() const { return GetI32(m_rec, kDateFrom); }
int32_t ConstContestHeader::DateTo() const { return GetI32(m_rec, kDateTo); }
int32_t ConstContestHeader::TimeFrom() const { return GetI32(m_rec, kTimeFrom); }
int32_t ConstContestHeader::TimeTo() const { return GetI32(m_rec, kTimeTo); }
std::string ConstContestHeader::EntryName() const { return GetPStr(m_rec, kEntryName); }
std::string ConstContestHeader::CreatedLocator() const {
  return GetPStr(m_rec, kCreatedLocator);
}
std::string ConstContestHeader::HeaderDok() const { return GetPStr(m_rec, kHeaderDok); }
int32_t ConstContestHeader::ParticipantNo() const { return GetI32(m_rec, kParticipantNo); }
std::string ConstContestHeader::ContestCall() const { return GetPStr(m_rec, kContestCall); }
char ConstContestHeader::ListKey4() const { return GetChar(m_rec, kListKey4); }
char ConstContestHeader::EditionCode() const { return GetChar(m_rec, kEditionCode); }
bool ConstContestHeader::AutoDate() const { return m_rec[kAutoDate] != 0; }
bool ConstContestHeader::AutoTime() const { return m_rec[kAutoTime] != 0; }
char ConstContestHeader::HeaderMark() const { return GetChar(m_rec, kHeaderMark); }
bool ConstContestHeader::RstSentFree() const { return m_rec[kRstSentFree] != 0; }
bool ConstContestHeader::RstRcvdFree() const { return m_rec[kRstRcvdFree] != 0; }
char ConstContestHeader::QslSentDefault() const { return GetChar(m_rec, kQslSentDefault); }
char ConstContestHeader::QslRcvdDefault() const { return GetChar(m_rec, kQslRcvdDefault); }
uint8_t ConstContestHeader::CategoryNo() const { return GetU8(m_rec, kCategoryNo); }
bool ConstContestHeader::StartSsb() const { return m_rec[kStartSsb] != 0; }
bool ConstContestHeader::StartFm() const { return m_rec[kStartFm] != 0; }
bool ConstContestHeader::StartPr() const { return m_rec[kStartPr] != 0; }
bool ConstContestHeader::AutoBand() const { return m_rec[kAutoBand] != 0; }
int16_t ConstContestHeader::NoteTop() const { return GetI16(m_rec, kNoteTop); }
int16_t ConstContestHeader::NoteLeft() const { return GetI16(m_rec, kNoteLeft); }
int16_t ConstContestHeader::NoteWidth() const { return GetI16(m_rec, kNoteWidth); }
int16_t ConstContestHeader::NoteHeight() const { return GetI16(m_rec, kNoteHeight); }
std::string ConstContestHeader::HeaderPlz() const { return GetPStr(m_rec, kHeaderPlz); }
int16_t ConstContestHeader::ColumnWidth(int k) const {
  size_t off = ColumnOff(k);
  return off ? GetI16(m_rec, off) : 0;
}
uint8_t ConstContestHeader::TotalsInFhkz() const { return GetU8(m_rec, kTotalsInFhkz); }
std::string ConstContestHeader::OwnLdk() const { return GetPStr(m_rec, kOwnLdk); }
uint8_t ConstContestHeader::EditedFields() const { return GetU8(m_rec, kEditedFields); }

uint16_t ConstContestHeader::SumQso(int pos) const { return GetU16At(m_rec, QsoOff(pos)); }
uint16_t ConstContestHeader::SumMulti(int pos) const { return GetU16At(m_rec, MultiOff(pos)); }
int32_t ConstContestHeader::SumPoints(int pos) const {
  size_t off = PointsOff(pos);
  return off ? GetI32(m_rec, off) : 0;
}
uint16_t ConstContestHeader::SumMultiCol1(int pos) const { return GetU16At(m_rec, Col1Off(pos)); }
uint16_t ConstContestHeader::SumMultiCol2(int pos) const { return GetU16At(m_rec, Col2Off(pos)); }
uint16_t ConstContestHeader::SumMultiCol3(int pos) const { return GetU16At(m_rec, Col3Off(pos)); }

void TContestHeader::Clear() { std::memset(m_rec, 0, kSize); }

void TContestHeader::SetContestNumber(int32_t v) { PutI32(m_rec, kContestNumber, v); }
void TContestHeader::SetDateFrom(int32_t v) { PutI32(m_rec, kDateFrom, v); }
void TContestHeader::SetDateTo(int32_t v) { PutI32(m_rec, kDateTo, v); }
void TContestHeader::SetTimeFrom(int32_t v) { PutI32(m_rec, kTimeFrom, v); }
void TContestHeader::SetTimeTo(int32_t v) { PutI32(m_rec, kTimeTo, v); }
void TContestHeader::SetEntryName(const std::string& s) { PutHeaderStr(m_rec, kEntryName, s); }
void TContestHeader::SetCreatedLocator(const std::string& s) {
  PutHeaderStr(m_rec, kCreatedLocator, s);
}
void TContestHeader::SetHeaderDok(const std::string& s) { PutHeaderStr(m_rec, kHeaderDok, s); }
void TContestHeader::SetParticipantNo(int32_t v) { PutI32(m_rec, kParticipantNo, v); }
void TContestHeader::SetContestCall(const std::string& s) {
  PutHeaderStr(m_rec, kContestCall, s);
}
void TContestHeader::SetListKey4(char c) { PutChar(m_rec, kListKey4, c); }
void TContestHeader::SetEditionCode(char c) { PutChar(m_rec, kEditionCode, c); }
void TContestHeader::SetAutoDate(bool on) { PutU8(m_rec, kAutoDate, FlagByte(on)); }
void TContestHeader::SetAutoTime(bool on) { PutU8(m_rec, kAutoTime, FlagByte(on)); }
void TContestHeader::SetHeaderMark(char c) { PutChar(m_rec, kHeaderMark, c); }
void TContestHeader::SetRstSentFree(bool on) { PutU8(m_rec, kRstSentFree, FlagByte(on)); }
void TContestHeader::SetRstRcvdFree(bool on) { PutU8(m_rec, kRstRcvdFree, FlagByte(on)); }
void TContestHeader::SetQslSentDefault(char c) { PutChar(m_rec, kQslSentDefault, c); }
void TContestHeader::SetQslRcvdDefault(char c) { PutChar(m_rec, kQslRcvdDefault, c); }
void TContestHeader::SetCategoryNo(uint8_t v) { PutU8(m_rec, kCategoryNo, v); }
void TContestHeader::SetStartSsb(bool on) { PutU8(m_rec, kStartSsb, FlagByte(on)); }
void TContestHeader::SetStartFm(bool on) { PutU8(m_rec, kStartFm, FlagByte(on)); }
void TContestHeader::SetStartPr(bool on) { PutU8(m_rec, kStartPr, FlagByte(on)); }
void TContestHeader::SetAutoBand(bool on) { PutU8(m_rec, kAutoBand, FlagByte(on)); }
void TContestHeader::SetNoteTop(int16_t v) { PutI16(m_rec, kNoteTop, v); }
void TContestHeader::SetNoteLeft(int16_t v) { PutI16(m_rec, kNoteLeft, v); }
void TContestHeader::SetNoteWidth(int16_t v) { PutI16(m_rec, kNoteWidth, v); }
void TContestHeader::SetNoteHeight(int16_t v) { PutI16(m_rec, kNoteHeight, v); }
void TContestHeader::SetHeaderPlz(const std::string& s) { PutHeaderStr(m_rec, kHeaderPlz, s); }
void TContestHeader::SetColumnWidth(int k, int16_t v) {
  size_t off = ColumnOff(k);
  if (off) PutI16(m_rec, off, v);
}
void TContestHeader::SetTotalsInFhkz(uint8_t v) { PutU8(m_rec, kTotalsInFhkz, v); }
void TContestHeader::SetOwnLdk(const std::string& s) { PutHeaderStr(m_rec, kOwnLdk, s); }
void TContestHeader::MarkEdited(uint8_t bits) { m_rec[kEditedFields] |= bits; }

void TContestHeader::SetSumQso(int pos, uint16_t v) { PutU16At(m_rec, QsoOff(pos), v); }
void TContestHeader::SetSumMulti(int pos, uint16_t v) { PutU16At(m_rec, MultiOff(pos), v); }
void TContestHeader::SetSumPoints(int pos, int32_t v) {
  size_t off = PointsOff(pos);
  if (off) PutI32(m_rec, off, v);
}
void TContestHeader::SetSumMultiCol1(int pos, uint16_t v) { PutU16At(m_rec, Col1Off(pos), v); }
void TContestHeader::SetSumMultiCol2(int pos, uint16_t v) { PutU16At(m_rec, Col2Off(pos), v); }
void TContestHeader::SetSumMultiCol3(int pos, uint16_t v) { PutU16At(m_rec, Col3Off(pos), v); }
void TContestHeader::ClearRecalcReserved() { std::memset(m_rec + kRecalcCleared, 0, kRecalcClearedLen); }

void PresetNewContest(TContestHeader& header, const std::string& own_locator,
                      const std::string& own_call, char edition_code) {
  header.Clear();
  uint8_t* rec = header.Bytes();
  header.SetCreatedLocator(own_locator);
  header.SetContestCall(own_call);
  PutU8(rec, kCreatedMark71, 255);
  PutU8(rec, kCreatedMark72, 1);
  header.SetEditionCode(edition_code);
  header.SetAutoDate(true);
  header.SetAutoTime(true);
  header.SetHeaderMark('D');
  header.SetRstSentFree(false);
  header.SetRstRcvdFree(false);
  PutU8(rec, kCreatedMark195, 255);
  PutU8(rec, kCreatedMark248, 0);
}

std::string ContestHeaderKey(const uint8_t* rec, int key_number) {
  ConstContestHeader h(rec);
  switch (key_number) {
    case 1: return std::string(1, h.EditionCode()) + KeyPad(h.EntryName(), kEntryName.capacity);
    case 2: return std::string(1, h.EditionCode()) + DateToKey(h.DateFrom());
    case 3: return NumberToKey(h.ContestNumber());
    case 4: return KeyChar(rec, kListKey4);
    case 5: return KeyPad(h.EntryName(), kEntryName.capacity);
    default: return {};
  }
}

}  // namespace kontura
