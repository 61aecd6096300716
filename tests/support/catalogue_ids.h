#pragma once
// The CatalogueId of an entry of the program's table, for tests that walk
// the table and need to know which fileblock they are at.

#include "catalogue/catalogue_table.h"

namespace kontura::testing {

inline CatalogueId IdOf(const FileblockLayout& layout) { return *CatalogueIdOf(layout); }

// The file name a test gives a fileblock of the layout: the contest logs get
// the number of contest 7.
inline std::string TestFileName(const FileblockLayout& layout) {
  return layout.numbered ? FhlkFileName(7) : layout.name;
}

}  // namespace kontura::testing
