#include "storage/fileblock_layout.h"

#include "platform/code_page.h"
#include "text/text_util.h"

namespace kontura {

std::string FileblockFileName(const std::string& path) {
  std::string base = FileblockPath(path, "DAT");
  base.resize(base.size() - 4);
  size_t slash = base.find_last_of("/\\");
  return slash == std::string::npos ? base : base.substr(slash + 1);
}

bool NamesLayout(const FileblockLayout& layout, std::string_view file_name) {
  const std::string name = FoldFileblockName(std::string(file_name));
  const std::string own = FoldFileblockName(layout.name);
  if (!layout.numbered) return name == own;
  if (name.size() < own.size() + 4 || name.compare(0, own.size(), own) != 0) return false;
  std::string_view number = std::string_view(name).substr(own.size());
  if (number.front() == '-') number.remove_prefix(1);
  if (number.empty()) return false;
  for (char c : number) {
    if (!IsAsciiDigit(c)) return false;
  }
  return true;
}

const FileblockLayout* FindLayout(std::span<const FileblockLayout> layouts, const std::string& path) {
  const std::string name = FileblockFileName(path);
  for (const FileblockLayout& l : layouts) {
    if (!l.numbered && NamesLayout(l, name)) return &l;
  }
  for (const FileblockLayout& l : layouts) {
    if (l.numbered && NamesLayout(l, name)) return &l;
  }
  return nullptr;
}

}  // namespace kontura
