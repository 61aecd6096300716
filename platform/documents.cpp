#include "platform/documents.h"

#include <algorithm>
#include <cctype>

namespace kontura {

std::string ShellOpenTarget(std::string_view target) {
  // "Ø" in UTF-8.
  constexpr std::string_view kSlashedZero = "\xC3\x98";
  std::string out;
  out.reserve(target.size() + 7);
  for (size_t i = 0; i < target.size();) {
    if (target.substr(i, kSlashedZero.size()) == kSlashedZero) {
      out += '0';
      i += kSlashedZero.size();
    } else {
      out += target[i++];
    }
  }
  std::string upper = out;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (out.find('@') != std::string::npos && upper.find("MAILTO") == std::string::npos) out.insert(0, "mailto:");
  return out;
}

}  // namespace kontura
