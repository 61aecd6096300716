// Building the prefix database from a country file: the line format, what is
// written where, what is left out, and the look-up over the result (with the
// real file of the hamradio-files package when it is installed).

#include "refdata/cty_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "refdata/prefix_lookup.h"
#include "refdata/prefix_record.h"
#include "storage/catalogue.h"
#include "storage/integrity_check.h"
#include "tests/support/source_tree.h"
#include "tests/support/start_dir_fixture.h"
#include "text/text_util.h"

namespace kontura::testing {
namespace {

std::string Fixture(const std::string& name) {
  return SourcePath("tests/data/" + name);
}

const char kRealFile[] = "/usr/share/hamradio-files/cty.csv";

TEST(CtyLine, FieldsOverridesAndWholeCalls) {
  CtyEntity e;
  ASSERT_TRUE(ParseCtyLine("3D2/c,Conway Reef,489,OC,32,56,-22.00,-175.00,-12.0,3D2 AA0(4)[7] =K1XYZ{sa}<1/2>~5~;\r\n", &e));
  EXPECT_EQ(e.entity_prefix, "3D2/C");
  EXPECT_EQ(e.name, "Conway Reef");
  EXPECT_EQ(e.dxcc_number, 489);
  EXPECT_EQ(e.continent, "OC");
  ASSERT_EQ(e.items.size(), 3u);
  EXPECT_EQ(e.items[0].text, "3D2");
  EXPECT_FALSE(e.items[0].whole_call);
  EXPECT_EQ(e.items[0].cq_zone, "32");
  EXPECT_EQ(e.items[1].text, "AA0");
  EXPECT_EQ(e.items[1].cq_zone, "4");
  EXPECT_EQ(e.items[1].itu_zone, "7");
  EXPECT_EQ(e.items[2].text, "K1XYZ");
  EXPECT_TRUE(e.items[2].whole_call);
  EXPECT_EQ(e.items[2].continent, "SA");
  EXPECT_EQ(e.items[2].itu_zone, "56");

  const char* bad[] = {"", "DL,Germany,230,EU,14,28", "DL,Germany,x,EU,14,28,0,0,0,DL;", ",Germany,230,EU,14,28,0,0,0,DL;"};
  for (const char* line : bad) EXPECT_FALSE(ParseCtyLine(line, &e)) << line;
}

class CtyImportTest : public StartDirTest {
 protected:
  void SetUp() override {
    StartDirTest::SetUp();
    ASSERT_TRUE(StartStorage());
  }
  ConstPrefixRecord Working() const { return ConstPrefixRecord(CatalogueRecord(CatalogueId::kFhprefix)); }
};

TEST_F(CtyImportTest, SmallFileWritesPrefixesAndShortWholeCalls) {
  CtyImportCounts counts;
  std::string error;
  for (int round = 0; round < 2; ++round) {  // a second import replaces the first
    ASSERT_TRUE(ImportCtyFile(Fixture("cty_small.csv"), &counts, &error)) << error;
    EXPECT_EQ(counts.prefixes, 7);
    EXPECT_EQ(counts.whole_calls, 4);
    EXPECT_EQ(counts.left_out, 7);  // 3 long calls, 3 of a "*" entity, 1 call listed twice
    EXPECT_EQ(counts.bad_lines, 1);
  }
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhprefix), nullptr) << "closed after the import";

  ASSERT_TRUE(OpenFHPREFIX());
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhprefix)->RecordCount(), 7);
  const struct {
    const char* call;
    int result;
    const char* entity;
    const char* continent;
    const char* cq;
    const char* itu;
    int dxcc;
  } cases[] = {
      {"IT9ABC", 1, "", "", "", "", 0},          // its entity was left out
      {"DL1ABC", 0, "DL", "EU", "14", "28", 230},
      {"Y21ABC", 0, "DL", "EU", "14", "28", 230},
      {"W1AW", 0, "K", "NA", "4", "7", 291},     // the prefix's own zones
      {"K1XYZ", 0, "K", "SA", "3", "6", 291},    // whole call from the overlay
      {"DL0ABC", 0, "DL", "EU", "14", "28", 230},
      {"3D2C", 0, "3D2/C", "OC", "32", "56", 489},
      {"EA8/DL1ABC", 0, "EA8", "AF", "33", "36", 29},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResolvePrefix(c.call, 0, 0, nullptr), c.result) << c.call;
    if (c.result != 0) continue;
    EXPECT_EQ(Working().EntityPrefix(), c.entity) << c.call;
    EXPECT_EQ(Working().ContinentCode(), c.continent) << c.call;
    EXPECT_EQ(Working().CqZone(), c.cq) << c.call;
    EXPECT_EQ(Working().ItuZone(), c.itu) << c.call;
    EXPECT_EQ(Working().DxccNumber(), c.dxcc) << c.call;
  }
  EXPECT_EQ(Working().CountryName(), "Canary Islands");  // the last call's entry
}

TEST_F(CtyImportTest, MissingFileIsReported) {
  CtyImportCounts counts;
  std::string error;
  EXPECT_FALSE(ImportCtyFile(Path("none.csv"), &counts, &error));
  EXPECT_NE(error.find("none.csv"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Path("FHPREFIX.DAT"))) << "nothing is touched";
}

TEST_F(CtyImportTest, FileWithoutPrefixesLeavesTheDatabaseAlone) {
  CtyImportCounts counts;
  std::string error;
  ASSERT_TRUE(ImportCtyFile(Fixture("cty_small.csv"), &counts, &error)) << error;
  const auto before_main = ReadText(Path("FHPREFIX.DAT"));
  const auto before_calls = ReadText(Path("FHPREFEE.DAT"));
  std::string random_bytes;
  for (int i = 0; i < 4000; ++i) random_bytes += static_cast<char>((i * 7919 + 13) % 251);
  const struct {
    const char* label;
    std::string content;  // empty label of a directory below
    bool directory;
  } cases[] = {
      {"empty file", "", false},
      {"blank lines", "\n  \n\t\n\r\n", false},
      {"a directory", "", true},
      {"random bytes", random_bytes, false},
      {"too few fields", "DL,Germany,230,EU,14,28\nK,USA,291\n", false},
      {"one line of commas", std::string(100000, ','), false},
  };
  for (const auto& c : cases) {
    const std::string source = Path("bad.csv");
    std::filesystem::remove_all(source);
    if (c.directory) {
      std::filesystem::create_directory(source);
    } else {
      std::ofstream(source, std::ios::binary) << c.content;
    }
    error.clear();
    EXPECT_FALSE(ImportCtyFile(source, &counts, &error)) << c.label;
    EXPECT_FALSE(error.empty()) << c.label;
    EXPECT_EQ(ReadText(Path("FHPREFIX.DAT")), before_main) << c.label;
    EXPECT_EQ(ReadText(Path("FHPREFEE.DAT")), before_calls) << c.label;
    EXPECT_FALSE(std::filesystem::exists(Path("FHPREFIX-NEU.DAT"))) << c.label << ": no side files are left";
  }
  ASSERT_TRUE(OpenFHPREFIX());
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhprefix)->RecordCount(), 7);
  CloseFHPREFIX();
}

TEST_F(CtyImportTest, PrefixesWithoutWholeCallsLeaveAnEmptyOverlay) {
  CtyImportCounts counts;
  std::string error;
  ASSERT_TRUE(ImportCtyFile(Fixture("cty_small.csv"), &counts, &error)) << error;
  std::ofstream(Path("prefixes.csv"), std::ios::binary) << "DL,Germany,230,EU,14,28,51.0,-10.0,-1.0,DL DA Y2;\n";
  ASSERT_TRUE(ImportCtyFile(Path("prefixes.csv"), &counts, &error)) << error;
  EXPECT_EQ(counts.prefixes, 3);
  EXPECT_EQ(counts.whole_calls, 0);
  ASSERT_TRUE(OpenFHPREFEE());
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhprefee)->RecordCount(), 0);
  CloseFHPREFEE();
  const FileblockLayout* overlay = FindCatalogueLayout(Path("FHPREFEE"));
  ASSERT_NE(overlay, nullptr);
  EXPECT_TRUE(CheckFileblock(Path("FHPREFEE"), overlay).ok());
}

TEST_F(CtyImportTest, RealCountryFile) {
  if (!std::filesystem::exists(kRealFile)) GTEST_SKIP() << "hamradio-files is not installed";
  CtyImportCounts counts;
  std::string error;
  ASSERT_TRUE(ImportCtyFile(kRealFile, &counts, &error)) << error;
  EXPECT_GT(counts.prefixes, 1000);
  EXPECT_EQ(counts.bad_lines, 0);
  ASSERT_TRUE(OpenFHPREFIX());
  const struct {
    const char* call;
    const char* entity;
    const char* continent;
    const char* dxcc;  // "" = not checked
  } cases[] = {
      {"DL1ABC", "DL", "EU", "230"},
      {"K1ABC", "K", "NA", "291"},
      {"EA8/DL1ABC", "EA8", "AF", ""},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(ResolvePrefix(c.call, 0, 0, nullptr), 0) << c.call;
    const std::string entity = Working().EntityPrefix();
    EXPECT_EQ(entity, c.entity) << c.call;
    EXPECT_EQ(Working().ContinentCode(), c.continent) << c.call;
    if (*c.dxcc) {
      EXPECT_EQ(TrimBlanks(DxccNumberOfPrefix(entity)), c.dxcc) << c.call;
    }
  }
  EXPECT_EQ(ResolvePrefix("Q1ABC", 0, 0, nullptr), 1);
}

}  // namespace
}  // namespace kontura::testing
