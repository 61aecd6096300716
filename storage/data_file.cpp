#include "storage/data_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "storage/file_layout.h"
#include "storage/record_bytes.h"
#include "storage/storage_error.h"

namespace kontura {

using namespace layout;
using storage_detail::LogError;

DataHeader DecodeDataHeader(const uint8_t* s) {
  DataHeader h;
  h.free_head = GetI32(s, kDataFreeHead);
  h.free_count = GetI32(s, kDataFreeCount);
  h.slot_count = GetI32(s, kDataSlotCount);
  h.record_length = GetI32(s, kDataRecordLength);
  h.key_count = GetI32(s, kDataKeyCount);
  h.modified = s[kDataModified];
  return h;
}

void EncodeDataHeader(const DataHeader& h, uint8_t* s) {
  PutI32(s, kDataFreeHead, h.free_head);
  PutI32(s, kDataFreeCount, h.free_count);
  PutI32(s, kDataSlotCount, h.slot_count);
  PutI32(s, kDataRecordLength, h.record_length);
  PutI32(s, kDataKeyCount, h.key_count);
  s[kDataModified] = h.modified;
}

DataFile::DataFile(std::unique_ptr<StorageFile> file, Fileblock* owner, int slot_size, bool variable)
    : m_file(std::move(file)), m_owner(owner), m_slot(slot_size), m_variable(variable),
      m_scratch(static_cast<size_t>(slot_size)), m_ahead(slot_size) {}

int64_t DataFile::ReadAt(uint64_t off, void* buf, size_t n) {
  const uint64_t end = m_pending_off + m_pending.size();
  if (!m_pending.empty() && off < end && off + n > m_pending_off) {
    if (off >= m_pending_off && off + n <= end) {
      std::memcpy(buf, m_pending.data() + (off - m_pending_off), n);
      return static_cast<int64_t>(n);
    }
    if (!WritePending()) return -1;
  }
  return m_file->ReadAt(off, buf, n);
}

int64_t DataFile::WriteAt(uint64_t off, const void* buf, size_t n) {
  const int64_t r = WriteOrCollect(off, buf, n);
  if (r == static_cast<int64_t>(n)) {
    m_ahead.Written(off, buf, n);
  } else {
    m_ahead.Clear();  // what the file holds there is not known
  }
  return r;
}

void DataFile::ReadAhead(std::vector<int32_t> slots) {
  // Only what is in the file: the collected slots are read from memory anyway.
  const uint64_t end = m_pending.empty() ? m_file_size : std::min(m_file_size, m_pending_off);
  m_ahead.Fill(std::move(slots), *m_file, end);
}

int64_t DataFile::WriteOrCollect(uint64_t off, const void* buf, size_t n) {
  const uint64_t end = m_pending_off + m_pending.size();
  if (!m_pending.empty() && off >= m_pending_off && off + n <= end) {
    std::memcpy(m_pending.data() + (off - m_pending_off), buf, n);  // a collected slot written again
    return static_cast<int64_t>(n);
  }
  const bool appends = m_pending.empty() ? off == m_file_size : off == end;
  if (appends && m_pending.size() + n <= kPendingLimit) {
    if (m_pending.empty()) m_pending_off = off;
    const auto* p = static_cast<const uint8_t*>(buf);
    m_pending.insert(m_pending.end(), p, p + n);
    return static_cast<int64_t>(n);
  }
  if (!WritePending()) return -1;
  int64_t r = m_file->WriteAt(off, buf, n);
  if (r > 0) m_file_size = std::max(m_file_size, off + static_cast<uint64_t>(r));
  return r;
}

bool DataFile::WritePending() {
  if (m_pending.empty()) return true;
  int64_t r = m_file->WriteAt(m_pending_off, m_pending.data(), m_pending.size());
  if (r > 0) m_file_size = std::max(m_file_size, m_pending_off + static_cast<uint64_t>(r));
  if (r == static_cast<int64_t>(m_pending.size())) {
    m_pending.clear();
    return true;
  }
  int os = m_file->os_error();
  LogError(r < 0 && os != ENOSPC ? err::kOsError : err::kShortWrite, m_owner, 20, 0, 0, os);
  m_ahead.Clear();
  m_pending.clear();  // the file is damaged now; the flag 1 on the disk asks for a rebuild
  return false;
}

std::vector<uint8_t> DataFile::EmptyImage(int slot_size, int key_count) {
  std::vector<uint8_t> img(static_cast<size_t>(slot_size), 0);
  DataHeader h;
  h.record_length = slot_size;
  h.key_count = key_count;
  EncodeDataHeader(h, img.data());
  return img;
}

int DataFile::Load() {
  int64_t size = m_file->Size();
  if (size < 0) return err::kOsError;
  if (size < kDataHeaderBytes) return err::kShortRead;
  m_file_size = static_cast<uint64_t>(size);
  uint8_t raw[kDataHeaderBytes];
  if (m_file->ReadAt(0, raw, sizeof raw) != kDataHeaderBytes) return err::kShortRead;
  m_header = DecodeDataHeader(raw);
  if (m_header.record_length != m_slot) return err::kRecordLengthDiffers;
  if (m_header.key_count < 0 || m_header.key_count > kMaxKeys) return err::kIndexTooManyKeys;
  m_flag_on_disk = m_header.modified != 0;
  if (m_header.modified != 0) return err::kInterrupted;
  const DataHeader& h = m_header;
  // Counts that do not fit each other or the file size come from a write
  // that did not complete: the rebuild reads what the file holds.
  int64_t slots_in_file = size / m_slot - 1;
  if (h.slot_count < 0 || h.slot_count > slots_in_file || h.free_count < 0 || h.free_count > h.slot_count ||
      h.free_head == 0 || h.free_head < -1 || h.free_head > h.slot_count ||
      (h.free_head == -1) != (h.free_count == 0)) {
    return err::kInterrupted;
  }
  return 0;
}

bool DataFile::Damaged(int32_t slot) {
  LogError(err::kShortRead, m_owner, 10, 0, slot);
  return false;
}

bool DataFile::ReadSlot(int32_t n, uint8_t* buf) {
  if (n < 0 || n > m_header.slot_count) return Damaged(n);
  if (const uint8_t* held = m_ahead.Find(n)) {
    std::memcpy(buf, held, static_cast<size_t>(m_slot));
    return true;
  }
  int64_t r = ReadAt(static_cast<uint64_t>(n) * static_cast<uint64_t>(m_slot), buf, static_cast<size_t>(m_slot));
  if (r == m_slot) return true;
  LogError(r < 0 ? err::kOsError : err::kShortRead, m_owner, 11, 0, n, r < 0 ? m_file->os_error() : 0);
  return false;
}

bool DataFile::WriteSlot(int32_t n, const uint8_t* buf, size_t len) {
  if (len == 0) len = static_cast<size_t>(m_slot);
  int64_t r = WriteAt(static_cast<uint64_t>(n) * static_cast<uint64_t>(m_slot), buf, len);
  if (r == static_cast<int64_t>(len)) return true;
  int os = m_file->os_error();
  LogError(r < 0 && os != ENOSPC ? err::kOsError : err::kShortWrite, m_owner, 12, 0, n, os);
  return false;
}

bool DataFile::MarkModified(bool sync) {
  if (m_flag_on_disk) return true;
  m_header.modified = 1;
  uint8_t raw[kDataHeaderBytes];
  EncodeDataHeader(m_header, raw);
  if (!WriteSlot(0, raw, sizeof raw)) return false;
  if (sync && (!WritePending() || !m_file->Sync())) {
    LogError(err::kOsError, m_owner, 13, 0, 0, m_file->os_error());
    return false;
  }
  m_flag_on_disk = true;
  return true;
}

bool DataFile::Flush(bool sync) {
  m_header.modified = 0;
  if (!WriteHeader(sync)) return false;
  m_flag_on_disk = false;
  return true;
}

bool DataFile::Sync() {
  if (!WritePending()) return false;
  if (m_file->Sync()) return true;
  LogError(err::kOsError, m_owner, 18, 0, 0, m_file->os_error());
  return false;
}

bool DataFile::WriteHeader(bool sync) {
  uint8_t raw[kDataHeaderBytes];
  EncodeDataHeader(m_header, raw);
  if (!WriteSlot(0, raw, sizeof raw)) return false;
  if (sync && (!WritePending() || !m_file->Sync())) {
    LogError(err::kOsError, m_owner, 14, 0, 0, m_file->os_error());
    return false;
  }
  return true;
}

bool DataFile::AllocSlot(int32_t* n) {
  DataHeader& h = m_header;
  if (h.free_head == -1) {
    *n = ++h.slot_count;
    return true;
  }
  if (h.free_count <= 0 || h.free_head < 1 || h.free_head > h.slot_count) {
    LogError(err::kFreeChain, m_owner, 15, 0, h.free_head);
    return false;
  }
  uint8_t link[4];
  int64_t r = ReadAt(static_cast<uint64_t>(h.free_head) * static_cast<uint64_t>(m_slot), link, 4);
  if (r != 4) return Damaged(h.free_head);
  int32_t next = GetI32(link, 0);
  // A continuation slot's first byte is 1; a link must be -1 or a slot.
  if (next == 0 || next < -1 || next > h.slot_count || (next == -1) != (h.free_count == 1)) {
    LogError(err::kFreeChain, m_owner, 16, 0, h.free_head);
    return false;
  }
  *n = h.free_head;
  h.free_head = next;
  h.free_count--;
  return true;
}

bool DataFile::FreeSlot(int32_t n) {
  uint8_t link[4];
  PutI32(link, 0, m_header.free_head);
  if (!WriteSlot(n, link, 4)) return false;
  m_header.free_head = n;
  m_header.free_count++;
  return true;
}

bool DataFile::ReadStatus(int32_t n, int32_t* status) {
  if (n < 1 || n > m_header.slot_count) return Damaged(n);
  uint8_t raw[4];
  int64_t r = ReadAt(static_cast<uint64_t>(n) * static_cast<uint64_t>(m_slot), raw, 4);
  if (r != 4) return Damaged(n);
  *status = GetI32(raw, 0);
  return true;
}

bool DataFile::ReadRecord(int32_t n, uint8_t* buf, size_t buf_size, bool* deleted) {
  *deleted = false;
  if (n < 1) {
    *deleted = true;
    return true;
  }
  if (n > m_header.slot_count) return Damaged(n);
  if (!m_variable) {
    if (!ReadSlot(n, m_scratch.data())) return false;
    if (GetI32(m_scratch.data(), kSlotStatus) != 0) {
      *deleted = true;
      return true;
    }
    std::memcpy(buf, m_scratch.data(), std::min(buf_size, m_scratch.size()));
    return true;
  }
  const size_t data_main = static_cast<size_t>(m_slot - kVarTrailerBytes);
  int32_t slot = n;
  size_t done = 0;
  // A chain can hold at most all slots of the file and at most the buffer.
  for (int32_t steps = 0;; ++steps) {
    if (steps > m_header.slot_count) return Damaged(n);
    if (!ReadSlot(slot, m_scratch.data())) return false;
    const uint8_t* s = m_scratch.data();
    int count = GetI16(s, static_cast<size_t>(m_slot - kVarCountFromEnd));
    int32_t next = GetI32(s, static_cast<size_t>(m_slot - kVarNextFromEnd));
    if (steps == 0) {
      if (GetI32(s, kSlotStatus) != 0) {
        *deleted = true;
        return true;
      }
      if (count < 0 || static_cast<size_t>(count) > data_main || static_cast<size_t>(count) > buf_size) {
        return Damaged(slot);
      }
      std::memcpy(buf, s, static_cast<size_t>(count));
    } else {
      if (s[0] != kContinuationMark || count < 0 || static_cast<size_t>(count) > data_main - 1 ||
          done + static_cast<size_t>(count) > buf_size) {
        return Damaged(slot);
      }
      std::memcpy(buf + done, s + 1, static_cast<size_t>(count));
    }
    done += static_cast<size_t>(count);
    if (next == 0) break;
    if (next < 1 || next > m_header.slot_count) return Damaged(slot);
    slot = next;
  }
  std::memset(buf + done, 0, buf_size - done);
  return true;
}

size_t DataFile::VarLength(const uint8_t* buf, size_t len) const {
  // A variable-length record is stored up to its last non-zero byte, and at
  // least with the fixed section of the main slot.
  size_t end = len;
  while (end > 0 && buf[end - 1] == 0) --end;
  return std::max(end, std::min(len, static_cast<size_t>(m_slot - kVarTrailerBytes)));
}

bool DataFile::WriteChain(const uint8_t* rest, size_t len, int32_t* first) {
  // Slots are allocated front to back and written back to front, so that
  // every slot names an already written successor.
  const size_t per = static_cast<size_t>(m_slot - kVarTrailerBytes - 1);
  std::vector<int32_t> slots;
  for (size_t off = 0; off < len; off += per) {
    int32_t n = 0;
    if (!AllocSlot(&n)) return false;
    slots.push_back(n);
  }
  int32_t next = 0;
  for (size_t k = slots.size(); k-- > 0;) {
    size_t off = k * per;
    size_t cnt = std::min(per, len - off);
    std::vector<uint8_t> s(static_cast<size_t>(m_slot), 0);
    s[0] = kContinuationMark;
    std::memcpy(s.data() + 1, rest + off, cnt);
    PutI16(s.data(), static_cast<size_t>(m_slot - kVarCountFromEnd), static_cast<int16_t>(cnt));
    PutI32(s.data(), static_cast<size_t>(m_slot - kVarNextFromEnd), next);
    if (!WriteSlot(slots[k], s.data())) return false;
    next = slots[k];
  }
  *first = next;
  return true;
}

bool DataFile::FreeChain(int32_t first) {
  int32_t slot = first;
  for (int32_t steps = 0; slot != 0; ++steps) {
    if (steps > m_header.slot_count || slot < 1 || slot > m_header.slot_count) return Damaged(first);
    if (!ReadSlot(slot, m_scratch.data())) return false;
    if (m_scratch[0] != kContinuationMark) return Damaged(slot);
    int32_t next = GetI32(m_scratch.data(), static_cast<size_t>(m_slot - kVarNextFromEnd));
    if (!FreeSlot(slot)) return false;
    slot = next;
  }
  return true;
}

bool DataFile::AddRecord(const uint8_t* buf, size_t len, int32_t* n, bool durable) {
  const bool reused = m_header.free_head != -1;
  if (!AllocSlot(n)) return false;
  if (m_variable) return WriteVariable(*n, buf, len, 0);
  if (!durable || !reused) return WriteSlot(*n, buf);
  // A freed slot still holds a deleted record behind its chain link. Its
  // status turns 0 only after the new bytes behind it are on the disk, so a
  // power cut never joins the head of the new record to the tail of the old.
  const uint64_t off = static_cast<uint64_t>(*n) * static_cast<uint64_t>(m_slot);
  const size_t rest = static_cast<size_t>(m_slot - kSlotStatusBytes);
  int64_t r = WriteAt(off + kSlotStatusBytes, buf + kSlotStatusBytes, rest);
  if (r != static_cast<int64_t>(rest)) {
    int os = m_file->os_error();
    LogError(r < 0 && os != ENOSPC ? err::kOsError : err::kShortWrite, m_owner, 19, 0, *n, os);
    return false;
  }
  return Sync() && WriteSlot(*n, buf, kSlotStatusBytes);
}

bool DataFile::RewriteRecord(int32_t n, const uint8_t* buf, size_t len) {
  if (!m_variable) return WriteSlot(n, buf);
  if (!ReadSlot(n, m_scratch.data())) return false;
  int32_t old_chain = 0;
  if (GetI32(m_scratch.data(), kSlotStatus) == 0) {
    old_chain = GetI32(m_scratch.data(), static_cast<size_t>(m_slot - kVarNextFromEnd));
  }
  return WriteVariable(n, buf, len, old_chain);
}

bool DataFile::WriteVariable(int32_t n, const uint8_t* buf, size_t len, int32_t old_chain) {
  // New chain first, then the old one freed, then the main slot rewritten,
  // in the order the other programs of the suite use. The modification flag
  // is set throughout, so a crash in between is repaired by the rebuild.
  const size_t data_main = static_cast<size_t>(m_slot - kVarTrailerBytes);
  size_t total = VarLength(buf, len);
  size_t in_main = std::min(total, data_main);
  int32_t chain = 0;
  if (total > in_main && !WriteChain(buf + in_main, total - in_main, &chain)) return false;
  if (old_chain != 0 && !FreeChain(old_chain)) return false;
  std::vector<uint8_t> s(static_cast<size_t>(m_slot), 0);
  std::memcpy(s.data(), buf, in_main);
  PutI16(s.data(), static_cast<size_t>(m_slot - kVarCountFromEnd), static_cast<int16_t>(in_main));
  PutI32(s.data(), static_cast<size_t>(m_slot - kVarNextFromEnd), chain);
  return WriteSlot(n, s.data());
}

bool DataFile::DeleteRecord(int32_t n) {
  if (n < 1 || n > m_header.slot_count) {
    LogError(err::kDeleteOutOfRange, m_owner, 17, 0, n);
    return false;
  }
  if (m_variable) {
    if (!ReadSlot(n, m_scratch.data())) return false;
    int32_t chain = GetI32(m_scratch.data(), static_cast<size_t>(m_slot - kVarNextFromEnd));
    if (GetI32(m_scratch.data(), kSlotStatus) == 0 && chain != 0 && !FreeChain(chain)) return false;
  }
  return FreeSlot(n);
}

}  // namespace kontura
