#pragma once
// Pieces the key builders of the catalogue share. A key builder is a plain
// function that takes a record and a key number and returns the key string;
// it returns the empty string for a key number outside its table. The key
// builders return the key at the full length of its composition; cutting it
// to 50 bytes and then to the key length of the index is the engine's work
// (MakeKey), so a builder never needs to know the index definitions.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kontura {

// A plain function pointer, so that the catalogue table is constant data;
// it converts to the engine's key builder callback.
using RecordKeyBuilder = std::string (*)(const uint8_t* record, int key_number);

// s cut or padded with blanks on the right to exactly n characters; no case
// change.
std::string KeyPad(std::string_view s, size_t n);

// s padded with blanks on the left to n characters (right-aligned); a longer
// s keeps its first n characters.
std::string KeyPadLeft(std::string_view s, size_t n);

// A one-byte key of a character field, the byte as stored (0 included).
std::string KeyChar(const uint8_t* record, size_t offset);

}  // namespace kontura
