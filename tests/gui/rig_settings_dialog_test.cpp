// The "Transceiver" window driven through its widgets: the stored choice
// comes back, settings that cannot reach a rig are refused with a message,
// "Verbindung testen" asks the rig without freezing the window, and the
// main window reaches it through its button.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

#include "logging/qt/rig_settings_dialog.h"
#include "logging/rig_settings.h"
#include "tests/support/dummy_rig_daemon.h"
#include "tests/support/modal_scripts.h"
#include "tests/support/scoped_program_settings.h"
#include "tests/support/scripted_platform.h"

namespace kontura::testing {
namespace {

class RigSettingsDialogTest : public ::testing::Test {
 protected:
  template <typename W>
  W* Child(TRigSettingsDlg& d, const char* name) {
    W* w = d.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  ScopedPlatform platform;
};

TEST_F(RigSettingsDialogTest, ShowsTheStoredChoiceAndRefusesWhatCannotReachARig) {
  RigSettings stored;
  stored.kind = RigSettings::Kind::kDirect;
  stored.model = 1;
  stored.device = "/dev/ttyUSB3";
  stored.speed = 38400;
  stored.poll_ms = 700;
  TRigSettingsDlg d(stored);
  EXPECT_TRUE(Child<QRadioButton>(d, "rbDirekt")->isChecked());
  EXPECT_TRUE(Child<QComboBox>(d, "cbModell")->currentText().contains(QStringLiteral("(1)")));
  EXPECT_EQ(Child<QComboBox>(d, "cbSchnittstelle")->currentText(), QStringLiteral("/dev/ttyUSB3"));
  EXPECT_EQ(Child<QComboBox>(d, "cbGeschwindigkeit")->currentText(), QStringLiteral("38400"));
  EXPECT_FALSE(Child<QLineEdit>(d, "eAdresse")->isEnabled()) << "the address belongs to the network";
  const RigSettings same = d.Settings();
  EXPECT_EQ(same.model, 1);
  EXPECT_EQ(same.device, "/dev/ttyUSB3");
  EXPECT_EQ(same.speed, 38400);
  EXPECT_EQ(same.poll_ms, 700);

  // A model's name typed in part and not completed is no model.
  Child<QComboBox>(d, "cbModell")->setEditText(QStringLiteral("IC-73"));
  d.show();
  Child<QPushButton>(d, "btnOK")->click();
  ASSERT_EQ(platform.dialogs.messages.size(), 1u);
  EXPECT_NE(platform.dialogs.messages[0].find("Modell"), std::string::npos);
  EXPECT_TRUE(d.isVisible()) << "the window stays open for a correction";

  Child<QRadioButton>(d, "rbNetz")->click();
  EXPECT_FALSE(Child<QComboBox>(d, "cbModell")->isEnabled());
  Child<QLineEdit>(d, "eAdresse")->setText(QStringLiteral("localhost"));
  Child<QPushButton>(d, "btnOK")->click();
  ASSERT_EQ(platform.dialogs.messages.size(), 2u);
  EXPECT_NE(platform.dialogs.messages[1].find("Rechner:Port"), std::string::npos);

  Child<QLineEdit>(d, "eAdresse")->setText(QStringLiteral("localhost:4532"));
  Child<QPushButton>(d, "btnOK")->click();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.Settings().kind, RigSettings::Kind::kNetwork);
}

TEST_F(RigSettingsDialogTest, TestingAsksTheRigAndSaysWhetherItAnswered) {
  if (!RigctldInstalled()) GTEST_SKIP() << "rigctld (libhamlib-utils) is missing";
  DummyRigDaemon daemon;
  ASSERT_TRUE(daemon.running());
  ASSERT_TRUE(daemon.Set("F 144300000 M USB 2400"));
  RigSettings settings;
  settings.kind = RigSettings::Kind::kNetwork;
  settings.address = daemon.address();
  TRigSettingsDlg d(settings);
  d.show();
  auto* result = Child<QLabel>(d, "lTest");
  Child<QPushButton>(d, "btnTesten")->click();
  QTRY_VERIFY(result->text().startsWith(QStringLiteral("Antwort")));
  EXPECT_EQ(result->text(), QStringLiteral("Antwort: 144.3 MHz USB"));

  daemon.Stop();
  Child<QPushButton>(d, "btnTesten")->click();
  QTRY_VERIFY(result->text().startsWith(QStringLiteral("Keine Antwort")));
  EXPECT_EQ(result->text(), QStringLiteral("Keine Antwort: keine Verbindung"));
}

// EditRigSettings: OK writes the transceiver into the settings file and
// leaves the file's other entries; Abbrechen writes nothing.
TEST_F(RigSettingsDialogTest, OkWritesTheSettingsFileAndCancelLeavesIt) {
  const std::string home = ::testing::TempDir() + "rig_settings_dialog_test";
  ProgramSettings settings;
  settings.backup_keep = 9;
  settings.others["qrz_user"] = "dl1abc";
  const ScopedProgramSettings scoped(home, settings);

  // The window is answered with "Über rigctld im Netz", an address and the button.
  auto answer = [](const char* button) {
    return [button](QWidget& d) {
      d.findChild<QRadioButton*>(QStringLiteral("rbNetz"))->click();
      d.findChild<QLineEdit*>(QStringLiteral("eAdresse"))->setText(QStringLiteral("radio.local:4532"));
      d.findChild<QPushButton*>(QString::fromLatin1(button))->click();
    };
  };
  ModalScripts modals;
  modals.scripts.push_back(answer("btnAbbrechen"));
  EXPECT_FALSE(EditRigSettings(nullptr));
  EXPECT_EQ(LoadProgramSettings(ProgramSettingsPath()).rig_kind, "none");

  modals.scripts.push_back(answer("btnOK"));
  EXPECT_TRUE(EditRigSettings(nullptr));
  const ProgramSettings back = LoadProgramSettings(ProgramSettingsPath());
  EXPECT_EQ(back.rig_kind, "network");
  EXPECT_EQ(back.rig_address, "radio.local:4532");
  EXPECT_EQ(back.backup_keep, 9);
  EXPECT_EQ(back.others.at("qrz_user"), "dl1abc");
}

}  // namespace
}  // namespace kontura::testing
