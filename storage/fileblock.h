#pragma once
// The fileblock engine: indexed record files of fixed-length records with up
// to 110 B-tree indexes, as the rest of the program uses them.
//
// Every call sets the error state (storage_error.h); callers test
// StorageErrorClass() after each call. Soft outcomes (class 1 and 2: not
// found, end of index, key present, file absent) leave files, buffer and
// current record as they were. Fatal ones (class 3 and above) run the fatal
// handler at the end of the call.
//
// Durability. The data header carries a modification flag (file_layout.h).
// An add, update or delete runs these steps:
//   1. before the first change after a flush (or after opening) the flag 1
//      is written into the data header and synced on its own: from now on
//      the disk says "rebuild me" whatever else reaches it;
//   2. the record slot is written (an add fills a free or new slot, an update
//      rewrites it in place, a delete puts it on the free chain); with
//      flush-after-write the data file is then synced, and the operation
//      returns with its record on the disk: this is its one sync. An add
//      into a freed slot writes the bytes behind the status first and syncs
//      them, then the status 0, so that a cut never makes a live record of
//      the new head and the old tail;
//   3. the index pages are changed in the page cache; they reach the index
//      file when they are evicted or flushed, unsynced. The flag stays 1.
//   4. Flush() and closing sync the data file, write every changed page and
//      index header and sync the index file, then write the data header with
//      the flag 0 and sync it.
// A crash (or power loss) before the flag of step 1 is on the disk leaves
// the files of the last flush, whole and consistent: no record slot of a
// later change can be there, because none is written before that sync. From
// then until the flag 0 of step 4 is on the disk, the flag on disk is 1 and
// the next opening rebuilds the fileblock from the data file alone: every
// record whose operation returned is there (step 2 synced it), every delete
// that returned stays deleted, freed slots disappear and the records are
// numbered anew. The flag 0 reaches the disk only after the records and the
// index it vouches for. The one operation in flight may or may not be there;
// a record rewritten in place may even come back with some 512-byte sectors
// old and some new (the format has no checksum to tell), and its index
// entries are built from what came back.
// Why the flag stays 1 until a flush: clearing it after every operation
// would need three syncs per operation (flag 1, record, index before the
// flag 0) where this needs one (two for an add into a freed slot), plus one
// for the flag after each flush and three per flush. The price is that a
// crash of a fileblock with unflushed changes always costs a rebuild at the
// next opening (a contest log of 10,000 QSOs: under a second of CPU, see
// bench/storage_bench.cpp). Other programs of the suite cannot open the
// files while they are held; after a crash they find the flag 1 and rebuild,
// as the format expects of them.
// The rebuild itself is restartable (rebuild.h).

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "storage/data_file.h"
#include "storage/index_file.h"
#include "storage/storage_error.h"

namespace kontura {

// Builds the key string of key number key_nr from a record. The engine cuts
// the result to 50 bytes and then to the key length of the index: builders
// may return longer strings. Builders must not call the engine.
using KeyBuilder = std::function<std::string(const uint8_t* record, int key_nr)>;
// Progress of a rebuild: fileblock name, index number (0 while the data file
// is reorganised), records read, keys added.
using ProgressHandler = std::function<void(const std::string& name, int key_nr, int32_t read, int32_t added)>;

class Fileblock;

struct Position {
  int key_nr = 0;
  int32_t ref = -1;
  std::string key;
  Fileblock* fileblock = nullptr;
};

// SetPosition modes.
enum PositionMode { kPosExact = 0, kPosForward = 1, kPosForwardOnly = 2, kPosBackward = 3, kPosBackwardOnly = 4 };
// DeleteRecord positioning.
enum AfterDelete { kAfterNone = 0, kAfterLast = 1, kAfterFirst = 2, kAfterNext = 3, kAfterPrev = 4 };

class Fileblock {
 public:
  ~Fileblock();
  Fileblock(const Fileblock&) = delete;
  Fileblock& operator=(const Fileblock&) = delete;

  const std::string& name() const { return m_name; }
  const std::string& file_name() const { return m_file_name; }
  int record_length() const { return m_record_length; }
  int buffer_size() const { return m_buffer_size; }
  int key_count() const { return m_key_count; }

  // Set-up, called by the opener right after OpenFileblock.
  void DefineKey(int key_nr, int key_length, bool duplicates);
  // field_offset: byte offset of a 32-bit field inside the record buffer.
  void SetCounterField(int key_nr, int field_offset);
  void SetFlushAfterWrite(bool on) { m_flush_after_write = on; }
  // Bulk loading (the prefix database, the renumbering copy): appended
  // record slots are collected and written in pieces of up to 64 KB instead
  // of at the end of every operation. A process killed meanwhile loses the
  // records still collected. Outside bulk loading a killed process loses
  // nothing an operation had returned (the kernel keeps what was written);
  // flush-after-write adds the disk. Switching it off writes the collection.
  void SetBulkLoad(bool on);
  void SetProgressHandler(ProgressHandler handler) { m_progress = std::move(handler); }
  void SetLockRetryHandler(LockRetryHandler handler, int retry_count);
  LockRetryHandler GetLockRetryHandler(int* retry_count) const;

  uint8_t* RecordBuffer() { return m_buffer; }
  void ClearBuffer();
  std::string MakeKey(int key_nr);
  int32_t CurrentRef();
  int32_t RecordCount();
  int32_t KeyCount(int key_nr);

  void AddRecord();
  void UpdateRecord();
  void DeleteRecord(int after);
  void ReadByRef(int32_t ref);
  void FindExact(int key_nr, const std::string& key);
  void FindAtLeast(int key_nr, const std::string& key);
  void First(int key_nr);
  void Last(int key_nr);
  void Next(int key_nr);
  void Prev(int key_nr);
  Position GetPosition(int key_nr);
  void SetPosition(const Position& pos, int mode);
  int32_t ApproxPosition(int key_nr, const std::string& key, int32_t ref, int32_t scale);
  int32_t FindByApproxPosition(int key_nr, int32_t position, int32_t scale, std::string* key);

  // Closes the files if open and deletes data, index and journal file; the
  // next operation creates them anew.
  void EraseFiles();
  // Writes everything, syncs and clears the modification flag on the disk
  // (also done by closing). With flush-after-write every change is already
  // on the disk; this only spares the rebuild that a crash would cost.
  void Flush();

  // Flushes (the modification flag 0 on the disk), then reads the data and
  // the index file whole through the engine's own handles: a copy taken
  // between two operations passes the integrity check by itself. False
  // when the files could not be opened, flushed or read.
  bool ReadFileImages(std::vector<uint8_t>* dat, std::vector<uint8_t>* ix);

  // Use count of the openers that share this object.
  int use_count = 0;

  // Engine-internal.
  bool files_open() const { return m_data != nullptr; }
  bool CloseFiles();
  int handles_needed() const { return m_key_count > 0 ? 2 : 1; }

 private:
  friend Fileblock* OpenFileblock(const std::string&, const std::string&, bool, bool, bool, bool, int, int,
                                  uint8_t*, int, KeyBuilder, int);
  Fileblock() = default;

  struct KeyDef {
    bool defined = false;
    int length = 0;
    bool duplicates = false;
    int counter_offset = -1;
    int32_t counter_start = 1;
    int32_t counter_increment = 1;
  };

  bool Run(int op, const std::function<void()>& body);
  bool RetryDecision(int* tries);
  bool AskHandler(int situation);
  bool EnsureOpen();
  // Opens data and index file and checks them; *repair gets the code of a
  // fault the rebuild repairs (the files are then left closed).
  bool OpenFiles(int* repair);
  bool CreateFiles();
  bool Rebuild();
  void DropFiles();
  bool FlushFiles();  // step 4 of the durability protocol
  std::vector<KeySpec> KeySpecs() const;
  bool CheckKeyNr(int key_nr);
  std::string BuildKey(const uint8_t* record, int key_nr);
  bool BeginChange();  // step 1 of the durability protocol
  bool DataWritten();  // step 2 of the durability protocol
  bool ReadInto(int32_t ref, uint8_t* dst, bool* deleted);
  // key: the key of the index entry the record was reached through (key_nr
  // > 0); built from the record when not given.
  void MakeCurrent(int32_t ref, const uint8_t* record, int key_nr, const std::string* key = nullptr);
  bool LoadEntry(int key_nr, const IndexEntry& e);
  bool StepFrom(int key_nr, bool forward, int code_at_end);
  // The entry after the current record's (key) from the walk's run, when
  // the run still is the index as it stands.
  bool StepInRun(const std::string& key, IndexEntry* e);
  // Collects the entries from e on and reads their records ahead.
  void ReadAheadFrom(const IndexEntry& e);
  bool StepByNumber(bool forward, int code_at_end);
  bool FillCounters();
  bool RemoveKeys(const uint8_t* record, int32_t ref, int upto);
  // True when a unique index holds the record's key for another record.
  bool UniqueKeyTaken(const uint8_t* record, int32_t own_ref, int* key_nr);

  std::string m_name;
  std::string m_file_name;
  int m_record_length = 0;
  int m_buffer_size = 0;
  bool m_variable = false;
  bool m_create = true;
  int m_key_count = 0;
  std::vector<KeyDef> m_keys;  // [1..key_count]
  uint8_t* m_buffer = nullptr;
  std::vector<uint8_t> m_own_buffer;
  std::vector<uint8_t> m_snapshot;
  std::vector<uint8_t> m_work;
  int32_t m_current = -1;
  int m_last_key_nr = 0;
  std::string m_last_key;
  int32_t m_last_key_ref = -1;
  KeyBuilder m_key_builder;
  LockRetryHandler m_lock_retry;
  ProgressHandler m_progress;
  int m_retry_count = 32;
  bool m_flush_after_write = false;
  bool m_bulk_load = false;
  bool m_dirty = false;  // changed since the last flush
  std::unique_ptr<DataFile> m_data;
  std::unique_ptr<IndexFile> m_index;

  // A walk: Next or Prev on one index, each step from where the last one
  // ended. From its second step on, the entries ahead are collected in runs
  // and their records read ahead (slot_read_ahead.h), each run about twice
  // as long as the walk so far and at most kReadAheadBytes of records: a walk
  // that stops has read at most three times the records it met, a long one
  // takes few system calls per thousand records. The run also spares each
  // step its search from the root while the index does not change.
  static constexpr size_t kReadAheadBytes = 2 << 20;
  static constexpr size_t kReadAheadMin = 16;
  struct Walk {
    int key_nr = 0;
    bool forward = true;
    int32_t last_ref = -1;  // where the last step ended
    size_t steps = 0;       // steps of the walk so far
    EntryRun run;           // consecutive entries of the index
    size_t pos = 0;         // the entry in run of the record the walk is at
    uint64_t version = 0;   // of the index when run was collected
  };
  Walk m_walk;
};

// Bulk loading for the time of a scope: every way out writes the collection.
class BulkLoadScope {
 public:
  explicit BulkLoadScope(Fileblock* fb) : m_fb(fb) { m_fb->SetBulkLoad(true); }
  ~BulkLoadScope() { m_fb->SetBulkLoad(false); }
  BulkLoadScope(const BulkLoadScope&) = delete;
  BulkLoadScope& operator=(const BulkLoadScope&) = delete;

 private:
  Fileblock* m_fb;
};

// Engine-wide calls.
void InitFileManager(int page_buffers, int file_handles);
void ExitFileManager();
bool FileManagerStarted();
void CloseAllFileblocks();
Fileblock* FindOpenFileblock(const std::string& name);
// True while fb is an open fileblock (error log entries may name one that
// was closed since).
bool IsValidFileblock(const Fileblock* fb);
void SetDefaultLockRetryHandler(LockRetryHandler handler);

// Returns the new fileblock or nullptr (error state set). The files are
// opened, created or rebuilt by the first operation that needs them.
Fileblock* OpenFileblock(const std::string& name, const std::string& file_name, bool journal, bool shared,
                         bool variable_length, bool create_if_missing, int record_length, int key_count,
                         uint8_t* record_buffer, int buffer_size, KeyBuilder key_builder, int retry_count);
// Closes the files (headers written) and destroys the object.
void CloseFileblock(Fileblock* fb);

// "<base>.<ext>", replacing an extension the base name already has.
std::string FileblockPath(const std::string& base, const std::string& ext);

}  // namespace kontura
