#pragma once
// The byte layout of a fileblock's files. Other programs of the suite read and
// write the same files, so every offset here is binding; the engine, the
// rebuild, the integrity check and the tests refer to these names only.
//
// Data file "<base>.DAT": slots of S bytes (S = record length). Slot 0 is the
// header, slot n >= 1 holds record n at byte n * S.
//
//   offset size  data header (rest of slot 0 is zero)
//   0      4     int32 first slot of the free chain, -1 when empty
//   4      4     int32 number of slots on the free chain
//   8      4     int32 highest slot number (slots in use or free)
//   12     4     int32 S, the record (section) length, at least 21
//   16     4     int32 number of indexes, 0..110
//   20     1     modification flag: 1 while changes are not completely written
//
//   record slot: int32 status at 0 (0 = live; on the free chain the next free
//   slot, -1 at the end), then the caller's bytes.
//
//   variable-length slots (main and continuation) end with
//   S-6    2     int16 number of record bytes in this slot
//   S-4    4     int32 next continuation slot, 0 at the end
//   a continuation slot has byte 0 = 1 and carries record bytes from byte 1.
//
// Index file "<base>.IX": blocks of P bytes, P = sum of the page sizes p(i) of
// the indexes; index i owns the bytes [o(i), o(i) + p(i)) of every block.
// Block 0 holds the 28-byte index headers, block m >= 1 page m of each index.
//
//   offset size  index header
//   0      4     int32 first page of the free-page chain, -1 when empty
//   4      4     int32 number of pages on the free-page chain
//   8      4     int32 highest page number
//   12     4     int32 page size p(i) = c * (n + 9) + 6
//   16     4     int32 root page, 0 while the index is empty
//   20     1     1 when duplicate keys are allowed
//   21     1     reserved
//   22     4     int32 number of entries
//   26     2     int16 page capacity c; 0 reads as 62
//
//   offset size  page
//   0      2     int16 number of entries e
//   2      4     int32 subtree left of the first entry, 0 in a leaf
//   6 + j*(n+9)  entry j: int32 record number, int32 right subtree (0 in a
//                leaf), key string of capacity n (1 + n bytes)
//   a page on the free-page chain holds the next free page (or -1) at 0.

#include <cstdint>

namespace kontura::layout {

// Data header.
inline constexpr int kDataFreeHead = 0;
inline constexpr int kDataFreeCount = 4;
inline constexpr int kDataSlotCount = 8;
inline constexpr int kDataRecordLength = 12;
inline constexpr int kDataKeyCount = 16;
inline constexpr int kDataModified = 20;
inline constexpr int kDataHeaderBytes = 21;

// Record slots.
inline constexpr int kSlotStatus = 0;
inline constexpr int kSlotStatusBytes = 4;
inline constexpr int kMinRecordLength = 21;
inline constexpr int kContinuationMark = 1;  // byte 0 of a continuation slot
inline constexpr int kVarTrailerBytes = 6;   // int16 count + int32 next
inline constexpr int kVarCountFromEnd = 6;   // offset S-6
inline constexpr int kVarNextFromEnd = 4;    // offset S-4

// Index header.
inline constexpr int kIndexHeaderBytes = 28;
inline constexpr int kIxFreeHead = 0;
inline constexpr int kIxFreeCount = 4;
inline constexpr int kIxPageCount = 8;
inline constexpr int kIxPageSize = 12;
inline constexpr int kIxRoot = 16;
inline constexpr int kIxDuplicates = 20;
inline constexpr int kIxReserved = 21;
inline constexpr int kIxEntryCount = 22;
inline constexpr int kIxCapacity = 26;

// Pages.
inline constexpr int kPageCount = 0;
inline constexpr int kPageLeft = 2;
inline constexpr int kPageEntries = 6;
inline constexpr int kEntryRef = 0;
inline constexpr int kEntryRight = 4;
inline constexpr int kEntryKey = 8;
inline constexpr int kEntryOverhead = 9;  // ref + right + key length byte

// Limits.
inline constexpr int kMaxKeys = 110;
inline constexpr int kMaxKeyLength = 50;
inline constexpr int kMaxPageCapacity = 62;
inline constexpr int kCreatedPageCapacity = 62;

inline constexpr int EntrySize(int key_length) { return key_length + kEntryOverhead; }
inline constexpr int PageSize(int key_length, int capacity) {
  return capacity * EntrySize(key_length) + kPageEntries;
}
inline constexpr int EntryOffset(int key_length, int j) { return kPageEntries + j * EntrySize(key_length); }

}  // namespace kontura::layout
