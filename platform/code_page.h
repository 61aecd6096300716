#pragma once
// The code pages of the stored text: conversion between the records'
// Windows-1252 text and UTF-8 (used only at the edges: the Qt views and the
// command-line tool), the DOS letters older programs of the suite stored, and
// the folding under which fileblock names compare.

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

// The German letters of the DOS code page (0x81 ü, 0x84 ä, 0x8E Ä, 0x94 ö,
// 0x99 Ö, 0x9A Ü, 0xE1 ß) turned into their Windows code page bytes. Older
// programs of the suite stored names in the DOS code page.
std::string DosLettersToWindows(std::string text);

// Names of fileblocks compare after this folding: bytes upper-cased, and the
// DOS code page's lower-case umlauts 0x81, 0x84, 0x94 become 0x9A, 0x8E, 0x99.
std::string FoldFileblockName(const std::string& name);

}  // namespace kontura
