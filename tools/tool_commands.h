#pragma once
// The commands of kontura-tool. Each command lives in its own file under
// tools/ and is listed once in Commands().

#include <string>
#include <vector>

namespace kontura::tool {

struct Command {
  const char* name;
  const char* usage;    // shown in the help, e.g. "check PATH"
  const char* summary;  // one line, German
  int (*run)(const std::vector<std::string>& args);  // exit code
};

const std::vector<Command>& Commands();

// Exit code of check and rebuild when another program holds the fileblock.
inline constexpr int kExitInUse = 3;

}  // namespace kontura::tool
