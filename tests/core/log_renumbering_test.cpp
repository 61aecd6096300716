// The renumbering through FHLKTEMP, its interrupted states as the next
// opening finds them, the summary into the contest header, and the opening
// and closing of a log.

#include <gtest/gtest.h>

#include <map>

#include "contest/contest_header.h"
#include "logging/log_opening.h"
#include "logging/log_recount.h"
#include "logging/log_renumbering.h"
#include "platform/progress.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/log_fixture.h"

namespace kontura::testing {
namespace {

using F = MaskField;

class LogRenumberingTest : public LogTest {
 protected:
  Fileblock* Temp() {
    if (!CatalogueHandle(CatalogueId::kFhlktemp)) OpenFHLKTEMP();
    return CatalogueHandle(CatalogueId::kFhlktemp);
  }

  // Puts records into FHLKTEMP as a renumbering leaves them; with `trailer`
  // the copy is marked complete for contest `contest`.
  void FillTemp(const std::vector<QsoRecord>& qsos, bool trailer, int32_t contest = kContest) {
    Temp()->EraseFiles();
    for (QsoRecord q : qsos) {
      q.SetRecordNo(0);
      q.CopyTo(Temp()->RecordBuffer());
      Temp()->AddRecord();
    }
    if (trailer) {
      QsoRecord t;
      t.SetQsyBand('*');
      t.SetCall(FhlkFileName(contest));
      t.CopyTo(Temp()->RecordBuffer());
      Temp()->AddRecord();
    }
    ASSERT_EQ(StorageErrorClass(), 0);
    CloseFHLKTEMP();
  }

  int32_t TempCount() {
    const int32_t n = Temp()->RecordCount();
    CloseFHLKTEMP();
    return n;
  }

  // Call -> how often the log holds it.
  std::map<std::string, int> Calls() {
    std::map<std::string, int> calls;
    for (const QsoRecord& q : Records()) ++calls[q.Call()];
    return calls;
  }

  // Renumbers the log of 40 QSOs on a disk with space for the copy into
  // FHLKTEMP but not for the rebuilt log; the disk stays installed.
  void FailRebuild(FaultyFileSystem& disk) {
    SetStorageFileSystem(&disk);
    CloseFHLK();
    ASSERT_TRUE(OpenFHLK(kContest));
    disk.write_budget = 40 * 216 * 3;
    ASSERT_EQ(RenumberLog(kContest), RenumberResult::kRebuildFailed);
  }

  void AddHeader(int32_t contest) {
    ASSERT_TRUE(OpenFHKK());
    Fileblock* kk = CatalogueHandle(CatalogueId::kFhkk);
    kk->ClearBuffer();
    TContestHeader h(kk->RecordBuffer());
    PresetNewContest(h, kOwnLocator, "DL0XYZ", 'm');
    h.SetEntryName("Test");
    h.SetSumQso(3, 99);
    h.SetSumMulti(6, 5);
    kk->AddRecord();
    ASSERT_EQ(StorageErrorClass(), 0);
    ASSERT_EQ(h.ContestNumber(), contest);
    CloseFHKK();
  }
};

TEST_F(LogRenumberingTest, PutsQsosInTimeOrderAndDropsMarkers) {
  Store("DL1AAA", kBand80, "CW", SecondsOf(9, 10, 0), 1);
  Store("DL1BBB", kBand80, "CW", SecondsOf(9, 5, 0), 2);  // entered later, worked earlier
  QsoRecord marker;
  marker.SetQsyBand(kBand2);
  marker.CopyTo(TheLog()->RecordBuffer());
  TheLog()->AddRecord();
  Store("DL1CCC", kBand2, "FM", SecondsOf(9, 20, 0), 3);
  Store("DL1DDD", kBand80, "SSB", SecondsOf(9, 30, 0), 4);
  ASSERT_EQ(RenumberLog(kContest), RenumberResult::kDone);
  const std::vector<QsoRecord> all = Records();
  ASSERT_EQ(all.size(), 4u) << "the marker is gone";
  struct Expect {
    const char* call;
    int32_t qso_no, band_serial;
    uint16_t mode_serial;
  } expect[] = {{"DL1BBB", 1, 1, 1}, {"DL1AAA", 2, 2, 2}, {"DL1CCC", 3, 1, 1}, {"DL1DDD", 4, 3, 1}};
  for (size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(all[i].Call(), expect[i].call) << i;
    EXPECT_EQ(all[i].QsoNo(), expect[i].qso_no) << i;
    EXPECT_EQ(all[i].RecordNo(), expect[i].qso_no) << i;
    EXPECT_EQ(all[i].BandSerial(), expect[i].band_serial) << i;
    EXPECT_EQ(all[i].BandSerial2(), expect[i].band_serial) << i;
    EXPECT_EQ(all[i].ModeSerial(), expect[i].mode_serial) << i;
  }
  EXPECT_EQ(TempCount(), 0) << "FHLKTEMP is left empty";
}

TEST_F(LogRenumberingTest, DeletionLeavesNoGapAndAnEmptyLogRenumbers) {
  ASSERT_EQ(RenumberLog(kContest), RenumberResult::kDone);
  EXPECT_TRUE(Records().empty());
  EXPECT_EQ(TempCount(), 0);
  for (int i = 1; i <= 10; ++i) Store("DL1A" + std::string(1, static_cast<char>('A' + i)), kBand80, "CW", SecondsOf(9, i, 0), i);
  TheLog()->FindExact(13, NumberToKey(5));
  ASSERT_EQ(StorageErrorClass(), 0);
  TheLog()->DeleteRecord(kAfterNone);
  ASSERT_EQ(RenumberLog(kContest), RenumberResult::kDone);
  const std::vector<QsoRecord> all = Records();
  ASSERT_EQ(all.size(), 9u);
  EXPECT_EQ(all[4].Call(), "DL1AG") << "the former QSO 6";
  EXPECT_EQ(all[4].QsoNo(), 5);
  EXPECT_EQ(all[8].QsoNo(), 9);
}

TEST_F(LogRenumberingTest, OpeningCompletesALogFromACompleteCopy) {
  // A crash after the copy was complete: the log was erased and holds only
  // the first QSO again.
  const std::vector<QsoRecord> qsos = {Qso("DL1AAA", kBand80, "CW", SecondsOf(9, 0, 0)),
                                       Qso("DL1BBB", kBand2, "FM", SecondsOf(9, 1, 0)),
                                       Qso("DL1CCC", kBand80, "CW", SecondsOf(9, 2, 0))};
  FillTemp(qsos, true);
  Store("DL1AAA", kBand80, "CW", SecondsOf(9, 0, 0), 1);
  CloseFHLK();
  auto log = OpenLogSession(kContest, ctx.Definition, ctx.Options, prefixes);
  ASSERT_TRUE(log);
  EXPECT_EQ(Calls(), (std::map<std::string, int>{{"DL1AAA", 1}, {"DL1BBB", 1}, {"DL1CCC", 1}}));
  EXPECT_EQ(Records()[2].QsoNo(), 3) << "and renumbered";
  EXPECT_EQ(log->session().Totals.NextNumber, 4);
  EXPECT_EQ(TempCount(), 0);
  CloseLogSession(*log);
}

TEST_F(LogRenumberingTest, OpeningDropsAnIncompleteCopyAndKeepsTheLog) {
  FillTemp({Qso("DL1AAA", kBand80, "CW", SecondsOf(9, 0, 0))}, false);
  Store("DL1AAA", kBand80, "CW", SecondsOf(9, 0, 0), 1);
  Store("DL1BBB", kBand80, "CW", SecondsOf(9, 1, 0), 2);
  CloseFHLK();
  auto log = OpenLogSession(kContest, ctx.Definition, ctx.Options, prefixes);
  ASSERT_TRUE(log);
  EXPECT_EQ(Calls(), (std::map<std::string, int>{{"DL1AAA", 1}, {"DL1BBB", 1}}));
  EXPECT_EQ(TempCount(), 0);
  CloseLogSession(*log);
}

TEST_F(LogRenumberingTest, OpeningAnotherContestFirstCompletesTheInterruptedOne) {
  FillTemp({Qso("DL1AAA", kBand80, "CW", SecondsOf(9, 0, 0)), Qso("DL1BBB", kBand80, "CW", SecondsOf(9, 1, 0))},
           true, kContest);
  CloseFHLK();  // contest 7's log is empty: the renumbering had erased it
  auto other = OpenLogSession(8, ctx.Definition, ctx.Options, prefixes);
  ASSERT_TRUE(other);
  EXPECT_TRUE(Records().empty()) << "contest 8 gets nothing of contest 7";
  CloseLogSession(*other);
  EXPECT_EQ(TempCount(), 0);
  ASSERT_TRUE(OpenFHLK(kContest));
  EXPECT_EQ(Calls(), (std::map<std::string, int>{{"DL1AAA", 1}, {"DL1BBB", 1}}));
}

TEST_F(LogRenumberingTest, FailedRebuildKeepsEveryQsoForTheNextRenumbering) {
  for (int i = 0; i < 40; ++i) Store("DL1X" + std::to_string(i), kBand80, "CW", SecondsOf(9, 0, i), i + 1);
  FaultyFileSystem disk;
  FailRebuild(disk);
  EXPECT_EQ(platform.dialogs.messages.back(), "Fehler beim Neuaufbau der Datenbank");
  disk.write_budget = -1;
  SetStorageFileSystem(nullptr);
  EXPECT_LT(Records().size(), 40u) << "the rebuild stopped half way";
  // The next renumbering first completes the log from FHLKTEMP.
  ASSERT_EQ(RenumberLog(kContest), RenumberResult::kDone);
  const std::vector<QsoRecord> all = Records();
  ASSERT_EQ(all.size(), 40u);
  for (size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(all[i].Call(), "DL1X" + std::to_string(i));
    EXPECT_EQ(all[i].QsoNo(), static_cast<int32_t>(i) + 1);
  }
  EXPECT_EQ(TempCount(), 0);
}

TEST_F(LogRenumberingTest, AfterAFailedRebuildASaveFirstCompletesTheLog) {
  for (int i = 0; i < 40; ++i) Store("DL1X" + std::to_string(i), kBand80, "CW", SecondsOf(9, 0, 40 - i), i + 1);
  QsoEntry& e = Entry(kBand2);
  FaultyFileSystem disk;
  FailRebuild(disk);
  EXPECT_TRUE(LogRebuildPending());
  // Still no space: the QSO is not written into the half-built log.
  e.Type(F::kCall, "G4ABC");
  e.LeaveField(F::kCall);
  EXPECT_EQ(e.Save(false), SaveResult::kAddFailed);
  EXPECT_EQ(e.mask()[F::kCall].text, "G4ABC");
  disk.write_budget = -1;
  SetStorageFileSystem(nullptr);
  // With space again the save completes the log first, then stores.
  EXPECT_EQ(e.Save(false), SaveResult::kStored);
  EXPECT_FALSE(LogRebuildPending());
  const std::vector<QsoRecord> all = Records();
  ASSERT_EQ(all.size(), 41u);
  EXPECT_EQ(all[0].Call(), "DL1X39") << "renumbered in time order";
  EXPECT_EQ(all[40].Call(), "G4ABC");
  EXPECT_EQ(TempCount(), 0);
}

TEST_F(LogRenumberingTest, FailedCopyLeavesTheLogUntouched) {
  for (int i = 0; i < 40; ++i) Store("DL1X" + std::to_string(i), kBand80, "CW", SecondsOf(9, 0, 40 - i), i + 1);
  FaultyFileSystem disk;
  SetStorageFileSystem(&disk);
  disk.write_budget = 216 * 10;
  EXPECT_EQ(RenumberLog(kContest), RenumberResult::kTempFailed);
  SetStorageFileSystem(nullptr);
  EXPECT_EQ(platform.dialogs.messages.back(), "Fehler beim Aufbau der tempor\xE4ren Datenbank");
  const std::vector<QsoRecord> all = Records();
  ASSERT_EQ(all.size(), 40u);
  EXPECT_EQ(all[0].QsoNo(), 1) << "not renumbered";
  EXPECT_EQ(all[0].Call(), "DL1X0");
}

// Ticks the entry's clock whenever the progress window repaints, as the
// window's event loop would.
class TickingProgress : public NoProgress {
 public:
  explicit TickingProgress(QsoEntry* e) : entry(e) {}
  void Step(int32_t) override {
    ++steps;
    entry->Tick();
  }
  QsoEntry* entry;
  int steps = 0;
};

TEST_F(LogRenumberingTest, NoClockTickDuringTheWholeLogOperations) {
  for (int i = 0; i < 30; ++i) Store("DL1X" + std::to_string(i), kBand80, "CW", SecondsOf(9, 0, i), i + 1);
  CloseFHLK();
  auto log = OpenLogSession(kContest, ctx.Definition, ctx.Options, prefixes);
  ASSERT_TRUE(log);
  TickingProgress ticking(&log->entry());
  Progress* old = InstallProgress(&ticking);
  platform.clock.Set(2026, 3, 7, 14, 0, 0);
  Store("DL1EARLY", kBand80, "CW", SecondsOf(8, 0, 0));  // out of order: the renumbering rewrites the log
  log->Renumber();
  log->Recount();
  InstallProgress(old);
  EXPECT_GT(ticking.steps, 0);
  EXPECT_EQ(Records()[0].Call(), "DL1EARLY");
  for (const QsoRecord& q : Records()) EXPECT_LT(q.QsoTime(), SecondsOf(10, 0, 0)) << q.Call();
  EXPECT_EQ(log->entry().record().QsoTime(), SecondsOf(11, 0, 0)) << "the mask keeps the time of the opening";
  CloseLogSession(*log);
}

TEST_F(LogRenumberingTest, OpeningStartsOnTheBandOfTheLastEntryAndClosingWritesTheSummary) {
  AddHeader(1);
  CloseFHLK();
  ASSERT_TRUE(OpenFHLK(1));
  Store("DL1AAA", kBand80, "CW", SecondsOf(9, 0, 0), 1, "JO40HC");
  Store("DL1BBB", kBand2, "FM", SecondsOf(9, 5, 0), 2, "JO31NF");
  Store("DL1CCC", kBand2, "FM", SecondsOf(9, 6, 0), 3, "");
  {
    // A marker between the QSOs carries exchange data that the opening clears.
    QsoRecord marker;
    marker.SetQsyBand(kBand2);
    marker.SetLocator("JO40HC");
    marker.SetDxcc("DL");
    marker.SetQsoDate(DayNumber(7, 3, 2026));
    marker.SetQsoTime(SecondsOf(9, 1, 0));
    marker.CopyTo(TheLog()->RecordBuffer());
    TheLog()->AddRecord();
  }
  CloseFHLK();
  ctx.Options.StartFm = true;
  auto log = OpenLogSession(1, ctx.Definition, ctx.Options, prefixes);
  ASSERT_TRUE(log);
  EXPECT_EQ(log->session().CurrentBand, kBand2) << "the band of the last entry, not the first band";
  EXPECT_EQ(log->session().CurrentMode, "FM");
  EXPECT_EQ(log->session().Totals.CurrentBandQsos, 2);
  EXPECT_EQ(log->session().Totals.NextNumber, 4);
  EXPECT_EQ(log->entry().record().Band(), kBand2);
  EXPECT_EQ(log->entry().record().QsoNo(), 4);
  EXPECT_EQ(log->entry().record().BandSerial(), 3);
  EXPECT_EQ(Records().size(), 3u) << "the marker went with the renumbering";
  // Work one more QSO on 2 m, then close.
  QsoEntry& e = log->entry();
  e.Type(F::kCall, "G4ABC");
  e.LeaveField(F::kCall);
  e.Type(F::kRecv3, "IO91WM");
  ASSERT_EQ(e.Save(false), SaveResult::kStored);
  CloseLogSession(*log);
  EXPECT_FALSE(log->is_open());
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhlk), nullptr);
  ASSERT_TRUE(OpenFHKK());
  CatalogueHandle(CatalogueId::kFhkk)->FindExact(3, NumberToKey(1));
  ASSERT_EQ(StorageErrorClass(), 0);
  const ConstContestHeader h(CatalogueRecord(CatalogueId::kFhkk));
  EXPECT_EQ(h.SumQso(1), 1);
  EXPECT_EQ(h.SumQso(2), 3);
  EXPECT_EQ(h.SumQso(3), 0) << "cleared, as no 70 cm QSO exists";
  EXPECT_EQ(h.SumMulti(6), 0) << "cleared";
  EXPECT_EQ(h.SumPoints(1), log->session().Totals.BandPoints[kBand80]);
  EXPECT_EQ(h.SumPoints(2), log->session().Totals.BandPoints[kBand2]);
  EXPECT_GT(h.SumPoints(2), 0);
  CloseFHKK();
}

}  // namespace
}  // namespace kontura::testing
