// Crash safety of the renumbering: a child process renumbers a log of 2,000
// QSOs over and over and is killed with SIGKILL at a random moment, many
// times. After each kill the log is opened as the program opens it, and
// every QSO is found exactly once.

#include <unistd.h>

#include <chrono>
#include <map>
#include <random>

#include "logging/log_opening.h"
#include "logging/log_renumbering.h"
#include "tests/support/killed_child.h"
#include "tests/support/log_fixture.h"

namespace kontura::testing {
namespace {

constexpr int kQsos = 2000;

class RenumberingCrashTest : public LogTest {
 protected:
  void SetUp() override {
    LogTest::SetUp();
    // Out of time order, on all three bands, with a few band-change markers.
    std::mt19937 rng(12);
    TheLog()->SetFlushAfterWrite(false);
    for (int i = 0; i < kQsos; ++i) {
      QsoRecord q;
      q.SetCall(CallOf(i));
      q.SetBand("bkl"[i % 3]);
      q.SetMode(i % 2 ? "CW" : "FM");
      q.SetQsoDate(DayNumber(7, 3, 2026));
      q.SetQsoTime(std::uniform_int_distribution<int32_t>(1, 86399)(rng));
      q.SetQsoNo(i + 1);
      q.SetRecvExchange("599" + std::to_string(i) + "/JO40HC");
      q.SetLocator("JO40HC");
      q.CopyTo(TheLog()->RecordBuffer());
      TheLog()->AddRecord();
      if (i % 500 == 0) {
        QsoRecord marker;
        marker.SetQsyBand('k');
        marker.CopyTo(TheLog()->RecordBuffer());
        TheLog()->AddRecord();
      }
    }
    TheLog()->Flush();
    ASSERT_EQ(StorageErrorClass(), 0);
    CloseFHLK();
  }

  static std::string CallOf(int i) { return "DL" + std::to_string(i) + "X"; }

  [[noreturn]] static void RunChild(int fd, unsigned seed) {
    std::mt19937 rng(seed);
    if (!OpenFHLK(kContest)) _exit(3);
    for (;;) {
      // One QSO moves in time, so that the log is out of order and the
      // renumbering has the whole log to rewrite.
      TheLog()->FindExact(13, NumberToKey(std::uniform_int_distribution<int32_t>(1, kQsos)(rng)));
      if (StorageErrorClass() != 0) _exit(5);
      QsoRecord q = LogRecord();
      q.SetQsoTime(std::uniform_int_distribution<int32_t>(1, 86399)(rng));
      q.CopyTo(TheLog()->RecordBuffer());
      TheLog()->UpdateRecord();
      if (RenumberLog(kContest) != RenumberResult::kDone) _exit(4);
      (void)!write(fd, "R", 1);
    }
  }

  // True when FHLKTEMP holds a complete copy (the trailer is its last
  // record): the kill struck while the log was being rebuilt.
  static bool CompleteCopyPending() {
    if (!OpenFHLKTEMP()) return false;
    Fileblock* temp = CatalogueHandle(CatalogueId::kFhlktemp);
    temp->Last(1);
    const bool pending = StorageErrorClass() == 0 && QsoRecord::FromBytes(temp->RecordBuffer()).QsyBand() == '*';
    CloseFHLKTEMP();
    return pending;
  }
};

TEST_F(RenumberingCrashTest, EveryQsoOnceAfterAKillAtAnyMoment) {
  std::mt19937 rng(4711);
  // How long one renumbering takes here, so that the kills fall all over it.
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(OpenFHLK(kContest));
  ASSERT_EQ(RenumberLog(kContest), RenumberResult::kDone);
  CloseFHLK();
  const auto one = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);

  int rounds = 0, pending_rounds = 0, finished_renumberings = 0;
  while (rounds < 10 || (pending_rounds == 0 && rounds < 40)) {
    ++rounds;
    KilledChild child([&](int fd) { RunChild(fd, static_cast<unsigned>(rounds)); });
    ASSERT_TRUE(child.started());
    // Squared, so that the short copy into FHLKTEMP at the start gets its
    // share of the kills beside the long rebuild of the log.
    const double u = std::uniform_real_distribution<double>(0, 1.2)(rng);
    const auto delay = static_cast<int64_t>(u * u * static_cast<double>(one.count()));
    ASSERT_TRUE(child.KillAfter(delay)) << "the child stopped by itself: " << child.exit_code();
    finished_renumberings += static_cast<int>(child.reported().size());

    if (CompleteCopyPending()) ++pending_rounds;
    auto log = OpenLogSession(kContest, ctx.Definition, ctx.Options, prefixes);
    ASSERT_TRUE(log) << "round " << rounds;
    std::map<std::string, int> seen;
    int32_t expected_no = 0;
    for (const QsoRecord& q : Records()) {
      ++seen[q.Call()];
      EXPECT_EQ(q.QsoNo(), ++expected_no) << "round " << rounds;
      EXPECT_FALSE(q.IsBandChangeMarker());
    }
    ASSERT_EQ(seen.size(), static_cast<size_t>(kQsos)) << "round " << rounds;
    for (int i = 0; i < kQsos; ++i) ASSERT_EQ(seen[CallOf(i)], 1) << CallOf(i) << " round " << rounds;
    EXPECT_EQ(log->session().Totals.NextNumber, kQsos + 1);
    CloseLogSession(*log);
    ASSERT_TRUE(fatal_codes.empty()) << "round " << rounds;
  }
  EXPECT_GT(pending_rounds, 0) << "some kill struck while the log was being rebuilt";
  std::printf("one renumbering %lld ms; %d rounds, %d struck during the rebuild, %d renumberings finished by the children\n",
              static_cast<long long>(one.count() / 1000), rounds,
              pending_rounds, finished_renumberings);
}

}  // namespace
}  // namespace kontura::testing
