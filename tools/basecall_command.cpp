// kontura-tool basecall CALL: the base call and the other part of a call sign.

#include <cstdio>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "refdata/base_call.h"

namespace kontura::tool {

int RunBasecall(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "Aufruf: kontura-tool basecall CALL\n");
    return 2;
  }
  const std::string call = Utf8ToCp1252(args[0]);
  const std::string base = CallPart(call, CallPartMode::Base).part;
  const std::string other = CallPart(call, CallPartMode::Other).part;
  std::printf("%s\t%s\n", Cp1252ToUtf8(base).c_str(), Cp1252ToUtf8(other).c_str());
  return 0;
}

}  // namespace kontura::tool
