#include "storage/page_cache.h"

#include "storage/index_file.h"

namespace kontura {

PageCache& ThePageCache() {
  static PageCache cache;
  return cache;
}

PagePtr PageCache::Lookup(const IndexFile* file, int index, int32_t page) {
  auto it = m_map.find(Key{file, index, page});
  if (it == m_map.end()) return nullptr;
  m_items.splice(m_items.begin(), m_items, it->second);
  return it->second->page;
}

bool PageCache::Insert(IndexFile* file, int index, int32_t page, PagePtr p) {
  Key key{file, index, page};
  auto it = m_map.find(key);
  if (it != m_map.end()) {
    it->second->page = std::move(p);
    m_items.splice(m_items.begin(), m_items, it->second);
    return true;
  }
  m_items.push_front(Item{key, file, std::move(p)});
  m_map[key] = m_items.begin();
  return EvictOverflow();
}

bool PageCache::EvictOverflow() {
  bool ok = true;
  auto it = m_items.end();
  while (m_items.size() > static_cast<size_t>(m_capacity) && it != m_items.begin()) {
    --it;
    if (it->page.use_count() > 1) continue;  // pinned by a running operation
    if (it->page->dirty && !it->owner->WritePage(it->key.index, it->key.page, *it->page)) ok = false;
    m_map.erase(it->key);
    it = m_items.erase(it);
  }
  return ok;
}

void PageCache::Forget(const IndexFile* file, int index, int32_t page) {
  auto it = m_map.find(Key{file, index, page});
  if (it == m_map.end()) return;
  m_items.erase(it->second);
  m_map.erase(it);
}

bool PageCache::FlushFile(IndexFile* file) {
  bool ok = true;
  for (Item& item : m_items) {
    if (item.key.file == file && item.page->dirty) {
      if (!file->WritePage(item.key.index, item.key.page, *item.page)) ok = false;
    }
  }
  return ok;
}

void PageCache::DropFile(const IndexFile* file) {
  for (auto it = m_items.begin(); it != m_items.end();) {
    if (it->key.file == file) {
      m_map.erase(it->key);
      it = m_items.erase(it);
    } else {
      ++it;
    }
  }
}

void PageCache::Clear() {
  m_items.clear();
  m_map.clear();
}

}  // namespace kontura
