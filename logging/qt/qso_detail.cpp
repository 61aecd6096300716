#include "logging/qt/qso_detail.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/qt_text.h"

namespace kontura {
namespace {

void SetText(QLineEdit* edit, const std::string& text) {
  const QString q = ToQString(text);
  if (edit->text() != q) edit->setText(q);
}

std::string TextOf(const QLineEdit* edit) { return FromQString(edit->text()); }

QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

// Width of the first caption of a row, so that the rows' fields line up.
constexpr int kCaptionWidth = 48;

// A row of captioned fields, left-aligned.
QHBoxLayout* Row(QWidget* parent, std::initializer_list<std::pair<QString, QWidget*>> fields) {
  auto* row = new QHBoxLayout;
  bool first = true;
  for (const auto& [caption, field] : fields) {
    QLabel* label = Caption(caption, field, parent);
    if (first) label->setFixedWidth(kCaptionWidth);
    if (!first) row->addSpacing(10);
    first = false;
    row->addWidget(label);
    row->addWidget(field);
  }
  row->addStretch();
  return row;
}

bool IsEnter(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

TQsoDetail::TQsoDetail(QsoDetailModel& model, QWidget* parent) : QDialog(parent), m_model(model) {
  setObjectName(QStringLiteral("QsoDetail"));
  setWindowTitle(ToQString(kDetailCaption));
  BuildControls();
  ShowModel();
  m_call->setFocus();
}

QLineEdit* TQsoDetail::AddEdit(const char* name, int max_length, bool capitals) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setMaxLength(max_length);
  // As wide as the characters it takes (the long exchange and name fields
  // as wide as what they usually hold), so that short fields look short.
  const QFontMetrics fm(edit->font());
  const int shown = std::clamp(max_length, 2, 16);
  edit->setFixedWidth(fm.horizontalAdvance(QString(shown, QLatin1Char('M'))) * 3 / 4 + 14);
  if (capitals) {
    connect(edit, &QLineEdit::textEdited, this, [edit](const QString& text) {
      const QString upper = ToQString(QsoDetailModel::Capitals(FromQString(text)));
      if (upper == text) return;
      const int cursor = edit->cursorPosition();
      edit->setText(upper);
      edit->setCursorPosition(cursor);
    });
  }
  edit->installEventFilter(this);
  return edit;
}

void TQsoDetail::BuildControls() {
  const QsoDetailFields& f = m_model.fields();
  auto* root = new QVBoxLayout(this);
  m_number = new QLabel(this);
  m_number->setObjectName(QStringLiteral("lNummer"));
  QFont bold = m_number->font();
  bold.setBold(true);
  m_number->setFont(bold);
  root->addWidget(m_number);

  m_call = AddEdit("eCall", static_cast<int>(kDetailCallLength), true);
  m_date = AddEdit("eDatum", static_cast<int>(kDetailDateLength), true);
  m_time = AddEdit("eUTC", static_cast<int>(kDetailTimeLength), true);
  root->addLayout(Row(this, {{QStringLiteral("Call"), m_call}, {QStringLiteral("Datum"), m_date},
                             {QStringLiteral("UTC"), m_time}}));

  // The exchange: a row per side, the report and fields 2 to 4 under the
  // captions of what they hold.
  auto* exchange = new QGridLayout;
  root->addLayout(exchange);
  m_sent_report = AddEdit("eRSTs", static_cast<int>(kDetailReportLength), true);
  m_recv_report = AddEdit("eRSTr", static_cast<int>(kDetailReportLength), true);
  const char* sent_names[3] = {"eSent2", "eSent3", "eSent4"};
  const char* recv_names[3] = {"eRecv2", "eRecv3", "eRecv4"};
  exchange->addWidget(new QLabel(QStringLiteral("RST"), this), 0, 1);
  exchange->addWidget(Caption(QStringLiteral("RSTs"), m_sent_report, this), 1, 0);
  exchange->addWidget(m_sent_report, 1, 1);
  exchange->addWidget(Caption(QStringLiteral("RSTr"), m_recv_report, this), 2, 0);
  exchange->addWidget(m_recv_report, 2, 1);
  for (size_t i = 0; i < 3; ++i) {
    const int col = 2 + static_cast<int>(i);
    m_sent[i] = AddEdit(sent_names[i], static_cast<int>(kDetailExchangeLength), true);
    m_recv[i] = AddEdit(recv_names[i], static_cast<int>(kDetailExchangeLength), true);
    exchange->addWidget(new QLabel(ToQString(f.field_captions[i]), this), 0, col);
    exchange->addWidget(m_sent[i], 1, col);
    exchange->addWidget(m_recv[i], 2, col);
  }
  exchange->setColumnMinimumWidth(0, kCaptionWidth);
  exchange->setColumnStretch(5, 1);

  m_qsl_sent = AddEdit("eQSLs", static_cast<int>(kDetailQslLength), true);
  m_qsl_received = AddEdit("eQSLr", static_cast<int>(kDetailQslLength), true);
  m_dxcc = AddEdit("eDXCC", static_cast<int>(kDetailDxccLength), true);
  for (QLineEdit* qsl : {m_qsl_sent, m_qsl_received}) {
    connect(qsl, &QLineEdit::textChanged, qsl, [qsl] { qsl->selectAll(); });
  }
  root->addLayout(Row(this, {{QStringLiteral("QSL s"), m_qsl_sent}, {QStringLiteral("QSL r"), m_qsl_received},
                             {QStringLiteral("DXCC"), m_dxcc}}));

  m_band = new QComboBox(this);
  m_band->setObjectName(QStringLiteral("cbBand"));
  for (const std::string& name : f.band_names) m_band->addItem(ToQString(name));
  m_mode = new QComboBox(this);
  m_mode->setObjectName(QStringLiteral("cbMode"));
  for (const std::string& mode : f.modes) m_mode->addItem(ToQString(mode));
  m_band->installEventFilter(this);
  m_mode->installEventFilter(this);
  m_frequency = AddEdit("eFreq", static_cast<int>(sizeof(kDetailFrequencyPicture) - 1), false);
  root->addLayout(Row(this, {{QStringLiteral("Band"), m_band}, {QStringLiteral("Mode"), m_mode},
                             {QStringLiteral("Freq"), m_frequency}}));

  m_name = AddEdit("eName", static_cast<int>(kDetailNameLength), false);
  m_qth = AddEdit("eQTH", static_cast<int>(kDetailNameLength), false);
  root->addLayout(Row(this, {{QStringLiteral("Name"), m_name}, {QStringLiteral("QTH"), m_qth}}));

  auto* buttons = new QHBoxLayout;
  auto* finish = new QPushButton(QStringLiteral("Beenden [ESC]"), this);
  finish->setObjectName(QStringLiteral("btnBeenden"));
  finish->setAutoDefault(false);
  buttons->addStretch();
  buttons->addWidget(finish);
  root->addLayout(buttons);
  connect(finish, &QPushButton::clicked, this, [this] { FinishAndAccept(); });

  connect(m_mode, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (m_updating) return;
    ReadFields();
    m_model.SelectMode(index);
    ShowModel();
  });
  connect(m_band, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (m_updating) return;
    ReadFields();
    m_model.SelectBand(index);
    ShowModel();
  });

  m_order = {m_call, m_date, m_time, m_sent_report};
  m_order.insert(m_order.end(), m_sent.begin(), m_sent.end());
  m_order.push_back(m_recv_report);
  m_order.insert(m_order.end(), m_recv.begin(), m_recv.end());
  for (QWidget* w : {static_cast<QWidget*>(m_qsl_sent), static_cast<QWidget*>(m_qsl_received),
                     static_cast<QWidget*>(m_dxcc), static_cast<QWidget*>(m_band), static_cast<QWidget*>(m_mode),
                     static_cast<QWidget*>(m_frequency), static_cast<QWidget*>(m_name),
                     static_cast<QWidget*>(m_qth)}) {
    m_order.push_back(w);
  }
  for (size_t i = 1; i < m_order.size(); ++i) setTabOrder(m_order[i - 1], m_order[i]);
  setTabOrder(m_order.back(), finish);

  for (size_t i = 0; i < 3; ++i) {
    m_sent[i]->setEnabled(f.sent_enabled[i]);
    m_recv[i]->setEnabled(f.recv_enabled[i]);
  }
}

void TQsoDetail::ShowModel() {
  m_updating = true;
  const QsoDetailFields& f = m_model.fields();
  m_number->setText(ToQString(f.number_label));
  SetText(m_call, f.call);
  SetText(m_date, f.date);
  SetText(m_time, f.time);
  SetText(m_sent_report, f.sent_report);
  SetText(m_recv_report, f.recv_report);
  for (size_t i = 0; i < 3; ++i) {
    SetText(m_sent[i], f.sent[i]);
    SetText(m_recv[i], f.recv[i]);
  }
  SetText(m_qsl_sent, f.qsl_sent);
  SetText(m_qsl_received, f.qsl_received);
  SetText(m_dxcc, f.dxcc);
  m_band->setCurrentIndex(f.band_index);
  m_mode->setCurrentIndex(f.mode_index);
  SetText(m_frequency, f.frequency);
  SetText(m_name, f.name);
  SetText(m_qth, f.qth);
  m_updating = false;
}

void TQsoDetail::ReadFields() {
  QsoDetailFields& f = m_model.fields();
  f.call = TextOf(m_call);
  f.date = TextOf(m_date);
  f.time = TextOf(m_time);
  f.sent_report = TextOf(m_sent_report);
  f.recv_report = TextOf(m_recv_report);
  for (size_t i = 0; i < 3; ++i) {
    f.sent[i] = TextOf(m_sent[i]);
    f.recv[i] = TextOf(m_recv[i]);
  }
  f.qsl_sent = TextOf(m_qsl_sent);
  f.qsl_received = TextOf(m_qsl_received);
  f.dxcc = TextOf(m_dxcc);
  f.frequency = TextOf(m_frequency);
  f.name = TextOf(m_name);
  f.qth = TextOf(m_qth);
}

void TQsoDetail::FocusNextField(QWidget* from) {
  const auto it = std::find(m_order.begin(), m_order.end(), from);
  if (it == m_order.end()) return;
  size_t i = static_cast<size_t>(it - m_order.begin());
  for (size_t step = 0; step < m_order.size(); ++step) {
    i = (i + 1) % m_order.size();
    QWidget* next = m_order[i];
    if (next->isEnabled() && next->isVisibleTo(this)) {
      next->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

bool TQsoDetail::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget && IsEnter(event)) {
    FocusNextField(widget);
    return true;
  }
  if (watched == m_frequency && event->type() == QEvent::FocusOut && !m_updating) {
    ReadFields();
    m_model.LeaveFrequency();
    ShowModel();
  }
  if ((watched == m_qsl_sent || watched == m_qsl_received) && event->type() == QEvent::MouseButtonRelease) {
    static_cast<QLineEdit*>(watched)->selectAll();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TQsoDetail::FinishAndAccept() {
  if (m_finished) return;
  m_finished = true;
  ReadFields();
  if (focusWidget() == m_frequency) {
    m_model.LeaveFrequency();
    ShowModel();
  }
  accept();
}

// The dialog has no cancel: Esc ends it with OK like every other way out.
void TQsoDetail::reject() { FinishAndAccept(); }

void TQsoDetail::closeEvent(QCloseEvent* event) {
  FinishAndAccept();
  event->accept();
}

void QtQsoDetailRunner::Run(QsoDetailModel& model) {
  TQsoDetail dialog(model, m_parent);
  dialog.exec();
}

}  // namespace kontura
