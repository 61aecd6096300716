#include "ui/qt/fk_brow.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <exception>

#include "platform/platform.h"
#include "platform/qt/qt_text.h"
#include "ui/qt/brow_pictures.h"
#include "ui/qt/fk_edit.h"

namespace kontura {
namespace {

constexpr int kInitialColumns = 10;
constexpr const char* kCloseHint = "Schließen der Liste";

struct NavButton {
  const char* name;
  const char* hint;
  NavPicture picture;
  bool (TKBrowser::*move)();
};

const NavButton kNavButtons[] = {
    {"btnFirst", "Dateianfang", NavPicture::FirstRecord, &TKBrowser::FirstRecord},
    {"btnPrevPage", "vorige Seite", NavPicture::PrevPage, &TKBrowser::PrevPage},
    {"btnPrev", "voriger Datensatz", NavPicture::PrevRecord, &TKBrowser::PrevRecord},
    {"btnNext", "nächster Datensatz", NavPicture::NextRecord, &TKBrowser::NextRecord},
    {"btnNextPage", "nächste Seite", NavPicture::NextPage, &TKBrowser::NextPage},
    {"btnLast", "Dateiende", NavPicture::LastRecord, &TKBrowser::LastRecord},
};

QToolButton* SmallButton(QWidget* parent, const char* name, const QPixmap& picture, const QString& hint) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setIcon(QIcon(picture));
  b->setIconSize(picture.size());
  b->setToolTip(hint);
  b->setAutoRaise(true);
  // The buttons never take the focus away from the table.
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

}  // namespace

TfkBrow::TfkBrow(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("fkBrow"));
  BuildControls();
}

TfkBrow::~TfkBrow() = default;

void TfkBrow::BuildControls() {
  const QColor ink = palette().color(QPalette::ButtonText);

  // Close strip above the table.
  m_close_strip = new QWidget(this);
  m_close_strip->setObjectName(QStringLiteral("closeStrip"));
  m_close_strip->setFixedHeight(15);
  auto* strip = new QHBoxLayout(m_close_strip);
  strip->setContentsMargins(0, 0, 0, 0);
  strip->addStretch();
  m_btn_close_strip = SmallButton(m_close_strip, "btnCloseStrip", DrawClosePicture(ink), QString::fromUtf8(kCloseHint));
  m_btn_close_strip->setFixedSize(15, 15);
  strip->addWidget(m_btn_close_strip);
  m_close_strip->hide();

  // The table with its own scroll bars beside and below it.
  m_grid = new QTableWidget(this);
  m_grid->setObjectName(QStringLiteral("grid"));
  m_grid->setColumnCount(kInitialColumns);
  m_grid->setRowCount(1);
  m_grid->verticalHeader()->hide();
  m_grid->horizontalHeader()->setSectionsClickable(false);
  m_grid->horizontalHeader()->setHighlightSections(false);
  m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
  m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
  m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_grid->setTabKeyNavigation(false);
  m_grid->setWordWrap(false);
  QPalette pal = m_grid->palette();
  pal.setColor(QPalette::Base, Qt::white);
  pal.setColor(QPalette::Text, Qt::black);
  m_grid->setPalette(pal);
  const QFontMetrics fm(m_grid->font());
  m_row_height = static_cast<int>(std::lround(1.2 * fm.height()));
  m_grid->verticalHeader()->setMinimumSectionSize(1);
  m_grid->verticalHeader()->setDefaultSectionSize(m_row_height);
  m_grid->horizontalHeader()->setFixedHeight(m_row_height + 4);
  m_grid->installEventFilter(this);
  m_grid->viewport()->installEventFilter(this);
  setFocusProxy(m_grid);

  m_sb_vert = new QScrollBar(Qt::Vertical, this);
  m_sb_vert->setObjectName(QStringLiteral("sbVert"));
  m_sb_vert->setFocusPolicy(Qt::NoFocus);
  m_sb_vert->setRange(0, 0);
  m_sb_horz = new QScrollBar(Qt::Horizontal, this);
  m_sb_horz->setObjectName(QStringLiteral("sbHorz"));
  m_sb_horz->setFocusPolicy(Qt::NoFocus);
  m_sb_horz->setRange(0, kInitialColumns - 1);

  // Bottom bar.
  auto* bar = new QHBoxLayout;
  bar->setContentsMargins(2, 2, 2, 2);
  bar->setSpacing(4);
  m_l_sort = new QLabel(QStringLiteral("Sortierung:"), this);
  m_l_sort->setObjectName(QStringLiteral("lSortierung"));
  m_cb_sort = new QComboBox(this);
  m_cb_sort->setObjectName(QStringLiteral("cbSort"));
  m_cb_sort->setPlaceholderText(QStringLiteral("Sortierung"));
  // 80 pixels, or what its text needs in a larger font.
  m_cb_sort->setFixedWidth(
      std::max(80, m_cb_sort->fontMetrics().horizontalAdvance(m_cb_sort->placeholderText()) + 32));
  m_cb_sort->installEventFilter(this);
  m_l_search = new QLabel(this);
  m_l_search->setObjectName(QStringLiteral("lSuchBild"));
  m_l_search->setPixmap(DrawSearchPicture(ink));
  m_e_search = new TfkEdit(this);
  m_e_search->setObjectName(QStringLiteral("eSuch"));
  m_e_search->setFixedWidth(80);
  m_e_search->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[\\p{L}\\p{N}]*")), m_e_search));
  m_e_search->installEventFilter(this);
  bar->addWidget(m_l_sort);
  bar->addWidget(m_cb_sort);
  bar->addSpacing(6);
  bar->addWidget(m_l_search);
  bar->addWidget(m_e_search);
  bar->addSpacing(6);
  for (const NavButton& n : kNavButtons) {
    QToolButton* b = SmallButton(this, n.name, DrawNavPicture(n.picture, ink), QString::fromUtf8(n.hint));
    b->setFixedSize(20, 20);
    connect(b, &QToolButton::clicked, this, [this, move = n.move] { Navigate(move); });
    m_nav.push_back(b);
    bar->addWidget(b);
  }
  bar->addStretch();
  m_btn_close = new QToolButton(this);
  m_btn_close->setObjectName(QStringLiteral("btnClose"));
  m_btn_close->setText(QStringLiteral("Schließen"));
  m_btn_close->setToolTip(QString::fromUtf8(kCloseHint));
  m_btn_close->setFixedSize(60, 15);
  m_btn_close->setFocusPolicy(Qt::NoFocus);
  m_btn_close->hide();
  bar->addWidget(m_btn_close);

  auto* grid_box = new QGridLayout;
  grid_box->setContentsMargins(0, 0, 0, 0);
  grid_box->setSpacing(0);
  grid_box->addWidget(m_grid, 0, 0);
  grid_box->addWidget(m_sb_vert, 0, 1);
  grid_box->addWidget(m_sb_horz, 1, 0);

  auto* main = new QVBoxLayout(this);
  main->setContentsMargins(0, 0, 0, 0);
  main->setSpacing(0);
  main->addWidget(m_close_strip);
  main->addLayout(grid_box, 1);
  main->addLayout(bar);

  connect(m_btn_close_strip, &QToolButton::clicked, this, [this] {
    if (OnBrowCloseBtnKlick) OnBrowCloseBtnKlick();
  });
  connect(m_btn_close, &QToolButton::clicked, this, [this] {
    if (OnBrowCloseBtnKlick) OnBrowCloseBtnKlick();
  });
  connect(m_sb_vert, &QScrollBar::actionTriggered, this, &TfkBrow::VerticalAction);
  connect(m_sb_horz, &QScrollBar::valueChanged, this, [this](int v) { SetColumn(v); });
  connect(m_cb_sort, &QComboBox::activated, this, [this](int) { ApplySortSelection(); });
  connect(m_e_search, &QLineEdit::textChanged, this, [this] { SearchTextChanged(); });
  connect(m_grid, &QTableWidget::cellClicked, this, [this](int row, int col) {
    if (!m_browser || row >= m_browser->RowCount()) return ShowPage();
    m_browser->SetCurrentRow(row + 1);
    SetColumn(col);
  });
  connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    if (!m_browser || row >= m_browser->RowCount()) return;
    m_browser->SetCurrentRow(row + 1);
    ShowPage();
    if (m_browser->ReadCurrent() && OnBrowDoppelKlick) OnBrowDoppelKlick();
  });
  UpdateSortListState();
}

bool TfkBrow::BindFileblock(Fileblock* fb, int key_nr, const std::string& low, const std::string& high) {
  // Host events may fail by throwing; the step tells where binding stopped.
  int step = 1;
  try {
    if (OnInit_brDats && !OnInit_brDats()) {
      if (OnEntf_brDats) OnEntf_brDats();
      TheDialogs().ShowMessage("Fehler beim \xD6" "ffnen der Datenbanken!");
      return false;
    }
    step = 2;
    if (!fb) {
      TheDialogs().ShowMessage("ung\xFCltiger Treiber");
      return false;
    }
    step = 3;
    m_browser.reset();
    ShowPage();
    // A fileblock whose files cannot be opened gives an empty list.
    step = 4;
    if (!TKBrowser::CheckFileblock(fb)) {
      if (OnEntf_brDats) OnEntf_brDats();
      return false;
    }
    step = 5;
    m_browser = std::make_unique<TKBrowser>(fb, key_nr, low, high, this);
    step = 6;
    UpdateRowsFit();
    step = 7;
    if (OnSetHeaderFooter) OnSetHeaderFooter();
    step = 8;
    if (OnInitSortList) OnInitSortList();
    step = 9;
    if (OnInit_F_Tasten) OnInit_F_Tasten();
    step = 10;
    m_cb_sort->setCurrentIndex(-1);
    UpdateSortListState();
    step = 11;
    ClearSearch();
    step = 12;
    ShowPage();
  } catch (const std::exception&) {
    TheDialogs().ShowMessage("Fehler beim Erstellen der Liste! (FNr " + std::to_string(step) + ")");
    return false;
  }
  return true;
}

void TfkBrow::SetHeaderFooter(const std::string& header, const std::string& footer, int, int) {
  m_titles = SplitCells(header);
  m_footer = footer;
  const int fixed = FixedColumns();
  const int cols = std::max(fixed + 1, fixed + static_cast<int>(m_titles.size()));
  m_grid->setColumnCount(cols);
  QStringList labels;
  for (int c = 0; c < cols; ++c) {
    const int t = c - fixed;
    labels << (t >= 0 && t < static_cast<int>(m_titles.size()) ? ToQString(m_titles[static_cast<size_t>(t)])
                                                                 : QString());
  }
  m_grid->setHorizontalHeaderLabels(labels);
  for (int c = 0; c < cols; ++c) {
    m_grid->horizontalHeaderItem(c)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  m_sb_horz->setRange(0, cols - 1);
  if (m_col >= cols || m_col < fixed) SetColumn(fixed);
  ApplyColumnWidths();
  ShowPage();
}

void TfkBrow::ApplyColumnWidths() {
  const int cols = m_grid->columnCount();
  if (cols == 0) return;
  const int fixed = FixedColumns();
  int x_width = QFontMetrics(m_grid->font()).horizontalAdvance(QLatin1Char('X'));
  // The narrow letters of a 640-pixel screen.
  if (const QScreen* s = screen(); s && s->geometry().width() == 640) --x_width;
  int used = 0;
  for (int c = 0; c < cols; ++c) {
    int w = OnBrowColWidths ? OnBrowColWidths(c) : 0;
    if (w <= 0) {
      const int t = c - fixed;
      const size_t len = t >= 0 && t < static_cast<int>(m_titles.size()) ? m_titles[static_cast<size_t>(t)].size() : 0;
      w = static_cast<int>(len + 1) * x_width;
    }
    if (c == cols - 1) {
      // The last column fills the rest of the table.
      w = std::max(w, m_grid->viewport()->width() - used);
    }
    m_grid->setColumnWidth(c, w);
    used += w;
  }
}

void TfkBrow::ClearSortList() {
  m_cb_sort->clear();
  UpdateSortListState();
}

void TfkBrow::AddSortItem(const std::string& text) {
  m_cb_sort->addItem(ToQString(text));
  m_cb_sort->setCurrentIndex(-1);
  UpdateSortListState();
}

int TfkBrow::SortlistItemIndex() const { return m_cb_sort->currentIndex(); }

void TfkBrow::SetSortlistItemIndex(int i) { m_cb_sort->setCurrentIndex(i); }

void TfkBrow::SetSortlistVisible(bool on) {
  m_sort_visible = on;
  UpdateSortListState();
}

void TfkBrow::SetSortlistEnabled(bool on) {
  m_sort_enabled = on;
  UpdateSortListState();
}

void TfkBrow::UpdateSortListState() {
  // A single order is no choice: the list is shown only with two or more.
  const bool choice = m_cb_sort->count() >= 2;
  m_cb_sort->setVisible(m_sort_visible && choice);
  m_l_sort->setVisible(m_sort_visible && choice);
  m_cb_sort->setEnabled(m_sort_enabled && choice);
}

void TfkBrow::SetKeyNr(int key_nr) {
  if (!m_browser) return;
  m_browser->SetKeyNr(key_nr);
  m_browser->Rebuild();
  ShowPage();
}

void TfkBrow::SetKeyRange(const std::string& low, const std::string& high) {
  if (!m_browser) return;
  m_browser->SetKeyRange(low, high);
  m_browser->Rebuild();
  ShowPage();
}

void TfkBrow::ApplySortSelection() {
  const int i = m_cb_sort->currentIndex();
  if (!m_browser || i < 0) return;
  if (m_browser->ApplySort(i)) {
    if (OnSetHeaderFooter) OnSetHeaderFooter();
    ClearSearch();
  }
  ShowPage();
}

void TfkBrow::GotoKey(const std::string& key, int32_t ref) {
  if (!m_browser) return;
  m_browser->GotoKey(key, ref);
  ShowPage();
}

void TfkBrow::Refresh() {
  if (!m_browser) return;
  m_browser->Refresh();
  ShowPage();
}

bool TfkBrow::ReadCurrent() { return m_browser && m_browser->ReadCurrent(); }

int TfkBrow::CurrentKeyNr() const { return m_browser ? m_browser->CurrentKeyNr() : 0; }

bool TfkBrow::DeleteCurrent() {
  if (!m_browser) return false;
  const bool done = m_browser->DeleteCurrent();
  ShowPage();
  return done;
}

void TfkBrow::SetCloseStripVisible(bool on) { m_close_strip->setVisible(on); }

void TfkBrow::SetCloseButtonVisible(bool on) { m_btn_close->setVisible(on); }

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
