// The records read ahead of a walk (slot_read_ahead.h): the held copy follows
// every write, a read that fails or falls short leaves no slot it did not
// read whole, and a walk sees every change made in its middle, through a
// flush, a reopening, a failed write with the rebuild after it and a disk
// whose reads fail.

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <numeric>
#include <random>

#include "storage/slot_read_ahead.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/storage_fixture.h"

namespace kontura::testing {
namespace {

// ---- The held copy itself ----------------------------------------------------

// A data file as a byte vector; reads may fail and are counted.
class ImageFile : public StorageFile {
 public:
  std::vector<uint8_t> bytes;
  bool fail = false;
  long reads = 0;

  int64_t ReadAt(uint64_t off, void* buf, size_t n) override {
    ++reads;
    if (fail) return -1;
    if (off >= bytes.size()) return 0;
    const size_t k = std::min(n, static_cast<size_t>(bytes.size() - off));
    std::memcpy(buf, bytes.data() + off, k);
    return static_cast<int64_t>(k);
  }
  int64_t WriteAt(uint64_t off, const void* buf, size_t n) override {
    if (bytes.size() < off + n) bytes.resize(off + n);
    std::memcpy(bytes.data() + off, buf, n);
    return static_cast<int64_t>(n);
  }
  int64_t Size() override { return static_cast<int64_t>(bytes.size()); }
  bool Truncate(uint64_t size) override {
    bytes.resize(size);
    return true;
  }
  bool Sync() override { return true; }
  int os_error() const override { return fail ? EIO : 0; }
};

constexpr int kSlot = trec::kLength;
constexpr int kSlots = 60;  // slots 0 (header) .. 59

ImageFile PatternFile() {
  ImageFile f;
  f.bytes.resize(static_cast<size_t>(kSlots * kSlot));
  for (size_t i = 0; i < f.bytes.size(); ++i) f.bytes[i] = static_cast<uint8_t>(i * 7 + i / kSlot);
  return f;
}

std::vector<int32_t> HeldOf(const SlotReadAhead& ahead) {
  std::vector<int32_t> held;
  for (int32_t n = 0; n <= kSlots + 1; ++n) {
    if (ahead.Holds(n)) held.push_back(n);
  }
  return held;
}

// Every held slot is byte for byte the file's.
void ExpectHeldAsInFile(const SlotReadAhead& ahead, const ImageFile& f, const char* after) {
  for (int32_t n : HeldOf(ahead)) {
    const uint8_t* held = ahead.Find(n);
    const uint8_t* disk = f.bytes.data() + static_cast<size_t>(n) * kSlot;
    EXPECT_EQ(std::vector<uint8_t>(held, held + kSlot), std::vector<uint8_t>(disk, disk + kSlot))
        << "slot " << n << " after " << after;
  }
}

TEST(SlotReadAheadTest, HeldSlotsTakeEveryWriteThatTouchesThem) {
  ImageFile f = PatternFile();
  SlotReadAhead ahead(kSlot);
  // Out of order, repeated, the header slot, one slot behind the readable end.
  ahead.Fill({41, 3, 12, 3, 0, 13, 14, 59, 60, 9}, f, static_cast<uint64_t>(kSlots * kSlot));
  ASSERT_EQ(HeldOf(ahead), (std::vector<int32_t>{3, 9, 12, 13, 14, 41, 59}));
  const struct {
    const char* what;
    uint64_t off;
    size_t n;
  } writes[] = {
      {"inside one slot", 3 * kSlot + 10, 8},
      {"a status field", 9 * kSlot, 4},
      {"the end of one slot and the start of the next", 12 * kSlot + 36, 8},
      {"three slots, two of them in part", 12 * kSlot + 30, 2 * kSlot + 5},
      {"a whole slot", 41 * kSlot, kSlot},
      {"a slot not held", 5 * kSlot, kSlot},
      {"the header", 0, 21},
      {"the last byte of the file", kSlots * kSlot - 1, 1},
  };
  uint8_t value = 0xA0;
  for (const auto& w : writes) {
    std::vector<uint8_t> data(w.n, value++);
    f.WriteAt(w.off, data.data(), data.size());
    ahead.Written(w.off, data.data(), data.size());
    ExpectHeldAsInFile(ahead, f, w.what);
  }
  EXPECT_EQ(HeldOf(ahead), (std::vector<int32_t>{3, 9, 12, 13, 14, 41, 59})) << "writes neither add nor drop";
}

TEST(SlotReadAheadTest, ReadsBridgeNearSlotsAndStopAtAFailure) {
  const int32_t far = 3 + static_cast<int32_t>(SlotReadAhead::kBridgeBytes / kSlot) + 2;
  const struct {
    const char* what;
    std::vector<int32_t> slots;
    size_t file_bytes;  // the file cut to this length
    bool fail;
    std::vector<int32_t> held;
    long reads;
  } cases[] = {
      {"near slots in one read", {2, 4, 7, 8, 30}, kSlots * kSlot, false, {2, 4, 7, 8, 30}, 1},
      {"a slot too far for one read", {3, far}, 2000 * kSlot, false, {3, far}, 2},
      {"a file shorter than promised: whole slots only", {2, 10, 11, 20},
       11 * kSlot + kSlot / 2, false, {2, 10}, 1},
      {"a file ending between two reads", {3, far, far + 1}, static_cast<size_t>(far) * kSlot, false, {3}, 2},
      {"reads that fail", {2, 4, 7}, kSlots * kSlot, true, {}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ImageFile f = PatternFile();
    f.bytes.resize(c.file_bytes);
    f.fail = c.fail;
    SlotReadAhead ahead(kSlot);
    ahead.Fill({1}, f, static_cast<uint64_t>(c.file_bytes));  // something held before
    f.reads = 0;
    ahead.Fill(c.slots, f, 4000 * kSlot);
    std::vector<int32_t> held;
    for (int32_t n : c.slots) {
      if (ahead.Holds(n)) held.push_back(n);
    }
    EXPECT_EQ(held, c.held);
    EXPECT_FALSE(ahead.Holds(1)) << "a fill replaces what was held";
    EXPECT_EQ(f.reads, c.reads);
    f.fail = false;
    ExpectHeldAsInFile(ahead, f, "filling");
  }
}

// ---- Walks that meet changes ---------------------------------------------------

constexpr int kRecords = 600;
constexpr int kWalked = 30;  // steps before the change: the run held reaches beyond

struct Change {
  const char* what;
  std::function<void(class ReadAheadWalkTest&)> apply;
};

class ReadAheadWalkTest : public StorageTest, public ::testing::WithParamInterface<Change> {
 public:
  using StorageTest::Add;
  using StorageTest::Close;
  using StorageTest::fatal_codes;
  using StorageTest::OpenTrec;
  FaultyFileSystem disk;
  Fileblock* fb = nullptr;
  std::map<int32_t, std::vector<uint8_t>> records;  // the model: by record number
  std::vector<int32_t> walked;                       // record numbers in name order as walked

  void SetUp() override {
    StorageTest::SetUp();
    SetStorageFileSystem(&disk);
    fb = OpenTrec();
    // Names in an order unrelated to the record numbers, as calls in a log.
    std::vector<int> names(kRecords);
    std::iota(names.begin(), names.end(), 1000);
    std::shuffle(names.begin(), names.end(), std::mt19937(7));
    for (int i = 0; i < kRecords; ++i) {
      int32_t ref = Add(fb, "N" + std::to_string(names[static_cast<size_t>(i)]), "G" + std::to_string(i % 9), i);
      ASSERT_GT(ref, 0);
      records[ref] = Buffer();
    }
    fb->Flush();
    ASSERT_EQ(StorageErrorClass(), 0);
  }

  std::vector<uint8_t> Buffer() { return std::vector<uint8_t>(fb->RecordBuffer(), fb->RecordBuffer() + trec::kLength); }
  static std::string NameKey(const std::vector<uint8_t>& r) { return trec::KeyOf(r.data(), 2); }

  // Record numbers in name order, from the model.
  std::vector<int32_t> Order() const {
    std::map<std::string, int32_t> by_name;
    for (const auto& [ref, r] : records) by_name[NameKey(r)] = ref;
    std::vector<int32_t> order;
    for (const auto& [name, ref] : by_name) order.push_back(ref);
    return order;
  }
  // The record a walk in name order meets `ahead` steps after the current one.
  int32_t Ahead(int ahead) const {
    std::vector<int32_t> order = Order();
    auto at = std::find(order.begin(), order.end(), walked.back());
    return *(at + ahead);
  }

  // Changes through the engine, kept in the model.
  void Update(int32_t ref, const std::function<void(uint8_t*)>& edit) {
    fb->ReadByRef(ref);
    ASSERT_EQ(StorageErrorClass(), 0);
    edit(fb->RecordBuffer());
    fb->UpdateRecord();
    ASSERT_EQ(StorageErrorClass(), 0);
    records[ref] = Buffer();
  }
  void Delete(int32_t ref) {
    fb->ReadByRef(ref);
    fb->DeleteRecord(kAfterNone);
    ASSERT_EQ(StorageErrorClass(), 0);
    records.erase(ref);
  }
  static void Rename(uint8_t* r, const std::string& name) { PutPStr(r, trec::kName, 10, name); }
  // A name that sorts right behind the current record's.
  std::string NameBehindCurrent() const { return GetPStr(records.at(walked.back()).data(), trec::kName, 10) + "A"; }
};

TEST_P(ReadAheadWalkTest, TheRestOfTheWalkShowsTheChange) {
  const std::vector<int32_t> before = Order();
  fb->First(2);
  for (;;) {
    ASSERT_EQ(StorageErrorClass(), 0);
    ASSERT_EQ(fb->CurrentRef(), before[walked.size()]);
    ASSERT_EQ(Buffer(), records[fb->CurrentRef()]);
    walked.push_back(fb->CurrentRef());
    if (walked.size() == kWalked) break;
    fb->Next(2);
  }
  const Position at = fb->GetPosition(2);
  GetParam().apply(*this);
  if (HasFatalFailure()) return;

  // The walk goes on from where it was, as if nothing were held.
  std::vector<int32_t> expect = Order();
  expect.erase(expect.begin(), std::find(expect.begin(), expect.end(), walked.back()) + 1);
  fb->SetPosition(at, kPosExact);
  ASSERT_EQ(StorageErrorClass(), 0);
  ASSERT_EQ(Buffer(), records[walked.back()]);
  const long reads = disk.reads;
  std::vector<int32_t> rest;
  for (fb->Next(2); StorageErrorClass() == 0; fb->Next(2)) {
    ASSERT_EQ(Buffer(), records[fb->CurrentRef()]) << "record " << fb->CurrentRef();
    rest.push_back(fb->CurrentRef());
  }
  if (disk.fail_reads) {
    // What was held is shown, the first record that was not is an error.
    EXPECT_GE(StorageErrorClass(), 3);
    EXPECT_EQ(fatal_codes, std::vector<int>{err::kOsError});
    EXPECT_GT(rest.size(), 0u);
    ASSERT_LT(rest.size(), expect.size());
    expect.resize(rest.size());
  } else {
    EXPECT_EQ(StorageErrorCode(), err::kNoNext);
    EXPECT_TRUE(fatal_codes.empty());
    // Hundreds of records in a few reads: the walk did read ahead.
    EXPECT_LT(disk.reads - reads, static_cast<long>(expect.size()) / 10);
  }
  EXPECT_EQ(rest, expect);
}

const Change kChanges[] = {
    {"nothing", [](ReadAheadWalkTest&) {}},
    {"a flush", [](ReadAheadWalkTest& t) { t.fb->Flush(); }},
    {"closing and opening again",
     [](ReadAheadWalkTest& t) {
       t.Close(t.fb);
       t.fb = t.OpenTrec();
     }},
    {"an update of a record ahead",
     [](ReadAheadWalkTest& t) { t.Update(t.Ahead(3), [](uint8_t* r) { PutI32(r, trec::kValue, 777777); }); }},
    {"a record ahead renamed to before the walk",
     [](ReadAheadWalkTest& t) { t.Update(t.Ahead(2), [](uint8_t* r) { ReadAheadWalkTest::Rename(r, "A"); }); }},
    {"a record behind renamed to right ahead",
     [](ReadAheadWalkTest& t) {
       const std::string name = t.NameBehindCurrent();
       t.Update(t.walked[4], [&](uint8_t* r) { ReadAheadWalkTest::Rename(r, name); });
     }},
    {"a record ahead deleted", [](ReadAheadWalkTest& t) { t.Delete(t.Ahead(4)); }},
    {"a record ahead deleted and a new one added into its slot",
     [](ReadAheadWalkTest& t) {
       const int32_t freed = t.Ahead(5);
       t.Delete(freed);
       ASSERT_EQ(t.Add(t.fb, t.NameBehindCurrent(), "NEW", 5), freed);
       t.records[freed] = t.Buffer();
     }},
    {"a write that fails and the rebuild at the next call",
     [](ReadAheadWalkTest& t) {
       // The flag 1 reaches the disk, the record ahead does not: the engine
       // drops its files, and the next call rebuilds them from the disk.
       t.disk.write_budget = layout::kDataHeaderBytes;
       t.fb->ReadByRef(t.Ahead(3));
       PutI32(t.fb->RecordBuffer(), trec::kValue, 555555);
       t.fb->UpdateRecord();
       EXPECT_GE(StorageErrorClass(), 3);
       t.disk.write_budget = -1;
       EXPECT_FALSE(t.fb->files_open());
       t.fatal_codes.clear();
     }},
    {"a disk whose reads fail", [](ReadAheadWalkTest& t) { t.disk.fail_reads = true; }},
};

INSTANTIATE_TEST_SUITE_P(Changes, ReadAheadWalkTest, ::testing::ValuesIn(kChanges),
                         [](const ::testing::TestParamInfo<Change>& info) {
                           std::string name;
                           for (const char* c = info.param.what; *c; ++c) {
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           }
                           return name;
                         });

}  // namespace
}  // namespace kontura::testing
