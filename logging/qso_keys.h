#pragma once
// The keys of the contest log FHLK<nnnn> and of its temporary copy FHLKTEMP.
//
// A key builder composes the key string of one key from a record. It returns
// the composition as it stands; the fileblock engine cuts every key string to
// 50 characters and then to the key's defined length, as it does for all
// fileblocks. Every composition below is exactly as long as its key except
// key 26, which composes 2 characters for a key defined with length 3 (the
// defined length is what the stored index layout depends on).
//
// Notation used in the comments: pad(s, n) = s cut or blank-padded to n
// characters; D4(v) = the 4 bytes of v, most significant first; N5(v) =
// NumberToKey(v); Base = BaseCall(Call); MC = ModeClass(Mode); a char field is
// a 1-character string holding its byte, also when that byte is 0.

#include <array>
#include <cstdint>
#include <string>

namespace kontura {

namespace qso {

struct KeyDef {
  int length;
  bool duplicates;
};

inline constexpr int kKeyCount = 27;
// Key 4 is unique and ends with N5(RecordNo): the engine numbers new records
// through it (counter field at byte 4).
inline constexpr int kCounterKey = 4;

// Lengths and duplicate flags of keys 1..27 (index = key number - 1).
inline constexpr std::array<KeyDef, kKeyCount> kKeys = {{
    {8, true},  {22, true}, {14, true}, {5, false}, {6, true}, {14, true}, {1, true},
    {6, true},  {21, true}, {7, true},  {6, true},  {6, true}, {5, true},  {2, true},
    {2, true},  {2, true},  {2, true},  {8, true},  {6, true}, {6, true},  {9, true},
    {7, true},  {7, true},  {6, true},  {3, true},  {3, true}, {7, true},
}};

// The keys the program walks and searches the log by.
inline constexpr int kKeyBaseCall = 2;    // base call, date, time
inline constexpr int kKeyRecordNo = 4;    // NumberToKey(RecordNo): the log's own order
inline constexpr int kKeyBand = 8;        // band, BandSerial
inline constexpr int kKeyBandSerial = 12; // band, complement of BandSerial: the newest first
inline constexpr int kKeyQsoNo = 13;      // NumberToKey(QsoNo)
// The highest QSO and record number: the upper end of the number ranges.
inline constexpr int32_t kHighestNumber = 999999999;

// FHLKTEMP has one key: N5(RecordNo), unique, the counter key.
inline constexpr int kTempKeyCount = 1;
inline constexpr int kTempCounterKey = 1;
inline constexpr KeyDef kTempKey{5, false};

// Keys 11, 12 and 24 store this minus the counter, so that the first entry
// found at a band (or mode class) carries the highest counter.
inline constexpr int32_t kCounterComplement = 99999999;

}  // namespace qso

// Key builder of FHLK<nnnn>: the key string of key_number (1..27) of the
// 216-byte QSO record. An empty string for any other key number.
std::string BuildQsoKey(const uint8_t* record, int key_number);

// Key builder of FHLKTEMP: key 1 = N5(RecordNo); empty for other numbers.
std::string BuildQsoTempKey(const uint8_t* record, int key_number);

}  // namespace kontura
