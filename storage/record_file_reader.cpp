#include "storage/record_file_reader.h"

#include <algorithm>
#include <climits>

#include "storage/file_layout.h"
#include "storage/fileblock.h"
#include "storage/record_bytes.h"

namespace kontura {

using namespace layout;

RecordFileReader::RecordFileReader(const std::string& base, bool variable, int buffer_size)
    : m_variable(variable), m_buffer_size(buffer_size) {
  const std::string dat = FileblockPath(base, "DAT");
  int os = 0;
  m_file = TheStorageFileSystem().Open(dat, OpenMode::kReadShared, &os);
  if (!m_file) {
    m_open_problem = "data file " + dat + " cannot be opened (OS error " + std::to_string(os) + ")";
    return;
  }
  uint8_t h[kDataHeaderBytes];
  const int64_t size = m_file->Size();
  if (size < kDataHeaderBytes || m_file->ReadAt(0, h, sizeof h) != kDataHeaderBytes) {
    m_open_problem = "data file shorter than its header";
    m_file.reset();
    return;
  }
  m_record_length = GetI32(h, kDataRecordLength);
  if (m_record_length < kMinRecordLength) {
    m_open_problem = "record length " + std::to_string(m_record_length) + " below 21";
    m_file.reset();
    return;
  }
  m_key_count = GetI32(h, kDataKeyCount);
  m_modified = h[kDataModified] != 0;
  // The header's slot count is not trusted: only whole slots the file
  // really holds are read.
  const int64_t in_file = size / m_record_length - 1;
  m_header_slot_count = GetI32(h, kDataSlotCount);
  m_slot_count = static_cast<int32_t>(std::clamp<int64_t>(std::min<int64_t>(m_header_slot_count, in_file), 0, INT32_MAX));
  if (size <= kPreloadLimit) {
    std::vector<uint8_t> image(static_cast<size_t>(size));
    if (m_file->ReadAt(0, image.data(), image.size()) == size) m_image = std::move(image);
  }
}

bool RecordFileReader::ReadSlot(int32_t n, std::vector<uint8_t>* slot) {
  slot->assign(static_cast<size_t>(m_record_length), 0);
  if (!m_file || n < 1 || n > m_slot_count) return false;
  const uint64_t off = static_cast<uint64_t>(n) * static_cast<uint64_t>(m_record_length);
  if (!m_image.empty()) {
    // n <= slot_count, so the whole slot lies inside the image.
    std::copy_n(m_image.begin() + static_cast<std::ptrdiff_t>(off), slot->size(), slot->begin());
    return true;
  }
  return m_file->ReadAt(off, slot->data(), slot->size()) == m_record_length;
}

bool RecordFileReader::IsLive(int32_t n) {
  std::vector<uint8_t> slot;
  return ReadSlot(n, &slot) && GetI32(slot.data(), kSlotStatus) == 0;
}

bool RecordFileReader::ReadRecord(int32_t n, std::vector<uint8_t>* out, std::string* problem) {
  std::vector<uint8_t> slot;
  out->clear();
  if (!ReadSlot(n, &slot)) {
    *problem = "slot " + std::to_string(n) + " outside the file";
    return false;
  }
  if (GetI32(slot.data(), kSlotStatus) != 0) {
    *problem = "slot " + std::to_string(n) + " holds no live record";
    return false;
  }
  if (!m_variable) {
    *out = std::move(slot);
    return true;
  }
  // Main slot: record bytes from 0, continuation slots: from byte 1; each
  // slot names its byte count and the next continuation slot in its trailer.
  const int32_t S = m_record_length;
  const int32_t limit = std::max(m_buffer_size, S);
  for (int32_t at = n, steps = 0;; ++steps) {
    const bool main = at == n;
    const int first = main ? 0 : 1;
    const int count = GetI16(slot.data(), S - kVarCountFromEnd);
    const int32_t next = GetI32(slot.data(), S - kVarNextFromEnd);
    if (count < 0 || count > S - kVarTrailerBytes - first) {
      *problem = "slot " + std::to_string(at) + ": byte count " + std::to_string(count) + " does not fit the slot";
      return false;
    }
    if (static_cast<int64_t>(out->size()) + count > limit) {
      *problem = "record " + std::to_string(n) + " longer than its buffer of " + std::to_string(limit) + " bytes";
      return false;
    }
    out->insert(out->end(), slot.begin() + first, slot.begin() + first + count);
    if (next == 0) {
      // Key builders and summaries read a whole record buffer.
      out->resize(static_cast<size_t>(limit), 0);
      return true;
    }
    // A chain can never hold more slots than the file, so a longer one loops.
    if (steps >= m_slot_count || !ReadSlot(next, &slot) || slot[0] != kContinuationMark) {
      *problem = "record " + std::to_string(n) + ": continuation chain broken at slot " + std::to_string(next);
      return false;
    }
    at = next;
  }
}

}  // namespace kontura
