#pragma once
// The record of the storage tests, with its key builder.
//
// Test record (40 bytes): 0 status, 4 int32 number (counter of key 1),
// 8 string[10] name, 19 string[10] group, 30 int32 value.
// Keys: 1 = num(number), 5 unique, counter; 2 = name padded to 10, unique;
// 3 = group padded to 10 + num(number), 15 with duplicates; 4 = first two
// bytes of group, 2 with duplicates.

#include <string>
#include <vector>

#include "storage/fileblock_layout.h"
#include "storage/key_encoding.h"
#include "storage/record_bytes.h"

namespace kontura::testing {

namespace trec {
inline constexpr int kLength = 40;
inline constexpr int kNumber = 4;
inline constexpr int kName = 8;
inline constexpr int kGroup = 19;
inline constexpr int kValue = 30;
inline constexpr int kKeys = 4;

inline std::string Pad(std::string s, size_t n) {
  s.resize(n, ' ');
  return s;
}

inline std::string KeyOf(const uint8_t* r, int k) {
  switch (k) {
    case 1: return NumberToKey(GetI32(r, kNumber));
    case 2: return Pad(GetPStr(r, kName, 10), 10);
    case 3: return Pad(GetPStr(r, kGroup, 10), 10) + NumberToKey(GetI32(r, kNumber));
    case 4: return Pad(GetPStr(r, kGroup, 10), 2);
    default: return "";
  }
}

inline const std::vector<KeySpec>& Keys() {
  static const std::vector<KeySpec> keys = {{5, false}, {10, false}, {15, true}, {2, true}};
  return keys;
}

inline FileblockLayout Known() {
  FileblockLayout k;
  k.name = "TREC";
  k.record_length = kLength;
  k.keys = Keys();
  k.counter_key = 1;  // the counter field is kNumber, right behind the marker
  k.key_builder = KeyOf;
  k.string_fields = {{kName, 10}, {kGroup, 10}};
  return k;
}
}  // namespace trec

}  // namespace kontura::testing
