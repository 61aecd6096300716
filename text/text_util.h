#pragma once
// Short-string helpers on Windows-1252 byte strings, as the records hold
// them. Results that are built to a width or count are at most 255 bytes
// long, the capacity of a record string; a string that is already longer than
// the width comes back unchanged.

#include <initializer_list>
#include <string>
#include <string_view>

namespace kontura {

// `count` copies of `c`; empty for a count of 0 or below, at most 255.
std::string CharStr(char c, int count);

// Removes blanks and tab characters at both ends.
std::string TrimBlanks(std::string_view s);

// Removes trailing blanks, and leading blanks and 0 bytes.
std::string TrimSpaces(std::string_view s);

// a-z to A-Z and the umlauts \xE4 \xF6 \xFC to \xC4 \xD6 \xDC; every other
// byte (\xDF among them) stays. LowerGerman is the reverse.
std::string UpperGerman(std::string_view s);
std::string LowerGerman(std::string_view s);

// Appends (PadRightWith) or prepends (PadLeftWith) `c` up to `width`.
std::string PadRightWith(std::string_view s, char c, int width);
std::string PadLeftWith(std::string_view s, char c, int width);
std::string PadLeftBlanks(std::string_view s, int width);

// Centres the string in `width` positions filled with `c`; of an odd
// remainder the extra position goes to the right.
std::string CenterWith(std::string_view s, char c, int width);
std::string CenterBlanks(std::string_view s, int width);

// Appends "\" unless the string is empty or ends with ":" or "\". Kept for
// the texts of the suite's settings; paths on this system are joined with "/".
std::string AddBackslash(std::string_view s);

// Plain ASCII character tests (the German letters of Windows-1252 are not
// capitals here): call signs, locators, pictures and file names use these.
inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }

// The parts joined by appending, for texts built from many pieces. (GCC 12
// at -O2 reports a false -Wrestrict overlap for chains like "0" + std::string;
// building such texts with Concat keeps the release build free of warnings.)
std::string Concat(std::initializer_list<std::string_view> parts);

}  // namespace kontura
