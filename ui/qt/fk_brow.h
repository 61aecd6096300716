#pragma once
// TfkBrow: the record list panel. A grid with one title row shows the page of
// the TKBrowser; its own scroll bars, the bottom bar with the sort list, the
// quick-search field and the navigation buttons, and the close strip sit
// around it. The host sets the events (BrowserEvents) before it binds a
// fileblock, and supplies row texts and column titles through them.
//
// Controls by object name: grid, sbVert, sbHorz, lSortierung, cbSort,
// lSuchBild, eSuch, btnFirst, btnPrevPage, btnPrev, btnNext, btnNextPage,
// btnLast, closeStrip, btnCloseStrip, btnClose.

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "ui/fk_brow.h"
#include "ui/fk_brow_keys.h"

class QComboBox;
class QKeyEvent;
class QLabel;
class QScrollBar;
class QTableWidget;
class QToolButton;

namespace kontura {

class TfkEdit;

class TfkBrow : public QWidget, public BrowserEvents {
  Q_OBJECT

 public:
  explicit TfkBrow(QWidget* parent = nullptr);
  ~TfkBrow() override;

  // Connects the fileblock and builds the list in the order of key_nr,
  // restricted to low..high. False when the list cannot be shown (the
  // operator has been told where there is something to tell).
  bool BindFileblock(Fileblock* fb, int key_nr, const std::string& low, const std::string& high);

  // Column titles separated by ";"; the footer is kept for the host.
  void SetHeaderFooter(const std::string& header, const std::string& footer, int header_style = 0,
                       int footer_style = 0);
  const std::string& FooterText() const { return m_footer; }

  void ClearSortList();
  void AddSortItem(const std::string& text);
  int SortlistItemIndex() const;
  void SetSortlistItemIndex(int i);
  bool SortlistVisible() const { return m_sort_visible; }
  void SetSortlistVisible(bool on);
  bool SortlistEnabled() const { return m_sort_enabled; }
  void SetSortlistEnabled(bool on);

  void SetKeyNr(int key_nr);
  void SetKeyRange(const std::string& low, const std::string& high);
  // Applies the sort list's current entry again.
  void ApplySortSelection();
  void GotoKey(const std::string& key, int32_t ref);
  void Refresh();
  bool ReadCurrent();
  int CurrentKeyNr() const;
  // The host's delete command: the same as the Delete key in the table.
  bool DeleteCurrent();

  // The close strip above the table and the close button of the bottom bar
  // are hidden unless the host shows them.
  void SetCloseStripVisible(bool on);
  void SetCloseButtonVisible(bool on);

  TKBrowser* Browser() const { return m_browser.get(); }
  int CurrentColumn() const { return m_col; }
  int RowsThatFit() const { return m_rows_fit; }

  // The key handler; host forms that preview keys may pass keys on to it.
  // True when the key was consumed.
  bool KeyDown(const BrowKeyPress& key, BrowFocus focus);
  static BrowKeyPress KeyPressOf(const QKeyEvent& event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  int FixedColumns() const { return OnFindeSelectRow ? 1 : 0; }
  void UpdateRowsFit();
  void ApplyColumnWidths();
  void ShowPage();
  void SetCell(int row, int col, const QString& text);
  void UpdateScrollBars();
  void UpdateSortListState();
  void SetColumn(int col);
  void Navigate(bool (TKBrowser::*move)());
  void VerticalAction(int action);
  void SearchTextChanged();
  void ClearSearch();

  std::unique_ptr<TKBrowser> m_browser;
  QWidget* m_close_strip = nullptr;
  QToolButton* m_btn_close_strip = nullptr;
  QTableWidget* m_grid = nullptr;
  QScrollBar* m_sb_vert = nullptr;
  QScrollBar* m_sb_horz = nullptr;
  QLabel* m_l_sort = nullptr;
  QComboBox* m_cb_sort = nullptr;
  QLabel* m_l_search = nullptr;
  TfkEdit* m_e_search = nullptr;
  std::vector<QToolButton*> m_nav;
  QToolButton* m_btn_close = nullptr;

  std::vector<std::string> m_titles;
  std::string m_footer;
  int m_rows_fit = 1;
  int m_row_height = 16;
  int m_col = 0;
  bool m_sort_visible = true;
  bool m_sort_enabled = true;
  bool m_clearing = false;  // the browser itself empties the search field
};

}  // namespace kontura
