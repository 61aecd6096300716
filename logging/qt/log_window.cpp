#include "logging/qt/log_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <climits>
#include <ctime>
#include <optional>

#include "contest/qt/contest_note.h"
#include "logging/hamlib_rig.h"
#include "logging/log_access.h"
#include "logging/log_window.h"
#include "logging/mask_widening.h"
#include "logging/qso_keys.h"
#include "logging/qt/log_window_pictures.h"
#include "logging/qt/qso_correction.h"
#include "logging/qt/qso_list_view.h"
#include "logging/qt/rig_settings_dialog.h"
#include "logging/rig_settings.h"
#include "logging/score_totals.h"
#include "platform/platform.h"
#include "platform/program_settings.h"
#include "platform/qt/qt_text.h"
#include "refdata/suite_settings.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"
#include "ui/colour_scheme.h"
#include "ui/qt/fk_brow.h"
#include "ui/qt/fk_edit.h"

namespace kontura {
namespace {


// Where the mask's controls stand in a window 800 pixels wide.
constexpr int kMaskLeft = 170;
constexpr int kPictureColumnWidth = 160;
constexpr int kButtonRowTop = 218;
constexpr int kListTop = 290;
constexpr int kEvaluationWidth = 196;

const QColor kEntryCaption(0, 128, 128);  // teal
const QColor kValueLabel(0, 0, 128);      // navy
const QColor kFocusCaption(Qt::red);
const QColor kBarEntry(0, 0, 139);        // dark blue
const QColor kBarList(200, 0, 0);

struct FieldPlace {
  MaskField field;
  const char* name;     // object name of the edit field
  const char* caption;  // own caption when the mask gives none
  QRect edit;
};

// The mask as laid out for 800 pixels; captions stand right above their field.
const FieldPlace kFieldPlaces[] = {
    {MaskField::kCall, "Call", "", {kMaskLeft, 62, 170, 30}},
    {MaskField::kSentReport, "RSTs", "RSTs", {360, 64, 44, 26}},
    {MaskField::kSent2, "Sent2", "Nr. s", {410, 64, 80, 26}},
    {MaskField::kSent3, "Sent3", "LOC s", {496, 64, 90, 26}},
    {MaskField::kSent4, "Sent4", "", {592, 64, 90, 26}},
    {MaskField::kRecvReport, "RSTr", "RSTr", {kMaskLeft, 116, 44, 26}},
    {MaskField::kRecv2, "Recv2", "", {220, 116, 120, 26}},
    {MaskField::kRecv3, "Recv3", "", {346, 116, 120, 26}},
    {MaskField::kRecv4, "Recv4", "", {472, 116, 110, 26}},
    {MaskField::kFrequency, "Freq", "Freq", {520, 168, 80, 24}},
    {MaskField::kName, "Name", "Name", {606, 168, 90, 24}},
    {MaskField::kQth, "Qth", "QTH", {702, 168, 90, 24}},
    {MaskField::kTime, "UTC", "UTC", {kMaskLeft + 34, 168, 86, 24}},
    {MaskField::kDate, "Datum", "Datum", {410, 168, 96, 24}},
};

const FieldPlace& PlaceOf(MaskField f) {
  for (const FieldPlace& p : kFieldPlaces) {
    if (p.field == f) return p;
  }
  return kFieldPlaces[0];
}

struct PictureButton {
  LogButton button;
  ButtonPicture picture;
  const char* name;
  const char* text;
  const char* hint;
};

const PictureButton kPictureButtons[] = {
    {LogButton::kClear, ButtonPicture::kClear, "btnClear", "Clear\nEsc", "Eingabe l\xC3\xB6schen (ESC)"},
    {LogButton::kMode, ButtonPicture::kMode, "btnMode", "Mode\nF7", "Betriebsart w\xC3\xA4hlen (F7)"},
    {LogButton::kBand, ButtonPicture::kBand, "btnBand", "Band\nF8", "Band w\xC3\xA4hlen (F8)"},
    {LogButton::kList, ButtonPicture::kList, "btnListe", "Liste\nF5", "Zur QSO-Liste (F5)"},
    {LogButton::kCorrection, ButtonPicture::kCorrection, "btnKorrektur", "Korrektur\nF12",
     "QSO-Liste zum \xC3\x84ndern (F12, Alt+W)"},
    {LogButton::kCallSearch, ButtonPicture::kCallSearch, "btnCallsuche", "Callsuche\nF4", "Call suchen (F4)"},
    {LogButton::kHelp, ButtonPicture::kHelp, "btnHilfe", "Hilfe\n", "Hilfe"},
    {LogButton::kNote, ButtonPicture::kNote, "btnNotiz", "Notiz\nF6", "Contest-Notiz (F6)"},
    {LogButton::kNameQth, ButtonPicture::kNameQth, "btnNameQth", "Name/QTH\nF9",
     "Frequenz, Name und QTH ein/aus (F9)"},
};

// A caption with "&x" shows x underlined, as a menu would; the window
// handles the keys itself, so no mnemonic is registered.
QString CaptionText(const std::string& caption) {
  QString text = ToQString(caption).toHtmlEscaped();
  const int amp = text.indexOf(QLatin1String("&amp;"));
  if (amp >= 0 && amp + 5 < text.size()) {
    text = text.left(amp) + QStringLiteral("<u>") + text.mid(amp + 5, 1) + QStringLiteral("</u>") +
           text.mid(amp + 6);
  }
  return text;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text = {}) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QString::fromLatin1(name));
  return l;
}

void SetTextColour(QWidget* w, const QColor& c) {
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, c);
  w->setPalette(p);
}

void SetFill(QWidget* w, const QColor& c) {
  QPalette p = w->palette();
  p.setColor(QPalette::Window, c);
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

QColor ColourOf(uint32_t colorref) {
  const Rgb c = RgbOfColorRef(colorref);
  return QColor(c.r, c.g, c.b);
}

class ClickLabel : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> onClick;

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override {
    QLabel::mouseReleaseEvent(e);
    if (onClick) onClick();
  }
};

}  // namespace

TContestLogStd::TContestLogStd(int32_t contest_number, TContestDefinition definition, EntityLookup& lookup,
                               ImportAction import, QWidget* parent)
    : QDialog(parent),
      m_model(std::make_unique<LogWindow>(contest_number, std::move(definition), lookup)),
      m_import(std::move(import)) {
  setObjectName(QStringLiteral("ContestLogStd"));
  setMinimumSize(800, 560);
  resize(800, 600);
  BuildControls();
  qApp->installEventFilter(this);
  m_focus_watch =
      connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusEntered(now); });
}

TContestLogStd::~TContestLogStd() {
  // The focus moves while the widgets go; this window no longer follows it.
  disconnect(m_focus_watch);
  qApp->removeEventFilter(this);
  if (!m_closed && m_model->IsOpen()) m_model->Close(QsoListColumnWidths(*m_list));
}

void TContestLogStd::TakePlacement(bool maximised, const QRect& bounds) {
  m_placed_maximised = maximised;
  m_placed_bounds = bounds;
  if (!maximised && bounds.isValid()) setGeometry(bounds);
}

// ---------------------------------------------------------------- building

void TContestLogStd::BuildControls() {
  const SuiteSettings& s = TheSuiteSettings();
  SetFill(this, ColourOf(s.BackgroundColour));

  m_picture_column = new QFrame(this);
  m_picture_column->setObjectName(QStringLiteral("pnlBild"));
  SetFill(m_picture_column, ColourOf(s.BarColour));
  auto* end = new ClickLabel(QString::fromLatin1(kEndContestLabel), m_picture_column);
  end->setObjectName(QStringLiteral("lContestBeenden"));
  end->setCursor(Qt::PointingHandCursor);
  QFont bold = end->font();
  bold.setBold(true);
  end->setFont(bold);
  SetTextColour(end, Qt::red);
  end->onClick = [this] { Run(LogCommand::kEndContest); };
  m_l_end = end;
  m_btn_import = new QPushButton(QString::fromLatin1(kImportButton), m_picture_column);
  m_btn_import->setObjectName(QStringLiteral("btnImport"));
  QFont small = m_btn_import->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  m_btn_import->setFont(small);
  m_btn_import->setFocusPolicy(Qt::NoFocus);
  m_btn_import->setAutoDefault(false);
  connect(m_btn_import, &QPushButton::clicked, this, [this] { Run(m_model->CommandOfButton(LogButton::kImport)); });

  m_own_call = new CallLettering(this);
  m_own_call->setObjectName(QStringLiteral("lOwnCall"));

  BuildMask();
  BuildButtons();
  BuildList();
  BuildEvaluation();

  m_l_backup = MakeLabel(this, "lBackup");
  m_l_backup->setWordWrap(true);
  m_l_backup->setAlignment(Qt::AlignRight | Qt::AlignTop);
  m_l_backup->setFont(small);
  // Ctrl+S: a backup now, beside the automatic ones.
  auto* backup_key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
  connect(backup_key, &QShortcut::activated, this, [this] {
    if (!m_backup) return;
    m_backup->BackupNow();
    ShowBackupStatus();
  });

  m_l_rig = MakeLabel(this, "lRig");
  m_l_rig->setWordWrap(true);
  m_l_rig->setAlignment(Qt::AlignRight | Qt::AlignTop);
  m_l_rig->setFont(small);
  m_l_rig->hide();
  m_rig_timer = new QTimer(this);
  connect(m_rig_timer, &QTimer::timeout, this, [this] { ApplyRig(); });
  // F11: the transceiver's settings; the rig is read again as they say.
  auto* rig_key = new QShortcut(QKeySequence(Qt::Key_F11), this);
  connect(rig_key, &QShortcut::activated, this, [this] {
    if (!m_model->IsOpen()) return;
    StopRig();
    EditRigSettings(this);
    StartRig();
    activateWindow();
    if (m_model->area() == LogArea::kEntry) {
      FocusMask();
    } else {
      FocusList();
    }
  });

  m_clock = new QTimer(this);
  m_clock->setInterval(1000);
  connect(m_clock, &QTimer::timeout, this, [this] {
    if (!m_model->IsOpen()) return;
    m_model->entry().Tick();
    ShowMask();
    if (m_backup) {
      m_backup->Poll();
      ShowBackupStatus();
    }
  });
}

void TContestLogStd::StartBackup() {
  const ProgramSettings settings = LoadProgramSettings(ProgramSettingsPath());
  std::string dir = settings.backup_dir;
  if (dir.empty() || dir[0] != '/') dir = StartDir() + dir;
  m_backup = std::make_unique<LogBackup>(m_model->contest_number(),
                                         BackupPolicy{dir, settings.backup_every, settings.backup_keep},
                                         m_backup_worker, [] { return static_cast<int64_t>(std::time(nullptr)); });
  ShowBackupStatus();
}

void TContestLogStd::StartRig() {
  const RigSettings rig = RigSettingsOf(LoadProgramSettings(ProgramSettingsPath()));
  if (rig.kind == RigSettings::Kind::kNone) {
    m_l_rig->hide();
    return;
  }
  m_rig_follower = std::make_unique<RigFollower>(m_model->entry());
  m_rig_poller = std::make_unique<RigPoller>(std::make_unique<HamlibRig>(rig), rig.poll_ms);
  m_l_rig->setText(ToQString(m_rig_follower->Status()));
  m_l_rig->show();
  m_rig_timer->start(rig.poll_ms);
}

void TContestLogStd::StopRig() {
  m_rig_timer->stop();
  m_rig_poller.reset();
  m_rig_follower.reset();
}

void TContestLogStd::ApplyRig() {
  // Elsewhere the readings wait; newer ones replace older ones meanwhile.
  if (!m_model->FollowsRig()) return;
  RigReading reading;
  if (!m_rig_poller || !m_rig_poller->Take(&reading)) return;
  const char band = m_model->session().CurrentBand;
  const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  if (m_rig_follower->Apply(reading, now.count())) {
    ShowMask();
    if (m_model->session().CurrentBand != band) {
      ShowScore();
      PositionListOnCurrentBand();
    }
  }
  const QString status = ToQString(m_rig_follower->Status());
  if (m_l_rig->text() != status) m_l_rig->setText(status);
}

void TContestLogStd::ShowBackupStatus() {
  const QString text = ToQString(m_backup->Status());
  if (m_l_backup->text() != text) m_l_backup->setText(text);
}

void TContestLogStd::BuildMask() {
  auto place = [this](QWidget* w, const QRect& r) {
    w->setGeometry(r);
    m_mask_places.emplace_back(w, r);
  };
  m_l_qso = MakeLabel(this, "lQso", QStringLiteral("QSO"));
  QFont f = m_l_qso->font();
  f.setBold(true);
  f.setPixelSize(20);
  m_l_qso->setFont(f);
  SetTextColour(m_l_qso, kValueLabel);
  place(m_l_qso, {kMaskLeft, 8, 50, 30});
  m_l_next_number = MakeLabel(this, "lNextNumber");
  f.setPixelSize(30);
  m_l_next_number->setFont(f);
  SetTextColour(m_l_next_number, Qt::red);
  m_l_next_number->setGeometry(kMaskLeft + 52, 2, 110, 38);
  m_l_hint = MakeLabel(this, "lHinweis", QString::fromLatin1(kSaveHint));
  SetTextColour(m_l_hint, kValueLabel);
  m_l_hint->setGeometry(kMaskLeft + 170, 16, 130, 20);
  m_own_call->setGeometry(520, 4, 270, 38);

  for (const FieldPlace& p : kFieldPlaces) {
    auto* e = new TfkEdit(this);
    e->setObjectName(QStringLiteral("e") + QString::fromLatin1(p.name));
    QFont ef = e->font();
    ef.setBold(true);
    if (p.field == MaskField::kCall) ef.setPixelSize(20);
    e->setFont(ef);
    place(e, p.edit);
    connect(e, &QLineEdit::textEdited, this, [this, field = p.field] { FieldTextEdited(field); });
    m_fields[static_cast<size_t>(p.field)] = e;
    auto* c = MakeLabel(this, (std::string("l") + p.name).c_str());
    c->setTextFormat(Qt::RichText);
    place(c, QRect(p.edit.left(), p.edit.top() - 18, std::max(p.edit.width(), 120), 18));
    m_captions[static_cast<size_t>(p.field)] = c;
  }
  // Fixed fields are labels in the place of their fields.
  auto value_label = [&](const char* name, MaskField over, int width) {
    QLabel* l = MakeLabel(this, name);
    QFont lf = l->font();
    lf.setBold(true);
    l->setFont(lf);
    SetTextColour(l, kValueLabel);
    const QRect r = PlaceOf(over).edit;
    place(l, QRect(r.left(), r.top(), width, r.height()));
    return l;
  };
  m_l_sent_report = value_label("lRSTsWert", MaskField::kSentReport, 44);
  m_l_sent_exchange = value_label("lSentWert", MaskField::kSent2, 180);
  m_l_recv_report = value_label("lRSTrWert", MaskField::kRecvReport, 44);
  m_l_time_value = value_label("lUTCWert", MaskField::kTime, 86);
  m_l_date_value = value_label("lDatumWert", MaskField::kDate, 96);

  m_l_mode = value_label("lMode", MaskField::kTime, 60);
  place(m_l_mode, {300, 168, 50, 24});
  m_l_band = value_label("lBand", MaskField::kTime, 60);
  place(m_l_band, {352, 168, 54, 24});
  auto* qsl = new ClickLabel(this);
  qsl->setObjectName(QStringLiteral("lQsl"));
  qsl->setTextFormat(Qt::RichText);
  qsl->setCursor(Qt::PointingHandCursor);
  qsl->onClick = [this] {
    if (!m_model->IsOpen()) return;
    m_model->entry().ToggleQsl();
    ShowMask();
  };
  SetTextColour(qsl, kValueLabel);
  m_l_qsl = qsl;
  place(m_l_qsl, {kMaskLeft, 194, 160, 18});
  // The time field's caption stands left of it, as the row reads "UTC 12:34".
  m_captions[static_cast<size_t>(MaskField::kTime)]->setGeometry(kMaskLeft, 172, 34, 18);
  m_mask_places.emplace_back(m_captions[static_cast<size_t>(MaskField::kTime)], QRect(kMaskLeft, 172, 34, 18));

  auto make_list = [this](const char* name) {
    auto* l = new QListWidget(this);
    l->setObjectName(QString::fromLatin1(name));
    l->hide();
    l->installEventFilter(this);
    connect(l, &QListWidget::itemDoubleClicked, this, [this, l] { ChooseInList(l); });
    return l;
  };
  m_lb_band = make_list("lbBand");
  m_lb_mode = make_list("lbMode");
}

void TContestLogStd::BuildButtons() {
  int x = kMaskLeft;
  for (size_t i = 0; i < std::size(kPictureButtons); ++i) {
    const PictureButton& pb = kPictureButtons[i];
    auto* b = new QToolButton(this);
    b->setObjectName(QString::fromLatin1(pb.name));
    b->setIcon(DrawnIcon(pb.picture));
    b->setIconSize(QSize(28, 28));
    b->setText(QString::fromLatin1(pb.text));
    b->setToolTip(QString::fromUtf8(pb.hint));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QFont bf = b->font();
    bf.setPointSizeF(bf.pointSizeF() * 0.9);  // "Name/QTH" fits the button
    b->setFont(bf);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRaise(false);
    b->setGeometry(x, kButtonRowTop, 66, 64);
    m_mask_places.emplace_back(b, b->geometry());
    x += 69;
    connect(b, &QToolButton::clicked, this, [this, button = pb.button] { Run(m_model->CommandOfButton(button)); });
    m_picture_buttons[i] = b;
  }
}

void TContestLogStd::BuildList() {
  m_list_caption = MakeLabel(this, "lListCaption");
  QFont f = m_list_caption->font();
  f.setBold(true);
  m_list_caption->setFont(f);
  SetTextColour(m_list_caption, Qt::white);
  m_list_caption->setIndent(6);

  m_list = new TfkBrow(this);
  m_list->setObjectName(QStringLiteral("brow"));
  m_list->SetSortlistVisible(false);
  // The list has one order; the quick search has nothing to search in it.
  for (const char* name : {"eSuch", "lSuchBild"}) {
    if (auto* w = m_list->findChild<QWidget*>(QString::fromLatin1(name))) w->hide();
  }
  auto button = [this](const char* name, const char* text, LogButton b) {
    auto* btn = new QPushButton(QString::fromUtf8(text), this);
    btn->setObjectName(QString::fromLatin1(name));
    btn->setFocusPolicy(Qt::NoFocus);
    btn->setAutoDefault(false);
    connect(btn, &QPushButton::clicked, this, [this, b] { Run(m_model->CommandOfButton(b)); });
    return btn;
  };
  m_btn_change = button("btnAendern", "\xC3\x84ndern [ET]", LogButton::kChange);
  m_btn_delete = button("btnLoeschen", "L\xC3\xB6schen [Entf]", LogButton::kDelete);
  m_btn_band_log = button("btnBandlog", "Bandlog [F3]", LogButton::kBandLog);
  m_btn_end = button("btnBeenden", "Contest beenden", LogButton::kEnd);
}

void TContestLogStd::BuildEvaluation() {
  m_evaluation = new QFrame(this);
  m_evaluation->setObjectName(QStringLiteral("pnlAuswertung"));
  m_evaluation->setFrameShape(QFrame::Panel);
  m_evaluation->setFrameShadow(QFrame::Sunken);
  SetFill(m_evaluation, ColourOf(TheSuiteSettings().PanelColour));
  auto* title = MakeLabel(m_evaluation, "lAuswertung", QStringLiteral("Auswertung"));
  QFont f = title->font();
  f.setBold(true);
  title->setFont(f);
  title->setGeometry(8, 4, 160, 20);
  int y = 26;
  const char* heads[] = {"Band", "QSO", "Punkte"};
  const int xs[] = {8, 66, 122};
  const int ws[] = {56, 50, 62};
  for (int c = 0; c < 3; ++c) {
    QLabel* h = MakeLabel(m_evaluation, (std::string("lKopf") + std::to_string(c + 1)).c_str(), heads[c]);
    h->setGeometry(xs[c], y, ws[c], 18);
    if (c > 0) h->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  y += 20;
  for (int i = 1; i <= 7; ++i) {
    std::array<QLabel*, 3> row{};
    const std::string n = std::to_string(i);
    row[0] = MakeLabel(m_evaluation, ("lBandName" + n).c_str());
    row[1] = MakeLabel(m_evaluation, ("lBandQsos" + n).c_str());
    row[2] = MakeLabel(m_evaluation, ("lBandPoints" + n).c_str());
    for (int c = 0; c < 3; ++c) {
      row[static_cast<size_t>(c)]->setGeometry(xs[c], y, ws[c], 20);
      row[static_cast<size_t>(c)]->setAutoFillBackground(true);
      row[static_cast<size_t>(c)]->setFont(f);
      if (c > 0) row[static_cast<size_t>(c)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      row[static_cast<size_t>(c)]->hide();
    }
    m_score_rows.push_back(row);
    y += 22;
  }
  m_l_total_qsos = MakeLabel(m_evaluation, "lTotalQsos");
  m_l_score = MakeLabel(m_evaluation, "lScore");
  for (QLabel* l : {m_l_total_qsos, m_l_score}) {
    l->setFont(f);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
}

// ---------------------------------------------------------------- opening

bool TContestLogStd::FormCreate() {
  if (!m_model->Open()) return false;
  QsoEntry& entry = m_model->entry();
  entry.LayOut();
  entry.FillMask();
  setWindowTitle(ToQString(m_model->Caption()));
  m_own_call->SetCall(ToQString(TheSuiteSettings().OwnCall));

  for (const std::string& b : m_model->BandNames()) m_lb_band->addItem(ToQString(b));
  for (const std::string& m : m_model->ModeNames()) m_lb_mode->addItem(ToQString(m));
  for (size_t i = 0; i < std::size(kPictureButtons); ++i) {
    m_picture_buttons[i]->setVisible(m_model->ButtonVisible(kPictureButtons[i].button));
  }
  for (const FieldPlace& p : kFieldPlaces) {
    Field(p.field)->SetTextLimit(static_cast<int>(entry.mask()[p.field].max_length));
    Field(p.field)->SetUpperCase(p.field != MaskField::kName && p.field != MaskField::kQth);
  }

  InstallQsoListRows(*m_list, m_model->contest_number());
  // Enter, a double click and Del change and delete as the correction list
  // does; afterwards the status is redrawn, and after a deletion, which
  // renumbered the log, the mask gets a new QSO with the new numbers.
  InstallQsoListCorrection(*m_list, m_model->log(), this, [this] {
    LogSession& s = m_model->session();
    if (s.NextQsoNo != s.Totals.NextNumber) {
      m_model->entry().NewQso();
      m_shown_next_qso = s.NextQsoNo;
    }
    ShowMask();
    ShowScore();
  });
  m_list->BindFileblock(TheLog(), qso::kKeyRecordNo, NumberToKey(1), NumberToKey(qso::kHighestNumber));
  PositionListOnCurrentBand();
  m_shown_next_qso = m_model->session().NextQsoNo;
  ShowMask();
  ShowScore();
  ShowArea();
  m_clock->start();
  StartBackup();
  StartRig();
  return true;
}

void TContestLogStd::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_placed_maximised) setWindowState(windowState() | Qt::WindowMaximized);
  LayoutControls();
  FocusMask();
}

void TContestLogStd::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  LayoutControls();
}

void TContestLogStd::LayoutControls() {
  const int w = width();
  const int h = height();
  m_picture_column->setGeometry(0, 0, kPictureColumnWidth, h);
  m_l_end->setGeometry(0, 12, kPictureColumnWidth, 22);
  m_btn_import->setGeometry(6, 44, kPictureColumnWidth - 12, 30);
  for (const auto& [widget, designed] : m_mask_places) {
    widget->move(WidenedLeft(designed.left(), w), designed.top());
  }
  // The number and the hint read with "QSO" as one caption: they move with it.
  m_l_next_number->move(m_l_qso->x() + 52, 2);
  m_l_hint->move(m_l_qso->x() + 170, 16);
  m_own_call->setGeometry(w - 280, 4, 270, 38);
  // The backup's status line under the own call, where the mask leaves room.
  m_l_backup->setGeometry(w - 280, 46, 270, 54);
  m_l_rig->setGeometry(w - 280, 102, 270, 34);
  // The choice lists open at their labels.
  const QRect band = m_l_band->geometry();
  auto fit = [](QListWidget* l) { return l->sizeHintForRow(0) * std::max(1, l->count()) + 2 * l->frameWidth(); };
  m_lb_band->setGeometry(band.left(), band.bottom() + 2, 90, fit(m_lb_band));
  const QRect mode = m_l_mode->geometry();
  m_lb_mode->setGeometry(mode.left(), mode.bottom() + 2, 70, fit(m_lb_mode));

  const int list_width = w - kMaskLeft - kEvaluationWidth - 20;
  m_list_caption->setGeometry(kMaskLeft, kListTop, list_width, 22);
  m_list->setGeometry(kMaskLeft, kListTop + 22, list_width, h - kListTop - 22 - 44);
  int x = kMaskLeft;
  for (QPushButton* b : {m_btn_change, m_btn_delete, m_btn_band_log, m_btn_end}) {
    b->setGeometry(x, h - 38, 120, 30);
    x += 126;
  }
  m_evaluation->setGeometry(w - kEvaluationWidth - 10, kListTop, kEvaluationWidth, 260);
  m_l_total_qsos->setGeometry(8, 206, kEvaluationWidth - 24, 20);
  m_l_score->setGeometry(8, 228, kEvaluationWidth - 24, 24);
}

// ---------------------------------------------------------------- drawing

void TContestLogStd::ShowMask() {
  if (!m_model->IsOpen()) return;
  const EntryMask& mask = m_model->entry().mask();
  for (const FieldPlace& p : kFieldPlaces) {
    const MaskFieldState& s = mask[p.field];
    TfkEdit* e = Field(p.field);
    const QString text = ToQString(s.text);
    if (e->text() != text) {
      const int cursor = e->cursorPosition();
      e->setText(text);
      e->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
    }
    e->setVisible(s.visible);
    e->setEnabled(s.enabled);
    QLabel* c = m_captions[static_cast<size_t>(p.field)];
    const std::string caption = p.field == MaskField::kCall ? mask.partner_caption
                                : s.caption.empty()         ? std::string(p.caption)
                                                            : s.caption;
    c->setText(CaptionText(caption));
    SetTextColour(c, mask.focus == p.field && m_model->area() == LogArea::kEntry ? kFocusCaption : kEntryCaption);
  }
  // A fixed field shows its value as a label; its caption stays.
  auto fixed = [&](MaskField f, QLabel* value, const std::string& text) {
    value->setVisible(!mask.Shown(f));
    value->setText(ToQString(text));
    m_captions[static_cast<size_t>(f)]->setVisible(true);
  };
  fixed(MaskField::kSentReport, m_l_sent_report, mask.sent_report_label);
  fixed(MaskField::kRecvReport, m_l_recv_report, mask.recv_report_label);
  fixed(MaskField::kTime, m_l_time_value, mask.time_label);
  fixed(MaskField::kDate, m_l_date_value, mask.date_label);
  const bool sent_fixed = !mask.Shown(MaskField::kSent2) && !mask.Shown(MaskField::kSent3);
  m_l_sent_exchange->setVisible(sent_fixed);
  m_l_sent_exchange->setText(ToQString(mask.sent_exchange_label));
  m_captions[static_cast<size_t>(MaskField::kSent2)]->setVisible(true);
  if (sent_fixed) m_captions[static_cast<size_t>(MaskField::kSent2)]->setText(QStringLiteral("Nr./LOC s"));
  for (MaskField f : {MaskField::kSent3, MaskField::kSent4, MaskField::kRecv4, MaskField::kFrequency,
                      MaskField::kName, MaskField::kQth}) {
    m_captions[static_cast<size_t>(f)]->setVisible(mask.Shown(f));
  }
  if (sent_fixed) m_captions[static_cast<size_t>(MaskField::kSent3)]->setVisible(false);
  for (MaskField f : {MaskField::kRecv2, MaskField::kRecv3}) m_captions[static_cast<size_t>(f)]->setVisible(mask.Shown(f));

  m_l_mode->setText(ToQString(mask.mode_label));
  m_l_band->setText(ToQString(mask.band_label));
  m_l_qsl->setText(CaptionText(mask.qsl_label));

  if (m_model->area() == LogArea::kEntry && m_model->open_choice() == LogChoice::kNone && isVisible()) {
    TfkEdit* focus = Field(mask.focus);
    if (focus && focus->isVisible() && !focus->hasFocus()) focus->setFocus();
  }
}

void TContestLogStd::ShowScore() {
  if (!m_model->IsOpen()) return;
  const LogSession& s = m_model->session();
  const ScoreDisplay d = BuildScoreDisplay(s.Totals, m_model->definition(), s.CurrentBand);
  for (size_t i = 0; i < m_score_rows.size(); ++i) {
    const bool shown = i < d.rows.size();
    for (QLabel* l : m_score_rows[i]) l->setVisible(shown);
    if (!shown) continue;
    const ScoreRow& r = d.rows[i];
    m_score_rows[i][0]->setText(ToQString(r.name));
    m_score_rows[i][1]->setText(ToQString(r.qsos));
    m_score_rows[i][2]->setText(ToQString(r.points));
    for (QLabel* l : m_score_rows[i]) {
      QPalette p = l->palette();
      p.setColor(QPalette::Window, r.current ? QColor(Qt::yellow) : QColor(192, 192, 192));
      p.setColor(QPalette::WindowText, Qt::black);
      l->setPalette(p);
    }
  }
  m_l_total_qsos->setText(ToQString(d.total_qsos));
  m_l_score->setText(ToQString(d.score));
  m_l_next_number->setText(ToQString(d.next_number).trimmed());
}

void TContestLogStd::ShowArea() {
  const LogWindow& m = *m_model;
  m_list_caption->setText(ToQString(m.ListBarText()));
  SetFill(m_list_caption, m.ListBarColourNow() == ListBarColour::kDarkBlue ? kBarEntry : kBarList);
  for (size_t i = 0; i < std::size(kPictureButtons); ++i) {
    m_picture_buttons[i]->setEnabled(m.ButtonEnabled(kPictureButtons[i].button));
  }
  m_btn_change->setEnabled(m.ButtonEnabled(LogButton::kChange));
  m_btn_delete->setEnabled(m.ButtonEnabled(LogButton::kDelete));
  m_btn_band_log->setEnabled(m.ButtonEnabled(LogButton::kBandLog));
}

void TContestLogStd::AfterEntry() {
  ShowMask();
  ShowScore();
  const int32_t next = m_model->session().NextQsoNo;
  if (next != m_shown_next_qso) {
    // A QSO was stored (or the log renumbered): the list shows its last
    // page; only that page is read, never the whole log.
    if (next > m_shown_next_qso && m_backup) m_backup->QsoSaved();
    m_shown_next_qso = next;
    PositionListOnLastEntry();
  }
}

void TContestLogStd::PositionListOnLastEntry() {
  m_list->GotoKey(NumberToKey(qso::kHighestNumber), INT32_MAX);
}

void TContestLogStd::PositionListOnCurrentBand() {
  const int32_t rec = m_model->LastRecordOfCurrentBand();
  if (rec > 0) {
    m_list->GotoKey(NumberToKey(rec), rec);
  } else {
    PositionListOnLastEntry();
  }
}

// ---------------------------------------------------------------- keys

bool TContestLogStd::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || m_closed) return QDialog::eventFilter(watched, event);
  auto* w = qobject_cast<QWidget*>(watched);
  // Only keys meant for this window itself: not for a dialog it opened
  // (which is a window of its own), nor while another modal one is on top.
  QWidget* modal = QApplication::activeModalWidget();
  if (!w || w->window() != this || (modal && modal != this)) {
    return QDialog::eventFilter(watched, event);
  }
  return HandleKey(watched, static_cast<QKeyEvent*>(event)) || QDialog::eventFilter(watched, event);
}

bool TContestLogStd::HandleKey(QObject* watched, QKeyEvent* key) {
  const int k = key->key();
  const bool alt = key->modifiers() & Qt::AltModifier;
  const bool enter = k == Qt::Key_Return || k == Qt::Key_Enter;
  if (enter && (watched == m_lb_band || watched == m_lb_mode)) {
    ChooseInList(static_cast<QListWidget*>(watched));
    return true;
  }
  for (const FieldPlace& p : kFieldPlaces) {
    if (watched == Field(p.field) && HandleFieldKey(p.field, key)) return true;
  }
  std::optional<LogKey> lk;
  switch (k) {
    case Qt::Key_Escape: lk = LogKey::kEsc; break;
    case Qt::Key_F3: lk = LogKey::kF3; break;
    case Qt::Key_F4: lk = LogKey::kF4; break;
    case Qt::Key_F5: lk = LogKey::kF5; break;
    case Qt::Key_F6: lk = LogKey::kF6; break;
    case Qt::Key_F7: lk = LogKey::kF7; break;
    case Qt::Key_F8: lk = LogKey::kF8; break;
    case Qt::Key_F9: lk = LogKey::kF9; break;
    case Qt::Key_F12: lk = LogKey::kF12; break;
    case Qt::Key_W: if (alt) lk = LogKey::kAltW; break;
    case Qt::Key_Q: if (alt) lk = LogKey::kAltQ; break;
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3:
    case Qt::Key_End:       // numpad 1, 2, 3 without Num Lock
    case Qt::Key_Down:
    case Qt::Key_PageDown:
      if (alt && (key->modifiers() & Qt::KeypadModifier)) {
        const int n = k == Qt::Key_1 || k == Qt::Key_End ? 1 : k == Qt::Key_2 || k == Qt::Key_Down ? 2 : 3;
        lk = n == 1 ? LogKey::kAltNum1 : n == 2 ? LogKey::kAltNum2 : LogKey::kAltNum3;
      }
      break;
    default: break;
  }
  if (!lk) return false;
  // A key whose button is not enabled does nothing, and goes nowhere else
  // either (Esc never closes the window).
  Run(m_model->CommandOfKey(*lk));
  return true;
}

bool TContestLogStd::HandleFieldKey(MaskField f, QKeyEvent* key) {
  if (!m_model->IsOpen()) return false;
  QsoEntry& entry = m_model->entry();
  const int k = key->key();
  if (k == Qt::Key_Return || k == Qt::Key_Enter) {
    entry.mask().focus = f;
    entry.PressEnter();
    AfterEntry();
    return true;
  }
  if (f == MaskField::kCall && key->text() == QStringLiteral("#")) {
    entry.mask().focus = f;
    entry.PressHash();
    AfterEntry();
    return true;
  }
  return false;
}

void TContestLogStd::FieldTextEdited(MaskField f) {
  if (!m_model->IsOpen()) return;
  if (f == MaskField::kFrequency && m_rig_follower) m_rig_follower->OperatorTyped();
  m_model->entry().Type(f, FromQString(Field(f)->text()));
  ShowMask();
}

void TContestLogStd::FocusEntered(QWidget* now) {
  if (!now || m_closed || !m_model->IsOpen() || (now != this && !isAncestorOf(now))) return;
  if (m_list->isAncestorOf(now)) {
    if (m_model->area() != LogArea::kList) {
      m_model->EnterArea(LogArea::kList);
      ShowArea();
      ShowMask();
    }
    return;
  }
  for (const FieldPlace& p : kFieldPlaces) {
    if (now != Field(p.field)) continue;
    const bool area_changed = m_model->area() != LogArea::kEntry;
    m_model->EnterArea(LogArea::kEntry);
    if (area_changed) ShowArea();
    if (m_model->entry().mask().focus != p.field) {
      // Tab or a click: the field left is read and checked.
      m_model->entry().MoveFocus(p.field);
      AfterEntry();
    } else {
      ShowMask();
    }
    return;
  }
}

// ---------------------------------------------------------------- commands

void TContestLogStd::Run(LogCommand command) {
  if (!m_model->IsOpen()) return;
  QsoEntry& entry = m_model->entry();
  switch (command) {
    case LogCommand::kNone: return;
    case LogCommand::kCloseChoice: CloseChoiceList(); return;
    case LogCommand::kBackToEntry: FocusMask(); return;
    case LogCommand::kClearMask:
      entry.Clear();
      AfterEntry();
      FocusMask();
      return;
    case LogCommand::kFocusList: FocusList(); return;
    case LogCommand::kBandChoice: OpenChoice(m_model->PressBand()); return;
    case LogCommand::kModeChoice: OpenChoice(m_model->PressMode()); return;
    case LogCommand::kToggleNameQth:
      entry.mask().ToggleNameQth();
      ShowMask();
      return;
    case LogCommand::kToggleQsl:
      entry.ToggleQsl();
      ShowMask();
      return;
    case LogCommand::kFocusReceived2:
    case LogCommand::kFocusReceived3:
    case LogCommand::kFocusReceived4:
      entry.FocusReceived(command == LogCommand::kFocusReceived2   ? 1
                          : command == LogCommand::kFocusReceived3 ? 2
                                                                   : 3);
      AfterEntry();
      return;
    case LogCommand::kChange:
      if (m_list->ReadCurrent() && m_list->OnBrowEnter) m_list->OnBrowEnter();
      return;
    case LogCommand::kDelete: m_list->DeleteCurrent(); return;
    case LogCommand::kBandLog: RunCorrection(CorrectionMode::kBandLog); return;
    case LogCommand::kCallSearch: RunCorrection(CorrectionMode::kCallSearch); return;
    case LogCommand::kCorrection: RunCorrection(CorrectionMode::kCorrection); return;
    case LogCommand::kNote: OpenNote(); return;
    case LogCommand::kHelp: ShowHelp(); return;
    case LogCommand::kImport: RunImport(); return;
    case LogCommand::kEndContest: close(); return;
  }
}

void TContestLogStd::OpenChoice(LogChoice choice) {
  m_lb_band->hide();
  m_lb_mode->hide();
  if (choice == LogChoice::kNone) {
    // Two bands: the band changed at once.
    PositionListOnCurrentBand();
    AfterEntry();
    ShowMask();
    return;
  }
  QListWidget* list = choice == LogChoice::kBand ? m_lb_band : m_lb_mode;
  const LogSession& s = m_model->session();
  const int row = choice == LogChoice::kBand ? m_model->BandRow(s.CurrentBand) : m_model->ModeRow(s.CurrentMode);
  // A band outside the list shows no selection.
  list->setCurrentRow(row);
  if (row < 0) list->clearSelection();
  list->show();
  list->raise();
  list->setFocus();
}

void TContestLogStd::ChooseInList(QListWidget* list) {
  const char band_before = m_model->session().CurrentBand;
  m_model->ChooseRow(list->currentRow());
  list->hide();
  if (m_model->session().CurrentBand != band_before) PositionListOnCurrentBand();
  AfterEntry();
  FocusMask();
}

void TContestLogStd::CloseChoiceList() {
  m_model->CloseChoice();
  m_lb_band->hide();
  m_lb_mode->hide();
  FocusMask();
}

void TContestLogStd::FocusMask() {
  if (!m_model->IsOpen()) return;
  m_model->EnterArea(LogArea::kEntry);
  ShowArea();
  ShowMask();
  // After a dialog of its own the window takes the keyboard back.
  if (isVisible() && !isActiveWindow()) activateWindow();
  if (TfkEdit* e = Field(m_model->entry().mask().focus); e && e->isVisible()) e->setFocus();
}

void TContestLogStd::FocusList() {
  m_model->EnterArea(LogArea::kList);
  ShowArea();
  ShowMask();
  m_list->setFocus();
}

void TContestLogStd::RunCorrection(CorrectionMode mode) {
  const int32_t stored_before = m_model->session().Totals.NextNumber;
  m_clock->stop();
  RunQsoCorrection(this, m_model->log(), mode, m_list_geometry);
  m_clock->start();
  // The call search leaves the QSO in the mask as it was typed, unless a
  // deletion there changed the numbers it is to receive; the correction
  // list and the band log start a new QSO.
  if (mode != CorrectionMode::kCallSearch || m_model->session().Totals.NextNumber != stored_before) {
    m_model->entry().NewQso();
  }
  m_shown_next_qso = m_model->session().NextQsoNo;
  PositionListOnCurrentBand();
  ShowScore();
  FocusMask();
}

void TContestLogStd::OpenNote() {
  QsoEntry& entry = m_model->entry();
  const std::string call = entry.record().Call();
  m_clock->stop();
  OpenContestNote(this, m_model->contest_number(), call);
  m_clock->start();
  if (entry.mask()[MaskField::kCall].text.empty()) entry.NewQso();
  ShowMask();
  FocusMask();
}

void TContestLogStd::RunImport() {
  if (!m_import) {
    TheDialogs().ShowMessage(kImportUnavailable);
    return;
  }
  m_clock->stop();
  m_import(m_model->log(), this);
  m_clock->start();
  if (m_backup) m_backup->BackupNow();  // the imported QSOs are worth a copy
  m_model->entry().NewQso();
  m_shown_next_qso = m_model->session().NextQsoNo;
  PositionListOnLastEntry();
  ShowScore();
  FocusMask();
}

void TContestLogStd::ShowHelp() {
  TheDocuments().OpenDocument(
      QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kontura-hilfe.html")).toStdString());
}

// ---------------------------------------------------------------- closing

void TContestLogStd::done(int result) {
  if (!m_closed) {
    // Closing is always allowed: the core's closing sequence, then away.
    m_closed = true;
    m_clock->stop();
    StopRig();
    m_model->Close(QsoListColumnWidths(*m_list));
    // The closed log, renumbered and summed up, is the last backup.
    if (m_backup) m_backup->Finish();
  }
  QDialog::done(result);
}

}  // namespace kontura
