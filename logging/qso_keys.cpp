#include "logging/qso_keys.h"

#include <string_view>

#include "logging/qso_record.h"
#include "refdata/bands_modes.h"
#include "refdata/base_call.h"
#include "storage/key_encoding.h"

namespace kontura {
namespace {

std::string Pad(std::string s, size_t n) {
  s.resize(n, ' ');
  return s;
}

std::string Char(char c) { return std::string(1, c); }

// N5(99999999 - v). A damaged record may hold any counter; the subtraction
// wraps like the stored 32-bit arithmetic instead of overflowing.
std::string Complement(int64_t v) {
  const uint32_t diff = static_cast<uint32_t>(qso::kCounterComplement) - static_cast<uint32_t>(v);
  return NumberToKey(static_cast<int32_t>(diff));
}

std::string DateTime(const QsoRecord& r) { return DateToKey(r.QsoDate()) + TimeToKey(r.QsoTime()); }

std::string Compose(const QsoRecord& r, int key_number) {
  const std::string band = Char(r.Band());
  switch (key_number) {
    case 1: return DateTime(r);
    case 2: return Pad(BaseCall(r.Call()), 14) + DateTime(r);
    case 3: return Pad(r.Locator(), 6) + DateTime(r);
    case 4: return NumberToKey(r.RecordNo());
    case 5: return Pad(r.Dxcc(), 6);
    case 6: return Pad(BaseCall(r.Call()), 14);
    case 7: return r.Marked() == 1 ? "1" : " ";
    case 8: return band + NumberToKey(r.BandSerial());
    case 9: return band + Pad(BaseCall(r.Call()), 14) + Pad(r.Mode(), 6);
    case 10: return band + Pad(r.Dxcc(), 6);
    case 11: return band + Complement(r.BandSerial2());
    case 12: return band + Complement(r.BandSerial());
    case 13: return NumberToKey(r.QsoNo());
    case 14: return band + Char(r.Tag1());
    case 15: return band + Char(r.Tag2());
    case 16: return Char(r.Tag1()) + Char(r.Tag2());
    case 17: {
      // Tag2 stands in for an empty Tag1, unless it is empty itself.
      const bool use_tag2 = r.Tag1() == 0 && r.Tag2() != 0 && r.Tag2() != ' ';
      return band + Char(use_tag2 ? r.Tag2() : r.Tag1());
    }
    case 18: return Pad(r.DistrictCode(), 8);
    case 19: return Pad(r.NewMulti1(), 6);
    case 20: return Pad(r.Call2(), 6);
    case 21: return band + Pad(r.DistrictCode(), 8);
    case 22: return band + Pad(r.Prefix(), 6);
    case 23: return band + Pad(r.Locator(), 6);
    case 24: return Char(ModeClass(r.Mode())) + Complement(r.ModeSerial());
    case 25: return band + Pad(r.State(), 2);
    case 26: return Pad(r.State(), 2);
    case 27: return band + Pad(r.Call2(), 6);
    default: return {};
  }
}

}  // namespace

std::string BuildQsoKey(const uint8_t* record, int key_number) {
  return Compose(QsoRecord::FromBytes(record), key_number);
}

std::string BuildQsoTempKey(const uint8_t* record, int key_number) {
  if (key_number != 1) return {};
  return NumberToKey(QsoRecord::FromBytes(record).RecordNo());
}

}  // namespace kontura
