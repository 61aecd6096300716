#include "ui/qt/fk_brow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
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

}  // namespace kontura
