// The B-tree algorithms on one index: search, insert with page splits,
// delete with borrowing from and merging with a neighbouring page.
//
// A page holds at most c entries; a split of a page that overflowed to c + 1
// entries moves the middle entry up and leaves two pages of about c / 2.
// After a delete, a page below c / 2 entries borrows one entry from a
// neighbour or is merged with it when both fit into one page. Pages written
// by other programs may hold fewer entries; the code needs only one entry in
// every page but the root. Every search path is at most kMaxDepth pages deep:
// a deeper path can only come from a cycle in a damaged file.

#include <algorithm>

#include "storage/index_file.h"
#include "storage/storage_error.h"

namespace kontura {
namespace {

constexpr size_t kMaxDepth = 40;

// First position whose entry is >= (key, ref), or > with strict.
size_t LowerBound(const IndexPage& p, const std::string& key, int32_t ref, bool strict) {
  size_t lo = 0, hi = p.entries.size();
  while (lo < hi) {
    size_t mid = (lo + hi) / 2;
    int c = CompareEntry(p.entries[mid].key, p.entries[mid].ref, key, ref);
    if (c < 0 || (strict && c == 0)) lo = mid + 1; else hi = mid;
  }
  return lo;
}

}  // namespace

bool IndexFile::Find(int i, Seek how, const std::string& key, int32_t ref, IndexEntry* out, bool* found) {
  *found = false;
  int32_t page_no = header(i).root;
  bool is_root = true;
  for (size_t depth = 0; page_no != 0; ++depth) {
    if (depth >= kMaxDepth) return Damaged(i, page_no);
    PagePtr p = GetPage(i, page_no, is_root);
    if (!p) return false;
    is_root = false;
    bool forward = how == Seek::kAtOrAfter || how == Seek::kAfter;
    bool strict = how == Seek::kAfter || how == Seek::kAtOrBefore;
    size_t j = LowerBound(*p, key, ref, strict);
    if (forward && j < p->entries.size()) {
      *out = p->entries[j];
      *found = true;
    } else if (!forward && j > 0) {
      *out = p->entries[j - 1];
      *found = true;
    }
    page_no = p->child(j);
  }
  return true;
}

void IndexFile::Collect(int i, bool forward, std::string_view key, int32_t ref, size_t max_entries,
                        size_t max_pages, EntryRun* out) {
  out->clear();
  // In-order traversal with an explicit path. A frame (page, j) says: the
  // subtree child(j) is done or being visited below; next come, forward,
  // entry j and then child(j + 1); backward, entry j - 1 and child(j - 1).
  struct Frame {
    PagePtr page;
    size_t j;
  };
  std::vector<Frame> path;
  size_t pages = 0;
  const std::string probe(key);
  auto load = [&](int32_t page_no, bool is_root) -> PagePtr {
    if (path.size() >= kMaxDepth || pages >= max_pages) return nullptr;
    ++pages;
    PageFault fault;
    return LoadPage(i, page_no, is_root, false, &fault);
  };
  // Down to the first entry at or after (key, ref); backward to the last at
  // or before it.
  for (int32_t page_no = header(i).root; page_no != 0;) {
    PagePtr p = load(page_no, path.empty());
    if (!p) return;
    size_t j = LowerBound(*p, probe, ref, !forward);
    page_no = p->child(j);
    path.push_back(Frame{std::move(p), j});
  }
  while (!path.empty() && out->size() < max_entries) {
    Frame& f = path.back();
    const size_t n = f.page->entries.size();
    if (forward ? f.j >= n : f.j == 0) {
      path.pop_back();
      continue;
    }
    const size_t at = forward ? f.j++ : --f.j;
    out->push_back(f.page->entries[at]);
    // The subtree behind the entry, down its nearest edge.
    for (int32_t page_no = f.page->child(forward ? at + 1 : at); page_no != 0;) {
      PagePtr p = load(page_no, false);
      if (!p) return;
      const size_t j = forward ? 0 : p->entries.size();
      page_no = p->child(j);
      path.push_back(Frame{std::move(p), j});
    }
  }
}

bool IndexFile::Insert(int i, const std::string& key, int32_t ref, bool* duplicate) {
  *duplicate = false;
  ++m_version;
  if (!header(i).duplicates) {
    IndexEntry e;
    bool found = false;
    if (!Find(i, Seek::kAtOrAfter, key, INT32_MIN, &e, &found)) return false;
    if (found && e.key == key) {
      *duplicate = true;
      return true;
    }
  }
  if (header(i).root == 0) {
    int32_t no = 0;
    PagePtr p = NewPage(i, &no);
    if (!p) return false;
    p->entries.push_back(IndexEntry{ref, 0, key});
    IndexHeader& h = mut_header(i);
    h.root = no;
    h.entry_count++;
    return true;
  }
  std::vector<Step> path;
  int32_t page_no = header(i).root;
  for (;;) {
    if (path.size() >= kMaxDepth) return Damaged(i, page_no);
    PagePtr p = GetPage(i, page_no, path.empty());
    if (!p) return false;
    size_t j = LowerBound(*p, key, ref, false);
    if (j < p->entries.size() && p->entries[j].key == key && p->entries[j].ref == ref) {
      *duplicate = true;
      return true;
    }
    path.push_back(Step{page_no, p, j});
    if (p->leaf()) break;
    page_no = p->child(j);
  }
  Step& leaf = path.back();
  leaf.page->entries.insert(leaf.page->entries.begin() + static_cast<long>(leaf.child), IndexEntry{ref, 0, key});
  leaf.page->dirty = true;
  const size_t capacity = static_cast<size_t>(header(i).capacity);
  size_t inserted_at = leaf.child;
  for (size_t level = path.size(); level-- > 0;) {
    IndexPage& p = *path[level].page;
    if (p.entries.size() <= capacity) break;
    // Split: an entry moves up, the entries behind it to a new page. Keys
    // that arrive in order (dates, running numbers) always land at the end
    // (or, counted down, at the front) of a page: such a split leaves the
    // full part where it is and starts the new page with the one new entry,
    // instead of leaving two half-empty pages behind for good.
    int32_t right_no = 0;
    PagePtr right = NewPage(i, &right_no);
    if (!right) return false;
    const size_t n = p.entries.size();
    size_t mid = n / 2;
    if (n >= 4 && inserted_at == n - 1) mid = n - 2;
    if (n >= 4 && inserted_at == 0) mid = 1;
    IndexEntry median = p.entries[mid];
    right->left = median.right;
    right->entries.assign(p.entries.begin() + static_cast<long>(mid) + 1, p.entries.end());
    p.entries.resize(mid);
    p.dirty = true;
    median.right = right_no;
    if (level == 0) {
      int32_t root_no = 0;
      PagePtr root = NewPage(i, &root_no);
      if (!root) return false;
      root->left = path[0].page_no;
      root->entries.push_back(median);
      mut_header(i).root = root_no;
    } else {
      Step& parent = path[level - 1];
      parent.page->entries.insert(parent.page->entries.begin() + static_cast<long>(parent.child), median);
      parent.page->dirty = true;
      inserted_at = parent.child;
    }
  }
  mut_header(i).entry_count++;
  return true;
}

bool IndexFile::Remove(int i, const std::string& key, int32_t ref, bool* missing) {
  *missing = false;
  ++m_version;
  std::vector<Step> path;
  int32_t page_no = header(i).root;
  PagePtr hit;
  size_t hit_pos = 0;
  while (page_no != 0) {
    if (path.size() >= kMaxDepth) return Damaged(i, page_no);
    PagePtr p = GetPage(i, page_no, path.empty());
    if (!p) return false;
    size_t j = LowerBound(*p, key, ref, false);
    if (j < p->entries.size() && p->entries[j].key == key && p->entries[j].ref == ref) {
      hit = p;
      hit_pos = j;
      path.push_back(Step{page_no, p, j});
      break;
    }
    path.push_back(Step{page_no, p, j});
    page_no = p->child(j);
  }
  if (!hit) {
    *missing = true;
    return true;
  }
  if (hit->leaf()) {
    hit->entries.erase(hit->entries.begin() + static_cast<long>(hit_pos));
    hit->dirty = true;
  } else {
    // An entry of an inner page is replaced by its predecessor, the last
    // entry of the rightmost leaf of the subtree left of it.
    page_no = hit->child(hit_pos);
    for (;;) {
      if (path.size() >= kMaxDepth) return Damaged(i, page_no);
      PagePtr p = GetPage(i, page_no, false);
      if (!p) return false;
      path.push_back(Step{page_no, p, p->entries.size()});
      if (p->leaf()) break;
      page_no = p->child(p->entries.size());
    }
    IndexPage& leaf = *path.back().page;
    hit->entries[hit_pos].key = leaf.entries.back().key;
    hit->entries[hit_pos].ref = leaf.entries.back().ref;
    hit->dirty = true;
    leaf.entries.pop_back();
    leaf.dirty = true;
  }
  mut_header(i).entry_count--;
  return Rebalance(i, path);
}

bool IndexFile::Rebalance(int i, std::vector<Step>& path) {
  const size_t capacity = static_cast<size_t>(header(i).capacity);
  const size_t min_fill = static_cast<size_t>(std::max(1, MinFill(i)));
  for (size_t level = path.size() - 1; level > 0; --level) {
    IndexPage& node = *path[level].page;
    if (node.entries.size() >= min_fill) return true;
    IndexPage& parent = *path[level - 1].page;
    size_t ci = path[level - 1].child;
    // Work on the pair (left, right) around the separator parent[sep].
    size_t sep = ci > 0 ? ci - 1 : 0;
    PagePtr left, right;
    int32_t right_no = parent.child(sep + 1);
    if (ci > 0) {
      left = GetPage(i, parent.child(sep), false);
      right = path[level].page;
    } else {
      left = path[level].page;
      right = GetPage(i, right_no, false);
    }
    if (!left || !right) return false;
    if (left->leaf() != right->leaf()) return Damaged(i, right_no);
    IndexEntry& s = parent.entries[sep];
    if (left->entries.size() + right->entries.size() + 1 <= capacity) {
      // Merge: separator and right page move into the left page.
      left->entries.push_back(IndexEntry{s.ref, right->left, s.key});
      left->entries.insert(left->entries.end(), right->entries.begin(), right->entries.end());
      left->dirty = true;
      parent.entries.erase(parent.entries.begin() + static_cast<long>(sep));
      parent.dirty = true;
      if (!FreePage(i, right_no)) return false;
    } else if (ci > 0) {
      // Borrow the last entry of the left neighbour through the separator.
      node.entries.insert(node.entries.begin(), IndexEntry{s.ref, node.left, s.key});
      node.left = left->entries.back().right;
      s.key = left->entries.back().key;
      s.ref = left->entries.back().ref;
      left->entries.pop_back();
      left->dirty = node.dirty = parent.dirty = true;
    } else {
      // Borrow the first entry of the right neighbour.
      node.entries.push_back(IndexEntry{s.ref, right->left, s.key});
      right->left = right->entries.front().right;
      s.key = right->entries.front().key;
      s.ref = right->entries.front().ref;
      right->entries.erase(right->entries.begin());
      right->dirty = node.dirty = parent.dirty = true;
    }
  }
  IndexPage& root = *path[0].page;
  if (root.entries.empty()) {
    int32_t old = path[0].page_no;
    mut_header(i).root = root.left;  // 0 when the index became empty
    if (!FreePage(i, old)) return false;
  }
  return true;
}

bool IndexFile::Approx(int i, const std::string& key, int32_t ref, int32_t scale, int32_t* position) {
  // Every page below the root counts as holding w entries.
  const IndexHeader& h = header(i);
  PagePtr root = GetPage(i, h.root, true);
  if (!root) return false;
  const int64_t e = static_cast<int64_t>(root->entries.size());
  size_t j = LowerBound(*root, key, ref, false);
  int64_t est, total;
  if (root->leaf()) {
    est = static_cast<int64_t>(j);
    total = std::max<int64_t>(e, 1);
  } else {
    const int64_t w = h.capacity - h.capacity / 4;
    total = (e + 1) * w + e;
    if (j < root->entries.size() && root->entries[j].key == key && root->entries[j].ref == ref) {
      est = static_cast<int64_t>(j) * (w + 1) + w;
    } else {
      PagePtr child = GetPage(i, root->child(j), false);
      if (!child) return false;
      int64_t t = static_cast<int64_t>(LowerBound(*child, key, ref, false));
      est = static_cast<int64_t>(j) * (w + 1) + t * w / static_cast<int64_t>(child->entries.size());
    }
  }
  *position = static_cast<int32_t>(std::min<int64_t>(scale, est * scale / total));
  return true;
}

bool IndexFile::EntryAtApprox(int i, int32_t position, int32_t scale, IndexEntry* out) {
  const IndexHeader& h = header(i);
  PagePtr root = GetPage(i, h.root, true);
  if (!root) return false;
  const int64_t e = static_cast<int64_t>(root->entries.size());
  if (root->leaf()) {
    int64_t k = std::min<int64_t>(e - 1, static_cast<int64_t>(position) * e / scale);
    *out = root->entries[static_cast<size_t>(k)];
    return true;
  }
  const int64_t w = h.capacity - h.capacity / 4;
  const int64_t total = (e + 1) * w + e;
  int64_t target = static_cast<int64_t>(position) * total / scale;
  int64_t k = std::min<int64_t>(e, target / (w + 1));
  int64_t r = target - k * (w + 1);
  if (r >= w && k < e) {
    *out = root->entries[static_cast<size_t>(k)];
    return true;
  }
  PagePtr child = GetPage(i, root->child(static_cast<size_t>(k)), false);
  if (!child) return false;
  int64_t ec = static_cast<int64_t>(child->entries.size());
  int64_t t = std::min<int64_t>(ec - 1, std::min(r, w) * ec / w);
  *out = child->entries[static_cast<size_t>(t)];
  return true;
}

}  // namespace kontura
