#pragma once
// A temporary start directory with the program's storage set-up, as the
// program has it after StartStorage: the catalogue's fileblocks open there,
// the platform is scripted, and the program end after a fatal error is
// recorded instead of ending the test process.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/storage_setup.h"
#include "storage/catalogue.h"
#include "storage/fileblock.h"
#include "storage/storage_error.h"
#include "tests/support/scripted_platform.h"

namespace kontura::testing {

class StartDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/kontura-start-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    m_dir = tmpl;
    m_old_dir = std::filesystem::current_path();
    std::filesystem::current_path(m_dir);
    SetStartDirFromCurrentDirectory();
    SetProgramEnd([this](int code) { exit_codes.push_back(code); });
  }

  void TearDown() override {
    if (FileManagerStarted()) {
      // Close whatever a test left open so that the next test starts clean.
      for (int i = 0; i <= static_cast<int>(CatalogueId::kFhcall); ++i) {
        while (CatalogueHandle(static_cast<CatalogueId>(i))) CloseCatalogued(static_cast<CatalogueId>(i));
      }
      ExitFileManager();
    }
    SetFatalStorageHandler(nullptr);
    SetProgramEnd(nullptr);
    std::filesystem::current_path(m_old_dir);
    SetStartDirFromCurrentDirectory();
    std::filesystem::remove_all(m_dir);
  }

  std::string Path(const std::string& name) const { return m_dir + "/" + name; }

  static std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  ScopedPlatform platform;
  std::vector<int> exit_codes;
  std::string m_dir;
  std::filesystem::path m_old_dir;
};

}  // namespace kontura::testing
