#pragma once
// The catalogue of every fileblock this program opens: file name, record
// length, keys, counter field, flush setting and key builder. The openers
// hand these values to the engine unchanged; the files are shared with the
// other programs of the suite, so none of them may change (a different key
// definition makes the engine rebuild the index, a different record length
// makes the file unusable).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "storage/catalogue_keys.h"

namespace kontura {

struct KeyDefinition {
  int length;       // 1..50 bytes
  bool duplicates;  // true: several records may share the key
};

enum class CatalogueId {
  kFhsetup,
  kFhsetup2,
  kFhkk,
  kFhkz,
  kFhlk,      // FHLK<nnnn>, one per contest; see FhlkFileName
  kFhlktemp,
  kFhprefix,
  kFhprefee,
  kFhprefes,
  kFhpro,
  kFhcbuch,
  kFhcall,
};

// Every record begins with the engine's 4-byte deletion marker; a counter
// field always lies right behind it.
inline constexpr size_t kCounterFieldOffset = 4;

struct CatalogueEntry {
  CatalogueId id;
  const char* file_name;   // for kFhlk the prefix "FHLK"
  int record_length;       // fixed section for a variable-length fileblock
  int buffer_size;         // = record_length, except for FHPRO
  bool variable_length;
  std::span<const KeyDefinition> keys;  // key 1 first
  int counter_key;         // key whose counter field is at byte 4; 0 none
  bool flush_after_write;
  RecordKeyBuilder key_builder;
};

// All twelve entries in the order of CatalogueId.
std::span<const CatalogueEntry> CatalogueTable();

const CatalogueEntry& CatalogueEntryOf(CatalogueId id);

// The entry for a file name as it appears on disk (without ".DAT"/".IX",
// case-insensitive): "FHKK", "fhkk", and "FHLK0007" for the log of contest
// 7 all find their entry (FHLKTEMP is its own entry). Null when unknown.
const CatalogueEntry* FindCatalogueEntry(std::string_view file_name);

// The file name of the QSO log of a contest: "FHLK" and the number with four
// digits and leading zeros (contest 7: FHLK0007). A number outside 0..9999
// would overflow the four positions; it is written with all its digits
// (and a minus sign) instead, so that no two contests share one log file.
std::string FhlkFileName(int32_t contest_number);

}  // namespace kontura
