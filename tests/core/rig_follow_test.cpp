// The entry mask following the transceiver: band changes as F8 makes them
// once the dial rests, frequencies outside the contest leave the band, the
// rig's modes map onto the contest's, typing wins until the rig moves, a
// silent rig changes nothing, and a saved QSO keeps the rig's frequency.

#include <cmath>

#include "logging/rig_follow.h"
#include "tests/support/log_fixture.h"

namespace kontura::testing {
namespace {

using F = MaskField;

class RigFollowTest : public LogTest {
 protected:
  static RigReading At(double mhz, const std::string& mode = "CW") { return {true, mhz * 1e6, mode, {}}; }
};

TEST_F(RigFollowTest, ABandOfTheContestIsTakenAsF8TakesItOnceTheDialRests) {
  Store("DL1AAA", kBand2, "CW", 110000, 1);
  Store("DL2AAA", kBand2, "CW", 110100, 2);
  QsoEntry& e = Entry(kBand80);
  RigFollower rig(e, 500);
  EXPECT_TRUE(rig.Apply(At(145.3), 1000));
  EXPECT_EQ(e.mask()[F::kFrequency].text, "145.3");
  EXPECT_EQ(e.session().CurrentBand, kBand80) << "the dial may still be turning";
  rig.Apply(At(145.3), 1400);
  EXPECT_EQ(e.session().CurrentBand, kBand80);
  EXPECT_TRUE(rig.Apply(At(145.3), 1600));
  EXPECT_EQ(e.session().CurrentBand, kBand2);
  EXPECT_EQ(e.mask()[F::kFrequency].text, "145.3");

  // The same numbers and totals as the operator's F8.
  LogSession by_rig = e.session();
  QsoEntry& f8 = Entry(kBand80);
  f8.SelectBand(kBand2);
  EXPECT_EQ(by_rig.NextBandSerial, f8.session().NextBandSerial);
  EXPECT_EQ(by_rig.NextBandSerial2, f8.session().NextBandSerial2);
  EXPECT_EQ(by_rig.Totals.CurrentBandQsos, f8.session().Totals.CurrentBandQsos);
  EXPECT_EQ(by_rig.Totals.CurrentBandPoints, f8.session().Totals.CurrentBandPoints);
}

TEST_F(RigFollowTest, AFrequencyOutsideTheContestLeavesTheBandAndSaysSo) {
  QsoEntry& e = Entry(kBand80);
  RigFollower rig(e, 0);
  rig.Apply(At(14.2), 0);
  rig.Apply(At(14.2), 5000);
  EXPECT_EQ(e.session().CurrentBand, kBand80);
  EXPECT_EQ(e.mask()[F::kFrequency].text, "14.2");
  EXPECT_NE(rig.Status().find("14.2 MHz liegt in keinem Band des Contests"), std::string::npos) << rig.Status();
}

TEST_F(RigFollowTest, RigModesMapOntoTheContestsModes) {
  const struct {
    const char* rig;
    const char* contest;  // "" leaves the mode
  } cases[] = {{"CW", "CW"},   {"CWR", "CW"}, {"CW-R", "CW"}, {"USB", "SSB"}, {"LSB", "SSB"},
               {"FM", "FM"},   {"FMN", "FM"}, {"FM-N", "FM"}, {"AM", ""},     {"RTTY", ""},
               {"PKTUSB", ""}, {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(ContestModeOfRig(ctx.Definition, c.rig), c.contest) << c.rig;

  QsoEntry& e = Entry(kBand80);
  RigFollower rig(e, 0);
  rig.Apply(At(3.7, "LSB"), 0);
  EXPECT_EQ(e.session().CurrentMode, "SSB");
  rig.Apply(At(3.7, "AM"), 100);
  EXPECT_EQ(e.session().CurrentMode, "SSB") << "a mode the contest does not have leaves the mode";
  rig.Apply(At(3.56, "CWR"), 200);
  EXPECT_EQ(e.session().CurrentMode, "CW");
}

TEST_F(RigFollowTest, TypingWinsUntilTheRigMovesAndASilentRigChangesNothing) {
  QsoEntry& e = Entry(kBand80);
  RigFollower rig(e, 0);
  rig.Apply(At(3.55), 0);
  e.Type(F::kFrequency, "3,6");
  rig.OperatorTyped();
  EXPECT_FALSE(rig.Apply(At(3.55), 500));
  EXPECT_EQ(e.mask()[F::kFrequency].text, "3,6");
  rig.Apply(At(3.573), 1000);
  EXPECT_EQ(e.mask()[F::kFrequency].text, "3.573");

  EXPECT_FALSE(rig.Apply({false, 0, "", "Verbindung abgelehnt"}, 1500));
  EXPECT_NE(rig.Status().find("antwortet nicht (Verbindung abgelehnt)"), std::string::npos) << rig.Status();
  EXPECT_EQ(e.mask()[F::kFrequency].text, "3.573");
  EXPECT_EQ(e.session().CurrentBand, kBand80);

  // The mask keeps working, and the QSO keeps the rig's last frequency.
  e.Type(F::kCall, "DL1XYZ");
  e.LeaveField(F::kCall);
  e.Type(F::kRecv2, "17");
  e.Type(F::kRecv3, "JO50AA");
  ASSERT_EQ(e.Save(false), SaveResult::kStored);
  const std::vector<QsoRecord> all = Records();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_NEAR(all[0].Frequency(), 3.573, 1e-4);
  EXPECT_EQ(all[0].Band(), kBand80);
}

}  // namespace
}  // namespace kontura::testing
