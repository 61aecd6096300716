// The Qt side of the outputs: the export menu's actions, the printed lists
// printed to PDF and read back as text (page breaks included), and the
// ADIF import dialog driven through its widgets with a real drag and drop.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <fstream>
#include <gtest/gtest.h>

#include "logging/log_opening.h"
#include "output/qt/adif_import_dialog.h"
#include "output/qt/export_menu.h"
#include "output/qt/qt_print.h"
#include "platform/qt/qt_text.h"
#include "tests/support/output_fixture.h"

namespace kontura::testing {
namespace {

TEST(ExportMenuWindow, ActionsInMenuOrderWithTheirOutputs) {
  FixedClock clock;
  TContestDefinition def;
  FillContestDefinition(def, {}, clock);
  QMenu menu;
  FillExportMenu(menu, def);
  QStringList captions;
  QStringList enabled_names;
  for (QAction* a : menu.actions()) {
    captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    if (a->isEnabled() && !a->isSeparator()) enabled_names << a->objectName();
  }
  EXPECT_EQ(captions.join(QLatin1Char('|')).toStdString(),
            "STF-Datei|EDI-Datei|-|E-Log Gesamtdatei|E-Log Deckblatt|E-Log QSO-Liste|E-Log Band-Liste|"
            "E-Log Multi-Checkliste|Cabrillo-Datei|-|ADIF- Exportdatei der QSO-Liste|CSV- Exportdatei der QSO-Liste|"
            "-|Papierlog - Deckblatt|Papierlog - QSO-Liste|Papierlog - Band-Liste|Papierlog - Multi-Checkliste");
  EXPECT_EQ(enabled_names.join(QLatin1Char(' ')).toStdString(),
            "actTotalFile actSummaryFile actQsoListFile actBandListFile actAdifFile actCsvFile actPrintedSummary "
            "actPrintedQsoList actPrintedBandList");
}

class PrintedOutputTest : public OutputTest {
 protected:
  void SetUp() override {
    OutputTest::SetUp();
    FillSmallLog();
    StoreHeader();
  }

  // Prints the output into a PDF and returns its text, pages separated by
  // form feeds.
  std::string PrintToText(OutputId id, const std::string& name) {
    const QString pdf = QString::fromStdString(Path(name + ".pdf"));
    QtPrintJobs printer = QtPrintJobs::ToPdf(pdf);
    OutputServices services{files, viewer, printer};
    EXPECT_EQ(RunOutput(id, kContest, services), OutputResult::kDone);
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << "pdftotext (poppler-utils) missing?";
    return p.readAllStandardOutput().toStdString();
  }

  static int Pages(const std::string& text) {
    int n = 0;
    for (char c : text) n += c == '\f';
    return n;
  }

  ScriptedFileDialogs files;
  RecordingViewer viewer;
};

TEST_F(PrintedOutputTest, QsoListOverSeveralPages) {
  // Enough QSOs for more than one A4 page.
  for (int i = 0; i < 120; ++i) {
    Add({"DL" + std::to_string(i) + "ZZ", kBand80, "CW", DayNumber(7, 3, 2026), 7 * 3600 + i * 60, "599042/JO62QM",
         "599001/JO40HC", "JO40HC", "DL", "", 300, 3 + i});
  }
  const std::string text = PrintToText(OutputId::kPrintedQsoList, "qso-list");
  if (const char* keep = std::getenv("KONTURA_KEEP_PDF")) {
    std::filesystem::copy_file(Path("qso-list.pdf"), keep, std::filesystem::copy_options::overwrite_existing);
  }
  const int pages = Pages(text);
  EXPECT_GE(pages, 2);
  for (int page = 1; page <= pages; ++page) {
    EXPECT_NE(text.find("Page :   " + std::to_string(page)), std::string::npos) << page;
  }
  size_t columns = 0;
  for (size_t p = text.find("Nr   DATE"); p != std::string::npos; p = text.find("Nr   DATE", p + 1)) ++columns;
  EXPECT_EQ(columns, static_cast<size_t>(pages)) << "the column line heads every page";
  EXPECT_NE(text.find("   1 070326 0530 DL1XYZ"), std::string::npos) << text.substr(0, 600);
  EXPECT_NE(text.find("   4        0605 DL0ABC/MM/P"), std::string::npos) << "no date, number 4 after the marker";
  EXPECT_NE(text.find("1296 Punkte"), std::string::npos);
  EXPECT_EQ(text.find("DL119ZZ"), text.rfind("DL119ZZ")) << "no line printed twice";
}

// pdftotext keeps the columns of a monospaced page but not always the
// number of blanks between words; the texts are compared word by word.
std::string Words(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out += c;
  }
  return out;
}

TEST_F(PrintedOutputTest, SummarySheetAndBandList) {
  const std::string sheet = Words(PrintToText(OutputId::kPrintedSummary, "sheet"));
  EXPECT_EQ(Pages(sheet), 1);
  for (const char* part : {"Name: Hans Muster", "Endergebnis: 1296 Punkte", "Unterschrift _______________",
                           "Call: DL1ABC/P DOK: D01", "Summe 4 1296"}) {
    EXPECT_NE(sheet.find(part), std::string::npos) << part << "\n" << sheet;
  }
  const std::string bands = Words(PrintToText(OutputId::kPrintedBandList, "bands"));
  for (const char* part : {"Band List DL1ABC/P 80 m", "Band List DL1ABC/P 2 m", "Band List DL1ABC/P 70 cm",
                           "Page : 1", "0605 DL0ABC/MM/P 2 FM"}) {
    EXPECT_NE(bands.find(part), std::string::npos) << part << "\n" << bands;
  }
}

// Drags the entry `tag` of the left list onto row `row` of the right
// list: the left list's own drag data, delivered to the right list as the
// window system delivers a drag (enter, move, drop). The offscreen test
// platform has no drag of its own to carry it.
void Drag(QListWidget* left, QListWidget* right, const QString& tag, int row) {
  QListWidgetItem* item = left->findItems(tag, Qt::MatchExactly).value(0);
  ASSERT_NE(item, nullptr);
  left->setCurrentItem(item);
  std::unique_ptr<QMimeData> mime(left->model()->mimeData({left->model()->index(left->row(item), 0)}));
  ASSERT_NE(mime, nullptr);
  const QPoint to = right->visualItemRect(right->item(row)).center();
  QDragEnterEvent enter(to, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(right->viewport(), &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDragMoveEvent move(to, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(right->viewport(), &move);
  QDropEvent drop(QPointF(to), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(right->viewport(), &drop);
}

class ImportDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillContestDefinition(def, {}, clock);
    char tmpl[] = "/tmp/kontura-adif-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    path = dir + "/log.adi";
    std::ofstream(path) << "Header\n<EOH>\n<CALL:6>DL1ABC <QSO_DATE:8>20260307 <GRIDSQUARE:6>JO40HC <EOR>\n";
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  FixedClock clock;
  TContestDefinition def;
  std::string dir;
  std::string path;
  ScriptedFileDialogs files;
};

TEST_F(ImportDialogTest, FileChoiceAndMappingByDragAndDrop) {
  ScopedPlatform platform;
  TFormadifimport dialog(def, files);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(dialog.windowTitle().toStdString(), "ADIF-Import");
  auto* left = dialog.findChild<QListWidget*>(QStringLiteral("ListeLinks"));
  auto* right = dialog.findChild<QListWidget*>(QStringLiteral("ListeRechtsLB"));
  auto* start = dialog.findChild<QPushButton*>(QStringLiteral("btnimportstart"));
  auto* choose = dialog.findChild<QPushButton*>(QStringLiteral("btndatei"));
  ASSERT_TRUE(left && right && start && choose);
  EXPECT_EQ(right->count(), 10);
  EXPECT_EQ(right->item(9)->text().toStdString(), "LOC");
  EXPECT_FALSE(start->isEnabled());

  files.answer = dir + "/missing.adi";
  QTest::mouseClick(choose, Qt::LeftButton);
  EXPECT_EQ(platform.dialogs.messages, std::vector<std::string>{"Datei existiert nicht"});
  files.answer = path;
  QTest::mouseClick(choose, Qt::LeftButton);
  EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lDateiname"))->text().toStdString(), path);
  ASSERT_EQ(left->count(), 3);
  EXPECT_EQ(left->item(0)->text().toStdString(), "CALL");

  Drag(left, right, QStringLiteral("CALL"), 0);
  EXPECT_EQ(right->item(0)->text().toStdString(), "CALL (CALL)");
  EXPECT_TRUE(start->isEnabled());
  EXPECT_TRUE(left->findItems(QStringLiteral("CALL"), Qt::MatchExactly).isEmpty());

  // Onto a mapped entry nothing happens; onto "LOC" the locator is mapped.
  Drag(left, right, QStringLiteral("GRIDSQUARE"), 0);
  EXPECT_EQ(right->item(0)->text().toStdString(), "CALL (CALL)");
  EXPECT_EQ(left->count(), 2);
  Drag(left, right, QStringLiteral("GRIDSQUARE"), 9);
  EXPECT_EQ(right->item(9)->text().toStdString(), "LOC (GRIDSQUARE)");
  EXPECT_EQ(dialog.Fields().entries()[9], "LOC (GRIDSQUARE)");
  EXPECT_EQ(dialog.Records().size(), 1u);

  // A picture of the dialog for a person to look at, when asked for.
  if (const char* shots = std::getenv("KONTURA_SHOTS_DIR")) {
    dialog.grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/adif-import.png"));
  }
  dialog.findChild<QCheckBox*>(QStringLiteral("checkkeincheck"))->setChecked(true);
  EXPECT_TRUE(dialog.NoCheck());
  QTest::mouseClick(start, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// The import as the logging window starts it: the dialog over the open
// log, answered by the operator, then the run and its summary box.
class ImportWindowTest : public LogTest {};

TEST_F(ImportWindowTest, StartImportsIntoTheOpenLogAndShowsTheSummary) {
  CloseFHLK();
  const std::string path = Path("two.adi");
  std::ofstream(path) << "<EOH>\n"
                         "<CALL:6>DL1ABC <QSO_DATE:8>20260307 <TIME_ON:4>0530 <MODE:2>CW <BAND:3>80M <EOR>\n"
                         "<CALL:6>DL1ABC <QSO_DATE:8>20260307 <TIME_ON:4>0531 <MODE:2>CW <BAND:3>80M <EOR>\n";
  LogOptions options = ctx.Options;
  options.ContestNumber = 8;
  ContestLog log(ctx.Definition, options, prefixes);
  ASSERT_TRUE(log.Open());
  bool answered = false;
  QTimer timer;
  timer.setInterval(10);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    auto* d = qobject_cast<TFormadifimport*>(QApplication::activeModalWidget());
    if (d == nullptr || answered) return;
    answered = true;
    d->LoadFile(path);
    auto* left = d->findChild<QListWidget*>(QStringLiteral("ListeLinks"));
    auto* right = d->findChild<QListWidget*>(QStringLiteral("ListeRechtsLB"));
    for (int row : {0, 1, 2, 5, 7}) Drag(left, right, right->item(row)->text(), row);
    d->findChild<QPushButton*>(QStringLiteral("btnimportstart"))->click();
  });
  timer.start();
  platform.dialogs.messages.clear();
  RunAdifImport(log, nullptr);
  EXPECT_TRUE(answered);
  EXPECT_EQ(platform.dialogs.messages.back(), "1 Datens\xE4tze importiert\r\n1 Calls doppelt");
  EXPECT_EQ(TheLog()->RecordCount(), 1);
  log.Close();
}

}  // namespace
}  // namespace kontura::testing
