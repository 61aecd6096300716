#pragma once
// The index file of a fileblock: the headers of all its indexes (block 0) and
// their B-tree pages, read through the shared page cache. Every header and
// page is checked when it is read; an inconsistency is logged as a damaged
// file (10070 for pages met during an operation, 10120 for headers at
// opening, 10170 for the free-page chain) and never followed.

#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "storage/file_system.h"
#include "storage/page_cache.h"

namespace kontura {

class Fileblock;

struct KeySpec {
  int length = 0;  // 1..50
  bool duplicates = false;
};

// Entries of one index in index order, their keys packed into one buffer: a
// walk collects thousands of them at a time.
struct EntryRun {
  std::vector<int32_t> refs;
  std::vector<uint32_t> key_ends;  // end of entry j's key in keys
  std::string keys;

  size_t size() const { return refs.size(); }
  std::string_view key(size_t j) const {
    const uint32_t begin = j == 0 ? 0 : key_ends[j - 1];
    return std::string_view(keys).substr(begin, key_ends[j] - begin);
  }
  void clear() {
    refs.clear();
    key_ends.clear();
    keys.clear();
  }
  void push_back(const IndexEntry& e) {
    refs.push_back(e.ref);
    keys += e.key;
    key_ends.push_back(static_cast<uint32_t>(keys.size()));
  }
};

struct IndexHeader {
  int32_t free_head = -1;
  int32_t free_count = 0;
  int32_t page_count = 0;
  int32_t page_size = 0;
  int32_t root = 0;
  bool duplicates = false;
  uint8_t reserved = 0;
  int32_t entry_count = 0;
  int capacity = 62;
  // Derived from the geometry.
  int key_length = 0;
  int offset = 0;  // o(i) inside every block
};

enum class Seek { kAtOrAfter, kAfter, kAtOrBefore, kBefore };

// Sorts (key, ref) pairs as the indexes do: key bytes unsigned, a proper
// prefix first, then the record number.
inline int CompareEntry(const std::string& ka, int32_t ra, const std::string& kb, int32_t rb) {
  int c = ka.compare(kb);
  if (c != 0) return c < 0 ? -1 : 1;
  return ra < rb ? -1 : (ra > rb ? 1 : 0);
}

// A key that sorts after every stored key (stored keys have at most 50 bytes).
inline std::string KeyAfterAll() { return std::string(51, '\xFF'); }

class IndexFile {
 public:
  IndexFile(std::unique_ptr<StorageFile> file, Fileblock* owner);
  ~IndexFile();
  IndexFile(const IndexFile&) = delete;
  IndexFile& operator=(const IndexFile&) = delete;

  // The file itself, for reading it as it is on the disk after Flush.
  StorageFile& file() { return *m_file; }

  // Block 0 for new, empty indexes with these key definitions.
  static std::vector<uint8_t> EmptyHeaderBlock(const std::vector<KeySpec>& keys);

  // Reads and checks the headers of key_count indexes. Returns 0 or the
  // code of the fault (10060, 10070, 10120, 10121, 10122); nothing is logged,
  // because most of these faults are repaired by the rebuild.
  int Load(int key_count);

  int key_count() const { return static_cast<int>(m_headers.size()); }
  const IndexHeader& header(int i) const { return m_headers[i - 1]; }
  int block_size() const { return m_block_size; }

  // Writes changed pages and headers; with sync also flushes the OS buffers.
  bool Flush(bool sync);
  // Drops the cached pages without writing (after a failure or a rebuild).
  void Discard();

  // B-tree operations on index i (1-based). They return false after
  // logging an error; *duplicate / *missing report the soft outcomes.
  bool Insert(int i, const std::string& key, int32_t ref, bool* duplicate);
  bool Remove(int i, const std::string& key, int32_t ref, bool* missing);
  bool Find(int i, Seek how, const std::string& key, int32_t ref, IndexEntry* out, bool* found);
  bool First(int i, IndexEntry* out, bool* found) { return Find(i, Seek::kAtOrAfter, "", INT32_MIN, out, found); }
  bool Last(int i, IndexEntry* out, bool* found) {
    return Find(i, Seek::kAtOrBefore, KeyAfterAll(), INT32_MAX, out, found);
  }
  // Collects into *out the entries from (key, ref) on in index order
  // (forward) or against it, the entry (key, ref) itself included when
  // present: at most max_entries, from at most max_pages pages. Quiet: it
  // logs nothing, writes nothing (pages read from the file join the cache
  // only while it has room) and simply stops early at a page it cannot read
  // or trust, which the walk then meets and reports itself.
  void Collect(int i, bool forward, std::string_view key, int32_t ref, size_t max_entries, size_t max_pages,
               EntryRun* out);
  // Changes with every insert and remove on any index of the file: a run
  // collected at one version is the index as it stands while the version
  // stays.
  uint64_t version() const { return m_version; }
  // Position estimates from the root and the page below it (record browser).
  bool Approx(int i, const std::string& key, int32_t ref, int32_t scale, int32_t* position);
  bool EntryAtApprox(int i, int32_t position, int32_t scale, IndexEntry* out);

  // Page I/O (used by the cache and the tree code).
  bool WritePage(int i, int32_t page, const IndexPage& p);
  // Writes changed pages in the order of the file, each run of pages that
  // lie side by side there (a block holds page m of every index) in one
  // call. False when a write failed (logged); the other runs are written.
  struct PageToWrite {
    int index;
    int32_t page;
    IndexPage* p;
  };
  bool WritePages(std::vector<PageToWrite> pages);

 private:
  struct Step {
    int32_t page_no;
    PagePtr page;
    size_t child;  // position of the child taken below this page
  };
  // What went wrong when LoadPage returned no page.
  struct PageFault {
    bool damaged = false;        // page number or contents do not hold up
    bool insert_failed = false;  // writing an evicted page failed (logged)
    int64_t read = 0;            // result of the read when it fell short
    int os_error = 0;
  };
  // The page from the cache or the file, checked; logs every fault.
  PagePtr GetPage(int i, int32_t page, bool is_root);
  // The same without logging: *fault says what went wrong. Without
  // may_evict a page read from the file joins the cache only while the cache
  // has room, so that nothing is written.
  PagePtr LoadPage(int i, int32_t page, bool is_root, bool may_evict, PageFault* fault);
  PagePtr NewPage(int i, int32_t* page_no);
  bool FreePage(int i, int32_t page_no);
  // The stored form of page p of index i, header(i).page_size bytes.
  void EncodePage(int i, const IndexPage& p, uint8_t* out) const;
  bool ReadAt(uint64_t off, void* buf, size_t n);
  bool WriteAt(uint64_t off, const void* buf, size_t n);
  uint64_t PageOffset(int i, int32_t page) const {
    return static_cast<uint64_t>(page) * static_cast<uint64_t>(m_block_size) + static_cast<uint64_t>(header(i).offset);
  }
  IndexHeader& mut_header(int i) {
    m_headers_dirty = true;
    return m_headers[i - 1];
  }
  bool Damaged(int i, int32_t page);
  bool Rebalance(int i, std::vector<Step>& path);
  int MinFill(int i) const { return header(i).capacity / 2; }

  std::unique_ptr<StorageFile> m_file;
  Fileblock* m_owner;
  std::vector<IndexHeader> m_headers;
  bool m_headers_dirty = false;
  uint64_t m_version = 0;
  int m_block_size = 0;
  int64_t m_blocks = 0;  // blocks in the file, block 0 included
  std::vector<uint8_t> m_scratch;  // one page as read or written
};

}  // namespace kontura
