#pragma once
// The record listing of kontura-tool ("dump"): the live records of one of the
// program's fileblocks in record-number order, one line each, so that an
// operator can see what a file holds. The files are only read: a file whose
// modification flag is set is listed as it is (not rebuilt), a missing one is
// reported (not created).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "storage/fileblock_layout.h"

namespace kontura {

struct DumpReport {
  int32_t records = 0;  // lines written
  std::vector<std::string> problems;
  bool ok() const { return problems.empty(); }
};

// Writes "<record number>: <RecordSummary>" for every live record of the
// fileblock at path (with or without ".DAT") to line, in record-number order.
// A record length other than the entry's lists nothing; a set modification
// flag and damaged variable-length records are reported and the rest listed.
DumpReport DumpFileblock(const std::string& path, const FileblockLayout& entry,
                         const std::function<void(const std::string&)>& line);

}  // namespace kontura
