#pragma once
// Reading and writing fields of packed records. Records are byte arrays laid
// out exactly as on disk: little-endian numbers, length-prefixed Windows-1252
// strings (a string[n] occupies n + 1 bytes). Every record module names its
// field offsets as constants and goes through these helpers, so that no field
// is ever read or written outside its place.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kontura {

inline uint8_t GetU8(const uint8_t* rec, size_t off) { return rec[off]; }
inline void PutU8(uint8_t* rec, size_t off, uint8_t v) { rec[off] = v; }

inline uint16_t GetU16(const uint8_t* rec, size_t off) {
  return static_cast<uint16_t>(rec[off] | (rec[off + 1] << 8));
}
inline void PutU16(uint8_t* rec, size_t off, uint16_t v) {
  rec[off] = static_cast<uint8_t>(v);
  rec[off + 1] = static_cast<uint8_t>(v >> 8);
}
inline int16_t GetI16(const uint8_t* rec, size_t off) { return static_cast<int16_t>(GetU16(rec, off)); }
inline void PutI16(uint8_t* rec, size_t off, int16_t v) { PutU16(rec, off, static_cast<uint16_t>(v)); }

inline uint32_t GetU32(const uint8_t* rec, size_t off) {
  return static_cast<uint32_t>(rec[off]) | (static_cast<uint32_t>(rec[off + 1]) << 8) |
         (static_cast<uint32_t>(rec[off + 2]) << 16) | (static_cast<uint32_t>(rec[off + 3]) << 24);
}
inline void PutU32(uint8_t* rec, size_t off, uint32_t v) {
  rec[off] = static_cast<uint8_t>(v);
  rec[off + 1] = static_cast<uint8_t>(v >> 8);
  rec[off + 2] = static_cast<uint8_t>(v >> 16);
  rec[off + 3] = static_cast<uint8_t>(v >> 24);
}
inline int32_t GetI32(const uint8_t* rec, size_t off) { return static_cast<int32_t>(GetU32(rec, off)); }
inline void PutI32(uint8_t* rec, size_t off, int32_t v) { PutU32(rec, off, static_cast<uint32_t>(v)); }

inline float GetF32(const uint8_t* rec, size_t off) {
  uint32_t bits = GetU32(rec, off);
  float v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}
inline void PutF32(uint8_t* rec, size_t off, float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  PutU32(rec, off, bits);
}

inline double GetF64(const uint8_t* rec, size_t off) {
  uint64_t bits = static_cast<uint64_t>(GetU32(rec, off)) | (static_cast<uint64_t>(GetU32(rec, off + 4)) << 32);
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}
inline void PutF64(uint8_t* rec, size_t off, double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  PutU32(rec, off, static_cast<uint32_t>(bits));
  PutU32(rec, off + 4, static_cast<uint32_t>(bits >> 32));
}

// A length-prefixed string of the given capacity at off. A length byte above the
// capacity (a damaged or foreign record) is read as the capacity: the string
// never reaches beyond its field.
inline std::string GetPStr(const uint8_t* rec, size_t off, size_t capacity) {
  size_t len = rec[off];
  if (len > capacity) len = capacity;
  return std::string(reinterpret_cast<const char*>(rec + off + 1), len);
}

// Stores s cut to the capacity. Bytes of the field behind the new length keep
// their old contents, as the other programs of the suite leave them.
inline void PutPStr(uint8_t* rec, size_t off, size_t capacity, std::string_view s) {
  size_t len = s.size() < capacity ? s.size() : capacity;
  rec[off] = static_cast<uint8_t>(len);
  if (len > 0) std::memcpy(rec + off + 1, s.data(), len);
}

// A length-prefixed string field of a record: the length byte at offset,
// then up to capacity characters (a string[capacity] occupies capacity + 1
// bytes). A capacity of 0 marks a field that does not exist.
struct StrField {
  size_t offset = 0;
  size_t capacity = 0;
};

inline std::string GetPStr(const uint8_t* rec, StrField f) { return GetPStr(rec, f.offset, f.capacity); }
inline void PutPStr(uint8_t* rec, StrField f, std::string_view s) { PutPStr(rec, f.offset, f.capacity, s); }

// A single-character field; 0 means none.
inline char GetChar(const uint8_t* rec, size_t off) { return static_cast<char>(rec[off]); }
inline void PutChar(uint8_t* rec, size_t off, char c) { rec[off] = static_cast<uint8_t>(c); }

}  // namespace kontura
