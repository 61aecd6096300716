#include "storage/key_encoding.h"

namespace kontura {

std::string NumberToKey(int32_t v) {
  uint32_t u = static_cast<uint32_t>(v);
  std::string key(5, '\0');
  key[0] = static_cast<char>((((u >> 24) & 0xF0) ^ 0x80) | 0x01);
  key[1] = static_cast<char>(0x80 | ((u >> 21) & 0x7F));
  key[2] = static_cast<char>(0x80 | ((u >> 14) & 0x7F));
  key[3] = static_cast<char>(0x80 | ((u >> 7) & 0x7F));
  key[4] = static_cast<char>(0x80 | (u & 0x7F));
  return key;
}

int32_t KeyToNumber(std::string_view key) {
  if (key.size() < 5) return 0;
  const auto* k = reinterpret_cast<const unsigned char*>(key.data() + key.size() - 5);
  uint32_t u = (static_cast<uint32_t>((k[0] & 0xF0) ^ 0x80)) << 24;
  u |= static_cast<uint32_t>(k[1] & 0x7F) << 21;
  u |= static_cast<uint32_t>(k[2] & 0x7F) << 14;
  u |= static_cast<uint32_t>(k[3] & 0x7F) << 7;
  u |= static_cast<uint32_t>(k[4] & 0x7F);
  return static_cast<int32_t>(u);
}

static std::string BigEndian4(int32_t v) {
  uint32_t u = static_cast<uint32_t>(v);
  std::string key(4, '\0');
  for (int i = 0; i < 4; ++i) key[i] = static_cast<char>(u >> (24 - 8 * i));
  return key;
}

std::string DateToKey(int32_t day_number) { return BigEndian4(day_number); }
std::string TimeToKey(int32_t seconds) { return BigEndian4(seconds); }

std::string KeyPad(std::string_view s, size_t n) {
  std::string out(s.substr(0, n));
  out.resize(n, ' ');
  return out;
}

std::string KeyPadLeft(std::string_view s, size_t n) {
  if (s.size() >= n) return std::string(s.substr(0, n));
  return std::string(n - s.size(), ' ') + std::string(s);
}

std::string KeyChar(const uint8_t* record, size_t offset) {
  return std::string(1, static_cast<char>(record[offset]));
}

}  // namespace kontura
