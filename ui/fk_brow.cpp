#include "ui/fk_brow.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "platform/code_page.h"
#include "platform/platform.h"
#include "storage/fileblock.h"
#include "storage/storage_error.h"
#include "text/text_util.h"

namespace kontura {

std::vector<std::string> SplitCells(const std::string& text) {
  std::vector<std::string> cells;
  size_t start = 0;
  for (;;) {
    size_t semi = text.find(';', start);
    cells.push_back(text.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
    if (semi == std::string::npos) break;
    start = semi + 1;
  }
  return cells;
}

bool TKBrowser::CheckFileblock(Fileblock* fb) {
  fb->RecordCount();
  return StorageErrorClass() == 0;
}

TKBrowser::TKBrowser(Fileblock* fb, int key_nr, std::string low, std::string high, const BrowserEvents* events)
    : m_fb(fb), m_key_nr(key_nr), m_ev(events ? events : &m_no_events) {
  SetKeyRange(std::move(low), std::move(high));
}

void TKBrowser::SetKeyRange(std::string low, std::string high) {
  if (low.size() > kBrowMaxKey) low.resize(kBrowMaxKey);
  if (high.size() > kBrowMaxKey) high.resize(kBrowMaxKey);
  m_low = std::move(low);
  m_high = std::move(high);
}

bool TKBrowser::InRange(const std::string& key) const {
  // std::string compares bytes as unsigned values, like the index.
  return key.compare(0, m_low.size(), m_low) >= 0 && key.compare(0, m_high.size(), m_high) <= 0;
}

void TKBrowser::Clamp(std::string* key, int32_t* ref) const {
  if (key->compare(0, m_low.size(), m_low) < 0) {
    *key = m_low;
    *ref = 0;
  } else if (key->compare(0, m_high.size(), m_high) > 0) {
    // Behind every key that starts with the high key.
    *key = m_high;
    key->resize(kBrowMaxKey, '\xFF');
    *ref = INT32_MAX;
  }
}

void TKBrowser::SetVisibleRows(int rows) {
  rows = std::clamp(rows, 1, kBrowMaxRows);
  if (rows == m_visible && !m_rows.empty()) return;
  m_visible = rows;
  if (m_current > m_visible) {
    // The current record stays current, in the last row that is left.
    RowRec keep = *Current();
    m_current = m_visible;
    GotoKey(keep.key, keep.ref);
    return;
  }
  Rebuild();
}

void TKBrowser::SetCurrentRow(int i) {
  if (i >= 1 && i <= RowCount()) m_current = i;
}

bool TKBrowser::TakeRebuilt() { return std::exchange(m_rebuilt, false); }

void TKBrowser::Clear() {
  m_rows.clear();
  m_current = 0;
  m_rebuilt = true;
}

void TKBrowser::BuildRow(RowRec* row, bool with_text) {
  row->key_nr = m_key_nr;
  row->ref = m_fb->CurrentRef();
  row->key = m_fb->MakeKey(m_key_nr);
  row->fileblock = m_fb;
  row->unreadable = false;
  row->text.clear();
  if (!with_text) return;
  if (m_ev->OnBuildRow) m_ev->OnBuildRow(*row);
  row->text = DosLettersToWindows(std::move(row->text));
}

bool TKBrowser::Seek(const std::string& key, int32_t ref, bool forward, RowRec* row, bool with_text) {
  Position pos;
  pos.key_nr = m_key_nr;
  pos.ref = ref;
  pos.key = key;
  pos.fileblock = m_fb;
  m_fb->SetPosition(pos, forward ? kPosForwardOnly : kPosBackwardOnly);
  if (StorageErrorClass() != 0) return false;
  BuildRow(row, with_text);
  return InRange(row->key);
}

bool TKBrowser::Step(const RowRec& from, bool forward, RowRec* row, bool with_text) {
  // Reference numbers are whole numbers, so the entry right after (key, ref)
  // is the first one at or after (key, ref + 1).
  if (forward) return from.ref < INT32_MAX && Seek(from.key, from.ref + 1, true, row, with_text);
  return from.ref > INT32_MIN && Seek(from.key, from.ref - 1, false, row, with_text);
}

void TKBrowser::FillAround(const RowRec& anchor, int at) {
  at = std::clamp(at, 1, m_visible);
  std::vector<RowRec> below;  // after the anchor, in key order
  std::vector<RowRec> above;  // before the anchor, nearest first
  auto read_below = [&](size_t want) {
    while (below.size() < want) {
      RowRec r;
      if (!Step(below.empty() ? anchor : below.back(), true, &r)) break;
      below.push_back(std::move(r));
    }
  };
  const size_t visible = static_cast<size_t>(m_visible);
  read_below(visible - static_cast<size_t>(at));
  // Too few records below: more rows above, the anchor moves down.
  const size_t want_above = visible - 1 - below.size();
  while (above.size() < want_above) {
    RowRec r;
    if (!Step(above.empty() ? anchor : above.back(), false, &r)) break;
    above.push_back(std::move(r));
  }
  // Too few above as well: the anchor moves up and the rows below fill in.
  read_below(visible - 1 - above.size());

  m_rows.clear();
  m_rows.insert(m_rows.end(), std::make_move_iterator(above.rbegin()), std::make_move_iterator(above.rend()));
  m_rows.push_back(anchor);
  m_rows.insert(m_rows.end(), std::make_move_iterator(below.begin()), std::make_move_iterator(below.end()));
  m_current = static_cast<int>(above.size()) + 1;
  m_rebuilt = true;
}

void TKBrowser::GotoKey(const std::string& key, int32_t ref) {
  std::string k = key.size() > kBrowMaxKey ? key.substr(0, kBrowMaxKey) : key;
  Clamp(&k, &ref);
  RowRec anchor;
  if (!Seek(k, ref, true, &anchor) && !Seek(k, ref, false, &anchor)) return Clear();
  FillAround(anchor, m_current > 0 ? m_current : 1);
}

void TKBrowser::Rebuild() {
  if (const RowRec* cur = Current()) {
    RowRec keep = *cur;
    GotoKey(keep.key, keep.ref);
  } else {
    GotoKey(m_low, 0);
  }
}

void TKBrowser::Refresh() {
  for (RowRec& row : m_rows) {
    m_fb->ReadByRef(row.ref);
    if (StorageErrorClass() != 0) {
      row.unreadable = true;
      row.text = kUnreadableRow;
      continue;
    }
    std::string key = row.key;
    BuildRow(&row);
    row.key = std::move(key);  // the row stays where the index had it
  }
  m_rebuilt = true;
}

bool TKBrowser::NextRecord() {
  if (m_rows.empty()) return false;
  if (m_current < RowCount()) {
    ++m_current;
    return true;
  }
  RowRec r;
  if (!Step(m_rows.back(), true, &r)) return false;
  m_rows.push_back(std::move(r));
  if (RowCount() > m_visible) m_rows.erase(m_rows.begin());
  m_current = RowCount();
  m_rebuilt = true;
  return true;
}

bool TKBrowser::PrevRecord() {
  if (m_rows.empty()) return false;
  if (m_current > 1) {
    --m_current;
    return true;
  }
  RowRec r;
  if (!Step(m_rows.front(), false, &r)) return false;
  m_rows.insert(m_rows.begin(), std::move(r));
  if (RowCount() > m_visible) m_rows.pop_back();
  m_current = 1;
  m_rebuilt = true;
  return true;
}

bool TKBrowser::NextPage() {
  if (m_rows.empty()) return false;
  // The target lies a page below the current record: first the rows already
  // on the page, then further records behind its last row.
  int steps = RowCount() - m_current;
  RowRec target = m_rows.back();
  while (steps < m_visible) {
    RowRec r;
    if (!Step(target, true, &r)) break;
    target = std::move(r);
    ++steps;
  }
  if (steps == 0) return false;
  FillAround(target, m_current);
  return true;
}

bool TKBrowser::PrevPage() {
  if (m_rows.empty()) return false;
  int steps = m_current - 1;
  RowRec target = m_rows.front();
  while (steps < m_visible) {
    RowRec r;
    if (!Step(target, false, &r)) break;
    target = std::move(r);
    ++steps;
  }
  if (steps == 0) return false;
  FillAround(target, m_current);
  return true;
}

bool TKBrowser::FirstRecord() {
  RowRec anchor;
  if (!Seek(m_low, 0, true, &anchor)) {
    Clear();
    return false;
  }
  FillAround(anchor, 1);
  return true;
}

bool TKBrowser::LastRecord() {
  std::string key = m_high;
  key.resize(kBrowMaxKey, '\xFF');
  RowRec anchor;
  if (!Seek(key, INT32_MAX, false, &anchor)) {
    Clear();
    return false;
  }
  FillAround(anchor, m_visible);
  return true;
}

bool TKBrowser::ReadCurrent() {
  const RowRec* cur = Current();
  if (!cur) return false;  // an empty list: nothing to act on
  m_fb->ReadByRef(cur->ref);
  if (StorageErrorClass() == 0) return true;
  TheDialogs().ShowMessage("Datensatz konnte nicht gelesen werden");
  return false;
}

bool TKBrowser::ApplySort(int i) {
  if (!m_ev->OnSortList2Key) return false;
  std::string low = m_low;
  std::string high = m_high;
  const int key_nr = m_ev->OnSortList2Key(i, low, high);
  if (key_nr == 0 || key_nr == m_key_nr) return false;
  const bool had_current = ReadCurrent();
  m_key_nr = key_nr;
  SetKeyRange(std::move(low), std::move(high));
  if (had_current) {
    const int32_t ref = m_fb->CurrentRef();
    GotoKey(m_fb->MakeKey(m_key_nr), ref);
  } else {
    GotoKey(m_low, 0);
  }
  return true;
}

void TKBrowser::QuickSearch(const std::string& text) {
  std::string key = UpperGerman(text);
  if (m_ev->OnSuchFeld2KeyStr) key = m_ev->OnSuchFeld2KeyStr(key);
  if (key.empty()) return;
  m_fb->FindAtLeast(m_key_nr, key);
  if (StorageErrorClass() != 0) {
    // Behind every key: the last record is the nearest one.
    m_fb->Last(m_key_nr);
    if (StorageErrorClass() != 0) return;
  } else if (m_fb->MakeKey(m_key_nr).compare(0, key.size(), key) != 0) {
    // No key starts with the text: show the record before the place where
    // such a key would stand (the one found stays when there is none before).
    const int32_t found = m_fb->CurrentRef();
    m_fb->Prev(m_key_nr);
    if (StorageErrorClass() != 0) m_fb->ReadByRef(found);
  }
  const int32_t ref = m_fb->CurrentRef();
  GotoKey(m_fb->MakeKey(m_key_nr), ref);
}

bool TKBrowser::DeleteCurrent() {
  if (!ReadCurrent()) return false;
  if (m_ev->OnBefore_Loesch && !m_ev->OnBefore_Loesch()) return false;
  const std::string what = m_ev->OnLoesch_Feld ? m_ev->OnLoesch_Feld() : std::string("Datensatz");
  if (!TheDialogs().AskYesNo(" L\xF6schen \"" + what + "\"")) return false;
  const RowRec gone = *Current();
  bool done = false;
  if (m_ev->OnDatensatz_Loeschen) {
    done = m_ev->OnDatensatz_Loeschen();
  } else {
    // Read the record through the browser's own key, so that the engine's
    // positioning after the deletion follows the order shown.
    Position pos;
    pos.key_nr = m_key_nr;
    pos.ref = gone.ref;
    pos.key = gone.key;
    pos.fileblock = m_fb;
    m_fb->SetPosition(pos, kPosExact);
    if (StorageErrorClass() != 0) {
      TheDialogs().ShowMessage("Datensatz konnte nicht gelesen werden");
      return false;
    }
    m_fb->DeleteRecord(kAfterNext);
    done = StorageErrorClass() == 0;
    if (!done && StorageErrorCode() == err::kNoNext) {
      // The last record in key order is gone and nothing follows it: the
      // record before it takes its place, so the list never shows a row
      // that no longer exists.
      GotoKey(gone.key, gone.ref);
      return true;
    }
  }
  if (!done) return false;
  const int32_t ref = m_fb->CurrentRef();
  if (ref >= 0 && ref != gone.ref) {
    GotoKey(m_fb->MakeKey(m_key_nr), ref);
  } else {
    GotoKey(gone.key, gone.ref);
  }
  Refresh();
  return true;
}

int TKBrowser::ScrollMax() {
  const int32_t n = m_fb->RecordCount();
  if (n <= 1) return 0;
  // Long lists get a coarse bar of 248 places.
  return n - 1 > 3000 ? 247 : static_cast<int>(n - 1);
}

int TKBrowser::ScrollPosition() {
  const RowRec* cur = Current();
  const int max = ScrollMax();
  if (!cur || max == 0) return 0;
  // The estimate of the index is coarse; the ends of the range are exact, so
  // the bar stands at its top and bottom exactly on the first and last record.
  // Rows of the page around the current one answer without reading.
  const RowRec at = *cur;
  RowRec probe;
  if (m_current == 1 && !Step(at, false, &probe, false)) return 0;
  if (m_current == RowCount() && !Step(at, true, &probe, false)) return max;
  const int32_t pos = m_fb->ApproxPosition(m_key_nr, at.key, at.ref, max);
  if (StorageErrorClass() != 0) return 0;
  return max >= 2 ? std::clamp<int>(pos, 1, max - 1) : pos;
}

void TKBrowser::ScrollTo(int pos) {
  const int max = ScrollMax();
  if (pos <= 0) {
    FirstRecord();
  } else if (pos >= max) {
    LastRecord();
  } else {
    std::string key;
    const int32_t ref = m_fb->FindByApproxPosition(m_key_nr, pos, max, &key);
    if (StorageErrorClass() == 0) GotoKey(key, ref);
  }
}

}  // namespace kontura
