#include "refdata/prefix_record.h"

#include "storage/key_encoding.h"
#include "storage/record_bytes.h"
#include "text/text_util.h"

namespace kontura {

using namespace prefix_record;

std::string ConstPrefixRecord::PatternText() const { return GetPStr(m_rec, kPatternText); }
std::string ConstPrefixRecord::EntityPrefix() const { return GetPStr(m_rec, kEntityPrefix); }
std::string ConstPrefixRecord::AlternativeNo() const {
  return GetPStr(m_rec, kAlternativeNo);
}
std::string ConstPrefixRecord::CqZone() const { return GetPStr(m_rec, kCqZone); }
std::string ConstPrefixRecord::ItuZone() const { return GetPStr(m_rec, kItuZone); }
std::string ConstPrefixRecord::ContinentCode() const { return GetPStr(m_rec, kContinentCode); }
std::string ConstPrefixRecord::CountryName() const { return GetPStr(m_rec, kCountryName); }
std::string ConstPrefixRecord::ExtraCode() const { return GetPStr(m_rec, kExtraCode); }
int32_t ConstPrefixRecord::ValidFrom() const { return GetI32(m_rec, kValidFrom); }
int32_t ConstPrefixRecord::ValidTo() const { return GetI32(m_rec, kValidTo); }
int32_t ConstPrefixRecord::FormerUntil2() const { return GetI32(m_rec, kFormerUntil2); }
std::string ConstPrefixRecord::FormerPrefix2() const { return GetPStr(m_rec, kFormerPrefix2); }
char ConstPrefixRecord::RangeStart() const { return GetChar(m_rec, kRangeStart); }
int16_t ConstPrefixRecord::DxccNumber() const { return GetI16(m_rec, kDxccNumber); }
std::string ConstPrefixRecord::RedirectPrefix() const { return GetPStr(m_rec, kRedirectPrefix); }
std::string ConstPrefixRecord::Remark() const { return GetPStr(m_rec, kRemark); }
int32_t ConstPrefixRecord::FormerUntil1() const { return GetI32(m_rec, kFormerUntil1); }
std::string ConstPrefixRecord::FormerPrefix1() const { return GetPStr(m_rec, kFormerPrefix1); }
std::string ConstPrefixRecord::AltEntityPrefix() const { return GetPStr(m_rec, kAltEntityPrefix); }
char ConstPrefixRecord::EntryClass() const { return GetChar(m_rec, kEntryClass); }
char ConstPrefixRecord::PrefixFlag() const { return GetChar(m_rec, kPrefixFlag); }

void PrefixRecord::SetPatternText(const std::string& s) { PutPStr(m_rec, kPatternText, s); }
void PrefixRecord::SetEntityPrefix(const std::string& s) { PutPStr(m_rec, kEntityPrefix, s); }
void PrefixRecord::SetAlternativeNo(const std::string& s) {
  PutPStr(m_rec, kAlternativeNo, s);
}
void PrefixRecord::SetCqZone(const std::string& s) { PutPStr(m_rec, kCqZone, s); }
void PrefixRecord::SetItuZone(const std::string& s) { PutPStr(m_rec, kItuZone, s); }
void PrefixRecord::SetContinentCode(const std::string& s) { PutPStr(m_rec, kContinentCode, s); }
void PrefixRecord::SetCountryName(const std::string& s) { PutPStr(m_rec, kCountryName, s); }
void PrefixRecord::SetExtraCode(const std::string& s) { PutPStr(m_rec, kExtraCode, s); }
void PrefixRecord::SetValidFrom(int32_t v) { PutI32(m_rec, kValidFrom, v); }
void PrefixRecord::SetValidTo(int32_t v) { PutI32(m_rec, kValidTo, v); }
void PrefixRecord::SetFormerUntil2(int32_t v) { PutI32(m_rec, kFormerUntil2, v); }
void PrefixRecord::SetFormerPrefix2(const std::string& s) { PutPStr(m_rec, kFormerPrefix2, s); }
void PrefixRecord::SetRangeStart(char c) { PutChar(m_rec, kRangeStart, c); }
void PrefixRecord::SetDxccNumber(int16_t v) { PutI16(m_rec, kDxccNumber, v); }
void PrefixRecord::SetRedirectPrefix(const std::string& s) { PutPStr(m_rec, kRedirectPrefix, s); }
void PrefixRecord::SetRemark(const std::string& s) { PutPStr(m_rec, kRemark, s); }
void PrefixRecord::SetFormerUntil1(int32_t v) { PutI32(m_rec, kFormerUntil1, v); }
void PrefixRecord::SetFormerPrefix1(const std::string& s) { PutPStr(m_rec, kFormerPrefix1, s); }
void PrefixRecord::SetAltEntityPrefix(const std::string& s) {
  PutPStr(m_rec, kAltEntityPrefix, s);
}
void PrefixRecord::SetEntryClass(char c) { PutChar(m_rec, kEntryClass, c); }
void PrefixRecord::SetPrefixFlag(char c) { PutChar(m_rec, kPrefixFlag, c); }

std::string PrefixKey(const uint8_t* rec, int key_number) {
  ConstPrefixRecord p(rec);
  const std::string pattern = KeyPad(p.PatternText(), 6);
  switch (key_number) {
    case 1: return pattern;
    case 2: return KeyPad(p.EntityPrefix(), 6) + pattern;
    case 3: return pattern + KeyPad(p.AlternativeNo(), 3);
    case 4: return KeyPad(p.CqZone(), 2) + pattern;
    case 5: return KeyPad(p.ItuZone(), 2) + pattern;
    case 6: return KeyPad(p.ContinentCode(), 2) + pattern;
    case 7: return KeyPad(UpperGerman(p.CountryName()), 30) + pattern;
    case 8: return KeyPad(p.ExtraCode(), 8) + pattern;
    case 9: return KeyPad(p.AltEntityPrefix(), 6);
    case 10: {
      // The class as a byte value (not a digit) so that the "*" entries sort
      // behind the "J" and higher ones, and those behind all others.
      const auto cls = static_cast<uint8_t>(p.EntryClass());
      const char c = cls == '*' ? 2 : (cls >= 'J' ? 1 : 0);
      return std::string(1, c) + pattern;
    }
    case 11: return KeyPad(p.RedirectPrefix(), 6);
    case 12: return KeyPad(p.FormerPrefix2(), 6);
    case 13: return NumberToKey(p.DxccNumber());
    case 14: return KeyChar(rec, kEntryClass) + pattern;
    default: return {};
  }
}

std::string OverlayPrefixKey(const uint8_t* rec, int key_number) {
  if (key_number < 1 || key_number > kOverlayKeyCount) return {};
  return PrefixKey(rec, key_number);
}

}  // namespace kontura
