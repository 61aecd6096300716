#include "ui/fk_edit.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "text/picture_format.h"
#include "text/text_util.h"

namespace kontura {
namespace {

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// A signed run of digits, nothing else.
std::optional<double> ReadSignedDigits(std::string_view s, bool* negative) {
  *negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    *negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return 0.0;  // an empty part counts as 0
  if (!AllDigits(s)) return std::nullopt;
  return std::strtod(std::string(s).c_str(), nullptr);
}

}  // namespace

std::string NormalisePictureMask(std::string_view mask) {
  std::string out(mask.substr(0, 255));
  for (char& c : out) {
    if (c == '9') c = '#';
  }
  return out;
}

std::optional<double> ReadRealNumber(std::string_view text) {
  std::string t = TrimBlanks(std::string(text));
  if (!t.empty() && t.back() == ',') t.pop_back();
  if (t.empty()) return std::nullopt;
  size_t comma = t.find(',');
  if (comma != std::string::npos) {
    bool negative = false;
    std::optional<double> whole = ReadSignedDigits(std::string_view(t).substr(0, comma), &negative);
    std::string_view frac = std::string_view(t).substr(comma + 1);
    if (!whole || (!frac.empty() && !AllDigits(frac))) return std::nullopt;
    double value = *whole;
    if (!frac.empty()) {
      value += std::strtod(std::string(frac).c_str(), nullptr) / std::pow(10.0, static_cast<double>(frac.size()));
    }
    return negative ? -value : value;
  }
  // Without a comma: a plain number with a decimal point (and an optional exponent).
  const char* begin = t.c_str();
  char* end = nullptr;
  errno = 0;
  double value = std::strtod(begin, &end);
  if (end == begin || *end != '\0' || errno == ERANGE || !std::isfinite(value)) return std::nullopt;
  // strtod also takes hexadecimal, "inf" and "nan"; an entry field takes none of them.
  for (char c : t) {
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) {
      return std::nullopt;
    }
  }
  return value;
}

std::optional<int64_t> ReadIntegerNumber(std::string_view text, fkeditdatatype type) {
  std::string t = TrimBlanks(std::string(text));
  bool negative = false;
  std::string_view digits(t);
  if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
    negative = digits[0] == '-';
    digits.remove_prefix(1);
  }
  if (!AllDigits(digits) || digits.size() > 18) return std::nullopt;
  int64_t value = std::strtoll(std::string(digits).c_str(), nullptr, 10);
  if (negative) value = -value;
  int64_t lo = std::numeric_limits<int32_t>::min();
  int64_t hi = std::numeric_limits<int32_t>::max();
  if (type == fkeditdatatype::dtWord) {
    lo = 0;
    hi = 65535;
  } else if (type == fkeditdatatype::dtByte) {
    lo = 0;
    hi = 255;
  }
  if (value < lo || value > hi) return std::nullopt;
  return value;
}

std::string PictureField::TextForInteger(int64_t value) const {
  // Without a picture the plain number is shown (the picture formatting
  // would give an empty text, which reads back as 0).
  if (m_mask.empty()) return std::to_string(value);
  return TrimBlanks(FormatPictureInt(m_mask, value));
}

std::string PictureField::TextForChar(char value) const {
  return value == 0 ? std::string() : std::string(1, value);
}

double PictureField::RoundToType(double value) const {
  if (m_type == fkeditdatatype::dtSingle) return static_cast<double>(static_cast<float>(value));
  return value;
}

std::string PictureField::TextForReal(double value, std::string_view current_text) {
  value = RoundToType(value);
  if (RemembersRealValue()) {
    if (m_lastReal && *m_lastReal == value) return std::string(current_text);
    m_lastReal = value;
  }
  return TrimBlanks(FormatPicture(m_mask, value));
}

int64_t PictureField::IntegerOf(std::string_view text) const {
  return ReadIntegerNumber(text, m_type).value_or(0);
}

char PictureField::CharOf(std::string_view text) const {
  std::string t = TrimSpaces(std::string(text));
  return t.empty() ? '\0' : t[0];
}

double PictureField::RealOf(std::string_view text) {
  double value = RoundToType(ReadRealNumber(text).value_or(0.0));
  if (RemembersRealValue()) m_lastReal = value;
  return value;
}

}  // namespace kontura
