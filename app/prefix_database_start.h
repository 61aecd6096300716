#pragma once
// The prefix database of a new data directory. The program ships none; when
// the data directory's FHPREFIX holds no entries and a country file is at
// hand (Debian's hamradio-files), it is built from that file before the
// main window opens, so that a first start from the menu determines DXCC
// entities at once. kontura-tool prefixdb --if-empty does the same.

#include <cstdint>
#include <string>

#include "refdata/cty_import.h"

namespace kontura {

struct PrefixDatabaseStart {
  enum class Result {
    kKept,      // FHPREFIX already held entries: nothing changed
    kNoSource,  // FHPREFIX is empty and the country file does not exist
    kBuilt,     // built from the country file; counts says how much
    kFailed,    // the country file could not be used; error says why
  };
  Result result = Result::kKept;
  int32_t entries_kept = 0;  // with kKept: the entries FHPREFIX holds
  CtyImportCounts counts;    // with kBuilt
  std::string error;         // with kFailed: German, Windows-1252
};

// The number of entries FHPREFIX holds; 0 when it cannot be opened. The
// engine must be started.
int32_t PrefixTableEntries();

// Builds FHPREFIX and FHPREFEE in the start directory from cty_path unless
// FHPREFIX already holds entries. The engine must be started.
PrefixDatabaseStart BuildPrefixDatabaseIfEmpty(const std::string& cty_path);

}  // namespace kontura
