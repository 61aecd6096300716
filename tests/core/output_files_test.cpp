// The file outputs byte for byte: the E-Log files (SUM, ALL, BND, TXT), the
// CSV list and the ADIF file of a small finished log against golden files,
// and the line writer's rules that every one of them relies on.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "output/adif_export.h"
#include "output/export_menu.h"
#include "output/line_writer.h"
#include "output/qso_list.h"
#include "tests/support/output_fixture.h"

namespace kontura::testing {
namespace {

constexpr char kToday[] = "08.03.2026";

TEST(LineWriter, FilesIndentELogAndAdifLinesButNotCsv) {
  struct Case {
    OutputKind kind;
    const char* expected;
  } cases[] = {
      {OutputKind::kELog, "     a\r\n      \r\n"},
      {OutputKind::kAdif, "     a\r\n      \r\n"},
      {OutputKind::kCsv, "a\r\n \r\n"},
  };
  for (const Case& c : cases) {
    StringSink sink;
    LineWriter w(c.kind, sink);
    w.SetBold(true);  // files have no styles
    w.WriteLine("a");
    w.BlankLine();
    w.PageBreak([&] { w.WriteLine("header"); });  // no pages in files
    EXPECT_EQ(sink.text, c.expected);
  }
}

TEST(LineWriter, TextIsWrittenAsTheRecordsHoldIt) {
  StringSink sink;
  LineWriter w(OutputKind::kCsv, sink);
  w.WriteLine("Stra\xDF" "e;\xE4\xF6\xFC");
  EXPECT_EQ(sink.text, "Stra\xDF" "e;\xE4\xF6\xFC\r\n");
}

TEST(LineWriter, FullDiskIsReported) {
  FileSink sink;
  ASSERT_TRUE(sink.Create("/dev/full"));
  LineWriter w(OutputKind::kELog, sink);
  for (int i = 0; i < 2000; ++i) w.WriteLine("0123456789012345678901234567890123456789");
  EXPECT_FALSE(sink.Close());
  EXPECT_FALSE(w.ok());
}

TEST(LineWriter, FileThatCannotBeCreated) {
  FileSink sink;
  EXPECT_FALSE(sink.Create("/nonexistent-folder/x.ALL"));
}

TEST(QsoListBand, FourPositionsWithoutTheCentimetreC) {
  struct Case {
    char band;
    OutputKind kind;
    const char* expected;
  } cases[] = {
      {kBand80, OutputKind::kELog, "80  "}, {kBand2, OutputKind::kELog, "2   "}, {kBand70, OutputKind::kELog, "70  "},
      {kBand80, OutputKind::kCsv, "80"},    {kBand2, OutputKind::kCsv, "2"},      {kBand70, OutputKind::kCsv, "70  "},
  };
  for (const Case& c : cases) EXPECT_EQ(QsoListBand(c.band, c.kind), c.expected) << c.band;
}

class OutputFilesTest : public OutputTest {
 protected:
  static std::string Output(OutputId id, const OutputSources& src) {
    StringSink sink;
    EXPECT_TRUE(WriteFileOutput(id, src, sink, kToday));
    return sink.text;
  }

  // Compares with the golden file; KONTURA_WRITE_GOLDEN=1 writes it instead
  // (for a deliberate change of a layout, to be read line by line before it
  // is committed).
  static void ExpectGolden(const std::string& bytes, const std::string& name) {
    const std::string path = GoldenPath(name);
    if (const char* w = std::getenv("KONTURA_WRITE_GOLDEN"); w != nullptr && std::string(w) == "1") {
      std::ofstream(path, std::ios::binary) << bytes;
    }
    EXPECT_EQ(bytes, StartDirTest::ReadText(path)) << name;
  }
};

TEST_F(OutputFilesTest, GoldenFilesOfASmallLog) {
  FillSmallLog();
  struct Case {
    OutputId id;
    const char* golden;
  } cases[] = {
      {OutputId::kSummaryFile, "small.SUM"}, {OutputId::kQsoListFile, "small.ALL"},
      {OutputId::kBandListFile, "small.BND"}, {OutputId::kTotalFile, "small.TXT"},
      {OutputId::kCsvFile, "small.CSV"},
  };
  for (const Case& c : cases) ExpectGolden(Output(c.id, src), c.golden);
}

TEST_F(OutputFilesTest, GoldenAdifFilesWithAndWithoutReportOnly) {
  FillSmallLog();
  platform.dialogs.answers = {false};
  ExpectGolden(Output(OutputId::kAdifFile, src), "small.ADI");
  platform.dialogs.answers = {true};
  ExpectGolden(Output(OutputId::kAdifFile, src), "small-rst.ADI");
  ASSERT_EQ(platform.dialogs.questions.size(), 2u);
  EXPECT_EQ(platform.dialogs.questions[0], "Von der Kontrollnummer nur RS(T) exportieren?");
}

TEST_F(OutputFilesTest, EmptyLogQsoList) {
  src.band_qsos = {};
  src.band_points = {};
  ExpectGolden(Output(OutputId::kQsoListFile, src), "empty.ALL");
}

TEST_F(OutputFilesTest, AdifQsoLineTagsAndTheirRules) {
  QsoRecord base;
  base.SetCall("DL1ABC");
  base.SetBand(kBand70);
  base.SetMode("FM");
  base.SetQsoDate(DayNumber(20, 3, 2010));
  base.SetQsoTime(5 * 3600 + 30 * 60 + 12);
  base.SetSentExchange("59 012/JO62QM");
  base.SetRecvExchange("59 ");
  base.SetPoints(1234);
  struct Case {
    const char* name;
    void (*change)(QsoRecord&);
    bool rst_only;
    const char* expected;
  } cases[] = {
      {"plain", [](QsoRecord&) {}, false,
       "<QSO_DATE:8>20100320 <TIME_ON:4>0530 <CALL:6>DL1ABC <RST_SENT:13>59 012/JO62QM <RST_RCVD:3>59  "
       "<BAND:4>70cm <MODE:2>FM <PTS:4>1234 <DOK:0> <GRIDSQUARE:0> <EOR>"},
      {"report only: STX, no SRX for a received text of three characters", [](QsoRecord&) {}, true,
       "<QSO_DATE:8>20100320 <TIME_ON:4>0530 <CALL:6>DL1ABC <RST_SENT:3>59  <RST_RCVD:3>59  <STX:10>012/JO62QM "
       "<BAND:4>70cm <MODE:2>FM <PTS:4>1234 <DOK:0> <GRIDSQUARE:0> <EOR>"},
      {"no date, PR as PKT, frequency, DOK, QSL flags",
       [](QsoRecord& q) {
         q.SetQsoDate(-1);
         q.SetMode("PR");
         q.SetFrequency(432.2f);
         q.SetDistrictCode("B01ABCDE");
         q.SetQslSent('J');
         q.SetQslReceived('N');
       },
       false,
       "<TIME_ON:4>0530 <CALL:6>DL1ABC <RST_SENT:13>59 012/JO62QM <RST_RCVD:3>59  <BAND:4>70cm <MODE:3>PKT "
       "<PTS:4>1234 <DOK:8>B01ABCDE <GRIDSQUARE:0> <FREQ:8>432.2000 <QSL_SENT:1>Y <QSL_RCVD:1>N <EOR>"},
      {"name and QTH", [](QsoRecord& q) { q.SetNameQth("Hans;Berlin"); }, false, "<NAME:4>Hans <QTH:6>Berlin "},
      {"QTH without semicolon", [](QsoRecord& q) { q.SetNameQth("Hans"); }, false, "<PTS:4>1234 <DOK:0> <GRIDSQUARE:0> <QTH:4>Hans <EOR>"},
      {"only QTH", [](QsoRecord& q) { q.SetNameQth(";Berlin"); }, false, "<GRIDSQUARE:0> <QTH:6>Berlin <EOR>"},
      {"entity 1 right-aligned", [](QsoRecord& q) { q.SetDxcc("VE"); }, false, "<DXCC:3>  1 <DXCC_PFX:2>VE <EOR>"},
      {"unknown entity: no DXCC", [](QsoRecord& q) { q.SetDxcc("QQ9"); }, false, "<GRIDSQUARE:0> <EOR>"},
  };
  for (const Case& c : cases) {
    QsoRecord q = base;
    c.change(q);
    const std::string line = AdifQsoLine(q, c.rst_only, "DOK");
    EXPECT_NE(line.find(c.expected), std::string::npos) << c.name << "\n" << line;
  }
  EXPECT_NE(AdifQsoLine(base, false, "LDK").find(" <LDK:0> "), std::string::npos);
}

}  // namespace
}  // namespace kontura::testing
