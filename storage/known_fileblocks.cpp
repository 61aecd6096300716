#include "storage/known_fileblocks.h"

#include <memory>

namespace kontura {
namespace {

std::vector<std::unique_ptr<KnownFileblock>>& Registry() {
  static std::vector<std::unique_ptr<KnownFileblock>> r;
  return r;
}

}  // namespace

void RegisterKnownFileblock(KnownFileblock fb) {
  for (auto& k : Registry()) {
    if (FoldFileblockName(k->name) == FoldFileblockName(fb.name)) {
      *k = std::move(fb);
      return;
    }
  }
  Registry().push_back(std::make_unique<KnownFileblock>(std::move(fb)));
}

const KnownFileblock* FindKnownFileblock(const std::string& path) {
  std::string base = FileblockPath(path, "DAT");
  base.resize(base.size() - 4);
  size_t slash = base.find_last_of("/\\");
  std::string name = FoldFileblockName(slash == std::string::npos ? base : base.substr(slash + 1));
  // An exact name wins over a pattern: FHLKTEMP is not one of the contest
  // logs "FHLK*" although it starts like them.
  for (auto& k : Registry()) {
    if (FoldFileblockName(k->name) == name) return k.get();
  }
  for (auto& k : Registry()) {
    std::string pattern = FoldFileblockName(k->name);
    if (!pattern.empty() && pattern.back() == '*') {
      pattern.pop_back();
      if (name.compare(0, pattern.size(), pattern) == 0) return k.get();
    }
  }
  return nullptr;
}

}  // namespace kontura
