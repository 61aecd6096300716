#pragma once
// TKBrowser: the paging logic of the record list. It shows the records of one
// fileblock in the order of one key, restricted to a key range, as a page of
// rows around a current row, and walks the index for every move. It knows no
// toolkit: the Qt panel (TfkBrow) draws the rows and forwards keys, buttons
// and the scroll bar here.
//
// The fileblock's record buffer is shared with every other user of the
// fileblock: every move reads records into it. A host that needs the record
// of the current row calls ReadCurrent.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kontura {

// Only a reference here: the engine's headers stay out of the Qt views.
class Fileblock;

// One row of the page.
struct RowRec {
  int key_nr = 0;
  int32_t ref = -1;   // record number
  std::string key;    // the record's key under key_nr (at most 50 bytes)
  Fileblock* fileblock = nullptr;
  bool unreadable = false;
  std::string text;   // cells separated by ";", Windows-1252
};

// A key press as the browser's key table sees it. `code` is the toolkit's own
// key code, passed on untouched so a host can tell its keys apart.
enum class BrowKey { Enter, Escape, Up, Down, PageUp, PageDown, Home, End, Left, Right, Delete, Other };
struct BrowKeyPress {
  BrowKey key = BrowKey::Other;
  int code = 0;
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
};

// The events a host may set; every one is optional and has the default noted.
struct BrowserEvents {
  std::function<void(RowRec&)> OnBuildRow;                   // empty row
  std::function<void()> OnSetHeaderFooter;
  std::function<void()> OnBrowDoppelKlick;
  std::function<void()> OnBrowEnter;
  std::function<void()> OnBrowSuchfeldEnter;                 // falls back to OnBrowEnter
  std::function<void()> OnBrowCloseBtnKlick;
  std::function<void()> OnBrowScroll;
  std::function<bool()> OnInit_brDats;                       // true
  std::function<void()> OnEntf_brDats;
  std::function<void()> OnInit_F_Tasten;
  std::function<void()> OnWeitere_Befehle;
  std::function<bool()> OnBefore_Loesch;                     // true
  std::function<std::string()> OnLoesch_Feld;                // "Datensatz"
  std::function<bool()> OnDatensatz_Loeschen;                // DeleteRecord(3), true on class 0
  std::function<bool()> OnSuch_Eingabe;                      // false
  std::function<void()> OnInitSortList;
  // Maps sort entry i to a key number (0 = none) and its key range.
  std::function<int(int i, std::string& low, std::string& high)> OnSortList2Key;  // 0
  std::function<std::string(const std::string& text)> OnSuchFeld2KeyStr;          // text unchanged
  // Keys the browser does not handle itself; true when the host handled it.
  std::function<bool(const BrowKeyPress& key)> OnProcessPostCommand;              // false
  std::function<int(int column)> OnBrowColWidths;                                 // 0 = default width
  // Row marking: OnFindeSelectRow(record number) != 0 marks a row with "+".
  std::function<void(int ref)> OnAddSelectRow;
  std::function<int(int ref)> OnFindeSelectRow;
  std::function<bool()> OnGetSelectRow;
};

inline constexpr int kBrowMaxRows = 100;
inline constexpr int kBrowMaxKey = 50;
inline constexpr const char* kUnreadableRow = " ***** Datensatz nicht lesbar *****";

// The cells of a row text, split at ";".
std::vector<std::string> SplitCells(const std::string& text);

class TKBrowser {
 public:
  // events may be nullptr (every event at its default); it must outlive the
  // browser. The page stays empty until SetVisibleRows and a move.
  TKBrowser(Fileblock* fb, int key_nr, std::string low, std::string high, const BrowserEvents* events = nullptr);

  // True when the fileblock's files can be opened and counted.
  static bool CheckFileblock(Fileblock* fb);

  Fileblock* fileblock() const { return m_fb; }
  int CurrentKeyNr() const { return m_key_nr; }
  const std::string& LowKey() const { return m_low; }
  const std::string& HighKey() const { return m_high; }

  // Key range. A key belongs to it when its first len(low) characters are not
  // below low and its first len(high) characters not above high.
  bool InRange(const std::string& key) const;
  void SetKeyNr(int key_nr) { m_key_nr = key_nr; }
  void SetKeyRange(std::string low, std::string high);

  // Rows that fit on the screen (1..100); the page is rebuilt around the
  // current record.
  void SetVisibleRows(int rows);
  int VisibleRows() const { return m_visible; }

  // The page: RowCount rows, CurrentRow 1-based (0 on an empty page).
  int RowCount() const { return static_cast<int>(m_rows.size()); }
  const RowRec& Row(int i) const { return m_rows[static_cast<size_t>(i - 1)]; }  // 1-based
  int CurrentRow() const { return m_current; }
  const RowRec* Current() const { return m_current > 0 ? &Row(m_current) : nullptr; }
  // Makes row i (1-based) of the page current without reading anything.
  void SetCurrentRow(int i);
  // True once after the page was rebuilt (the panel repaints every row).
  bool TakeRebuilt();

  // The first entry at or after (key, ref) inside the range becomes the
  // current row (or the nearest before it when the range has none after),
  // and the page is rebuilt around it in the row that was current.
  void GotoKey(const std::string& key, int32_t ref);
  // Reads the rows of the page again; a record gone meanwhile shows as unreadable.
  void Refresh();
  // Rebuilds the page around the current row's entry (a record added or
  // removed by the host shows up or disappears).
  void Rebuild();

  // Moves; false when there was nowhere to go (the page stays as it was).
  bool NextRecord();
  bool PrevRecord();
  bool NextPage();
  bool PrevPage();
  bool FirstRecord();
  bool LastRecord();

  // Reads the current row's record into the fileblock's buffer. On failure
  // shows "Datensatz konnte nicht gelesen werden" and returns false.
  bool ReadCurrent();

  // Sort entry i: OnSortList2Key gives a key number and a range; a new key
  // number takes effect and the current record is found under it. Returns
  // true when the order changed (the panel then renews titles and search).
  bool ApplySort(int i);

  // Quick search with the text of the search field.
  void QuickSearch(const std::string& text);

  // Delete the current record after the question " Löschen "…"". Returns
  // true when the record was deleted.
  bool DeleteCurrent();

  // Vertical scroll bar: range 0..ScrollMax and the current record's place.
  int ScrollMax();
  int ScrollPosition();
  // Goes to the record at position pos of 0..ScrollMax.
  void ScrollTo(int pos);

 private:
  struct Entry {
    std::string key;
    int32_t ref = -1;
  };
  // Positions the fileblock on the first entry at or after (forward) or at or
  // before (backward) (key, ref) under the browser's key and fills *row from
  // the record read. False when there is none inside the range.
  bool Seek(const std::string& key, int32_t ref, bool forward, RowRec* row, bool with_text = true);
  bool Step(const RowRec& from, bool forward, RowRec* row, bool with_text = true);
  // Fills *row from the record in the buffer; the text through OnBuildRow.
  void BuildRow(RowRec* row, bool with_text = true);
  // Puts `anchor` into row `at` (1-based) and fills the page around it.
  void FillAround(const RowRec& anchor, int at);
  void Clamp(std::string* key, int32_t* ref) const;
  void Clear();

  Fileblock* m_fb;
  int m_key_nr;
  std::string m_low;
  std::string m_high;
  BrowserEvents m_no_events;
  const BrowserEvents* m_ev;
  std::vector<RowRec> m_rows;
  int m_current = 0;
  int m_visible = 1;
  bool m_rebuilt = false;
};

}  // namespace kontura
