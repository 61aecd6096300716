#pragma once
// The body of the storage fuzz target, shared with the regression test that
// replays inputs the fuzzer once crashed on. The input is a data file and an
// index file of the test record fileblock (test_record.h):
//   byte 0      flags: bit 0 forces record length 40 and 4 keys into the
//               data header, so that most inputs reach the index code
//   bytes 1, 2  length of the data file part (little-endian, cut to the input)
//   then        the data file, then the index file.
// The engine opens them and walks every index both ways, finds, adds and
// deletes; then the integrity check reads the result. Nothing may crash,
// read outside a buffer or loop forever; errors are only recorded.

#include <cstdint>
#include <vector>

#include "storage/file_layout.h"
#include "storage/fileblock.h"
#include "storage/integrity_check.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/test_record.h"

namespace kontura::testing {

inline void RunStorageFuzzInput(const uint8_t* data, size_t size) {
  if (size < 3) return;
  const uint8_t flags = data[0];
  size_t dat_len = std::min<size_t>(static_cast<size_t>(data[1] | (data[2] << 8)), size - 3);
  MemoryFileSystem fs;
  fs.files["F.DAT"] = std::make_shared<MemoryFileSystem::Bytes>(data + 3, data + 3 + dat_len);
  fs.files["F.IX"] = std::make_shared<MemoryFileSystem::Bytes>(data + 3 + dat_len, data + size);
  auto& dat = *fs.files["F.DAT"];
  if ((flags & 1) && dat.size() >= 21) {
    PutI32(dat.data(), layout::kDataRecordLength, trec::kLength);
    PutI32(dat.data(), layout::kDataKeyCount, trec::kKeys);
  }
  SetStorageFileSystem(&fs);
  SetFatalStorageHandler([] {});
  InitFileManager(160, 32);
  Fileblock* fb = OpenFileblock("F", "F", false, false, false, true, trec::kLength, trec::kKeys, nullptr,
                                trec::kLength, trec::KeyOf, 0);
  for (int k = 1; k <= trec::kKeys; ++k) fb->DefineKey(k, trec::Keys()[k - 1].length, trec::Keys()[k - 1].duplicates);
  fb->SetCounterField(1, trec::kNumber);
  for (int k = 1; k <= trec::kKeys; ++k) {
    int steps = 0;
    for (fb->First(k); StorageErrorClass() == 0 && steps < 5000; fb->Next(k)) ++steps;
    steps = 0;
    for (fb->Last(k); StorageErrorClass() == 0 && steps < 5000; fb->Prev(k)) ++steps;
    fb->FindAtLeast(k, "g");
    fb->ApproxPosition(k, "m", 3, 100);
    fb->FindByApproxPosition(k, 37, 100, nullptr);
  }
  fb->ReadByRef(1);
  if (StorageErrorClass() == 0) fb->DeleteRecord(kAfterNext);
  for (int i = 0; i < 3; ++i) {
    fb->ClearBuffer();
    PutPStr(fb->RecordBuffer(), trec::kName, 10, "fz" + std::to_string(i));
    fb->AddRecord();
  }
  CloseFileblock(fb);
  ExitFileManager();
  FileblockLayout known = trec::Known();
  CheckFileblock("F", &known);
  SetStorageFileSystem(nullptr);
  SetFatalStorageHandler(nullptr);
}

}  // namespace kontura::testing
