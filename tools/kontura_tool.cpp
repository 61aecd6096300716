// kontura-tool: the command-line companion of the program. It works on the
// fileblocks of the current directory (or the paths given) through the same
// core library as the program. Arguments and output are UTF-8; records are
// Windows-1252 and converted here.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "catalogue/catalogue_table.h"
#include "tools/tool_commands.h"

namespace {

const char kVersion[] = "Kontura Version 2010-1.0";

void PrintHelp() {
  std::printf("Aufruf: kontura-tool BEFEHL [ARGUMENTE]\n\nBefehle:\n");
  std::printf("  %-28s %s\n", "help", "diese Übersicht");
  std::printf("  %-28s %s\n", "version", "Programmversion");
  for (const kontura::tool::Command& c : kontura::tool::Commands()) {
    std::printf("  %-28s %s\n", c.usage, c.summary);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0 ||
      std::strcmp(argv[1], "-h") == 0) {
    PrintHelp();
    return argc < 2 ? 2 : 0;
  }
  if (std::strcmp(argv[1], "version") == 0 || std::strcmp(argv[1], "--version") == 0) {
    std::printf("%s\n", kVersion);
    return 0;
  }
  // The program's own fileblocks: check compares their keys, rebuild knows them.
  kontura::InstallProgramCatalogue();
  std::vector<std::string> args(argv + 2, argv + argc);
  for (const kontura::tool::Command& c : kontura::tool::Commands()) {
    if (std::strcmp(argv[1], c.name) == 0) return c.run(args);
  }
  std::fprintf(stderr, "kontura-tool: unbekannter Befehl \"%s\" (kontura-tool help)\n", argv[1]);
  return 2;
}
