#pragma once
// Conversion between the records' Windows-1252 text and UTF-8. Used only at the
// edges: the Qt views and the command-line tool.

#include <string>
#include <string_view>

namespace kontura {

// Every byte maps to one code point. The five bytes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same
// value, so that a round trip keeps every byte.
std::string Cp1252ToUtf8(std::string_view cp1252);

// Characters without a Windows-1252 byte become '?'. Invalid UTF-8 sequences
// become '?' as well, one per bad byte.
std::string Utf8ToCp1252(std::string_view utf8);

// The code point of one Windows-1252 byte.
char32_t Cp1252ToCodePoint(unsigned char byte);

// The Windows-1252 byte of a code point, or -1 when it has none.
int CodePointToCp1252(char32_t cp);

}  // namespace kontura
