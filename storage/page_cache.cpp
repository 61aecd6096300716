#include "storage/page_cache.h"

#include "storage/index_file.h"

namespace kontura {

PageCache& ThePageCache() {
  static PageCache cache;
  return cache;
}

size_t PageCache::SlotOf(const Key& key) const {
  const size_t mask = m_table.size() - 1;
  size_t s = Hash(key) & mask;
  while (m_table[s].item != kNone && !(m_table[s].key == key)) s = (s + 1) & mask;
  return s;
}

void PageCache::Grow() {
  std::vector<Slot> old = std::move(m_table);
  m_table.assign(std::max<size_t>(64, old.size() * 2), Slot{});
  for (const Slot& s : old) {
    if (s.item != kNone) m_table[SlotOf(s.key)] = s;
  }
}

PagePtr PageCache::Lookup(const IndexFile* file, int index, int32_t page) {
  if (m_count == 0) return nullptr;
  const Slot& s = m_table[SlotOf(Key{file, index, page})];
  if (s.item == kNone) return nullptr;
  Item& item = m_items[s.item];
  item.used = true;
  return item.page;
}

bool PageCache::Insert(IndexFile* file, int index, int32_t page, PagePtr p) {
  const Key key{file, index, page};
  if (m_count > 0) {
    const Slot& s = m_table[SlotOf(key)];
    if (s.item != kNone) {
      m_items[s.item].page = std::move(p);
      m_items[s.item].used = true;
      return true;
    }
  }
  if ((m_count + 1) * 2 > m_table.size()) Grow();
  uint32_t at;
  if (!m_free_items.empty()) {
    at = m_free_items.back();
    m_free_items.pop_back();
  } else {
    at = static_cast<uint32_t>(m_items.size());
    m_items.emplace_back();
  }
  m_items[at] = Item{key, file, std::move(p), true};
  m_table[SlotOf(key)] = Slot{key, at};
  ++m_count;
  return EvictOverflow();
}

void PageCache::Remove(size_t slot) {
  const uint32_t at = m_table[slot].item;
  m_items[at] = Item{};
  m_free_items.push_back(at);
  --m_count;
  // Linear probing without tombstones: the entries behind the gap that
  // could not sit where they belong move up into it.
  const size_t mask = m_table.size() - 1;
  size_t gap = slot;
  for (size_t s = (slot + 1) & mask; m_table[s].item != kNone; s = (s + 1) & mask) {
    const size_t home = Hash(m_table[s].key) & mask;
    // The entry stays when its home lies cyclically in (gap, s].
    const bool stays = gap <= s ? (gap < home && home <= s) : (gap < home || home <= s);
    if (stays) continue;
    m_table[gap] = m_table[s];
    gap = s;
  }
  m_table[gap] = Slot{};
}

bool PageCache::EvictOverflow() {
  bool ok = true;
  // Two rounds of the hand clear every mark; a page still there after them
  // is pinned by a running operation.
  for (size_t steps = 0; m_count > static_cast<size_t>(m_capacity) && steps < 2 * m_items.size(); ++steps) {
    if (m_hand >= m_items.size()) m_hand = 0;
    Item& item = m_items[m_hand++];
    if (!item.page || item.page.use_count() > 1) continue;
    if (item.used) {
      item.used = false;
      continue;
    }
    if (item.page->dirty && !item.owner->WritePage(item.key.index, item.key.page, *item.page)) ok = false;
    Remove(SlotOf(item.key));
  }
  return ok;
}

void PageCache::Forget(const IndexFile* file, int index, int32_t page) {
  if (m_count == 0) return;
  const size_t s = SlotOf(Key{file, index, page});
  if (m_table[s].item != kNone) Remove(s);
}

bool PageCache::FlushFile(IndexFile* file) {
  std::vector<IndexFile::PageToWrite> changed;
  for (Item& item : m_items) {
    if (item.page && item.key.file == file && item.page->dirty) {
      changed.push_back(IndexFile::PageToWrite{item.key.index, item.key.page, item.page.get()});
    }
  }
  return changed.empty() || file->WritePages(std::move(changed));
}

void PageCache::DropFile(const IndexFile* file) {
  for (Item& item : m_items) {
    if (item.page && item.key.file == file) Remove(SlotOf(item.key));
  }
}

void PageCache::Clear() {
  m_items.clear();
  m_free_items.clear();
  m_table.clear();
  m_count = 0;
  m_hand = 0;
}

}  // namespace kontura
