#include "text/text_util.h"

#include <algorithm>

namespace kontura {
namespace {

constexpr int kMaxLength = 255;

// The number of fill characters that bring `s` to `width`, at most to 255.
size_t Missing(std::string_view s, int width) {
  const int w = std::min(width, kMaxLength);
  return static_cast<int>(s.size()) < w ? static_cast<size_t>(w) - s.size() : 0;
}

}  // namespace

std::string CharStr(char c, int count) {
  return std::string(static_cast<size_t>(std::clamp(count, 0, kMaxLength)), c);
}

std::string TrimBlanks(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  size_t b = 0, e = s.size();
  while (b < e && blank(s[b])) ++b;
  while (e > b && blank(s[e - 1])) --e;
  return std::string(s.substr(b, e - b));
}

std::string TrimSpaces(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\0')) ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return std::string(s.substr(b, e - b));
}

std::string UpperGerman(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || u == 0xE4 || u == 0xF6 || u == 0xFC) c = static_cast<char>(u - 0x20);
  }
  return out;
}

std::string LowerGerman(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || u == 0xC4 || u == 0xD6 || u == 0xDC) c = static_cast<char>(u + 0x20);
  }
  return out;
}

std::string PadRightWith(std::string_view s, char c, int width) {
  std::string out(s);
  out.append(Missing(s, width), c);
  return out;
}

std::string PadLeftWith(std::string_view s, char c, int width) {
  std::string out(Missing(s, width), c);
  out += s;
  return out;
}

std::string PadLeftBlanks(std::string_view s, int width) { return PadLeftWith(s, ' ', width); }

std::string CenterWith(std::string_view s, char c, int width) {
  const size_t missing = Missing(s, width);
  std::string out(missing / 2, c);
  out += s;
  out.append(missing - missing / 2, c);
  return out;
}

std::string CenterBlanks(std::string_view s, int width) { return CenterWith(s, ' ', width); }

std::string AddBackslash(std::string_view s) {
  std::string out(s);
  if (!out.empty() && out.back() != ':' && out.back() != '\\') out += '\\';
  return out;
}

std::string Concat(std::initializer_list<std::string_view> parts) {
  size_t size = 0;
  for (std::string_view p : parts) size += p.size();
  std::string out;
  out.reserve(size);
  for (std::string_view p : parts) out.append(p);
  return out;
}

}  // namespace kontura
