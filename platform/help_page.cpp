#include "platform/help_page.h"

#include <filesystem>

// The installed data directory relative to the installed program, set by the
// build from its install directories.
#ifndef KONTURA_DATA_DIR_FROM_BIN
#define KONTURA_DATA_DIR_FROM_BIN "../share/kontura"
#endif

namespace kontura {

std::string HelpPagePath(const std::string& program_dir) {
  namespace fs = std::filesystem;
  const fs::path beside = fs::path(program_dir) / kHelpPageName;
  const fs::path installed = (fs::path(program_dir) / KONTURA_DATA_DIR_FROM_BIN / kHelpPageName).lexically_normal();
  std::error_code ec;
  if (!fs::exists(beside, ec) && fs::exists(installed, ec)) return installed.string();
  return beside.string();
}

}  // namespace kontura
