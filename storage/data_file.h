#pragma once
// The data file of a fileblock: the header slot and the record slots, the
// free chain (last freed slot reused first) and, for variable-length
// fileblocks, records spread over a main slot and continuation slots.
// Every value read from the file is checked before it is used: a slot
// number outside the file, a broken free chain or a continuation chain that
// runs out of the file or the record buffer is logged as a damaged file.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "storage/file_system.h"
#include "storage/slot_read_ahead.h"

namespace kontura {

class Fileblock;

struct DataHeader {
  int32_t free_head = -1;
  int32_t free_count = 0;
  int32_t slot_count = 0;
  int32_t record_length = 0;
  int32_t key_count = 0;
  uint8_t modified = 0;
};

DataHeader DecodeDataHeader(const uint8_t* slot0);
void EncodeDataHeader(const DataHeader& h, uint8_t* slot0);

class DataFile {
 public:
  DataFile(std::unique_ptr<StorageFile> file, Fileblock* owner, int slot_size, bool variable);

  // A new, empty data file image: slot 0 with the header.
  static std::vector<uint8_t> EmptyImage(int slot_size, int key_count);

  // Reads the header. Returns 0, or the code of what is wrong: 10070 (file
  // shorter than its header slot), 24591 (other record length), 10060 (more
  // than 110 keys), 10010 (interrupted modification or a header that does
  // not fit the file: both are repaired by the rebuild).
  int Load();

  const DataHeader& header() const { return m_header; }
  int32_t live_count() const { return m_header.slot_count - m_header.free_count; }
  void set_key_count(int n) { m_header.key_count = n; }

  // Sets the modification flag on disk before the first change after a
  // flush; with sync the flag reaches the disk before any change does.
  bool MarkModified(bool sync);
  // Writes the header with the flag cleared; with sync flushes the OS buffers.
  bool Flush(bool sync);
  // Flushes the OS buffers of the data file.
  bool Sync();

  // Writes the header as it is in memory (flag included).
  bool WriteHeader(bool sync);
  // Takes every slot of the file as in use, with an empty free chain: the
  // rebuild reads a file whose header it does not trust this way.
  void AssumeSlots(int32_t slot_count) {
    m_header = DataHeader{};
    m_header.slot_count = slot_count;
    m_header.record_length = m_slot;
  }

  // Reads record n into buf (buf_size bytes; for variable-length records the
  // part behind the record is zero-filled). *deleted tells a non-live slot.
  bool ReadRecord(int32_t n, uint8_t* buf, size_t buf_size, bool* deleted);
  // Stores a new record and returns its number. durable: the caller syncs
  // the record right after; a reused slot then gets a sync of its own
  // before its status turns live.
  bool AddRecord(const uint8_t* buf, size_t len, int32_t* n, bool durable = false);
  bool RewriteRecord(int32_t n, const uint8_t* buf, size_t len);
  bool DeleteRecord(int32_t n);
  // Status field of slot n (0 live, anything else not); continuation slots
  // read as not live.
  bool ReadStatus(int32_t n, int32_t* status);

  // Reads the slots of these records ahead (slot_read_ahead.h): the next
  // reads of them take no system call. Replaces what was read ahead before.
  // Slots still collected for writing are left out; nothing is logged.
  void ReadAhead(std::vector<int32_t> slots);
  bool ReadAheadHolds(int32_t n) const { return m_ahead.Holds(n); }

  // Writes the appended slots collected so far (see below). The fatal path
  // calls it before it drops the files, so that a fatal error loses no more
  // than the operation it happened in.
  bool WritePending();

  // The file itself, for reading slots as they are on the disk; slots still
  // collected for writing are written first. Writing through it would pass
  // by the slots read ahead: only reading is allowed.
  StorageFile& file() {
    WritePending();
    return *m_file;
  }

 private:
  // Slots appended at the end of the file are collected and written in one
  // piece: before any other write or read that touches them, before a sync,
  // when kPendingLimit bytes are together, and at the end of every operation
  // of a fileblock that is not bulk loading (Fileblock::SetBulkLoad). The
  // file gets the same bytes in the same order as without, in fewer system
  // calls. A bulk-loading process that is killed loses the records it added
  // since the last write of the collection, at most kPendingLimit bytes.
  static constexpr size_t kPendingLimit = 64 << 10;
  int64_t ReadAt(uint64_t off, void* buf, size_t n);
  // Every write of the data file goes through here, so that the slots read
  // ahead follow it.
  int64_t WriteAt(uint64_t off, const void* buf, size_t n);
  int64_t WriteOrCollect(uint64_t off, const void* buf, size_t n);

  bool ReadSlot(int32_t n, uint8_t* buf);
  bool WriteSlot(int32_t n, const uint8_t* buf, size_t len = 0);
  bool AllocSlot(int32_t* n);
  bool FreeSlot(int32_t n);
  bool WriteChain(const uint8_t* rest, size_t len, int32_t* first);
  bool FreeChain(int32_t first);
  bool WriteVariable(int32_t n, const uint8_t* buf, size_t len, int32_t old_chain);
  bool Damaged(int32_t slot);
  size_t VarLength(const uint8_t* buf, size_t len) const;

  std::unique_ptr<StorageFile> m_file;
  Fileblock* m_owner;
  int m_slot;
  bool m_variable;
  DataHeader m_header;
  bool m_flag_on_disk = false;
  std::vector<uint8_t> m_scratch;
  uint64_t m_file_size = 0;  // as written, without the pending bytes
  uint64_t m_pending_off = 0;
  std::vector<uint8_t> m_pending;
  SlotReadAhead m_ahead;
};

}  // namespace kontura
