// The fileblock engine's operations: results, error codes and classes, and
// the edge cases of keys, numbering and positioning.

#include <climits>
#include <cstring>

#include "storage/file_manager.h"
#include "storage/integrity_check.h"
#include "tests/support/storage_fixture.h"

namespace kontura::testing {
namespace {

using namespace layout;

TEST(StorageErrorClass, ClassOfEveryCodeRange) {
  const struct {
    int code, cls;
  } cases[] = {{0, 0},         {9903, 1},     {10200, 1},    {10299, 1},    {10410, 1},   {9900, 2},
               {10065, 2},     {10399, 2},    {10001, 3},    {10009, 3},    {10070, 4},   {10140, 4},
               {10465, 4},     {0x2FFF, 4},   {0x3001, 1},   {0x3FFF, 1},   {0x4000, 2},  {0x5000, 3},
               {0x6020, 4},    {0x7003, 5},   {0x7062, 5},   {0x8000, 99},  {0xFFFF, 99}};
  for (const auto& c : cases) EXPECT_EQ(ErrorClassOf(c.code), c.cls) << c.code;
}

TEST(StorageErrorLog, KeepsFourEntriesAndTheHighestClass) {
  storage_detail::ResetErrors(nullptr);
  storage_detail::LogError(err::kNotFound, nullptr);
  storage_detail::LogError(err::kShortRead, nullptr);
  storage_detail::LogError(err::kNoNext, nullptr);
  storage_detail::LogError(err::kNoPrev, nullptr);
  storage_detail::LogError(err::kKeyPresent, nullptr);
  EXPECT_EQ(StorageErrorCount(), 4);
  EXPECT_EQ(StorageErrorAt(3).code, err::kKeyPresent) << "further errors overwrite the fourth entry";
  EXPECT_EQ(StorageErrorClass(), 4);
  EXPECT_EQ(StorageErrorCode(), err::kShortRead);
  storage_detail::ResetErrors(nullptr);
}

TEST_F(StorageTest, NewFileblockHasExactFileSizes) {
  // A QSO-log-like fileblock: 216-byte records, 27 keys.
  const int lengths[27] = {8, 22, 14, 5, 6, 14, 1, 6, 21, 7, 6, 6, 5, 2, 2, 2, 2, 8, 6, 6, 9, 7, 7, 6, 3, 3, 7};
  Fileblock* fb = OpenFileblock("FHLK0007", Path("FHLK0007"), false, false, false, true, 216, 27, nullptr, 216,
                                [](const uint8_t*, int) { return std::string("x"); }, 32);
  ASSERT_NE(fb, nullptr);
  m_open.push_back(fb);
  int64_t p_sum = 0;
  for (int k = 1; k <= 27; ++k) {
    fb->DefineKey(k, lengths[k - 1], k != 4);
    p_sum += 62 * (lengths[k - 1] + 9) + 6;
  }
  EXPECT_EQ(fb->RecordCount(), 0);
  EXPECT_EQ(StorageErrorClass(), 0);
  std::vector<uint8_t> dat = ReadFile(Path("FHLK0007.DAT"));
  std::vector<uint8_t> ix = ReadFile(Path("FHLK0007.IX"));
  ASSERT_EQ(dat.size(), 216u);
  EXPECT_EQ(static_cast<int64_t>(ix.size()), p_sum);
  EXPECT_EQ(GetI32(dat.data(), kDataFreeHead), -1);
  EXPECT_EQ(GetI32(dat.data(), kDataSlotCount), 0);
  EXPECT_EQ(GetI32(dat.data(), kDataRecordLength), 216);
  EXPECT_EQ(GetI32(dat.data(), kDataKeyCount), 27);
  EXPECT_EQ(dat[kDataModified], 0);
  // The header of index 4 (unique, 5 bytes) lies behind the pages of 1..3.
  const uint8_t* h4 = ix.data() + PageSize(8, 62) + PageSize(22, 62) + PageSize(14, 62);
  EXPECT_EQ(GetI32(h4, kIxFreeHead), -1);
  EXPECT_EQ(GetI32(h4, kIxPageSize), 62 * 14 + 6);
  EXPECT_EQ(h4[kIxDuplicates], 0);
  EXPECT_EQ(GetI16(h4, kIxCapacity), 62);
}

TEST_F(StorageTest, FreeChainReusesTheLastFreedSlot) {
  Fileblock* fb = OpenTrec();
  ASSERT_EQ(Add(fb, "A", "g"), 1);
  ASSERT_EQ(Add(fb, "B", "g"), 2);
  ASSERT_EQ(Add(fb, "C", "g"), 3);
  fb->ReadByRef(2);
  fb->DeleteRecord(kAfterNone);
  ASSERT_EQ(StorageErrorClass(), 0);
  fb->Flush();
  std::vector<uint8_t> dat = ReadFile(Path("TREC.DAT"));
  EXPECT_EQ(GetI32(dat.data(), kDataFreeHead), 2);
  EXPECT_EQ(GetI32(dat.data(), kDataFreeCount), 1);
  EXPECT_EQ(GetI32(dat.data(), kDataSlotCount), 3);
  EXPECT_EQ(GetI32(dat.data(), 2 * trec::kLength), -1);
  EXPECT_EQ(Add(fb, "D", "g"), 2);
  EXPECT_EQ(GetI32(fb->RecordBuffer(), trec::kNumber), 4) << "the counter continues after the highest number";
  EXPECT_EQ(fb->RecordCount(), 3);
}

TEST_F(StorageTest, CounterStartsAtOneAndReusesOnlyTheHighestNumber) {
  Fileblock* fb = OpenTrec();
  for (const char* n : {"A", "B", "C"}) Add(fb, n, "g");
  fb->FindExact(1, NumberToKey(3));
  fb->DeleteRecord(kAfterNone);
  Add(fb, "D", "g");
  EXPECT_EQ(GetI32(fb->RecordBuffer(), trec::kNumber), 3) << "highest number deleted: given again";
  fb->FindExact(1, NumberToKey(2));
  fb->DeleteRecord(kAfterNone);
  Add(fb, "E", "g");
  EXPECT_EQ(GetI32(fb->RecordBuffer(), trec::kNumber), 4) << "a lower number leaves a gap";
}

TEST_F(StorageTest, DuplicatesComeInRecordNumberOrder) {
  Fileblock* fb = OpenTrec();
  Add(fb, "r1", "BB");
  Add(fb, "r2", "AA");
  Add(fb, "r3", "BB");
  Add(fb, "r4", "BB");
  Add(fb, "r5", "CC");
  fb->FindExact(4, "BB");
  ASSERT_EQ(StorageErrorClass(), 0);
  std::vector<std::string> walk = {Name(fb)};
  for (fb->Next(4); StorageErrorClass() == 0; fb->Next(4)) walk.push_back(Name(fb));
  EXPECT_EQ(walk, (std::vector<std::string>{"r1", "r3", "r4", "r5"}));
  EXPECT_EQ(StorageErrorCode(), err::kNoNext);
  EXPECT_EQ(Name(fb), "r5") << "the current record stays the last one read";
  std::vector<std::string> back;
  for (fb->Last(4); StorageErrorClass() == 0; fb->Prev(4)) back.push_back(Name(fb));
  EXPECT_EQ(back, (std::vector<std::string>{"r5", "r4", "r3", "r1", "r2"}));
  EXPECT_EQ(StorageErrorCode(), err::kNoPrev);
}

TEST_F(StorageTest, FindResultsAndCodes) {
  Fileblock* fb = OpenTrec();
  Add(fb, "DL1ABC", "x");
  Add(fb, "DL1B", "x");
  Add(fb, "DM2XY", "x");
  const struct {
    const char* label;
    bool exact;
    std::string key;
    const char* found;  // nullptr: fails
    int code;
  } cases[] = {
      {"exact hit", true, trec::Pad("DL1B", 10), "DL1B", 0},
      {"exact needs the whole key", true, "DL1B", nullptr, err::kNotFound},
      {"prefix finds first starting with it", false, "DL1", "DL1ABC", 0},
      {"prefix without match gives next greater", false, "DL5", "DM2XY", 0},
      {"empty key gives the first", false, "", "DL1ABC", 0},
      {"past the end", false, "DZ", nullptr, err::kNoneAtOrAfter},
  };
  for (const auto& c : cases) {
    fb->ReadByRef(1);
    if (c.exact) fb->FindExact(2, c.key); else fb->FindAtLeast(2, c.key);
    if (c.found) {
      EXPECT_EQ(StorageErrorClass(), 0) << c.label;
      EXPECT_EQ(Name(fb), c.found) << c.label;
    } else {
      EXPECT_EQ(StorageErrorCode(), c.code) << c.label;
      EXPECT_EQ(StorageErrorClass(), 1) << c.label;
      EXPECT_EQ(Name(fb), "DL1ABC") << c.label << ": a failed find leaves the buffer";
    }
  }
}

TEST_F(StorageTest, EmptyFileblockWalkFailsAtFirstWithoutTouchingTheBuffer) {
  Fileblock* fb = OpenTrec();
  std::memset(fb->RecordBuffer(), 0x5A, trec::kLength);
  fb->First(1);
  EXPECT_EQ(StorageErrorClass(), 1);
  EXPECT_EQ(fb->RecordBuffer()[20], 0x5A);
  EXPECT_EQ(fb->CurrentRef(), -1);
  fb->Last(3);
  EXPECT_EQ(StorageErrorClass(), 1);
  EXPECT_TRUE(fatal_codes.empty());
}

TEST_F(StorageTest, AddWithPresentUniqueKeyLeavesNoTrace) {
  Fileblock* fb = OpenTrec("TREC", true);
  Add(fb, "SAME", "a");
  std::vector<uint8_t> dat = ReadFile(Path("TREC.DAT"));
  std::vector<uint8_t> ix = ReadFile(Path("TREC.IX"));
  EXPECT_EQ(Add(fb, "SAME", "b"), -1);
  EXPECT_EQ(StorageErrorCode(), err::kKeyPresent);
  EXPECT_EQ(StorageErrorClass(), 1);
  EXPECT_EQ(ReadFile(Path("TREC.DAT")), dat);
  EXPECT_EQ(ReadFile(Path("TREC.IX")), ix);
  EXPECT_EQ(fb->KeyCount(3), 1);
  EXPECT_EQ(fb->RecordCount(), 1);
}

TEST_F(StorageTest, UpdateMovesChangedKeysAndWritesNothingWhenUnchanged) {
  Fileblock* fb = OpenTrec("TREC", true);
  Add(fb, "OLD", "g1");
  Add(fb, "OTHER", "g1");
  fb->FindExact(2, trec::Pad("OLD", 10));
  std::vector<uint8_t> dat = ReadFile(Path("TREC.DAT"));
  fb->UpdateRecord();
  EXPECT_EQ(StorageErrorClass(), 0);
  EXPECT_EQ(ReadFile(Path("TREC.DAT")), dat) << "an unchanged buffer writes nothing";

  PutPStr(fb->RecordBuffer(), trec::kName, 10, "OTHER");
  fb->UpdateRecord();
  EXPECT_EQ(StorageErrorCode(), err::kKeyPresent) << "the new key is taken";
  PutPStr(fb->RecordBuffer(), trec::kName, 10, "NEW");
  PutPStr(fb->RecordBuffer(), trec::kGroup, 10, "g2");
  fb->UpdateRecord();
  ASSERT_EQ(StorageErrorClass(), 0);
  fb->FindExact(2, trec::Pad("OLD", 10));
  EXPECT_EQ(StorageErrorCode(), err::kNotFound);
  fb->FindExact(2, trec::Pad("NEW", 10));
  EXPECT_EQ(fb->CurrentRef(), 1);
  fb->FindAtLeast(4, "g2");
  EXPECT_EQ(Name(fb), "NEW");
  Close(fb);
  FileblockLayout known = trec::Known();
  EXPECT_TRUE(CheckFileblock(Path("TREC"), &known).ok());
}

TEST_F(StorageTest, DeletePositionsInTheLastKeyOrder) {
  Fileblock* fb = OpenTrec();
  for (const char* n : {"C", "A", "B"}) Add(fb, n, "g");
  fb->FindExact(2, trec::Pad("A", 10));
  fb->DeleteRecord(kAfterNext);
  EXPECT_EQ(StorageErrorClass(), 0);
  EXPECT_EQ(Name(fb), "B") << "the following record in name order";
  fb->Last(2);
  fb->DeleteRecord(kAfterNext);
  EXPECT_EQ(StorageErrorCode(), err::kNoNext) << "deleting the last record reports the end";
  EXPECT_EQ(StorageErrorClass(), 1);
  EXPECT_EQ(fb->CurrentRef(), -1);
  EXPECT_EQ(fb->RecordCount(), 1);
  fb->First(2);
  fb->DeleteRecord(kAfterPrev);
  EXPECT_EQ(StorageErrorCode(), err::kNoPrev);
  EXPECT_EQ(fb->RecordCount(), 0);
}

TEST_F(StorageTest, DeleteWithoutKeyUsePositionsByRecordNumber) {
  Fileblock* fb = OpenTrec();
  for (const char* n : {"A", "B", "C", "D"}) Add(fb, n, "g");
  fb->ReadByRef(2);
  fb->DeleteRecord(kAfterNext);
  EXPECT_EQ(fb->CurrentRef(), 3);
  fb->DeleteRecord(kAfterPrev);
  EXPECT_EQ(fb->CurrentRef(), 1);
  fb->DeleteRecord(kAfterLast);
  EXPECT_EQ(fb->CurrentRef(), 4);
  fb->ReadByRef(2);
  EXPECT_EQ(StorageErrorCode(), err::kRecordDeleted);
  EXPECT_EQ(fb->CurrentRef(), -1) << "CurrentRef is -1 after a failed call";
}

TEST_F(StorageTest, UsageErrorsAreFatal) {
  Fileblock* fb = OpenTrec();
  Add(fb, "A", "g");
  struct Case {
    const char* label;
    std::function<void()> call;
    int code;
  };
  std::vector<Case> cases = {
      {"add with non-zero status", [&] { fb->ClearBuffer(); fb->RecordBuffer()[0] = 1; fb->AddRecord(); }, 0x7011},
      {"delete after the buffer changed",
       [&] { fb->ReadByRef(1); fb->RecordBuffer()[30] ^= 1; fb->DeleteRecord(kAfterNext); }, 0x7050},
      {"update with non-zero status", [&] { fb->ReadByRef(1); fb->RecordBuffer()[0] = 1; fb->UpdateRecord(); }, 0x7014},
      {"define key number above the count", [&] { fb->DefineKey(5, 3, false); }, 0x7025},
      {"define key length 0", [&] { fb->DefineKey(1, 0, false); }, 0x702D},
      {"define key length above 50", [&] { fb->DefineKey(1, 51, false); }, 0x700D},
      {"counter field outside the buffer", [&] { fb->SetCounterField(1, 37); }, 28711},
      {"counter key not ending with the number", [&] { fb->SetCounterField(2, 4); }, 28726},
  };
  for (const Case& c : cases) {
    fatal_codes.clear();
    c.call();
    EXPECT_EQ(StorageErrorClass(), 5) << c.label;
    EXPECT_EQ(fatal_codes, std::vector<int>{c.code}) << c.label;
  }
  Fileblock* fresh = OpenTrec("FRESH");
  fatal_codes.clear();
  fresh->UpdateRecord();
  fresh->DeleteRecord(kAfterNext);
  fresh->Next(1);
  EXPECT_EQ(fatal_codes, (std::vector<int>{0x7013, 0x7016, 0x702B})) << "no current record";
}

TEST_F(StorageTest, OpenFileblockRefusesBadArguments) {
  OpenTrec("TAKEN");
  auto kb = trec::KeyOf;
  const struct {
    const char* label;
    std::string name, file;
    bool variable;
    int length, keys, buffer;
    bool builder;
    int code;
  } cases[] = {
      {"empty name", "", "f", false, 40, 1, 40, true, 28761},
      {"name open (folded)", "taken", "f", false, 40, 1, 40, true, 28728},
      {"empty file name", "N", "", false, 40, 1, 40, true, 28677},
      {"record length 20", "N", "f", false, 20, 1, 20, true, 28682},
      {"111 keys", "N", "f", false, 40, 111, 40, true, 28683},
      {"keys without builder", "N", "f", false, 40, 1, 40, false, 28727},
      {"fixed with other buffer size", "N", "f", false, 40, 1, 41, true, 28718},
      {"variable without larger buffer", "N", "f", true, 40, 1, 40, true, 28754},
  };
  for (const auto& c : cases) {
    fatal_codes.clear();
    Fileblock* fb = OpenFileblock(c.name, c.file.empty() ? "" : Path(c.file), false, false, c.variable, true, c.length,
                                  c.keys, nullptr, c.buffer, c.builder ? KeyBuilder(kb) : KeyBuilder(), 32);
    EXPECT_EQ(fb, nullptr) << c.label;
    EXPECT_EQ(fatal_codes, std::vector<int>{c.code}) << c.label;
  }
}

TEST_F(StorageTest, EngineStateAndNameFolding) {
  Fileblock* fb = OpenTrec("FH\x81" "BER");  // ü in the DOS code page
  EXPECT_EQ(FindOpenFileblock("fh\x9A" "ber"), fb);
  EXPECT_TRUE(IsValidFileblock(fb));
  EXPECT_FALSE(IsValidFileblock(nullptr));
  EXPECT_EQ(FindOpenFileblock("NONE"), nullptr);
  EXPECT_EQ(StorageErrorCode(), 0x304C);
  fatal_codes.clear();
  ExitFileManager();
  EXPECT_EQ(fatal_codes, std::vector<int>{0x7034}) << "a fileblock is still open";
  // Re-entry: a key builder that calls the engine.
  Fileblock* re = OpenFileblock("RE", Path("RE"), false, false, false, true, 40, 1, nullptr, 40,
                                [&](const uint8_t*, int) { fb->First(1); return std::string("k"); }, 32);
  m_open.push_back(re);
  re->DefineKey(1, 5, true);
  fatal_codes.clear();
  re->ClearBuffer();
  re->AddRecord();
  EXPECT_EQ(fatal_codes, std::vector<int>{0x7062});
}

TEST_F(StorageTest, OperationBeforeStartIsFatal) {
  Fileblock* fb = OpenTrec();
  Close(fb);
  ExitFileManager();
  fatal_codes.clear();
  EXPECT_EQ(OpenFileblock("X", Path("X"), false, false, false, true, 40, 0, nullptr, 40, nullptr, 32), nullptr);
  EXPECT_EQ(fatal_codes, std::vector<int>{0x7003});
  InitFileManager(160, 6);
  EXPECT_EQ(StorageErrorCode(), 28698);
  InitFileManager(160, 32);
}

TEST_F(StorageTest, PositionsAndApproximatePositions) {
  Fileblock* fb = OpenTrec();
  fb->First(1);
  EXPECT_EQ(fb->ApproxPosition(1, "", 0, 100), 0);
  EXPECT_EQ(StorageErrorCode(), err::kPositionEmpty);
  fb->FindByApproxPosition(1, 0, 100, nullptr);
  EXPECT_EQ(StorageErrorCode(), err::kApproxEmpty);
  for (int i = 0; i < 3000; ++i) ASSERT_EQ(Add(fb, "n" + std::to_string(i), "g" + std::to_string(i % 7)), i + 1);
  // Estimates grow with the key and stay within the scale.
  int32_t last = -1;
  for (int n = 1; n <= 3000; n += 97) {
    int32_t p = fb->ApproxPosition(1, NumberToKey(n), n, 1000);
    ASSERT_EQ(StorageErrorClass(), 0);
    EXPECT_GE(p, last);
    EXPECT_LE(p, 1000);
    last = p;
  }
  int32_t mid = fb->FindByApproxPosition(1, 500, 1000, nullptr);
  EXPECT_GT(mid, 750);
  EXPECT_LT(mid, 2250);
  EXPECT_EQ(fb->CurrentRef(), 3000) << "approximate calls leave the current record";

  fb->FindExact(1, NumberToKey(10));
  Position pos = fb->GetPosition(3);
  fb->First(1);
  fb->SetPosition(pos, kPosExact);
  EXPECT_EQ(fb->CurrentRef(), 10);
  Position beyond{3, INT32_MAX, "zzz", fb};
  fb->SetPosition(beyond, kPosForwardOnly);
  EXPECT_EQ(StorageErrorCode(), err::kNoneAtOrAfter);
  fb->SetPosition(beyond, kPosForward);
  EXPECT_EQ(StorageErrorClass(), 0) << "falls back to the other direction";
  int32_t found = fb->CurrentRef();
  fb->Last(3);
  EXPECT_EQ(fb->CurrentRef(), found);
  fatal_codes.clear();
  fb->ApproxPosition(1, "", 0, 0);
  fb->FindByApproxPosition(1, 101, 100, nullptr);
  EXPECT_EQ(fatal_codes, (std::vector<int>{err::kPositionScale, err::kApproxScale}));
}


TEST_F(StorageTest, HandlePoolClosesTheLeastRecentlyUsedFiles) {
  // 20 fileblocks with indexes need 40 handles; the pool has 32.
  std::vector<Fileblock*> fbs;
  for (int i = 0; i < 20; ++i) fbs.push_back(OpenTrec("T" + std::to_string(i), i % 2 == 0));
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 20; ++i) {
      ASSERT_GT(Add(fbs[i], "n" + std::to_string(round), "g"), 0) << i;
      int open = 0;
      for (Fileblock* fb : fbs) open += fb->files_open() ? 1 : 0;
      ASSERT_LE(open, 16);
      EXPECT_TRUE(fbs[i]->files_open());
    }
  }
  for (int i = 0; i < 20; ++i) EXPECT_EQ(fbs[i]->RecordCount(), 3) << "reopened transparently";
  EXPECT_TRUE(fatal_codes.empty());
}

TEST_F(StorageTest, EraseFilesStartsAnew) {
  Fileblock* fb = OpenTrec();
  for (const char* n : {"A", "B", "C"}) Add(fb, n, "g");
  fb->EraseFiles();
  EXPECT_EQ(StorageErrorClass(), 0);
  EXPECT_FALSE(FileExists(Path("TREC.DAT")));
  EXPECT_FALSE(FileExists(Path("TREC.IX")));
  EXPECT_EQ(fb->CurrentRef(), -1);
  EXPECT_EQ(Add(fb, "D", "g"), 1) << "the next operation creates the files anew";
  EXPECT_EQ(GetI32(fb->RecordBuffer(), trec::kNumber), 1);
  EXPECT_EQ(fb->RecordCount(), 1);
}

}  // namespace
}  // namespace kontura::testing
