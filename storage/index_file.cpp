// Index headers, page reading and writing, page allocation.

#include "storage/index_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "storage/file_layout.h"
#include "storage/record_bytes.h"
#include "storage/storage_error.h"

namespace kontura {

using namespace layout;
using storage_detail::LogError;

IndexFile::IndexFile(std::unique_ptr<StorageFile> file, Fileblock* owner) : m_file(std::move(file)), m_owner(owner) {}

IndexFile::~IndexFile() { ThePageCache().DropFile(this); }

std::vector<uint8_t> IndexFile::EmptyHeaderBlock(const std::vector<KeySpec>& keys) {
  int block = 0;
  for (const KeySpec& k : keys) block += PageSize(k.length, kCreatedPageCapacity);
  std::vector<uint8_t> b(static_cast<size_t>(block), 0);
  int off = 0;
  for (const KeySpec& k : keys) {
    uint8_t* h = b.data() + off;
    int p = PageSize(k.length, kCreatedPageCapacity);
    PutI32(h, kIxFreeHead, -1);
    PutI32(h, kIxFreeCount, 0);
    PutI32(h, kIxPageCount, 0);
    PutI32(h, kIxPageSize, p);
    PutI32(h, kIxRoot, 0);
    h[kIxDuplicates] = k.duplicates ? 1 : 0;
    PutI32(h, kIxEntryCount, 0);
    PutI16(h, kIxCapacity, kCreatedPageCapacity);
    off += p;
  }
  return b;
}

int IndexFile::Load(int key_count) {
  if (key_count > kMaxKeys) return err::kIndexTooManyKeys;
  m_headers.assign(static_cast<size_t>(key_count), IndexHeader{});
  int64_t size = m_file->Size();
  if (size < 0) return err::kOsError;
  // The headers lie at the offsets the page sizes give: read them one after
  // the other, each header telling where the next one starts.
  int off = 0;
  for (int i = 1; i <= key_count; ++i) {
    uint8_t h[kIndexHeaderBytes];
    if (off + kIndexHeaderBytes > size) return err::kShortRead;
    if (m_file->ReadAt(static_cast<uint64_t>(off), h, sizeof h) != kIndexHeaderBytes) return err::kShortRead;
    IndexHeader& x = m_headers[i - 1];
    x.free_head = GetI32(h, kIxFreeHead);
    x.free_count = GetI32(h, kIxFreeCount);
    x.page_count = GetI32(h, kIxPageCount);
    x.page_size = GetI32(h, kIxPageSize);
    x.root = GetI32(h, kIxRoot);
    x.duplicates = h[kIxDuplicates] != 0;
    x.reserved = h[kIxReserved];
    x.entry_count = GetI32(h, kIxEntryCount);
    x.capacity = GetI16(h, kIxCapacity);
    if (x.capacity == 0) x.capacity = kMaxPageCapacity;
    if (x.capacity < 0 || x.capacity > kMaxPageCapacity) return err::kIndexCapacity;
    if (x.page_size <= kPageEntries || (x.page_size - kPageEntries) % x.capacity != 0) return err::kIndexGeometry;
    int n = (x.page_size - kPageEntries) / x.capacity - kEntryOverhead;
    if (n < 1) return err::kIndexGeometry;
    if (n > kMaxKeyLength) return err::kIndexKeyLength;
    x.key_length = n;
    x.offset = off;
    off += x.page_size;
  }
  m_block_size = off;
  m_blocks = m_block_size > 0 ? size / m_block_size : 0;
  // Counts and page numbers must lie inside the file: anything else is a
  // damaged header, which the rebuild repairs.
  for (const IndexHeader& x : m_headers) {
    if (x.page_count < 0 || x.page_count >= m_blocks) return err::kIndexGeometry;
    if (x.root < 0 || x.root > x.page_count) return err::kIndexGeometry;
    if (x.free_count < 0 || x.free_count > x.page_count) return err::kIndexGeometry;
    if (x.free_head == 0 || x.free_head < -1 || x.free_head > x.page_count) return err::kIndexGeometry;
    if ((x.free_head == -1) != (x.free_count == 0)) return err::kIndexGeometry;
    if (x.entry_count < 0 || (x.root == 0) != (x.entry_count == 0)) return err::kIndexGeometry;
  }
  m_headers_dirty = false;
  return 0;
}

bool IndexFile::ReadAt(uint64_t off, void* buf, size_t n) {
  int64_t r = m_file->ReadAt(off, buf, n);
  if (r == static_cast<int64_t>(n)) return true;
  LogError(r < 0 ? err::kOsError : err::kShortRead, m_owner, 1, 0, 0, r < 0 ? m_file->os_error() : 0);
  return false;
}

bool IndexFile::WriteAt(uint64_t off, const void* buf, size_t n) {
  int64_t r = m_file->WriteAt(off, buf, n);
  if (r == static_cast<int64_t>(n)) return true;
  int os = m_file->os_error();
  LogError(r < 0 && os != ENOSPC ? err::kOsError : err::kShortWrite, m_owner, 2, 0, 0, os);
  return false;
}

bool IndexFile::Damaged(int i, int32_t page) {
  LogError(err::kShortRead, m_owner, 3, i, page);
  return false;
}

PagePtr IndexFile::GetPage(int i, int32_t page, bool is_root) {
  PageFault fault;
  PagePtr p = LoadPage(i, page, is_root, true, &fault);
  if (p || fault.insert_failed) return p;  // a failed eviction has logged its write error
  if (fault.damaged) {
    Damaged(i, page);
  } else {
    LogError(fault.read < 0 ? err::kOsError : err::kShortRead, m_owner, 1, 0, 0, fault.read < 0 ? fault.os_error : 0);
  }
  return nullptr;
}

PagePtr IndexFile::LoadPage(int i, int32_t page, bool is_root, bool may_evict, PageFault* fault) {
  const IndexHeader& h = header(i);
  if (page < 1 || page > h.page_count) {
    fault->damaged = true;
    return nullptr;
  }
  if (PagePtr p = ThePageCache().Lookup(this, i, page)) {
    if (!is_root && p->entries.empty()) {
      fault->damaged = true;
      return nullptr;
    }
    return p;
  }
  std::vector<uint8_t>& raw = m_scratch;
  raw.resize(static_cast<size_t>(h.page_size));
  fault->read = m_file->ReadAt(PageOffset(i, page), raw.data(), raw.size());
  if (fault->read != static_cast<int64_t>(raw.size())) {
    fault->os_error = fault->read < 0 ? m_file->os_error() : 0;
    return nullptr;
  }
  auto p = std::make_shared<IndexPage>();
  int e = GetI16(raw.data(), kPageCount);
  // A page from disk is trusted only after every count, length and page
  // number in it has been checked: nothing here may lead outside the page
  // or the file.
  // A page in the tree holds at least one entry; the root too, because an
  // empty index has root 0.
  fault->damaged = true;
  if (e < 1 || e > h.capacity) return nullptr;
  p->left = GetI32(raw.data(), kPageLeft);
  if (p->left < 0 || p->left > h.page_count) return nullptr;
  // Room for one entry more than a page holds, the overflow before a split:
  // the entries never move to a larger array while the page is cached.
  p->entries.reserve(static_cast<size_t>(h.capacity) + 1);
  p->entries.resize(static_cast<size_t>(e));
  for (int j = 0; j < e; ++j) {
    const uint8_t* en = raw.data() + EntryOffset(h.key_length, j);
    IndexEntry& x = p->entries[j];
    x.ref = GetI32(en, kEntryRef);
    x.right = GetI32(en, kEntryRight);
    int len = en[kEntryKey];
    if (len > h.key_length || x.right < 0 || x.right > h.page_count || (x.right == 0) != (p->left == 0)) {
      return nullptr;
    }
    x.key.assign(reinterpret_cast<const char*>(en + kEntryKey + 1), static_cast<size_t>(len));
    if (j > 0 && CompareEntry(p->entries[j - 1].key, p->entries[j - 1].ref, x.key, x.ref) >= 0) return nullptr;
  }
  fault->damaged = false;
  // Without may_evict the page is kept only while the cache has room: adding
  // it then never writes (and never fails to write) another page.
  PageCache& cache = ThePageCache();
  if (!may_evict && cache.size() >= static_cast<size_t>(cache.capacity())) return p;
  if (!cache.Insert(this, i, page, p)) {
    fault->insert_failed = true;
    return nullptr;
  }
  return p;
}

void IndexFile::EncodePage(int i, const IndexPage& p, uint8_t* out) const {
  const IndexHeader& h = header(i);
  std::memset(out, 0, static_cast<size_t>(h.page_size));
  PutI16(out, kPageCount, static_cast<int16_t>(p.entries.size()));
  PutI32(out, kPageLeft, p.left);
  for (size_t j = 0; j < p.entries.size(); ++j) {
    uint8_t* en = out + EntryOffset(h.key_length, static_cast<int>(j));
    PutI32(en, kEntryRef, p.entries[j].ref);
    PutI32(en, kEntryRight, p.entries[j].right);
    PutPStr(en, kEntryKey, static_cast<size_t>(h.key_length), p.entries[j].key);
  }
}

bool IndexFile::WritePage(int i, int32_t page, const IndexPage& p) {
  std::vector<uint8_t>& raw = m_scratch;
  raw.resize(static_cast<size_t>(header(i).page_size));
  EncodePage(i, p, raw.data());
  if (!WriteAt(PageOffset(i, page), raw.data(), raw.size())) return false;
  const_cast<IndexPage&>(p).dirty = false;
  return true;
}

bool IndexFile::WritePages(std::vector<PageToWrite> pages) {
  std::sort(pages.begin(), pages.end(), [this](const PageToWrite& a, const PageToWrite& b) {
    return PageOffset(a.index, a.page) < PageOffset(b.index, b.page);
  });
  constexpr size_t kRunLimit = 256 << 10;
  std::vector<uint8_t> run;
  bool ok = true;
  for (size_t k = 0; k < pages.size();) {
    // A run: pages whose bytes follow each other in the file.
    const uint64_t start = PageOffset(pages[k].index, pages[k].page);
    run.clear();
    size_t end = k;
    while (end < pages.size() && PageOffset(pages[end].index, pages[end].page) == start + run.size() &&
           (end == k || run.size() + static_cast<size_t>(header(pages[end].index).page_size) <= kRunLimit)) {
      const size_t at = run.size();
      run.resize(at + static_cast<size_t>(header(pages[end].index).page_size));
      EncodePage(pages[end].index, *pages[end].p, run.data() + at);
      ++end;
    }
    if (WriteAt(start, run.data(), run.size())) {
      for (; k < end; ++k) pages[k].p->dirty = false;
    } else {
      ok = false;
      k = end;
    }
  }
  return ok;
}

PagePtr IndexFile::NewPage(int i, int32_t* page_no) {
  IndexHeader& h = mut_header(i);
  int32_t no;
  if (h.free_head != -1) {
    // Reuse the last freed page; its first 4 bytes link to the next one.
    uint8_t link[4];
    if (h.free_count <= 0 || h.free_head < 1 || h.free_head > h.page_count) {
      LogError(err::kFreeChain, m_owner, 4, i, h.free_head);
      return nullptr;
    }
    if (!ReadAt(PageOffset(i, h.free_head), link, 4)) return nullptr;
    int32_t next = GetI32(link, 0);
    if (next == 0 || next < -1 || next > h.page_count || (next == -1) != (h.free_count == 1)) {
      LogError(err::kFreeChain, m_owner, 5, i, h.free_head);
      return nullptr;
    }
    no = h.free_head;
    h.free_head = next;
    h.free_count--;
  } else {
    no = h.page_count + 1;
    if (no >= m_blocks) {
      // The file grows by a whole block of zeros for every index.
      std::vector<uint8_t> zero(static_cast<size_t>(m_block_size), 0);
      if (!WriteAt(static_cast<uint64_t>(no) * static_cast<uint64_t>(m_block_size), zero.data(), zero.size())) {
        return nullptr;
      }
      m_blocks = no + 1;
    }
    h.page_count = no;
  }
  auto p = std::make_shared<IndexPage>();
  p->entries.reserve(static_cast<size_t>(h.capacity) + 1);
  p->dirty = true;
  if (!ThePageCache().Insert(this, i, no, p)) return nullptr;
  *page_no = no;
  return p;
}

bool IndexFile::FreePage(int i, int32_t page_no) {
  ThePageCache().Forget(this, i, page_no);
  IndexHeader& h = mut_header(i);
  uint8_t link[4];
  PutI32(link, 0, h.free_head);
  if (!WriteAt(PageOffset(i, page_no), link, 4)) return false;
  h.free_head = page_no;
  h.free_count++;
  return true;
}

bool IndexFile::Flush(bool sync) {
  bool ok = ThePageCache().FlushFile(this);
  if (ok && m_headers_dirty) {
    // Only the 28 header bytes of each index are ours to write; the rest of
    // block 0 stays as it is on disk.
    for (const IndexHeader& x : m_headers) {
      uint8_t h[kIndexHeaderBytes] = {};
      PutI32(h, kIxFreeHead, x.free_head);
      PutI32(h, kIxFreeCount, x.free_count);
      PutI32(h, kIxPageCount, x.page_count);
      PutI32(h, kIxPageSize, x.page_size);
      PutI32(h, kIxRoot, x.root);
      h[kIxDuplicates] = x.duplicates ? 1 : 0;
      h[kIxReserved] = x.reserved;
      PutI32(h, kIxEntryCount, x.entry_count);
      PutI16(h, kIxCapacity, static_cast<int16_t>(x.capacity));
      if (!WriteAt(static_cast<uint64_t>(x.offset), h, sizeof h)) return false;
    }
    m_headers_dirty = false;
  }
  if (ok && sync && !m_file->Sync()) {
    LogError(err::kOsError, m_owner, 6, 0, 0, m_file->os_error());
    return false;
  }
  return ok;
}

void IndexFile::Discard() {
  ++m_version;
  ThePageCache().DropFile(this);
}

}  // namespace kontura
