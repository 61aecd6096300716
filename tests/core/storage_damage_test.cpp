// Damaged, truncated and interrupted files: every fault is reported through
// the error state as a damaged file (or repaired by the rebuild), nothing is
// read outside a buffer, and no record stored before the fault is lost
// except what the rebuild lists in ".MSG".

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "storage/file_layout.h"
#include "storage/integrity_check.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/storage_fixture.h"

namespace kontura::testing {
namespace {

using namespace layout;

class StorageDamageTest : public StorageTest {
 protected:
  // A closed fileblock TREC with records "r1".."rN" (group cycling).
  void Build(int n, bool flush = false) {
    Fileblock* fb = OpenTrec("TREC", flush);
    for (int i = 1; i <= n; ++i) ASSERT_EQ(Add(fb, "r" + std::to_string(i), "g" + std::to_string(i % 5)), i);
    Close(fb);
  }

  // Opens TREC and expects exactly the names r1..rN (in name order on key
  // 2), and a clean integrity check afterwards.
  void ExpectIntact(int n, const std::set<int>& missing = {}) {
    Fileblock* fb = OpenTrec();
    std::set<std::string> names;
    for (fb->First(2); StorageErrorClass() == 0; fb->Next(2)) names.insert(Name(fb));
    std::set<std::string> expected;
    for (int i = 1; i <= n; ++i) {
      if (!missing.count(i)) expected.insert("r" + std::to_string(i));
    }
    EXPECT_EQ(names, expected);
    Close(fb);
    FileblockLayout known = trec::Known();
    CheckReport report = CheckFileblock(Path("TREC"), &known);
    for (const std::string& p : report.problems) ADD_FAILURE() << p;
  }

  // Walks every index; returns the fatal codes seen.
  std::vector<int> WalkAll() {
    fatal_codes.clear();
    Fileblock* fb = OpenTrec();
    for (int k = 1; k <= trec::kKeys && fatal_codes.empty(); ++k) {
      for (fb->First(k); StorageErrorClass() == 0; fb->Next(k)) {}
    }
    Close(fb);
    return fatal_codes;
  }

  void Patch(const std::string& file, size_t off, std::vector<uint8_t> bytes) {
    std::vector<uint8_t> b = ReadFile(Path(file));
    ASSERT_LE(off + bytes.size(), b.size());
    std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<long>(off));
    WriteFile(Path(file), b);
  }
  static std::vector<uint8_t> I32(int32_t v) {
    std::vector<uint8_t> b(4);
    PutI32(b.data(), 0, v);
    return b;
  }
  static std::vector<uint8_t> I16(int16_t v) {
    std::vector<uint8_t> b(2);
    PutI16(b.data(), 0, v);
    return b;
  }
  int32_t IndexHeaderField(int offset) { return GetI32(ReadFile(Path("TREC.IX")).data(), static_cast<size_t>(offset)); }
  // Byte offset of page p of index 1 (it lies at the start of every block).
  size_t Page1(int32_t p) {
    int block = 0;
    for (const KeySpec& k : trec::Keys()) block += PageSize(k.length, 62);
    return static_cast<size_t>(p) * static_cast<size_t>(block);
  }
};

TEST_F(StorageDamageTest, DamagedIndexPagesAreReportedAndRebuiltAfterTheIndexIsDeleted) {
  // 500 records: index 1 has a root with leaves below it.
  Build(500);
  const std::vector<uint8_t> dat = ReadFile(Path("TREC.DAT"));
  const std::vector<uint8_t> ix = ReadFile(Path("TREC.IX"));
  const int32_t root = IndexHeaderField(kIxRoot);
  const int32_t pages = IndexHeaderField(kIxPageCount);
  const size_t e0 = Page1(root) + EntryOffset(5, 0);
  const int32_t leaf = GetI32(ix.data(), Page1(root) + kPageLeft);
  ASSERT_GT(leaf, 0);
  const struct {
    const char* label;
    size_t off;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"entry count above the capacity", Page1(root) + kPageCount, I16(63)},
      {"negative entry count", Page1(root) + kPageCount, I16(-1)},
      {"non-root page without entries", Page1(leaf) + kPageCount, I16(0)},
      {"child page beyond the file", Page1(root) + kPageLeft, I32(pages + 7)},
      {"child page negative", Page1(root) + kPageLeft, I32(-3)},
      {"cycle back to the root", Page1(root) + kPageLeft, I32(root)},
      {"key length byte above the key length", e0 + kEntryKey, {51}},
      {"entries out of order", e0 + kEntryKey + 1, {0xFF}},
      {"leaf and inner entries mixed", e0 + kEntryRight, I32(0)},
  };
  for (const auto& c : cases) {
    WriteFile(Path("TREC.DAT"), dat);
    WriteFile(Path("TREC.IX"), ix);
    Patch("TREC.IX", c.off, c.bytes);
    // As the program's fatal handler does for 10070: delete the index file.
    SetFatalStorageHandler([this] {
      fatal_codes.push_back(StorageErrorCode());
      if (StorageErrorCode() == err::kShortRead) std::remove(Path("TREC.IX").c_str());
    });
    EXPECT_EQ(WalkAll(), std::vector<int>{err::kShortRead}) << c.label;
    EXPECT_FALSE(FileExists(Path("TREC.IX"))) << c.label;
    ExpectIntact(500);
  }
}

TEST_F(StorageDamageTest, DamagedHeadersAreRebuiltOrRefused) {
  Build(120);
  const std::vector<uint8_t> dat = ReadFile(Path("TREC.DAT"));
  const std::vector<uint8_t> ix = ReadFile(Path("TREC.IX"));
  const struct {
    const char* label;
    const char* file;
    size_t off;
    std::vector<uint8_t> bytes;
    int fatal;  // 0: repaired by the rebuild without loss
  } cases[] = {
      {"data: slot count beyond the file", "TREC.DAT", kDataSlotCount, I32(100000), 0},
      {"data: negative free count", "TREC.DAT", kDataFreeCount, I32(-4), 0},
      {"data: free head without free slots", "TREC.DAT", kDataFreeHead, I32(7), 0},
      {"data: modification flag", "TREC.DAT", kDataModified, {1}, 0},
      {"data: other record length", "TREC.DAT", kDataRecordLength, I32(41), err::kRecordLengthDiffers},
      {"data: 200 indexes", "TREC.DAT", kDataKeyCount, I32(200), err::kIndexTooManyKeys},
      {"index: page size not fitting", "TREC.IX", kIxPageSize, I32(1000), 0},
      {"index: root beyond the pages", "TREC.IX", kIxRoot, I32(9999), 0},
      {"index: page count beyond the file", "TREC.IX", kIxPageCount, I32(50000), 0},
      {"index: free chain head out of range", "TREC.IX", kIxFreeHead, I32(-9), 0},
      {"index: entry count negative", "TREC.IX", kIxEntryCount, I32(-1), 0},
      {"index: capacity 99", "TREC.IX", kIxCapacity, I16(99), err::kIndexCapacity},
      {"index: key length 51", "TREC.IX", kIxPageSize, I32(62 * 60 + 6), err::kIndexKeyLength},
  };
  for (const auto& c : cases) {
    WriteFile(Path("TREC.DAT"), dat);
    WriteFile(Path("TREC.IX"), ix);
    Patch(c.file, c.off, c.bytes);
    std::vector<int> fatal = WalkAll();
    if (c.fatal) {
      EXPECT_EQ(fatal, std::vector<int>{c.fatal}) << c.label;
      EXPECT_EQ(ReadFile(Path(c.file))[c.off], c.bytes[0]) << c.label << ": the files are left alone";
    } else {
      EXPECT_TRUE(fatal.empty()) << c.label;
      ExpectIntact(120);
    }
  }
}

TEST_F(StorageDamageTest, TruncatedFilesLoseOnlyWhatIsGone) {
  Build(300);
  const std::vector<uint8_t> dat = ReadFile(Path("TREC.DAT"));
  const std::vector<uint8_t> ix = ReadFile(Path("TREC.IX"));
  // Index cut in half, and cut inside block 0: the opening rebuilds it.
  for (size_t size : {ix.size() / 2, static_cast<size_t>(30), static_cast<size_t>(0)}) {
    WriteFile(Path("TREC.DAT"), dat);
    WriteFile(Path("TREC.IX"), std::vector<uint8_t>(ix.begin(), ix.begin() + static_cast<long>(size)));
    EXPECT_TRUE(WalkAll().empty()) << size;
    ExpectIntact(300);
  }
  // Data file cut inside record 201: records 201..300 are gone, no others.
  WriteFile(Path("TREC.IX"), ix);
  WriteFile(Path("TREC.DAT"), std::vector<uint8_t>(dat.begin(), dat.begin() + 201 * trec::kLength + 17));
  EXPECT_TRUE(WalkAll().empty());
  std::set<int> gone;
  for (int i = 201; i <= 300; ++i) gone.insert(i);
  ExpectIntact(300, gone);
}

TEST_F(StorageDamageTest, BrokenFreeChainsAreReported) {
  Build(200);
  Fileblock* fb = OpenTrec();
  for (int ref : {10, 20, 30}) {
    fb->ReadByRef(ref);
    fb->DeleteRecord(kAfterNone);
  }
  // Empty some leaves of index 1 so that pages are freed.
  for (int ref = 40; ref <= 150; ++ref) {
    fb->ReadByRef(ref);
    fb->DeleteRecord(kAfterNone);
  }
  Close(fb);
  const std::vector<uint8_t> dat = ReadFile(Path("TREC.DAT"));
  const std::vector<uint8_t> ix = ReadFile(Path("TREC.IX"));
  const int32_t free_page = IndexHeaderField(kIxFreeHead);
  ASSERT_GT(free_page, 0);
  const struct {
    const char* label;
    const char* file;
    size_t off;
    int32_t link;
  } cases[] = {
      {"data: link beyond the slots", "TREC.DAT", 150u * trec::kLength, 5000},
      {"data: link 0", "TREC.DAT", 150u * trec::kLength, 0},
      {"index: link beyond the pages", "TREC.IX", Page1(free_page), 777},
      {"index: link below -1", "TREC.IX", Page1(free_page), -2},
  };
  for (const auto& c : cases) {
    WriteFile(Path("TREC.DAT"), dat);
    WriteFile(Path("TREC.IX"), ix);
    Patch(c.file, c.off, I32(c.link));
    fatal_codes.clear();
    fb = OpenTrec();
    // Adds allocate slots and pages from the chains.
    for (int i = 0; i < 200 && fatal_codes.empty(); ++i) Add(fb, "new" + std::to_string(i), "g");
    Close(fb);
    EXPECT_EQ(fatal_codes, std::vector<int>{err::kFreeChain}) << c.label;
    // The flag was set before the failing allocation: the next opening
    // rebuilds, with every record that was stored.
    Fileblock* again = OpenTrec();
    EXPECT_GE(again->RecordCount(), 200 - 114) << c.label;
    Close(again);
    FileblockLayout known = trec::Known();
    EXPECT_TRUE(CheckFileblock(Path("TREC"), &known).ok()) << c.label;
  }
}

TEST_F(StorageDamageTest, ShortWritesAreFatalAndTheNextOpeningRepairs) {
  // With flush-after-write every returned add is on disk; a write cut short
  // at any point of the next add loses nothing of them.
  for (int64_t budget : {0, 3, 21, 40, 100, 500, 1500, 3000}) {
    std::remove(Path("TREC.DAT").c_str());
    std::remove(Path("TREC.IX").c_str());
    Build(150, true);
    FaultyFileSystem faulty;
    SetStorageFileSystem(&faulty);
    Fileblock* fb = OpenTrec("TREC", true);
    fb->RecordCount();
    faulty.write_budget = budget;
    fatal_codes.clear();
    for (int i = 0; i < 100 && fatal_codes.empty(); ++i) Add(fb, "x" + std::to_string(i), "g");
    EXPECT_EQ(fatal_codes, std::vector<int>{err::kShortWrite}) << budget;
    Close(fb);
    SetStorageFileSystem(nullptr);
    Fileblock* again = OpenTrec();
    std::set<std::string> names;
    for (again->First(2); StorageErrorClass() == 0; again->Next(2)) names.insert(Name(again));
    Close(again);
    for (int i = 1; i <= 150; ++i) EXPECT_TRUE(names.count("r" + std::to_string(i))) << budget << " r" << i;
    FileblockLayout known = trec::Known();
    CheckReport report = CheckFileblock(Path("TREC"), &known);
    for (const std::string& p : report.problems) ADD_FAILURE() << budget << ": " << p;
  }
}

TEST_F(StorageDamageTest, InterruptedReorganisationAndLeftoverFiles) {
  Build(40);
  // ".SAV" beside ".DAT": refused, both left alone.
  std::vector<uint8_t> dat = ReadFile(Path("TREC.DAT"));
  WriteFile(Path("TREC.SAV"), dat);
  Patch("TREC.DAT", kDataModified, {1});
  EXPECT_EQ(WalkAll(), std::vector<int>{err::kSavBesideDat});
  EXPECT_TRUE(FileExists(Path("TREC.SAV")));
  // ".SAV" without ".DAT": the copy of an interrupted run is used.
  std::remove(Path("TREC.DAT").c_str());
  EXPECT_TRUE(WalkAll().empty());
  EXPECT_FALSE(FileExists(Path("TREC.SAV")));
  ExpectIntact(40);
  // A leftover journal is refused.
  WriteFile(Path("TREC.DIA"), {1, 2, 3});
  EXPECT_EQ(WalkAll(), std::vector<int>{err::kOsError});
  std::remove(Path("TREC.DIA").c_str());
  // An empty data file beside an ".ALT" copy: the copy replaces it and the
  // index is rebuilt.
  WriteFile(Path("TREC.ALT"), ReadFile(Path("TREC.DAT")));
  WriteFile(Path("TREC.DAT"), {});
  WriteFile(Path("TREC.IX"), {9, 9, 9});
  ExpectIntact(40);
  EXPECT_FALSE(FileExists(Path("TREC.ALT")));
  // An empty data file without one: a new, empty fileblock.
  WriteFile(Path("TREC.DAT"), {});
  ExpectIntact(0);
}

TEST_F(StorageDamageTest, RebuildCompactsAndLogsCollisions) {
  Build(6);
  Fileblock* fb = OpenTrec();
  fb->ReadByRef(2);
  fb->DeleteRecord(kAfterNone);
  fb->ReadByRef(4);
  PutPStr(fb->RecordBuffer(), trec::kName, 10, "r5x");
  fb->UpdateRecord();
  Close(fb);
  // Record 4 gets the name of record 5 behind the engine's back, and the
  // flag asks for a rebuild.
  Patch("TREC.DAT", 4 * trec::kLength + trec::kName, {2, 'r', '5'});
  Patch("TREC.DAT", kDataModified, {1});
  std::vector<uint8_t> slot5 = ReadFile(Path("TREC.DAT"));
  slot5 = std::vector<uint8_t>(slot5.begin() + 5 * trec::kLength, slot5.begin() + 6 * trec::kLength);
  fb = OpenTrec();
  EXPECT_EQ(fb->RecordCount(), 4);
  std::vector<std::string> by_number;
  for (int32_t n = 1; n <= 5; ++n) {
    fb->ReadByRef(n);
    by_number.push_back(StorageErrorClass() == 0 ? Name(fb) : "-");
  }
  // Renumbered in the old order; the colliding record (new number 4) is gone.
  EXPECT_EQ(by_number, (std::vector<std::string>{"r1", "r3", "r5", "-", "r6"}));
  Close(fb);
  // The first record in slot order keeps the key; the later one is dumped.
  std::string msg;
  for (uint8_t b : ReadFile(Path("TREC.MSG"))) msg += static_cast<char>(b);
  std::string expected = "Key:<r5        > KeyNr: 2 Ref: 4 not added\r\nData record deleted - Dump follows\r\n" +
                         std::string(slot5.begin(), slot5.end()) + "\r\n";
  EXPECT_EQ(msg, expected);
  FileblockLayout known = trec::Known();
  EXPECT_TRUE(CheckFileblock(Path("TREC"), &known).ok());
}

TEST_F(StorageDamageTest, ChangedKeyDefinitionsRebuildAndOtherRecordLengthFails) {
  Build(30);
  // Key 4 now 3 bytes long: rebuilt, every record kept.
  Fileblock* fb = OpenFileblock("TREC", Path("TREC"), false, false, false, true, trec::kLength, trec::kKeys, nullptr,
                                trec::kLength, trec::KeyOf, 32);
  m_open.push_back(fb);
  for (int k = 1; k <= 4; ++k) fb->DefineKey(k, k == 4 ? 3 : trec::Keys()[k - 1].length, trec::Keys()[k - 1].duplicates);
  EXPECT_EQ(fb->RecordCount(), 30);
  EXPECT_EQ(fb->KeyCount(4), 30);
  fb->First(1);
  EXPECT_EQ(Name(fb), "r1") << "records keep their order";
  Close(fb);
  fatal_codes.clear();
  fb = OpenFileblock("TREC", Path("TREC"), false, false, false, true, 50, 1, nullptr, 50, trec::KeyOf, 32);
  m_open.push_back(fb);
  fb->DefineKey(1, 5, false);
  fb->First(1);
  EXPECT_EQ(fatal_codes, std::vector<int>{err::kRecordLengthDiffers});
}

TEST_F(StorageDamageTest, FilesHeldByAnotherProcessAreRefused) {
  Build(3);
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t child = fork();
  if (child == 0) {
    int fd = open(Path("TREC.DAT").c_str(), O_RDWR);
    flock(fd, LOCK_EX);
    (void)!write(ready[1], "x", 1);
    pause();
    _exit(0);
  }
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  fatal_codes.clear();
  Fileblock* fb = OpenTrec();
  fb->First(1);
  EXPECT_EQ(fatal_codes, std::vector<int>{err::kOsError});
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
  fatal_codes.clear();
  fb->First(1);
  EXPECT_EQ(StorageErrorClass(), 0) << "usable once the other process is gone";
}

TEST_F(StorageDamageTest, MissingFilesAndPaths) {
  fatal_codes.clear();
  Fileblock* fb = OpenFileblock("NOCREATE", Path("NOCREATE"), false, false, false, false, 40, 0, nullptr, 40, nullptr, 0);
  m_open.push_back(fb);
  fb->RecordCount();
  EXPECT_EQ(StorageErrorCode(), err::kFileNotFound);
  EXPECT_EQ(StorageErrorClass(), 1);
  // A directory that does not exist: class 2, retried, then the handler is
  // asked with situation 8; its "no" ends the call softly.
  Fileblock* lost = OpenFileblock("LOST", Path("nodir/LOST"), false, false, false, true, 40, 0, nullptr, 40, nullptr, 0);
  m_open.push_back(lost);
  std::vector<int> situations;
  lost->SetLockRetryHandler([&](const std::string& name, int s) {
    EXPECT_EQ(name, "LOST");
    situations.push_back(s);
    return s == situation::kCreate || std::count(situations.begin(), situations.end(), s) < 2;
  }, 2);
  lost->RecordCount();
  EXPECT_EQ(StorageErrorCode(), err::kPathNotFound);
  EXPECT_EQ(StorageErrorClass(), 2);
  EXPECT_EQ(situations, (std::vector<int>{situation::kCreate, situation::kCreate, situation::kCreate,
                                          situation::kPathNotFound, situation::kCreate, situation::kCreate,
                                          situation::kCreate, situation::kPathNotFound}));
  EXPECT_TRUE(fatal_codes.empty());
}

TEST_F(StorageDamageTest, VariableLengthRecordsUseContinuationSlots) {
  const int S = 60, B = 400;
  auto key = [](const uint8_t* r, int) { return NumberToKey(GetI32(r, 4)); };
  Fileblock* fb = OpenFileblock("VPRO", Path("VPRO"), false, false, true, true, S, 1, nullptr, B, key, 32);
  m_open.push_back(fb);
  fb->DefineKey(1, 5, false);
  fb->SetCounterField(1, 4);
  const size_t lengths[] = {10, 54, 55, 200, 400};
  for (size_t len : lengths) {
    fb->ClearBuffer();
    for (size_t i = 8; i < len; ++i) fb->RecordBuffer()[i] = static_cast<uint8_t>(1 + i % 250);
    fb->AddRecord();
    ASSERT_EQ(StorageErrorClass(), 0) << len;
  }
  auto expect_record = [&](int32_t n, size_t len) {
    fb->FindExact(1, NumberToKey(n));
    ASSERT_EQ(StorageErrorClass(), 0);
    for (size_t i = 8; i < B; ++i) ASSERT_EQ(fb->RecordBuffer()[i], i < len ? 1 + i % 250 : 0) << n << " byte " << i;
  };
  for (int32_t n = 1; n <= 5; ++n) expect_record(n, lengths[n - 1]);
  // Shrinking record 5 and deleting record 4 free their chains.
  fb->FindExact(1, NumberToKey(5));
  std::memset(fb->RecordBuffer() + 100, 0, B - 100);
  fb->UpdateRecord();
  expect_record(5, 100);
  fb->FindExact(1, NumberToKey(4));
  fb->DeleteRecord(kAfterNone);
  Close(fb);
  std::vector<uint8_t> dat = ReadFile(Path("VPRO.DAT"));
  int32_t free_slots = GetI32(dat.data(), kDataFreeCount);
  EXPECT_GT(free_slots, 5) << "chains went back to the free chain";
  // A rebuild copies whole records with their chains.
  Patch("VPRO.DAT", kDataModified, {1});
  fb = OpenFileblock("VPRO", Path("VPRO"), false, false, true, true, S, 1, nullptr, B, key, 32);
  m_open.push_back(fb);
  fb->DefineKey(1, 5, false);
  EXPECT_EQ(fb->RecordCount(), 4);
  expect_record(1, 10);
  expect_record(3, 55);
  expect_record(5, 100);
}


TEST_F(StorageDamageTest, RecordWithABrokenChainIsReportedByTheRebuild) {
  const int S = 60, B = 400;
  auto key = [](const uint8_t* r, int) { return NumberToKey(GetI32(r, 4)); };
  auto open = [&] {
    Fileblock* fb = OpenFileblock("VPRO", Path("VPRO"), false, false, true, true, S, 1, nullptr, B, key, 32);
    m_open.push_back(fb);
    fb->DefineKey(1, 5, false);
    fb->SetCounterField(1, 4);
    return fb;
  };
  Fileblock* fb = open();
  for (size_t len : {10, 300, 20}) {
    fb->ClearBuffer();
    for (size_t i = 8; i < len; ++i) fb->RecordBuffer()[i] = 'x';
    fb->AddRecord();
    ASSERT_EQ(StorageErrorClass(), 0);
  }
  Close(fb);
  // Record 2 continues in slot 3; its link now points far beyond the file.
  std::vector<uint8_t> bad(4);
  PutI32(bad.data(), 0, 999999);
  Patch("VPRO.DAT", 2 * S + S - kVarNextFromEnd, bad);
  Patch("VPRO.DAT", kDataModified, {1});

  fb = open();
  EXPECT_EQ(fb->RecordCount(), 2) << "records 1 and 3 survive";
  std::string msg;
  for (uint8_t b : ReadFile(Path("VPRO.MSG"))) msg += static_cast<char>(b);
  EXPECT_NE(msg.find("Ref: 2 continuation chain damaged, not copied\r\nData record deleted - Dump follows\r\n"),
            std::string::npos)
      << msg;
  EXPECT_TRUE(fatal_codes.empty());
}

}  // namespace
}  // namespace kontura::testing
