// The ADIF import: reading a file into contacts, the tags found, the
// mapping, ExtractAdifField, the quirks of files from other programs, the
// run through the entry with its counts, and the mends (locator under
// "LOC", "Teiln.Nr." in any case, nothing of a refused contact in the next,
// band switches with the band's numbers and totals).

#include <gtest/gtest.h>

#include "logging/log_opening.h"
#include "output/adif_import.h"
#include "tests/support/log_fixture.h"
#include "text/date_time_text.h"

namespace kontura::testing {
namespace {

TEST(AdifReading, HeaderCommentsAndContactsAcrossLines) {
  const std::vector<std::string> records = ReadAdifText(
      "Exported by someone <programid:3>abc\r\n"
      "<EOH>\r\n"
      "# <CALL:6>DL9ZZZ <EOR>\r\n"
      "<call:6>dl1abc <mode:2>cw\r\n"
      "   \r\n"
      "<eor>\r\n"
      "<CALL:5>G4XYZ <EOR>\n"
      "<CALL:5>F5ABC");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], "<CALL:6>DL1ABC <MODE:2>CW<EOR>");
  EXPECT_EQ(records[1], "<CALL:5>G4XYZ <EOR>");
}

TEST(AdifReading, MissingFile) {
  std::vector<std::string> records;
  EXPECT_FALSE(ReadAdifFile("/nonexistent/x.adi", &records));
}

TEST(AdifReading, DamagedBytesDoNotStopTheReading) {
  const std::string text = std::string("<EOH>\n<CALL:6>DL1ABC\0\xFF<<>> <EOR>\n<CALL:", 40) + "\x00\x01";
  const std::vector<std::string> records = ReadAdifText(text);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(CollectAdifTags(records), std::vector<std::string>{"CALL"});
}

TEST(AdifTags, OrderOfFirstAppearanceWithoutLengthsAndEor) {
  const std::vector<std::string> tags =
      CollectAdifTags({"<CALL:6>DL1ABC <A<B:1>X <MODE:2>CW <EOR>", "<FREQ:4>3.55 <CALL:5>G4XYZ <EOR>"});
  EXPECT_EQ(tags, (std::vector<std::string>{"CALL", "MODE", "FREQ"}));
}

class AdifFieldsTest : public ::testing::Test {
 protected:
  void SetUp() override { FillContestDefinition(def, {DayNumber(7, 3, 2026), 42, kOwnLocator}, clock); }
  FixedClock clock;
  TContestDefinition def;
};

TEST_F(AdifFieldsTest, ListEndsWithTheCaptionsOfTheReceivedFields) {
  const AdifFieldList fields(def);
  EXPECT_EQ(fields.entries(), (std::vector<std::string>{"CALL", "QSO_DATE", "TIME_ON", "RST_SENT", "RST_RCVD",
                                                        "BAND", "FREQ", "MODE", "Teiln.Nr.", "LOC"}));
}

TEST_F(AdifFieldsTest, MappingAnEntryOnce) {
  AdifFieldList fields(def);
  EXPECT_FALSE(fields.AnyMapped());
  EXPECT_TRUE(fields.Map(0, "CALL"));
  EXPECT_FALSE(fields.Map(0, "CALL_WKD")) << "a mapped entry takes no second tag";
  EXPECT_TRUE(fields.MapField("teiln.nr.", "srx"));
  EXPECT_FALSE(fields.MapField("NOSUCH", "X"));
  EXPECT_TRUE(fields.AnyMapped());
  EXPECT_EQ(fields.entries()[0], "CALL (CALL)");
  EXPECT_EQ(fields.entries()[8], "Teiln.Nr. (SRX)");
}

TEST_F(AdifFieldsTest, DefaultMappingTakesOnlyTagsOfTheFile) {
  AdifFieldList fields(def);
  MapByDefault(fields, {"CALL", "QSO_DATE", "SRX", "GRIDSQUARE", "MODE"});
  EXPECT_EQ(fields.entries(),
            (std::vector<std::string>{"CALL (CALL)", "QSO_DATE (QSO_DATE)", "TIME_ON", "RST_SENT", "RST_RCVD",
                                      "BAND", "FREQ", "MODE (MODE)", "Teiln.Nr. (SRX)", "LOC (GRIDSQUARE)"}));
}

TEST_F(AdifFieldsTest, ExtractAdifField) {
  AdifFieldList fields(def);
  fields.MapField("CALL", "CALL");
  fields.MapField("QSO_DATE", "QSO_DATE");
  fields.MapField("TIME_ON", "TIME_ON");
  fields.MapField("Teiln.Nr.", "SRX");
  fields.MapField("LOC", "GRIDSQUARE");
  const std::string contact =
      "<CALL_WKD:6>DL7XYZ <CALL:6>DL1ABC <QSO_DATE:8>20100320 <TIME_ON:6>053012 <SRX:3> 007 <GRIDSQUARE:6>JO40HC"
      "<NAME:4>HANS <EOR>";
  struct Case {
    const char* field;
    const char* fallback;
    const char* expected;
  } cases[] = {
      {"CALL", "", "DL7XYZ"},           // the first "<CALL" wins, CALL_WKD included
      {"QSO_DATE", "", "20.03.10"},     // yyyymmdd
      {"TIME_ON", "", "05:30"},         // seconds dropped
      {"Teiln.Nr.", "", "007"},         // mixed-case entry found, value trimmed
      {"TEILN.NR.", "", "007"},
      {"LOC", "", "JO40HC"},            // the locator under the window's caption
      {"NAME", "", "HANS"},             // not listed: its own name
      {"QTH", "berlin", "BERLIN"},      // not found: the fallback, upper-cased
      {"RST_SENT", "599", ""},          // listed but unmapped: emptied
      {"", "X", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractAdifField(fields.entries(), contact, c.field, c.fallback), c.expected) << c.field;
  }
  EXPECT_EQ(ExtractAdifField(fields.entries(), "<QSO_DATE:6>100320 <EOR>", "QSO_DATE", ""), "20.03.10");
  EXPECT_EQ(ExtractAdifField(fields.entries(), "<TIME_ON:4>0530 <EOR>", "TIME_ON", ""), "05:30");
  EXPECT_EQ(ExtractAdifField(fields.entries(), "<QSO_DATE:7>2010032 <EOR>", "QSO_DATE", ""), "2010032");
}

TEST_F(AdifFieldsTest, ModeAndBandChecks) {
  EXPECT_TRUE(AdifModeAccepted(def, "cw"));
  EXPECT_TRUE(AdifModeAccepted(def, "FM"));
  EXPECT_FALSE(AdifModeAccepted(def, "RTTY"));
  EXPECT_FALSE(AdifModeAccepted(def, ""));
  struct Case {
    const char* band;
    const char* freq;
    bool accepted;
  } cases[] = {
      {"80M", "", true},     {"", "3.55", true},   {"", "3,55", true},  {"70CM", "", true},
      {"70 CM", "", true},   {"2M", "", true},     {"20M", "", false},  {"", "14.2", false},
      {"20M", "144.3", true}, {"80M", "3.95", true}, {"", "", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AdifBandAccepted(def, c.band, c.freq), c.accepted) << c.band << " " << c.freq;
  }
}

TEST(AdifSummary, LinesOnlyForCountsAboveZero) {
  EXPECT_EQ(ImportSummaryText({3, 0, 0, 0}), "3 Datens\xE4tze importiert");
  EXPECT_EQ(ImportSummaryText({0, 2, 1, 4}),
            "0 Datens\xE4tze importiert\r\n2 Calls doppelt\r\n1 fehlende oder falsche Bandangaben\r\n"
            "4 fehlende oder falsche Modeangaben");
}

// The import run on a log of its own per case.
class AdifImportTest : public LogTest {
 protected:
  struct Result {
    ImportCounts counts;
    std::vector<QsoRecord> records;
  };

  void SetUp() override {
    LogTest::SetUp();
    // Every case works on a log of its own.
    CloseFHLK();
  }

  Result Import(const std::string& text, bool no_check = false) {
    ++m_contest;
    ContestLog log(ctx.Definition, Options(), prefixes);
    EXPECT_TRUE(log.Open());
    const std::vector<std::string> records = ReadAdifText(text);
    AdifFieldList fields(ctx.Definition);
    MapByDefault(fields, CollectAdifTags(records));
    Result r;
    r.counts = ImportAdifRecords(log, records, fields, no_check);
    last_session = log.session();
    r.records = Records();
    log.Close();
    return r;
  }

  LogOptions Options() const {
    LogOptions o = ctx.Options;
    o.ContestNumber = m_contest;
    return o;
  }

  // Records of the log of the current case.
  std::vector<QsoRecord> Records() {
    std::vector<QsoRecord> all;
    Fileblock* log = TheLog();
    for (log->First(4); StorageErrorClass() == 0; log->Next(4)) all.push_back(LogRecord());
    return all;
  }

  static std::string Line(const QsoRecord& q) {
    return q.Call() + " " + std::string(1, q.Band() == 0 ? '0' : q.Band()) + " " +
           (q.QsoDate() > 0 ? DateToText("dd.mm.yy", q.QsoDate()) : "-") + " " + TimeToText("hh:mm", q.QsoTime()) +
           " " + q.Mode();
  }

  static std::vector<std::string> Lines(const Result& r) {
    std::vector<std::string> lines;
    for (const QsoRecord& q : r.records) lines.push_back(Line(q));
    return lines;
  }

  LogSession last_session;
  int32_t m_contest = 100;
};

std::string Tag(const std::string& name, const std::string& value) {
  return "<" + name + ":" + std::to_string(value.size()) + ">" + value + " ";
}

// A contact of 7 March 2026 at 05:30 with a locator, plus `more`.
std::string Contact(const std::string& call, const std::string& more = "", const std::string& mode = "CW",
                    const std::string& band = "80M") {
  return Tag("CALL", call) + "<QSO_DATE:8>20260307 <TIME_ON:4>0530 " + Tag("MODE", mode) + Tag("BAND", band) +
         "<GRIDSQUARE:6>JO40HC " + more + "<EOR>\n";
}

// The contact without its line end.
std::string OneLine(const std::string& contact) { return contact.substr(0, contact.size() - 1); }

TEST_F(AdifImportTest, QuirksOfFilesFromOtherPrograms) {
  struct Case {
    const char* name;
    std::string text;
    bool no_check;
    std::vector<std::string> stored;
    ImportCounts counts;
  } cases[] = {
      {"lower-case tags",
       "<eoh>\n<call:6>dl1abc <qso_date:8>20260307 <time_on:4>0530 <mode:2>cw <band:3>80m <eor>\n",
       false, {"DL1ABC b 07.03.26 05:30 CW"}, {1, 0, 0, 0}},
      {"# lines", "<EOH>\n# " + Contact("DL9ZZZ") + Contact("DL1ABC"), false, {"DL1ABC b 07.03.26 05:30 CW"},
       {1, 0, 0, 0}},
      {"a contact on the <EOH> line counts", "<PROGRAMID:3>XYZ <EOH> " + Contact("DL9ZZZ") + Contact("DL1ABC"),
       false, {"DL9ZZZ b 07.03.26 05:30 CW", "DL1ABC b 07.03.26 05:30 CW"}, {2, 0, 0, 0}},
      {"several contacts on one line are several", "<EOH>\n" + OneLine(Contact("DL1ABC")) + " " +
       Contact("DL2ABC"), false, {"DL1ABC b 07.03.26 05:30 CW", "DL2ABC b 07.03.26 05:30 CW"}, {2, 0, 0, 0}},
      {"CALL_WKD before CALL", "<EOH>\n<CALL_WKD:6>DL7XYZ " + Contact("DL1ABC"), false,
       {"DL7XYZ b 07.03.26 05:30 CW"}, {1, 0, 0, 0}},
      {"dates of 8 and 6 digits, time with seconds",
       "<EOH>\n<CALL:6>DL1ABC <QSO_DATE:8>20260307 <TIME_ON:6>053012 <MODE:2>CW <BAND:3>80M <EOR>\n"
       "<CALL:6>DL2ABC <QSO_DATE:6>260308 <TIME_ON:4>0612 <MODE:2>CW <BAND:3>80M <EOR>\n",
       false, {"DL1ABC b 07.03.26 05:30 CW", "DL2ABC b 08.03.26 06:12 CW"}, {2, 0, 0, 0}},
      {"no FREQ in the file: the band's nominal frequency",
       "<EOH>\n" + Contact("DL1ABC") + "<CALL:6>DL2ABC <QSO_DATE:8>20260307 <TIME_ON:4>0531 "
       "<MODE:2>FM <BAND:2>2M <EOR>\n",
       false, {"DL1ABC b 07.03.26 05:30 CW", "DL2ABC k 07.03.26 05:31 FM"}, {2, 0, 0, 0}},
      {"FREQ mapped but missing: the frequency of the entry stays",
       "<EOH>\n" + Contact("DL1ABC", "<FREQ:5>144.3 ") +
       "<CALL:6>DL2ABC <QSO_DATE:8>20260307 <TIME_ON:4>0531 <MODE:2>CW <BAND:3>80M <EOR>\n",
       false, {"DL1ABC k 07.03.26 05:30 CW", "DL2ABC k 07.03.26 05:31 CW"}, {2, 0, 0, 0}},
      {"FREQ 3.95 outside every band range: the BAND tag's band", "<EOH>\n" + Contact("DL1ABC", "<FREQ:4>3.95 "),
       false, {"DL1ABC b 07.03.26 05:30 CW"}, {1, 0, 0, 0}},
      {"RTTY checked", "<EOH>\n<CALL:6>DL1ABC <QSO_DATE:8>20260307 <TIME_ON:4>0530 <MODE:4>RTTY <BAND:3>80M <EOR>\n",
       false, {}, {0, 0, 0, 1}},
      {"RTTY without the check",
       "<EOH>\n<CALL:6>DL1ABC <QSO_DATE:8>20260307 <TIME_ON:4>0530 <MODE:4>RTTY <BAND:3>80M <EOR>\n", true,
       {"DL1ABC b 07.03.26 05:30 RTTY"}, {1, 0, 0, 0}},
      {"a band outside the contest", "<EOH>\n" + Contact("DL1ABC", "<FREQ:4>14.2 ", "CW", "20M"), false, {},
       {0, 0, 1, 0}},
      {"BAND 80M with FREQ 14.2 outside the contest: the BAND tag's band",
       "<EOH>\n" + Contact("DL1ABC", "<FREQ:4>14.2 "), false, {"DL1ABC b 07.03.26 05:30 CW"}, {1, 0, 0, 0}},
      {"BAND 80M with FREQ 144.3: the frequency's band", "<EOH>\n" + Contact("DL1ABC", "<FREQ:5>144.3 "), false,
       {"DL1ABC k 07.03.26 05:30 CW"}, {1, 0, 0, 0}},
      {"duplicates and refused contacts",
       "<EOH>\n" + Contact("DL1ABC") + Contact("DL1ABC") + Contact("DL1ABC", "<FREQ:4>3.55 ") +
       "<CALL:3>XYZ <QSO_DATE:8>20260307 <TIME_ON:4>0530 <MODE:2>CW <BAND:3>80M <EOR>\n",
       false, {"DL1ABC b 07.03.26 05:30 CW"}, {1, 3, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Result r = Import(c.text, c.no_check);
    EXPECT_EQ(Lines(r), c.stored);
    EXPECT_EQ(r.counts.imported, c.counts.imported);
    EXPECT_EQ(r.counts.duplicates, c.counts.duplicates);
    EXPECT_EQ(r.counts.band_errors, c.counts.band_errors);
    EXPECT_EQ(r.counts.mode_errors, c.counts.mode_errors);
  }
}

TEST_F(AdifImportTest, LocatorIsReadAndScored) {
  const Result r = Import("<EOH>\n" + Contact("DL1ABC", "<SRX:3>007 <RST_RCVD:3>579 "));
  ASSERT_EQ(r.records.size(), 1u);
  EXPECT_EQ(r.records[0].Locator(), "JO40HC");
  EXPECT_GT(r.records[0].Points(), 0);
  EXPECT_EQ(r.records[0].Points(), r.records[0].Distance());
  EXPECT_EQ(r.records[0].RecvExchange(), "579007/JO40HC");
  // A report field the file has no tag for is emptied like every listed
  // field that is not mapped.
  EXPECT_EQ(r.records[0].SentExchange().substr(0, 3), "   ");
}

TEST_F(AdifImportTest, NothingOfARefusedContactReachesTheNext) {
  const Result r = Import("<EOH>\n" + Contact("DL1ABC") + Contact("DL1ABC", "<NAME:5>FRITZ <QTH:4>BONN <SRX:3>123 ") +
                          "<CALL:6>DL2XYZ <QSO_DATE:8>20260307 <TIME_ON:4>0531 <MODE:2>CW <BAND:3>80M <EOR>\n" +
                          Contact("DL3XYZ", "<NAME:4>HANS ", "RTTY") +
                          "<CALL:6>DL4XYZ <QSO_DATE:8>20260307 <TIME_ON:4>0532 <MODE:2>CW <BAND:3>80M <EOR>\n");
  ASSERT_EQ(r.records.size(), 3u);
  for (size_t i = 1; i < 3; ++i) {
    EXPECT_EQ(r.records[i].NameQth(), "") << r.records[i].Call();
    EXPECT_EQ(r.records[i].RecvExchange().substr(3), "") << r.records[i].Call();
    EXPECT_EQ(r.records[i].Locator(), "") << r.records[i].Call();
  }
  EXPECT_EQ(r.counts.duplicates, 1);
  EXPECT_EQ(r.counts.mode_errors, 1);
}

TEST_F(AdifImportTest, BandSwitchTakesTheBandsNumbersAndTotals) {
  const Result r = Import("<EOH>\n" + Contact("DL1ABC") + Contact("DL2ABC") + Contact("DL1ABC", "<FREQ:5>144.3 ") +
                          Contact("DL3ABC", "<FREQ:4>3.55 "));
  ASSERT_EQ(r.records.size(), 4u);
  const int32_t serials[] = {1, 2, 1, 3};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(r.records[i].BandSerial(), serials[i]) << i;
  EXPECT_EQ(r.records[2].Band(), kBand2);
  const ScoreTotals& t = last_session.Totals;
  EXPECT_EQ(t.BandQsos[static_cast<uint8_t>(kBand80)], 3);
  EXPECT_EQ(t.BandQsos[static_cast<uint8_t>(kBand2)], 1);
  EXPECT_EQ(t.CurrentBandQsos, 3);
  EXPECT_EQ(t.BandPoints[static_cast<uint8_t>(kBand2)], r.records[2].Points());
  EXPECT_EQ(t.CurrentBandPoints, r.records[0].Points() + r.records[1].Points() + r.records[3].Points());
}

TEST_F(AdifImportTest, ClockOffAndNothingOfTheMaskDuringTheImport) {
  ContestLog log(ctx.Definition, Options(), prefixes);
  ASSERT_TRUE(log.Open());
  AdifFieldList fields(ctx.Definition);
  const std::vector<std::string> records = ReadAdifText("<EOH>\n" + Contact("DL1ABC"));
  MapByDefault(fields, CollectAdifTags(records));
  // A QSO half typed in the mask is not the first contact's.
  log.entry().Type(MaskField::kName, "Fritz");
  log.entry().Type(MaskField::kRecv2, "123");
  ImportAdifRecords(log, records, fields, false);
  EXPECT_FALSE(log.entry().ClockPaused());
  ASSERT_EQ(Records().size(), 1u);
  EXPECT_EQ(Records()[0].NameQth(), "");
  EXPECT_EQ(Records()[0].RecvExchange().substr(3), "/JO40HC");
  EXPECT_EQ(TimeToText("hh:mm:ss", Records()[0].QsoTime()), "05:30:00") << "the file's time, not the clock's";
  log.Close();
}

}  // namespace
}  // namespace kontura::testing
