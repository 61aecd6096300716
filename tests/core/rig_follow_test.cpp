// The entry mask following the transceiver: band changes as F8 makes them
// once the dial rests, frequencies outside the contest leave the band, the
// rig's modes map onto the contest's, typing wins until the rig moves, a
// silent rig changes nothing, and a saved QSO keeps the rig's frequency.

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <memory>
#include <thread>

#include "logging/rig_follow.h"
#include "logging/rig_poller.h"
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

// A scripted rig: answers with the frequency the test sets, or not at all.
class ScriptedRig : public Rig {
 public:
  explicit ScriptedRig(std::atomic<double>* hz) : m_hz(hz) {}
  RigReading Read() override {
    const double hz = m_hz->load();
    if (hz <= 0) return {false, 0, "", "keine Verbindung"};
    return {true, hz, "USB", {}};
  }

 private:
  std::atomic<double>* m_hz;
};

TEST(RigPoller, DeliversTheNewestReadingFromItsOwnThreadAndStopsPromptly) {
  std::atomic<double> hz{3.7e6};
  auto poller = std::make_unique<RigPoller>(std::make_unique<ScriptedRig>(&hz), 10);
  RigReading r;
  for (int i = 0; i < 500 && !poller->Take(&r); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  ASSERT_TRUE(r.answered);
  EXPECT_DOUBLE_EQ(r.hz, 3.7e6);
  hz = 145.5e6;
  r = {};
  for (int i = 0; i < 500 && !(poller->Take(&r) && r.hz == 145.5e6); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_DOUBLE_EQ(r.hz, 145.5e6);
  hz = 0;  // the rig stops answering
  for (int i = 0; i < 500 && !(poller->Take(&r) && !r.answered); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_FALSE(r.answered);
  EXPECT_EQ(r.error, "keine Verbindung");
  poller.reset();  // joins at once, not after a poll interval
}

// A rig stuck in a reading (a hung daemon, a serial time-out) does not hold
// up the window that closes: the poller lets go, and the rig is released
// on the reading's thread once that reading ends.
TEST(RigPoller, LetsGoOfARigStuckInAReadingAndReleasesItAfterwards) {
  struct Gate {
    std::mutex mutex;
    std::condition_variable cv;
    bool reading = false, open = false, destroyed = false;
  };
  class StuckRig : public Rig {
   public:
    explicit StuckRig(std::shared_ptr<Gate> gate) : m_gate(std::move(gate)) {}
    ~StuckRig() override {
      std::lock_guard<std::mutex> lock(m_gate->mutex);
      m_gate->destroyed = true;
      m_gate->cv.notify_all();
    }
    RigReading Read() override {
      std::unique_lock<std::mutex> lock(m_gate->mutex);
      m_gate->reading = true;
      m_gate->cv.notify_all();
      m_gate->cv.wait(lock, [this] { return m_gate->open; });
      return {false, 0, "", "Zeitüberschreitung"};
    }

   private:
    std::shared_ptr<Gate> m_gate;
  };
  auto gate = std::make_shared<Gate>();
  auto poller = std::make_unique<RigPoller>(std::make_unique<StuckRig>(gate), 10);
  {
    std::unique_lock<std::mutex> lock(gate->mutex);
    gate->cv.wait(lock, [&] { return gate->reading; });
  }
  poller.reset();  // returns although the reading has not ended
  {
    std::unique_lock<std::mutex> lock(gate->mutex);
    EXPECT_FALSE(gate->destroyed);
    gate->open = true;
    gate->cv.notify_all();
    gate->cv.wait(lock, [&] { return gate->destroyed; });
  }
  EXPECT_TRUE(gate->destroyed);
}

}  // namespace
}  // namespace kontura::testing
