// The correction windows driven through their widgets and keys: the QSO
// list of the correction, the band log with its band choice, the call
// search, the detail dialog "QSO ändern", the contest note, the text viewer,
// and the progress window.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <deque>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

#include "contest/contest_header.h"
#include "contest/contest_header_store.h"
#include "contest/contest_note.h"
#include "contest/qt/contest_note.h"
#include "logging/log_opening.h"
#include "logging/points.h"
#include "logging/qso_list_rows.h"
#include "logging/qt/band_choice.h"
#include "logging/qt/qso_correction.h"
#include "logging/qt/qso_detail.h"
#include "logging/qt/qso_search.h"
#include "platform/qt/qt_progress.h"
#include "platform/qt/qt_text.h"
#include "refdata/suite_settings.h"
#include "tests/support/correction_fixture.h"
#include "tests/support/modal_scripts.h"
#include "text/calendar.h"
#include "text/text_util.h"
#include "ui/qt/fk_brow.h"
#include "ui/qt/text_viewer.h"

namespace kontura::testing {
namespace {

template <typename W>
W* Child(QWidget& w, const char* name) {
  W* c = w.findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(c, nullptr) << name;
  return c;
}

QTableWidget* Grid(TfkBrow& brow) { return brow.findChild<QTableWidget*>(QStringLiteral("grid")); }

// The call cell of the current row, without the blank behind the separator.
std::string CurrentCall(TfkBrow& brow) {
  const RowRec* row = brow.Browser()->Current();
  if (!row) return {};
  return TrimBlanks(SplitCells(row->text)[3]);
}

void Key(QWidget* w, Qt::Key key) { QTest::keyClick(w, key); }

class CorrectionWindowTest : public CorrectionLogTest {
 protected:
  // Three QSOs: two on 80 m, one on 2 m; one call begins with a digit.
  void OpenLog() {
    StoreQso("DL1AAA", kBand80, SecondsOf(9, 0, 0), "JO31AB");
    StoreQso("9A2BBB", kBand2, SecondsOf(9, 5, 0), "JN75AA");
    StoreQso("DL3CCC", kBand80, SecondsOf(9, 10, 0), "JN58TD");
    OpenStoredLog();
  }

  ListWindowGeometry geometry;
};

TEST_F(CorrectionWindowTest, CorrectionListChangesWithEnterDeletesWithDelAndClosesWithEsc) {
  OpenLog();
  ModalScripts modal;
  modal.scripts.push_back([this](QWidget& w) {
    auto& list = dynamic_cast<TKorrekturstd&>(w);
    EXPECT_EQ(FromQString(list.windowTitle()), "QSO - Liste (\xC4ndern mit Eingabetaste oder Doppelklick)");
    TfkBrow& brow = *list.Brow();
    EXPECT_EQ(brow.Browser()->RowCount(), 3);
    EXPECT_EQ(CurrentCall(brow), "DL3CCC") << "positioned on the last QSO";
    Key(Grid(brow), Qt::Key_Up);
    EXPECT_EQ(CurrentCall(brow), "9A2BBB");
    Key(Grid(brow), Qt::Key_Return);  // the detail dialog's script runs here
    EXPECT_EQ(CurrentCall(brow), "9A2BBX") << "the list shows the change";

    platform.dialogs.answers = {true};
    Key(Grid(brow), Qt::Key_Delete);
    EXPECT_EQ(platform.dialogs.questions, std::vector<std::string>{"Eintrag 9A2BBX l\xF6schen?"});
    EXPECT_EQ(platform.dialogs.messages.size(), 1u) << "the information before the question";
    EXPECT_EQ(brow.Browser()->RowCount(), 2);
    EXPECT_EQ(CurrentCall(brow), "DL3CCC") << "the QSO that took the number";
    Key(Grid(brow), Qt::Key_Escape);
    EXPECT_FALSE(list.isVisible());
  });
  modal.scripts.push_back([](QWidget& w) {
    EXPECT_EQ(FromQString(w.windowTitle()), "QSO \xE4ndern");
    auto* call = Child<QLineEdit>(w, "eCall");
    EXPECT_EQ(call->text(), QStringLiteral("9A2BBB"));
    call->setFocus();
    call->end(false);
    call->backspace();
    QTest::keyClicks(call, "x");
    EXPECT_EQ(call->text(), QStringLiteral("9A2BBX")) << "capitals";
    Key(call, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible()) << "Esc ends the dialog";
  });

  EXPECT_TRUE(RunQsoCorrection(nullptr, *log, CorrectionMode::kCorrection, geometry));
  EXPECT_EQ(modal.seen, (std::vector<std::string>{"Korrekturstd", "QsoDetail"}));
  EXPECT_TRUE(modal.scripts.empty());
  EXPECT_GT(geometry.width, 0) << "the place is remembered";
  const std::vector<int> widths = ReadQsoListColumnWidths(kContest);
  EXPECT_GT(widths[1], 0) << "the column widths went into the header";
  EXPECT_EQ(Records().size(), 2u);
}

TEST_F(CorrectionWindowTest, ADoubleClickChangesTheQsoOfItsRow) {
  OpenLog();
  ModalScripts modal;
  modal.scripts.push_back([](QWidget& w) {
    auto& list = dynamic_cast<TKorrekturstd&>(w);
    QTableWidget* grid = Grid(*list.Brow());
    const QRect cell = grid->visualRect(grid->model()->index(0, 4));
    // A double click starts with a press on the cell.
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  });
  std::string shown;
  modal.scripts.push_back([&shown](QWidget& w) { shown = FromQString(Child<QLineEdit>(w, "eCall")->text()); });
  RunQsoCorrection(nullptr, *log, CorrectionMode::kCorrection, geometry);
  EXPECT_EQ(shown, "DL1AAA");
  EXPECT_EQ(modal.seen, (std::vector<std::string>{"Korrekturstd", "QsoDetail"}));
}

TEST_F(CorrectionWindowTest, TheListReopensWhereItWasClosed) {
  OpenLog();
  ModalScripts modal;
  modal.scripts.push_back([](QWidget& w) { w.setGeometry(40, 50, 700, 400); });
  modal.scripts.push_back([](QWidget& w) { EXPECT_EQ(w.geometry(), QRect(40, 50, 700, 400)); });
  RunQsoCorrection(nullptr, *log, CorrectionMode::kCorrection, geometry);
  EXPECT_EQ(geometry.left, 40);
  EXPECT_EQ(geometry.width, 700);
  RunQsoCorrection(nullptr, *log, CorrectionMode::kCorrection, geometry);
  EXPECT_EQ(modal.seen.size(), 2u);
}

TEST_F(CorrectionWindowTest, BandLogAsksForTheBandFirst) {
  OpenLog();
  ModalScripts modal;
  modal.scripts.push_back([](QWidget& w) {
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Band"));
    auto* bands = Child<QListWidget>(w, "lbBand");
    EXPECT_EQ(bands->count(), 3);
    EXPECT_EQ(bands->currentItem()->text(), QStringLiteral("80 m")) << "the current band";
    Key(bands, Qt::Key_Escape);
  });
  EXPECT_FALSE(RunQsoCorrection(nullptr, *log, CorrectionMode::kBandLog, geometry)) << "cancelled: no list";
  EXPECT_EQ(modal.seen, std::vector<std::string>{"StdGetBand"});

  modal.scripts.push_back([](QWidget& w) {
    auto* bands = Child<QListWidget>(w, "lbBand");
    Key(bands, Qt::Key_Down);
    Key(bands, Qt::Key_Return);
  });
  modal.scripts.push_back([](QWidget& w) {
    auto& list = dynamic_cast<TKorrekturstd&>(w);
    EXPECT_EQ(FromQString(list.windowTitle()), "Band - Log (\xC4ndern mit Eingabetaste oder Doppelklick)");
    EXPECT_EQ(list.Band(), kBand2);
    EXPECT_EQ(list.Brow()->Browser()->RowCount(), 1);
    EXPECT_EQ(CurrentCall(*list.Brow()), "9A2BBB");
  });
  EXPECT_TRUE(RunQsoCorrection(nullptr, *log, CorrectionMode::kBandLog, geometry));
  EXPECT_EQ(modal.seen.size(), 3u);
}

TEST_F(CorrectionWindowTest, CallSearchFindsTheCallAndCancelDoesNotMove) {
  OpenLog();
  ModalScripts modal;
  modal.scripts.push_back([](QWidget& w) {
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Suche"));
    auto* call = Child<QLineEdit>(w, "eRufzeichen");
    EXPECT_EQ(w.focusWidget(), call);
    QTest::keyClicks(call, "dl1aaa/p");
    Key(call, Qt::Key_Return);  // the default button
  });
  modal.scripts.push_back([](QWidget& w) {
    auto& list = dynamic_cast<TKorrekturstd&>(w);
    EXPECT_EQ(list.Brow()->Browser()->RowCount(), 3) << "calls beginning with a digit too";
    EXPECT_EQ(CurrentCall(*list.Brow()), "DL1AAA");
  });
  RunQsoCorrection(nullptr, *log, CorrectionMode::kCallSearch, geometry);

  modal.scripts.push_back([](QWidget& w) {
    QTest::keyClicks(Child<QLineEdit>(w, "eRufzeichen"), "DL1AAA");
    Child<QPushButton>(w, "btnAbbruch")->click();
  });
  modal.scripts.push_back([](QWidget& w) {
    auto& list = dynamic_cast<TKorrekturstd&>(w);
    EXPECT_EQ(CurrentCall(*list.Brow()), "DL3CCC") << "still on the last call in call order";
  });
  RunQsoCorrection(nullptr, *log, CorrectionMode::kCallSearch, geometry);
  EXPECT_EQ(modal.seen.size(), 4u);
}

TEST_F(CorrectionWindowTest, DetailDialogReportsFollowTheModeAndFrequencyAndBandEachOther) {
  OpenLog();
  ModalScripts modal;
  modal.scripts.push_back([](QWidget& w) {
    // Focus moves send their events only in the active window.
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* sent = Child<QLineEdit>(w, "eRSTs");
    auto* recv = Child<QLineEdit>(w, "eRSTr");
    auto* mode = Child<QComboBox>(w, "cbMode");
    auto* band = Child<QComboBox>(w, "cbBand");
    auto* freq = Child<QLineEdit>(w, "eFreq");
    EXPECT_EQ(recv->maxLength(), 3);
    EXPECT_EQ(sent->maxLength(), 3);
    mode->setCurrentIndex(1);  // SSB
    EXPECT_EQ(sent->text(), QStringLiteral("59 "));
    sent->setText(QStringLiteral("59"));
    mode->setCurrentIndex(0);  // CW
    EXPECT_EQ(sent->text(), QStringLiteral("599"));
    EXPECT_EQ(recv->text(), QStringLiteral("579"));
    mode->setCurrentIndex(1);
    EXPECT_EQ(sent->text(), QStringLiteral("59 "));

    freq->setFocus();
    QTest::keyClicks(freq, "145,3");
    Key(freq, Qt::Key_Return);  // on to the next field: the leave rule runs
    EXPECT_EQ(band->currentText(), QStringLiteral("2 m"));
    EXPECT_EQ(freq->text(), QStringLiteral("145,3"));
    band->setCurrentIndex(2);
    EXPECT_EQ(freq->text(), QStringLiteral("430,0000"));

    auto* call = Child<QLineEdit>(w, "eCall");
    call->setFocus();
    Key(call, Qt::Key_Return);
    EXPECT_TRUE(Child<QLineEdit>(w, "eDatum")->hasFocus()) << "Enter moves through the tab order";
    auto* qth = Child<QLineEdit>(w, "eQTH");
    qth->setFocus();
    Key(qth, Qt::Key_Return);
    EXPECT_TRUE(call->hasFocus()) << "after the last field, the first";
    Child<QPushButton>(w, "btnBeenden")->click();
  });
  EXPECT_NE(ChangeQsoWithDialog(nullptr, *log, Find("DL1AAA").RecordNo()), ChangeOutcome::kNothing);
  const QsoRecord q = Find("DL1AAA");
  EXPECT_EQ(q.Mode(), "SSB");
  EXPECT_EQ(q.Band(), kBand70);
  EXPECT_EQ(q.SentExchange().substr(0, 3), "59 ");
  EXPECT_FLOAT_EQ(q.Frequency(), 430.0f);
}

TEST_F(CorrectionWindowTest, ContestNoteReopensAtItsPlaceWithTheCursorBehindTheNewLine) {
  TheSuiteSettings().TimeOffsetHours = -1;
  ModalScripts modal;
  std::string first_line;
  modal.scripts.push_back([&first_line](QWidget& w) {
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Contest-Notiz"));
    auto* text = Child<QPlainTextEdit>(w, "mNotiz");
    first_line = FromQString(text->toPlainText());
    EXPECT_EQ(text->textCursor().position(), static_cast<int>(NoteCursorOffset()));
    QTest::keyClicks(text, "Regen");
    w.setGeometry(60, 70, 500, 300);
    Key(text, Qt::Key_Escape);
  });
  modal.scripts.push_back([](QWidget& w) {
    EXPECT_EQ(w.geometry(), QRect(60, 70, 500, 300));
    auto* text = Child<QPlainTextEdit>(w, "mNotiz");
    EXPECT_EQ(text->toPlainText().count(QLatin1Char('\n')), 1) << "the new line above the old one";
    w.close();
  });
  EXPECT_TRUE(OpenContestNote(nullptr, kContest, "DL1ABC"));
  EXPECT_EQ(first_line, "07.03.2026 11:00 DL1ABC     > ") << "UTC from the clock and the program's offset";
  EXPECT_EQ(ReadText(Path("Mobil 2026.TXT")), "07.03.2026 11:00 DL1ABC     > Regen\r\n");
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(LoadContestHeader(kContest, &bytes));
  const ConstContestHeader h(bytes.data());
  EXPECT_EQ(h.NoteLeft(), 60);
  EXPECT_EQ(h.NoteTop(), 70);
  EXPECT_EQ(h.NoteWidth(), 500);
  EXPECT_EQ(h.NoteHeight(), 300);
  OpenContestNote(nullptr, kContest, "");
  EXPECT_EQ(modal.seen.size(), 2u);
  TheSuiteSettings() = SuiteSettings{};
}

TEST_F(CorrectionWindowTest, TextViewerSavesOnlyWithItsButton) {
  {
    std::ofstream out(Path("LISTE.TXT"), std::ios::binary);
    out << "Zeile 1\r\n";
  }
  ModalScripts modal;
  modal.scripts.push_back([this](QWidget& w) {
    EXPECT_EQ(FromQString(w.windowTitle()), Path("LISTE.TXT"));
    auto* text = Child<QPlainTextEdit>(w, "mText");
    text->moveCursor(QTextCursor::End);
    QTest::keyClicks(text, "X");
    Child<QPushButton>(w, "btnSpeichern")->click();
  });
  EXPECT_TRUE(ShowTextFile(Path("LISTE.TXT")));
  EXPECT_EQ(ReadText(Path("LISTE.TXT")), "Zeile 1\nX");

  modal.scripts.push_back([](QWidget& w) {
    QTest::keyClicks(Child<QPlainTextEdit>(w, "mText"), "verworfen");
    w.close();
  });
  EXPECT_FALSE(ShowTextFile(Path("LISTE.TXT")));
  EXPECT_EQ(ReadText(Path("LISTE.TXT")), "Zeile 1\nX");
}

TEST(ProgressWindow, ShowsCaptionAndBarUntilFinished) {
  QtProgress progress;
  progress.Start("", 20, true);
  ASSERT_NE(progress.Window(), nullptr);
  EXPECT_EQ(progress.Window()->windowTitle(), QStringLiteral("Datensicherung"));
  EXPECT_FALSE(progress.Window()->windowFlags() & Qt::WindowCloseButtonHint);
  progress.Step(10);
  EXPECT_EQ(progress.Window()->findChild<QProgressBar*>(QStringLiteral("pbFortschritt"))->value(), 10);
  progress.Finish();
  EXPECT_EQ(progress.Window(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  progress.Start("Neunummerierung", 5, false);
  EXPECT_EQ(progress.Window()->windowTitle(), QStringLiteral("Neunummerierung"));
}

}  // namespace
}  // namespace kontura::testing
