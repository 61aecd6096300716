#include "storage/integrity_check.h"

#include <functional>
#include <map>
#include <memory>
#include <set>

#include "storage/file_layout.h"
#include "storage/file_system.h"
#include "storage/rebuild.h"
#include "storage/record_bytes.h"
#include "storage/record_file_reader.h"

namespace kontura {

using namespace layout;

namespace {

constexpr size_t kMaxProblems = 200;  // a wrecked file would print forever

struct Ctx {
  CheckReport report;
  void Problem(const std::string& s) {
    if (report.problems.size() < kMaxProblems) report.problems.push_back(s);
    else if (report.problems.size() == kMaxProblems) report.problems.push_back("... further problems not listed");
  }
};

struct Entry {
  std::string key;
  int32_t ref;
};

struct TreeWalk {
  Ctx& ctx;
  StorageFile& file;
  int idx;
  int32_t block;
  int offset, n, capacity, page_size;
  int32_t page_count;
  std::set<int32_t>& used;
  std::vector<Entry> entries;
  int leaf_depth = -1;
  bool bad = false;

  std::string Where(int32_t page) const {
    return "index " + std::to_string(idx) + " page " + std::to_string(page) + ": ";
  }

  // Walks the subtree at page; all its entries must lie strictly between
  // lo and hi (nullptr: unbounded).
  void Walk(int32_t page, int depth, const Entry* lo, const Entry* hi) {
    if (bad) return;
    if (page < 1 || page > page_count) {
      ctx.Problem(Where(page) + "page number outside the index");
      bad = true;
      return;
    }
    if (!used.insert(page).second) {
      ctx.Problem(Where(page) + "page reached twice (cycle or shared subtree)");
      bad = true;
      return;
    }
    std::vector<uint8_t> raw(static_cast<size_t>(page_size));
    uint64_t off = static_cast<uint64_t>(page) * static_cast<uint64_t>(block) + static_cast<uint64_t>(offset);
    if (file.ReadAt(off, raw.data(), raw.size()) != static_cast<int64_t>(raw.size())) {
      ctx.Problem(Where(page) + "page beyond the end of the file");
      bad = true;
      return;
    }
    int e = GetI16(raw.data(), kPageCount);
    if (e < 1 || e > capacity) {
      ctx.Problem(Where(page) + "entry count " + std::to_string(e) + " outside 1.." + std::to_string(capacity));
      bad = true;
      return;
    }
    int32_t left = GetI32(raw.data(), kPageLeft);
    bool leaf = left == 0;
    std::vector<Entry> page_entries;
    std::vector<int32_t> rights;
    for (int j = 0; j < e; ++j) {
      const uint8_t* en = raw.data() + EntryOffset(n, j);
      int len = en[kEntryKey];
      if (len > n) {
        ctx.Problem(Where(page) + "key length " + std::to_string(len) + " above " + std::to_string(n));
        bad = true;
        return;
      }
      int32_t right = GetI32(en, kEntryRight);
      if ((right == 0) != leaf) {
        ctx.Problem(Where(page) + "leaf and inner entries mixed");
        bad = true;
        return;
      }
      page_entries.push_back(Entry{std::string(reinterpret_cast<const char*>(en + kEntryKey + 1),
                                               static_cast<size_t>(len)), GetI32(en, kEntryRef)});
      rights.push_back(right);
    }
    if (leaf) {
      if (leaf_depth < 0) leaf_depth = depth;
      if (depth != leaf_depth) {
        ctx.Problem(Where(page) + "leaf at depth " + std::to_string(depth) + ", others at " + std::to_string(leaf_depth));
      }
    }
    // In-order: left subtree, entry 1, its right subtree, entry 2, ...
    // Each subtree lies strictly between the entries around it.
    if (!leaf) Walk(left, depth + 1, lo, &page_entries[0]);
    for (int j = 0; j < e && !bad; ++j) {
      const Entry& x = page_entries[static_cast<size_t>(j)];
      const Entry* below = j == 0 ? lo : &page_entries[static_cast<size_t>(j) - 1];
      const Entry* above = j + 1 < e ? &page_entries[static_cast<size_t>(j) + 1] : hi;
      if (below && CompareEntry(below->key, below->ref, x.key, x.ref) >= 0) {
        ctx.Problem(Where(page) + "entry " + std::to_string(j + 1) + " out of key order");
      }
      if (hi && CompareEntry(x.key, x.ref, hi->key, hi->ref) >= 0) {
        ctx.Problem(Where(page) + "entry " + std::to_string(j + 1) + " outside its subtree bounds");
      }
      if (!entries.empty() && CompareEntry(entries.back().key, entries.back().ref, x.key, x.ref) >= 0) {
        ctx.Problem(Where(page) + "entry " + std::to_string(j + 1) + " not after the entry before it in the index");
      }
      entries.push_back(x);
      if (!leaf) Walk(rights[static_cast<size_t>(j)], depth + 1, &x, above);
    }
  }
};

}  // namespace

CheckReport CheckFileblock(const std::string& base_in, const FileblockLayout* known) {
  Ctx ctx;
  StorageFileSystem& fs = TheStorageFileSystem();
  const std::string dat = FileblockPath(base_in, "DAT");
  const std::string ix = FileblockPath(base_in, "IX");
  int os = 0;
  auto df = fs.Open(dat, OpenMode::kReadShared, &os);
  if (!df) {
    ctx.Problem("data file " + dat + " cannot be opened (OS error " + std::to_string(os) + ")");
    return ctx.report;
  }
  int64_t size = df->Size();
  uint8_t h[kDataHeaderBytes];
  if (size < kDataHeaderBytes || df->ReadAt(0, h, sizeof h) != kDataHeaderBytes) {
    ctx.Problem("data file shorter than its header");
    return ctx.report;
  }
  const int32_t free_head = GetI32(h, kDataFreeHead), free_count = GetI32(h, kDataFreeCount);
  const int32_t slots = GetI32(h, kDataSlotCount), S = GetI32(h, kDataRecordLength);
  const int32_t key_count = GetI32(h, kDataKeyCount);
  if (S < kMinRecordLength) {
    ctx.Problem("record length " + std::to_string(S) + " below 21");
    return ctx.report;
  }
  if (known && known->record_length != S) {
    ctx.Problem("record length " + std::to_string(S) + ", expected " + std::to_string(known->record_length));
    return ctx.report;
  }
  if (h[kDataModified] != 0) ctx.Problem("modification flag set: a change was interrupted");
  const bool variable = known && known->variable_length;
  int64_t slots_in_file = size / S - 1;
  if (slots < 0 || slots > slots_in_file) {
    ctx.Problem("header names " + std::to_string(slots) + " slots, the file holds " + std::to_string(slots_in_file));
    return ctx.report;
  }
  // Slot states: live, free, continuation.
  std::vector<int32_t> status(static_cast<size_t>(slots) + 1, 0);
  std::vector<uint8_t> slot(static_cast<size_t>(S));
  for (int32_t n = 1; n <= slots; ++n) {
    uint8_t st[4];
    df->ReadAt(static_cast<uint64_t>(n) * static_cast<uint64_t>(S), st, 4);
    status[n] = GetI32(st, 0);
  }
  std::vector<bool> on_chain(static_cast<size_t>(slots) + 1, false);
  int32_t chain = 0;
  for (int32_t p = free_head; p != -1; ) {
    if (p < 1 || p > slots) {
      ctx.Problem("free chain: slot " + std::to_string(p) + " outside 1.." + std::to_string(slots));
      break;
    }
    if (on_chain[p]) {
      ctx.Problem("free chain: cycle at slot " + std::to_string(p));
      break;
    }
    on_chain[p] = true;
    ++chain;
    p = status[p];
  }
  if (chain != free_count) {
    ctx.Problem("free chain holds " + std::to_string(chain) + " slots, the header says " + std::to_string(free_count));
  }
  std::vector<bool> live(static_cast<size_t>(slots) + 1, false);
  int32_t live_count = 0;
  for (int32_t n = 1; n <= slots; ++n) {
    if (status[n] == 0 && !on_chain[n]) {
      live[n] = true;
      ++live_count;
    } else if (status[n] == 0) {
      ctx.Problem("slot " + std::to_string(n) + " is on the free chain and live");
    }
  }
  if (!variable && live_count != slots - free_count) {
    ctx.Problem("live records " + std::to_string(live_count) + ", header gives " + std::to_string(slots - free_count));
  }
  ctx.report.records = live_count;
  ctx.report.indexes = key_count;
  if (key_count < 0 || key_count > kMaxKeys) {
    ctx.Problem("index count " + std::to_string(key_count) + " outside 0..110");
    return ctx.report;
  }
  if (known && static_cast<int>(known->keys.size()) != key_count) {
    ctx.Problem("index count " + std::to_string(key_count) + ", expected " + std::to_string(known->keys.size()));
  }
  if (key_count == 0) return ctx.report;

  // Records for the key comparison, variable-length ones joined from their
  // continuation chains.
  std::unique_ptr<RecordFileReader> records;
  if (known && known->key_builder) {
    records = std::make_unique<RecordFileReader>(base_in, variable, known->buffer_size > 0 ? known->buffer_size : S);
  }

  auto xf = fs.Open(ix, OpenMode::kReadShared, &os);
  if (!xf) {
    ctx.Problem("index file " + ix + " cannot be opened (OS error " + std::to_string(os) + ")");
    return ctx.report;
  }
  int64_t xsize = xf->Size();
  struct Hdr {
    int32_t free_head, free_count, page_count, page_size, root, entries;
    int capacity, n, offset;
    bool dups;
  };
  std::vector<Hdr> hdrs;
  int off = 0;
  for (int i = 1; i <= key_count; ++i) {
    uint8_t b[kIndexHeaderBytes];
    if (xf->ReadAt(static_cast<uint64_t>(off), b, sizeof b) != kIndexHeaderBytes) {
      ctx.Problem("index " + std::to_string(i) + ": header beyond the end of the file");
      return ctx.report;
    }
    Hdr x{GetI32(b, kIxFreeHead), GetI32(b, kIxFreeCount), GetI32(b, kIxPageCount), GetI32(b, kIxPageSize),
          GetI32(b, kIxRoot), GetI32(b, kIxEntryCount), GetI16(b, kIxCapacity), 0, off, b[kIxDuplicates] != 0};
    if (x.capacity == 0) x.capacity = kMaxPageCapacity;
    if (x.capacity < 1 || x.capacity > kMaxPageCapacity || x.page_size <= kPageEntries ||
        (x.page_size - kPageEntries) % x.capacity != 0) {
      ctx.Problem("index " + std::to_string(i) + ": page size " + std::to_string(x.page_size) + " does not fit capacity " +
                  std::to_string(x.capacity));
      return ctx.report;
    }
    x.n = (x.page_size - kPageEntries) / x.capacity - kEntryOverhead;
    if (x.n < 1 || x.n > kMaxKeyLength) {
      ctx.Problem("index " + std::to_string(i) + ": key length " + std::to_string(x.n) + " outside 1..50");
      return ctx.report;
    }
    if (known && (known->keys[i - 1].length != x.n || known->keys[i - 1].duplicates != x.dups)) {
      ctx.Problem("index " + std::to_string(i) + ": key definition differs from the fileblock's");
    }
    hdrs.push_back(x);
    off += x.page_size;
  }
  const int32_t block = off;
  const int64_t blocks = xsize / block;
  std::vector<uint8_t> rec;
  for (int i = 1; i <= key_count; ++i) {
    const Hdr& x = hdrs[i - 1];
    std::string at = "index " + std::to_string(i) + ": ";
    if (x.page_count < 0 || x.page_count >= blocks) {
      ctx.Problem(at + std::to_string(x.page_count) + " pages, the file holds " + std::to_string(blocks - 1));
      continue;
    }
    std::set<int32_t> used;
    TreeWalk walk{ctx, *xf, i, block, x.offset, x.n, x.capacity, x.page_size, x.page_count, used, {}, -1, false};
    if (x.root < 0 || x.root > x.page_count) {
      ctx.Problem(at + "root page " + std::to_string(x.root) + " outside the index");
      continue;
    }
    if (x.root != 0) walk.Walk(x.root, 0, nullptr, nullptr);
    if (walk.bad) continue;
    if (static_cast<int32_t>(walk.entries.size()) != x.entries) {
      ctx.Problem(at + std::to_string(walk.entries.size()) + " entries in the tree, the header says " +
                  std::to_string(x.entries));
    }
    // Free-page chain.
    int32_t free_pages = 0;
    std::set<int32_t> free_set;
    for (int32_t p = x.free_head; p != -1;) {
      if (p < 1 || p > x.page_count) {
        ctx.Problem(at + "free-page chain: page " + std::to_string(p) + " outside the index");
        break;
      }
      if (used.count(p)) {
        ctx.Problem(at + "page " + std::to_string(p) + " is both in the tree and on the free-page chain");
        break;
      }
      if (!free_set.insert(p).second) {
        ctx.Problem(at + "free-page chain: cycle at page " + std::to_string(p));
        break;
      }
      ++free_pages;
      uint8_t link[4] = {0xFF, 0xFF, 0xFF, 0xFF};
      xf->ReadAt(static_cast<uint64_t>(p) * static_cast<uint64_t>(block) + static_cast<uint64_t>(x.offset), link, 4);
      p = GetI32(link, 0);
    }
    if (free_pages != x.free_count) {
      ctx.Problem(at + "free-page chain holds " + std::to_string(free_pages) + " pages, the header says " +
                  std::to_string(x.free_count));
    }
    if (static_cast<int32_t>(used.size() + free_set.size()) != x.page_count) {
      ctx.Problem(at + std::to_string(x.page_count - static_cast<int32_t>(used.size() + free_set.size())) +
                  " pages neither in the tree nor free");
    }
    // Entries against records.
    std::map<int32_t, int> seen;
    for (size_t j = 0; j < walk.entries.size(); ++j) {
      const Entry& e = walk.entries[j];
      if (!x.dups && j > 0 && walk.entries[j - 1].key == e.key) {
        ctx.Problem(at + "key of record " + std::to_string(e.ref) + " twice in a unique index");
      }
      if (e.ref < 1 || e.ref > slots || !live[e.ref]) {
        ctx.Problem(at + "entry names record " + std::to_string(e.ref) + ", which is not live");
        continue;
      }
      if (++seen[e.ref] == 2) ctx.Problem(at + "record " + std::to_string(e.ref) + " has more than one entry");
      if (records) {
        std::string why;
        if (!records->ReadRecord(e.ref, &rec, &why)) {
          if (i == 1) ctx.Problem(why);  // once per record, not once per index
          continue;
        }
        std::string built = CutKey(known->key_builder(rec.data(), i), x.n);
        if (built != e.key) ctx.Problem(at + "entry key of record " + std::to_string(e.ref) + " differs from its record");
      }
    }
    for (int32_t n = 1; n <= slots; ++n) {
      if (live[n] && !seen.count(n)) ctx.Problem(at + "record " + std::to_string(n) + " has no entry");
    }
  }
  return ctx.report;
}


std::string FormatCheckReport(const CheckReport& report) {
  std::string out;
  for (const std::string& p : report.problems) out += p + "\n";
  if (report.ok()) {
    out += "OK: " + std::to_string(report.records) + " records, " + std::to_string(report.indexes) + " indexes\n";
  } else {
    out += "DAMAGED: " + std::to_string(report.problems.size()) + " problems\n";
  }
  return out;
}

}  // namespace kontura
