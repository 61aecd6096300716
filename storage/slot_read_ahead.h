#pragma once
// Record slots of a data file read ahead of a walk through an index.
//
// A walk in key order meets the records in an order that has nothing to do
// with their place in the file, and reading them one by one costs a system
// call per record. Knowing the next few thousand record numbers from the
// index, the data file reads them sorted by place, in pieces of up to
// kWindowBytes that each take in every wanted slot lying close enough to
// the one before: far fewer calls for the same records.
//
// Coherence: this is a copy of slots as they are in the file, and the data
// file keeps it so. Every write that reaches the file passes through
// Written() and the held slots it touches take the new bytes; a write that
// fails (or reaches the file only in part) drops everything, because what
// the file holds is then not known. The copy belongs to one open data file
// and goes with it: closing, a rebuild or a fatal error start without it.
// Held slots are never written back; the durability steps of the engine see
// none of this.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "storage/file_system.h"

namespace kontura {

class SlotReadAhead {
 public:
  // Pieces read at once, and the largest distance between two wanted slots
  // that one piece still bridges: a call costs about as much as copying
  // this many bytes more.
  static constexpr size_t kWindowBytes = 64 << 10;
  static constexpr size_t kBridgeBytes = 16 << 10;

  explicit SlotReadAhead(int slot_size) : m_slot(static_cast<size_t>(slot_size)) {}

  // The held copy of slot n, slot_size bytes, or nullptr.
  const uint8_t* Find(int32_t n) const;
  bool Holds(int32_t n) const { return Find(n) != nullptr; }
  size_t size() const { return m_slots.size(); }

  // Replaces what is held by the given slots (any order, repeats allowed)
  // as far as they lie wholly before readable_end. A read that fails or
  // falls short keeps what was read before it and ends the filling: the
  // caller reads a slot it does not find here by itself, and reports what
  // goes wrong then. Nothing is logged here.
  void Fill(std::vector<int32_t> slots, StorageFile& file, uint64_t readable_end);

  // n bytes at off reached the file: held slots take them.
  void Written(uint64_t off, const void* buf, size_t n);
  void Clear();

 private:
  size_t m_slot;
  std::vector<int32_t> m_slots;   // ascending
  std::unique_ptr<uint8_t[]> m_bytes;  // slot m_slots[k] at k * m_slot
  size_t m_bytes_size = 0;
  std::vector<uint8_t> m_window;  // one piece as read
};

}  // namespace kontura
