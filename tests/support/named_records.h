#pragma once
// A small fileblock of named records for the record list's tests, in a
// temporary directory, with the engine started around it and a fatal handler
// that records instead of ending the process.
//
// Record (32 bytes): 0 status, 4 int32 number (counter of key 1), 8 string[20]
// name. Key 1: the number. Key 2: the name padded to 20, then the number.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "storage/fileblock.h"
#include "storage/key_encoding.h"
#include "storage/record_bytes.h"
#include "storage/storage_error.h"

namespace kontura::testing {

class NamedRecords {
 public:
  static constexpr int kLength = 32;
  static constexpr int kNumber = 4;
  static constexpr int kName = 8;

  static std::string KeyOf(const uint8_t* r, int k) {
    if (k == 1) return NumberToKey(GetI32(r, kNumber));
    std::string name = GetPStr(r, kName, 20);
    name.resize(20, ' ');
    return name + NumberToKey(GetI32(r, kNumber));
  }

  NamedRecords() {
    char tmpl[] = "/tmp/kontura-browser-XXXXXX";
    if (mkdtemp(tmpl)) m_dir = tmpl;
    SetFatalStorageHandler([this] { fatal.push_back(StorageErrorCode()); });
    InitFileManager(160, 32);
    fb = OpenFileblock("BROWTEST", m_dir + "/BROWTEST", false, false, false, true, kLength, 2, nullptr, kLength,
                       KeyOf, 32);
    if (!fb) return;
    fb->DefineKey(1, 5, false);
    fb->DefineKey(2, 25, false);
    fb->SetCounterField(1, kNumber);
  }
  ~NamedRecords() {
    if (fb) CloseFileblock(fb);
    ExitFileManager();
    SetFatalStorageHandler(nullptr);
    if (!m_dir.empty()) std::filesystem::remove_all(m_dir);
  }
  NamedRecords(const NamedRecords&) = delete;
  NamedRecords& operator=(const NamedRecords&) = delete;

  int32_t Add(const std::string& name) {
    fb->ClearBuffer();
    PutPStr(fb->RecordBuffer(), kName, 20, name);
    fb->AddRecord();
    EXPECT_EQ(StorageErrorClass(), 0);
    return fb->CurrentRef();
  }
  // Names prefix01 .. prefixNN with as many digits as n has (two at least),
  // so that name order and number order agree.
  void AddNumbered(int n, const std::string& prefix = "N") {
    const size_t width = std::max<size_t>(2, std::to_string(n).size());
    for (int i = 1; i <= n; ++i) {
      std::string digits = std::to_string(i);
      Add(prefix + std::string(width - digits.size(), '0') + digits);
    }
  }
  std::string NameInBuffer() const { return GetPStr(fb->RecordBuffer(), kName, 20); }

  Fileblock* fb = nullptr;
  std::vector<int> fatal;

 private:
  std::string m_dir;
};

}  // namespace kontura::testing
