#pragma once
// Helpers for byte-offset tests of record layouts: a record pre-filled with a
// marker byte, and a check that a write changed exactly the expected bytes at
// the expected offset and nothing else.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kontura::testing {

inline constexpr uint8_t kMarkerByte = 0xA5;

// The bytes of a literal that may hold 0 bytes.
inline std::string Raw(const char* p, size_t n) { return std::string(p, n); }

// One field of a record layout: its offset and stored bytes, how to write it
// through the record's setters and how to check what the getters read.
template <typename Writer, typename Reader>
struct FieldCase {
  const char* what;
  size_t offset;
  std::string bytes;
  std::function<void(Writer&)> write;
  std::function<void(const Reader&)> check;
};

// A FieldCase row: var names the record in write_expr and read_expr.
#define FIELD_ROW(Writer, Reader, var, off, bytes, write_expr, read_expr, value)      \
  ::kontura::testing::FieldCase<Writer, Reader> {                                     \
    #write_expr, off, bytes, [](Writer& var) { write_expr; },                          \
        [](const Reader& var) { EXPECT_EQ(read_expr, value) << #read_expr; }           \
  }

inline std::vector<uint8_t> MarkedRecord(size_t size) { return std::vector<uint8_t>(size, kMarkerByte); }

// The bytes of a string literal (which may hold 0 bytes when built with an
// explicit length).
inline std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

// rec must equal a marked record except for expected at offset.
inline void ExpectWrittenAt(const std::vector<uint8_t>& rec, size_t offset, const std::vector<uint8_t>& expected,
                            const std::string& what) {
  ASSERT_LE(offset + expected.size(), rec.size()) << what;
  for (size_t i = 0; i < rec.size(); ++i) {
    if (i >= offset && i < offset + expected.size()) {
      EXPECT_EQ(rec[i], expected[i - offset]) << what << ": byte " << i;
    } else if (rec[i] != kMarkerByte) {
      ADD_FAILURE() << what << ": byte " << i << " outside the field changed to " << int(rec[i]);
      return;
    }
  }
}

// A zeroed record with the given bytes placed at offset, as a file written
// by another program would hold them.
inline std::vector<uint8_t> RecordWith(size_t size, size_t offset, const std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> rec(size, 0);
  for (size_t i = 0; i < bytes.size(); ++i) rec[offset + i] = bytes[i];
  return rec;
}

// Runs a table of field cases over a record layout: each case writes one field
// through Writer into a marked record (only its bytes may change, and they
// must be the expected ones), then reads the expected bytes back through
// Reader from a record built byte by byte.
template <typename Writer, typename Reader, typename Case>
void ExpectFieldsAtTheirOffsets(const std::vector<Case>& cases, size_t size) {
  for (const Case& c : cases) {
    auto rec = MarkedRecord(size);
    Writer w(rec.data());
    c.write(w);
    ExpectWrittenAt(rec, c.offset, Bytes(c.bytes), c.what);

    SCOPED_TRACE(c.what);
    auto built = RecordWith(size, c.offset, Bytes(c.bytes));
    c.check(Reader(built.data()));
  }
}

}  // namespace kontura::testing
