#pragma once
// Test support for the storage engine: a temporary directory, the engine
// started with a fatal handler that records instead of ending the process,
// and the small test record of test_record.h.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "storage/file_layout.h"
#include "storage/fileblock.h"
#include "storage/fileblock_layout.h"
#include "storage/key_encoding.h"
#include "storage/record_bytes.h"
#include "tests/support/test_record.h"

namespace kontura::testing {


class StorageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/kontura-storage-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    m_dir = tmpl;
    SetFatalStorageHandler([this] { fatal_codes.push_back(StorageErrorCode()); });
    InitFileManager(160, 32);
    ASSERT_EQ(StorageErrorClass(), 0);
  }

  void TearDown() override {
    for (Fileblock* fb : m_open) CloseFileblock(fb);
    m_open.clear();
    ExitFileManager();
    SetFatalStorageHandler(nullptr);
    SetStorageFileSystem(nullptr);
    std::filesystem::remove_all(m_dir);
  }

  std::string Path(const std::string& name) const { return m_dir + "/" + name; }

  // Opens the test record fileblock with its keys defined.
  Fileblock* OpenTrec(const std::string& name = "TREC", bool flush = false) {
    Fileblock* fb = OpenFileblock(name, Path(name), false, false, false, true, trec::kLength, trec::kKeys,
                                  nullptr, trec::kLength, trec::KeyOf, 32);
    if (!fb) return nullptr;
    for (int k = 1; k <= trec::kKeys; ++k) fb->DefineKey(k, trec::Keys()[k - 1].length, trec::Keys()[k - 1].duplicates);
    fb->SetCounterField(1, trec::kNumber);
    fb->SetFlushAfterWrite(flush);
    m_open.push_back(fb);
    return fb;
  }

  void Close(Fileblock* fb) {
    std::erase(m_open, fb);
    CloseFileblock(fb);
  }

  // Fills the buffer and adds; returns the record number or -1.
  int32_t Add(Fileblock* fb, const std::string& name, const std::string& group, int32_t value = 0) {
    fb->ClearBuffer();
    uint8_t* r = fb->RecordBuffer();
    PutPStr(r, trec::kName, 10, name);
    PutPStr(r, trec::kGroup, 10, group);
    PutI32(r, trec::kValue, value);
    fb->AddRecord();
    return StorageErrorClass() == 0 ? fb->CurrentRef() : -1;
  }

  std::string Name(Fileblock* fb) { return GetPStr(fb->RecordBuffer(), trec::kName, 10); }

  std::vector<uint8_t> ReadFile(const std::string& path) {
    std::vector<uint8_t> b;
    if (FILE* f = fopen(path.c_str(), "rb")) {
      int c;
      while ((c = fgetc(f)) != EOF) b.push_back(static_cast<uint8_t>(c));
      fclose(f);
    }
    return b;
  }
  void WriteFile(const std::string& path, const std::vector<uint8_t>& b) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    if (!b.empty()) fwrite(b.data(), 1, b.size(), f);
    fclose(f);
  }

  std::vector<int> fatal_codes;
  std::string m_dir;
  std::vector<Fileblock*> m_open;
};

}  // namespace kontura::testing
