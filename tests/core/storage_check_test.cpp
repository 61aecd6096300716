// The integrity check finds each kind of damage it promises, and reports a
// sound fileblock as OK.

#include "storage/file_layout.h"
#include "storage/integrity_check.h"
#include "tests/support/storage_fixture.h"

namespace kontura::testing {
namespace {

using namespace layout;

TEST_F(StorageTest, IntegrityCheckFindsEachKindOfDamage) {
  Fileblock* fb = OpenTrec();
  for (int i = 1; i <= 300; ++i) Add(fb, "r" + std::to_string(i), "g");
  for (int ref = 100; ref <= 180; ++ref) {  // frees pages of index 1 and slots
    fb->ReadByRef(ref);
    fb->DeleteRecord(kAfterNone);
  }
  Close(fb);
  FileblockLayout known = trec::Known();
  CheckReport clean = CheckFileblock(Path("TREC.DAT"), &known);
  ASSERT_TRUE(clean.ok());
  EXPECT_EQ(FormatCheckReport(clean), "OK: 219 records, 4 indexes\n");

  const std::vector<uint8_t> dat = ReadFile(Path("TREC.DAT"));
  const std::vector<uint8_t> ix = ReadFile(Path("TREC.IX"));
  const int32_t root = GetI32(ix.data(), kIxRoot);
  const int32_t free_page = GetI32(ix.data(), kIxFreeHead);
  int block = 0;
  for (const KeySpec& k : trec::Keys()) block += PageSize(k.length, 62);
  auto page = [&](int32_t p) { return static_cast<size_t>(p) * static_cast<size_t>(block); };
  const int32_t first_leaf = GetI32(ix.data(), page(root) + kPageLeft);
  ASSERT_GT(free_page, 0);
  struct Case {
    const char* label;
    bool index_file;
    size_t off;
    int32_t value;
    int width;
    const char* problem;  // part of the expected problem line
  };
  const Case cases[] = {
      {"entry count of the header", true, kIxEntryCount, 5, 4, "entries in the tree, the header says 5"},
      {"free page also in the tree", true, kIxFreeHead, first_leaf, 4, "both in the tree and on the free-page chain"},
      {"entry naming a deleted record", true, page(first_leaf) + EntryOffset(5, 0) + kEntryRef, 150, 4, "not live"},
      {"key differing from its record", true, page(first_leaf) + EntryOffset(5, 0) + kEntryKey + 5, 0x9F, 1,
       "differs from its record"},
      {"keys out of order", true, page(first_leaf) + EntryOffset(5, 1) + kEntryKey + 5, 0x80, 1, "out of key order"},
      {"free slot count", false, kDataFreeCount, 3, 4, "free chain holds 81 slots, the header says 3"},
      {"interrupted change", false, kDataModified, 1, 1, "modification flag set"},
      {"record without entry", true, page(first_leaf) + EntryOffset(5, 0) + kEntryRef, 2, 4, "record 1 has no entry"},
      {"record with two entries", true, page(first_leaf) + EntryOffset(5, 0) + kEntryRef, 2, 4,
       "record 2 has more than one entry"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> d = dat, x = ix;
    std::vector<uint8_t>& target = c.index_file ? x : d;
    if (c.width == 4) PutI32(target.data(), c.off, c.value); else target[c.off] = static_cast<uint8_t>(c.value);
    WriteFile(Path("TREC.DAT"), d);
    WriteFile(Path("TREC.IX"), x);
    CheckReport report = CheckFileblock(Path("TREC"), &known);
    std::string text = FormatCheckReport(report);
    EXPECT_NE(text.find(c.problem), std::string::npos) << c.label << ":\n" << text;
    std::string last = "DAMAGED: " + std::to_string(report.problems.size()) + " problems\n";
    EXPECT_EQ(text.substr(text.size() - last.size()), last) << c.label;
  }
}

}  // namespace
}  // namespace kontura::testing
