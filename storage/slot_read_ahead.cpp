#include "storage/slot_read_ahead.h"

#include <algorithm>
#include <cstring>

namespace kontura {

const uint8_t* SlotReadAhead::Find(int32_t n) const {
  auto it = std::lower_bound(m_slots.begin(), m_slots.end(), n);
  if (it == m_slots.end() || *it != n) return nullptr;
  return m_bytes.get() + static_cast<size_t>(it - m_slots.begin()) * m_slot;
}

void SlotReadAhead::Fill(std::vector<int32_t> slots, StorageFile& file, uint64_t readable_end) {
  Clear();
  std::sort(slots.begin(), slots.end());
  slots.erase(std::unique(slots.begin(), slots.end()), slots.end());
  // Slot 0 is the header; a slot reaching past readable_end is not (all) in
  // the file yet.
  std::erase_if(slots, [&](int32_t n) { return n < 1 || (static_cast<uint64_t>(n) + 1) * m_slot > readable_end; });
  if (slots.empty()) return;
  const size_t per_window = std::max<size_t>(1, kWindowBytes / m_slot);
  const size_t bridge = kBridgeBytes / m_slot + 1;
  // The buffers only grow: filling them anew must not clear them first.
  m_slots.reserve(slots.size());
  if (m_bytes_size < slots.size() * m_slot) {
    m_bytes_size = slots.size() * m_slot;
    m_bytes.reset(new uint8_t[m_bytes_size]);  // left as it is: every byte used is read first
  }
  if (m_window.size() < per_window * m_slot) m_window.resize(per_window * m_slot);
  for (size_t k = 0; k < slots.size();) {
    // One piece: from slots[k] on, every following slot that is near the
    // one before and still inside the window.
    const int32_t first = slots[k];
    size_t end = k + 1;
    while (end < slots.size() && static_cast<size_t>(slots[end] - slots[end - 1]) <= bridge &&
           static_cast<size_t>(slots[end] - first) < per_window) {
      ++end;
    }
    const size_t span = (static_cast<size_t>(slots[end - 1] - first) + 1) * m_slot;
    const int64_t got = file.ReadAt(static_cast<uint64_t>(first) * m_slot, m_window.data(), span);
    if (got < 0) break;
    for (; k < end; ++k) {
      const size_t at = static_cast<size_t>(slots[k] - first) * m_slot;
      if (at + m_slot > static_cast<size_t>(got)) break;
      std::memcpy(m_bytes.get() + m_slots.size() * m_slot, m_window.data() + at, m_slot);
      m_slots.push_back(slots[k]);
    }
    if (k < end) break;  // the file ended inside the piece
  }
}

void SlotReadAhead::Written(uint64_t off, const void* buf, size_t n) {
  if (m_slots.empty() || n == 0) return;
  const auto* src = static_cast<const uint8_t*>(buf);
  const uint64_t end = off + n;
  if (off / m_slot > static_cast<uint64_t>(m_slots.back())) return;
  // Held slots from the one containing off up to the one containing end - 1.
  auto it = std::lower_bound(m_slots.begin(), m_slots.end(), static_cast<int32_t>(off / m_slot));
  for (; it != m_slots.end(); ++it) {
    const uint64_t slot_off = static_cast<uint64_t>(*it) * m_slot;
    if (slot_off >= end) break;
    const uint64_t from = std::max(off, slot_off);
    const uint64_t to = std::min(end, slot_off + m_slot);
    uint8_t* dst = m_bytes.get() + static_cast<size_t>(it - m_slots.begin()) * m_slot;
    std::memcpy(dst + (from - slot_off), src + (from - off), static_cast<size_t>(to - from));
  }
}

void SlotReadAhead::Clear() { m_slots.clear(); }

}  // namespace kontura
