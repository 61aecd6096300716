// Where the program finds its help page: beside it in a build tree, in the
// data directory of an installation, found relative to the program so that
// a DESTDIR tree or another prefix works too.

#include "platform/help_page.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

namespace kontura {
namespace {

namespace fs = std::filesystem;

TEST(HelpPageTest, BesideTheProgramElseWhereItIsInstalled) {
  char tmpl[] = "/tmp/kontura-help-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const fs::path root = tmpl;
  const fs::path bin = root / "usr/bin";
  const fs::path installed = root / "usr/share/kontura" / kHelpPageName;
  const fs::path beside = bin / kHelpPageName;
  fs::create_directories(bin);

  // Neither: the path beside the program, where opening fails as it always did.
  EXPECT_EQ(HelpPagePath(bin.string()), beside.string());

  fs::create_directories(installed.parent_path());
  std::ofstream(installed) << "<html></html>";
  EXPECT_EQ(HelpPagePath(bin.string()), installed.string());

  std::ofstream(beside) << "<html></html>";
  EXPECT_EQ(HelpPagePath(bin.string()), beside.string()) << "a build tree's own page comes first";

  fs::remove_all(root);
}

}  // namespace
}  // namespace kontura
