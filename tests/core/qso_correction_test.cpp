// Correcting stored QSOs: the list modes, deleting, and changing a QSO
// through the detail dialog (with a scripted dialog), on a real log with its
// contest header, so that the totals in the header can be compared with the
// QSO lines after every step.

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

#include "contest/contest_header.h"
#include "contest/contest_header_store.h"
#include "logging/log_opening.h"
#include "logging/points.h"
#include "logging/qso_correction.h"
#include "logging/qso_keys.h"
#include "tests/support/correction_fixture.h"
#include "text/calendar.h"
#include "ui/fk_brow.h"

namespace kontura {
namespace {

using testing::kBand2;
using testing::kBand70;
using testing::kBand80;
using testing::kContest;
using testing::kOwnLocator;

// The detail dialog as a script: records what it was shown and edits the
// model as the operator would.
class ScriptedDetail : public QsoDetailRunner {
 public:
  std::function<void(QsoDetailModel&)> edit;
  QsoDetailFields shown;
  int runs = 0;
  void Run(QsoDetailModel& model) override {
    ++runs;
    shown = model.fields();
    if (edit) edit(model);
  }
};

class QsoCorrectionTest : public testing::CorrectionLogTest {
 protected:
  void SetUp() override {
    CorrectionLogTest::SetUp();
    stored_qsl_sent = 'N';
  }

  ConstContestHeader Header() {
    EXPECT_TRUE(LoadContestHeader(kContest, &header_bytes));
    return ConstContestHeader(header_bytes.data());
  }

  // The header's QSOs and points per band position against the QSO lines.
  void ExpectHeaderEqualsLines() {
    const ConstContestHeader h = Header();
    const std::vector<QsoRecord> lines = Records();
    for (int pos = 1; pos <= 3; ++pos) {
      const char band = ctx.Definition.BandCodes[static_cast<size_t>(pos - 1)];
      int qsos = 0;
      int32_t points = 0;
      for (const QsoRecord& q : lines) {
        if (q.Band() != band || q.IsBandChangeMarker()) continue;
        ++qsos;
        points += q.Points();
      }
      EXPECT_EQ(h.SumQso(pos), qsos) << "band " << band;
      EXPECT_EQ(h.SumPoints(pos), points) << "band " << band;
      EXPECT_EQ(log->session().Totals.BandPoints[static_cast<uint8_t>(band)], points) << "band " << band;
    }
  }

  std::vector<uint8_t> header_bytes;
  ScriptedDetail detail;
};

TEST(CorrectionViews, CaptionsKeysAndRanges) {
  const CorrectionView correction = CorrectionViewOf(CorrectionMode::kCorrection, 0);
  EXPECT_EQ(correction.caption, "QSO - Liste (\xC4ndern mit Eingabetaste oder Doppelklick)");
  EXPECT_EQ(correction.key_nr, 13);
  EXPECT_EQ(correction.low, NumberToKey(1));
  EXPECT_EQ(correction.high, NumberToKey(999999999));
  const CorrectionView band_log = CorrectionViewOf(CorrectionMode::kBandLog, 'k');
  EXPECT_EQ(band_log.caption, "Band - Log (\xC4ndern mit Eingabetaste oder Doppelklick)");
  EXPECT_EQ(band_log.key_nr, 8);
  const CorrectionView search = CorrectionViewOf(CorrectionMode::kCallSearch, 0);
  EXPECT_EQ(search.caption, correction.caption);
  EXPECT_EQ(search.key_nr, 2);
}

TEST(CorrectionViews, TheRangesHoldTheirQsosAndNoOthers) {
  auto key = [](const std::string& call, char band, int key_nr) {
    QsoRecord q;
    q.SetCall(call);
    q.SetBand(band);
    q.SetBandSerial(3);
    q.SetQsoNo(5);
    return BuildQsoKey(q.data(), key_nr);
  };
  const CorrectionView search = CorrectionViewOf(CorrectionMode::kCallSearch, 0);
  const TKBrowser by_call(nullptr, search.key_nr, search.low, search.high);
  for (const char* call : {"9A1AA", "4X4ZZ", "DL1ABC", "ZS6A", "2E0ABC"}) {
    EXPECT_TRUE(by_call.InRange(key(call, 'b', search.key_nr))) << call;
  }
  const CorrectionView band_log = CorrectionViewOf(CorrectionMode::kBandLog, kBand2);
  const TKBrowser by_band(nullptr, band_log.key_nr, band_log.low, band_log.high);
  EXPECT_TRUE(by_band.InRange(key("DL1ABC", kBand2, band_log.key_nr)));
  EXPECT_FALSE(by_band.InRange(key("DL1ABC", kBand80, band_log.key_nr)));
  EXPECT_FALSE(by_band.InRange(key("DL1ABC", kBand70, band_log.key_nr)));
}

TEST(CorrectionViews, CallSearchGoesToTheBaseCallInCapitals) {
  EXPECT_EQ(CallSearchKey("dl1abc"), "DL1ABC");
  EXPECT_EQ(CallSearchKey(" ea8/dl1abc/p "), "DL1ABC");
}

TEST_F(QsoCorrectionTest, DeletingTheOnlyQsoOfABandLeavesItsTotalsAtZero) {
  StoreQso("DL1AAA", kBand80, SecondsOf(9, 0, 0), "JO31AB");
  StoreQso("DL2BBB", kBand2, SecondsOf(9, 5, 0), "JO50AA");
  StoreQso("DL3CCC", kBand80, SecondsOf(9, 10, 0), "JN58TD");
  OpenStoredLog();
  ASSERT_TRUE(log->StoreSummary());
  ASSERT_GT(Header().SumPoints(2), 0);
  platform.dialogs.answers = {true};

  EXPECT_EQ(DeleteQso(*log, Find("DL2BBB").RecordNo()), DeleteOutcome::kDeleted);

  EXPECT_EQ(platform.dialogs.messages,
            std::vector<std::string>{"Durch das L\xF6schen eines Eintrages werden die Nummern aller nachfolgenden "
                                     "Eintr\xE4ge um 1 verringert."});
  EXPECT_EQ(platform.dialogs.questions, std::vector<std::string>{"Eintrag DL2BBB l\xF6schen?"});
  const std::vector<QsoRecord> left = Records();
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[1].Call(), "DL3CCC");
  EXPECT_EQ(left[1].QsoNo(), 2) << "the numbers behind the deleted QSO close up";
  EXPECT_EQ(Header().SumQso(2), 0);
  EXPECT_EQ(Header().SumPoints(2), 0);
  EXPECT_EQ(log->session().Totals.NextNumber, 3);
  ExpectHeaderEqualsLines();
}

TEST_F(QsoCorrectionTest, EverySummaryCountsTheLinesFirst) {
  StoreQso("DL1AAA", kBand80, SecondsOf(9, 0, 0), "JO31AB");
  StoreQso("DL2BBB", kBand2, SecondsOf(9, 5, 0), "JO50AA");
  OpenStoredLog();
  // A line changed behind the running totals (by another list, the import
  // or another program of the suite).
  TheLog()->FindExact(13, NumberToKey(2));
  QsoRecord q = LogRecord();
  q.SetDistance(q.Distance() + 100);
  q.CopyTo(TheLog()->RecordBuffer());
  TheLog()->UpdateRecord();

  ASSERT_TRUE(log->StoreSummary());
  ExpectHeaderEqualsLines();
  EXPECT_EQ(Header().SumPoints(2), q.Distance());
  CloseLogSession(*log);
  EXPECT_EQ(Header().SumPoints(2), q.Distance()) << "at closing too";
}

TEST_F(QsoCorrectionTest, NoToTheQuestionAndMarkersDeleteNothing) {
  StoreQso("DL1AAA", kBand80, SecondsOf(9, 0, 0), "JO31AB");
  OpenStoredLog();
  QsoRecord marker = Qso("", kBand80, "CW", SecondsOf(9, 1, 0));
  marker.SetQsyBand(kBand2);
  marker.CopyTo(TheLog()->RecordBuffer());
  TheLog()->AddRecord();
  const int32_t marker_no = LogRecord().RecordNo();

  EXPECT_EQ(DeleteQso(*log, marker_no), DeleteOutcome::kNothing);
  EXPECT_EQ(DeleteQso(*log, 999), DeleteOutcome::kNothing);
  EXPECT_TRUE(platform.dialogs.questions.empty()) << "nothing to ask about";
  EXPECT_EQ(DeleteQso(*log, Find("DL1AAA").RecordNo()), DeleteOutcome::kDeclined);
  EXPECT_EQ(Records().size(), 2u);
  EXPECT_EQ(DeleteQuestion("DL1ABCDEFGHIJKLMNOPQRSTUVW"), "Eintrag DL1ABCDEFGHIJKLMNOPQ l\xF6schen?");
}

TEST_F(QsoCorrectionTest, TheDialogShowsTheStoredQso) {
  StoreQso("DL1AAA", kBand2, SecondsOf(9, 7, 30), "JO31AB", "FM");
  OpenStoredLog();
  QsoRecord q = Find("DL1AAA");
  q.SetNameQth("Hans;Berlin");
  q.SetFrequency(145.5f);
  q.SetDxcc("DL");
  const QsoDetailFields f = FillDetail(q, log->context(), log->entry().mask()).fields();
  EXPECT_EQ(f.number_label, "Nummer:   1");
  EXPECT_EQ(f.call, "DL1AAA");
  EXPECT_EQ(f.date, "07.03.2026");
  EXPECT_EQ(f.time, "09:07");
  EXPECT_EQ(f.sent_report, "599");
  EXPECT_EQ(f.recv_report, "579");
  EXPECT_EQ(f.recv, (std::array<std::string, 3>{"017", "JO31AB", ""}));
  EXPECT_EQ(f.qsl_sent, "N");
  EXPECT_EQ(f.qsl_received, "");
  EXPECT_EQ(f.dxcc, "DL");
  EXPECT_EQ(f.name, "Hans");
  EXPECT_EQ(f.qth, "Berlin");
  EXPECT_EQ(f.frequency, "145,5000");
  EXPECT_EQ(f.modes, (std::vector<std::string>{"CW", "SSB", "FM"}));
  EXPECT_EQ(f.mode_index, 2);
  EXPECT_EQ(f.band_names, (std::vector<std::string>{"80 m", "2 m", "70 cm"}));
  EXPECT_EQ(f.band_index, 1);
  // Fields 2-4 are editable where the mask shows them.
  const EntryMask& mask = log->entry().mask();
  EXPECT_EQ(f.recv_enabled[1], mask.Shown(MaskField::kRecv3));
  EXPECT_EQ(f.recv_enabled[2], mask.Shown(MaskField::kRecv4));
  EXPECT_TRUE(f.recv_enabled[1]) << "the locator field";
}

TEST_F(QsoCorrectionTest, ChangingOnlyTheCallDoesNotRenumber) {
  StoreQso("DL1AAA", kBand80, SecondsOf(9, 0, 0), "JO31AB");
  StoreQso("DL2BBB", kBand80, SecondsOf(9, 10, 0), "JO31AB");
  OpenStoredLog();
  detail.edit = [](QsoDetailModel& m) {
    m.fields().call = "DL2XYZ";
    m.fields().time = "08:00";  // before DL1AAA: only a renumbering would move it
  };
  EXPECT_EQ(ChangeQso(*log, Find("DL2BBB").RecordNo(), detail), ChangeOutcome::kStored);
  const QsoRecord changed = Find("DL2XYZ");
  EXPECT_EQ(changed.QsoNo(), 2) << "not renumbered";
  EXPECT_EQ(changed.QsoTime(), SecondsOf(8, 0, 0));
  EXPECT_EQ(changed.Points(), QsoPoints(changed));
  EXPECT_EQ(changed.NameQth(), "") << "no name and QTH stay nothing, not \";\"";
  EXPECT_EQ(detail.runs, 1);
}

TEST_F(QsoCorrectionTest, RelevantChangesRenumberAndKeepTheHeaderEqualToTheLines) {
  StoreQso("DL1AAA", kBand80, SecondsOf(9, 0, 0), "JO31AB");
  StoreQso("DL2BBB", kBand80, SecondsOf(9, 10, 0), "JO31AB");
  OpenStoredLog();
  const struct {
    const char* name;
    std::function<void(QsoDetailModel&)> edit;
  } cases[] = {
      {"received locator", [](QsoDetailModel& m) { m.fields().recv[1] = "JN58TD"; }},
      {"band", [](QsoDetailModel& m) { m.SelectBand(1); }},
      {"mode", [](QsoDetailModel& m) { m.SelectMode(1); }},
      // A call too short to score changes only the points.
      {"points through the call", [](QsoDetailModel& m) { m.fields().call = "DL"; }},
  };
  for (const auto& c : cases) {
    detail.edit = c.edit;
    const QsoRecord before = Records()[0];
    EXPECT_EQ(ChangeQso(*log, before.RecordNo(), detail), ChangeOutcome::kRelevant) << c.name;
    ExpectHeaderEqualsLines();
  }
  const QsoRecord changed = Records()[0];
  EXPECT_EQ(changed.Locator(), "JN58TD");
  EXPECT_EQ(changed.Band(), kBand2);
  EXPECT_EQ(changed.Mode(), "SSB");
  EXPECT_EQ(changed.Points(), 0);
  EXPECT_EQ(changed.Frequency(), 144.0f) << "the band's default frequency came with the band";
}

TEST_F(QsoCorrectionTest, TimeIsReadInTheTimeFormatAndUnreadableValuesKeepTheStoredOnes) {
  StoreQso("DL1AAA", kBand80, SecondsOf(9, 0, 30), "JO31AB");
  OpenStoredLog();
  const int32_t rec = Find("DL1AAA").RecordNo();
  const struct {
    const char* date;
    const char* time;
    int32_t stored_date;
    int32_t stored_time;
    std::vector<std::string> messages;
  } cases[] = {
      {nullptr, nullptr, DayNumber(7, 3, 2026), SecondsOf(9, 0, 0), {}},  // untouched: the seconds go
      {"8.3.26", "1234", DayNumber(8, 3, 2026), SecondsOf(12, 34, 0), {}},
      {"08.03.2026", "9:30", DayNumber(8, 3, 2026), SecondsOf(9, 30, 0), {}},
      {"08.03.2026", "12:34:56", DayNumber(8, 3, 2026), SecondsOf(12, 34, 0), {}},
      {"31.02.2026", "25:99", DayNumber(8, 3, 2026), SecondsOf(12, 34, 0),
       {"Datum nicht lesbar - das gespeicherte Datum bleibt.", "UTC nicht lesbar - die gespeicherte Zeit bleibt."}},
      {"", "", DayNumber(8, 3, 2026), SecondsOf(12, 34, 0),
       {"Datum nicht lesbar - das gespeicherte Datum bleibt.", "UTC nicht lesbar - die gespeicherte Zeit bleibt."}},
  };
  for (const auto& c : cases) {
    platform.dialogs.messages.clear();
    detail.edit = [&c](QsoDetailModel& m) {
      if (c.date) m.fields().date = c.date;
      if (c.time) m.fields().time = c.time;
    };
    ChangeQso(*log, rec, detail);
    const QsoRecord q = Find("DL1AAA");
    EXPECT_EQ(q.QsoDate(), c.stored_date) << (c.date ? c.date : "-");
    EXPECT_EQ(q.QsoTime(), c.stored_time) << (c.time ? c.time : "-");
    EXPECT_EQ(platform.dialogs.messages, c.messages) << (c.time ? c.time : "-");
  }
}

TEST_F(QsoCorrectionTest, ReceivedLocatorRules) {
  StoreQso("DL1AAA", kBand80, SecondsOf(9, 0, 0), "JO31AB");
  OpenStoredLog();
  const QsoRecord before = Find("DL1AAA");
  ASSERT_GT(before.Distance(), 0);

  detail.edit = [](QsoDetailModel& m) { m.fields().recv[1] = "JO6"; };
  ChangeQso(*log, before.RecordNo(), detail);
  QsoRecord q = Find("DL1AAA");
  EXPECT_EQ(q.Locator(), "JO31AB") << "three characters or fewer leave the locator";
  EXPECT_EQ(q.Distance(), before.Distance());
  EXPECT_TRUE(platform.dialogs.messages.empty());

  detail.edit = [](QsoDetailModel& m) { m.fields().recv[1] = "ZZ99AA"; };
  EXPECT_EQ(ChangeQso(*log, q.RecordNo(), detail), ChangeOutcome::kRelevant);
  q = Find("DL1AAA");
  EXPECT_EQ(platform.dialogs.messages, std::vector<std::string>{"Fehler bei Locator-Angabe"});
  EXPECT_EQ(q.Distance(), 0);
  EXPECT_EQ(q.Points(), 0);
  EXPECT_EQ(q.RecvExchange(), "579017/ZZ99AA") << "the change is stored all the same";
  ExpectHeaderEqualsLines();
}

TEST_F(QsoCorrectionTest, ReportsArePaddedOrCutToThreeSoTheExchangeKeepsItsShape) {
  StoreQso("DL1AAA", kBand80, SecondsOf(9, 0, 0), "JO31AB");
  OpenStoredLog();
  detail.edit = [](QsoDetailModel& m) {
    m.fields().recv_report = "57999";
    m.fields().sent_report = "5";
  };
  ChangeQso(*log, Find("DL1AAA").RecordNo(), detail);
  const QsoRecord q = Find("DL1AAA");
  EXPECT_EQ(q.RecvExchange(), "579017/JO31AB");
  EXPECT_EQ(q.SentExchange(), "5  042/JO62QM");
  EXPECT_EQ(q.Locator(), "JO31AB");
}

TEST_F(QsoCorrectionTest, TheDialogsEntityChoiceIsItsOwn) {
  StoreQso("EA8AA", kBand80, SecondsOf(9, 0, 0), "IL18AA");
  OpenStoredLog();
  // The mask's QSO has a chosen entity (G), whose entry is the working one.
  bool chosen = false;
  prefixes.ResolvePrefix("G4ABC", 0, &chosen);
  log->session().EntityChosen = true;

  ChangeQso(*log, Find("EA8AA").RecordNo(), detail);

  EXPECT_EQ(Find("EA8AA").Continent(), "AF") << "looked up for the stored QSO, not the mask's choice";
  EXPECT_TRUE(log->session().EntityChosen) << "the mask's choice stays";
}

TEST_F(QsoCorrectionTest, ABandOutsideTheContestShowsNoSelectionAndStays) {
  StoreQso("DL1AAA", 'a', SecondsOf(9, 0, 0), "JO31AB");
  OpenStoredLog();
  ChangeQso(*log, Find("DL1AAA").RecordNo(), detail);
  EXPECT_EQ(detail.shown.band_index, -1);
  EXPECT_EQ(Find("DL1AAA").Band(), 'a');
}

TEST_F(QsoCorrectionTest, AMarkerIsNotChanged) {
  OpenStoredLog();
  QsoRecord marker = Qso("", kBand80, "CW", SecondsOf(9, 1, 0));
  marker.SetQsyBand(kBand2);
  marker.CopyTo(TheLog()->RecordBuffer());
  TheLog()->AddRecord();
  EXPECT_EQ(ChangeQso(*log, LogRecord().RecordNo(), detail), ChangeOutcome::kNothing);
  EXPECT_EQ(detail.runs, 0);
}

TEST(QsoDetailRules, ReportsFollowTheMode) {
  const struct {
    std::string report;
    std::string mode;
    std::string after;
  } cases[] = {
      {"59", "CW", "599"},  {"59 ", "CW", "599"}, {"579", "CW", "579"}, {"599", "SSB", "59 "},
      {"599", "FM", "59 "}, {"59", "SSB", "59"},  {"599", "RTTY", "599"},
  };
  for (const auto& c : cases) {
    QsoDetailFields f;
    f.modes = {"CW", "SSB", "FM", "RTTY"};
    f.sent_report = c.report;
    f.recv_report = c.report;
    QsoDetailModel m(f);
    const int index = static_cast<int>(std::find(f.modes.begin(), f.modes.end(), c.mode) - f.modes.begin());
    m.SelectMode(index);
    EXPECT_EQ(m.fields().sent_report, c.after) << c.report << " " << c.mode;
    EXPECT_EQ(m.fields().recv_report, c.after) << c.report << " " << c.mode;
    EXPECT_EQ(m.SelectedMode(), c.mode);
  }
  // The round trip of the edge case: CW "59" to "599", back to SSB "59 ".
  QsoDetailFields f;
  f.modes = {"CW", "SSB"};
  f.sent_report = "59";
  QsoDetailModel m(f);
  m.SelectMode(0);
  m.SelectMode(1);
  EXPECT_EQ(m.fields().sent_report, "59 ");
}

TEST(QsoDetailRules, FrequencyTextAndValue) {
  const struct {
    std::string text;
    double mhz;
  } read[] = {{"145,3", 145.3}, {"3.575", 3.575}, {" 430 ", 430}, {"+7,1", 7.1}, {"", 0}, {"abc", 0}, {",", 0}};
  for (const auto& c : read) EXPECT_DOUBLE_EQ(DetailFrequencyValue(c.text), c.mhz) << c.text;
  EXPECT_EQ(DetailFrequencyText(3.575), "3,5750");
  EXPECT_EQ(DetailFrequencyText(0), "");
}

TEST(QsoDetailRules, FrequencyAndBandFollowEachOther) {
  QsoDetailFields f;
  f.band_codes = {kBand80, kBand2, kBand70};
  f.band_names = {"80 m", "2 m", "70 cm"};
  f.band_index = 0;
  f.frequency = "145,3";
  QsoDetailModel m(f);
  m.LeaveFrequency();
  EXPECT_EQ(m.SelectedBand(), kBand2) << "the frequency lies in 2 m";
  EXPECT_EQ(m.fields().frequency, "145,3");

  m.SelectBand(1);
  EXPECT_EQ(m.fields().frequency, "145,3") << "already in the band";
  m.SelectBand(2);
  EXPECT_EQ(m.fields().frequency, "430,0000") << "the band's default frequency";

  m.fields().frequency = "14,2";  // 20 m: not a band of the contest
  m.LeaveFrequency();
  EXPECT_EQ(m.SelectedBand(), kBand70);
  m.fields().frequency = "";
  m.LeaveFrequency();
  EXPECT_EQ(m.SelectedBand(), kBand70);
}

}  // namespace
}  // namespace kontura
