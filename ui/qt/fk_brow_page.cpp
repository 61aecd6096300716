// The page side of TfkBrow: writing the rows into the grid, the scroll bars,
// the navigation and the key handler.

#include <QComboBox>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableWidget>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "platform/qt/qt_text.h"
#include "ui/qt/fk_brow.h"
#include "ui/qt/fk_edit.h"

namespace kontura {

void TfkBrow::UpdateRowsFit() {
  const int fit = std::clamp(m_grid->viewport()->height() / std::max(1, m_row_height), 1, kBrowMaxRows);
  m_rows_fit = fit;
  if (m_grid->rowCount() != fit) m_grid->setRowCount(fit);
  if (m_browser) m_browser->SetVisibleRows(fit);
  ApplyColumnWidths();
  ShowPage();
}

void TfkBrow::SetCell(int row, int col, const QString& text) {
  QTableWidgetItem* item = m_grid->item(row, col);
  if (!item) {
    if (text.isEmpty()) return;
    m_grid->setItem(row, col, new QTableWidgetItem(text));
    return;
  }
  // Only changed cells are written: an unchanged list does not flicker.
  if (item->text() != text) item->setText(text);
}

void TfkBrow::ShowPage() {
  const int rows = m_grid->rowCount();
  const int cols = m_grid->columnCount();
  const int fixed = FixedColumns();
  const int count = m_browser ? m_browser->RowCount() : 0;
  if (m_browser) m_browser->TakeRebuilt();
  for (int r = 0; r < rows; ++r) {
    std::vector<std::string> cells;
    bool marked = false;
    if (r < count) {
      const RowRec& row = m_browser->Row(r + 1);
      cells = SplitCells(row.text);
      if (OnFindeSelectRow) marked = OnFindeSelectRow(row.ref) != 0;
    }
    if (fixed > 0) SetCell(r, 0, marked ? QStringLiteral("+") : QString());
    for (int c = fixed; c < cols; ++c) {
      const size_t t = static_cast<size_t>(c - fixed);
      SetCell(r, c, t < cells.size() ? ToQString(cells[t]) : QString());
    }
  }
  const int current = m_browser ? m_browser->CurrentRow() : 0;
  if (current > 0) {
    m_grid->setCurrentCell(current - 1, std::clamp(m_col, 0, std::max(0, cols - 1)));
  } else {
    m_grid->clearSelection();
    m_grid->setCurrentItem(nullptr);
  }
  if (cols > 0) m_grid->scrollTo(m_grid->model()->index(0, std::clamp(m_col, 0, cols - 1)));
  UpdateScrollBars();
}

void TfkBrow::UpdateScrollBars() {
  const QSignalBlocker block(m_sb_vert);
  m_sb_vert->setSingleStep(1);
  m_sb_vert->setPageStep(std::max(1, m_rows_fit - 2));
  if (!m_browser) {
    m_sb_vert->setRange(0, 0);
    return;
  }
  m_sb_vert->setRange(0, m_browser->ScrollMax());
  // While the operator drags the bar, its knob stays under the mouse.
  if (!m_sb_vert->isSliderDown()) m_sb_vert->setValue(m_browser->ScrollPosition());
}

void TfkBrow::SetColumn(int col) {
  const int cols = m_grid->columnCount();
  col = std::clamp(col, FixedColumns(), std::max(FixedColumns(), cols - 1));
  m_col = col;
  {
    const QSignalBlocker block(m_sb_horz);
    m_sb_horz->setValue(col);
  }
  ShowPage();
}

void TfkBrow::Navigate(bool (TKBrowser::*move)()) {
  if (!m_browser) return;
  if (OnBrowScroll) OnBrowScroll();
  (m_browser.get()->*move)();
  ShowPage();
}

void TfkBrow::VerticalAction(int action) {
  if (!m_browser) return;
  if (OnBrowScroll) OnBrowScroll();
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: m_browser->NextRecord(); break;
    case QAbstractSlider::SliderSingleStepSub: m_browser->PrevRecord(); break;
    case QAbstractSlider::SliderPageStepAdd: m_browser->NextPage(); break;
    case QAbstractSlider::SliderPageStepSub: m_browser->PrevPage(); break;
    case QAbstractSlider::SliderToMinimum: m_browser->FirstRecord(); break;
    case QAbstractSlider::SliderToMaximum: m_browser->LastRecord(); break;
    case QAbstractSlider::SliderMove: m_browser->ScrollTo(m_sb_vert->sliderPosition()); break;
    default: break;
  }
  ShowPage();
  // The slider applies its own step after this signal; the place of the
  // current record wins.
  if (!m_sb_vert->isSliderDown()) m_sb_vert->setSliderPosition(m_browser->ScrollPosition());
}

void TfkBrow::SearchTextChanged() {
  if (m_clearing || !m_browser) return;
  // A host that does its own searching says so.
  if (OnSuch_Eingabe && OnSuch_Eingabe()) return;
  m_browser->QuickSearch(m_e_search->StringValue());
  ShowPage();
}

void TfkBrow::ClearSearch() {
  m_clearing = true;
  m_e_search->clear();
  m_clearing = false;
}

BrowKeyPress TfkBrow::KeyPressOf(const QKeyEvent& event) {
  BrowKeyPress k;
  k.code = event.key();
  k.ctrl = event.modifiers() & Qt::ControlModifier;
  k.shift = event.modifiers() & Qt::ShiftModifier;
  k.alt = event.modifiers() & Qt::AltModifier;
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: k.key = BrowKey::Enter; break;
    case Qt::Key_Escape: k.key = BrowKey::Escape; break;
    case Qt::Key_Up: k.key = BrowKey::Up; break;
    case Qt::Key_Down: k.key = BrowKey::Down; break;
    case Qt::Key_PageUp: k.key = BrowKey::PageUp; break;
    case Qt::Key_PageDown: k.key = BrowKey::PageDown; break;
    case Qt::Key_Home: k.key = BrowKey::Home; break;
    case Qt::Key_End: k.key = BrowKey::End; break;
    case Qt::Key_Left: k.key = BrowKey::Left; break;
    case Qt::Key_Right: k.key = BrowKey::Right; break;
    case Qt::Key_Delete: k.key = BrowKey::Delete; break;
    default: k.key = BrowKey::Other; break;
  }
  return k;
}

bool TfkBrow::KeyDown(const BrowKeyPress& key, BrowFocus focus) {
  const BrowAction action = BrowKeyAction(key, focus, static_cast<bool>(OnBrowSuchfeldEnter));
  bool handled = true;
  switch (action) {
    case BrowAction::Ignore: return false;
    case BrowAction::Unhandled: handled = OnProcessPostCommand ? OnProcessPostCommand(key) : false; break;
    case BrowAction::Enter:
      if (OnBrowEnter) OnBrowEnter();
      break;
    case BrowAction::SearchEnter: OnBrowSuchfeldEnter(); break;
    case BrowAction::PrevRecord: Navigate(&TKBrowser::PrevRecord); break;
    case BrowAction::NextRecord: Navigate(&TKBrowser::NextRecord); break;
    case BrowAction::PrevPage: Navigate(&TKBrowser::PrevPage); break;
    case BrowAction::NextPage: Navigate(&TKBrowser::NextPage); break;
    case BrowAction::FirstRecord: Navigate(&TKBrowser::FirstRecord); break;
    case BrowAction::LastRecord: Navigate(&TKBrowser::LastRecord); break;
    case BrowAction::FirstColumn: SetColumn(FixedColumns()); break;
    case BrowAction::LastColumn: SetColumn(m_grid->columnCount() - 1); break;
    case BrowAction::ColumnLeft: SetColumn(m_col - 1); break;
    case BrowAction::ColumnRight: SetColumn(m_col + 1); break;
    case BrowAction::Delete: DeleteCurrent(); break;
  }
  if (BrowKeyClearsSearch(action, key, handled)) ClearSearch();
  return handled;
}

bool TfkBrow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_grid->viewport()) {
    if (event->type() == QEvent::Resize) {
      UpdateRowsFit();
    } else if (event->type() == QEvent::Wheel && m_browser) {
      // Each notch of the wheel moves three records.
      const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
      for (int i = 0; i < 3 * std::abs(delta) / 120; ++i) {
        delta < 0 ? m_browser->NextRecord() : m_browser->PrevRecord();
      }
      ShowPage();
      return true;
    }
    return false;
  }
  if (event->type() != QEvent::KeyPress) return false;
  const auto& ke = static_cast<const QKeyEvent&>(*event);
  BrowFocus focus = BrowFocus::Other;
  if (watched == m_grid) focus = BrowFocus::Table;
  else if (watched == m_e_search) focus = BrowFocus::SearchField;
  else if (watched == m_cb_sort) focus = BrowFocus::SortList;
  switch (ke.key()) {
    // Focus moves and the modifier keys on their own are no commands.
    case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Shift: case Qt::Key_Control: case Qt::Key_Alt:
    case Qt::Key_AltGr: case Qt::Key_Meta: case Qt::Key_CapsLock: case Qt::Key_NumLock:
      return false;
    default:
      break;
  }
  if (KeyDown(KeyPressOf(ke), focus)) return true;
  // The table itself does nothing with other keys: its own item search would
  // move the highlight behind the browser's back.
  return watched == m_grid && !ke.text().isEmpty() && ke.text().at(0).isPrint();
}

}  // namespace kontura
