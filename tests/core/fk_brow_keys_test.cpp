// The key table of the record list.

#include <gtest/gtest.h>

#include "ui/fk_brow_keys.h"

namespace kontura {
namespace {

using A = BrowAction;
using F = BrowFocus;
using K = BrowKey;

TEST(BrowserKeys, KeyTable) {
  struct Case {
    K key;
    bool ctrl, shift, alt;
    F focus;
    bool search_enter;
    A action;
  } cases[] = {
      {K::Enter, false, false, false, F::Table, false, A::Enter},
      {K::Enter, false, false, false, F::Panel, true, A::Enter},
      {K::Enter, false, false, false, F::SearchField, true, A::SearchEnter},
      {K::Enter, false, false, false, F::SearchField, false, A::Enter},
      {K::Enter, false, false, false, F::SortList, true, A::Unhandled},
      {K::Escape, false, false, false, F::Table, false, A::Unhandled},
      {K::Up, false, false, false, F::Table, false, A::PrevRecord},
      {K::Down, false, false, false, F::SearchField, false, A::NextRecord},
      {K::Down, false, false, false, F::SortList, false, A::Ignore},
      {K::PageUp, false, false, false, F::SortList, false, A::PrevPage},
      {K::PageDown, false, false, false, F::Table, false, A::NextPage},
      {K::Home, false, false, false, F::SearchField, false, A::FirstColumn},
      {K::End, false, false, false, F::Table, false, A::LastColumn},
      {K::Left, false, false, false, F::Table, false, A::ColumnLeft},
      {K::Right, false, false, false, F::Panel, false, A::ColumnRight},
      {K::Left, false, false, false, F::SearchField, false, A::Ignore},
      {K::Delete, false, false, false, F::Table, false, A::Delete},
      {K::Delete, false, false, false, F::SearchField, false, A::Unhandled},
      {K::Other, false, false, false, F::Table, false, A::Unhandled},
      {K::PageUp, true, false, false, F::Table, false, A::FirstRecord},
      {K::Home, true, false, false, F::SearchField, false, A::FirstRecord},
      {K::PageDown, true, false, false, F::Table, false, A::LastRecord},
      {K::End, true, false, false, F::Table, false, A::LastRecord},
      {K::Left, true, false, false, F::SearchField, false, A::ColumnLeft},
      {K::Right, true, false, false, F::Table, false, A::ColumnRight},
      {K::Up, true, false, false, F::Table, false, A::Unhandled},
      {K::Down, false, true, false, F::Table, false, A::Unhandled},
      {K::Enter, false, false, true, F::Table, false, A::Unhandled},
      {K::PageUp, true, true, false, F::Table, false, A::Unhandled},
  };
  int i = 0;
  for (const Case& c : cases) {
    BrowKeyPress k;
    k.key = c.key;
    k.ctrl = c.ctrl;
    k.shift = c.shift;
    k.alt = c.alt;
    EXPECT_EQ(BrowKeyAction(k, c.focus, c.search_enter), c.action) << "case " << i;
    ++i;
  }
}

TEST(BrowserKeys, WhichKeysEmptyTheSearchField) {
  BrowKeyPress del;
  del.key = K::Delete;
  BrowKeyPress esc;
  esc.key = K::Escape;
  EXPECT_TRUE(BrowKeyClearsSearch(A::NextRecord, BrowKeyPress{}, true));
  EXPECT_TRUE(BrowKeyClearsSearch(A::Enter, BrowKeyPress{}, true));
  EXPECT_TRUE(BrowKeyClearsSearch(A::Delete, del, true));
  EXPECT_TRUE(BrowKeyClearsSearch(A::Unhandled, esc, true));    // the host handled it
  EXPECT_FALSE(BrowKeyClearsSearch(A::Unhandled, esc, false));  // nobody did
  EXPECT_FALSE(BrowKeyClearsSearch(A::Unhandled, del, true));   // Delete passed on
  EXPECT_FALSE(BrowKeyClearsSearch(A::SearchEnter, BrowKeyPress{}, true));
  EXPECT_FALSE(BrowKeyClearsSearch(A::Ignore, BrowKeyPress{}, false));
}

}  // namespace
}  // namespace kontura
