#pragma once
// A read-only integrity check of one fileblock's files, independent of the
// engine's own reading code: it is both the operator's tool (kontura-tool
// check) and the oracle of the engine's randomized and crash tests.
//
// It verifies the data header against the file size, the free chain and the
// number of live records, and for every index: the header geometry, key
// order within and across pages, subtree bounds, equal leaf depth, the entry
// count, no page both in the tree and on the free-page chain (or reached
// twice), every entry naming a live record, every live record present once.
// With a known layout it also compares each entry's key with the key built
// from its record.

#include <cstdint>
#include <string>
#include <vector>

#include "storage/fileblock_layout.h"

namespace kontura {

struct CheckReport {
  int32_t records = 0;
  int indexes = 0;
  std::vector<std::string> problems;
  bool ok() const { return problems.empty(); }
};

// base: path and base name, with or without ".DAT". Without a known layout
// the record length is taken from the data header.
CheckReport CheckFileblock(const std::string& base, const FileblockLayout* known = nullptr);

// The report as printed by kontura-tool: one line per problem, then
// "OK: <records> records, <indexes> indexes" or "DAMAGED: <n> problems".
std::string FormatCheckReport(const CheckReport& report);

}  // namespace kontura
