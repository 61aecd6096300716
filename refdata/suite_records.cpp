#include "refdata/suite_records.h"

#include "storage/key_encoding.h"
#include "storage/record_bytes.h"

namespace kontura {

namespace {

// FHCBUCH fields by number; index 0 and 14 are holes.
constexpr StrField kCallbookFields[callbook_record::kFieldCount + 1] = {
    {0, 0},     {29, 6},   {22, 6},   {96, 10},  {43, 20},  {107, 4},
    {299, 8},   {15, 6},   {233, 10}, {244, 10}, {255, 10}, {266, 10},
    {277, 10},  {288, 10}, {0, 0},    {64, 20},  {85, 10},  {112, 120},
};

// FHCALL string fields by number; field 4 is the character at 37.
constexpr StrField kCallFields[call_record::kFieldCount + 1] = {
    {0, 0}, {15, 5}, {21, 5}, {27, 9}, {0, 0}, {38, 20}, {59, 5}, {65, 5},
};

std::string FieldText(const uint8_t* rec, StrField f) {
  return f.capacity ? GetPStr(rec, f.offset, f.capacity) : std::string();
}

}  // namespace

StrField CallField(int field_number) {
  if (field_number < 1 || field_number > call_record::kFieldCount) return {};
  return kCallFields[field_number];
}

StrField CallbookField(int field_number) {
  if (field_number < 1 || field_number > callbook_record::kFieldCount) return {};
  return kCallbookFields[field_number];
}

std::string CallbookCall(const uint8_t* rec) {
  return GetPStr(rec, callbook_record::kCall);
}

void SetCallbookCall(uint8_t* rec, const std::string& call) {
  PutPStr(rec, callbook_record::kCall, call);
}

std::string GetCallbookField(int field_number, const uint8_t* rec) {
  return FieldText(rec, CallbookField(field_number));
}

void SetCallbookField(int field_number, const std::string& text, uint8_t* rec) {
  StrField f = CallbookField(field_number);
  if (f.capacity) PutPStr(rec, f.offset, f.capacity, text);
}

std::string CallbookKey(const uint8_t* rec, int key_number) {
  auto field = [rec](int n) { return GetCallbookField(n, rec); };
  switch (key_number) {
    case 1: return KeyPad(CallbookCall(rec), 10);
    case 2: return KeyPad(field(1), 6);
    case 3: return KeyPad(field(2), 6);
    case 4: return KeyPad(field(3), 10);
    case 5: return KeyPad(field(4), 20);
    case 6: return KeyPadLeft(field(5), 4);
    case 7: return KeyPad(field(6), 8) + KeyPad(CallbookCall(rec), 10);
    case 8: case 9: case 10: case 11: case 12: case 13:
      return KeyPad(field(key_number), 6);
    default: return {};
  }
}

std::string CallListCall(const uint8_t* rec) { return GetPStr(rec, call_record::kCall); }

std::string GetCallField(int field_number, const uint8_t* rec) {
  if (field_number == 4) {
    char c = GetChar(rec, call_record::kField4);
    return c ? std::string(1, c) : std::string();
  }
  return FieldText(rec, CallField(field_number));
}

std::string CallListKey(const uint8_t* rec, int key_number) {
  switch (key_number) {
    case 1: return KeyPad(CallListCall(rec), 10);
    case 2: return KeyPad(GetCallField(1, rec), 5);
    case 3: return KeyPad(GetCallField(2, rec), 5);
    case 4: return KeyPad(GetCallField(3, rec), 10);
    case 5: return KeyChar(rec, call_record::kField4);
    case 6: return KeyPadLeft(GetCallField(6, rec), 5);
    case 7: return KeyPad(GetCallField(7, rec), 3);
    default: return {};
  }
}

int32_t ProfileNumber(const uint8_t* rec) { return GetI32(rec, profile_record::kProfileNumber); }

std::string ProfileName(const uint8_t* rec) {
  return GetPStr(rec, profile_record::kProfileName);
}

void SetProfileName(uint8_t* rec, const std::string& name) {
  PutPStr(rec, profile_record::kProfileName, name);
}

std::string ProfileKey(const uint8_t* rec, int key_number) {
  switch (key_number) {
    case 1: return NumberToKey(ProfileNumber(rec));
    case 2: return KeyPad(ProfileName(rec), profile_record::kProfileName.capacity);
    default: return {};
  }
}

}  // namespace kontura
