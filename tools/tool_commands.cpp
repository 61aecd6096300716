#include "tools/tool_commands.h"

namespace kontura::tool {

// Add a command: declare its run function here and list it below.

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {};
  return commands;
}

}  // namespace kontura::tool
