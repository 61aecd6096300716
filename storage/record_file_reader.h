#pragma once
// Read-only access to the records of a fileblock's data file, apart from the
// engine: kontura-tool lists and checks files with it without opening them
// for writing, without rebuilding a file whose modification flag is set and
// without creating a missing one. Every value read from the file is checked
// before it is used; a damaged slot or continuation chain is reported, never
// followed out of the file or the record buffer.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "storage/file_system.h"

namespace kontura {

class RecordFileReader {
 public:
  // Opens "<base>.DAT" (base with or without the extension) shared for
  // reading. variable: the records are spread over a main slot and
  // continuation slots; buffer_size: the largest record then (ignored for
  // fixed-length records).
  RecordFileReader(const std::string& base, bool variable, int buffer_size);

  // Empty when the file is open and its header readable; otherwise what is
  // wrong, and no records can be read.
  const std::string& open_problem() const { return m_open_problem; }

  int32_t record_length() const { return m_record_length; }  // S of the header
  // The highest slot number as the header gives it, and as far as the file
  // really holds whole slots (only these are read).
  int32_t header_slot_count() const { return m_header_slot_count; }
  int32_t slot_count() const { return m_slot_count; }
  int32_t key_count() const { return m_key_count; }
  bool modified() const { return m_modified; }

  // True when slot n (1..slot_count) holds a live record, i.e. its status
  // field is 0. Free slots carry a chain link there and continuation slots
  // a 1 in byte 0.
  bool IsLive(int32_t n);

  // The live record of slot n: for fixed-length records the S bytes of the
  // slot, for variable-length ones the record joined from its main slot and
  // continuation chain, padded with zeros to the buffer size. False with *problem set when the slot is not live or
  // the chain is damaged; *out then holds what could be read.
  bool ReadRecord(int32_t n, std::vector<uint8_t>* out, std::string* problem);

 private:
  bool ReadSlot(int32_t n, std::vector<uint8_t>* slot);

  // Files up to this size are read whole once: the check reads every record
  // once per index, which would otherwise cost a system call each time.
  static constexpr int64_t kPreloadLimit = 32 << 20;

  std::unique_ptr<StorageFile> m_file;
  std::vector<uint8_t> m_image;  // the whole file when preloaded
  bool m_variable;
  int m_buffer_size;
  std::string m_open_problem;
  int32_t m_record_length = 0;
  int32_t m_header_slot_count = 0;
  int32_t m_slot_count = 0;
  int32_t m_key_count = 0;
  bool m_modified = false;
};

}  // namespace kontura
