#include "text/picture_format.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "text/format_settings.h"

namespace kontura {
namespace {

bool IsPictureChar(char c) {
  switch (c) {
    case '#': case '@': case '*': case '$': case '-': case '+': case ',': case '.':
      return true;
    default:
      return false;
  }
}

bool IsDigitPosition(char c) { return c == '#' || c == '@' || c == '*' || c == '$'; }
bool IsSeparator(char c) { return c == ',' || c == '.'; }

// The absolute value as fixed-point text ("123", "0.50") with its sign.
struct Magnitude {
  std::string text;
  bool negative = false;
  bool valid = true;
};

bool HasNonZeroDigit(const std::string& text) {
  for (char c : text) {
    if (c >= '1' && c <= '9') return true;
  }
  return false;
}

void InsertDecimalPoint(std::string& digits, int decimals) {
  if (decimals <= 0) return;
  if (digits.size() < static_cast<size_t>(decimals) + 1) {
    digits.insert(0, static_cast<size_t>(decimals) + 1 - digits.size(), '0');
  }
  digits.insert(digits.size() - static_cast<size_t>(decimals), 1, '.');
}

Magnitude FromDouble(double x, int decimals) {
  Magnitude m;
  if (!std::isfinite(x)) {
    m.valid = false;
    m.negative = x < 0;
    return m;
  }
  long double a = std::fabs(static_cast<long double>(x));
  bool done = false;
  if (decimals <= 18) {
    long double scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;  // exact in long double
    long double scaled = a * scale;
    if (scaled < 1e18L) {
      // roundl rounds halves away from zero, as the program always has.
      m.text = std::to_string(static_cast<unsigned long long>(std::roundl(scaled)));
      InsertDecimalPoint(m.text, decimals);
      done = true;
    }
  }
  if (!done) {
    // Huge values or many decimal places: printf is exact enough here, and
    // such a number overflows any realistic picture anyway.
    // A double has at most 309 integer digits.
    std::vector<char> buf(320 + static_cast<size_t>(decimals));
    const int n = std::snprintf(buf.data(), buf.size(), "%.*f", decimals, static_cast<double>(a));
    if (n <= 0 || static_cast<size_t>(n) >= buf.size()) {
      m.valid = false;
      return m;
    }
    m.text.assign(buf.data(), static_cast<size_t>(n));
  }
  m.negative = x < 0 && HasNonZeroDigit(m.text);
  return m;
}

Magnitude FromInteger(int64_t v, int decimals) {
  Magnitude m;
  uint64_t a = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  m.text = std::to_string(a);
  if (decimals > 0) {
    m.text += '.';
    m.text.append(static_cast<size_t>(decimals), '0');
  }
  m.negative = v < 0;
  return m;
}

template <typename MakeMagnitude>
std::string Format(std::string_view picture, MakeMagnitude make) {
  std::string out(picture);
  const size_t begin = [&] {
    for (size_t i = 0; i < picture.size(); ++i) {
      if (IsPictureChar(picture[i])) return i;
    }
    return picture.size();
  }();
  if (begin == picture.size()) return out;
  size_t end = begin;
  while (end < picture.size() && IsPictureChar(picture[end])) ++end;
  const std::string_view field = picture.substr(begin, end - begin);

  const size_t point = field.find_last_of(",.");
  long int_digits = 0;
  int decimals = 0;
  bool has_at = false, has_star = false, has_dollar = false, has_sign = false;
  for (size_t i = 0; i < field.size(); ++i) {
    char c = field[i];
    if (IsDigitPosition(c)) {
      if (point == std::string_view::npos || i < point) {
        ++int_digits;
      } else {
        ++decimals;
      }
    }
    has_at |= c == '@';
    has_star |= c == '*';
    has_dollar |= c == '$';
    has_sign |= c == '+' || c == '-';
  }
  const char fill = has_at ? '0' : has_star ? '*' : ' ';
  const bool currency = has_dollar && !has_at;
  const FormatSettings& settings = TheFormatSettings();

  const Magnitude m = make(decimals);
  const bool negative = m.negative;
  const bool floating_minus = negative && !has_sign;
  const long width = int_digits + (decimals > 0 ? decimals + 1 : 0);
  const long lead = width - static_cast<long>(m.text.size());
  const long needed = (currency ? 1 : 0) + (floating_minus ? 1 : 0);

  auto shown = [&](char c) {
    if (!settings.decimal_swap) return c;
    return c == ',' ? '.' : ',';
  };
  auto sign_char = [&](char c) {
    if (c == '+') return negative ? '-' : '+';
    return negative ? '-' : ' ';
  };

  if (!m.valid || lead < needed) {
    for (size_t i = 0; i < field.size(); ++i) {
      char c = field[i];
      char& o = out[begin + i];
      if (IsDigitPosition(c)) {
        o = '*';
      } else if (IsSeparator(c)) {
        o = shown(c);
      } else {
        o = sign_char(c);
      }
    }
    return out;
  }

  // s is the number right-aligned in the width: fill, then the floating
  // characters, then the digits.
  std::string s(static_cast<size_t>(lead), fill);
  s += m.text;
  long pos = lead;
  if (currency) s[static_cast<size_t>(--pos)] = settings.currency_char;
  if (floating_minus && fill == ' ') s[static_cast<size_t>(--pos)] = '-';

  // Right to left: digit positions take the characters of s from its end.
  long k = static_cast<long>(s.size()) - 1;
  size_t leftmost_unused = std::string::npos;
  for (size_t i = field.size(); i-- > 0;) {
    const char c = field[i];
    const size_t p = begin + i;
    if (IsDigitPosition(c)) {
      if (k >= 0) {
        if (k < lead) leftmost_unused = p;
        out[p] = s[static_cast<size_t>(k--)];
      } else {
        out[p] = fill;
        leftmost_unused = p;
      }
    } else if (i == point) {
      if (k >= 0 && s[static_cast<size_t>(k)] == '.') --k;  // the number's own point
      out[p] = shown(c);
    } else if (IsSeparator(c)) {
      if (k < lead) {
        // In the unused part: no separator, and the floating characters
        // move up to the digits.
        out[p] = k >= 0 ? s[static_cast<size_t>(k--)] : fill;
        leftmost_unused = p;
      } else {
        out[p] = shown(c);
      }
    } else {
      out[p] = sign_char(c);
    }
  }
  if (floating_minus && fill != ' ' && leftmost_unused != std::string::npos) {
    out[leftmost_unused] = '-';
  }
  return out;
}

}  // namespace

std::string FormatPicture(std::string_view picture, double value) {
  return Format(picture, [value](int decimals) { return FromDouble(value, decimals); });
}

std::string FormatPictureInt(std::string_view picture, int64_t value) {
  if (picture.empty()) return std::string();
  auto make = [value](int decimals) { return FromInteger(value, decimals); };
  if (picture.size() >= 255) return Format(picture, make);
  std::string extended(picture);
  extended += '.';
  std::string out = Format(extended, make);
  out.pop_back();
  return out;
}

}  // namespace kontura
