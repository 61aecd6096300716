// The record listing of kontura-tool: records in record-number order with
// their fields, the files left exactly as they were, damaged files reported.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "catalogue/fileblock_dump.h"
#include "contest/contest_header.h"
#include "logging/qso_record.h"
#include "logging/qso_summary.h"
#include "refdata/setup_record.h"
#include "refdata/suite_records.h"
#include "storage/file_layout.h"
#include "storage/record_bytes.h"
#include "tests/support/start_dir_fixture.h"
#include "text/calendar.h"

namespace kontura::testing {
namespace {

class FileblockDumpTest : public StartDirTest {
 protected:
  void SetUp() override {
    StartDirTest::SetUp();
    ASSERT_TRUE(StartStorage());
  }

  std::vector<std::string> Dump(const std::string& name, DumpReport* report = nullptr) {
    std::vector<std::string> lines;
    const FileblockLayout* entry = FindCatalogueLayout(name);
    EXPECT_NE(entry, nullptr) << name;
    if (!entry) return lines;
    DumpReport r = DumpFileblock(Path(name), *entry, [&lines](const std::string& l) { lines.push_back(l); });
    EXPECT_EQ(r.records, static_cast<int32_t>(lines.size()));
    if (report) *report = r;
    return lines;
  }

  void AddContest(const char* name) {
    TContestHeader h(CatalogueRecord(CatalogueId::kFhkk));
    CatalogueHandle(CatalogueId::kFhkk)->ClearBuffer();
    PresetNewContest(h, "JO62QM", "DL1ABC", 'm');
    h.SetEntryName(name);
    h.SetDateFrom(DayNumber(7, 3, 2026));
    h.SetTimeFrom(6 * 3600);
    h.SetDateTo(DayNumber(7, 3, 2026));
    h.SetTimeTo(9 * 3600);
    h.SetParticipantNo(12);
    CatalogueHandle(CatalogueId::kFhkk)->AddRecord();
    ASSERT_EQ(StorageErrorClass(), 0) << StorageErrorCode();
  }

  // Three contests, the second deleted and its slot taken by a fourth.
  void WriteContests() {
    ASSERT_TRUE(OpenFHKK());
    for (const char* name : {"Zeta", "Alpha", "Mitte"}) AddContest(name);
    CatalogueHandle(CatalogueId::kFhkk)->ReadByRef(2);
    CatalogueHandle(CatalogueId::kFhkk)->DeleteRecord(kAfterNone);
    AddContest("Neu");
    CloseFHKK();
  }

  static QsoRecord SampleQso() {
    QsoRecord q;
    q.SetRecordNo(2);
    q.SetQsoNo(1);
    q.SetQsoDate(DayNumber(7, 3, 2026));
    q.SetQsoTime(7 * 3600 + 31 * 60);
    q.SetCall("DL1ABC/P");
    q.SetBand('b');
    q.SetMode("CW");
    q.SetSentExchange("599001/JO62QM");
    q.SetRecvExchange("579012/JO40HC");
    q.SetLocator("JO40HC");
    q.SetDistance(318);
    q.SetPoints(318);
    q.SetDxcc("DL");
    return q;
  }

  static std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }

  static void PutBytes(const std::string& path, size_t offset, const std::vector<uint8_t>& bytes) {
    std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(static_cast<std::streamoff>(offset));
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
};

TEST_F(FileblockDumpTest, ListsRecordsInRecordNumberOrderWithTheirFields) {
  WriteContests();
  DumpReport report;
  std::vector<std::string> lines = Dump("FHKK.DAT", &report);
  EXPECT_TRUE(report.ok());
  ASSERT_EQ(lines.size(), 3u);
  // Record 2 holds the contest added last: the listing follows the file.
  const std::string rest = " | von 07.03.2026 06:00 | bis 07.03.2026 09:00 | Call DL1ABC | Teilnehmer-Nr 12";
  EXPECT_EQ(lines[0], "1: Nr 1 | Edition m | Name \"Zeta\"" + rest);
  EXPECT_EQ(lines[1], "2: Nr 4 | Edition m | Name \"Neu\"" + rest);
  EXPECT_EQ(lines[2], "3: Nr 3 | Edition m | Name \"Mitte\"" + rest);

  ASSERT_TRUE(OpenFHSETUP());
  SetupRecord s(CatalogueRecord(CatalogueId::kFhsetup));
  s.SetOwnCall("DK2XY");
  s.SetOwnLocator("JO62QM");
  s.SetOwnName("J\xFCrgen");
  s.SetTimeOffsetHours(1);
  CatalogueHandle(CatalogueId::kFhsetup)->AddRecord();
  CloseFHSETUP();
  EXPECT_EQ(Dump("FHSETUP"),
            std::vector<std::string>{"1: Nr 1 | Call DK2XY | Locator JO62QM | Name \"J\xFCrgen\" | Zeitdifferenz 1"});

  // A contest log and its temporary copy list their QSOs.
  for (const char* file : {"FHLK0007", "FHLKTEMP"}) {
    const std::string name = file;
    SCOPED_TRACE(name);
    if (name == "FHLK0007") ASSERT_TRUE(OpenFHLK(7));
    else ASSERT_TRUE(OpenFHLKTEMP());
    const CatalogueId id = name == "FHLK0007" ? CatalogueId::kFhlk : CatalogueId::kFhlktemp;
    QsoRecord marker;
    marker.SetQsyBand('k');
    marker.SetBand('k');
    marker.SetQsoDate(-1);
    marker.SetQsoTime(-1);
    marker.CopyTo(CatalogueRecord(id));
    CatalogueHandle(id)->AddRecord();
    SampleQso().CopyTo(CatalogueRecord(id));
    CatalogueHandle(id)->AddRecord();
    ASSERT_EQ(StorageErrorClass(), 0);
    CloseCatalogued(id);
    EXPECT_EQ(Dump(name),
              (std::vector<std::string>{
                  "1: Nr 1 | QSO 0 | - - |  | 2m |  | gesendet \"\" | empfangen \"\" | Locator  | 0 km | "
                  "0 Punkte | DXCC  | Bandwechsel",
                  "2: Nr 2 | QSO 1 | 07.03.2026 07:31 | DL1ABC/P | 80m | CW | gesendet \"599001/JO62QM\" | "
                  "empfangen \"579012/JO40HC\" | Locator JO40HC | 318 km | 318 Punkte | DXCC DL"}));
  }
  EXPECT_TRUE(exit_codes.empty());
}

TEST_F(FileblockDumpTest, QsoLineShowsUnsetAndSpecialValues) {
  struct Case {
    const char* name;
    void (*change)(QsoRecord&);
    std::string expected_middle;  // from the date up to the call
    std::string expected_end;     // after "DXCC DL"
  };
  const Case cases[] = {
      {"as logged", [](QsoRecord&) {}, "07.03.2026 07:31 | DL1ABC/P | 80m", ""},
      {"midnight is a time", [](QsoRecord& q) { q.SetQsoTime(0); }, "07.03.2026 00:00 | DL1ABC/P | 80m", ""},
      {"no date, no time, no band",
       [](QsoRecord& q) {
         q.SetQsoDate(-1);
         q.SetQsoTime(-1);
         q.SetBand(0);
       },
       "- - | DL1ABC/P | -", ""},
      {"excluded", [](QsoRecord& q) { q.SetExcluded(1); }, "07.03.2026 07:31 | DL1ABC/P | 80m",
       " | ausgeschlossen"},
  };
  for (const Case& c : cases) {
    QsoRecord q = SampleQso();
    c.change(q);
    EXPECT_EQ(QsoSummary(q.data()), "Nr 2 | QSO 1 | " + c.expected_middle +
                                        " | CW | gesendet \"599001/JO62QM\" | empfangen \"579012/JO40HC\" | "
                                        "Locator JO40HC | 318 km | 318 Punkte | DXCC DL" + c.expected_end)
        << c.name;
  }
}

TEST_F(FileblockDumpTest, LeavesTheFilesAsTheyAre) {
  WriteContests();
  // An interrupted change: the engine would rebuild this file on opening.
  PutBytes(Path("FHKK.DAT"), layout::kDataModified, {1});
  const std::vector<uint8_t> dat = Bytes(Path("FHKK.DAT"));
  const std::vector<uint8_t> ix = Bytes(Path("FHKK.IX"));
  const auto files_before = std::distance(std::filesystem::directory_iterator(m_dir), {});

  DumpReport report;
  EXPECT_EQ(Dump("FHKK", &report).size(), 3u) << "the records are still listed";
  ASSERT_EQ(report.problems.size(), 1u);
  EXPECT_NE(report.problems[0].find("modification flag"), std::string::npos) << report.problems[0];
  EXPECT_EQ(Bytes(Path("FHKK.DAT")), dat);
  EXPECT_EQ(Bytes(Path("FHKK.IX")), ix);

  // A missing fileblock is reported, not created.
  EXPECT_TRUE(Dump("FHCALL", &report).empty());
  EXPECT_FALSE(report.ok());
  EXPECT_FALSE(std::filesystem::exists(Path("FHCALL.DAT")));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir), {}), files_before);
}

TEST_F(FileblockDumpTest, DamagedFilesAreReportedNotFollowed) {
  WriteContests();
  // Profiles are variable-length: each fills a main slot and a chain of
  // continuation slots (the engine stores the whole buffer).
  ASSERT_TRUE(OpenFHPRO());
  Fileblock* pro = CatalogueHandle(CatalogueId::kFhpro);
  std::vector<int32_t> mains;
  for (const char* name : {"Contest", "Portabel"}) {
    pro->ClearBuffer();
    SetProfileName(CatalogueRecord(CatalogueId::kFhpro), name);
    pro->AddRecord();
    ASSERT_EQ(StorageErrorClass(), 0);
    mains.push_back(pro->CurrentRef());
  }
  CloseFHPRO();
  EXPECT_EQ(Dump("FHPRO"), (std::vector<std::string>{std::to_string(mains[0]) + ": Nr 1 | \"Contest\"",
                                                     std::to_string(mains[1]) + ": Nr 2 | \"Portabel\""}));

  struct Case {
    const char* name;
    std::string file;
    void (*damage)(const std::string& path, int32_t first_main);
    size_t lines;
  };
  const Case cases[] = {
      {"shorter than its header", "FHKK",
       [](const std::string& p, int32_t) { std::filesystem::resize_file(p, 10); }, 0},
      {"another record length", "FHKK",
       [](const std::string& p, int32_t) { PutBytes(p, layout::kDataRecordLength, {0x80, 0x01, 0, 0}); }, 0},
      {"slot count beyond the file", "FHKK",
       [](const std::string& p, int32_t) { PutBytes(p, layout::kDataSlotCount, {0xFF, 0xFF, 0, 0}); }, 3},
      {"continuation chain leaves the file", "FHPRO",
       [](const std::string& p, int32_t first_main) {
         const size_t S = 14699;
         PutBytes(p, static_cast<size_t>(first_main) * S + S - layout::kVarNextFromEnd, {0x63, 0, 0, 0});
       },
       1},
      {"continuation chain loops", "FHPRO",
       [](const std::string& p, int32_t first_main) {
         const size_t S = 14699;
         const uint8_t self = static_cast<uint8_t>(first_main + 1);
         PutBytes(p, static_cast<size_t>(first_main + 1) * S + S - layout::kVarNextFromEnd, {self, 0, 0, 0});
       },
       1},
  };
  const std::vector<uint8_t> fhkk = Bytes(Path("FHKK.DAT"));
  const std::vector<uint8_t> fhpro = Bytes(Path("FHPRO.DAT"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string dat = Path(c.file + ".DAT");
    {
      std::ofstream out(dat, std::ios::binary | std::ios::trunc);
      const std::vector<uint8_t>& original = c.file == "FHKK" ? fhkk : fhpro;
      out.write(reinterpret_cast<const char*>(original.data()), static_cast<std::streamsize>(original.size()));
    }
    c.damage(dat, mains[0]);
    DumpReport report;
    EXPECT_EQ(Dump(c.file, &report).size(), c.lines);
    EXPECT_FALSE(report.ok());
  }
}

TEST(CatalogueEntryOfPath, FindsTheProgramsFileblocksByFileName) {
  struct Case {
    const char* path;
    const FileblockLayout* expected;
  };
  const Case cases[] = {
      {"FHKK", &CatalogueLayout(CatalogueId::kFhkk)},
      {"/data/contest/fhkk.dat", &CatalogueLayout(CatalogueId::kFhkk)},
      {"FHSETUP2.IX", &CatalogueLayout(CatalogueId::kFhsetup2)},
      {"dir/FHLK0007.DAT", &CatalogueLayout(CatalogueId::kFhlk)},
      {"FHLKTEMP", &CatalogueLayout(CatalogueId::kFhlktemp)},
      {"FHPREFES.DAT", &CatalogueLayout(CatalogueId::kFhprefes)},
      {"FHLKXY", nullptr},
      {"FHQSL", nullptr},
  };
  for (const Case& c : cases) EXPECT_EQ(FindCatalogueLayout(c.path), c.expected) << c.path;
}

}  // namespace
}  // namespace kontura::testing
