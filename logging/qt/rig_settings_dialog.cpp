#include "logging/qt/rig_settings_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "logging/hamlib_rig.h"
#include "logging/mask_text.h"
#include "logging/rig_poller.h"
#include "logging/rig_settings.h"
#include "platform/platform.h"
#include "platform/program_settings.h"
#include "platform/qt/qt_text.h"

namespace kontura {
namespace {

constexpr int kSpeeds[] = {4800, 9600, 19200, 38400, 57600, 115200};
const QString kModelDefaultSpeed = QStringLiteral("Vorgabe des Modells");

// Serial devices present now, for the device list; any other can be typed.
QStringList SerialDevices() {
  QStringList devices;
  const QDir dev(QStringLiteral("/dev"));
  for (const QString& pattern : {QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")}) {
    for (const QString& name : dev.entryList({pattern}, QDir::System, QDir::Name)) devices << dev.filePath(name);
  }
  const QDir by_id(QStringLiteral("/dev/serial/by-id"));
  for (const QString& name : by_id.entryList(QDir::System | QDir::Files, QDir::Name)) devices << by_id.filePath(name);
  if (devices.isEmpty()) devices << QStringLiteral("/dev/ttyUSB0");
  return devices;
}

QComboBox* MakeCombo(QWidget* parent, const char* name, bool editable) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QString::fromLatin1(name));
  combo->setEditable(editable);
  if (editable) combo->setInsertPolicy(QComboBox::NoInsert);
  return combo;
}

}  // namespace

TRigSettingsDlg::TRigSettingsDlg(const RigSettings& settings, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("RigSettingsDlg"));
  setWindowTitle(QStringLiteral("Transceiver"));
  auto* layout = new QVBoxLayout(this);

  m_none = new QRadioButton(QStringLiteral("Kein Transceiver"), this);
  m_direct = new QRadioButton(QStringLiteral("Direkt am Rechner (seriell oder USB)"), this);
  m_network = new QRadioButton(QStringLiteral("Über rigctld im Netz"), this);
  m_none->setObjectName(QStringLiteral("rbKein"));
  m_direct->setObjectName(QStringLiteral("rbDirekt"));
  m_network->setObjectName(QStringLiteral("rbNetz"));
  auto* kinds = new QButtonGroup(this);
  for (QRadioButton* b : {m_none, m_direct, m_network}) {
    kinds->addButton(b);
    layout->addWidget(b);
  }
  connect(kinds, &QButtonGroup::buttonToggled, this, [this] { EnableFields(); });

  auto* form = new QFormLayout;
  m_model = MakeCombo(this, "cbModell", true);
  for (const RigModelEntry& m : HamlibRigModels()) {
    m_model->addItem(QString::fromStdString(m.maker + " " + m.name) + QStringLiteral(" (%1)").arg(m.model), m.model);
  }
  // Typing part of a name ("7300") finds the model.
  m_model->completer()->setFilterMode(Qt::MatchContains);
  m_model->completer()->setCompletionMode(QCompleter::PopupCompletion);
  form->addRow(QStringLiteral("Modell:"), m_model);

  m_device = MakeCombo(this, "cbSchnittstelle", true);
  m_device->addItems(SerialDevices());
  form->addRow(QStringLiteral("Schnittstelle:"), m_device);

  m_speed = MakeCombo(this, "cbGeschwindigkeit", false);
  m_speed->addItem(kModelDefaultSpeed, 0);
  for (int speed : kSpeeds) m_speed->addItem(QString::number(speed), speed);
  form->addRow(QStringLiteral("Geschwindigkeit (Baud):"), m_speed);

  m_address = new QLineEdit(this);
  m_address->setObjectName(QStringLiteral("eAdresse"));
  m_address->setPlaceholderText(QStringLiteral("localhost:4532"));
  form->addRow(QStringLiteral("Adresse (Rechner:Port):"), m_address);

  m_poll = new QSpinBox(this);
  m_poll->setObjectName(QStringLiteral("sbAbfrage"));
  m_poll->setRange(kRigPollMinMs, kRigPollMaxMs);
  m_poll->setSingleStep(100);
  m_poll->setSuffix(QStringLiteral(" ms"));
  form->addRow(QStringLiteral("Abfrage alle:"), m_poll);
  layout->addLayout(form);

  auto* test_row = new QHBoxLayout;
  auto* test = new QPushButton(QStringLiteral("Verbindung testen"), this);
  test->setObjectName(QStringLiteral("btnTesten"));
  test->setAutoDefault(false);
  connect(test, &QPushButton::clicked, this, [this] { StartTest(); });
  m_test_result = new QLabel(this);
  m_test_result->setObjectName(QStringLiteral("lTest"));
  m_test_result->setWordWrap(true);
  test_row->addWidget(test);
  test_row->addWidget(m_test_result, 1);
  layout->addLayout(test_row);
  m_test_timer = new QTimer(this);
  m_test_timer->setInterval(50);
  connect(m_test_timer, &QTimer::timeout, this, [this] { CheckTest(); });

  auto* buttons = new QDialogButtonBox(this);
  auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  auto* cancel = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
  ok->setObjectName(QStringLiteral("btnOK"));
  cancel->setObjectName(QStringLiteral("btnAbbrechen"));
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  // The stored settings into the widgets.
  (settings.kind == RigSettings::Kind::kDirect    ? m_direct
   : settings.kind == RigSettings::Kind::kNetwork ? m_network
                                                  : m_none)
      ->setChecked(true);
  const int model = m_model->findData(settings.model);
  m_model->setCurrentIndex(model >= 0 ? model : m_model->findData(1));  // else hamlib's dummy rig
  if (!settings.device.empty()) m_device->setCurrentText(QString::fromStdString(settings.device));
  const int speed = m_speed->findData(settings.speed);
  if (speed >= 0) {
    m_speed->setCurrentIndex(speed);
  } else {
    m_speed->addItem(QString::number(settings.speed), settings.speed);
    m_speed->setCurrentIndex(m_speed->count() - 1);
  }
  m_address->setText(QString::fromStdString(settings.address));
  m_poll->setValue(settings.poll_ms);
  EnableFields();
}

TRigSettingsDlg::~TRigSettingsDlg() = default;

bool TRigSettingsDlg::ModelKnown(int model) const { return m_model->findData(model) >= 0; }

RigSettings TRigSettingsDlg::Settings() const {
  RigSettings s;
  s.kind = m_direct->isChecked()    ? RigSettings::Kind::kDirect
           : m_network->isChecked() ? RigSettings::Kind::kNetwork
                                    : RigSettings::Kind::kNone;
  // The model the list shows, also when its name was typed in full.
  const int typed = m_model->findText(m_model->currentText());
  s.model = typed >= 0 ? m_model->itemData(typed).toInt() : 0;
  s.device = m_device->currentText().trimmed().toStdString();
  s.speed = m_speed->currentData().toInt();
  s.address = m_address->text().trimmed().toStdString();
  s.poll_ms = m_poll->value();
  return s;
}

void TRigSettingsDlg::EnableFields() {
  const bool direct = m_direct->isChecked();
  m_model->setEnabled(direct);
  m_device->setEnabled(direct);
  m_speed->setEnabled(direct);
  m_address->setEnabled(m_network->isChecked());
  m_poll->setEnabled(!m_none->isChecked());
}

void TRigSettingsDlg::accept() {
  const RigSettings s = Settings();
  const std::string problem = RigSettingsProblem(s, ModelKnown(s.model));
  if (!problem.empty()) {
    TheDialogs().ShowMessage(problem);
    return;
  }
  QDialog::accept();
}

void TRigSettingsDlg::StartTest() {
  const RigSettings s = Settings();
  std::string problem = RigSettingsProblem(s, ModelKnown(s.model));
  if (s.kind == RigSettings::Kind::kNone) problem = "Es ist kein Transceiver gew\xE4hlt.";
  if (!problem.empty()) {
    m_test_result->setText(ToQString(problem));
    return;
  }
  m_test.reset();  // a test still waiting for its answer gives way
  m_test_result->setText(QStringLiteral("Frage den Transceiver …"));
  m_test = std::make_unique<RigPoller>(std::make_unique<HamlibRig>(s), kRigPollMaxMs);
  m_test_timer->start();
}

void TRigSettingsDlg::CheckTest() {
  RigReading r;
  if (!m_test || !m_test->Take(&r)) return;
  m_test_timer->stop();
  m_test.reset();
  if (r.answered) {
    m_test_result->setText(QStringLiteral("Antwort: %1 MHz %2")
                               .arg(ToQString(FrequencyText(static_cast<float>(r.hz / 1e6))),
                                    QString::fromStdString(r.mode)));
  } else {
    m_test_result->setText(QStringLiteral("Keine Antwort: ") + ToQString(r.error));
  }
}

bool EditRigSettings(QWidget* parent) {
  const std::string path = ProgramSettingsPath();
  ProgramSettings settings = LoadProgramSettings(path);
  TRigSettingsDlg dialog(RigSettingsOf(settings), parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  // Read again: only the transceiver's entries change.
  settings = LoadProgramSettings(path);
  StoreRigSettings(dialog.Settings(), &settings);
  if (!SaveProgramSettings(path, settings)) {
    TheDialogs().ShowMessage("Die Einstellungen konnten nicht gespeichert werden (" + Utf8ToCp1252(path) + ").");
    return false;
  }
  return true;
}

}  // namespace kontura
