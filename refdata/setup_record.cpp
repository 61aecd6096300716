#include "refdata/setup_record.h"

#include "storage/key_encoding.h"
#include "storage/record_bytes.h"

namespace kontura {

using namespace setup_record;

namespace {

// Offset of suffix entry i (1..9), 0 when i is outside.
size_t SuffixOff(int i) {
  if (i < 1 || i > kSuffixEntryCount) return 0;
  return kSuffixEntries + kSuffixEntrySize * static_cast<size_t>(i - 1);
}

size_t Setup2Off(int i) {
  if (i < 1 || i > setup2_record::kTextCount) return 0;
  return setup2_record::kTexts + setup2_record::kTextStride * static_cast<size_t>(i - 1);
}

}  // namespace

int32_t ConstSetupRecord::RecordNumber() const { return GetI32(m_rec, kRecordNumber); }
uint32_t ConstSetupRecord::PanelColour() const { return GetU32(m_rec, kPanelColour); }
uint32_t ConstSetupRecord::LabelTextColour() const { return GetU32(m_rec, kLabelTextColour); }
uint32_t ConstSetupRecord::HighlightLabelColour() const { return GetU32(m_rec, kHighlightLabelColour); }
uint32_t ConstSetupRecord::ListHeaderColour() const { return GetU32(m_rec, kListHeaderColour); }
uint32_t ConstSetupRecord::ListHeaderTextColour() const { return GetU32(m_rec, kListHeaderTextColour); }
std::string ConstSetupRecord::SuffixText(int i) const {
  size_t off = SuffixOff(i);
  return off ? GetPStr(m_rec, off, kSuffixTextCap) : std::string();
}
uint8_t ConstSetupRecord::SuffixType(int i) const {
  size_t off = SuffixOff(i);
  return off ? GetU8(m_rec, off + kSuffixType) : 0;
}
int32_t ConstSetupRecord::ProfileNumber() const { return GetI32(m_rec, kProfileNumber); }
uint8_t ConstSetupRecord::NameCase() const { return GetU8(m_rec, kNameCase); }
std::string ConstSetupRecord::OwnLocator() const { return GetPStr(m_rec, kOwnLocator); }
int32_t ConstSetupRecord::TimeOffsetHours() const { return GetI32(m_rec, kTimeOffsetHours); }
std::string ConstSetupRecord::OwnName() const { return GetPStr(m_rec, kOwnName); }
std::string ConstSetupRecord::OwnStreet() const { return GetPStr(m_rec, kOwnStreet); }
std::string ConstSetupRecord::OwnCity() const { return GetPStr(m_rec, kOwnCity); }
std::string ConstSetupRecord::OwnCountry() const { return GetPStr(m_rec, kOwnCountry); }
std::string ConstSetupRecord::OwnDok() const { return GetPStr(m_rec, kOwnDok); }
uint32_t ConstSetupRecord::BackgroundColour() const { return GetU32(m_rec, kBackgroundColour); }
uint32_t ConstSetupRecord::BarColour() const { return GetU32(m_rec, kBarColour); }
std::string ConstSetupRecord::SwlNumber() const { return GetPStr(m_rec, kSwlNumber); }
std::string ConstSetupRecord::OwnCall() const { return GetPStr(m_rec, kOwnCall); }

void SetupRecord::SetRecordNumber(int32_t v) { PutI32(m_rec, kRecordNumber, v); }
void SetupRecord::SetPanelColour(uint32_t v) { PutU32(m_rec, kPanelColour, v); }
void SetupRecord::SetLabelTextColour(uint32_t v) { PutU32(m_rec, kLabelTextColour, v); }
void SetupRecord::SetHighlightLabelColour(uint32_t v) { PutU32(m_rec, kHighlightLabelColour, v); }
void SetupRecord::SetListHeaderColour(uint32_t v) { PutU32(m_rec, kListHeaderColour, v); }
void SetupRecord::SetListHeaderTextColour(uint32_t v) { PutU32(m_rec, kListHeaderTextColour, v); }
void SetupRecord::SetSuffixEntry(int i, const std::string& text, uint8_t type) {
  size_t off = SuffixOff(i);
  if (!off) return;
  PutPStr(m_rec, off, kSuffixTextCap, text);
  PutU8(m_rec, off + kSuffixType, type);
}
void SetupRecord::SetProfileNumber(int32_t v) { PutI32(m_rec, kProfileNumber, v); }
void SetupRecord::SetNameCase(uint8_t v) { PutU8(m_rec, kNameCase, v); }
void SetupRecord::SetOwnLocator(const std::string& s) { PutPStr(m_rec, kOwnLocator, s); }
void SetupRecord::SetTimeOffsetHours(int32_t v) { PutI32(m_rec, kTimeOffsetHours, v); }
void SetupRecord::SetOwnName(const std::string& s) { PutPStr(m_rec, kOwnName, s); }
void SetupRecord::SetOwnStreet(const std::string& s) { PutPStr(m_rec, kOwnStreet, s); }
void SetupRecord::SetOwnCity(const std::string& s) { PutPStr(m_rec, kOwnCity, s); }
void SetupRecord::SetOwnCountry(const std::string& s) { PutPStr(m_rec, kOwnCountry, s); }
void SetupRecord::SetOwnDok(const std::string& s) { PutPStr(m_rec, kOwnDok, s); }
void SetupRecord::SetBackgroundColour(uint32_t v) { PutU32(m_rec, kBackgroundColour, v); }
void SetupRecord::SetBarColour(uint32_t v) { PutU32(m_rec, kBarColour, v); }
void SetupRecord::SetSwlNumber(const std::string& s) { PutPStr(m_rec, kSwlNumber, s); }
void SetupRecord::SetOwnCall(const std::string& s) { PutPStr(m_rec, kOwnCall, s); }

std::string Setup2Text(const uint8_t* rec, int i) {
  size_t off = Setup2Off(i);
  return off ? GetPStr(rec, off, setup2_record::kTextCap) : std::string();
}

void SetSetup2Text(uint8_t* rec, int i, const std::string& s) {
  size_t off = Setup2Off(i);
  if (off) PutPStr(rec, off, setup2_record::kTextCap, s);
}

std::string SetupRecordKey(const uint8_t* rec, int key_number) {
  if (key_number != 1) return {};
  return NumberToKey(GetI32(rec, kRecordNumber));
}

std::string Setup2RecordKey(const uint8_t* rec, int key_number) {
  if (key_number != 1) return {};
  return NumberToKey(GetI32(rec, setup2_record::kRecordNumber));
}

}  // namespace kontura
