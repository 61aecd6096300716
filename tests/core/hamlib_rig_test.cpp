// The rig read through hamlib, against hamlib's own dummy rig behind a
// rigctld on a free loopback port: its frequency and mode reach the mask
// through RigFollower, and a stopped daemon shows as a rig that does not
// answer while the mask keeps working.

#include <cstdlib>
#include <string>

#include "logging/hamlib_rig.h"
#include "logging/rig_follow.h"
#include "tests/support/dummy_rig_daemon.h"
#include "tests/support/log_fixture.h"

namespace kontura::testing {
namespace {

class HamlibRigTest : public LogTest {};

TEST_F(HamlibRigTest, TheDummyRigsFrequencyAndModeReachTheMaskUntilTheDaemonStops) {
  if (!RigctldInstalled()) GTEST_SKIP() << "rigctld (libhamlib-utils) is missing";
  DummyRigDaemon daemon;
  ASSERT_TRUE(daemon.running());
  ASSERT_TRUE(daemon.Set("F 3550000 M CW 500"));

  RigSettings settings;
  settings.kind = RigSettings::Kind::kNetwork;
  settings.address = daemon.address();
  HamlibRig rig(settings);
  RigReading r = rig.Read();
  ASSERT_TRUE(r.answered) << r.error;
  EXPECT_DOUBLE_EQ(r.hz, 3550000);
  EXPECT_EQ(r.mode, "CW");

  QsoEntry& e = Entry(kBand80);
  RigFollower follower(e, 0);
  follower.Apply(r, 0);
  EXPECT_EQ(e.mask()[MaskField::kFrequency].text, "3.55");

  ASSERT_TRUE(daemon.Set("F 145300000 M FM 15000"));
  follower.Apply(rig.Read(), 100);
  EXPECT_EQ(e.session().CurrentBand, kBand2);
  EXPECT_EQ(e.session().CurrentMode, "FM");
  EXPECT_EQ(e.mask()[MaskField::kFrequency].text, "145.3");

  daemon.Stop();
  r = rig.Read();
  EXPECT_FALSE(r.answered);
  EXPECT_EQ(r.error, "keine Verbindung") << "one short reason, not hamlib's trace";
  follower.Apply(r, 200);
  EXPECT_NE(follower.Status().find("antwortet nicht"), std::string::npos) << follower.Status();
  EXPECT_EQ(e.mask()[MaskField::kFrequency].text, "145.3") << "the mask keeps what it had";
  EXPECT_FALSE(rig.Read().answered) << "and it tries again quietly";
  EXPECT_EQ(follower.Status(), "Transceiver antwortet nicht (keine Verbindung) - neuer Versuch l\xE4uft");
}

}  // namespace
}  // namespace kontura::testing
