#include "ui/fk_brow_keys.h"

namespace kontura {

BrowAction BrowKeyAction(const BrowKeyPress& key, BrowFocus focus, bool search_enter_set) {
  if (key.shift || key.alt) return BrowAction::Unhandled;
  const bool table = focus == BrowFocus::Table || focus == BrowFocus::Panel;
  if (key.ctrl) {
    switch (key.key) {
      case BrowKey::PageUp:
      case BrowKey::Home: return BrowAction::FirstRecord;
      case BrowKey::PageDown:
      case BrowKey::End: return BrowAction::LastRecord;
      case BrowKey::Left: return BrowAction::ColumnLeft;
      case BrowKey::Right: return BrowAction::ColumnRight;
      default: return BrowAction::Unhandled;
    }
  }
  switch (key.key) {
    case BrowKey::Enter:
      if (table) return BrowAction::Enter;
      if (focus == BrowFocus::SearchField) return search_enter_set ? BrowAction::SearchEnter : BrowAction::Enter;
      return BrowAction::Unhandled;
    case BrowKey::Escape: return BrowAction::Unhandled;
    case BrowKey::Up:
      return focus == BrowFocus::SortList ? BrowAction::Ignore : BrowAction::PrevRecord;
    case BrowKey::Down:
      return focus == BrowFocus::SortList ? BrowAction::Ignore : BrowAction::NextRecord;
    case BrowKey::PageUp: return BrowAction::PrevPage;
    case BrowKey::PageDown: return BrowAction::NextPage;
    case BrowKey::Home: return BrowAction::FirstColumn;
    case BrowKey::End: return BrowAction::LastColumn;
    case BrowKey::Left: return table ? BrowAction::ColumnLeft : BrowAction::Ignore;
    case BrowKey::Right: return table ? BrowAction::ColumnRight : BrowAction::Ignore;
    case BrowKey::Delete: return table ? BrowAction::Delete : BrowAction::Unhandled;
    case BrowKey::Other: return BrowAction::Unhandled;
  }
  return BrowAction::Unhandled;
}

bool BrowKeyClearsSearch(BrowAction action, const BrowKeyPress& key, bool handled) {
  if (!handled || action == BrowAction::Ignore || action == BrowAction::SearchEnter) return false;
  if (action == BrowAction::Unhandled && key.key == BrowKey::Delete) return false;
  return true;
}

}  // namespace kontura
