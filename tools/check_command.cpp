// kontura-tool check PATH / rebuild PATH: the integrity check and the
// rebuild of one fileblock, for operators whose files were damaged.

#include <cstdio>

#include "platform/code_page.h"
#include "storage/catalogue.h"
#include "storage/fileblock.h"
#include "storage/integrity_check.h"
#include "storage/rebuild.h"
#include "tools/tool_commands.h"

namespace kontura::tool {

int RunCheck(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "Aufruf: kontura-tool check PFAD\n");
    return 2;
  }
  CheckReport report = CheckFileblock(args[0], FindCatalogueLayout(args[0]));
  std::fputs(Cp1252ToUtf8(FormatCheckReport(report)).c_str(), stdout);
  return report.ok() ? 0 : 1;
}

int RunRebuild(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "Aufruf: kontura-tool rebuild PFAD\n");
    return 2;
  }
  const FileblockLayout* known = FindCatalogueLayout(args[0]);
  if (!known) {
    std::fprintf(stderr, "kontura-tool: unbekannter Fileblock \"%s\"\n", args[0].c_str());
    return 2;
  }
  SetFatalStorageHandler([] {});  // the code is printed below
  InitFileManager(160, 32);
  std::string base = FileblockPath(args[0], "DAT");
  base.resize(base.size() - 4);
  ClearStorageErrors();
  bool ok = RebuildFileblock(*known, base, {}, nullptr);
  int code = StorageErrorCode();
  ExitFileManager();
  if (!ok) {
    std::fprintf(stderr, "kontura-tool: Neuaufbau fehlgeschlagen, Fehlercode %d\n", code);
    return 1;
  }
  CheckReport report = CheckFileblock(base, known);
  std::fputs(Cp1252ToUtf8(FormatCheckReport(report)).c_str(), stdout);
  return report.ok() ? 0 : 1;
}

}  // namespace kontura::tool
