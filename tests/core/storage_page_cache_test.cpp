// The page cache's table and clock: every page added is found until it is
// forgotten, dropped or evicted, whatever was removed around it; eviction
// keeps to the capacity, never takes a pinned page and spares a page looked
// up since the hand last passed.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <tuple>

#include "storage/index_file.h"
#include "storage/page_cache.h"

namespace kontura::testing {
namespace {

// Two index files the cache tells apart by address only: clean pages are
// never written, so they are never used.
const IndexFile* const kFileA = reinterpret_cast<const IndexFile*>(0x1000);
const IndexFile* const kFileB = reinterpret_cast<const IndexFile*>(0x2000);

IndexFile* Owner(const IndexFile* f) { return const_cast<IndexFile*>(f); }

PagePtr CleanPage(int32_t tag) {
  auto p = std::make_shared<IndexPage>();
  p->left = tag;  // tells the pages apart
  return p;
}

TEST(PageCacheTest, FindsWhatItHoldsAcrossRemovalsAsAMapDoes) {
  PageCache cache;
  cache.SetCapacity(1 << 20);  // no eviction here
  using Key = std::tuple<const IndexFile*, int, int32_t>;
  std::map<Key, int32_t> model;
  std::mt19937 rng(3);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  int32_t tag = 0;
  // Few distinct keys and many removals: long probe runs with gaps closed
  // in every position.
  for (int step = 0; step < 20000; ++step) {
    const Key k{pick(2) ? kFileA : kFileB, 1 + pick(3), 1 + pick(300)};
    const auto [file, index, page] = k;
    switch (pick(4)) {
      case 0:
      case 1:
        ASSERT_TRUE(cache.Insert(Owner(file), index, page, CleanPage(++tag)));
        model[k] = tag;
        break;
      case 2:
        cache.Forget(file, index, page);
        model.erase(k);
        break;
      default: {
        PagePtr p = cache.Lookup(file, index, page);
        auto it = model.find(k);
        ASSERT_EQ(p != nullptr, it != model.end()) << "step " << step;
        if (p) ASSERT_EQ(p->left, it->second);
      }
    }
    ASSERT_EQ(cache.size(), model.size());
  }
  cache.DropFile(kFileA);
  for (const auto& [k, t] : model) {
    const auto [file, index, page] = k;
    PagePtr p = cache.Lookup(file, index, page);
    EXPECT_EQ(p != nullptr, file == kFileB);
    if (p) EXPECT_EQ(p->left, t);
  }
}

TEST(PageCacheTest, EvictionKeepsPinnedAndRecentlyUsedPages) {
  PageCache cache;
  cache.SetCapacity(8);
  PagePtr pinned = CleanPage(-1);
  ASSERT_TRUE(cache.Insert(Owner(kFileA), 1, 1000, pinned));
  for (int32_t n = 1; n <= 7; ++n) ASSERT_TRUE(cache.Insert(Owner(kFileA), 1, n, CleanPage(n)));
  // The hand clears every mark on its first round and takes the first
  // unmarked, unpinned page on the next: page 1.
  ASSERT_TRUE(cache.Insert(Owner(kFileA), 1, 8, CleanPage(8)));
  EXPECT_EQ(cache.size(), 8u);
  EXPECT_EQ(cache.Lookup(kFileA, 1, 1), nullptr);
  // Page 2 is used again before the next eviction and survives it; page 3,
  // not looked at since, goes.
  ASSERT_NE(cache.Lookup(kFileA, 1, 2), nullptr);
  ASSERT_TRUE(cache.Insert(Owner(kFileA), 1, 9, CleanPage(9)));
  EXPECT_NE(cache.Lookup(kFileA, 1, 2), nullptr);
  EXPECT_EQ(cache.Lookup(kFileA, 1, 3), nullptr);
  // Many more pages: the size stays at the capacity, the pinned page stays.
  for (int32_t n = 10; n < 200; ++n) {
    ASSERT_TRUE(cache.Insert(Owner(kFileA), 1, n, CleanPage(n)));
    ASSERT_LE(cache.size(), 8u);
  }
  EXPECT_EQ(cache.Lookup(kFileA, 1, 1000), pinned);
  EXPECT_NE(cache.Lookup(kFileA, 1, 199), nullptr) << "the newest page";
  // With every page pinned the cache grows beyond its capacity instead.
  std::vector<PagePtr> held;
  for (int32_t n = 300; n < 320; ++n) {
    held.push_back(CleanPage(n));
    ASSERT_TRUE(cache.Insert(Owner(kFileB), 2, n, held.back()));
  }
  EXPECT_GE(cache.size(), held.size());
  for (int32_t n = 300; n < 320; ++n) EXPECT_EQ(cache.Lookup(kFileB, 2, n), held[static_cast<size_t>(n - 300)]);
}

}  // namespace
}  // namespace kontura::testing
