#pragma once
// "Transceiver": how the program reaches the rig whose frequency and mode
// the entry mask follows — none, directly (hamlib model, serial device,
// speed) or through a running rigctld (host:port) — and how often it asks.
// The choice lives in the program's settings file. "Verbindung testen"
// asks the rig once on a thread of its own, so a silent rig never freezes
// the window.

#include <QDialog>
#include <memory>

#include "logging/rig.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTimer;

namespace kontura {

class RigPoller;

class TRigSettingsDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TRigSettingsDlg(const RigSettings& settings, QWidget* parent = nullptr);
  ~TRigSettingsDlg() override;

  // The settings as the widgets give them.
  RigSettings Settings() const;

  void accept() override;  // refuses settings that cannot reach a rig

 private:
  void EnableFields();
  void StartTest();
  void CheckTest();
  bool ModelKnown(int model) const;

  QRadioButton* m_none = nullptr;
  QRadioButton* m_direct = nullptr;
  QRadioButton* m_network = nullptr;
  QComboBox* m_model = nullptr;
  QComboBox* m_device = nullptr;
  QComboBox* m_speed = nullptr;
  QLineEdit* m_address = nullptr;
  QSpinBox* m_poll = nullptr;
  QLabel* m_test_result = nullptr;
  QTimer* m_test_timer = nullptr;
  std::unique_ptr<RigPoller> m_test;
};

// Shows the window over `parent` with the settings from the program's
// settings file and writes them back on OK. True when they were saved.
bool EditRigSettings(QWidget* parent);

}  // namespace kontura
