#pragma once
// Order-preserving key encodings of numbers, dates and times, and the pieces
// key builders compose keys of. Index keys are compared as unsigned bytes, so
// these encodings make keys sort like values. A key builder returns a key at
// the full length of its composition; cutting it to 50 bytes and then to the
// key length of the index is the engine's work (MakeKey), so a builder never
// needs to know the index definitions.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kontura {

// A signed 32-bit value as 5 bytes that sort like the numbers and contain no
// 0 byte: byte 1 holds the top 4 bits with the sign bit inverted, followed by
// the bits 0001; bytes 2..5 hold the next four 7-bit groups, each OR 0x80.
// NumberToKey(1) is 81 80 80 80 81.
std::string NumberToKey(int32_t v);

// The inverse, applied to the last 5 bytes of a key. A key shorter than 5
// bytes gives 0.
int32_t KeyToNumber(std::string_view key);

// A day number or a time as its 4 bytes, most significant first (no sign
// change): keys of non-negative values sort like the values.
std::string DateToKey(int32_t day_number);
std::string TimeToKey(int32_t seconds);

// s cut or padded with blanks on the right to exactly n characters; no case
// change.
std::string KeyPad(std::string_view s, size_t n);

// s padded with blanks on the left to n characters (right-aligned); a longer
// s keeps its first n characters.
std::string KeyPadLeft(std::string_view s, size_t n);

// A one-byte key of a character field, the byte as stored (0 included).
std::string KeyChar(const uint8_t* record, size_t offset);

}  // namespace kontura
