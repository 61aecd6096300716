// The transceiver's entries in the program's settings file: what makes
// them usable, and their way into the file and back.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "logging/hamlib_rig.h"
#include "logging/rig_settings.h"

namespace kontura::testing {
namespace {

RigSettings Direct(int model, const std::string& device, int speed = 0) {
  RigSettings s;
  s.kind = RigSettings::Kind::kDirect;
  s.model = model;
  s.device = device;
  s.speed = speed;
  return s;
}

RigSettings Network(const std::string& address, int poll_ms = 500) {
  RigSettings s;
  s.kind = RigSettings::Kind::kNetwork;
  s.address = address;
  s.poll_ms = poll_ms;
  return s;
}

TEST(RigSettings, OnlySettingsThatCanReachARigPass) {
  struct Case {
    const char* what;
    RigSettings settings;
    bool model_known;
    const char* problem;  // a piece of the message; nullptr: none
  } cases[] = {
      {"none needs nothing", RigSettings{}, false, nullptr},
      {"direct", Direct(3073, "/dev/ttyUSB0", 19200), true, nullptr},
      {"direct, model's speed", Direct(3073, "/dev/ttyUSB0"), true, nullptr},
      {"direct without model", Direct(0, "/dev/ttyUSB0"), false, "Modell"},
      {"direct, model hamlib lacks", Direct(999999, "/dev/ttyUSB0"), false, "Modell"},
      {"direct without device", Direct(3073, ""), true, "Schnittstelle"},
      {"network", Network("localhost:4532"), false, nullptr},
      {"network, IPv6 host", Network("::1:4532"), false, nullptr},
      {"network without port", Network("localhost"), false, "Rechner:Port"},
      {"network, empty port", Network("localhost:"), false, "Rechner:Port"},
      {"network without host", Network(":4532"), false, "Rechner:Port"},
      {"network, port 0", Network("localhost:0"), false, "Rechner:Port"},
      {"network, port too high", Network("localhost:65536"), false, "Rechner:Port"},
      {"network, port not a number", Network("localhost:45x2"), false, "Rechner:Port"},
      {"network, blank in host", Network("local host:4532"), false, "Rechner:Port"},
      {"poll too fast", Network("localhost:4532", 10), false, "Abfrage"},
      {"poll too slow", Network("localhost:4532", 60000), false, "Abfrage"},
  };
  for (const Case& c : cases) {
    const std::string problem = RigSettingsProblem(c.settings, c.model_known);
    if (c.problem) {
      EXPECT_NE(problem.find(c.problem), std::string::npos) << c.what << ": " << problem;
    } else {
      EXPECT_EQ(problem, "") << c.what;
    }
  }
}

TEST(RigSettings, TravelThroughTheSettingsFileBesideTheOtherEntries) {
  const std::string dir = ::testing::TempDir() + "rig_settings_test";
  const std::string path = dir + "/kontura/kontura.conf";
  std::filesystem::remove_all(dir);
  ProgramSettings settings;
  EXPECT_EQ(RigSettingsOf(settings).kind, RigSettings::Kind::kNone) << "no rig by default";
  settings.backup_every = 3;
  StoreRigSettings(Direct(3073, "/dev/serial/by-id/usb-Icom_IC-7300", 115200), &settings);
  ASSERT_TRUE(SaveProgramSettings(path, settings));
  const RigSettings back = RigSettingsOf(LoadProgramSettings(path));
  EXPECT_EQ(back.kind, RigSettings::Kind::kDirect);
  EXPECT_EQ(back.model, 3073);
  EXPECT_EQ(back.device, "/dev/serial/by-id/usb-Icom_IC-7300");
  EXPECT_EQ(back.speed, 115200);
  EXPECT_EQ(LoadProgramSettings(path).backup_every, 3);

  // A hand-edited file with an unknown kind or a poll out of range gives no
  // rig and the default poll rather than a rig asked a thousand times a second.
  ProgramSettings odd;
  odd.rig_kind = "bluetooth";
  odd.rig_poll_ms = 1;
  EXPECT_EQ(RigSettingsOf(odd).kind, RigSettings::Kind::kNone);
  EXPECT_EQ(RigSettingsOf(odd).poll_ms, kRigPollMinMs);
  std::ofstream(path) << "rig_kind=network\nrig_poll_ms=60000\n";
  EXPECT_EQ(RigSettingsOf(LoadProgramSettings(path)).poll_ms, kRigPollMaxMs);
  std::filesystem::remove_all(dir);
}

TEST(HamlibRigModels, ListsHamlibsRigsByMakerWithoutTheNetworkModel) {
  const std::vector<RigModelEntry>& models = HamlibRigModels();
  ASSERT_GT(models.size(), 100u);
  bool dummy = false;
  for (size_t i = 0; i < models.size(); ++i) {
    EXPECT_NE(models[i].model, 2) << "the network model is a connection of its own";
    if (models[i].model == 1) dummy = true;
    if (i > 0) {
      EXPECT_LE(models[i - 1].maker, models[i].maker);
    }
  }
  EXPECT_TRUE(dummy) << "hamlib's dummy rig, for trying the program out";
}

}  // namespace
}  // namespace kontura::testing
