#include "storage/integrity_check.h"

#include <algorithm>
#include <cerrno>
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

// What the data file tells the index checks.
struct DataFacts {
  int32_t slots = 0;
  int32_t record_length = 0;
  int32_t key_count = 0;
  bool variable = false;
  std::vector<bool> live;  // [1..slots]
};

struct IndexHeaderFacts {
  int32_t free_head, free_count, page_count, page_size, root, entries;
  int capacity, n, offset;
  uint8_t dups;
};

std::string IndexAt(int i) { return "index " + std::to_string(i) + ": "; }

// Reports the first non-zero byte of [from, to) of file as a warning: the
// format keeps these bytes zero, other programs of the suite may not read
// them as we do.
void PaddingWarning(Ctx& ctx, StorageFile& file, uint64_t from, uint64_t to, const std::string& what) {
  if (to <= from) return;
  std::vector<uint8_t> pad(static_cast<size_t>(to - from));
  int64_t got = file.ReadAt(from, pad.data(), pad.size());
  for (int64_t k = 0; k < got; ++k) {
    if (pad[static_cast<size_t>(k)] != 0) {
      ctx.report.warnings.push_back(what + ": byte " + std::to_string(from + static_cast<uint64_t>(k)) +
                                    " is not zero");
      return;
    }
  }
}

// Warns about string length bytes above their field's capacity in the live
// records. The engine never writes such a byte; another program or a damaged
// sector may. At most kMaxStringWarnings are listed, then their number.
void StringLengthWarnings(Ctx& ctx, StorageFile& df, const FileblockLayout& known, const DataFacts& facts) {
  constexpr int kMaxStringWarnings = 10;
  const size_t length = static_cast<size_t>(facts.record_length);
  std::vector<uint8_t> rec(length);
  int found = 0;
  for (int32_t n = 1; n <= facts.slots; ++n) {
    if (!facts.live[static_cast<size_t>(n)]) continue;
    const int64_t got = df.ReadAt(static_cast<uint64_t>(n) * length, rec.data(), length);
    for (const StrField& f : known.string_fields) {
      if (static_cast<int64_t>(f.offset) >= got) continue;
      const uint8_t len = rec[f.offset];
      if (len <= f.capacity) continue;
      if (++found <= kMaxStringWarnings) {
        ctx.report.warnings.push_back("slot " + std::to_string(n) + ": string at byte " + std::to_string(f.offset) +
                                      " has length " + std::to_string(len) + ", its field holds " +
                                      std::to_string(f.capacity));
      }
    }
  }
  if (found > kMaxStringWarnings) {
    ctx.report.warnings.push_back(std::to_string(found - kMaxStringWarnings) + " more strings longer than their fields");
  }
}

// Step 1: the data header against the file, the free chain, the live
// records. False when the indexes cannot be checked against the file.
bool CheckDataFile(Ctx& ctx, StorageFile& df, const FileblockLayout* known, DataFacts* facts) {
  const int64_t size = df.Size();
  uint8_t h[kDataHeaderBytes];
  if (size < kDataHeaderBytes || df.ReadAt(0, h, sizeof h) != kDataHeaderBytes) {
    ctx.Problem("data file shorter than its header");
    return false;
  }
  const int32_t free_head = GetI32(h, kDataFreeHead), free_count = GetI32(h, kDataFreeCount);
  const int32_t slots = GetI32(h, kDataSlotCount), S = GetI32(h, kDataRecordLength);
  facts->key_count = GetI32(h, kDataKeyCount);
  facts->record_length = S;
  if (S < kMinRecordLength) {
    ctx.Problem("record length " + std::to_string(S) + " below 21");
    return false;
  }
  if (known && known->record_length != S) {
    ctx.Problem("record length " + std::to_string(S) + ", expected " + std::to_string(known->record_length));
    return false;
  }
  if (h[kDataModified] != 0) ctx.Problem("modification flag set: a change was interrupted");
  if (h[kDataModified] > 1) ctx.report.warnings.push_back("modification flag " + std::to_string(h[kDataModified]));
  PaddingWarning(ctx, df, kDataHeaderBytes, static_cast<uint64_t>(S), "data header slot");
  facts->variable = known && known->variable_length;
  const int64_t slots_in_file = size / S - 1;
  if (slots < 0 || slots > slots_in_file) {
    ctx.Problem("header names " + std::to_string(slots) + " slots, the file holds " + std::to_string(slots_in_file));
    return false;
  }
  // Whatever lies behind the last slot the header names was never vouched
  // for by a completed write (a crash leaves it only under the flag 1).
  const int64_t expected_size = (static_cast<int64_t>(slots) + 1) * S;
  if (size > expected_size) {
    ctx.Problem(std::to_string(size - expected_size) + " bytes beyond the " + std::to_string(slots) +
                " slots the data header gives");
  }
  facts->slots = slots;
  // Slot states: live, free, continuation.
  std::vector<int32_t> status(static_cast<size_t>(slots) + 1, 0);
  for (int32_t n = 1; n <= slots; ++n) {
    uint8_t st[4];
    df.ReadAt(static_cast<uint64_t>(n) * static_cast<uint64_t>(S), st, 4);
    status[static_cast<size_t>(n)] = GetI32(st, 0);
  }
  std::vector<bool> on_chain(static_cast<size_t>(slots) + 1, false);
  int32_t chain = 0;
  for (int32_t p = free_head; p != -1;) {
    if (p < 1 || p > slots) {
      ctx.Problem("free chain: slot " + std::to_string(p) + " outside 1.." + std::to_string(slots));
      break;
    }
    if (on_chain[static_cast<size_t>(p)]) {
      ctx.Problem("free chain: cycle at slot " + std::to_string(p));
      break;
    }
    on_chain[static_cast<size_t>(p)] = true;
    ++chain;
    p = status[static_cast<size_t>(p)];
  }
  if (chain != free_count) {
    ctx.Problem("free chain holds " + std::to_string(chain) + " slots, the header says " + std::to_string(free_count));
  }
  facts->live.assign(static_cast<size_t>(slots) + 1, false);
  int32_t live_count = 0;
  for (int32_t n = 1; n <= slots; ++n) {
    if (status[static_cast<size_t>(n)] == 0 && !on_chain[static_cast<size_t>(n)]) {
      facts->live[static_cast<size_t>(n)] = true;
      ++live_count;
    } else if (status[static_cast<size_t>(n)] == 0) {
      ctx.Problem("slot " + std::to_string(n) + " is on the free chain and live");
    }
  }
  // In 64 bits: a hostile header may hold any free count.
  const int64_t header_live = static_cast<int64_t>(slots) - free_count;
  if (!facts->variable && live_count != header_live) {
    ctx.Problem("live records " + std::to_string(live_count) + ", header gives " + std::to_string(header_live));
  }
  ctx.report.records = live_count;
  ctx.report.indexes = facts->key_count;
  if (known && !known->string_fields.empty()) StringLengthWarnings(ctx, df, *known, *facts);
  if (facts->key_count < 0 || facts->key_count > kMaxKeys) {
    ctx.Problem("index count " + std::to_string(facts->key_count) + " outside 0..110");
    return false;
  }
  if (known && static_cast<int>(known->keys.size()) != facts->key_count) {
    ctx.Problem("index count " + std::to_string(facts->key_count) + ", expected " + std::to_string(known->keys.size()));
  }
  return true;
}

// Step 2: the index headers in block 0, one behind the other. False when
// the pages cannot be located.
bool CheckIndexHeaders(Ctx& ctx, StorageFile& xf, int key_count, const FileblockLayout* known,
                       std::vector<IndexHeaderFacts>* hdrs, int32_t* block) {
  int off = 0;
  for (int i = 1; i <= key_count; ++i) {
    uint8_t b[kIndexHeaderBytes];
    if (xf.ReadAt(static_cast<uint64_t>(off), b, sizeof b) != kIndexHeaderBytes) {
      ctx.Problem(IndexAt(i) + "header beyond the end of the file");
      return false;
    }
    IndexHeaderFacts x{GetI32(b, kIxFreeHead), GetI32(b, kIxFreeCount), GetI32(b, kIxPageCount), GetI32(b, kIxPageSize),
                       GetI32(b, kIxRoot), GetI32(b, kIxEntryCount), GetI16(b, kIxCapacity), 0, off, b[kIxDuplicates]};
    if (x.capacity == 0) x.capacity = kMaxPageCapacity;
    if (x.capacity < 1 || x.capacity > kMaxPageCapacity || x.page_size <= kPageEntries ||
        (x.page_size - kPageEntries) % x.capacity != 0) {
      ctx.Problem(IndexAt(i) + "page size " + std::to_string(x.page_size) + " does not fit capacity " +
                  std::to_string(x.capacity));
      return false;
    }
    x.n = (x.page_size - kPageEntries) / x.capacity - kEntryOverhead;
    if (x.n < 1 || x.n > kMaxKeyLength) {
      ctx.Problem(IndexAt(i) + "key length " + std::to_string(x.n) + " outside 1..50");
      return false;
    }
    if (x.dups > 1) ctx.report.warnings.push_back(IndexAt(i) + "duplicates flag " + std::to_string(x.dups));
    // A header that names more indexes than the fileblock has is reported
    // by step 1; the definitions beyond the known keys are not compared.
    const size_t k = static_cast<size_t>(i - 1);
    if (known && k < known->keys.size() &&
        (known->keys[k].length != x.n || known->keys[k].duplicates != (x.dups != 0))) {
      ctx.Problem(IndexAt(i) + "key definition differs from the fileblock's");
    }
    PaddingWarning(ctx, xf, static_cast<uint64_t>(off + kIndexHeaderBytes), static_cast<uint64_t>(off + x.page_size),
                   IndexAt(i) + "block 0 behind the header");
    hdrs->push_back(x);
    off += x.page_size;
  }
  *block = off;
  return true;
}

// Step 3: one index. The tree (order, bounds, depth, count), the free-page
// chain, and every entry against the live records and, with a key builder,
// against the key built from its record.
void CheckIndex(Ctx& ctx, StorageFile& xf, int i, const IndexHeaderFacts& x, int32_t block, int64_t blocks,
                const DataFacts& data, const FileblockLayout* known, RecordFileReader* records) {
  const std::string at = IndexAt(i);
  if (x.page_count < 0 || x.page_count >= blocks) {
    ctx.Problem(at + std::to_string(x.page_count) + " pages, the file holds " + std::to_string(blocks - 1));
    return;
  }
  std::set<int32_t> used;
  TreeWalk walk{ctx, xf, i, block, x.offset, x.n, x.capacity, x.page_size, x.page_count, used, {}, -1, false};
  if (x.root < 0 || x.root > x.page_count) {
    ctx.Problem(at + "root page " + std::to_string(x.root) + " outside the index");
    return;
  }
  if (x.root != 0) walk.Walk(x.root, 0, nullptr, nullptr);
  if (walk.bad) return;
  if (static_cast<int32_t>(walk.entries.size()) != x.entries) {
    ctx.Problem(at + std::to_string(walk.entries.size()) + " entries in the tree, the header says " +
                std::to_string(x.entries));
  }
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
    xf.ReadAt(static_cast<uint64_t>(p) * static_cast<uint64_t>(block) + static_cast<uint64_t>(x.offset), link, 4);
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
  const bool compare_keys = records && known && static_cast<size_t>(i) <= known->keys.size();
  std::vector<uint8_t> rec;
  std::map<int32_t, int> seen;
  for (size_t j = 0; j < walk.entries.size(); ++j) {
    const Entry& e = walk.entries[j];
    if (!x.dups && j > 0 && walk.entries[j - 1].key == e.key) {
      ctx.Problem(at + "key of record " + std::to_string(e.ref) + " twice in a unique index");
    }
    if (e.ref < 1 || e.ref > data.slots || !data.live[static_cast<size_t>(e.ref)]) {
      ctx.Problem(at + "entry names record " + std::to_string(e.ref) + ", which is not live");
      continue;
    }
    if (++seen[e.ref] == 2) ctx.Problem(at + "record " + std::to_string(e.ref) + " has more than one entry");
    if (compare_keys) {
      std::string why;
      if (!records->ReadRecord(e.ref, &rec, &why)) {
        if (i == 1) ctx.Problem(why);  // once per record, not once per index
        continue;
      }
      std::string built = CutKey(known->key_builder(rec.data(), i), x.n);
      if (built != e.key) ctx.Problem(at + "entry key of record " + std::to_string(e.ref) + " differs from its record");
    }
  }
  for (int32_t n = 1; n <= data.slots; ++n) {
    if (data.live[static_cast<size_t>(n)] && !seen.count(n)) ctx.Problem(at + "record " + std::to_string(n) + " has no entry");
  }
}

// Opens a file for the check; a file that another program holds is reported
// as in use, not as damage.
std::unique_ptr<StorageFile> OpenForCheck(Ctx& ctx, const std::string& path, const char* what) {
  int os = 0;
  auto f = TheStorageFileSystem().Open(path, OpenMode::kReadShared, &os);
  if (f) return f;
  if (os == EWOULDBLOCK || os == EAGAIN) {
    ctx.report.in_use = true;
    ctx.Problem(std::string(what) + " " + path + " is in use by another program");
  } else {
    ctx.Problem(std::string(what) + " " + path + " cannot be opened (OS error " + std::to_string(os) + ")");
  }
  return nullptr;
}

}  // namespace

CheckReport CheckFileblock(const std::string& base_in, const FileblockLayout* known) {
  Ctx ctx;
  auto df = OpenForCheck(ctx, FileblockPath(base_in, "DAT"), "data file");
  if (!df) return ctx.report;
  DataFacts data;
  if (!CheckDataFile(ctx, *df, known, &data) || data.key_count == 0) return ctx.report;
  // The index file is held for the whole check too, so that no program
  // changes it underneath.
  auto xf = OpenForCheck(ctx, FileblockPath(base_in, "IX"), "index file");
  if (!xf) return ctx.report;
  std::vector<IndexHeaderFacts> hdrs;
  int32_t block = 0;
  if (!CheckIndexHeaders(ctx, *xf, data.key_count, known, &hdrs, &block)) return ctx.report;
  const int64_t xsize = xf->Size();
  const int64_t blocks = xsize / block;
  int32_t highest_page = 0;
  for (const IndexHeaderFacts& x : hdrs) highest_page = std::max(highest_page, x.page_count);
  const int64_t expected_size = (static_cast<int64_t>(highest_page) + 1) * block;
  if (highest_page < blocks && xsize > expected_size) {
    ctx.Problem(std::to_string(xsize - expected_size) + " bytes beyond the " + std::to_string(highest_page) +
                " pages the index headers give");
  }
  // Records for the key comparison, variable-length ones joined from their
  // continuation chains.
  std::unique_ptr<RecordFileReader> records;
  if (known && known->key_builder) {
    records = std::make_unique<RecordFileReader>(base_in, data.variable, known->buffer_size > 0 ? known->buffer_size
                                                                                              : data.record_length);
  }
  for (int i = 1; i <= data.key_count; ++i) {
    CheckIndex(ctx, *xf, i, hdrs[static_cast<size_t>(i - 1)], block, blocks, data, known, records.get());
  }
  return ctx.report;
}

std::string FormatCheckReport(const CheckReport& report) {
  std::string out;
  for (const std::string& p : report.problems) out += p + "\n";
  for (const std::string& w : report.warnings) out += "warning: " + w + "\n";
  if (report.in_use) {
    out += "IN USE: another program holds the fileblock; close it and check again\n";
  } else if (report.ok()) {
    out += "OK: " + std::to_string(report.records) + " records, " + std::to_string(report.indexes) + " indexes\n";
  } else {
    out += "DAMAGED: " + std::to_string(report.problems.size()) + " problems\n";
  }
  return out;
}

}  // namespace kontura
