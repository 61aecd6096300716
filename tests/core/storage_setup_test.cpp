// Starting and stopping the engine, the retry question and the fatal-error
// path: the error log file, the message, the repair of a damaged index and
// the end of the program.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "app/storage_setup.h"
#include "storage/fileblock.h"
#include "storage/storage_error.h"
#include "tests/support/start_dir_fixture.h"
#include "tests/support/storage_fixture.h"

namespace kontura::testing {
namespace {

// Runs the installed fatal handler the way the engine does at the end of an
// operation.
void RunFatalHandlerForTest() { storage_detail::RunFatalHandlerIfNeeded(); }

// The start directory fixture with a small test fileblock of the engine's own.
class StorageSetupTest : public StartDirTest {
 protected:
  void TearDown() override {
    for (Fileblock* fb : m_open) CloseFileblock(fb);
    m_open.clear();
    StartDirTest::TearDown();
  }

  Fileblock* OpenTrec() {
    Fileblock* fb = OpenFileblock("TREC", Path("TREC"), false, false, false, true, trec::kLength, trec::kKeys,
                                  nullptr, trec::kLength, trec::KeyOf, 32);
    if (!fb) return nullptr;
    for (int k = 1; k <= trec::kKeys; ++k) {
      fb->DefineKey(k, trec::Keys()[k - 1].length, trec::Keys()[k - 1].duplicates);
    }
    fb->SetCounterField(1, trec::kNumber);
    m_open.push_back(fb);
    return fb;
  }

  std::vector<Fileblock*> m_open;
};

TEST(FatalErrorMessage, LinesPerCode) {
  struct Case {
    int code;
    std::string message;
  } cases[] = {
      {52, "Fehlercode:       52\rDas Programm wird abgebrochen. \r\r\r\r"},
      {10140,
       "Datenbankzugriff verweigert!\rDas Programm wird abgebrochen. \r"
       "M\xF6gl.Ursachen: Programmpfad zu lang (>50) o.Schreibschutz auf Datei o.and.Funkhof-Progr.aktiv.\r"
       "M\xF6gl.Behebung: Progr.in Ordner \"Programme\" install. o.Schreibschutz auf Dateien des Programms "
       "entfernen o.and.Funkhof-Progr.beenden!\r\r"},
      {10070,
       "Fehlercode:    10070\rDas Programm wird abgebrochen. \rM\xF6gliche Fehlerursache: Indexdatei defekt.\r"
       "M\xF6gliche Fehlerbehebung: Tritt dieser Fehler nach\rNeustart wieder auf: Informieren Sie die Hotline.\r"},
      {10075,
       "Fehlercode:    10075\rDas Programm wird abgebrochen. \rM\xF6gliche Fehlerursache: Zu wenig Plattenspeicher.\r"
       "M\xF6gliche Fehlerbehebung: Erh\xF6hen Sie den freien\rFestplattenspeicher.\r"},
      {10465,
       "Fehlercode:    10465\rDas Programm wird abgebrochen. \rM\xF6gliche Fehlerursache: Reorg. fehlgeschlagen.\r"
       "M\xF6gliche Fehlerbehebung: Tritt gleicher Fehler\rnach Neustart wieder auf: Benennen Sie .SAV-\r"
       "Dateien in .DAT-Dateien um."},
      {91,
       "Fehlercode:       91\rDas Programm wird abgebrochen. \rM\xF6gliche Fehlerursache: zu wenig Filehandle\r"
       "M\xF6gliche Fehlerbehebung: Erh\xF6hen Sie den Wert\rin der Datei CONFIG.SYS auf 100.\r"},
  };
  for (const Case& c : cases) EXPECT_EQ(FatalErrorMessage(c.code), c.message) << c.code;
  EXPECT_EQ(ShownErrorCode(28724), 52);
  EXPECT_EQ(ShownErrorCode(10070), 10070);
}

TEST(LockRetryDialog, SituationsAndQuestions) {
  ScopedPlatform platform;
  EXPECT_TRUE(LockRetryDialog("FHKK", 5));
  EXPECT_TRUE(LockRetryDialog("FHKK", 6));
  EXPECT_TRUE(platform.dialogs.questions.empty()) << "rebuild and create never ask";

  platform.dialogs.answers = {true, false, false};
  EXPECT_TRUE(LockRetryDialog("FHKK", 1));
  EXPECT_FALSE(LockRetryDialog("FHLK0007", 4));
  EXPECT_FALSE(LockRetryDialog(std::string(50, 'X'), 8));
  ASSERT_EQ(platform.dialogs.questions.size(), 3u);
  EXPECT_EQ(platform.dialogs.questions[0], "FHKK:  Record oder Datei gelockt. Noch einmal versuchen? ");
  EXPECT_EQ(platform.dialogs.questions[1], "FHLK0007:  Satz bereits gel\xF6scht. Neuanlegen? ");
  EXPECT_EQ(platform.dialogs.questions[2],
            std::string(40, 'X') + ":  undefinierter Fehler. Noch einmal versuchen? ");
}

TEST_F(StorageSetupTest, StopWithAnOpenFileblockShowsCode52AndLogs) {
  platform.clock.Set(2026, 3, 7, 9, 5);
  ASSERT_TRUE(StartStorage());
  EXPECT_EQ(ErrorLogFileName(), "RUZ.ERR");
  Fileblock* fb = OpenTrec();
  ASSERT_NE(fb, nullptr);
  EXPECT_EQ(fb->RecordCount(), 0);

  StopStorage();
  ASSERT_EQ(platform.dialogs.messages.size(), 1u);
  EXPECT_EQ(platform.dialogs.messages[0], FatalErrorMessage(52));
  EXPECT_EQ(exit_codes, std::vector<int>{1});
  EXPECT_EQ(ReadText("RUZ.ERR"),
            "\r\n*->  07/03/2026  09:05\r\n     Fileblock  " + m_dir + "/TREC\r\n     - Err: 52\r\n");
}

TEST_F(StorageSetupTest, UnwritableLogIsSkippedButTheMessageShown) {
  ASSERT_TRUE(StartStorage());
  std::filesystem::create_directory("RUZ.ERR");  // cannot be opened as a file
  ASSERT_NE(OpenTrec(), nullptr);
  StopStorage();
  EXPECT_EQ(platform.dialogs.messages.size(), 1u);
  EXPECT_EQ(exit_codes, std::vector<int>{1});
}

TEST_F(StorageSetupTest, NormalEndHasNoEffect) {
  ASSERT_TRUE(StartStorage());
  Fileblock* fb = OpenTrec();
  fb->FindExact(2, "nothing");  // a soft failure only
  EXPECT_EQ(StorageErrorClass(), 1);
  FatalStorageError();
  EXPECT_TRUE(platform.dialogs.messages.empty());
  EXPECT_TRUE(exit_codes.empty());
  EXPECT_FALSE(std::filesystem::exists("RUZ.ERR"));
}

TEST_F(StorageSetupTest, FileblockHeldByAnotherProcessIsRefused) {
  int ready[2], release[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(release), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The other program: holds the fileblock open until told to stop.
    SetProgramEnd([](int) { _exit(3); });
    InitFileManager(160, 32);
    Fileblock* fb = OpenTrec();
    fb->RecordCount();
    char c = StorageErrorClass() == 0 ? 'y' : 'n';
    (void)!write(ready[1], &c, 1);
    (void)!read(release[0], &c, 1);
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');

  platform.clock.Set(2026, 3, 7, 23, 59);
  ASSERT_TRUE(StartStorage());
  Fileblock* fb = OpenTrec();
  fb->RecordCount();

  (void)!write(release[1], "x", 1);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  ASSERT_EQ(platform.dialogs.messages.size(), 1u);
  EXPECT_EQ(platform.dialogs.messages[0], FatalErrorMessage(10140));
  EXPECT_EQ(platform.dialogs.messages[0].substr(0, 60),
            "Datenbankzugriff verweigert!\rDas Programm wird abgebrochen. ");
  EXPECT_EQ(exit_codes, std::vector<int>{1});
  std::string log = ReadText("RUZ.ERR");
  EXPECT_NE(log.find("*->  07/03/2026  23:59\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("     Fileblock  " + m_dir + "/TREC\r\n     - Err: 10140\r\n"), std::string::npos) << log;
  for (int fd : {ready[0], ready[1], release[0], release[1]}) close(fd);
}

TEST_F(StorageSetupTest, ShortReadDeletesTheIndexForARebuildAtTheNextStart) {
  ASSERT_TRUE(StartStorage());
  Fileblock* fb = OpenTrec();
  for (int i = 0; i < 300; ++i) {
    fb->ClearBuffer();
    PutPStr(fb->RecordBuffer(), trec::kName, 10, "N" + std::to_string(i));
    PutPStr(fb->RecordBuffer(), trec::kGroup, 10, "G");
    fb->AddRecord();
    ASSERT_EQ(StorageErrorClass(), 0);
  }
  // The engine reports a short read of the index as it does in the middle of
  // an operation; the handler takes it from there.
  storage_detail::ResetErrors(fb);
  storage_detail::LogError(err::kShortRead, fb);
  RunFatalHandlerForTest();
  ASSERT_EQ(platform.dialogs.messages.size(), 1u);
  EXPECT_EQ(platform.dialogs.messages[0].substr(0, 20), "Fehlercode:    10070");
  EXPECT_FALSE(std::filesystem::exists(m_dir + "/TREC.IX"));
  EXPECT_TRUE(std::filesystem::exists(m_dir + "/TREC.DAT"));
  EXPECT_EQ(exit_codes, std::vector<int>{1});

  // The next start: the index is rebuilt from the data file without a question.
  CloseFileblock(fb);
  m_open.clear();
  ExitFileManager();
  platform.dialogs.messages.clear();
  ASSERT_TRUE(StartStorage());
  fb = OpenTrec();
  EXPECT_EQ(fb->RecordCount(), 300);
  fb->FindExact(2, trec::Pad("N299", 10));
  EXPECT_EQ(StorageErrorClass(), 0);
  EXPECT_TRUE(platform.dialogs.messages.empty());
  EXPECT_TRUE(platform.dialogs.questions.empty());
}

}  // namespace
}  // namespace kontura::testing
