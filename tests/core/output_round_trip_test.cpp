// The ADIF file the program writes imports again into a new contest with
// the same QSOs and points, through the same code kontura-tool runs
// (export, then import with the default mapping).

#include <gtest/gtest.h>

#include "contest/contest_header.h"
#include "logging/log_opening.h"
#include "output/headless_outputs.h"
#include "output/output_sources.h"
#include "refdata/suite_settings.h"
#include "tests/support/log_fixture.h"
#include "text/date_time_text.h"

namespace kontura::testing {
namespace {

using F = MaskField;

class RoundTripTest : public StartDirTest {
 protected:
  void SetUp() override {
    StartDirTest::SetUp();
    platform.clock.Set(2026, 3, 7, 6, 30, 12);
    ASSERT_TRUE(StartStorage());
    SetFatalStorageHandler([this] { fatal_codes.push_back(StorageErrorCode()); });
    TheSuiteSettings() = SuiteSettings{};
    TheSuiteSettings().OwnCall = "DL1ABC/P";
    TheSuiteSettings().OwnLocator = kOwnLocator;
    TheSuiteSettings().TimeOffsetHours = -1;
  }
  void TearDown() override {
    TheSuiteSettings() = SuiteSettings{};
    StartDirTest::TearDown();
    EXPECT_TRUE(fatal_codes.empty());
  }

  int32_t NewContest(const std::string& name) {
    EXPECT_TRUE(OpenFHKK());
    Fileblock* fb = CatalogueHandle(CatalogueId::kFhkk);
    fb->ClearBuffer();
    TContestHeader h(fb->RecordBuffer());
    PresetNewContest(h, kOwnLocator, "DL1ABC/P", kEditionCode);
    h.SetEntryName(name);
    h.SetDateFrom(DayNumber(7, 3, 2026));
    h.SetParticipantNo(42);
    fb->AddRecord();
    EXPECT_EQ(StorageErrorClass(), 0);
    const int32_t number = ConstContestHeader(fb->RecordBuffer()).ContestNumber();
    CloseFHKK();
    return number;
  }

  // Works a few QSOs on two bands through the entry, as typed.
  void WorkContest(int32_t number) {
    OutputSources src;
    ASSERT_TRUE(ReadOutputSources(number, &src));
    std::unique_ptr<ContestLog> log = OpenLogSession(number, src.definition, ReadLogOptions(number), prefixes);
    ASSERT_NE(log, nullptr);
    QsoEntry& e = log->entry();
    struct Qso {
      const char* call;
      char band;
      const char* mode;
      const char* number;
      const char* locator;
    } qsos[] = {
        {"DL1XYZ", kBand80, "CW", "007", "JO40HC"},  {"DK2AB/P", kBand80, "CW", "113", "JO62RM"},
        {"G4XYZ", kBand80, "SSB", "099", "IO91WM"},  {"DL1XYZ", kBand2, "FM", "007", "JO40HC"},
        {"DL0ABC/M", kBand2, "FM", "001", "JN58SD"},
    };
    for (const Qso& q : qsos) {
      if (q.band != log->session().CurrentBand) e.SelectBand(q.band);
      if (q.mode != log->session().CurrentMode) e.ChangeMode(q.mode);
      platform.clock.now.minute += 3;
      e.Tick();
      e.Type(F::kCall, q.call);
      e.LeaveField(F::kCall);
      e.Type(F::kRecv2, q.number);
      e.Type(F::kRecv3, q.locator);
      ASSERT_EQ(e.Save(false), SaveResult::kStored) << q.call;
    }
    CloseLogSession(*log);
  }

  std::vector<std::string> Qsos(int32_t number) {
    std::vector<std::string> lines;
    EXPECT_TRUE(OpenFHLK(number));
    Fileblock* log = TheLog();
    for (log->First(4); StorageErrorClass() == 0; log->Next(4)) {
      const QsoRecord q = LogRecord();
      lines.push_back(q.Call() + " " + q.Band() + " " + q.Mode() + " " + DateToText("dd.mm.yyyy", q.QsoDate()) +
                      " " + TimeToText("hh:mm", q.QsoTime()) + " " + q.Locator() + " " + q.Dxcc() + " " +
                      std::to_string(q.Points()));
    }
    CloseFHLK();
    return lines;
  }

  SmallPrefixTable prefixes;
  std::vector<int> fatal_codes;
};

TEST_F(RoundTripTest, ExportedAdifImportsWithTheSameQsosAndPoints) {
  const int32_t worked = NewContest("Mobil 2026");
  WorkContest(worked);
  const std::vector<std::string> original = Qsos(worked);
  ASSERT_EQ(original.size(), 5u);
  OutputSources before;
  ASSERT_TRUE(ReadOutputSources(worked, &before));
  ASSERT_GT(before.TotalPoints(), 0);

  for (bool rst_only : {false, true}) {
    SCOPED_TRACE(rst_only ? "report only" : "whole exchange");
    const std::string path = Path(rst_only ? "rst.adi" : "all.adi");
    std::vector<std::string> messages;
    ASSERT_EQ(ExportContest(worked, OutputId::kAdifFile, path, rst_only, &messages), OutputResult::kDone);
    EXPECT_EQ(messages, std::vector<std::string>{"Datei " + path + " wurde erstellt."});

    const int32_t copy = NewContest(rst_only ? "Kopie 2" : "Kopie 1");
    ImportRequest request;
    request.files = {path};
    std::vector<ImportFileReport> reports;
    ASSERT_EQ(ImportAdifFiles(copy, request, prefixes, &reports, nullptr), ImportOutcome::kDone);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].counts.imported, 5);
    EXPECT_EQ(reports[0].counts.duplicates + reports[0].counts.band_errors + reports[0].counts.mode_errors, 0);
    EXPECT_EQ(Qsos(copy), original);
    OutputSources after;
    ASSERT_TRUE(ReadOutputSources(copy, &after));
    EXPECT_EQ(after.band_qsos, before.band_qsos);
    EXPECT_EQ(after.band_points, before.band_points);
  }
}

TEST_F(RoundTripTest, ImportReportsMissingFilesAndUnknownFields) {
  const int32_t number = NewContest("Mobil 2026");
  ImportRequest request;
  request.files = {Path("missing.adi")};
  std::vector<ImportFileReport> reports;
  ASSERT_EQ(ImportAdifFiles(number, request, prefixes, &reports, nullptr), ImportOutcome::kDone);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_FALSE(reports[0].found);

  request.maps = {{"NOSUCH", "CALL"}};
  std::string unknown;
  EXPECT_EQ(ImportAdifFiles(number, request, prefixes, &reports, &unknown), ImportOutcome::kUnknownField);
  EXPECT_EQ(unknown, "NOSUCH");
  EXPECT_EQ(ImportAdifFiles(number + 50, ImportRequest{}, prefixes, &reports, nullptr), ImportOutcome::kNoContest);
}

}  // namespace
}  // namespace kontura::testing
