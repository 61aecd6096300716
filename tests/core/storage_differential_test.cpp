// Randomized differential test: thousands of adds, updates, deletes, finds
// and walks on the engine and on a simple in-memory model side by side, with
// the integrity check run on the files after every batch. The record count
// grows far beyond one page of 62 entries (three-level trees, splits), then
// shrinks (merges, freed pages) and grows again (free-page and slot reuse).

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "storage/integrity_check.h"
#include "storage/rebuild.h"
#include "tests/support/storage_fixture.h"

namespace kontura::testing {
namespace {

class Model {
 public:
  using Order = std::set<std::pair<std::string, int32_t>>;
  std::map<int32_t, std::vector<uint8_t>> records;  // by record number
  std::vector<int32_t> free_slots;                  // last freed on top
  int32_t slots = 0;
  Order orders[trec::kKeys + 1];
  std::set<int32_t> numbers;
  std::vector<int32_t> live;                   // for picking a random record
  std::map<int32_t, size_t> live_at;           // position in live

  int32_t NextRef() const { return free_slots.empty() ? slots + 1 : free_slots.back(); }
  int32_t NextNumber() const { return numbers.empty() ? 1 : *numbers.rbegin() + 1; }
  static std::string Key(const std::vector<uint8_t>& r, int k) {
    return CutKey(trec::KeyOf(r.data(), k), trec::Keys()[k - 1].length);
  }
  bool UniqueTaken(const std::vector<uint8_t>& r, int32_t own) const {
    for (int k = 1; k <= trec::kKeys; ++k) {
      if (trec::Keys()[k - 1].duplicates) continue;
      std::string key = Key(r, k);
      auto it = orders[k].lower_bound({key, INT32_MIN});
      if (it != orders[k].end() && it->first == key && it->second != own) return true;
    }
    return false;
  }
  void Put(int32_t ref, const std::vector<uint8_t>& r) {
    records[ref] = r;
    for (int k = 1; k <= trec::kKeys; ++k) orders[k].insert({Key(r, k), ref});
    numbers.insert(GetI32(r.data(), trec::kNumber));
  }
  void Remove(int32_t ref) {
    const std::vector<uint8_t>& r = records[ref];
    for (int k = 1; k <= trec::kKeys; ++k) orders[k].erase({Key(r, k), ref});
    numbers.erase(GetI32(r.data(), trec::kNumber));
    records.erase(ref);
  }
  void Add(int32_t ref, const std::vector<uint8_t>& r) {
    if (!free_slots.empty() && free_slots.back() == ref) free_slots.pop_back(); else slots = ref;
    Put(ref, r);
    live_at[ref] = live.size();
    live.push_back(ref);
  }
  void Update(int32_t ref, const std::vector<uint8_t>& r) {
    Remove(ref);
    Put(ref, r);
  }
  void Delete(int32_t ref) {
    Remove(ref);
    free_slots.push_back(ref);
    size_t at = live_at[ref];
    live[at] = live.back();
    live_at[live[at]] = at;
    live.pop_back();
    live_at.erase(ref);
  }
};

class StorageDifferentialTest : public StorageTest {
 protected:
  std::mt19937 rng{12345};
  Model model;
  Fileblock* fb = nullptr;

  int Rand(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

  std::vector<uint8_t> RandomRecord() {
    std::vector<uint8_t> r(trec::kLength, 0);
    static const char* groups[] = {"AA", "AB", "BA", "BB", "CQ", "DX", "ZZ"};
    PutPStr(r.data(), trec::kName, 10, "N" + std::to_string(Rand(60000)));
    PutPStr(r.data(), trec::kGroup, 10, std::string(groups[Rand(7)]) + std::to_string(Rand(40)));
    PutI32(r.data(), trec::kValue, Rand(1000000));
    return r;
  }

  int32_t RandomLiveRef() { return model.live[static_cast<size_t>(Rand(static_cast<int>(model.live.size())))]; }

  std::vector<uint8_t> Buffer() { return std::vector<uint8_t>(fb->RecordBuffer(), fb->RecordBuffer() + trec::kLength); }

  void DoAdd() {
    std::vector<uint8_t> r = RandomRecord();
    PutI32(r.data(), trec::kNumber, model.NextNumber());
    bool taken = model.UniqueTaken(r, -1);
    std::memcpy(fb->RecordBuffer(), r.data(), r.size());
    PutI32(fb->RecordBuffer(), trec::kNumber, 0);
    fb->AddRecord();
    if (taken) {
      ASSERT_EQ(StorageErrorCode(), err::kKeyPresent);
      return;
    }
    ASSERT_EQ(StorageErrorClass(), 0);
    ASSERT_EQ(fb->CurrentRef(), model.NextRef());
    ASSERT_EQ(Buffer(), r) << "counter field filled";
    model.Add(fb->CurrentRef(), r);
  }

  void DoUpdate() {
    int32_t ref = RandomLiveRef();
    fb->ReadByRef(ref);
    ASSERT_EQ(StorageErrorClass(), 0);
    ASSERT_EQ(Buffer(), model.records[ref]);
    std::vector<uint8_t> r = RandomRecord();
    PutI32(r.data(), trec::kNumber, GetI32(model.records[ref].data(), trec::kNumber));
    if (Rand(3) == 0) PutPStr(r.data(), trec::kName, 10, GetPStr(model.records[ref].data(), trec::kName, 10));
    bool taken = model.UniqueTaken(r, ref);
    std::memcpy(fb->RecordBuffer(), r.data(), r.size());
    fb->UpdateRecord();
    if (taken) {
      ASSERT_EQ(StorageErrorCode(), err::kKeyPresent);
      return;
    }
    ASSERT_EQ(StorageErrorClass(), 0);
    model.Update(ref, r);
  }

  void DoDelete() {
    int32_t ref = RandomLiveRef();
    int k = 1 + Rand(trec::kKeys);
    fb->First(k);  // sets the key order for the positioning
    fb->ReadByRef(ref);
    auto next = model.orders[k].upper_bound({Model::Key(model.records[ref], k), ref});
    int32_t expect = next == model.orders[k].end() ? -1 : next->second;
    fb->DeleteRecord(kAfterNext);
    model.Delete(ref);
    if (expect < 0) {
      ASSERT_EQ(StorageErrorCode(), err::kNoNext);
      ASSERT_EQ(fb->CurrentRef(), -1);
    } else {
      ASSERT_EQ(StorageErrorClass(), 0);
      ASSERT_EQ(fb->CurrentRef(), expect);
    }
  }

  void DoFind() {
    int k = 1 + Rand(trec::kKeys);
    const Model::Order& order = model.orders[k];
    std::string probe;
    if (!order.empty() && Rand(2) == 0) {
      probe = Model::Key(model.records[RandomLiveRef()], k);
      if (Rand(2) == 0) probe.resize(static_cast<size_t>(Rand(static_cast<int>(probe.size()) + 1)));
    } else {
      probe = Model::Key(RandomRecord(), k);
    }
    bool exact = Rand(2) == 0;
    auto it = order.lower_bound({probe, INT32_MIN});
    if (exact) fb->FindExact(k, probe); else fb->FindAtLeast(k, probe);
    bool expect = it != order.end() && (!exact || it->first == probe);
    if (!expect) {
      ASSERT_EQ(StorageErrorCode(), exact ? err::kNotFound : err::kNoneAtOrAfter);
      return;
    }
    ASSERT_EQ(StorageErrorClass(), 0);
    ASSERT_EQ(fb->CurrentRef(), it->second);
    // A few steps on from there.
    for (int s = 0; s < 5; ++s) {
      ++it;
      fb->Next(k);
      if (it == order.end()) {
        ASSERT_EQ(StorageErrorCode(), err::kNoNext);
        break;
      }
      ASSERT_EQ(fb->CurrentRef(), it->second);
    }
  }

  void VerifyAll() {
    ASSERT_EQ(fb->RecordCount(), static_cast<int32_t>(model.records.size()));
    for (int k = 1; k <= trec::kKeys; ++k) {
      std::vector<std::pair<std::string, int32_t>> order(model.orders[k].begin(), model.orders[k].end());
      ASSERT_EQ(fb->KeyCount(k), static_cast<int32_t>(order.size()));
      std::vector<std::pair<std::string, int32_t>> walk;
      for (fb->First(k); StorageErrorClass() == 0; fb->Next(k)) {
        walk.emplace_back(Model::Key(Buffer(), k), fb->CurrentRef());
        ASSERT_EQ(Buffer(), model.records[fb->CurrentRef()]);
      }
      ASSERT_EQ(walk, order) << "key " << k;
      std::vector<std::pair<std::string, int32_t>> back;
      for (fb->Last(k); StorageErrorClass() == 0; fb->Prev(k)) back.emplace_back(Model::Key(Buffer(), k), fb->CurrentRef());
      std::reverse(back.begin(), back.end());
      ASSERT_EQ(back, order) << "key " << k;
    }
    fb->Flush();
    CloseAllFileblocks();  // the check reads the files as another program would
    FileblockLayout known = trec::Known();
    CheckReport report = CheckFileblock(Path("TREC"), &known);
    for (const std::string& p : report.problems) ADD_FAILURE() << p;
    ASSERT_EQ(report.records, static_cast<int32_t>(model.records.size()));
  }
};

TEST_F(StorageDifferentialTest, RandomOperationsMatchTheModel) {
  fb = OpenTrec();
  // (target size, operations): grow past three levels (about 1,900 entries
  // fill two levels of pages 70 % full), shrink, grow again.
  const struct {
    size_t target;
    int ops;
  } phases[] = {{3000, 4000}, {300, 3000}, {2500, 2500}, {0, 2500}, {600, 600}};
  for (const auto& phase : phases) {
    for (int done = 0; done < phase.ops;) {
      for (int i = 0; i < 1000; ++i, ++done) {
        int r = Rand(100);
        bool grow = model.records.size() < phase.target;
        int add_weight = grow ? 60 : 15;
        if (model.records.empty() || r < add_weight) {
          DoAdd();
        } else if (r < add_weight + 10) {
          DoUpdate();
        } else if (r < add_weight + (grow ? 25 : 65)) {
          DoDelete();
        } else {
          DoFind();
        }
        if (HasFatalFailure()) return;
      }
      VerifyAll();
      if (HasFatalFailure()) return;
    }
  }
  EXPECT_TRUE(fatal_codes.empty());
}

}  // namespace
}  // namespace kontura::testing
