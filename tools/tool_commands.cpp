#include "tools/tool_commands.h"

namespace kontura::tool {

// Add a command: declare its run function here and list it below.
int RunCheck(const std::vector<std::string>& args);
int RunRebuild(const std::vector<std::string>& args);

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"check", "check PFAD", "Fileblock prüfen (nur lesend)", RunCheck},
      {"rebuild", "rebuild PFAD", "Fileblock neu aufbauen (Daten reorganisieren, Indizes neu)", RunRebuild},
  };
  return commands;
}

}  // namespace kontura::tool
