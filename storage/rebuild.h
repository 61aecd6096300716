#pragma once
// The rebuild of a fileblock from its data file.
//
// 1. Reorganise the data file: B.DAT is renamed to B.SAV (refused with 10465
//    when both exist; an existing B.SAV without B.DAT is the copy of an
//    interrupted run and is used as it is). A new B.DAT receives every live
//    record of B.SAV in slot order, numbered 1, 2, 3 ... with an empty free
//    chain; then B.SAV is deleted. If anything fails, the new file is deleted
//    and B.SAV is renamed back, so the original records stay where they were.
//    The reorganisation reads the old file slot by slot up to its end and
//    trusts nothing of its header: a damaged header or free chain loses no
//    record, a truncated file loses only the slots that are gone.
// 2. Rebuild the indexes: a new, empty B.IX with the current key definitions;
//    for each index in turn every live record's key is added. A record whose
//    key collides in a unique index is written to B.MSG (key line, "Data
//    record deleted - Dump follows", the raw slot, CR LF), its entries in the
//    earlier indexes are removed and it is deleted.
// Crashes: during step 1 the original records are in B.SAV; the next
// opening finds B.SAV beside the new B.DAT and stops with 10465, whose
// message tells the operator to rename B.SAV to B.DAT (a rebuild then starts
// over from it). The new B.DAT keeps its modification flag at 1 until both
// steps are done, so a crash during step 2 leads to another rebuild at the
// next opening.

#include <string>
#include <vector>

#include "storage/fileblock.h"
#include "storage/fileblock_layout.h"

namespace kontura {

// Rebuilds the fileblock at base (path and base name without extension) with
// the record length, keys and key builder of layout; progress (may be empty)
// hears of each step under layout.name. Returns false with the error logged
// (owner names the fileblock in the log).
bool RebuildFileblock(const FileblockLayout& layout, const std::string& base, const ProgressHandler& progress,
                      Fileblock* owner);

// Cuts a built key to 50 bytes and to the key length.
std::string CutKey(std::string key, int key_length);

}  // namespace kontura
