// Running numbers, totals and the evaluation panel while QSOs are saved,
// the band and mode change, and the recount after a deletion.

#include <gtest/gtest.h>

#include "logging/log_recount.h"
#include "logging/score_totals.h"
#include "tests/support/log_fixture.h"

namespace kontura::testing {
namespace {

using F = MaskField;

class LogTotalsTest : public LogTest {
 protected:
  // Saves a QSO through the mask on the current band.
  void Save(const std::string& call, const std::string& locator) {
    entry->Type(F::kCall, call);
    entry->LeaveField(F::kCall);
    entry->Type(F::kRecv2, "001");
    entry->Type(F::kRecv3, locator);
    ASSERT_EQ(entry->Save(false), SaveResult::kStored) << call;
    platform.clock.now.second += 1;
    entry->Tick();
  }
};

TEST_F(LogTotalsTest, FirstQsoOnTwoMetresAfterEightyMetres) {
  QsoEntry& e = Entry();
  Save("DL1AAA", "JO40HC");
  Save("DL1BBB", "JO31NF");
  e.SelectBand(kBand2);
  EXPECT_EQ(session.NextBandSerial, 1);
  EXPECT_EQ(session.NextBandSerial2, 1);
  Save("DL1AAA", "JO40HC");  // no duplicate on another band
  e.ChangeMode("FM");
  Save("DL1CCC", "");
  const std::vector<QsoRecord> all = Records();
  ASSERT_EQ(all.size(), 4u);
  struct Expect {
    int32_t qso_no, band_serial;
    uint16_t mode_serial;
  } expect[] = {{1, 1, 1}, {2, 2, 2}, {3, 1, 3}, {4, 2, 1}};
  for (size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(all[i].QsoNo(), expect[i].qso_no) << i;
    EXPECT_EQ(all[i].BandSerial(), expect[i].band_serial) << i;
    EXPECT_EQ(all[i].BandSerial2(), expect[i].band_serial) << i;
    EXPECT_EQ(all[i].ModeSerial(), expect[i].mode_serial) << i;
  }
  EXPECT_EQ(all[3].SentExchange().substr(0, 3), "59 ") << "the fixed report follows the mode";
  // Back on 80 m: the next numbers and totals are 80 m's again.
  e.SelectBand(kBand80);
  EXPECT_EQ(session.NextBandSerial, 3);
  EXPECT_EQ(session.Totals.CurrentBandQsos, 2);
  EXPECT_EQ(session.Totals.CurrentBandPoints, all[0].Points() + all[1].Points());
  EXPECT_EQ(e.mask().band_label, "80 m");
  EXPECT_EQ(session.Totals.NextNumber, 5);
}

TEST_F(LogTotalsTest, DisplayRowsTotalsAndScore) {
  Entry(kBand2);
  Save("DL1AAA", "JO40HC");
  Save("DL1BBB", "");  // no locator: 0 points, still counted
  const ScoreDisplay d = BuildScoreDisplay(session.Totals, ctx.Definition, session.CurrentBand);
  ASSERT_EQ(d.rows.size(), 3u);
  EXPECT_EQ(d.rows[0].name, "80 m");
  EXPECT_EQ(d.rows[0].qsos, "    0");
  EXPECT_EQ(d.rows[1].name, "2 m");
  EXPECT_EQ(d.rows[1].qsos, "    2");
  EXPECT_TRUE(d.rows[1].current);
  EXPECT_FALSE(d.rows[0].current);
  EXPECT_EQ(d.rows[2].name, "70 cm");
  const int32_t points = session.Totals.BandPoints[kBand2];
  EXPECT_GT(points, 0);
  EXPECT_EQ(d.total_qsos, "2 QSO");
  EXPECT_EQ(d.score, std::to_string(points) + " Pkt.");
  EXPECT_EQ(d.next_number, "    3");
  EXPECT_EQ(Score(session.Totals), points);
}

TEST_F(LogTotalsTest, RecountAfterDeletingTheOnlyQsoOfABand) {
  Entry();
  Save("DL1AAA", "JO40HC");
  entry->SelectBand(kBand2);
  Save("DL1BBB", "JO31NF");
  // Delete the 2 m QSO while 80 m is the current band.
  entry->SelectBand(kBand80);
  TheLog()->FindExact(4, NumberToKey(2));
  ASSERT_EQ(StorageErrorClass(), 0);
  TheLog()->DeleteRecord(kAfterNone);
  RecountLog(session.Totals, session.CurrentBand);
  EXPECT_EQ(session.Totals.BandQsos[kBand2], 0);
  EXPECT_EQ(session.Totals.BandPoints[kBand2], 0);
  EXPECT_EQ(session.Totals.BandQsos[kBand80], 1);
  EXPECT_EQ(session.Totals.NextNumber, 2);
  EXPECT_EQ(session.Totals.CurrentBandQsos, 1);
}

TEST_F(LogTotalsTest, RecountRepairsStoredPointsAndFollowsMarkers) {
  Store("DL1AAA", kBand80, "CW", SecondsOf(9, 0, 0), 1, "JO40HC");
  {
    TheLog()->Last(4);
    QsoRecord q = LogRecord();
    q.SetDistance(250);
    q.SetPoints(7);  // wrong
    q.CopyTo(TheLog()->RecordBuffer());
    TheLog()->UpdateRecord();
  }
  QsoRecord marker;
  marker.SetQsyBand(kBand70);
  marker.CopyTo(TheLog()->RecordBuffer());
  TheLog()->AddRecord();
  ScoreTotals totals;
  EXPECT_EQ(RecountLog(totals, kBand80), kBand70) << "a marker sets the last band";
  EXPECT_EQ(totals.BandPoints[kBand80], 250);
  EXPECT_EQ(totals.NextNumber, 2) << "markers are not counted";
  TheLog()->First(4);
  EXPECT_EQ(LogRecord().Points(), 250);
}

}  // namespace
}  // namespace kontura::testing
