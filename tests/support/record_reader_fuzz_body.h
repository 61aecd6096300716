#pragma once
// The body of the second fuzz target, for the record readers of kontura-tool
// "dump" and "check", shared with the regression test. The input is a data
// file and an index file of one of the program's fileblocks:
//   byte 0      bits 0..6 choose the fileblock (its place in the program's
//               table, modulo its size); bit 7 forces that fileblock's record
//               length and key count into the data header, so that most
//               inputs get past the header into the records
//   bytes 1, 2  length of the data file part (little-endian, cut to the input)
//   then        the data file, then the index file.
// The listing and the integrity check (with the fileblock's layout, so that
// every record summary and key builder runs) read them; nothing may crash,
// read outside a buffer or loop forever. Problems are only reported.

#include <cstdint>
#include <string>

#include "catalogue/catalogue_table.h"
#include "catalogue/fileblock_dump.h"
#include "storage/file_layout.h"
#include "storage/integrity_check.h"
#include "storage/record_bytes.h"
#include "tests/support/memory_file_system.h"

namespace kontura::testing {

inline void RunRecordReaderFuzzInput(const uint8_t* data, size_t size) {
  if (size < 3) return;
  const auto table = ProgramCatalogue();
  const FileblockLayout& layout = table[(data[0] & 0x7F) % table.size()];
  size_t dat_len = std::min<size_t>(static_cast<size_t>(data[1] | (data[2] << 8)), size - 3);
  MemoryFileSystem fs;
  fs.files["F.DAT"] = std::make_shared<MemoryFileSystem::Bytes>(data + 3, data + 3 + dat_len);
  fs.files["F.IX"] = std::make_shared<MemoryFileSystem::Bytes>(data + 3 + dat_len, data + size);
  auto& dat = *fs.files["F.DAT"];
  if ((data[0] & 0x80) && dat.size() >= static_cast<size_t>(layout::kDataHeaderBytes)) {
    PutI32(dat.data(), layout::kDataRecordLength, layout.record_length);
    PutI32(dat.data(), layout::kDataKeyCount, static_cast<int32_t>(layout.keys.size()));
  }
  SetStorageFileSystem(&fs);
  size_t listed = 0;
  DumpFileblock("F", layout, [&listed](const std::string& line) { listed += line.size(); });
  FormatCheckReport(CheckFileblock("F", &layout));
  SetStorageFileSystem(nullptr);
}

}  // namespace kontura::testing
