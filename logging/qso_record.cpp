#include "logging/qso_record.h"

#include <cstring>

namespace kontura {
namespace {

// Characters [from, from + count) of s, as far as present.
std::string_view Slice(std::string_view s, size_t from, size_t count) {
  if (from >= s.size()) return {};
  return s.substr(from, count);
}

void LimitTo(std::string& s, size_t n) {
  if (s.size() > n) s.resize(n);
}

}  // namespace

std::string JoinExchange(const ExchangeParts& parts) {
  std::string text = parts.report.substr(0, 3);
  text.resize(3, ' ');
  text += parts.field2;
  if (!parts.field3.empty() || !parts.field4.empty()) text += "/" + parts.field3;
  if (!parts.field4.empty()) text += "/" + parts.field4;
  return text;
}

ExchangeParts SplitExchange(std::string_view text) {
  ExchangeParts parts;
  parts.report = std::string(Slice(text, 0, 3));
  std::string_view rest = Slice(text, 3, std::string_view::npos);
  size_t slash = rest.find('/');
  parts.field2 = std::string(rest.substr(0, slash));
  if (slash == std::string_view::npos) return parts;
  rest.remove_prefix(slash + 1);
  slash = rest.find('/');
  parts.field3 = std::string(rest.substr(0, slash));
  if (slash == std::string_view::npos) return parts;
  parts.field4 = std::string(rest.substr(slash + 1));
  return parts;
}

QsoRecord QsoRecord::FromBytes(const uint8_t* bytes) {
  QsoRecord r;
  std::memcpy(r.m_bytes.data(), bytes, qso::kRecordSize);
  return r;
}

void QsoRecord::CopyTo(uint8_t* bytes) const { std::memcpy(bytes, m_bytes.data(), qso::kRecordSize); }

std::string QsoRecord::Exchange(const qso::ExchangeFields& f) const {
  // With the field capacities 9, 2, 2 and 7 the limits cannot cut anything;
  // they state the positions the parts stand for, as other programs read them.
  std::string text = Str(f.part1) + Str(f.part2);
  LimitTo(text, 11);
  text += Str(f.part3);
  LimitTo(text, 13);
  text += Str(f.part4);
  LimitTo(text, qso::kExchangeMax);
  return text;
}

void QsoRecord::SetExchange(const qso::ExchangeFields& f, std::string_view text) {
  text = text.substr(0, qso::kExchangeMax);
  SetStr(f.part1, Slice(text, 0, 9));
  SetStr(f.part2, Slice(text, 9, 2));
  SetStr(f.part3, Slice(text, 11, 2));
  SetStr(f.part4, Slice(text, 13, 7));
}

std::string QsoRecord::DistrictCode() const { return Dok() + DokExt(); }

void QsoRecord::SetDistrictCode(std::string_view code) {
  SetDok(Slice(code, 0, 6));
  SetDokExt(Slice(code, 6, 2));
}

void QsoRecord::ClearMarkerExchangeData() {
  for (StrField f : {qso::kDxcc, qso::kContinent, qso::kPrefix, qso::kDok, qso::kDokExt, qso::kLocator,
                     qso::kCall2, qso::kState}) {
    SetStr(f, "");
  }
}

}  // namespace kontura
