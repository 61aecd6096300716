#pragma once
// The cache of decoded index pages shared by all fileblocks. A page handed
// out is pinned as long as the caller holds its shared_ptr: eviction skips
// pinned pages, so a B-tree operation can hold its whole search path while it
// changes it. A changed page is written back when it is evicted, or when its
// index file is flushed or closed.
//
// Every engine operation looks up a few pages per index, so a look-up must
// be cheap: the pages sit in one array, found through an open-addressing
// table, and eviction goes by the clock (second chance) instead of keeping a
// list in order of use: a look-up only marks its page as used, and the clock
// hand passes over a marked page once, clearing the mark, before it evicts
// it. Recently used pages stay, as with a least-recently-used order, without
// a list to rearrange at every look-up.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kontura {

class IndexFile;

struct IndexEntry {
  int32_t ref = 0;
  int32_t right = 0;  // page of the subtree right of this entry, 0 in a leaf
  std::string key;
};

struct IndexPage {
  int32_t left = 0;  // page of the subtree left of the first entry, 0 in a leaf
  std::vector<IndexEntry> entries;
  bool dirty = false;
  bool leaf() const { return left == 0; }
  int32_t child(size_t j) const { return j == 0 ? left : entries[j - 1].right; }
  void set_child(size_t j, int32_t page) {
    if (j == 0) left = page; else entries[j - 1].right = page;
  }
};

using PagePtr = std::shared_ptr<IndexPage>;

class PageCache {
 public:
  void SetCapacity(int pages) { m_capacity = pages; }
  int capacity() const { return m_capacity; }

  PagePtr Lookup(const IndexFile* file, int index, int32_t page);
  // Adds a page; may evict (and write) unpinned pages. False when writing an
  // evicted page failed (the error is logged by the index file).
  bool Insert(IndexFile* file, int index, int32_t page, PagePtr p);
  // Drops a page without writing it (it was freed).
  void Forget(const IndexFile* file, int index, int32_t page);
  // Writes every changed page of a file.
  bool FlushFile(IndexFile* file);
  // Drops every page of a file without writing.
  void DropFile(const IndexFile* file);
  void Clear();
  size_t size() const { return m_count; }

 private:
  struct Key {
    const IndexFile* file = nullptr;
    int index = 0;
    int32_t page = 0;
    bool operator==(const Key& o) const { return file == o.file && index == o.index && page == o.page; }
  };
  static size_t Hash(const Key& k) {
    uint64_t h = reinterpret_cast<uintptr_t>(k.file);
    h ^= (static_cast<uint64_t>(static_cast<uint32_t>(k.index)) << 32) | static_cast<uint32_t>(k.page);
    h *= 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(h ^ (h >> 29));
  }
  struct Item {
    Key key;
    IndexFile* owner = nullptr;
    PagePtr page;  // nullptr: the item is free
    bool used = false;  // looked up since the clock hand last passed
  };
  static constexpr uint32_t kNone = UINT32_MAX;
  struct Slot {
    Key key;
    uint32_t item = kNone;
  };
  // The table slot of key: where it is, or the empty slot where it belongs.
  size_t SlotOf(const Key& key) const;
  void Grow();
  void Remove(size_t slot);  // frees the item and closes the gap in the table
  bool EvictOverflow();

  int m_capacity = 160;
  std::vector<Item> m_items;
  std::vector<uint32_t> m_free_items;
  size_t m_count = 0;
  size_t m_hand = 0;
  std::vector<Slot> m_table;  // a power of two, at most half full
};

PageCache& ThePageCache();

}  // namespace kontura
