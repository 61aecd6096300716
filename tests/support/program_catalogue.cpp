// Every test program knows the program's fileblocks from its start, as the
// program does after StartStorage: the openers need the table installed.

#include "catalogue/catalogue_table.h"

namespace {

const bool g_installed = [] {
  kontura::InstallProgramCatalogue();
  return true;
}();

}  // namespace
