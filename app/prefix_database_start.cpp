#include "app/prefix_database_start.h"

#include <filesystem>

#include "storage/catalogue.h"
#include "storage/fileblock.h"

namespace kontura {

int32_t PrefixTableEntries() {
  if (!OpenFHPREFIX()) return 0;
  const int32_t n = CatalogueHandle(CatalogueId::kFhprefix)->RecordCount();
  CloseFHPREFIX();
  return n;
}

PrefixDatabaseStart BuildPrefixDatabaseIfEmpty(const std::string& cty_path) {
  PrefixDatabaseStart start;
  start.entries_kept = PrefixTableEntries();
  if (start.entries_kept > 0) return start;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(cty_path, ec)) {
    start.result = PrefixDatabaseStart::Result::kNoSource;
    return start;
  }
  start.result = ImportCtyFile(cty_path, &start.counts, &start.error) ? PrefixDatabaseStart::Result::kBuilt
                                                                       : PrefixDatabaseStart::Result::kFailed;
  return start;
}

}  // namespace kontura
