#include "contest/qt/contest_config.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/platform.h"
#include "platform/qt/qt_documents.h"
#include "platform/qt/qt_text.h"
#include "storage/catalogue.h"
#include "ui/qt/fk_edit.h"

namespace kontura {
namespace {

const QColor kRefusedColour(255, 128, 128);

QString Name(const char* n) { return QString::fromLatin1(n); }

TfkEdit* Edit(QWidget* parent, const char* name, int limit, bool upper = false) {
  auto* e = new TfkEdit(parent);
  e->setObjectName(Name(name));
  e->SetTextLimit(limit);
  e->SetUpperCase(upper);
  return e;
}

QCheckBox* Check(QWidget* parent, const char* name, const QString& text) {
  auto* c = new QCheckBox(text, parent);
  c->setObjectName(Name(name));
  return c;
}

QRadioButton* Radio(QWidget* parent, const char* name, const QString& text) {
  auto* r = new QRadioButton(text, parent);
  r->setObjectName(Name(name));
  return r;
}

QLabel* Label(QWidget* parent, const QString& name, const QString& text = {}) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  return l;
}

std::string Text(const TfkEdit* e) { return e->StringValue(); }

}  // namespace

TEingContestStd::TEingContestStd(ConfigMode mode, TContestDefinition& def, QWidget* parent)
    : QDialog(parent), m_config(mode, def), m_def(def) {
  setObjectName(Name("EingContestStd"));
  BuildControls();
}

void TEingContestStd::BuildControls() {
  auto* root = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  root->addLayout(columns);
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right);

  // "Angaben zum Contest"
  auto* contest = new QGroupBox(QStringLiteral("Angaben zum Contest"), this);
  auto* cg = new QGridLayout(contest);
  m_name = Edit(contest, "eName", 25);
  m_date_from = Edit(contest, "eDatumvon", 10);
  m_date_to = Edit(contest, "eDatumbis", 10);
  m_time_from = Edit(contest, "eZeitvon", 5);
  m_time_to = Edit(contest, "eZeitbis", 5);
  for (TfkEdit* e : {m_date_from, m_date_to}) e->SetPictureMask("DD.MM.YYYY");
  for (TfkEdit* e : {m_time_from, m_time_to}) e->SetPictureMask("HH:MM");
  auto* rules = new QPushButton(QStringLiteral("Regeln"), contest);
  rules->setObjectName(Name("btnRegeln"));
  rules->setAutoDefault(false);
  cg->addWidget(new QLabel(QStringLiteral("Contestname:"), contest), 0, 0);
  cg->addWidget(m_name, 0, 1, 1, 3);
  cg->addWidget(rules, 0, 4);
  cg->addWidget(new QLabel(QStringLiteral("Datum, von"), contest), 1, 0);
  cg->addWidget(m_date_from, 1, 1);
  cg->addWidget(new QLabel(QStringLiteral("bis"), contest), 1, 2);
  cg->addWidget(m_date_to, 1, 3);
  cg->addWidget(new QLabel(QStringLiteral("UTC, von"), contest), 2, 0);
  cg->addWidget(m_time_from, 2, 1);
  cg->addWidget(new QLabel(QStringLiteral("bis"), contest), 2, 2);
  cg->addWidget(m_time_to, 2, 3);
  left->addWidget(contest);
  connect(rules, &QPushButton::clicked, this,
          [] { TheDocuments().OpenDocument(StartDir() + std::string(ThisEdition().rulesDocument)); });

  // "Contest- Teilnehmer"
  auto* station = new QGroupBox(QStringLiteral("Contest- Teilnehmer"), this);
  auto* sg = new QGridLayout(station);
  m_call = Edit(station, "eCall", 12, true);
  m_dok = Edit(station, "eDOK", 8, true);
  m_swl = Edit(station, "eSWL", 14);
  m_contact = Edit(station, "ecname", 50);
  m_street = Edit(station, "eStrasse", 50);
  m_plz = Edit(station, "ePLZ", 5);
  m_town = Edit(station, "eOrt", 44);
  m_country = Edit(station, "eLand", 50);
  m_loc = Edit(station, "eLoc", 6, true);
  int row = 0;
  auto line = [&](const char* caption, QWidget* a, const char* caption2 = nullptr, QWidget* b = nullptr) {
    sg->addWidget(new QLabel(QString::fromUtf8(caption), station), row, 0);
    sg->addWidget(a, row, 1);
    if (b) {
      sg->addWidget(new QLabel(QString::fromUtf8(caption2), station), row, 2);
      sg->addWidget(b, row, 3);
    }
    ++row;
  };
  line("Call:", m_call, "DOK", m_dok);
  line("SWL-Nr.", m_swl, "LOC", m_loc);
  line("Name", m_contact);
  line("Straße", m_street);
  line("PLZ+Ort", m_plz, "", m_town);
  line("Land", m_country);
  left->addWidget(station);

  auto* participant = new QGroupBox(this);
  auto* pg = new QHBoxLayout(participant);
  pg->addWidget(Label(participant, Name("lTeilnehmerNr"), QStringLiteral("Teilnehmer-Nr:")));
  m_participant = Edit(participant, "eJahre", 5);
  m_participant->setMaximumWidth(80);
  pg->addWidget(m_participant);
  pg->addStretch();
  pg->addWidget(Label(participant, Name("lTeilnehmerNr2")));
  left->addWidget(participant);

  // "Teilnahme" and "Mode"
  auto* take_part = new QGroupBox(QStringLiteral("Teilnahme"), this);
  auto* tg = new QVBoxLayout(take_part);
  m_category_group = new QGroupBox(QStringLiteral("Teilnahmeart   "), take_part);
  m_category_group->setObjectName(Name("eteilnahmeart"));
  m_categories = new QButtonGroup(this);
  tg->addWidget(m_category_group);
  right->addWidget(take_part);

  auto* modes = new QGroupBox(QStringLiteral("Mode"), this);
  auto* mg = new QHBoxLayout(modes);
  mg->addWidget(new QLabel(QStringLiteral("Start mit:"), modes));
  m_cw = Radio(modes, "rbCW", QStringLiteral("CW"));
  m_ssb = Radio(modes, "rbSSB", QStringLiteral("SSB"));
  m_fm = Radio(modes, "rbFM", QStringLiteral("FM"));
  m_pr = Radio(modes, "rbPR", QStringLiteral("PR"));
  for (QRadioButton* r : {m_cw, m_ssb, m_fm, m_pr}) mg->addWidget(r);
  right->addWidget(modes);

  // "Programm- Einstellungen"
  auto* program = new QGroupBox(QStringLiteral("Programm- Einstellungen"), this);
  auto* prg = new QGridLayout(program);
  m_qsl_sent = Edit(program, "eQSLw", 1, true);
  m_qsl_rcvd = Edit(program, "eqslr", 1, true);
  for (TfkEdit* e : {m_qsl_sent, m_qsl_rcvd}) {
    e->setMaximumWidth(30);
    e->installEventFilter(this);
  }
  prg->addWidget(new QLabel(QStringLiteral("QSL s"), program), 0, 0);
  prg->addWidget(m_qsl_sent, 0, 1);
  prg->addWidget(new QLabel(QStringLiteral("QSL r"), program), 0, 2);
  prg->addWidget(m_qsl_rcvd, 0, 3);
  m_auto_date = Check(program, "cbDatumAuto", QStringLiteral("Datum automatisch setzen"));
  m_auto_time = Check(program, "cbZeitAuto", QStringLiteral("Zeit automatisch setzen"));
  m_rst_sent = Check(program, "cbRstSent", QStringLiteral("RST sent mit 59(9) fest vorgeben"));
  m_rst_rcvd = Check(program, "cbRstRcvd", QStringLiteral("RST rcvd mit 59(9) fest vorgeben"));
  m_auto_band = Check(program, "cbBandAuto", QStringLiteral("Band automatisch entsprechend der Zeit setzen"));
  m_rst_unlocked = Check(program, "cbRstNichtSperren", QStringLiteral("RSTs nicht sperren"));
  m_dupes = Check(program, "cbDoppelQso", QStringLiteral("nicht gewertete Doppel-QSO in Log eintragen"));
  int prow = 1;
  for (QCheckBox* c : {m_auto_date, m_auto_time, m_rst_sent, m_rst_rcvd, m_auto_band, m_rst_unlocked, m_dupes}) {
    prg->addWidget(c, prow++, 0, 1, 4);
  }
  right->addWidget(program);

  // "Computerzeit"
  m_time_group = new QGroupBox(QStringLiteral("Computerzeit"), this);
  m_time_group->setObjectName(Name("gbComputerzeit"));
  auto* zg = new QVBoxLayout(m_time_group);
  m_local = Radio(m_time_group, "rbOrtszeit", QStringLiteral("Computer läuft mit Ortszeit"));
  m_utc = Radio(m_time_group, "rbUTC", QStringLiteral("Computer läuft mit UTC-Zeit"));
  zg->addWidget(m_local);
  zg->addWidget(m_utc);
  right->addWidget(m_time_group);
  for (QRadioButton* r : {m_local, m_utc}) {
    connect(r, &QRadioButton::clicked, this, [this] { Unmark(m_time_group); });
  }

  // "Auswertung"
  auto* totals = new QGroupBox(QStringLiteral("Auswertung"), this);
  totals->setObjectName(Name("gbAuswertung"));
  auto* ag = new QGridLayout(totals);
  const char* headings[] = {"Band", "QSO", "Multi", "Punkte"};
  for (int c = 0; c < 4; ++c) {
    auto* heading = new QLabel(QString::fromLatin1(headings[c]), totals);
    if (c > 0) heading->setAlignment(Qt::AlignRight);  // over the right-aligned numbers
    ag->addWidget(heading, 0, c);
  }
  const char* prefixes[] = {"lBand", "lQso", "lMulti", "lPunkte"};
  for (int pos = 0; pos < contest_header::kBandPositions; ++pos) {
    for (int c = 0; c < 4; ++c) {
      QLabel* l = Label(totals, QString::fromLatin1(prefixes[c]) + QString::number(pos + 1));
      if (c > 0) {
        l->setAlignment(Qt::AlignRight);
        l->setFont(QFont(QStringLiteral("Monospace")));
      }
      m_band_rows[pos][c] = l;
      ag->addWidget(l, pos + 1, c);
    }
  }
  const int total_row = contest_header::kBandPositions + 1;
  ag->addWidget(new QLabel(QStringLiteral("Total"), totals), total_row, 0);
  m_qso_total = Label(totals, Name("lQsoTotal"));
  m_multi_total = Label(totals, Name("lMultiTotal"));
  m_points_total = Label(totals, Name("lPunkteTotal"));
  m_score = Label(totals, Name("lScore"));
  for (QLabel* l : {m_qso_total, m_multi_total, m_points_total, m_score}) l->setAlignment(Qt::AlignRight);
  ag->addWidget(m_qso_total, total_row, 1);
  ag->addWidget(m_multi_total, total_row, 2);
  ag->addWidget(m_points_total, total_row, 3);
  ag->addWidget(m_score, total_row + 1, 3);
  left->addWidget(totals);

  // Buttons
  auto* buttons = new QHBoxLayout;
  auto button = [this, buttons](const char* name, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(Name(name));
    b->setAutoDefault(false);
    buttons->addWidget(b);
    return b;
  };
  m_btn_start = button("btnStart", QStringLiteral("Contest starten"));
  m_btn_beenden = button("btnBeenden", QStringLiteral("Beenden"));
  m_btn_abbrechen = button("btnAbbrechen", QStringLiteral("Abbrechen"));
  buttons->addStretch();
  m_btn_druck = button("btnDruck", QStringLiteral("Drucken / E-Log"));
  m_btn_hilfe = button("btnHilfe", QStringLiteral("Hilfe"));
  m_btn_start->setDefault(true);
  root->addLayout(buttons);
  connect(m_btn_start, &QPushButton::clicked, this, [this] { btnStartClick(); });
  connect(m_btn_beenden, &QPushButton::clicked, this, [this] { btnBeendenClick(); });
  connect(m_btn_abbrechen, &QPushButton::clicked, this, [this] { Finish(false); });
  connect(m_btn_druck, &QPushButton::clicked, this, [this] { btnDruckClick(); });
  connect(m_btn_hilfe, &QPushButton::clicked, this, [] { TheDocuments().OpenDocument(HelpPagePath().toStdString()); });

  // Editing a field restores its colour; date and time fields complete
  // themselves when they are left.
  for (TfkEdit* e : findChildren<TfkEdit*>()) {
    connect(e, &QLineEdit::textEdited, this, [this, e] { Unmark(e); });
  }
  for (TfkEdit* e : {m_date_from, m_date_to, m_time_from, m_time_to}) e->installEventFilter(this);
}

ConfigDialogResult TEingContestStd::Run() {
  const ConfigFields f = m_config.Open();

  // The category radio group, from the definition.
  const std::vector<std::string> items = m_config.CategoryItems();
  auto* grid = new QGridLayout(m_category_group);
  const int columns = m_config.CategoryColumns();
  const int per_column = (static_cast<int>(items.size()) + columns - 1) / columns;
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    auto* r = new QRadioButton(ToQString(items[i]), m_category_group);
    r->setObjectName(QStringLiteral("rbTeilnahme%1").arg(i + 1));
    m_categories->addButton(r, i);
    grid->addWidget(r, i % per_column, i / per_column);
  }
  connect(m_categories, &QButtonGroup::idClicked, this, [this](int id) { CategoryClick(id); });

  Fill(f);
  m_auto_band->setVisible(m_def.AutoBandByTime != 0);
  m_dupes->hide();
  if (m_config.Mode() == ConfigMode::kAfterLogging) {
    m_btn_start->hide();
    m_btn_abbrechen->hide();
    m_btn_start->setDefault(false);
    m_btn_beenden->setDefault(true);
    m_btn_beenden->setFocus();
  } else {
    m_name->setFocus();
  }
  ShowCaption();
  ShowModeButtons();
  ShowTotals();
  exec();
  return m_result;
}

void TEingContestStd::Fill(const ConfigFields& f) {
  m_name->SetValue(f.name);
  m_date_from->SetValue(f.date_from);
  m_date_to->SetValue(f.date_to);
  m_time_from->SetValue(f.time_from);
  m_time_to->SetValue(f.time_to);
  m_call->SetValue(f.call);
  m_dok->SetValue(f.dok);
  m_swl->SetValue(f.swl);
  m_contact->SetValue(f.contact_name);
  m_street->SetValue(f.street);
  m_plz->SetValue(f.plz);
  m_town->SetValue(f.town);
  m_country->SetValue(f.country);
  m_loc->SetValue(f.locator);
  m_participant->SetValue(f.participant_no);
  m_qsl_sent->SetValue(f.qsl_sent);
  m_qsl_rcvd->SetValue(f.qsl_rcvd);
  m_auto_date->setChecked(f.auto_date);
  m_auto_time->setChecked(f.auto_time);
  m_rst_sent->setChecked(f.rst_sent_fixed);
  m_rst_rcvd->setChecked(f.rst_rcvd_fixed);
  m_auto_band->setChecked(f.auto_band);
  m_rst_unlocked->setChecked(f.rst_unlocked);
  m_dupes->setChecked(f.log_uncounted_dupes);
  m_local->setChecked(f.local_time);
  m_utc->setChecked(f.utc_time);
  if (QAbstractButton* b = m_categories->button(f.category)) b->setChecked(true);
  m_category_group->setEnabled(f.category_enabled);
  m_cw->setChecked(!f.start_ssb && !f.start_fm && !f.start_pr);
  m_ssb->setChecked(f.start_ssb);
  m_fm->setChecked(f.start_fm);
  m_pr->setChecked(f.start_pr);
}

ConfigFields TEingContestStd::Fields() const {
  ConfigFields f;
  f.name = Text(m_name);
  f.date_from = Text(m_date_from);
  f.date_to = Text(m_date_to);
  f.time_from = Text(m_time_from);
  f.time_to = Text(m_time_to);
  f.call = Text(m_call);
  f.dok = Text(m_dok);
  f.swl = Text(m_swl);
  f.contact_name = Text(m_contact);
  f.street = Text(m_street);
  f.plz = Text(m_plz);
  f.town = Text(m_town);
  f.country = Text(m_country);
  f.locator = Text(m_loc);
  f.participant_no = Text(m_participant);
  f.qsl_sent = Text(m_qsl_sent);
  f.qsl_rcvd = Text(m_qsl_rcvd);
  f.auto_date = m_auto_date->isChecked();
  f.auto_time = m_auto_time->isChecked();
  f.rst_sent_fixed = m_rst_sent->isChecked();
  f.rst_rcvd_fixed = m_rst_rcvd->isChecked();
  f.auto_band = m_auto_band->isChecked();
  f.rst_unlocked = m_rst_unlocked->isChecked();
  f.log_uncounted_dupes = m_dupes->isChecked();
  f.local_time = m_local->isChecked();
  f.utc_time = m_utc->isChecked();
  f.time_group_enabled = m_local->isEnabled() && m_utc->isEnabled();
  f.category = m_categories->checkedId();
  f.category_enabled = m_category_group->isEnabled();
  f.start_ssb = m_ssb->isChecked();
  f.start_fm = m_fm->isChecked();
  f.start_pr = m_pr->isChecked();
  return f;
}

void TEingContestStd::ShowCaption() { setWindowTitle(ToQString(m_config.Caption())); }

void TEingContestStd::ShowModeButtons() {
  const ModeButtons b = m_config.VisibleModeButtons();
  m_cw->setVisible(b.cw);
  m_ssb->setVisible(b.ssb);
  m_fm->setVisible(b.fm);
  m_pr->setVisible(!b.fourth.empty());
  m_pr->setText(ToQString(b.fourth));
}

void TEingContestStd::ShowTotals() {
  const TotalsView v = m_config.Totals();
  for (int pos = 0; pos < contest_header::kBandPositions; ++pos) {
    const TotalsLine& line = v.lines[pos];
    const std::array<std::string, 4> texts = {line.band, line.qso, line.multi, line.points};
    for (int c = 0; c < 4; ++c) {
      m_band_rows[pos][c]->setText(ToQString(texts[c]));
      m_band_rows[pos][c]->setVisible(line.visible);
    }
  }
  m_qso_total->setText(ToQString(v.qso_total));
  m_multi_total->setText(ToQString(v.multi_total));
  m_points_total->setText(ToQString(v.points_total));
  m_score->setText(ToQString(v.score));
}

QWidget* TEingContestStd::WidgetOf(ConfigField field) const {
  switch (field) {
    case ConfigField::kName: return m_name;
    case ConfigField::kDateFrom: return m_date_from;
    case ConfigField::kDateTo: return m_date_to;
    case ConfigField::kTimeFrom: return m_time_from;
    case ConfigField::kTimeTo: return m_time_to;
    case ConfigField::kCall: return m_call;
    case ConfigField::kDok: return m_dok;
    case ConfigField::kSwl: return m_swl;
    case ConfigField::kContactName: return m_contact;
    case ConfigField::kStreet: return m_street;
    case ConfigField::kPlz: return m_plz;
    case ConfigField::kTown: return m_town;
    case ConfigField::kCountry: return m_country;
    case ConfigField::kLocator: return m_loc;
    case ConfigField::kParticipantNo: return m_participant;
    case ConfigField::kComputerTime: return m_time_group;
    case ConfigField::kCategory: return m_category_group;
    case ConfigField::kNone: break;
  }
  return nullptr;
}

void TEingContestStd::Mark(ConfigField field) {
  QWidget* w = WidgetOf(field);
  if (!w) return;
  QPalette p = w->palette();
  p.setColor(qobject_cast<TfkEdit*>(w) ? QPalette::Base : QPalette::Window, kRefusedColour);
  w->setPalette(p);
  w->setAutoFillBackground(true);
  w->setProperty("refused", true);
  w->setFocus();
}

void TEingContestStd::Unmark(QWidget* w) {
  if (!w->property("refused").toBool()) return;
  w->setPalette(QPalette());
  w->setAutoFillBackground(false);
  w->setProperty("refused", false);
}

bool TEingContestStd::SaveConfiguration(SaveInitiator who) {
  const ConfigSaveResult r = m_config.Save(Fields(), who);
  if (r.outcome == ConfigSaveResult::Outcome::kRefused) {
    Mark(r.mark);
    return false;
  }
  if (QWidget* w = WidgetOf(r.focus)) w->setFocus();
  if (!r.saved()) return false;
  m_result.contest_number = m_config.ContestNumber();
  ShowCaption();
  ShowTotals();
  return true;
}

void TEingContestStd::CategoryClick(int item) {
  (void)item;  // the group's checked button is part of the fields
  Unmark(m_category_group);
  SaveConfiguration(SaveInitiator::kCategoryClick);
  ShowModeButtons();
}

void TEingContestStd::btnStartClick() {
  if (SaveConfiguration(SaveInitiator::kContestStarten)) Finish(true);
}

void TEingContestStd::btnBeendenClick() {
  if (SaveConfiguration(SaveInitiator::kBeenden)) Finish(false);
}

namespace {
ExportMenuHook& TheExportMenuHook() {
  static ExportMenuHook hook;
  return hook;
}
}  // namespace

void SetExportMenuHook(ExportMenuHook hook) { TheExportMenuHook() = std::move(hook); }

// The export menu opens only after the configuration was saved.
void TEingContestStd::btnDruckClick() {
  if (!SaveConfiguration(SaveInitiator::kDruckenELog)) return;
  if (const ExportMenuHook& hook = TheExportMenuHook()) {
    hook(m_config.ContestNumber(), m_def, m_btn_druck);
  } else {
    TheDialogs().ShowMessage(ContestConfig::OutputsUnavailableText());
  }
}

void TEingContestStd::Finish(bool start) {
  m_result.start = start;
  if (start) {
    accept();
  } else {
    QDialog::reject();
  }
}

void TEingContestStd::reject() {
  if (TheDialogs().AskYesNo(ContestConfig::EscQuestion())) {
    btnBeendenClick();
  } else {
    Finish(false);
  }
}

bool TEingContestStd::eventFilter(QObject* watched, QEvent* event) {
  auto* edit = qobject_cast<TfkEdit*>(watched);
  if (edit && (edit == m_qsl_sent || edit == m_qsl_rcvd)) {
    if (event->type() == QEvent::MouseButtonRelease) edit->selectAll();
    return QDialog::eventFilter(watched, event);
  }
  if (edit && event->type() == QEvent::FocusIn) {
    m_text_at_focus[edit] = edit->StringValue();
  } else if (edit && event->type() == QEvent::FocusOut) {
    ConfigField field = edit == m_date_from ? ConfigField::kDateFrom
                        : edit == m_date_to ? ConfigField::kDateTo
                        : edit == m_time_from ? ConfigField::kTimeFrom
                                              : ConfigField::kTimeTo;
    const std::string completed = m_config.FieldLeft(field, m_text_at_focus[edit], edit->StringValue());
    if (completed != edit->StringValue()) edit->SetValue(completed);
  }
  return QDialog::eventFilter(watched, event);
}

ConfigDialogResult QtConfigurationDialog::RunConfigurationDialog(ConfigMode mode, TContestDefinition& def) {
  TEingContestStd dialog(mode, def, m_parent);
  return dialog.Run();
}

}  // namespace kontura
