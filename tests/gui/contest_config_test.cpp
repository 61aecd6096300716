// The configuration dialog driven through its widgets, and the whole road
// from a first start to a stored contest through the main window.

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <deque>
#include <utility>
#include <functional>
#include <gtest/gtest.h>

#include "app/qt/contest_brow.h"
#include "app/qt/log_window_launcher.h"
#include "logging/qt/log_window.h"
#include "contest/contest_header.h"
#include "contest/qt/contest_config.h"
#include "platform/qt/qt_text.h"
#include "refdata/date_time_pictures.h"
#include "refdata/setup_record.h"
#include "refdata/suite_settings.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"
#include "tests/support/start_dir_fixture.h"
#include "text/calendar.h"
#include "ui/qt/fk_brow.h"
#include "ui/qt/fk_edit.h"

namespace kontura::testing {
namespace {

// Answers the modal configuration dialogs as they come up, one script each,
// in order. A dialog still open after its script is left with "Abbrechen"
// (or "Beenden" after logging), so that a failing test never hangs.
class DialogScripts {
 public:
  std::deque<std::function<void(TEingContestStd&)>> scripts;
  int handled = 0;

  DialogScripts() {
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
    m_timer.start();
  }

 private:
  void Poll() {
    auto* d = qobject_cast<TEingContestStd*>(QApplication::activeModalWidget());
    // Dialogs live on the stack, so a later one may have the address of an
    // earlier one: each is marked once it has had its script.
    if (!d || d->property("scripted").toBool() || !d->isVisible()) return;
    d->setProperty("scripted", true);
    ++handled;
    if (!scripts.empty()) {
      auto script = scripts.front();
      scripts.pop_front();
      script(*d);
    }
    if (d->isVisible()) d->done(0);
  }

  QTimer m_timer;
};

template <typename W>
W* Child(QWidget& w, const char* name) {
  W* c = w.findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(c, nullptr) << name;
  return c;
}

void Type(QWidget& d, const char* field, const QString& text) {
  auto* e = Child<TfkEdit>(d, field);
  e->clear();
  QFocusEvent in(QEvent::FocusIn);
  QApplication::sendEvent(e, &in);
  QTest::keyClicks(e, text);
  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(e, &out);
}

QString TextOf(QWidget& d, const char* field) { return Child<QLineEdit>(d, field)->text(); }

bool Marked(QWidget* w) { return w->palette().color(w->backgroundRole()) == QColor(255, 128, 128); }

// Fills every field a new contest needs except the computer time.
void FillNewContest(QWidget& d) {
  Type(d, "eName", QStringLiteral("Mobil 2026"));
  Type(d, "eDatumvon", QStringLiteral("1205"));
  Type(d, "eDatumbis", QStringLiteral("1205"));
  Type(d, "ePLZ", QStringLiteral("80331"));
  Type(d, "eOrt", QStringLiteral("Muenchen"));  // the test keyboard types ASCII only
  Type(d, "eStrasse", QStringLiteral("Hauptstr. 1"));
  Type(d, "ecname", QStringLiteral("Anna"));
  Type(d, "eLoc", QStringLiteral("jn58td"));
  Type(d, "eCall", QStringLiteral("dl1abc"));
  Type(d, "eJahre", QStringLiteral("12"));
  Child<QRadioButton>(d, "rbTeilnahme1")->click();
}

class ConfigDialogTest : public StartDirTest {
 protected:
  void SetUp() override {
    StartDirTest::SetUp();
    InstallDateTimeSeparators();
    TheSuiteSettings() = SuiteSettings{};
    platform.clock.Set(2026, 3, 7, 12);
  }
  void TearDown() override {
    TheSuiteSettings() = SuiteSettings{};
    StartDirTest::TearDown();
  }

  void OpenStorage() {
    ASSERT_TRUE(StartStorage());
    ASSERT_TRUE(OpenFHKK());
    ASSERT_TRUE(OpenFHKZ());
    FillDefinitionFromHeader(def, nullptr);
  }

  // Runs one dialog in the mode with the script.
  ConfigDialogResult Run(ConfigMode mode, std::function<void(TEingContestStd&)> script) {
    DialogScripts scripts;
    scripts.scripts.push_back(std::move(script));
    TEingContestStd dialog(mode, def);
    ConfigDialogResult r = dialog.Run();
    EXPECT_EQ(scripts.handled, 1);
    return r;
  }

  ConstContestHeader Read(int32_t number) {
    Fileblock* fhkk = CatalogueHandle(CatalogueId::kFhkk);
    fhkk->FindExact(3, NumberToKey(number));
    CatalogueHandle(CatalogueId::kFhkz)->FindExact(1, NumberToKey(number));
    return ConstContestHeader(fhkk->RecordBuffer());
  }

  TContestDefinition def;
};

TEST_F(ConfigDialogTest, NewContestTypedAndStartedAfterTheTimeQuestion) {
  OpenStorage();
  ConfigDialogResult r = Run(ConfigMode::kNew, [this](TEingContestStd& d) {
    EXPECT_EQ(FromQString(d.windowTitle()), "\"" + def.ContestName + "\"  Contest-Konfiguration");
    EXPECT_EQ(TextOf(d, "eZeitvon"), QStringLiteral("05:30"));
    EXPECT_TRUE(Child<QRadioButton>(d, "rbPR")->isVisibleTo(&d)) << "all four before a category";
    FillNewContest(d);
    EXPECT_EQ(TextOf(d, "eDatumvon"), QStringLiteral("12.05.2026"));
    EXPECT_EQ(TextOf(d, "eLoc"), QStringLiteral("JN58TD"));
    EXPECT_EQ(TextOf(d, "eCall"), QStringLiteral("DL1ABC"));
    EXPECT_FALSE(Child<QRadioButton>(d, "rbPR")->isVisibleTo(&d)) << "the category's modes only";
    EXPECT_TRUE(Child<QRadioButton>(d, "rbFM")->isVisibleTo(&d));

    platform.dialogs.messages.clear();
    Child<QPushButton>(d, "btnStart")->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(platform.dialogs.messages,
              std::vector<std::string>{"Es wurde nicht bestimmt, ob der Computer mit Ortszeit l\xE4uft."});
    auto* group = Child<QGroupBox>(d, "gbComputerzeit");
    EXPECT_TRUE(Marked(group));
    Child<QRadioButton>(d, "rbUTC")->click();
    EXPECT_FALSE(Marked(group));
    Child<QPushButton>(d, "btnStart")->click();
    EXPECT_FALSE(d.isVisible());
  });
  EXPECT_TRUE(r.start);
  EXPECT_EQ(r.contest_number, 1);
  ConstContestHeader h = Read(1);
  EXPECT_EQ(h.EntryName(), "Mobil 2026");
  EXPECT_EQ(h.DateFrom(), DayNumber(12, 5, 2026));
  EXPECT_EQ(h.EditedFields(), kEditedDateFrom | kEditedDateTo);
  EXPECT_EQ(h.ParticipantNo(), 12);
  EXPECT_EQ(TheSuiteSettings().OwnCall, "DL1ABC");
  EXPECT_EQ(TheSuiteSettings().TimeOffsetHours, 0);
}

TEST_F(ConfigDialogTest, RefusedFieldIsMarkedUntilEdited) {
  OpenStorage();
  Run(ConfigMode::kNew, [this](TEingContestStd& d) {
    Child<QPushButton>(d, "btnBeenden")->click();
    EXPECT_EQ(platform.dialogs.messages, std::vector<std::string>{"Eingabe eines Contest-Namens notwendig."});
    EXPECT_EQ(platform.dialogs.beeps, 1);
    auto* name = Child<TfkEdit>(d, "eName");
    EXPECT_TRUE(Marked(name));
    QTest::keyClicks(name, QStringLiteral("M"));
    EXPECT_FALSE(Marked(name));
  });
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhkk)->RecordCount(), 0);
}

TEST_F(ConfigDialogTest, CategoryClickStoresAndAbbrechenKeepsTheContest) {
  OpenStorage();
  ConfigDialogResult r = Run(ConfigMode::kNew, [](TEingContestStd& d) {
    Child<QRadioButton>(d, "rbTeilnahme1")->click();
    Child<QPushButton>(d, "btnAbbrechen")->click();
  });
  EXPECT_FALSE(r.start);
  EXPECT_EQ(r.contest_number, 1);
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhkk)->RecordCount(), 1);
  EXPECT_TRUE(platform.dialogs.messages.empty()) << "no checks, no messages";
}

TEST_F(ConfigDialogTest, EscAnsweredNoDiscardsAndYesSaves) {
  OpenStorage();
  Run(ConfigMode::kNew, [](TEingContestStd& d) {
    FillNewContest(d);
    Child<QRadioButton>(d, "rbUTC")->click();
    Child<QPushButton>(d, "btnBeenden")->click();
  });
  platform.dialogs.messages.clear();

  Read(1);
  platform.dialogs.answers = {false};
  ConfigDialogResult r = Run(ConfigMode::kEdit, [](TEingContestStd& d) {
    EXPECT_FALSE(Child<QGroupBox>(d, "eteilnahmeart")->isEnabled()) << "stored category";
    EXPECT_TRUE(Child<QRadioButton>(d, "rbTeilnahme1")->isChecked());
    Type(d, "eName", QStringLiteral("Anders"));
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
  });
  EXPECT_FALSE(r.start);
  EXPECT_EQ(platform.dialogs.questions, std::vector<std::string>{"\xC4nderungen \xFC" "bernehmen?"});
  EXPECT_EQ(Read(1).EntryName(), "Mobil 2026");

  platform.dialogs.answers = {true};
  Run(ConfigMode::kEdit, [](TEingContestStd& d) {
    Type(d, "eName", QStringLiteral("Anders"));
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
  });
  EXPECT_EQ(Read(1).EntryName(), "Anders");
}

TEST_F(ConfigDialogTest, LimitsRestrictTypingButNeverCutStoredValues) {
  OpenStorage();
  ASSERT_TRUE(OpenFHSETUP());
  Fileblock* setup = CatalogueHandle(CatalogueId::kFhsetup);
  FirstRecordOrAddCleared(setup);
  SetupRecord(setup->RecordBuffer()).SetOwnCity("D-80331 M\xFCnchen");
  SetupRecord(setup->RecordBuffer()).SetOwnDok("C12345678");
  setup->UpdateRecord();
  CloseFHSETUP();
  TheSuiteSettings().SwlNumber = "DE-SWL-1234567890";

  Run(ConfigMode::kNew, [](TEingContestStd& d) {
    EXPECT_EQ(TextOf(d, "ePLZ"), QStringLiteral("D-80331"));
    EXPECT_EQ(TextOf(d, "eDOK"), QStringLiteral("C12345678"));
    EXPECT_EQ(TextOf(d, "eSWL"), QStringLiteral("DE-SWL-1234567890"));
    auto* name = Child<TfkEdit>(d, "eName");
    QTest::keyClicks(name, QString(30, QLatin1Char('x')));
    EXPECT_EQ(name->text().size(), 25);
    Type(d, "eName", QStringLiteral("Mobil"));
    Type(d, "eDatumvon", QStringLiteral("1205"));
    Type(d, "eDatumbis", QStringLiteral("1205"));
    Type(d, "eLoc", QStringLiteral("JN58TD"));
    Child<QRadioButton>(d, "rbTeilnahme1")->click();
    Child<QRadioButton>(d, "rbUTC")->click();
    Child<QPushButton>(d, "btnBeenden")->click();
    EXPECT_FALSE(d.isVisible());
  });
  ASSERT_TRUE(OpenFHSETUP());
  setup = CatalogueHandle(CatalogueId::kFhsetup);
  setup->First(1);
  EXPECT_EQ(ConstSetupRecord(setup->RecordBuffer()).OwnCity(), "D-80331 M\xFCnchen");
  EXPECT_EQ(ConstSetupRecord(setup->RecordBuffer()).OwnDok(), "C12345678");
  CloseFHSETUP();
  EXPECT_EQ(TheSuiteSettings().SwlNumber, "DE-SWL-1234567890");
}

TEST_F(ConfigDialogTest, DruckenSavesFirstThenSaysTheOutputsAreNotThereYet) {
  OpenStorage();
  Run(ConfigMode::kNew, [this](TEingContestStd& d) {
    FillNewContest(d);
    Type(d, "eStrasse", QString());
    Child<QRadioButton>(d, "rbUTC")->click();
    platform.dialogs.messages.clear();
    Child<QPushButton>(d, "btnDruck")->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(platform.dialogs.messages,
              (std::vector<std::string>{"Die Adress-Angaben sind nicht vollst\xE4ndig.",
                                        ContestConfig::OutputsUnavailableText()}));
  });
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhkk)->RecordCount(), 1);
}

TEST_F(ConfigDialogTest, DruckenOpensTheExportMenuOnlyAfterASuccessfulSave) {
  OpenStorage();
  std::vector<std::pair<int32_t, std::string>> opened;
  SetExportMenuHook([&opened](int32_t number, const TContestDefinition&, QWidget* button) {
    opened.emplace_back(number, button->objectName().toStdString());
  });
  Run(ConfigMode::kNew, [&opened](TEingContestStd& d) {
    FillNewContest(d);
    Child<QRadioButton>(d, "rbUTC")->click();
    Type(d, "eName", QString());
    Child<QPushButton>(d, "btnDruck")->click();
    EXPECT_TRUE(opened.empty()) << "a refused save opens no menu";
    Type(d, "eName", QStringLiteral("Mobil"));
    Child<QPushButton>(d, "btnDruck")->click();
    EXPECT_TRUE(d.isVisible());
  });
  SetExportMenuHook(nullptr);
  EXPECT_EQ(opened, (std::vector<std::pair<int32_t, std::string>>{{1, "btnDruck"}}));
}

TEST_F(ConfigDialogTest, AfterLoggingShowsTheTotalsAndOnlyBeenden) {
  OpenStorage();
  Run(ConfigMode::kNew, [](TEingContestStd& d) {
    FillNewContest(d);
    Child<QRadioButton>(d, "rbUTC")->click();
    Child<QPushButton>(d, "btnBeenden")->click();
  });
  Fileblock* fhkk = CatalogueHandle(CatalogueId::kFhkk);
  Read(1);
  TContestHeader(fhkk->RecordBuffer()).SetSumQso(1, 3);
  TContestHeader(fhkk->RecordBuffer()).SetSumPoints(1, 412);
  fhkk->UpdateRecord();
  ConfigDialogResult r = Run(ConfigMode::kAfterLogging, [this](TEingContestStd& d) {
    EXPECT_EQ(FromQString(d.windowTitle()), "\"" + def.ContestName + "\"");
    EXPECT_FALSE(Child<QPushButton>(d, "btnStart")->isVisibleTo(&d));
    EXPECT_FALSE(Child<QPushButton>(d, "btnAbbrechen")->isVisibleTo(&d));
    EXPECT_TRUE(Child<QPushButton>(d, "btnBeenden")->isDefault());
    EXPECT_EQ(Child<QLabel>(d, "lBand1")->text(), QStringLiteral("80 m"));
    EXPECT_FALSE(Child<QLabel>(d, "lBand4")->isVisibleTo(&d));
    EXPECT_EQ(Child<QLabel>(d, "lQsoTotal")->text(), QStringLiteral("3 QSO"));
    EXPECT_EQ(Child<QLabel>(d, "lScore")->text(), QStringLiteral("412 Pkt."));
    Child<QPushButton>(d, "btnBeenden")->click();
    EXPECT_FALSE(d.isVisible());
  });
  EXPECT_FALSE(r.start);
}

// The main window with the real catalogue and dialog: first start, a new
// contest, "Contest starten" (the logging window is reported as not there
// yet), then the program is started again and the contest is found by
// typing the start of its name into the quick search and opened again.
TEST_F(ConfigDialogTest, FirstStartToAStoredContestAndBackAfterARestart) {
  DialogScripts scripts;
  scripts.scripts.push_back([](TEingContestStd& d) {
    FillNewContest(d);
    Child<QRadioButton>(d, "rbUTC")->click();
    Child<QPushButton>(d, "btnStart")->click();
  });
  {
    TContestBrow window;
    ASSERT_EQ(window.FormCreate(), ContestBrowSession::Outcome::kReady);
    window.ShowAndGreet();
    EXPECT_EQ(scripts.handled, 1);
    EXPECT_EQ(platform.dialogs.messages.back(), UnavailableLogWindow::Text());
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lCall"))->text(), QStringLiteral("DL1ABC"));
    window.close();
  }
  TheSuiteSettings() = SuiteSettings{};

  TContestBrow again;
  ASSERT_EQ(again.FormCreate(), ContestBrowSession::Outcome::kReady);
  again.ShowAndGreet();
  EXPECT_EQ(scripts.handled, 1) << "a filled catalogue does not lead into Neu";
  EXPECT_EQ(again.findChild<QLabel*>(QStringLiteral("lCall"))->text(), QStringLiteral("DL1ABC"));
  QTest::keyClicks(again.List()->findChild<TfkEdit*>(QStringLiteral("eSuch")), QStringLiteral("mob"));
  ASSERT_TRUE(again.List()->ReadCurrent());
  EXPECT_EQ(ConstContestHeader(CatalogueRecord(CatalogueId::kFhkk)).EntryName(), "Mobil 2026");

  scripts.scripts.push_back([](TEingContestStd& d) {
    EXPECT_EQ(TextOf(d, "eName"), QStringLiteral("Mobil 2026"));
    EXPECT_EQ(TextOf(d, "eJahre"), QStringLiteral("12"));
    Child<QPushButton>(d, "btnStart")->click();
  });
  scripts.scripts.push_back([](TEingContestStd& d) {
    EXPECT_FALSE(Child<QPushButton>(d, "btnStart")->isVisibleTo(&d));
    Child<QPushButton>(d, "btnBeenden")->click();
  });
  again.findChild<QPushButton*>(QStringLiteral("btnStarten"))->click();
  EXPECT_EQ(scripts.handled, 3);
  again.close();
}

// The logging window under the real catalogue, answered like the dialogs:
// each opening runs one script, then "Contest beenden".
class LogWindowScripts {
 public:
  std::deque<std::function<void(TContestLogStd&)>> scripts;
  int handled = 0;

  LogWindowScripts() {
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
    m_timer.start();
  }

 private:
  void Poll() {
    auto* w = qobject_cast<TContestLogStd*>(QApplication::activeModalWidget());
    if (!w || w->property("scripted").toBool() || !w->isVisible()) return;
    w->setProperty("scripted", true);
    ++handled;
    if (!scripts.empty()) {
      auto script = scripts.front();
      scripts.pop_front();
      script(*w);
    }
    if (w->isVisible()) Child<QPushButton>(*w, "btnBeenden")->click();
  }

  QTimer m_timer;
};

// Types one QSO into the mask as an operator does: call, number, locator,
// each left by Enter (date and time come from the clock).
void TypeQso(TContestLogStd& w, const char* call, const char* number, const char* locator) {
  for (const auto& [field, text] : {std::pair{"eCall", call}, {"eRecv2", number}, {"eRecv3", locator}}) {
    auto* e = Child<TfkEdit>(w, field);
    e->setFocus();
    QTest::keyClicks(e, QString::fromLatin1(text));
    QTest::keyClick(e, Qt::Key_Return);
  }
}

// From the first start to the totals after logging: "Neu", "Contest
// starten", three QSOs typed into the logging window (the main window hidden
// meanwhile), "Contest beenden"; then "Starten" on the contest, "Contest
// starten" again, and the after-logging dialog shows the three QSOs and
// their points.
TEST_F(ConfigDialogTest, NewContestLoggedThenTheTotalsAfterLogging) {
  DialogScripts dialogs;
  LogWindowScripts log_windows;
  QtLogWindowLauncher launcher;
  TContestBrow window(nullptr, &launcher);
  launcher.SetMainWindow(&window);
  dialogs.scripts.push_back([](TEingContestStd& d) {
    FillNewContest(d);
    Child<QRadioButton>(d, "rbUTC")->click();
    Child<QPushButton>(d, "btnStart")->click();
  });
  log_windows.scripts.push_back([&window](TContestLogStd& w) {
    EXPECT_FALSE(window.isVisible()) << "the main window is hidden while logging";
    TypeQso(w, "DL1AAA", "17", "JO50AA");
    TypeQso(w, "DK2BBB", "18", "JN48AA");
    TypeQso(w, "DF3CCC", "19", "JO62QM");
    EXPECT_EQ(Child<QLabel>(w, "lNextNumber")->text(), QStringLiteral("4"));
  });
  ASSERT_EQ(window.FormCreate(), ContestBrowSession::Outcome::kReady);
  window.ShowAndGreet();
  EXPECT_EQ(dialogs.handled, 1);
  EXPECT_EQ(log_windows.handled, 1);
  EXPECT_TRUE(window.isVisible()) << "shown again after logging";

  dialogs.scripts.push_back([](TEingContestStd& d) { Child<QPushButton>(d, "btnStart")->click(); });
  dialogs.scripts.push_back([](TEingContestStd& d) {
    EXPECT_EQ(Child<QLabel>(d, "lQsoTotal")->text(), QStringLiteral("3 QSO"));
    EXPECT_NE(Child<QLabel>(d, "lScore")->text(), QStringLiteral("0 Pkt."));
    Child<QPushButton>(d, "btnBeenden")->click();
  });
  window.findChild<QPushButton*>(QStringLiteral("btnStarten"))->click();
  EXPECT_EQ(dialogs.handled, 3);
  EXPECT_EQ(log_windows.handled, 2);
  const ConstContestHeader h = Read(1);
  EXPECT_EQ(h.SumQso(1), 3);
  window.close();
}

}  // namespace
}  // namespace kontura::testing
