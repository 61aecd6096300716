#include "refdata/qt/prefix_choice_dialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/qt/qt_text.h"
#include "refdata/suite_settings.h"
#include "text/picture_format.h"

namespace kontura {

namespace {

// Column start (in character widths) and width of the table's columns:
// Nr, DXCC, CQ, ITU, Land, Bemerkung.
constexpr int kColumnStart[] = {2, 6, 14, 17, 21, 46};
constexpr int kColumnWidth[] = {3, 7, 3, 3, 25, 20};
constexpr int kDialogColumns = 91;
constexpr int kRowHeight = 18;

// A COLORREF (0x00BBGGRR; the top byte only says how Windows picks it).
QColor FromColorRef(uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// One line of the table: labels at the character columns.
QWidget* MakeLine(QWidget* parent, const QStringList& texts, int char_width, bool bold) {
  auto* line = new QWidget(parent);
  line->setFixedHeight(kRowHeight);
  line->setAutoFillBackground(true);
  for (int i = 0; i < 6; ++i) {
    auto* label = new QLabel(texts.value(i), line);
    label->setObjectName(QStringLiteral("col%1").arg(i + 1));
    QFont f = label->font();
    f.setBold(bold);
    label->setFont(f);
    label->setGeometry(kColumnStart[i] * char_width, 0, kColumnWidth[i] * char_width, kRowHeight);
    // Clicks belong to the row, not to its labels.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  return line;
}

void Paint(QWidget* row, bool selected, const QColor& panel) {
  QPalette p = row->palette();
  p.setColor(QPalette::Window, selected ? QColor(0, 0, 128) : panel);
  p.setColor(QPalette::WindowText, selected ? Qt::white : Qt::black);
  row->setPalette(p);
  for (QLabel* l : row->findChildren<QLabel*>()) l->setPalette(p);
}

}  // namespace

TPrefAuswahl::TPrefAuswahl(const std::string& name, const std::vector<PrefixCandidate>& rows, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("TPrefAuswahl"));
  setWindowTitle(QStringLiteral("Auswahl DXCC"));
  const int cw = QFontMetrics(font()).horizontalAdvance(QLatin1Char('8'));
  const QColor panel = FromColorRef(TheSuiteSettings().PanelColour);

  auto* top = new QVBoxLayout(this);
  // Holds the keyboard focus and receives the arrow keys.
  m_focus = new QLineEdit(this);
  m_focus->setObjectName(QStringLiteral("eFocus"));
  m_focus->setGeometry(0, 0, 1, 1);
  m_focus->installEventFilter(this);

  auto add_label = [&](const char* object_name, const QString& text, bool visible) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QString::fromLatin1(object_name));
    l->setVisible(visible);
    top->addWidget(l);
    return l;
  };
  // Texts for QSO data; this program passes none, so they stay hidden.
  add_label("ltext1", QStringLiteral("Für das aktuelle Rufzeichen stehen mehrere DXCC zur Auswahl. Durch Doppelklick auf"),
            false);
  add_label("ltext2", QStringLiteral("einen der unteren Einträge wird dem QSO ein DXCC zugeordnet."), false);
  add_label("lQSO", QStringLiteral("QSO:"), false);
  add_label("ltext3", QStringLiteral("Für den Präfix stehen mehrere DXCC zur Auswahl. Durch Doppelklick auf"), true);
  add_label("ltext4", QStringLiteral("einen der unteren Einträge wird dem Präfix ein DXCC zugeordnet."), true);
  QLabel* l_name = add_label("lQSO1", ToQString(name), true);
  QFont bold = l_name->font();
  bold.setBold(true);
  l_name->setFont(bold);

  auto* ptab = new QWidget(this);
  ptab->setObjectName(QStringLiteral("ptab"));
  ptab->setAutoFillBackground(true);
  QPalette pp = ptab->palette();
  pp.setColor(QPalette::Window, panel);
  ptab->setPalette(pp);
  auto* table = new QVBoxLayout(ptab);
  table->setContentsMargins(0, 0, 0, 0);
  table->setSpacing(0);
  QWidget* heading = MakeLine(ptab, {QStringLiteral("Nr"), QStringLiteral("DXCC"), QStringLiteral("CQ"),
                                     QStringLiteral("ITU"), QStringLiteral("Land"), QStringLiteral("Bemerkung")},
                              cw, true);
  heading->setObjectName(QStringLiteral("heading"));
  Paint(heading, false, panel);
  table->addWidget(heading);
  for (const PrefixCandidate& c : rows) {
    QWidget* row = MakeLine(ptab,
                            {ToQString(FormatPictureInt("##", c.number)), ToQString(c.entity_prefix),
                             ToQString(c.cq_zone), ToQString(c.itu_zone), ToQString(c.country_name),
                             ToQString(c.remark)},
                            cw, false);
    row->setObjectName(QStringLiteral("row%1").arg(m_rows.size() + 1));
    row->installEventFilter(this);
    Paint(row, false, panel);
    table->addWidget(row);
    m_rows.push_back(row);
  }
  top->addWidget(ptab);

  auto* bottom = new QHBoxLayout;
  auto* hints = new QVBoxLayout;
  hints->addWidget(new QLabel(QStringLiteral("Sie können auch die Pfeiltasten "), this));
  hints->addWidget(new QLabel(QStringLiteral("<hoch> und <runter> nutzen."), this));
  bottom->addLayout(hints);
  bottom->addStretch();
  auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
  cancel->setObjectName(QStringLiteral("btnAbbruch"));
  cancel->setAutoDefault(false);
  m_take = new QPushButton(QStringLiteral("Übernehmen"), this);
  m_take->setObjectName(QStringLiteral("btnUebernahme"));
  m_take->setEnabled(false);
  m_take->setAutoDefault(false);
  bottom->addWidget(cancel);
  bottom->addWidget(m_take);
  top->addLayout(bottom);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_take, &QPushButton::clicked, this, [this] { btnUebernahmeClick(); });

  const int height = sizeHint().height();
  resize(kDialogColumns * cw + 20, height);
  m_focus->setFocus();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

void TPrefAuswahl::Select(int row) {
  const QColor panel = FromColorRef(TheSuiteSettings().PanelColour);
  m_selected = row;
  for (size_t i = 0; i < m_rows.size(); ++i) Paint(m_rows[i], static_cast<int>(i) == row, panel);
  m_take->setEnabled(row >= 0);
  m_take->setDefault(row >= 0);
}

void TPrefAuswahl::btnUebernahmeClick() {
  if (m_selected >= 0) accept();
}

bool TPrefAuswahl::eventFilter(QObject* watched, QEvent* event) {
  const int n = static_cast<int>(m_rows.size());
  if (watched == m_focus && event->type() == QEvent::KeyPress && n > 0) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Down) {
      Select(m_selected < 0 || m_selected >= n - 1 ? 0 : m_selected + 1);
      return true;
    }
    if (key == Qt::Key_Up) {
      Select(m_selected <= 0 ? n - 1 : m_selected - 1);
      return true;
    }
  }
  for (int i = 0; i < n; ++i) {
    if (watched != m_rows[static_cast<size_t>(i)]) continue;
    if (event->type() == QEvent::MouseButtonPress) {
      Select(i);
      m_focus->setFocus();
      return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
      Select(i);
      accept();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

int QtPrefixChooser::Choose(std::string_view name, const std::vector<PrefixCandidate>& rows) {
  TPrefAuswahl dialog{std::string(name), rows, QApplication::activeWindow()};
  dialog.exec();
  return dialog.TakenRow();
}

}  // namespace kontura
