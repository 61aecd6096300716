// The entry mask: reading typed texts into the QSO record, the Enter flow
// and the save conditions under the header's options, saving with its call
// history, and faults that would lose or spoil a QSO: a new QSO inheriting
// a stored one, a failed add, a locator overwritten, a band outside the
// contest, a clock writing where it should not.

#include <gtest/gtest.h>

#include "logging/call_book.h"
#include "logging/mask_text.h"
#include "logging/points.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/log_fixture.h"

namespace kontura::testing {
namespace {

using F = MaskField;

class QsoEntryTest : public LogTest {};

TEST_F(QsoEntryTest, CallTextIsTrimmedBeforeSlashesReplaceBlanksAndDashes) {
  struct Case {
    const char* typed;
    const char* stored;
  } cases[] = {
      {" DL1ABC ", "DL1ABC"},      // replacing blanks before trimming gives "/DL1ABC/"
      {"\tDK2XY\t", "DK2XY"},      //
      {"DL1ABC-P", "DL1ABC/P"},    //
      {"DL1 ABC", "DL1/ABC"},      //
      {"DL1ABC#", "DL1ABC/p"},     //
      {"DL1ABCDEFGHIJ", "DL1ABCDEFGHI"},  // cut to 12
      {"DL1ABCDEFGH#", "DL1ABCDEFGH/"},   // "/p" appended, then cut to 12
  };
  for (const Case& c : cases) EXPECT_EQ(StoredCallText(c.typed), c.stored) << '"' << c.typed << '"';
}

TEST_F(QsoEntryTest, ReadsDatesTimesAndReportsAsTyped) {
  ctx.Options.AutoDate = false;
  ctx.Options.AutoTime = false;
  QsoEntry& e = Entry();
  struct TimeCase {
    const char* typed;
    int32_t seconds;
  } times[] = {{"930", SecondsOf(9, 30, 0)},    {"1234", SecondsOf(12, 34, 0)}, {"9.30", SecondsOf(9, 30, 0)},
               {"9:30", SecondsOf(9, 30, 0)},   {"12:34", SecondsOf(12, 34, 0)}, {"12:34:56", SecondsOf(12, 34, 56)},
               {"2561", -1},                     {"", -1},                       {"ab", -1}};
  for (const TimeCase& c : times) {
    e.mask()[F::kTime].text = c.typed;
    e.ReadMask();
    EXPECT_EQ(e.record().QsoTime(), c.seconds) << c.typed;
  }
  struct DateCase {
    const char* typed;
    int32_t day;
  } dates[] = {{"07.03.2026", DayNumber(7, 3, 2026)}, {"7.3.26", DayNumber(7, 3, 2026)}, {"07032026", DayNumber(7, 3, 2026)},
               {"12509", DayNumber(12, 5, 2009)},    {"31.02.2026", -1}, {"", -1}};
  for (const DateCase& c : dates) {
    e.mask()[F::kDate].text = c.typed;
    e.ReadMask();
    EXPECT_EQ(e.record().QsoDate(), c.day) << c.typed;
  }
  struct ReportCase {
    const char* mode;
    const char* typed;
    const char* exchange;
  } reports[] = {{"CW", "59", "599"}, {"CW", "5", "5  "}, {"SSB", "599", "59 "}, {"FM", "57", "57 "}};
  for (const ReportCase& c : reports) {
    e.record().SetMode(c.mode);
    e.mask()[F::kRecvReport].text = c.typed;
    e.mask()[F::kRecv2].text = "";
    e.mask()[F::kRecv3].text = "";
    e.ReadMask();
    EXPECT_EQ(e.record().RecvExchange(), c.exchange) << c.mode << " " << c.typed;
  }
}

TEST_F(QsoEntryTest, LocatorFieldByLength) {
  QsoEntry& e = Entry();
  e.mask().focus = F::kRecv3;
  struct Case {
    const char* before;  // locator stored before
    const char* typed;
    const char* locator;
    bool distance;      // non-zero distance expected
    bool message;
  } cases[] = {
      {"JO40HC", "", "", false, false},             // emptied: locator and points go
      {"JO40HC", "JO6", "JO40HC", true, false},     // 3 characters: accepted, not stored
      {"", "JO40", "JO40", true, false},            // a square is measured to its middle
      {"", "JO40HC", "JO40HC", true, false},        //
      {"", "JO62QM", "JO62QM", false, false},       // own square: 0 km
      {"", "JO40HC7", "JO40HC", true, false},       // the first 6 characters count
      {"JO40HC", "SO40", "JO40HC", false, true},    // S lies beyond R
  };
  for (const Case& c : cases) {
    platform.dialogs.messages.clear();
    e.record().SetLocator(c.before);
    UpdateDistance(e.record(), kOwnLocator);
    e.Type(F::kRecv3, c.typed);
    EXPECT_EQ(e.record().Locator(), c.locator) << c.typed;
    EXPECT_EQ(e.record().Distance() != 0, c.distance) << c.typed;
    EXPECT_EQ(!platform.dialogs.messages.empty(), c.message) << c.typed;
    if (c.message) {
      EXPECT_EQ(platform.dialogs.messages.back(), kLocatorError);
    }
  }
  // Without the focus the wrong text is read silently.
  platform.dialogs.messages.clear();
  e.mask().focus = F::kRecv2;
  e.mask()[F::kRecv3].text = "SO40";
  e.ReadMask();
  EXPECT_TRUE(platform.dialogs.messages.empty());
}

TEST_F(QsoEntryTest, TypingDropsBlanksInReceivedFieldsAndLimitsFieldTwo) {
  QsoEntry& e = Entry();
  e.mask().focus = F::kRecv2;
  e.Type(F::kRecv2, "0 4 2");
  EXPECT_EQ(e.mask()[F::kRecv2].text, "042");
  // Received field 2 stops at 10 characters: a longer text would push the
  // locator beyond the 20 characters of the stored exchange.
  e.Type(F::kRecv2, "123456789012345");
  e.mask()[F::kRecv3].text = "JO40HC";
  e.ReadMask();
  EXPECT_EQ(e.mask()[F::kRecv2].text, "1234567890");
  EXPECT_EQ(e.record().RecvExchange(), "5991234567890/JO40HC");
  EXPECT_EQ(SplitExchange(e.record().RecvExchange()).field3, "JO40HC");
}

// Drives the Enter key through the mask and records the fields it visits.
struct FlowCase {
  const char* name;
  bool auto_date, auto_time, sent_free, rcvd_free;
  std::vector<F> path;  // focus after each Enter, starting in the call field
};

TEST_F(QsoEntryTest, EnterFlowAndTheFieldThatSaves) {
  const FlowCase cases[] = {
      {"automatic, fixed reports", true, true, false, false, {F::kRecv2, F::kRecv3}},
      {"time typed", true, false, false, false, {F::kRecv2, F::kRecv3, F::kTime}},
      {"date and time typed", false, false, false, false, {F::kRecv2, F::kRecv3, F::kTime}},
      {"free reports", true, true, true, true, {F::kSentReport, F::kRecvReport, F::kRecv2, F::kRecv3}},
  };
  for (const FlowCase& c : cases) {
    SCOPED_TRACE(c.name);
    ctx.Options.AutoDate = c.auto_date;
    ctx.Options.AutoTime = c.auto_time;
    ctx.Options.RstSentFree = c.sent_free;
    ctx.Options.RstRcvdFree = c.rcvd_free;
    QsoEntry& e = Entry();
    const size_t stored = Records().size();
    if (!c.auto_date) e.mask()[F::kDate].text = "07.03.2026";
    const std::string call = "G4A" + std::string(1, static_cast<char>('A' + stored));
    e.Type(F::kCall, call);
    for (size_t i = 0; i < c.path.size(); ++i) {
      e.PressEnter();
      ASSERT_EQ(Records().size(), stored) << "nothing is stored before the last field";
      ASSERT_EQ(e.mask().focus, c.path[i]) << "Enter " << i + 1;
      if (c.path[i] == F::kRecv2) e.Type(F::kRecv2, "042");
      if (c.path[i] == F::kRecv3) e.Type(F::kRecv3, "IO91WM");
      if (c.path[i] == F::kTime) e.Type(F::kTime, "1015");
    }
    e.PressEnter();
    ASSERT_EQ(Records().size(), stored + 1);
    const QsoRecord q = Records().back();
    EXPECT_EQ(q.Call(), call);
    EXPECT_EQ(q.RecvExchange(), "599042/IO91WM");
    EXPECT_EQ(q.QsoTime(), c.auto_time ? SecondsOf(11, 0, 0) : SecondsOf(10, 15, 0));
    EXPECT_EQ(q.QsoDate(), DayNumber(7, 3, 2026));
    EXPECT_GT(q.Points(), 0);
    EXPECT_EQ(e.mask().focus, F::kCall) << "a new QSO is prepared";
    EXPECT_EQ(e.mask()[F::kCall].text, "");
  }
}

TEST_F(QsoEntryTest, QthSavesOnlyWhileTheTimeIsHidden) {
  for (bool auto_time : {true, false}) {
    ctx.Options.AutoTime = auto_time;
    QsoEntry& e = Entry();
    const size_t stored = Records().size();
    e.mask().ToggleNameQth();
    e.mask()[F::kCall].text = auto_time ? "G4AAA" : "G4BBB";
    e.mask()[F::kTime].text = "10:15";
    e.LeaveField(F::kCall);
    e.mask().focus = F::kQth;
    e.Type(F::kQth, "london");
    e.PressEnter();
    EXPECT_EQ(Records().size(), stored + (auto_time ? 1 : 0)) << auto_time;
    if (!auto_time) {
      EXPECT_EQ(e.mask().focus, F::kTime);
      e.PressEnter();
      EXPECT_EQ(Records().size(), stored + 1);
    }
  }
}

TEST_F(QsoEntryTest, IncompleteQsosAreNotStored) {
  struct Case {
    const char* call;
    const char* time;
  } cases[] = {
      {"DL1", "1015"},     // a D call needs 4 characters
      {"12ABC", "1015"},   // two leading digits
      {"ABC1D", "1015"},   // three leading letters
      {"G4ABC", "0000"},   // midnight is not a time > 0
      {"G4ABC", "xx"},     //
      {"", "1015"},
  };
  ctx.Options.AutoTime = false;
  QsoEntry& e = Entry();
  for (const Case& c : cases) {
    e.NewQso();
    e.mask()[F::kCall].text = c.call;
    e.mask()[F::kTime].text = c.time;
    EXPECT_EQ(e.Save(false), SaveResult::kIncomplete) << c.call << " " << c.time;
    EXPECT_EQ(e.mask()[F::kCall].text, c.call) << "the mask is kept";
  }
  EXPECT_TRUE(Records().empty());
  EXPECT_TRUE(platform.dialogs.messages.empty()) << "no message for an incomplete QSO";
}

TEST_F(QsoEntryTest, HashAppendsPortableAndActsAsEnter) {
  QsoEntry& e = Entry();
  e.Type(F::kCall, "DL1ABC");
  e.PressHash();
  EXPECT_EQ(e.record().Call(), "DL1ABC/p");
  EXPECT_EQ(e.mask().focus, F::kRecv2);
  e.mask().focus = F::kCall;
  e.PressHash();
  EXPECT_EQ(e.mask()[F::kCall].text, "DL1ABC/p") << "never twice";
}

TEST_F(QsoEntryTest, QslToggleAndNumpadFocus) {
  QsoEntry& e = Entry();
  EXPECT_EQ(e.mask().qsl_label, "&QSL senden: nein");
  e.ToggleQsl();
  EXPECT_EQ(e.session().QslSendFlag, 'Y');
  EXPECT_EQ(e.mask().qsl_label, "&QSL senden: ja");
  e.session().QslSendFlag = 'j';
  e.ToggleQsl();
  EXPECT_EQ(e.session().QslSendFlag, 'N');
  e.FocusReceived(2);
  EXPECT_EQ(e.mask().focus, F::kRecv3);
  e.FocusReceived(3);  // field 4 is hidden in this contest
  EXPECT_EQ(e.mask().focus, F::kRecv3);
}

TEST_F(QsoEntryTest, MaskCaptionsAndLabelsOfFixedFields) {
  QsoEntry& e = Entry();
  EXPECT_EQ(e.mask()[F::kRecv2].caption, "&1 : Teiln.Nr.");
  EXPECT_EQ(e.mask()[F::kRecv3].caption, "&2 : LOC");
  EXPECT_EQ(e.mask()[F::kCall].caption, "QSO-Partner");
  EXPECT_FALSE(e.mask().Shown(F::kSent2));
  EXPECT_FALSE(e.mask().Shown(F::kRecv4));
  EXPECT_EQ(e.mask().sent_report_label, "599");
  EXPECT_EQ(e.mask().sent_exchange_label, "00042/JO62QM");
  EXPECT_EQ(e.mask().time_label, "11:00:00");
  EXPECT_EQ(e.mask().date_label, "07.03.2026");
  ctx.Options.RstSentUnlocked = true;
  QsoEntry& unlocked = Entry();
  EXPECT_TRUE(unlocked.mask().Shown(F::kSent2));
  EXPECT_TRUE(unlocked.mask().Shown(F::kSent3));
  EXPECT_EQ(unlocked.mask()[F::kSent3].text, "JO62QM");
}

TEST_F(QsoEntryTest, StartModeFromTheHeader) {
  struct Case {
    bool ssb, fm, pr;
    const char* mode;
  } cases[] = {{false, false, false, "CW"}, {true, false, false, "SSB"}, {false, true, false, "FM"},
               {false, false, true, "CW"}};  // PR is no mode of this contest: the first mode stays
  for (const Case& c : cases) {
    ctx.Options.StartSsb = c.ssb;
    ctx.Options.StartFm = c.fm;
    ctx.Options.StartPr = c.pr;
    EXPECT_EQ(Entry().session().CurrentMode, c.mode);
  }
}

TEST_F(QsoEntryTest, SavedQsoCarriesNumbersClockAndCallHistory) {
  QsoEntry& e = Entry();
  e.mask().ToggleNameQth();
  e.Type(F::kCall, "DL1ABC/P");
  e.LeaveField(F::kCall);
  e.Type(F::kRecv2, "042");
  e.Type(F::kRecv3, "JO40HC");
  e.Type(F::kName, "hans-peter");
  e.Type(F::kQth, "bad vilbel");
  platform.clock.Set(2026, 3, 7, 12, 5, 30);  // the stored time is the moment of saving
  e.mask().focus = F::kQth;
  e.PressEnter();
  ASSERT_EQ(Records().size(), 1u);
  const QsoRecord q = Records()[0];
  EXPECT_EQ(q.QsoTime(), SecondsOf(11, 5, 30));
  EXPECT_EQ(q.QsoNo(), 1);
  EXPECT_EQ(q.BandSerial(), 1);
  EXPECT_EQ(q.BandSerial2(), 1);
  EXPECT_EQ(q.ModeSerial(), 1);
  EXPECT_EQ(q.NameQth(), "Hans-Peter;Bad vilbel");
  EXPECT_EQ(q.SentExchange(), "59900042/JO62QM");
  EXPECT_EQ(q.QslSent(), 'N');
  EXPECT_EQ(q.Dxcc(), "DL");
  EXPECT_EQ(session.Totals.BandQsos[kBand80], 1);
  EXPECT_EQ(session.Totals.BandPoints[kBand80], q.Points());
  EXPECT_EQ(session.Totals.NextNumber, 2);

  // The call book learned the base call with name and QTH.
  Fileblock* book = CatalogueHandle(CatalogueId::kFhcbuch);
  book->FindExact(1, "DL1ABC    ");
  ASSERT_EQ(StorageErrorClass(), 0);
  const uint8_t* rec = CatalogueRecord(CatalogueId::kFhcbuch);
  EXPECT_EQ(GetCallbookField(4, rec), "Hans-Peter");
  EXPECT_EQ(GetCallbookField(15, rec), "Bad vilbel");
  EXPECT_EQ(book->RecordCount(), 1);

  // The next QSO with that call on 2 m finds the name in the call book.
  e.SelectBand(kBand2);
  e.Type(F::kCall, "DL1ABC");
  e.LeaveField(F::kCall);
  EXPECT_EQ(e.mask().partner_caption, "Hans-Peter");
  EXPECT_EQ(e.mask()[F::kName].text, "Hans-Peter");
}

TEST_F(QsoEntryTest, CallBookNamesComeInWindowsLetters) {
  Fileblock* book = CatalogueHandle(CatalogueId::kFhcbuch);
  book->ClearBuffer();
  uint8_t* rec = CatalogueRecord(CatalogueId::kFhcbuch);
  SetCallbookCall(rec, "DK2XY");
  SetCallbookField(4, "J\x81rgen \xE1\x94\xFB", rec);
  SetCallbookField(15, "M\x81nchen", rec);  // the QTH is taken as stored
  book->AddRecord();
  ASSERT_EQ(StorageErrorClass(), 0);
  const PartnerInfo p = LookUpPartner("DK2XY");
  EXPECT_EQ(p.name, "J\xFCrgen \xDF\xF6Y");
  EXPECT_EQ(p.qth, "M\x81nchen");
}

// --- Faults an entry could easily have, one test each ----------------------

TEST_F(QsoEntryTest, NewQsoInheritsNothingOfAStoredQso) {
  QsoRecord old;
  old.SetCall("DL9OLD");
  old.SetBand(kBand80);
  old.SetMode("CW");
  old.SetQsoDate(DayNumber(7, 3, 2026));
  old.SetQsoTime(SecondsOf(10, 0, 0));
  old.SetQsoNo(5);
  old.SetBandSerial(5);
  old.SetBandSerial2(5);
  old.SetModeSerial(5);
  old.SetDistance(321);
  old.SetLocator("JO40HC");
  old.SetNameQth("Otto;Bonn");
  old.SetDistrictCode("F12");
  old.CopyTo(TheLog()->RecordBuffer());
  TheLog()->AddRecord();
  QsoEntry& e = Entry();
  const QsoRecord& r = e.record();
  EXPECT_EQ(r.QsoNo(), 6);
  EXPECT_EQ(r.Distance(), 0);
  EXPECT_EQ(r.Locator(), "");
  EXPECT_EQ(r.NameQth(), "");
  EXPECT_EQ(r.Dok(), "");
  EXPECT_EQ(r.RecordNo(), 0);
  EXPECT_EQ(e.mask()[F::kName].text, "");
}

TEST_F(QsoEntryTest, FailedAddKeepsTheQsoAndCountsNothing) {
  QsoEntry& e = Entry();
  e.Type(F::kCall, "G4ABC");
  e.LeaveField(F::kCall);
  e.Type(F::kRecv3, "IO91WM");
  FaultyFileSystem full;
  full.write_budget = 0;
  SetStorageFileSystem(&full);
  // Close and reopen so that the log's files go through the full disk.
  CloseFHLK();
  ASSERT_TRUE(OpenFHLK(kContest));
  const SaveResult result = e.Save(false);
  SetStorageFileSystem(nullptr);
  EXPECT_EQ(result, SaveResult::kAddFailed);
  EXPECT_EQ(platform.dialogs.messages.back(), kAddFailed);
  EXPECT_EQ(e.mask()[F::kCall].text, "G4ABC") << "the QSO stays in the mask";
  EXPECT_EQ(e.record().QsoTime(), SecondsOf(11, 0, 0)) << "the retries' extra seconds are not kept";
  EXPECT_EQ(session.Totals.BandQsos[kBand80], 0);
  EXPECT_EQ(session.Totals.NextNumber, 1);
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhcbuch)->RecordCount(), 0) << "no call history";
  CloseFHLK();
  ASSERT_TRUE(OpenFHLK(kContest));
  EXPECT_TRUE(Records().empty());
}

TEST_F(QsoEntryTest, CallBookLocatorDoesNotOverwriteATypedLocator) {
  Fileblock* book = CatalogueHandle(CatalogueId::kFhcbuch);
  for (const char* call : {"DL1ABC", "DK2XY"}) {
    book->ClearBuffer();
    SetCallbookCall(CatalogueRecord(CatalogueId::kFhcbuch), call);
    SetCallbookField(7, call[1] == 'L' ? "JO40HC" : "JN58TD", CatalogueRecord(CatalogueId::kFhcbuch));
    book->AddRecord();
  }
  QsoEntry& e = Entry();
  e.Type(F::kCall, "DL1ABC");
  e.LeaveField(F::kCall);
  EXPECT_EQ(e.mask()[F::kRecv3].text, "JO40HC") << "an empty field takes the preset";
  EXPECT_EQ(e.record().Locator(), "JO40HC");
  // The call changes: a field still holding the preset takes the new one.
  e.mask().focus = F::kCall;
  e.Type(F::kCall, "DK2XY");
  e.LeaveField(F::kCall);
  EXPECT_EQ(e.mask()[F::kRecv3].text, "JN58TD");
  // A typed locator stays, also when the call changes again.
  e.mask().focus = F::kRecv3;
  e.Type(F::kRecv3, "JO31NF");
  e.LeaveField(F::kRecv3);
  e.mask().focus = F::kCall;
  e.Type(F::kCall, "DL1ABC");
  e.LeaveField(F::kCall);
  EXPECT_EQ(e.mask()[F::kRecv3].text, "JO31NF");
  EXPECT_EQ(e.record().Locator(), "JO31NF");
  // Leaving the unchanged call again presets nothing.
  e.LeaveField(F::kCall);
  EXPECT_EQ(e.record().Locator(), "JO31NF");
}

TEST_F(QsoEntryTest, FrequencyOutsideTheContestKeepsTheBand) {
  QsoEntry& e = Entry();
  e.mask().ToggleNameQth();
  struct Case {
    const char* typed;
    char band;
    float mhz;
  } cases[] = {
      {"14200", kBand80, 3.5f},     // 20 m is no band of the contest: 80 m stays
      {"3550", kBand80, 3.55f},     // kHz
      {"144300", kBand2, 144.3f},   // another band of the contest: the band follows
      {"2", kBand2, 144.0f},        // a wavelength
      {"999999", kBand2, 144.0f},   // no band at all
      {"432.2", kBand70, 432.2f},
      {"", kBand70, 430.0f},
  };
  for (const Case& c : cases) {
    e.mask().focus = F::kFrequency;
    e.Type(F::kFrequency, c.typed);
    e.LeaveField(F::kFrequency);
    EXPECT_EQ(session.CurrentBand, c.band) << c.typed;
    EXPECT_FLOAT_EQ(e.record().Frequency(), c.mhz) << c.typed;
    EXPECT_EQ(e.record().Band(), c.band) << c.typed;
  }
}

TEST_F(QsoEntryTest, ClockWritesOnlyTheMaskAndStopsWhilePaused) {
  QsoEntry& e = Entry();
  Store("DL1OLD", kBand80, "CW", SecondsOf(9, 0, 0));
  TheLog()->First(4);
  const QsoRecord buffer_before = LogRecord();
  platform.clock.Set(2026, 3, 7, 12, 30, 0);
  e.Tick();
  EXPECT_EQ(e.record().QsoTime(), SecondsOf(11, 30, 0));
  EXPECT_EQ(e.mask()[F::kTime].text, "11:30:00");
  EXPECT_EQ(LogRecord().QsoTime(), buffer_before.QsoTime()) << "the log's buffer is untouched";
  e.PauseClock(true);
  platform.clock.Set(2026, 3, 7, 12, 45, 0);
  e.Tick();
  EXPECT_EQ(e.record().QsoTime(), SecondsOf(11, 30, 0));
  // The offset crosses midnight backwards.
  e.PauseClock(false);
  platform.clock.Set(2026, 3, 8, 0, 30, 0);
  e.Tick();
  EXPECT_EQ(e.record().QsoDate(), DayNumber(7, 3, 2026));
  EXPECT_EQ(e.record().QsoTime(), SecondsOf(23, 30, 0));
}

}  // namespace
}  // namespace kontura::testing
