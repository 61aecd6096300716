// The catalogue table against the real engine: every fileblock opens with
// its definitions (the engine checks each counter key against its key
// builder), stores records and finds them under every key; the contest
// headers survive a changed key definition in order.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/catalogue_table.h"
#include "contest/contest_header.h"
#include "storage/fileblock.h"
#include "storage/storage_error.h"
#include "tests/support/catalogue_ids.h"
#include "tests/support/storage_fixture.h"

namespace kontura {
namespace {

using testing::TestFileName;

class CatalogueEngineTest : public testing::StorageTest {
 protected:
  // Opens a fileblock the way the openers hand the table to the engine; key
  // 1 may be given another length to simulate a changed definition.
  Fileblock* OpenEntry(const FileblockLayout& e, std::vector<uint8_t>& buffer, int key1_length = 0) {
    buffer.assign(static_cast<size_t>(e.buffer_size), 0);
    const std::string name = TestFileName(e);
    Fileblock* fb = OpenFileblock(name, Path(name), false, false, e.variable_length, true, e.record_length,
                                  static_cast<int>(e.keys.size()), buffer.data(), e.buffer_size, e.key_builder,
                                  32);
    if (fb == nullptr) return nullptr;
    for (size_t k = 0; k < e.keys.size() && StorageErrorClass() == 0; ++k) {
      int length = (k == 0 && key1_length > 0) ? key1_length : e.keys[k].length;
      fb->DefineKey(static_cast<int>(k + 1), length, e.keys[k].duplicates);
    }
    if (e.counter_key != 0) fb->SetCounterField(e.counter_key, static_cast<int>(kCounterFieldOffset));
    fb->SetFlushAfterWrite(e.flush_after_write);
    m_open.push_back(fb);
    return fb;
  }
};

TEST_F(CatalogueEngineTest, EveryFileblockStoresAndFindsItsRecordsUnderEveryKey) {
  for (const FileblockLayout& e : ProgramCatalogue()) {
    SCOPED_TRACE(e.name);
    std::vector<uint8_t> buffer;
    Fileblock* fb = OpenEntry(e, buffer);
    ASSERT_NE(fb, nullptr);
    ASSERT_EQ(StorageErrorClass(), 0) << StorageErrorCode();

    // Two records that differ in every interpreted byte; the string fields
    // carry length bytes above their capacities, which the builders clamp.
    int32_t second = -1;
    for (uint8_t fill : {uint8_t{'A'}, uint8_t{'B'}}) {
      fb->ClearBuffer();
      std::fill(buffer.begin() + 4, buffer.begin() + e.record_length, fill);
      fb->AddRecord();
      ASSERT_EQ(StorageErrorClass(), 0) << StorageErrorCode();
      second = fb->CurrentRef();
    }
    EXPECT_EQ(fb->KeyCount(1), 2);
    for (int k = 1; k <= static_cast<int>(e.keys.size()); ++k) {
      fb->ReadByRef(second);
      const std::string key = fb->MakeKey(k);
      fb->ClearBuffer();
      fb->FindExact(k, key);
      EXPECT_EQ(StorageErrorClass(), 0) << "key " << k;
      EXPECT_EQ(fb->MakeKey(k), key) << "key " << k;
      // A duplicate key may be shared by both records (the lower number is
      // found then); a unique one finds exactly the record it came from.
      if (!e.keys[static_cast<size_t>(k - 1)].duplicates) {
        EXPECT_EQ(fb->CurrentRef(), second) << "key " << k;
      }
    }
    Close(fb);
  }
  EXPECT_TRUE(fatal_codes.empty());
}

TEST_F(CatalogueEngineTest, ContestHeadersKeepTheirOrderWhenAKeyDefinitionChanges) {
  const FileblockLayout& fhkk = CatalogueLayout(CatalogueId::kFhkk);
  std::vector<uint8_t> buffer;
  Fileblock* fb = OpenEntry(fhkk, buffer);
  ASSERT_NE(fb, nullptr);
  for (const char* name : {"Zeta", "Alpha", "Mitte"}) {
    TContestHeader h(buffer.data());
    PresetNewContest(h, "JO62QM", "DL1ABC", 'm');
    h.SetEntryName(name);
    fb->AddRecord();
    ASSERT_EQ(StorageErrorClass(), 0);
  }
  Close(fb);

  // Another edition of the suite defined key 1 with 20 bytes: the index is
  // rebuilt from the data file.
  fb = OpenEntry(fhkk, buffer, 20);
  ASSERT_NE(fb, nullptr);
  int progress_reports = 0;
  fb->SetProgressHandler([&progress_reports](const std::string&, int, int32_t, int32_t) { ++progress_reports; });
  std::vector<std::string> walk;
  for (fb->First(3); StorageErrorClass() == 0; fb->Next(3)) {
    ConstContestHeader h(buffer.data());
    walk.push_back(std::to_string(h.ContestNumber()) + " " + h.EntryName());
  }
  EXPECT_GT(progress_reports, 0) << "the index was rebuilt";
  EXPECT_EQ(walk, (std::vector<std::string>{"1 Zeta", "2 Alpha", "3 Mitte"}));
  fb->First(1);
  EXPECT_EQ(ConstContestHeader(buffer.data()).EntryName(), "Alpha");
  EXPECT_TRUE(fatal_codes.empty());
}

}  // namespace
}  // namespace kontura
