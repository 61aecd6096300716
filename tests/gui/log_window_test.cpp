// The logging window driven through its widgets and keys: typing QSOs,
// duplicates, band and mode choice, the list mode, opening on the band of
// the last entry, closing into the contest header, and the mask's QSO
// surviving what the list does with the log's shared record buffer.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/storage_setup.h"
#include "contest/contest_definition.h"
#include "contest/contest_header.h"
#include "contest/contest_totals_store.h"
#include "logging/log_access.h"
#include "logging/log_window.h"
#include "logging/qso_correction.h"
#include "logging/qso_record.h"
#include "logging/qt/log_window.h"
#include "platform/program_settings.h"
#include "platform/qt/qt_text.h"
#include "refdata/suite_settings.h"
#include "storage/backup.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"
#include "tests/support/dummy_rig_daemon.h"
#include "tests/support/log_fixture.h"
#include "tests/support/modal_scripts.h"
#include "tests/support/scoped_program_settings.h"
#include "tests/support/start_dir_fixture.h"
#include "text/calendar.h"
#include "text/text_util.h"
#include "ui/qt/fk_brow.h"
#include "ui/qt/fk_edit.h"

namespace kontura::testing {
namespace {

struct HeaderOptions {
  bool auto_date_time = true;
  bool rst_free = false;
};

class LogWindowTest : public StartDirTest {
 protected:
  void SetUp() override {
    StartDirTest::SetUp();
    // Local 12:00 in winter; the offset -1 gives 11:00 UTC.
    platform.clock.Set(2026, 3, 7, 12, 0, 0);
    ASSERT_TRUE(StartStorage());
    SetFatalStorageHandler([this] { fatal_codes.push_back(StorageErrorCode()); });
    TheSuiteSettings() = SuiteSettings{};
    TheSuiteSettings().OwnCall = "DL1ABC";
    TheSuiteSettings().OwnLocator = kOwnLocator;
    TheSuiteSettings().TimeOffsetHours = -1;
    // The main window keeps the contest files open for the whole run.
    ASSERT_TRUE(OpenFHKK());
    ASSERT_TRUE(OpenFHKZ());
    FillContestDefinition(def, {DayNumber(7, 3, 2026), 42, kOwnLocator}, platform.clock);
  }

  void TearDown() override {
    window.reset();
    StartDirTest::TearDown();
  }

  void AddContest(const HeaderOptions& o = {}) {
    Fileblock* kk = CatalogueHandle(CatalogueId::kFhkk);
    kk->ClearBuffer();
    TContestHeader h(kk->RecordBuffer());
    PresetNewContest(h, kOwnLocator, "DL1ABC", kEditionCode);
    h.SetEntryName("Mobil 2026");
    h.SetAutoDate(o.auto_date_time);
    h.SetAutoTime(o.auto_date_time);
    h.SetRstSentFree(o.rst_free);
    h.SetRstRcvdFree(o.rst_free);
    kk->AddRecord();
    ASSERT_EQ(StorageErrorClass(), 0);
    contest = h.ContestNumber();
    ASSERT_TRUE(EnsureContestTotals(contest));
  }

  // Stores QSOs straight into the contest's log before the window opens.
  void StoreBefore(const std::vector<QsoRecord>& qsos) {
    ASSERT_TRUE(OpenFHLK(contest));
    for (const QsoRecord& q : qsos) {
      q.CopyTo(TheLog()->RecordBuffer());
      TheLog()->AddRecord();
      ASSERT_EQ(StorageErrorClass(), 0);
    }
    CloseFHLK();
  }

  static QsoRecord Qso(const std::string& call, char band, const std::string& mode, int32_t seconds) {
    QsoRecord q;
    q.SetCall(call);
    q.SetBand(band);
    q.SetMode(mode);
    q.SetQsoDate(DayNumber(7, 3, 2026));
    q.SetQsoTime(seconds);
    q.SetSentExchange("59 042/JO62QM");
    q.SetRecvExchange("59 017/JO50AA");
    return q;
  }

  void Open() {
    window = std::make_unique<TContestLogStd>(contest, def, prefixes);
    ASSERT_TRUE(window->FormCreate());
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QApplication::processEvents();
  }

  template <typename W>
  W* Child(const char* name) {
    W* c = window->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  std::string Text(const char* label) { return FromQString(Child<QLabel>(label)->text()); }

  // The key goes to the widget that has the focus, as the operator's would.
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key, mods);
  }
  // Types over whatever the field holds.
  void TypeInto(const char* field, const std::string& text) {
    TfkEdit* e = Child<TfkEdit>(field);
    e->setFocus();
    QApplication::processEvents();
    e->selectAll();
    QTest::keyClicks(e, QString::fromLatin1(text.c_str()));
  }
  // The call of the QSO the list stands on.
  std::string ListCall() {
    if (!window->List()->ReadCurrent()) return "(none)";
    return LogRecord().Call();
  }
  // Call, participant number and locator, each left by Enter.
  void LogQso(const std::string& call, const std::string& number, const std::string& locator) {
    TypeInto("eCall", call);
    FinishQso(number, locator);
  }
  // From the call field on: Enter, number, Enter, locator, Enter.
  void FinishQso(const std::string& number, const std::string& locator) {
    Key(Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(number.c_str()));
    Key(Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(locator.c_str()));
    Key(Qt::Key_Return);
  }

  std::vector<QsoRecord> Log() {
    std::vector<QsoRecord> all;
    SavedLogBuffer saved;
    for (TheLog()->First(4); StorageErrorClass() == 0; TheLog()->Next(4)) all.push_back(LogRecord());
    return all;
  }

  bool Enabled(const char* button) { return Child<QWidget>(button)->isEnabled(); }

  TContestDefinition def;
  int32_t contest = 0;
  SmallPrefixTable prefixes;
  std::unique_ptr<TContestLogStd> window;
  std::vector<int> fatal_codes;
};

TEST_F(LogWindowTest, OpensWithCaptionOwnCallAndAnEmptyList) {
  AddContest();
  Open();
  EXPECT_EQ(FromQString(window->windowTitle()), "DL1ABC  Logbuch (Contest : Mobil 2026 )");
  EXPECT_EQ(Text("lNextNumber"), "1");
  EXPECT_EQ(Text("lBand"), "80 m");
  EXPECT_EQ(Text("lMode"), "CW");
  EXPECT_EQ(Text("lListCaption"), kListBarEntry);
  EXPECT_EQ(QApplication::focusWidget(), Child<TfkEdit>("eCall"));
  EXPECT_TRUE(Child<QLabel>("lContestBeenden")->isVisible());
  EXPECT_TRUE(Child<QPushButton>("btnImport")->isVisible());
  // The list has one order and no quick search.
  EXPECT_FALSE(window->List()->findChild<QWidget*>(QStringLiteral("eSuch"))->isVisible());
  EXPECT_FALSE(window->List()->findChild<QWidget*>(QStringLiteral("cbSort"))->isVisible());
}

// Typing three QSOs with the date and time from the clock, and with both
// typed by the operator.
TEST_F(LogWindowTest, TypedQsosAreStoredCountedAndListed) {
  struct Case {
    const char* label;
    bool auto_date_time;
    int32_t expected_time;
  };
  for (const Case& c : {Case{"clock", true, 11 * 3600}, Case{"typed", false, 12 * 3600 + 5 * 60}}) {
    SCOPED_TRACE(c.label);
    AddContest({c.auto_date_time});
    Open();
    EXPECT_EQ(Child<TfkEdit>("eUTC")->isVisible(), !c.auto_date_time);
    EXPECT_EQ(Child<QLabel>("lUTCWert")->isVisible(), c.auto_date_time);
    const char* calls[] = {"DL1AAA", "DL2BBB", "DK3CCC"};
    const char* times[] = {"1205", "1206", "1207"};
    for (int i = 0; i < 3; ++i) {
      if (!c.auto_date_time) TypeInto("eDatum", "07.03.2026");
      LogQso(calls[i], "17", "JO50AA");
      if (!c.auto_date_time) {
        ASSERT_EQ(QApplication::focusWidget(), Child<TfkEdit>("eUTC"));
        TypeInto("eUTC", times[i]);
        Key(Qt::Key_Return);
      }
    }
    const std::vector<QsoRecord> log = Log();
    ASSERT_EQ(log.size(), 3u);
    for (size_t i = 0; i < log.size(); ++i) {
      EXPECT_EQ(log[i].Call(), calls[i]);
      EXPECT_EQ(log[i].QsoNo(), static_cast<int32_t>(i) + 1);
      EXPECT_EQ(log[i].Band(), kBand80);
      EXPECT_EQ(log[i].QsoDate(), DayNumber(7, 3, 2026));
      EXPECT_EQ(log[i].QsoTime(), c.expected_time + (c.auto_date_time ? 0 : 60 * static_cast<int32_t>(i)));
      EXPECT_EQ(log[i].Locator(), "JO50AA");
      EXPECT_GT(log[i].Points(), 0);
    }
    EXPECT_EQ(Text("lNextNumber"), "4");
    EXPECT_EQ(TrimBlanks(Text("lBandQsos1")), "3");
    EXPECT_EQ(Text("lTotalQsos"), "3 QSO");
    EXPECT_EQ(Child<TfkEdit>("eCall")->text(), QString());
    EXPECT_EQ(QApplication::focusWidget(), Child<TfkEdit>("eCall"));
    EXPECT_EQ(ListCall(), "DK3CCC") << "the list stands on the newest QSO";
    window->close();
    window.reset();
  }
  EXPECT_TRUE(fatal_codes.empty());
}

TEST_F(LogWindowTest, DuplicateOnTheSameBandIsNotStored) {
  AddContest();
  Open();
  LogQso("DL1AAA", "17", "JO50AA");
  const size_t messages = platform.dialogs.messages.size();
  LogQso("DL1AAA", "18", "JO50AB");
  EXPECT_GT(platform.dialogs.messages.size(), messages) << "the duplicate is reported";
  EXPECT_EQ(Log().size(), 1u);
  EXPECT_EQ(Text("lNextNumber"), "2");
}

// Three bands: F8 opens the list at the current band; Enter chooses, Esc
// closes it and leaves band and mask alone.
TEST_F(LogWindowTest, F8OpensTheBandListWithThreeBands) {
  AddContest();
  Open();
  TypeInto("eCall", "DL1AAA");
  Key(Qt::Key_F8);
  QListWidget* bands = Child<QListWidget>("lbBand");
  ASSERT_TRUE(bands->isVisible());
  EXPECT_EQ(bands->count(), 3);
  EXPECT_EQ(bands->currentRow(), 0);
  Key(Qt::Key_Escape);
  EXPECT_FALSE(bands->isVisible());
  EXPECT_EQ(Text("lBand"), "80 m");
  EXPECT_EQ(Child<TfkEdit>("eCall")->text(), QStringLiteral("DL1AAA")) << "Esc closed the list only";

  Key(Qt::Key_F8);
  Key(Qt::Key_Down);
  Key(Qt::Key_Return);
  EXPECT_FALSE(bands->isVisible());
  EXPECT_EQ(Text("lBand"), "2 m");
  EXPECT_EQ(window->Model().session().CurrentBand, kBand2);
  EXPECT_EQ(QApplication::focusWidget(), Child<TfkEdit>("eCall"));
  FinishQso("17", "JO50AA");  // the next QSO goes onto the new band
  ASSERT_EQ(Log().size(), 1u);
  EXPECT_EQ(Log()[0].Band(), kBand2);
  EXPECT_EQ(Log()[0].BandSerial(), 1);
}

TEST_F(LogWindowTest, F8TogglesBetweenTwoBandsWithoutAList) {
  AddContest();
  def.BandCodes = {};
  def.BandCodes[0] = kBand80;
  def.BandCodes[1] = kBand2;
  Open();
  Key(Qt::Key_F8);
  EXPECT_FALSE(Child<QListWidget>("lbBand")->isVisible());
  EXPECT_EQ(Text("lBand"), "2 m");
  Key(Qt::Key_F8);
  EXPECT_EQ(Text("lBand"), "80 m");
}

// F7: the mode list; the fixed reports follow the new mode.
TEST_F(LogWindowTest, F7ChangesTheModeAndPresetsTheReports) {
  AddContest();
  Open();
  EXPECT_EQ(Text("lRSTsWert"), "599");
  Key(Qt::Key_F7);
  QListWidget* modes = Child<QListWidget>("lbMode");
  ASSERT_TRUE(modes->isVisible());
  EXPECT_EQ(modes->currentItem()->text(), QStringLiteral("CW"));
  modes->setCurrentRow(1);
  Key(Qt::Key_Return);
  EXPECT_FALSE(modes->isVisible());
  EXPECT_EQ(Text("lMode"), "SSB");
  EXPECT_EQ(Text("lRSTsWert"), "59 ");
  EXPECT_EQ(Text("lRSTrWert"), "59 ");
  LogQso("DL1AAA", "17", "JO50AA");
  ASSERT_EQ(Log().size(), 1u);
  EXPECT_EQ(Log()[0].Mode(), "SSB");
  EXPECT_EQ(Log()[0].SentExchange().substr(0, 3), "59 ");
}

// F5 moves into the list: the caption bar says how to get back, and only
// the list's buttons (and keys) act; Esc returns to the mask.
TEST_F(LogWindowTest, F5ListModeAndEscBack) {
  AddContest();
  StoreBefore({Qso("DL1AAA", kBand80, "CW", 9 * 3600)});
  Open();
  TypeInto("eCall", "DL2B");
  Key(Qt::Key_F5);
  EXPECT_EQ(Text("lListCaption"), kListBarList);
  for (const char* b : {"btnAendern", "btnLoeschen", "btnBandlog"}) EXPECT_TRUE(Enabled(b)) << b;
  for (const char* b : {"btnClear", "btnMode", "btnBand", "btnListe", "btnKorrektur", "btnCallsuche", "btnNotiz",
                        "btnNameQth"}) {
    EXPECT_FALSE(Enabled(b)) << b;
  }
  Key(Qt::Key_F8);  // Band is disabled in the list: the key does nothing
  EXPECT_FALSE(Child<QListWidget>("lbBand")->isVisible());
  Key(Qt::Key_Escape);
  EXPECT_EQ(Text("lListCaption"), kListBarEntry);
  EXPECT_TRUE(Enabled("btnClear"));
  EXPECT_FALSE(Enabled("btnAendern"));
  EXPECT_EQ(QApplication::focusWidget(), Child<TfkEdit>("eCall"));
  EXPECT_EQ(Child<TfkEdit>("eCall")->text(), QStringLiteral("DL2B")) << "the mask keeps its QSO";
  Key(Qt::Key_Escape);
  EXPECT_EQ(Child<TfkEdit>("eCall")->text(), QString()) << "Esc in the mask clears it";
  EXPECT_TRUE(window->isVisible());
}

TEST_F(LogWindowTest, OpensOnTheBandOfTheLastEntry) {
  AddContest();
  StoreBefore({Qso("DL1AAA", kBand80, "CW", 9 * 3600), Qso("DL2BBB", kBand2, "FM", 10 * 3600)});
  Open();
  EXPECT_EQ(Text("lBand"), "2 m");
  EXPECT_EQ(window->Model().session().CurrentBand, kBand2);
  EXPECT_EQ(Text("lNextNumber"), "3");
  EXPECT_EQ(ListCall(), "DL2BBB");
}

// Closing stores the list's column widths (grid column k at header byte
// 301 + 2k) and the summary, and leaves the contest's header in the FHKK
// buffer for the catalogue to write back.
TEST_F(LogWindowTest, ClosingStoresColumnWidthsAndTheSummary) {
  AddContest();
  Open();
  LogQso("DL1AAA", "17", "JO50AA");
  LogQso("DL2BBB", "18", "JO50AB");
  auto* grid = window->List()->findChild<QTableWidget*>(QStringLiteral("grid"));
  ASSERT_NE(grid, nullptr);
  grid->setColumnWidth(3, 123);
  Child<QPushButton>("btnBeenden")->click();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(TheLog(), nullptr) << "the log is closed";
  const ConstContestHeader buffer(CatalogueRecord(CatalogueId::kFhkk));
  EXPECT_EQ(buffer.ContestNumber(), contest);
  EXPECT_EQ(buffer.ColumnWidth(4), 123);
  EXPECT_EQ(buffer.SumQso(1), 2);
  EXPECT_GT(buffer.SumPoints(1), 0);

  // The widths come back at the next opening.
  CatalogueHandle(CatalogueId::kFhkk)->ClearBuffer();
  window.reset();
  Open();
  grid = window->List()->findChild<QTableWidget*>(QStringLiteral("grid"));
  EXPECT_EQ(grid->columnWidth(3), 123);
}

// The log is backed up as it is worked: here after every second QSO (the
// program's settings file says so) and at closing, into the backup
// directory of the data directory; the status line says when.
TEST_F(LogWindowTest, EverySecondQsoAndTheClosingAreBackedUp) {
  ProgramSettings settings;
  settings.backup_every = 2;
  const ScopedProgramSettings scoped(Path("config"), settings);
  AddContest();
  Open();
  auto* status = Child<QLabel>("lBackup");
  EXPECT_TRUE(status->text().contains(QStringLiteral("noch keine"))) << status->text().toStdString();
  LogQso("DL1AAA", "17", "JO50AA");
  LogQso("DL2BBB", "18", "JO50AB");
  QTRY_VERIFY(status->text().startsWith(QStringLiteral("Letzte Sicherung")));
  // A picture of the window for a person to look at, when asked for.
  if (const char* shots = std::getenv("KONTURA_SHOTS_DIR")) {
    window->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/log-window-backup.png"));
  }
  std::vector<BackupGeneration> gens = ListBackupGenerations(Path("backup"), contest);
  ASSERT_EQ(gens.size(), 1u);
  EXPECT_EQ(gens[0].records, 2);
  LogQso("DL3CCC", "19", "JO50AC");
  Child<QPushButton>("btnBeenden")->click();
  gens = ListBackupGenerations(Path("backup"), contest);
  ASSERT_FALSE(gens.empty());
  EXPECT_EQ(gens.back().records, 3) << "the closing wrote the last backup";
}

// F11 chooses the transceiver (here hamlib's dummy rig behind rigctld) in
// the "Transceiver" window; the choice goes into the program's settings
// file beside the other settings, and from then on the mask follows the
// rig's frequency and mode, in the entry (not while the QSO list has the
// keyboard). A stopped daemon shows in the rig's status
// line while the logging goes on, and the QSO keeps the rig's frequency.
TEST_F(LogWindowTest, F11ChoosesTheRigAndTheMaskFollowsItUntilItStops) {
  if (!RigctldInstalled()) GTEST_SKIP() << "rigctld (libhamlib-utils) is missing";
  DummyRigDaemon daemon;
  ASSERT_TRUE(daemon.running());
  ASSERT_TRUE(daemon.Set("F 3573000 M CW 500"));
  ProgramSettings settings;
  settings.backup_every = 7;
  const ScopedProgramSettings scoped(Path("config"), settings);
  AddContest();
  Open();
  auto* rig = Child<QLabel>("lRig");
  EXPECT_TRUE(rig->isHidden()) << "no transceiver: no status line";

  ModalScripts modals(window.get());
  modals.scripts.push_back([&](QWidget& d) {
    d.findChild<QRadioButton*>(QStringLiteral("rbNetz"))->click();
    d.findChild<QLineEdit*>(QStringLiteral("eAdresse"))->setText(QString::fromStdString(daemon.address()));
    d.findChild<QSpinBox*>(QStringLiteral("sbAbfrage"))->setValue(100);
    d.findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
  });
  Key(Qt::Key_F11);
  EXPECT_EQ(modals.seen, std::vector<std::string>{"RigSettingsDlg"});
  const ProgramSettings stored = LoadProgramSettings(ProgramSettingsPath());
  EXPECT_EQ(stored.rig_kind, "network");
  EXPECT_EQ(stored.rig_address, daemon.address());
  EXPECT_EQ(stored.rig_poll_ms, 100);
  EXPECT_EQ(stored.backup_every, 7) << "the other settings stay";

  EXPECT_FALSE(rig->isHidden());
  QTRY_VERIFY(rig->text().contains(QStringLiteral("3.573 MHz CW")));
  EXPECT_EQ(Child<TfkEdit>("eFreq")->text().toStdString(), "3.573");

  ASSERT_TRUE(daemon.Set("F 145300000 M FM 15000"));
  QTRY_COMPARE(Text("lBand"), std::string("2 m"));
  EXPECT_EQ(Text("lMode"), "FM");
  if (const char* shots = std::getenv("KONTURA_SHOTS_DIR")) {
    window->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/log-window-rig.png"));
  }

  // In the QSO list the rig changes nothing; back in the entry the mask follows.
  Key(Qt::Key_F5);
  ASSERT_TRUE(daemon.Set("F 432200000 M USB 2400"));
  QTest::qWait(1500);  // three polls and the dial's rest
  EXPECT_EQ(Text("lBand"), "2 m");
  Key(Qt::Key_Escape);
  QTRY_COMPARE(Text("lBand"), std::string("70 cm"));
  EXPECT_EQ(Text("lMode"), "SSB");

  daemon.Stop();
  QTRY_VERIFY(rig->text().contains(QStringLiteral("antwortet nicht")));
  LogQso("DL1AAA", "17", "JO50AA");
  std::vector<QsoRecord> all;
  for (TheLog()->First(4); StorageErrorClass() == 0; TheLog()->Next(4)) all.push_back(LogRecord());
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].Band(), kBand70);
  EXPECT_NEAR(all[0].Frequency(), 432.2, 1e-3);
}

// The QSO in the mask is not the log's shared record. A 2 m QSO with hand-
// chosen entity and excluded from scoring is in the log; the operator has
// begun an 80 m QSO when a list reads the 2 m QSO into the shared buffer.
// Finishing the QSO afterwards must store it on 80 m, in the current mode,
// with nothing of the QSO the list read.
class MaskQsoTest : public LogWindowTest {
 protected:
  void SetUp() override {
    LogWindowTest::SetUp();
    AddContest();
    QsoRecord old = Qso("EA8ZZZ", kBand2, "FM", 8 * 3600);
    old.SetDxcc("EA8");
    old.SetExcluded(1);
    old.SetDxccManual(1);
    StoreBefore({old, Qso("DL1AAA", kBand80, "CW", 9 * 3600)});
    Open();
    TypeInto("eCall", "DL2BBB");
  }

  void FinishAndExpectTheTypedQso() {
    EXPECT_EQ(Child<TfkEdit>("eCall")->text(), QStringLiteral("DL2BBB"));
    EXPECT_EQ(QApplication::focusWidget(), Child<TfkEdit>("eCall"));
    FinishQso("17", "JO50AA");
    const std::vector<QsoRecord> log = Log();
    ASSERT_EQ(log.size(), 3u);
    const QsoRecord& q = log.back();
    EXPECT_EQ(q.Call(), "DL2BBB");
    EXPECT_EQ(q.Band(), kBand80);
    EXPECT_EQ(q.Mode(), "CW");
    EXPECT_EQ(q.Dxcc(), "DL");
    EXPECT_EQ(q.Excluded(), 0);
    EXPECT_EQ(q.DxccManual(), 0);
    EXPECT_EQ(q.QsyBand(), 0);
  }
};

TEST_F(MaskQsoTest, ListPagingOntoAStoredQso) {
  Key(Qt::Key_F5);
  Key(Qt::Key_Home, Qt::ControlModifier);
  ASSERT_EQ(ListCall(), "EA8ZZZ");
  Key(Qt::Key_Escape);
  FinishAndExpectTheTypedQso();
}

// F4: the search finds the 2 m QSO, Esc closes the list.
TEST_F(MaskQsoTest, CallSearchOntoAStoredQso) {
  ModalScripts modals(window.get());
  modals.scripts.push_back([](QWidget& search) {
    QTest::keyClicks(search.findChild<QLineEdit*>(QStringLiteral("eRufzeichen")), QStringLiteral("ea8zzz"));
    search.findChild<QPushButton*>(QStringLiteral("btnSuchen"))->click();
  });
  modals.scripts.push_back([](QWidget& list) {
    auto* brow = list.findChild<TfkBrow*>(QStringLiteral("brow"));
    ASSERT_TRUE(brow->ReadCurrent());
    EXPECT_EQ(LogRecord().Call(), "EA8ZZZ");
    QTest::keyClick(brow->findChild<QTableWidget*>(QStringLiteral("grid")), Qt::Key_Escape);
  });
  Key(Qt::Key_F4);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_EQ(modals.seen, (std::vector<std::string>{"SucheQE", "Korrekturstd"}));
  FinishAndExpectTheTypedQso();
}

// F12 (and Alt+W) open the correction list; after it the mask holds a new QSO.
TEST_F(LogWindowTest, CorrectionListOpensAndLeavesANewQso) {
  AddContest();
  StoreBefore({Qso("DL1AAA", kBand80, "CW", 9 * 3600)});
  Open();
  for (const auto& [key, mods] : {std::pair{Qt::Key_F12, Qt::KeyboardModifiers(Qt::NoModifier)},
                                  std::pair{Qt::Key_W, Qt::KeyboardModifiers(Qt::AltModifier)}}) {
    TypeInto("eCall", "DL2B");
    ModalScripts modals(window.get());
    std::string caption;
    modals.scripts.push_back([&caption](QWidget& list) { caption = FromQString(list.windowTitle()); });
    Key(key, mods);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(modals.seen, std::vector<std::string>{"Korrekturstd"});
    EXPECT_EQ(caption, kCorrectionCaption);
    EXPECT_EQ(Child<TfkEdit>("eCall")->text(), QString());
    EXPECT_EQ(QApplication::focusWidget(), Child<TfkEdit>("eCall"));
  }
}

// F3 in the list: the band choice first, then the band log of that band;
// afterwards the mask holds a new QSO and has the focus again.
TEST_F(LogWindowTest, BandLogAfterTheBandChoice) {
  AddContest();
  StoreBefore({Qso("DL1AAA", kBand80, "CW", 9 * 3600)});
  Open();
  Key(Qt::Key_F5);
  ModalScripts modals(window.get());
  std::string caption;
  modals.scripts.push_back([](QWidget& band) {
    auto* list = band.findChild<QListWidget*>(QStringLiteral("lbBand"));
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Return);
  });
  modals.scripts.push_back([&caption](QWidget& log) { caption = FromQString(log.windowTitle()); });
  Key(Qt::Key_F3);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_EQ(modals.seen, (std::vector<std::string>{"StdGetBand", "Korrekturstd"}));
  EXPECT_EQ(caption, kBandLogCaption);
  EXPECT_EQ(Text("lListCaption"), kListBarEntry);
  EXPECT_EQ(QApplication::focusWidget(), Child<TfkEdit>("eCall"));
}

// F6: the note gets a line with the call of the QSO in the mask, which the
// mask keeps.
TEST_F(LogWindowTest, NoteLineCarriesTheMaskCall) {
  AddContest();
  Open();
  TypeInto("eCall", "DL2BBB");
  ModalScripts modals(window.get());
  std::string first_line;
  modals.scripts.push_back([&first_line](QWidget& note) {
    const QString text = note.findChild<QPlainTextEdit*>(QStringLiteral("mNotiz"))->toPlainText();
    first_line = FromQString(text.section(QLatin1Char('\n'), 0, 0));
  });
  Key(Qt::Key_F6);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_EQ(modals.seen, std::vector<std::string>{"ContNotiz"});
  EXPECT_NE(first_line.find("DL2BBB     > "), std::string::npos) << first_line;
  EXPECT_TRUE(std::filesystem::exists(Path("Mobil 2026.TXT")));
  EXPECT_EQ(Child<TfkEdit>("eCall")->text(), QStringLiteral("DL2BBB"));
}

// Del in the list asks only the deletion's own question.
TEST_F(LogWindowTest, DelInTheListAsksTheDeletionsQuestionOnly) {
  AddContest();
  StoreBefore({Qso("DL1AAA", kBand80, "CW", 9 * 3600)});
  Open();
  Key(Qt::Key_F5);
  platform.dialogs.answers = {false};
  Key(Qt::Key_Delete);
  EXPECT_EQ(platform.dialogs.questions, std::vector<std::string>{DeleteQuestion("DL1AAA")});
  EXPECT_EQ(Log().size(), 1u);
  platform.dialogs.answers = {true};
  Key(Qt::Key_Delete);
  EXPECT_EQ(Log().size(), 0u);
  EXPECT_EQ(Text("lNextNumber"), "1");
}

TEST_F(LogWindowTest, ImportWithoutAnImportSaysSo) {
  AddContest();
  Open();
  Child<QPushButton>("btnImport")->click();
  EXPECT_EQ(platform.dialogs.messages.back(), kImportUnavailable);
}

TEST_F(LogWindowTest, ImportRefreshesListAndStatus) {
  AddContest();
  window = std::make_unique<TContestLogStd>(contest, def, prefixes, [](ContestLog& log, QWidget*) {
    QsoEntry& entry = log.entry();
    entry.mask().focus = MaskField::kCall;
    entry.Type(MaskField::kCall, "DL7XYZ");
    entry.Type(MaskField::kRecv3, "JO50AA");
    entry.Save(true);
  });
  ASSERT_TRUE(window->FormCreate());
  window->show();
  Child<QPushButton>("btnImport")->click();
  EXPECT_EQ(Log().size(), 1u);
  EXPECT_EQ(Text("lNextNumber"), "2");
  EXPECT_EQ(ListCall(), "DL7XYZ");
}

}  // namespace
}  // namespace kontura::testing
