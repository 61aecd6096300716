// Automatic backups while a contest is logged: every tenth saved QSO and the
// closing each write a generation holding exactly the QSOs saved so far; a
// medium that fails shows in the status and is tried again; a trigger that
// comes while a backup is still being written is run afterwards; the
// program's settings file keeps what it does not know.

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "logging/log_backup.h"
#include "platform/program_settings.h"
#include "storage/backup.h"
#include "storage/integrity_check.h"
#include "tests/support/log_fixture.h"

namespace kontura::testing {
namespace {

constexpr int64_t kT0 = 1796000000;

// Keeps the job until the test lets it run: a backup still being written.
class HeldWorker : public BackupWorker {
 public:
  void Start(std::function<void()> job) override { m_job = std::move(job); }
  void Wait() override { RunHeld(); }
  void RunHeld() {
    if (m_job) std::exchange(m_job, nullptr)();
  }
  bool holding() const { return static_cast<bool>(m_job); }

 private:
  std::function<void()> m_job;
};

class LogBackupTest : public LogTest {
 protected:
  void SaveMany(int n) {
    for (int i = 0; i < n; ++i) {
      ++m_qsos;
      Store("DL" + std::to_string(m_qsos) + "XY", kBand80, "SSB", 110000 + m_qsos, m_qsos);
      backup->QsoSaved();
    }
  }
  std::vector<int32_t> RecordsPerGeneration() {
    std::vector<int32_t> out;
    for (const BackupGeneration& g : ListBackupGenerations(Path("backup"), kContest)) out.push_back(g.records);
    return out;
  }
  std::unique_ptr<LogBackup> Make(BackupWorker& worker, const std::string& dir) {
    return std::make_unique<LogBackup>(kContest, BackupPolicy{dir, 10, 5}, worker, [this] { return kT0 + ++m_tick; });
  }

  // Declared before the backup, which waits for its worker when it goes.
  ImmediateBackupWorker immediate;
  HeldWorker held;
  std::unique_ptr<LogBackup> backup;
  int m_qsos = 0;
  int64_t m_tick = 0;
};

TEST_F(LogBackupTest, EveryTenthQsoAndTheClosingWriteAGenerationOfWhatWasSaved) {
  backup = Make(immediate, Path("backup"));
  SaveMany(9);
  EXPECT_TRUE(RecordsPerGeneration().empty());
  EXPECT_NE(backup->Status().find("noch keine"), std::string::npos);
  SaveMany(16);
  EXPECT_EQ(RecordsPerGeneration(), (std::vector<int32_t>{10, 20}));
  backup->Finish();
  EXPECT_EQ(RecordsPerGeneration(), (std::vector<int32_t>{10, 20, 25}));
  EXPECT_NE(backup->Status().find("Letzte Sicherung "), std::string::npos) << backup->Status();
  EXPECT_TRUE(fatal_codes.empty());
}

TEST_F(LogBackupTest, AFailingMediumShowsInTheStatusAndIsTriedAgain) {
  std::ofstream(Path("stick")) << "kein Verzeichnis";
  backup = Make(immediate, Path("stick/backup"));
  SaveMany(10);
  EXPECT_NE(backup->Status().find("Sicherung fehlgeschlagen: "), std::string::npos) << backup->Status();
  EXPECT_EQ(backup->written(), 0);
  // The medium comes back: the next trigger writes the log as it is then.
  std::filesystem::remove(Path("stick"));
  SaveMany(10);
  EXPECT_EQ(backup->written(), 1);
  ASSERT_EQ(ListBackupGenerations(Path("stick/backup"), kContest).size(), 1u);
  EXPECT_EQ(ListBackupGenerations(Path("stick/backup"), kContest)[0].records, 20);
  EXPECT_EQ(m_qsos, 20);
}

TEST_F(LogBackupTest, ATriggerDuringAWriteRunsOnceTheWriteHasFinished) {
  backup = Make(held, Path("backup"));
  SaveMany(10);
  ASSERT_TRUE(held.holding());
  SaveMany(10);  // the second trigger comes while the first is written
  backup->Poll();
  EXPECT_EQ(backup->written(), 0);
  held.RunHeld();
  EXPECT_EQ(RecordsPerGeneration(), (std::vector<int32_t>{10}));
  backup->Poll();  // now the kept trigger runs, with the log as it is now
  held.RunHeld();
  EXPECT_EQ(RecordsPerGeneration(), (std::vector<int32_t>{10, 20}));
}

// On its own thread, as in the program: the log goes on while generations
// are written, and the closing waits for the last one.
TEST_F(LogBackupTest, WritingOnAThreadOfItsOwnKeepsEveryGenerationWhole) {
  ThreadBackupWorker thread;
  backup = Make(thread, Path("backup"));
  SaveMany(45);
  backup->Finish();
  const std::vector<int32_t> records = RecordsPerGeneration();
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records.back(), 45);
  EXPECT_TRUE(std::is_sorted(records.begin(), records.end()));
  for (const BackupGeneration& g : ListBackupGenerations(Path("backup"), kContest)) {
    EXPECT_TRUE(CheckFileblock(Path("backup/" + g.name + "/FHLK0007"), FindCatalogueLayout("FHLK0007")).ok())
        << g.name;
  }
  backup.reset();  // before the worker it waits for
}

TEST(ProgramSettings, DefaultsRoundTripAndUnknownKeysAreKept) {
  const std::string dir = std::filesystem::temp_directory_path() / "kontura-settings-test";
  std::filesystem::remove_all(dir);
  const std::string path = dir + "/kontura/kontura.conf";
  ProgramSettings s = LoadProgramSettings(path);  // no file: the defaults
  EXPECT_EQ(s.backup_dir, "backup");
  EXPECT_EQ(s.backup_every, 10);
  EXPECT_EQ(s.backup_keep, 5);
  std::filesystem::create_directories(dir + "/kontura");
  std::ofstream(path) << "# comment\nbackup_dir=/media/stick/kontura\nbackup_every=0\nbackup_keep=7\nrig_kind=network\nrig_address=127.0.0.1:4600\nqrz_user=dl1abc\n";
  s = LoadProgramSettings(path);
  EXPECT_EQ(s.backup_dir, "/media/stick/kontura");
  EXPECT_EQ(s.backup_every, 10);  // 0 is no interval: the default stays
  EXPECT_EQ(s.backup_keep, 7);
  s.backup_every = 25;
  ASSERT_TRUE(SaveProgramSettings(path, s));
  const ProgramSettings again = LoadProgramSettings(path);
  EXPECT_EQ(again.backup_every, 25);
  EXPECT_EQ(again.others.at("qrz_user"), "dl1abc");
  EXPECT_EQ(again.rig_kind, "network");
  EXPECT_EQ(again.rig_address, "127.0.0.1:4600");
  EXPECT_EQ(again.rig_poll_ms, 500);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kontura::testing
