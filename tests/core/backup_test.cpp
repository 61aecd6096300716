// Backups of a contest's log: a generation taken while the log is open
// passes the integrity check and holds exactly what was saved before it;
// the restore brings it back; old generations are pruned; a missing,
// unwritable or full backup medium fails with a reason and leaves the data
// directory alone; a backup killed at any moment leaves the earlier
// generations intact.

#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "storage/backup.h"
#include "storage/integrity_check.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/killed_child.h"
#include "tests/support/log_fixture.h"

namespace kontura::testing {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kT0 = 1796000000;  // some second in 2026

class BackupTest : public LogTest {
 protected:
  void StoreQsos(int from, int to) {
    for (int i = from; i <= to; ++i) Store("DL" + std::to_string(i) + "AB", kBand80, "CW", 110000 + i, i);
  }

  std::string Backup(int64_t utc, int keep = 5) {
    BackupSnapshot snap;
    std::string error, generation;
    EXPECT_TRUE(TakeBackupSnapshot(kContest, utc, &snap, &error)) << error;
    EXPECT_TRUE(WriteBackupGeneration(snap, Path("backup"), keep, &generation, &error)) << error;
    return generation;
  }

  std::vector<std::string> Calls() {
    std::vector<std::string> calls;
    for (const QsoRecord& q : Records()) calls.push_back(q.Call());
    return calls;
  }

  static std::map<std::string, std::vector<uint8_t>> FilesIn(const std::string& dir) {
    std::map<std::string, std::vector<uint8_t>> files;
    for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
      if (!e.is_regular_file()) continue;
      std::ifstream in(e.path(), std::ios::binary);
      files[e.path().filename().string()].assign(std::istreambuf_iterator<char>(in), {});
    }
    return files;
  }
};

TEST_F(BackupTest, GenerationOfAnOpenLogPassesTheCheckAndRestoresExactlyWhatWasSaved) {
  ASSERT_TRUE(OpenFHKK());
  CatalogueHandle(CatalogueId::kFhkk)->ClearBuffer();
  CatalogueHandle(CatalogueId::kFhkk)->AddRecord();
  StoreQsos(1, 20);
  const std::vector<std::string> saved = Calls();
  // Whatever the buffers hold (the mask's QSO, a header being edited) stays.
  TheLog()->RecordBuffer()[8] = 0x5A;
  CatalogueRecord(CatalogueId::kFhkk)[30] = 0x5B;

  const std::string generation = Backup(kT0);
  EXPECT_EQ(generation, "K0007-20261130-005320");
  EXPECT_EQ(TheLog()->RecordBuffer()[8], 0x5A);
  EXPECT_EQ(CatalogueRecord(CatalogueId::kFhkk)[30], 0x5B);
  StoreQsos(21, 25);  // after the backup: not in it

  const std::string dir = Path("backup/" + generation + "/");
  for (const char* name : {"FHLK0007", "FHKK"}) {
    CheckReport report = CheckFileblock(dir + name, FindCatalogueLayout(name));
    EXPECT_TRUE(report.ok()) << name << "\n" << FormatCheckReport(report);
  }
  std::vector<BackupGeneration> gens = ListBackupGenerations(Path("backup"), kContest);
  ASSERT_EQ(gens.size(), 1u);
  EXPECT_EQ(gens[0].records, 20);
  EXPECT_EQ(gens[0].utc_seconds, kT0);

  // Not while the log is open; then the 20 saved QSOs come back.
  std::string error;
  EXPECT_FALSE(RestoreBackupGeneration(Path("backup"), kContest, "", StartDir(), &error));
  EXPECT_NE(error.find("wird gerade benutzt"), std::string::npos) << error;
  CloseFHLK();
  ASSERT_TRUE(RestoreBackupGeneration(Path("backup"), kContest, "", StartDir(), &error)) << error;
  ASSERT_TRUE(OpenFHLK(kContest));
  EXPECT_EQ(Calls(), saved);
  CloseFHLK();
  EXPECT_TRUE(CheckFileblock(Path("FHLK0007"), FindCatalogueLayout("FHLK0007")).ok());
  EXPECT_TRUE(fatal_codes.empty());
}

TEST_F(BackupTest, KeepsTheNewestGenerationsAndClearsWhatInterruptedBackupsLeft) {
  StoreQsos(1, 3);
  fs::create_directories(Path("backup/K0007-20200101-000000.tmp"));
  fs::create_directories(Path("backup/Notizen"));
  fs::create_directories(Path("backup/K0008-20200101-000000"));  // another contest's
  for (int i = 0; i < 7; ++i) Backup(kT0 + 60 * i, 5);
  std::vector<BackupGeneration> gens = ListBackupGenerations(Path("backup"), kContest);
  ASSERT_EQ(gens.size(), 5u);
  EXPECT_EQ(gens.front().utc_seconds, kT0 + 120);
  EXPECT_EQ(gens.back().utc_seconds, kT0 + 360);
  EXPECT_FALSE(fs::exists(Path("backup/K0007-20200101-000000.tmp")));
  EXPECT_TRUE(fs::exists(Path("backup/Notizen")));
  EXPECT_EQ(ListBackupGenerations(Path("backup"), 0).size(), 6u);

  std::string error;
  EXPECT_FALSE(RestoreBackupGeneration(Path("backup"), kContest, "K0008-20200101-000000", StartDir(), &error));
  EXPECT_NE(error.find("geh\xF6rt nicht zum Contest 7"), std::string::npos) << error;
}

TEST_F(BackupTest, AnUnusableMediumFailsWithAReasonAndChangesNothingInTheDataDirectory) {
  StoreQsos(1, 30);
  Backup(kT0);
  TheLog()->Flush();
  std::ofstream(Path("kein-verzeichnis")) << "x";
  const auto data_before = FilesIn(StartDir());
  const auto generation_before = FilesIn(Path("backup/" + BackupGenerationName(kContest, kT0)));

  struct Case {
    const char* label;
    std::string directory;
    int64_t write_budget;
    const char* reason;
  };
  const Case cases[] = {
      {"below a file", Path("kein-verzeichnis/backup"), -1, "konnte nicht angelegt werden"},
      {"full disk", Path("backup"), 3000, "konnte nicht geschrieben werden"},
      {"full at once", Path("backup"), 0, "konnte nicht geschrieben werden"},
  };
  for (const Case& c : cases) {
    BackupSnapshot snap;
    std::string error, generation;
    ASSERT_TRUE(TakeBackupSnapshot(kContest, kT0 + 60, &snap, &error)) << error;
    FaultyFileSystem full;
    full.write_budget = c.write_budget;
    SetStorageFileSystem(&full);
    EXPECT_FALSE(WriteBackupGeneration(snap, c.directory, 5, &generation, &error)) << c.label;
    SetStorageFileSystem(nullptr);
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.label << ": " << error;
    EXPECT_EQ(FilesIn(StartDir()), data_before) << c.label;
    std::vector<BackupGeneration> gens = ListBackupGenerations(Path("backup"), kContest);
    ASSERT_EQ(gens.size(), 1u) << c.label;
    EXPECT_EQ(FilesIn(Path("backup/" + gens[0].name)), generation_before) << c.label;
  }
  // The logging goes on, and the next backup on a good medium succeeds.
  StoreQsos(31, 31);
  Backup(kT0 + 120);
  EXPECT_EQ(ListBackupGenerations(Path("backup"), kContest).back().records, 31);
}

// A child writes generations of a large snapshot over and over and is
// killed at a random moment: every generation that is listed afterwards is
// complete, and the next backup succeeds.
TEST_F(BackupTest, KilledBackupsNeverLeaveABrokenGeneration) {
  StoreQsos(1, 400);
  BackupSnapshot snap;
  std::string error;
  ASSERT_TRUE(TakeBackupSnapshot(kContest, kT0, &snap, &error)) << error;
  snap.files.push_back({"BALLAST.DAT", std::vector<uint8_t>(4 << 20, 0x42)});  // makes a backup take a while
  std::map<std::string, std::vector<uint8_t>> expected;
  for (const BackupFile& f : snap.files) expected[f.name] = f.bytes;

  std::mt19937 rng(99);
  for (int round = 0; round < 8; ++round) {
    KilledChild child([&](int fd) {
      for (int64_t t = kT0 + 1000 * round;; ++t) {
        BackupSnapshot s = snap;
        s.utc_seconds = t;
        std::string generation, e;
        if (!WriteBackupGeneration(s, Path("backup"), 3, &generation, &e)) _exit(3);
        (void)!write(fd, "E", 1);
      }
    });
    ASSERT_TRUE(child.started());
    child.WaitFor("E");  // one generation at least
    ASSERT_TRUE(child.KillAfter(std::uniform_int_distribution<int>(0, 80000)(rng)))
        << "round " << round << ": the child stopped by itself: " << child.exit_code();

    std::vector<BackupGeneration> gens = ListBackupGenerations(Path("backup"), kContest);
    ASSERT_FALSE(gens.empty()) << "round " << round;
    for (const BackupGeneration& g : gens) {
      EXPECT_EQ(FilesIn(Path("backup/" + g.name)), expected) << "round " << round << " " << g.name;
    }
    BackupSnapshot next = snap;
    next.utc_seconds = kT0 + 1000 * round + 999;
    std::string generation;
    ASSERT_TRUE(WriteBackupGeneration(next, Path("backup"), 3, &generation, &error)) << error;
    for (const fs::directory_entry& e : fs::directory_iterator(Path("backup"))) {
      EXPECT_FALSE(e.path().string().ends_with(".tmp")) << e.path();
    }
  }
}

}  // namespace
}  // namespace kontura::testing
