// Replays the inputs that once made the storage fuzz target fail, and a few
// hand-made ones: they must run through without a crash or sanitizer report.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/record_reader_fuzz_body.h"
#include "tests/support/storage_fuzz_body.h"

namespace kontura::testing {
namespace {

// Runs every file of the kept inputs in folder (beside this file's folder in
// the source tree) through body; returns how many there were.
int ReplayKept(const std::string& folder, void (*body)(const uint8_t*, size_t)) {
  std::filesystem::path dir = std::filesystem::path(__FILE__).parent_path().parent_path() / folder;
  EXPECT_TRUE(std::filesystem::is_directory(dir)) << dir;
  if (!std::filesystem::is_directory(dir)) return 0;
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SCOPED_TRACE(entry.path().filename().string());
    body(bytes.data(), bytes.size());
    ++count;
  }
  return count;
}

TEST(StorageFuzzRegression, KeptInputsRunThrough) {
  EXPECT_GT(ReplayKept("fuzz/regressions", RunStorageFuzzInput), 0);
}

TEST(StorageFuzzRegression, KeptRecordReaderInputsRunThrough) {
  EXPECT_GT(ReplayKept("fuzz/regressions/records", RunRecordReaderFuzzInput), 0);
}

}  // namespace
}  // namespace kontura::testing
