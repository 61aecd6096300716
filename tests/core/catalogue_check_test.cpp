// The integrity check knows the program's fileblocks by file name: every
// index entry of a file written through the openers matches the key its
// record builds, and a record changed behind the engine's back is found.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "storage/fileblock_layout.h"
#include "storage/integrity_check.h"
#include "tests/support/catalogue_ids.h"
#include "tests/support/start_dir_fixture.h"

namespace kontura::testing {
namespace {

class CatalogueCheckTest : public StartDirTest {
 protected:
  void SetUp() override {
    StartDirTest::SetUp();
    ASSERT_TRUE(StartStorage());
    InstallProgramCatalogue();
  }

  // Two records that differ in every byte the program writes; string
  // length bytes above their capacities are clamped by the key builders.
  void WriteTwoRecords(const FileblockLayout& e) {
    ASSERT_TRUE(OpenCatalogued(IdOf(e), e.numbered ? TestFileName(e) : std::string()));
    Fileblock* fb = CatalogueHandle(IdOf(e));
    for (uint8_t fill : {uint8_t{'A'}, uint8_t{'B'}}) {
      fb->ClearBuffer();
      std::fill(fb->RecordBuffer() + 4, fb->RecordBuffer() + e.record_length, fill);
      fb->AddRecord();
      ASSERT_EQ(StorageErrorClass(), 0) << StorageErrorCode();
    }
    CloseCatalogued(IdOf(e));
  }
};

TEST_F(CatalogueCheckTest, EveryFileblockWrittenByTheProgramPasses) {
  for (const FileblockLayout& e : ProgramCatalogue()) {
    const std::string name = TestFileName(e);
    SCOPED_TRACE(name);
    WriteTwoRecords(e);
    const FileblockLayout* known = FindCatalogueLayout(Path(name + ".DAT"));
    ASSERT_NE(known, nullptr);
    EXPECT_EQ(known->record_length, e.record_length);
    EXPECT_EQ(known->keys.size(), e.keys.size());
    CheckReport report = CheckFileblock(Path(name), known);
    EXPECT_TRUE(report.ok()) << FormatCheckReport(report);
    EXPECT_EQ(report.records, 2);
    EXPECT_EQ(report.indexes, static_cast<int>(e.keys.size()));
  }
  EXPECT_TRUE(exit_codes.empty());
}

TEST_F(CatalogueCheckTest, RecordChangedBehindTheIndexIsFound) {
  struct Case {
    CatalogueId id;
    size_t offset;  // of the changed byte in record 2 (the main slot for FHPRO)
    const char* problem;
  };
  const Case cases[] = {
      {CatalogueId::kFhkk, 25, "index 1: entry key of record 2 differs from its record"},
      {CatalogueId::kFhlk, 9, "index 2: entry key of record 2 differs from its record"},
      {CatalogueId::kFhlktemp, 4, "index 1: entry key of record 2 differs from its record"},
      // Variable length: the record is joined from its chain first.
      {CatalogueId::kFhpro, 9, "index 2: entry key of record "},
      {CatalogueId::kFhcbuch, 5, "index 1: entry key of record 2 differs from its record"},
  };
  for (const Case& c : cases) {
    const FileblockLayout& e = CatalogueLayout(c.id);
    const std::string name = TestFileName(e);
    SCOPED_TRACE(name);
    WriteTwoRecords(e);
    // Record 2 starts at the second main slot; for FHPRO that follows the
    // first record's continuation slots.
    std::vector<int32_t> mains;
    {
      ASSERT_TRUE(OpenCatalogued(IdOf(e), c.id == CatalogueId::kFhlk ? name : std::string()));
      Fileblock* fb = CatalogueHandle(IdOf(e));
      for (fb->First(1); StorageErrorClass() == 0; fb->Next(1)) mains.push_back(fb->CurrentRef());
      CloseCatalogued(IdOf(e));
    }
    ASSERT_EQ(mains.size(), 2u);
    {
      std::fstream f(Path(name + ".DAT"), std::ios::binary | std::ios::in | std::ios::out);
      f.seekp(static_cast<std::streamoff>(static_cast<size_t>(mains[1]) * static_cast<size_t>(e.record_length) +
                                          c.offset));
      f.put('Z');
    }
    CheckReport report = CheckFileblock(Path(name), FindCatalogueLayout(Path(name)));
    ASSERT_FALSE(report.ok());
    EXPECT_EQ(report.problems[0].rfind(c.problem, 0), 0u) << FormatCheckReport(report);
  }
}

TEST_F(CatalogueCheckTest, BrokenChainOfAVariableLengthRecordIsReported) {
  const FileblockLayout& e = CatalogueLayout(CatalogueId::kFhpro);
  WriteTwoRecords(e);
  // Record 1 fills slot 1 and its continuation slots; its main slot now
  // names a continuation slot far beyond the file.
  {
    std::fstream f(Path("FHPRO.DAT"), std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(static_cast<std::streamoff>(2 * e.record_length - 4));
    const char next[4] = {0x63, 0, 0, 0};
    f.write(next, 4);
  }
  CheckReport report = CheckFileblock(Path("FHPRO"), FindCatalogueLayout(Path("FHPRO")));
  ASSERT_EQ(report.problems.size(), 1u) << FormatCheckReport(report);
  EXPECT_EQ(report.problems[0], "record 1: continuation chain broken at slot 99");
}

}  // namespace
}  // namespace kontura::testing
