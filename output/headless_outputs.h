#pragma once
// The outputs and the ADIF import without windows, as kontura-tool runs
// them: the same RunOutput and the same import run as the program, with the
// save-file dialog answered by a given path, no viewer, the ADIF question
// answered beforehand and the log opened and closed as the logging window
// does it.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "logging/entity.h"
#include "output/adif_import.h"
#include "output/export_menu.h"

namespace kontura {

// Writes file output `id` of contest `contest_number` to `path`; `rst_only`
// answers the ADIF question. The messages the output showed (success or
// failure) are appended to `messages`.
OutputResult ExportContest(int32_t contest_number, OutputId id, const std::string& path, bool rst_only,
                           std::vector<std::string>* messages);

struct ImportRequest {
  std::vector<std::string> files;
  // FIELD=TAG replacements of the default mapping; an empty tag unmaps.
  std::vector<std::pair<std::string, std::string>> maps;
  bool no_check = false;
};

struct ImportFileReport {
  std::string file;
  bool found = false;
  ImportCounts counts;
};

enum class ImportOutcome { kDone, kNoContest, kLogNotOpened, kUnknownField };

// Opens the contest's log as the logging window does, imports each file in
// turn through the import run (default mapping, then the request's maps),
// and closes the log as the window does (summary into the header,
// renumbering). `unknown_field` names a field of a map that the list does
// not have.
ImportOutcome ImportAdifFiles(int32_t contest_number, const ImportRequest& request, EntityLookup& lookup,
                              std::vector<ImportFileReport>* reports, std::string* unknown_field);

}  // namespace kontura
