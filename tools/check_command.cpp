// kontura-tool check PATH / rebuild PATH: the integrity check and the
// rebuild of one fileblock, for operators whose files were damaged.

#include <cstdio>

#include "storage/cp1252.h"
#include "storage/fileblock.h"
#include "storage/integrity_check.h"
#include "storage/known_fileblocks.h"
#include "storage/rebuild.h"
#include "tools/tool_commands.h"

namespace kontura::tool {

int RunCheck(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "Aufruf: kontura-tool check PFAD\n");
    return 2;
  }
  CheckReport report = CheckFileblock(args[0], FindKnownFileblock(args[0]));
  std::fputs(Cp1252ToUtf8(FormatCheckReport(report)).c_str(), stdout);
  return report.ok() ? 0 : 1;
}

int RunRebuild(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "Aufruf: kontura-tool rebuild PFAD\n");
    return 2;
  }
  const KnownFileblock* known = FindKnownFileblock(args[0]);
  if (!known) {
    std::fprintf(stderr, "kontura-tool: unbekannter Fileblock \"%s\"\n", args[0].c_str());
    return 2;
  }
  SetFatalStorageHandler([] {});  // the code is printed below
  InitFileManager(160, 32);
  std::string base = FileblockPath(args[0], "DAT");
  base.resize(base.size() - 4);
  RebuildPlan plan;
  plan.name = base;
  plan.base = base;
  plan.record_length = known->record_length;
  plan.variable = known->variable;
  plan.buffer_size = known->buffer_size > 0 ? known->buffer_size : known->record_length;
  plan.keys = known->keys;
  plan.key_builder = known->key_builder;
  storage_detail::ResetErrors(nullptr);
  bool ok = RebuildFileblock(plan, nullptr);
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
