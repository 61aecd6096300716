#pragma once
// Files of the source tree (fixtures under tests/data) for tests that work
// in a scratch current directory.

#include <string>

namespace kontura::testing {

// The absolute path of relative (e.g. "tests/data/cty_small.csv") in the
// source tree: below KONTURA_SOURCE_DIR when the test runs under CTest, else
// found from this file's compiled name, made absolute when the test program
// starts - the name is relative to the build directory when the compiler
// cache rewrites paths, and tests change the current directory.
std::string SourcePath(const std::string& relative);

}  // namespace kontura::testing
