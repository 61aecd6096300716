// An import killed at any moment: a child process imports an ADIF file and
// is killed with SIGKILL at a random time. The log then opens as the
// program opens it and holds the first contacts of the file, each once and
// whole; importing the same file again adds exactly the rest and counts
// the others as duplicates.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>

#include "logging/log_opening.h"
#include "output/adif_import.h"
#include "tests/support/log_fixture.h"

namespace kontura::testing {
namespace {

constexpr int kContacts = 60;
constexpr int32_t kImportContest = 8;

std::string CallOf(int i) { return "DK" + std::to_string(100 + i) + "A"; }

std::string FileText() {
  std::string text = "Test\n<EOH>\n";
  for (int i = 0; i < kContacts; ++i) {
    char time[8];
    std::snprintf(time, sizeof time, "%02d%02d", 6 + i / 60, i % 60);
    text += "<CALL:6>" + CallOf(i) + " <QSO_DATE:8>20260307 <TIME_ON:4>" + time +
            " <MODE:2>CW <BAND:3>80M <SRX:3>001 <GRIDSQUARE:6>JO40HC <EOR>\n";
  }
  return text;
}

class ImportCrashTest : public LogTest {
 protected:
  void SetUp() override {
    LogTest::SetUp();
    // The child opens what it needs; nothing of the parent's page cache
    // may outlive what the child writes.
    CloseFHLK();
    CloseFHCBUCH();
    CloseFHCALL();
    ctx.Options.ContestNumber = kImportContest;
    records = ReadAdifText(FileText());
  }

  ImportCounts ImportAll(ContestLog& log) {
    AdifFieldList fields(ctx.Definition);
    MapByDefault(fields, CollectAdifTags(records));
    return ImportAdifRecords(log, records, fields, false);
  }

  [[noreturn]] void RunChild() {
    ContestLog log(ctx.Definition, ctx.Options, prefixes);
    if (!log.Open()) _exit(3);
    ImportAll(log);
    log.Close();
    _exit(0);
  }

  std::vector<std::string> StoredCalls() {
    std::vector<std::string> calls;
    Fileblock* log = TheLog();
    for (log->First(4); StorageErrorClass() == 0; log->Next(4)) calls.push_back(LogRecord().Call());
    return calls;
  }

  std::vector<std::string> records;
};

TEST_F(ImportCrashTest, FirstContactsWholeAndTheRestOnASecondImport) {
  // How long one import takes here, so that the kills fall all over it.
  const auto start = std::chrono::steady_clock::now();
  {
    ContestLog log(ctx.Definition, ctx.Options, prefixes);
    ASSERT_TRUE(log.Open());
    ASSERT_EQ(ImportAll(log).imported, kContacts);
    log.Close();
  }
  const auto one = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  std::mt19937 rng(815);
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    std::filesystem::remove(Path("FHLK0008.DAT"));
    std::filesystem::remove(Path("FHLK0008.IX"));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) RunChild();
    usleep(static_cast<useconds_t>(std::uniform_real_distribution<double>(0.1, 1.0)(rng) *
                                   static_cast<double>(one.count())));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    ContestLog log(ctx.Definition, ctx.Options, prefixes);
    ASSERT_TRUE(log.Open());
    const std::vector<std::string> stored = StoredCalls();
    std::printf("round %d: %zu of %d stored before the kill\n", round, stored.size(), kContacts);
    ASSERT_LE(stored.size(), static_cast<size_t>(kContacts));
    for (size_t i = 0; i < stored.size(); ++i) ASSERT_EQ(stored[i], CallOf(static_cast<int>(i)));
    const ImportCounts again = ImportAll(log);
    EXPECT_EQ(again.imported, kContacts - static_cast<int>(stored.size()));
    EXPECT_EQ(again.duplicates, static_cast<int>(stored.size()));
    EXPECT_EQ(StoredCalls().size(), static_cast<size_t>(kContacts));
    EXPECT_EQ(log.session().Totals.NextNumber, kContacts + 1);
    log.Close();
    ASSERT_TRUE(fatal_codes.empty());
  }
}

}  // namespace
}  // namespace kontura::testing
