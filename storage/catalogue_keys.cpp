#include "storage/catalogue_keys.h"

namespace kontura {

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
