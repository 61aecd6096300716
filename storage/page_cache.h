#pragma once
// The cache of decoded index pages shared by all fileblocks, most recently
// used first. A page handed out is pinned as long as the caller holds its
// shared_ptr: eviction skips pinned pages, so a B-tree operation can hold its
// whole search path while it changes it. A changed page is written back when
// it is evicted, or when its index file is flushed or closed.

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
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
  void SetCapacity(int pages) {
    m_capacity = pages;
    m_map.reserve(static_cast<size_t>(pages) * 2);
  }
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
  size_t size() const { return m_items.size(); }

 private:
  struct Key {
    const IndexFile* file;
    int index;
    int32_t page;
    bool operator==(const Key& o) const { return file == o.file && index == o.index && page == o.page; }
  };
  struct KeyHash {
    size_t operator()(const Key& k) const {
      uint64_t h = reinterpret_cast<uintptr_t>(k.file);
      h ^= (static_cast<uint64_t>(static_cast<uint32_t>(k.index)) << 32) | static_cast<uint32_t>(k.page);
      h *= 0x9E3779B97F4A7C15ull;
      return static_cast<size_t>(h ^ (h >> 29));
    }
  };
  struct Item {
    Key key;
    IndexFile* owner;
    PagePtr page;
  };
  bool EvictOverflow();

  int m_capacity = 160;
  std::list<Item> m_items;  // most recently used first
  std::unordered_map<Key, std::list<Item>::iterator, KeyHash> m_map;
};

PageCache& ThePageCache();

}  // namespace kontura
