// kontura-tool contests, export and import as a script runs them: the
// program next to the test programs, in a start directory with one contest.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "output/export_menu.h"
#include "tests/support/output_fixture.h"

namespace kontura::testing {
namespace {

std::string ToolPath() {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  buf[n] = 0;
  return (std::filesystem::path(buf).parent_path() / "kontura-tool").string();
}

struct ToolRun {
  int exit_code = -1;
  std::string output;  // standard output, and standard error when asked for
};

ToolRun Tool(const std::string& args, bool with_errors = true) {
  ToolRun r;
  FILE* p = popen((ToolPath() + " " + args + (with_errors ? " 2>&1" : " 2>/dev/null")).c_str(), "r");
  if (p == nullptr) return r;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) r.output.append(buf, n);
  const int status = pclose(p);
  r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

class ToolOutputsTest : public OutputTest {
 protected:
  void SetUp() override {
    OutputTest::SetUp();
    if (!std::filesystem::exists(ToolPath())) GTEST_SKIP() << "kontura-tool is not built";
    FillSmallLog();
    StoreHeader();
  }
  // The tool locks the fileblocks it opens, as every program of the suite
  // does: the test lets go of them first.
  void LetGo() {
    CloseFHLK();
    CloseFHCBUCH();
    CloseFHCALL();
  }
};

TEST_F(ToolOutputsTest, WrongCallsGiveTheUsage) {
  LetGo();
  for (const char* args : {"export", "export 7 xyz out.ALL", "export abc all out.ALL", "export 7 all", "import 7",
                           "import 7 a.adi --map", "import 7 a.adi --map =CALL", "contests 7"}) {
    const ToolRun r = Tool(args);
    EXPECT_EQ(r.exit_code, 2) << args << "\n" << r.output;
    EXPECT_NE(r.output.find("Aufruf: kontura-tool"), std::string::npos) << args;
  }
  const ToolRun help = Tool("help");
  for (const char* command : {"contests", "export NUMMER ART DATEI", "import NUMMER DATEI..."}) {
    EXPECT_NE(help.output.find(command), std::string::npos) << command;
  }
}

TEST_F(ToolOutputsTest, ContestsAndExportsAsTheMenuWritesThem) {
  StringSink all;
  ASSERT_TRUE(WriteFileOutput(OutputId::kQsoListFile, src, all, ""));
  platform.dialogs.answers = {true};
  StringSink adif;
  ASSERT_TRUE(WriteFileOutput(OutputId::kAdifFile, src, adif, ""));
  LetGo();

  const ToolRun list = Tool("contests");
  EXPECT_EQ(list.exit_code, 0);
  EXPECT_EQ(list.output, "7\tMobil 2026\t07.03.2026\tDL1ABC/P\n");

  ToolRun r = Tool("export 7 all out.ALL");
  EXPECT_EQ(r.exit_code, 0) << r.output;
  EXPECT_EQ(ReadText(Path("out.ALL")), all.text);
  r = Tool("export 7 adi out.adi --rst-only");
  EXPECT_EQ(r.exit_code, 0) << r.output;
  EXPECT_EQ(ReadText(Path("out.adi")), adif.text);

  r = Tool("export 9 all out.ALL");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.output, "kontura-tool: kein Contest mit der Nummer 9\n");
  r = Tool("export 7 csv /nonexistent-folder/x.CSV");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.output, "Die Datei /nonexistent-folder/x.CSV konnte nicht erstellt werden.\n");
}

TEST_F(ToolOutputsTest, ImportPrintsTheSummaryOfEachFile) {
  LetGo();
  std::ofstream(Path("a.adi")) << "<EOH>\n"
                                  "<CALL:6>DK7XYZ <QSO_DATE:8>20260307 <TIME_ON:4>0700 <MODE:2>CW <BAND:3>80M "
                                  "<GRIDSQUARE:6>JO40HC <EOR>\n"
                                  "<CALL:6>DK7XYZ <QSO_DATE:8>20260307 <TIME_ON:4>0701 <MODE:4>RTTY <BAND:3>80M <EOR>\n";
  // The messages of the entry ("Präfix unbekannt": no prefix database
  // here) go to standard error; the summary to standard output.
  ToolRun r = Tool("import 7 a.adi missing.adi", false);
  EXPECT_EQ(r.exit_code, 1) << "a missing file";
  EXPECT_EQ(r.output,
            "a.adi:\n1 Datens\xC3\xA4tze importiert\n1 fehlende oder falsche Modeangaben\n"
            "missing.adi:\nDatei existiert nicht\n");
  // The same contact again, now with the mode check off and CALL unmapped:
  // every contact is refused by the entry.
  r = Tool("import 7 a.adi --no-check --map CALL=", false);
  EXPECT_EQ(r.exit_code, 0) << r.output;
  EXPECT_EQ(r.output, "a.adi:\n0 Datens\xC3\xA4tze importiert\n2 Calls doppelt\n");
  r = Tool("import 7 a.adi --map NOSUCH=CALL");
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_EQ(r.output, "kontura-tool: unbekanntes Feld \"NOSUCH\" bei --map\n");
}

}  // namespace
}  // namespace kontura::testing
