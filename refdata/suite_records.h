#pragma once
// Record layouts of the catalogue's fileblocks that no other module owns:
// the call book FHCBUCH, the call list FHCALL and the suite's operator
// profiles FHPRO, with their field tables and key builders. Only the fields
// below are interpreted; all other bytes are carried whole.
//
// FHCBUCH, 333 bytes; fields by number:
// OFFSET WIDTH TYPE        NAME              MEANING
//     0     4   bytes       Reserved          the engine's deleted-record marker
//     4    11   string[10]  Call              call sign (key 1)
//    15     7   string[6]   Field 7           locator
//    22     7   string[6]   Field 2
//    29     7   string[6]   Field 1
//    43    21   string[20]  Field 4           name
//    64    21   string[20]  Field 15          QTH
//    85    11   string[10]  Field 16
//    96    11   string[10]  Field 3
//   107     5   string[4]   Field 5
//   112   121   string[120] Field 17
//   233    66   string[10]  Fields 8..13      every 11 bytes
//   299     9   string[8]   Field 6           district code
//
// FHCALL, 71 bytes; fields by number:
// OFFSET WIDTH TYPE        NAME              MEANING
//     0     4   bytes       Reserved          the engine's deleted-record marker
//     4    11   string[10]  Call              call sign (key 1)
//    15     6   string[5]   Field 1
//    21     6   string[5]   Field 2
//    27    10   string[9]   Field 3
//    37     1   char        Field 4
//    38    21   string[20]  Field 5           name
//    59     6   string[5]   Field 6
//    65     6   string[5]   Field 7
//
// FHPRO, variable length: a fixed section of 14699 bytes, at most 54699 in
// all:
// OFFSET WIDTH TYPE        NAME              MEANING
//     0     4   bytes       Reserved          the engine's deleted-record marker
//     4     4   int32       ProfileNumber     counter of key 1
//     8    21   string[20]  ProfileName       key 2

#include <cstddef>
#include <cstdint>
#include <string>

#include "storage/record_bytes.h"

namespace kontura {

namespace callbook_record {
inline constexpr size_t kSize = 333;
inline constexpr StrField kCall{4, 10};
inline constexpr int kFieldCount = 17;  // field numbers 1..17; 14 is unused
inline constexpr int kKeyCount = 13;
}  // namespace callbook_record

namespace call_record {
inline constexpr size_t kSize = 71;
inline constexpr StrField kCall{4, 10};
inline constexpr size_t kField4 = 37;    // the one character field
inline constexpr int kFieldCount = 7;
inline constexpr int kKeyCount = 7;
}  // namespace call_record

namespace profile_record {
inline constexpr size_t kFixedSize = 14699;
inline constexpr size_t kBufferSize = 54699;
inline constexpr size_t kProfileNumber = 4;
inline constexpr StrField kProfileName{8, 20};
inline constexpr int kKeyCount = 2;
}  // namespace profile_record

// The field table of FHCBUCH; a field of capacity 0 for numbers other than
// 1..13 and 15..17.
StrField CallbookField(int field_number);

// The call sign of a call-book record (key 1).
std::string CallbookCall(const uint8_t* rec);
void SetCallbookCall(uint8_t* rec, const std::string& call);

// A numbered field of a call-book record; the empty text for field numbers
// outside the table.
std::string GetCallbookField(int field_number, const uint8_t* rec);
// Stores text, cut to the field's capacity; field numbers outside the table
// are ignored. The bytes behind the new length keep their old contents.
void SetCallbookField(int field_number, const std::string& text, uint8_t* rec);

// Key builder of FHCBUCH:
//    1 pad(call, 10)          5 pad(field 4, 20)
//    2 pad(field 1, 6)        6 field 5 padded on the left to 4
//    3 pad(field 2, 6)        7 pad(field 6, 8) + pad(call, 10)
//    4 pad(field 3, 10)       8..13 pad(field 8..13, 6)
std::string CallbookKey(const uint8_t* rec, int key_number);

// The string fields of FHCALL by number; capacity 0 for field 4 (a single
// character) and numbers outside 1..7.
StrField CallField(int field_number);

// The call sign of an FHCALL record (key 1).
std::string CallListCall(const uint8_t* rec);

// Field 1..7 of an FHCALL record; field 4 is a single character (the empty
// text when it is 0). The empty text for other numbers.
std::string GetCallField(int field_number, const uint8_t* rec);

// Key builder of FHCALL:
//    1 pad(call, 10)   4 pad(field 3, 10)      7 pad(field 7, 3)
//    2 pad(field 1, 5) 5 the byte of field 4
//    3 pad(field 2, 5) 6 field 6 padded on the left to 5
std::string CallListKey(const uint8_t* rec, int key_number);

// FHPRO: profile number and name, and the key builder
//    1 NumberToKey(profile number)   2 pad(name, 20)
int32_t ProfileNumber(const uint8_t* rec);
std::string ProfileName(const uint8_t* rec);
void SetProfileName(uint8_t* rec, const std::string& name);
std::string ProfileKey(const uint8_t* rec, int key_number);

}  // namespace kontura
