// The export menu's entries and RunOutput: question, save dialog, file,
// messages and viewer of the file outputs, the print dialog and the page
// breaks of the printed ones.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "output/export_menu.h"
#include "output/output_texts.h"
#include "tests/support/output_fixture.h"
#include "text/date_time_text.h"

namespace kontura::testing {
namespace {

// A page of ten lines: 300 dpi (x = 165, top = 118), text 10 high (line
// 11), printable height 118 + 10 lines.
class RecordingPage : public PrintPage {
 public:
  struct Line {
    int page, x, y;
    bool bold;
    std::string text;
  };
  std::vector<Line> lines;
  int page = 1;
  bool bold = false;
  int ResolutionX() const override { return 300; }
  int PageHeight() const override { return 118 + 11 * 10; }
  int TextHeight(std::string_view) const override { return 10; }
  void DrawText(int x, int y, std::string_view text) override { lines.push_back({page, x, y, bold, std::string(text)}); }
  void SetBold(bool b) override { bold = b; }
  void NewPage() override { ++page; }
};

class RecordingPrinter : public PrintJobs {
 public:
  bool cancel = false;
  int ended = 0;
  RecordingPage page;
  PrintPage* BeginPrint(std::string_view) override { return cancel ? nullptr : &page; }
  void EndPrint() override { ++ended; }
};

class OutputMenuTest : public OutputTest {
 protected:
  void SetUp() override {
    OutputTest::SetUp();
    FillSmallLog();
    StoreHeader();
  }
  OutputResult Run(OutputId id) {
    platform.dialogs.messages.clear();
    return RunOutput(id, kContest, services);
  }
  ScriptedFileDialogs files;
  RecordingViewer viewer;
  RecordingPrinter printer;
  OutputServices services{files, viewer, printer};
};

TEST(ExportMenu, EntriesOfThisEdition) {
  FixedClock clock;
  TContestDefinition def;
  FillContestDefinition(def, {}, clock);
  struct Expect {
    const char* caption;  // "" for a separator
    bool enabled;
  } expected[] = {
      {"STF-Datei", false},
      {"EDI-Datei", false},
      {"", false},
      {"E-Log Gesamtdatei", true},
      {"E-Log Deckblatt", true},
      {"E-Log QSO-Liste", true},
      {"E-Log Band-Liste", true},
      {"E-Log Multi-Checkliste", false},
      {"Cabrillo-Datei", false},
      {"", false},
      {"ADIF- Exportdatei der QSO-Liste", true},
      {"CSV- Exportdatei der QSO-Liste", true},
      {"", false},
      {"Papierlog - Deckblatt", true},
      {"Papierlog - QSO-Liste", true},
      {"Papierlog - Band-Liste", true},
      {"Papierlog - Multi-Checkliste", false},
  };
  const std::vector<ExportMenuItem> items = ExportMenuItems(def);
  ASSERT_EQ(items.size(), std::size(expected));
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].separator, std::string(expected[i].caption).empty()) << i;
    EXPECT_EQ(items[i].caption, expected[i].caption) << i;
    EXPECT_EQ(items[i].enabled, expected[i].enabled) << i;
    EXPECT_EQ(items[i].output.has_value(), expected[i].enabled) << i;
  }
  // Without its element an output is greyed too.
  def.ExportSet.reset(10);
  EXPECT_FALSE(ExportMenuItems(def)[6].enabled);
}

TEST(ExportMenu, FileNamesFromTheOwnCallAndTheCategory) {
  EXPECT_EQ(OutputFileBase("DL1ABC/P"), "DL1ABC_P");
  EXPECT_EQ(OutputFileBase("OE/DL1ABC/M"), "OE_DL1ABC_M");
  OutputSources src;
  EXPECT_EQ(OutputFileSuffix(src), "") << "no category";
  src.category_no = 2;
  EXPECT_EQ(OutputFileSuffix(src), "") << "no short name";
  src.definition.Categories[1].ShortName = "A.B:C/D\\E,F";
  EXPECT_EQ(OutputFileSuffix(src), "-A-BC_D_E_F");
}

TEST_F(OutputMenuTest, FileOutputsAskWriteReportAndShow) {
  struct Case {
    OutputId id;
    const char* question;
    const char* filter;
    const char* extension;
    bool success_message;
    bool viewer;
  } cases[] = {
      {OutputId::kSummaryFile, "E-Log - Deckblattdatei DL1ABC_P.SUM", "E-Log Deckblatt (*.SUM)|DL1ABC_P.SUM", "SUM",
       false, true},
      {OutputId::kQsoListFile, "E-Log - Listendatei DL1ABC_P.ALL", "E-Log Liste (*.ALL)|DL1ABC_P.ALL", "ALL", true,
       true},
      {OutputId::kBandListFile, "E-Log - Bandlistendatei DL1ABC_P.BND", "E-Log Bandliste (*.BND)|DL1ABC_P.BND", "BND",
       true, true},
      {OutputId::kTotalFile, "E-Log - Gesamtdatei DL1ABC_P.TXT", "E-Log Gesamtdatei (*.TXT)|DL1ABC_P.TXT", "TXT", true,
       false},
      {OutputId::kAdifFile, "ADIF - Listendatei DL1ABC_P.ADI", "ADIF-Liste (*.ADI)|DL1ABC_P.ADI", "ADI", true, false},
      {OutputId::kCsvFile, "CSV - Listendatei DL1ABC_P.CSV", "CSV-Liste (*.CSV)|DL1ABC_P.CSV", "CSV", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.extension);
    const std::string path = Path(std::string("out.") + c.extension);
    files.answer = path;
    viewer.shown.clear();
    ASSERT_EQ(Run(c.id), OutputResult::kDone);
    std::vector<std::string> expected = {
        std::string("Geben Sie im folgenden Dialog an, wohin die ") + c.question + " gespeichert werden soll."};
    if (c.success_message) expected.push_back("Datei " + path + " wurde erstellt.");
    EXPECT_EQ(platform.dialogs.messages, expected);
    EXPECT_EQ(files.filter, c.filter);
    EXPECT_EQ(files.proposed, std::string("DL1ABC_P.") + c.extension);
    EXPECT_EQ(files.default_extension, c.extension);
    EXPECT_EQ(viewer.shown, c.viewer ? std::vector<std::string>{path} : std::vector<std::string>{});
    StringSink expected_bytes;
    OutputSources src_read;
    ASSERT_TRUE(ReadOutputSources(kContest, &src_read));
    platform.dialogs.answers.clear();
    WriteFileOutput(c.id, src_read, expected_bytes, TodayText("dd.mm.yyyy"));
    EXPECT_EQ(ReadText(path), expected_bytes.text);
  }
}

TEST_F(OutputMenuTest, CancelledSaveDialogWritesNothing) {
  const std::string earlier = Path("DL1ABC_P.ALL");
  std::ofstream(earlier) << "edited by the operator";
  std::filesystem::current_path(m_dir);
  files.answer.reset();
  EXPECT_EQ(Run(OutputId::kQsoListFile), OutputResult::kCancelled);
  EXPECT_EQ(ReadText(earlier), "edited by the operator");
  EXPECT_EQ(platform.dialogs.messages.size(), 1u) << "only the question";
  EXPECT_TRUE(viewer.shown.empty());
}

TEST_F(OutputMenuTest, ReplacedFileFullDiskAndMissingFolder) {
  const std::string path = Path("twice.CSV");
  std::ofstream(path) << std::string(5000, 'x');
  files.answer = path;
  ASSERT_EQ(Run(OutputId::kCsvFile), OutputResult::kDone);
  const std::string first = ReadText(path);
  EXPECT_LT(first.size(), 5000u) << "the earlier file is replaced, not overwritten in part";
  ASSERT_EQ(Run(OutputId::kCsvFile), OutputResult::kDone);
  EXPECT_EQ(ReadText(path), first);

  files.answer = "/nonexistent-folder/x.CSV";
  EXPECT_EQ(Run(OutputId::kCsvFile), OutputResult::kFileNotCreated);
  EXPECT_EQ(platform.dialogs.messages.back(), "Die Datei /nonexistent-folder/x.CSV konnte nicht erstellt werden.");

  files.answer = "/dev/full";
  EXPECT_EQ(Run(OutputId::kQsoListFile), OutputResult::kWriteFailed);
  EXPECT_EQ(platform.dialogs.messages.back(), "Die Datei /dev/full konnte nicht erstellt werden.");
  EXPECT_TRUE(viewer.shown.empty()) << "a file that is not complete is not shown";
}

TEST_F(OutputMenuTest, CancelledPrintDialogPrintsNothing) {
  printer.cancel = true;
  EXPECT_EQ(Run(OutputId::kPrintedQsoList), OutputResult::kCancelled);
  EXPECT_TRUE(printer.page.lines.empty());
  EXPECT_EQ(printer.ended, 0);
  EXPECT_TRUE(platform.dialogs.messages.empty());
}

TEST_F(OutputMenuTest, PrintedQsoListBreaksPagesWithHeaders) {
  // 20 more QSOs on 80 m make the list run over three pages of ten lines.
  for (int i = 0; i < 20; ++i) {
    Add({"DL" + std::to_string(i) + "AAA", kBand80, "CW", DayNumber(7, 3, 2026), 7 * 3600 + i * 60, "599042/JO62QM",
         "599001/JO40HC", "JO40HC", "DL", "", 300, 3 + i});
  }
  ASSERT_EQ(Run(OutputId::kPrintedQsoList), OutputResult::kDone);
  EXPECT_EQ(printer.ended, 1);
  EXPECT_TRUE(platform.dialogs.messages.empty()) << "printed outputs give no message";
  const auto& lines = printer.page.lines;
  ASSERT_FALSE(lines.empty());
  int pages = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto& l = lines[i];
    EXPECT_EQ(l.x, 165) << "1.4 cm at 300 dpi";
    EXPECT_LE(l.y + 11, 228) << "line " << i << " runs off the page";
    if (i == 0 || l.page != lines[i - 1].page) {
      ++pages;
      EXPECT_EQ(l.y, 118) << "a page starts 1 cm from the top";
      EXPECT_TRUE(l.bold);
      EXPECT_NE(l.text.find("QSO-Liste     CALL: DL1ABC/P"), std::string::npos) << l.text;
      EXPECT_EQ(l.text.substr(77), "Page :   " + std::to_string(pages));
      ASSERT_LT(i + 2, lines.size());
      EXPECT_EQ(lines[i + 2].text.substr(0, 11), "Nr   DATE  ") << "column line on every page";
    } else {
      EXPECT_FALSE(l.bold) << l.text;
      EXPECT_EQ(l.y, lines[i - 1].y + 11);
    }
  }
  // Page 1: 4 header lines and 6 QSOs; pages 2 and 3: 3 and 7; page 4: 3
  // and the last 4, after which fewer than 4 lines remain for the score.
  EXPECT_EQ(pages, 5);
  // The score line closes the list, its blank line on the same page.
  EXPECT_NE(lines.back().text.find("   1296 Punkte"), std::string::npos) << lines.back().text;
  EXPECT_EQ(lines[lines.size() - 2].page, lines.back().page);
}

TEST_F(OutputMenuTest, PrintedSummarySheetAndBandList) {
  ASSERT_EQ(Run(OutputId::kPrintedSummary), OutputResult::kDone);
  const auto& sheet = printer.page.lines;
  auto find = [&sheet](const std::string& start) {
    for (const auto& l : sheet) {
      if (l.text.rfind(start, 0) == 0) return l;
    }
    return RecordingPage::Line{0, 0, 0, false, "<missing " + start + ">"};
  };
  EXPECT_TRUE(find("Name:").bold);
  EXPECT_TRUE(find("Call: DL1ABC/P").bold);
  EXPECT_FALSE(find("Ich erkl\xE4re").bold);
  // Place, date and call fill more than 43 characters: the signature
  // follows on a line of its own.
  EXPECT_EQ(find("Ort: 12345 Berlin").text, "Ort: 12345 Berlin     Datum: " + TodayText("dd.mm.yyyy") + "   Call: DL1ABC/P");
  EXPECT_EQ(find("Unterschrift").text, "Unterschrift _______________");
  EXPECT_EQ(sheet.back().page, 1) << "the sheet has no page breaks";

  printer.page = RecordingPage{};
  ASSERT_EQ(Run(OutputId::kPrintedBandList), OutputResult::kDone);
  int headings = 0;
  for (const auto& l : printer.page.lines) {
    if (l.text.rfind("Band List   DL1ABC/P   ", 0) == 0) {
      ++headings;
      EXPECT_TRUE(l.bold);
    }
  }
  EXPECT_EQ(headings, 3) << "70 cm without QSOs gets its heading too";
}

}  // namespace
}  // namespace kontura::testing
