#pragma once
// The key table of the record list: what a key press does, depending on its
// modifiers and on which part of the panel has the focus. The panel performs
// the action; keeping the table here lets it be read and tested in one place.

#include "ui/fk_brow.h"

namespace kontura {

enum class BrowFocus { Table, Panel, SearchField, SortList, Other };

enum class BrowAction {
  Unhandled,    // goes to OnProcessPostCommand
  Ignore,       // left to the focused control (cursor keys in the edit field, the sort list's own keys)
  Enter,        // OnBrowEnter
  SearchEnter,  // OnBrowSuchfeldEnter
  PrevRecord,
  NextRecord,
  PrevPage,
  NextPage,
  FirstRecord,
  LastRecord,
  FirstColumn,
  LastColumn,
  ColumnLeft,
  ColumnRight,
  Delete,
};

// search_enter_set: the host set OnBrowSuchfeldEnter.
BrowAction BrowKeyAction(const BrowKeyPress& key, BrowFocus focus, bool search_enter_set);

// After a key the browser handled itself (or the host handled through
// OnProcessPostCommand) the quick-search field is emptied, except after an
// Enter that went to OnBrowSuchfeldEnter and after a Delete key passed on.
bool BrowKeyClearsSearch(BrowAction action, const BrowKeyPress& key, bool handled);

}  // namespace kontura
