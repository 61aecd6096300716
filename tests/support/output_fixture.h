#pragma once
// A small finished log for the outputs: QSOs on 80 m and 2 m and none on
// 70 cm, a band-change marker another program of the suite wrote between
// them, a QSO without date, a time with seconds (05:30:12), a call of 12
// characters, points of one, two and three digits; and the header totals and
// own station that go with it.

#include <filesystem>
#include <optional>
#include <vector>
#include <string>

#include "contest/contest_header.h"
#include "output/export_menu.h"
#include "output/output_sources.h"
#include "refdata/setup_record.h"
#include "refdata/suite_settings.h"
#include "tests/support/log_fixture.h"

namespace kontura::testing {

// The save and open dialogs answered by the test; nothing means cancelled.
class ScriptedFileDialogs : public FileDialogs {
 public:
  std::optional<std::string> answer;  // nothing: cancelled
  std::string filter, proposed, default_extension;
  std::optional<std::string> SaveFileName(std::string_view f, std::string_view p, std::string_view d) override {
    filter = f;
    proposed = p;
    default_extension = d;
    return answer;
  }
  std::optional<std::string> OpenFileName(std::string_view, std::string_view) override { return answer; }
};

// The viewer: which files it was asked to show.
class RecordingViewer : public TextFileViewer {
 public:
  std::vector<std::string> shown;
  void ShowTextFile(const std::string& path) override { shown.push_back(path); }
};

class OutputTest : public LogTest {
 protected:
  void SetUp() override {
    LogTest::SetUp();
    src.definition = ctx.Definition;
    src.contest_number = kContest;
    src.own_call = "DL1ABC/P";
    src.own_name = "Hans Muster";
    src.own_street = "Hauptstra\xDF" "e 1 ";
    src.own_city = "12345 Berlin";
    src.own_locator = kOwnLocator;
    src.header_dok = "D01";
    src.participant_no = 42;
  }

  struct Row {
    std::string call;
    char band;
    std::string mode;
    int32_t date;  // -1: none
    int32_t time;
    std::string sent, rcvd, locator, dxcc, name_qth;
    uint16_t points;
    int32_t band_serial;
    char qsy_band = 0;
  };

  void Add(const Row& r) {
    QsoRecord q;
    q.SetCall(r.call);
    q.SetBand(r.band);
    q.SetMode(r.mode);
    q.SetQsoDate(r.date);
    q.SetQsoTime(r.time);
    q.SetSentExchange(r.sent);
    q.SetRecvExchange(r.rcvd);
    q.SetLocator(r.locator);
    q.SetDxcc(r.dxcc);
    q.SetNameQth(r.name_qth);
    q.SetPoints(r.points);
    q.SetBandSerial(r.band_serial);
    q.SetBandSerial2(r.band_serial);
    q.SetQsyBand(r.qsy_band);
    q.SetQslSent('N');
    q.CopyTo(TheLog()->RecordBuffer());
    TheLog()->AddRecord();
    ASSERT_EQ(StorageErrorClass(), 0);
  }

  void FillSmallLog() {
    const int32_t day = DayNumber(7, 3, 2026);
    Add({"DL1XYZ", kBand80, "CW", day, 5 * 3600 + 30 * 60 + 12, "599042/JO62QM", "599007/JO40HC", "JO40HC", "DL",
         "Hans;Berlin", 331, 1});
    Add({"DL2AB", kBand80, "SSB", day, 5 * 3600 + 47 * 60, "59 042/JO62QM", "59 113/JO62RM", "JO62RM", "DL", "", 7, 2});
    // A band-change marker as another program writes it: no QSO.
    Add({"", kBand2, "", day, 6 * 3600, "", "", "", "", "", 0, 0, kBand2});
    Add({"DL0ABC/MM/P", kBand2, "FM", -1, 6 * 3600 + 5 * 60, "59 042/JO62QM", "59 001/JO50VF", "JO50VF", "DL", "",
         42, 1});
    Add({"G4XYZ", kBand2, "SSB", day, 6 * 3600 + 10 * 60, "59 042/JO62QM", "59 099/IO91WM", "IO91WM", "G",
         "Bob;London", 916, 2});
    src.band_qsos = {0, 2, 2, 0, 0, 0, 0, 0};
    src.band_points = {0, 338, 958, 0, 0, 0, 0, 0};
  }

  // The contest's header in FHKK under the fixture's contest number, with
  // the totals of `src`, and the own call in the suite settings, so that
  // the outputs find what they read.
  void StoreHeader() {
    TheSuiteSettings().OwnCall = src.own_call;
    TheSuiteSettings().OwnName = src.own_name;
    TheSuiteSettings().OwnLocator = src.own_locator;
    ASSERT_TRUE(OpenFHSETUP());
    FirstRecordOrAddCleared(CatalogueHandle(CatalogueId::kFhsetup));
    SetupRecord setup(CatalogueRecord(CatalogueId::kFhsetup));
    setup.SetOwnStreet(src.own_street);
    setup.SetOwnCity(src.own_city);
    setup.SetOwnCall(src.own_call);
    setup.SetOwnName(src.own_name);
    setup.SetOwnLocator(src.own_locator);
    CatalogueHandle(CatalogueId::kFhsetup)->UpdateRecord();
    CloseFHSETUP();
    ASSERT_TRUE(OpenFHKK());
    Fileblock* fb = CatalogueHandle(CatalogueId::kFhkk);
    fb->ClearBuffer();
    TContestHeader h(fb->RecordBuffer());
    PresetNewContest(h, src.own_locator, src.own_call, kEditionCode);
    h.SetEntryName("Mobil 2026");
    h.SetDateFrom(DayNumber(7, 3, 2026));
    h.SetParticipantNo(src.participant_no);
    h.SetHeaderDok(src.header_dok);
    for (int pos = 1; pos <= 3; ++pos) {
      h.SetSumQso(pos, static_cast<uint16_t>(src.band_qsos[static_cast<size_t>(pos)]));
      h.SetSumPoints(pos, src.band_points[static_cast<size_t>(pos)]);
    }
    fb->AddRecord();
    h.SetContestNumber(kContest);
    fb->UpdateRecord();
    ASSERT_EQ(StorageErrorClass(), 0);
    CloseFHKK();
  }

  void TearDown() override {
    TheSuiteSettings() = SuiteSettings{};
    LogTest::TearDown();
  }

  static std::string GoldenPath(const std::string& name) { return (kGoldenDir / name).string(); }
  // Taken when the program loads, before a test changes the directory.
  inline static const std::filesystem::path kGoldenDir =
      std::filesystem::absolute(std::filesystem::path(__FILE__)).parent_path().parent_path() / "data" / "outputs";

  OutputSources src;
};

}  // namespace kontura::testing
