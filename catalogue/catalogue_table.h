#pragma once
// The table of every fileblock this program opens: file name, record length,
// keys, counter field, flush setting and key builder, one layout per
// CatalogueId. The openers hand these values to the engine unchanged; the
// files are shared with the other programs of the suite, so none of them may
// change (a different key definition makes the engine rebuild the index, a
// different record length makes the file unusable).

#include <span>

#include "storage/catalogue.h"
#include "storage/fileblock_layout.h"

namespace kontura {

// All twelve layouts in the order of CatalogueId.
std::span<const FileblockLayout> ProgramCatalogue();

// Hands the table to the engine-side openers (InstallCatalogue); the program
// and kontura-tool call it once at start, before the first opener.
void InstallProgramCatalogue();

}  // namespace kontura
