// The integrity check finds each kind of damage it promises, and reports a
// sound fileblock as OK.

#include <algorithm>
#include <functional>

#include "storage/file_layout.h"
#include "storage/index_file.h"
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

TEST_F(StorageTest, IntegrityCheckOnHostileHeadersAndTrailingBytes) {
  Fileblock* fb = OpenTrec();
  for (int i = 1; i <= 3; ++i) Add(fb, "r" + std::to_string(i), "g");
  Close(fb);
  const std::vector<uint8_t> dat = ReadFile(Path("TREC.DAT"));
  const std::vector<uint8_t> ix = ReadFile(Path("TREC.IX"));
  std::vector<KeySpec> five = trec::Keys();
  five.push_back(KeySpec{5, true});
  const std::vector<uint8_t> five_headers = IndexFile::EmptyHeaderBlock(five);
  const size_t index3 = static_cast<size_t>(PageSize(5, 62) + PageSize(10, 62));
  using Files = std::pair<std::vector<uint8_t>, std::vector<uint8_t>>;
  struct Case {
    const char* label;
    std::function<void(Files&)> damage;
    const char* line;  // part of the expected problem or warning
    bool damaged;
  };
  const Case cases[] = {
      {"zero slot behind the data file", [](Files& f) { f.first.resize(f.first.size() + trec::kLength); },
       "40 bytes beyond the 3 slots the data header gives", true},
      {"block behind the index file", [&](Files& f) { f.second.resize(f.second.size() + five_headers.size()); },
       "bytes beyond the 1 pages the index headers give", true},
      {"free count 0x80000000", [](Files& f) { PutI32(f.first.data(), kDataFreeCount, INT32_MIN); },
       "live records 3, header gives 2147483651", true},
      {"more indexes than the fileblock has",
       [&](Files& f) {
         PutI32(f.first.data(), kDataKeyCount, 5);
         f.second = five_headers;
       },
       "index count 5, expected 4", true},
      {"padding behind the data header", [](Files& f) { f.first[kDataHeaderBytes + 3] = 7; },
       "warning: data header slot: byte 24 is not zero", false},
      {"padding behind an index header", [](Files& f) { f.second[kIndexHeaderBytes] = 1; },
       "warning: index 1: block 0 behind the header: byte 28 is not zero", false},
      {"duplicates flag 2", [&](Files& f) { f.second[index3 + kIxDuplicates] = 2; },
       "warning: index 3: duplicates flag 2", false},
      // Blanks behind "g" keep the keys built from the cut string as they were.
      {"string length byte above its field",
       [](Files& f) {
         uint8_t* group = f.first.data() + 2 * trec::kLength + trec::kGroup;
         group[0] = 200;
         std::fill(group + 2, group + 11, ' ');
       },
       "warning: slot 2: string at byte 19 has length 200, its field holds 10", false},
  };
  FileblockLayout known = trec::Known();
  for (const Case& c : cases) {
    Files f{dat, ix};
    c.damage(f);
    WriteFile(Path("TREC.DAT"), f.first);
    WriteFile(Path("TREC.IX"), f.second);
    CheckReport report = CheckFileblock(Path("TREC"), &known);
    std::string text = FormatCheckReport(report);
    EXPECT_NE(text.find(c.line), std::string::npos) << c.label << ":\n" << text;
    EXPECT_EQ(report.ok(), !c.damaged) << c.label << ":\n" << text;
  }
}

TEST_F(StorageTest, IntegrityCheckOfFilesInUseSaysSo) {
  Fileblock* fb = OpenTrec();
  Add(fb, "r1", "g");  // the engine now holds both files
  FileblockLayout known = trec::Known();
  CheckReport report = CheckFileblock(Path("TREC"), &known);
  EXPECT_TRUE(report.in_use);
  std::string text = FormatCheckReport(report);
  EXPECT_NE(text.find("IN USE"), std::string::npos) << text;
  EXPECT_EQ(text.find("DAMAGED"), std::string::npos) << text;
  Close(fb);
  EXPECT_FALSE(CheckFileblock(Path("TREC"), &known).in_use);
}

}  // namespace
}  // namespace kontura::testing
