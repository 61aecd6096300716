// kontura-tool dump PATH: the records of one of the program's fileblocks, one
// line each in record-number order, without changing the files.

#include <cstdio>

#include "catalogue/fileblock_dump.h"
#include "platform/code_page.h"
#include "storage/catalogue.h"
#include "tools/tool_commands.h"

namespace kontura::tool {

int RunDump(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "Aufruf: kontura-tool dump PFAD\n");
    return 2;
  }
  const FileblockLayout* entry = FindCatalogueLayout(args[0]);
  if (!entry) {
    std::fprintf(stderr, "kontura-tool: unbekannter Fileblock \"%s\"\n", args[0].c_str());
    return 2;
  }
  DumpReport report = DumpFileblock(args[0], *entry, [](const std::string& line) {
    std::fputs(Cp1252ToUtf8(line + "\n").c_str(), stdout);
  });
  for (const std::string& p : report.problems) std::fprintf(stderr, "kontura-tool: %s\n", Cp1252ToUtf8(p).c_str());
  return report.ok() ? 0 : 1;
}

}  // namespace kontura::tool
