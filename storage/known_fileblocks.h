#pragma once
// Fileblocks whose layout the program knows: record length, keys and key
// builder by file name. The catalogue registers the program's fileblocks;
// kontura-tool uses the registry to compare index keys with the records and
// to rebuild a fileblock.

#include <string>
#include <utility>
#include <vector>

#include "storage/fileblock.h"
#include "storage/index_file.h"

namespace kontura {

struct KnownFileblock {
  // File name without directory and extension; a trailing '*' matches any
  // rest (e.g. "FHLK*" for the contest logs); an exact name is preferred
  // to a pattern ("FHLKTEMP" before "FHLK*").
  std::string name;
  int record_length = 0;
  bool variable = false;
  int buffer_size = 0;  // 0: the record length
  std::vector<KeySpec> keys;
  std::vector<std::pair<int, int>> counters;  // (key number, field offset)
  bool flush_after_write = false;
  KeyBuilder key_builder;
};

void RegisterKnownFileblock(KnownFileblock fb);
// The entry for a path ("dir/FHLK0007", "FHLK0007.DAT"), nullptr if unknown.
const KnownFileblock* FindKnownFileblock(const std::string& path);

}  // namespace kontura
