// Replays the inputs that once made the storage fuzz target fail, and a few
// hand-made ones: they must run through without a crash or sanitizer report.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/storage_fuzz_body.h"

namespace kontura::testing {
namespace {

TEST(StorageFuzzRegression, KeptInputsRunThrough) {
  // The fixtures lie beside this file's folder in the source tree.
  std::filesystem::path dir = std::filesystem::path(__FILE__).parent_path().parent_path() / "fuzz/regressions";
  ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SCOPED_TRACE(entry.path().filename().string());
    RunStorageFuzzInput(bytes.data(), bytes.size());
    ++count;
  }
  EXPECT_GT(count, 0);
}

}  // namespace
}  // namespace kontura::testing
