#include "tests/support/source_tree.h"

#include <cstdlib>
#include <filesystem>

namespace kontura::testing {
namespace {

const std::filesystem::path g_source_root = [] {
  if (const char* dir = std::getenv("KONTURA_SOURCE_DIR"); dir && *dir) return std::filesystem::path(dir);
  return std::filesystem::absolute(std::filesystem::path(__FILE__).parent_path().parent_path().parent_path());
}();

}  // namespace

std::string SourcePath(const std::string& relative) { return (g_source_root / relative).lexically_normal().string(); }

}  // namespace kontura::testing
