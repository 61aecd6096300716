// Crash safety: a child process adds, updates and deletes, with and without
// flush-after-write, and is killed with SIGKILL at a random moment, many
// times over. After each kill the fileblock is opened (rebuilt when the
// modification flag says so): every operation that had returned in the
// child is found intact, and the integrity check passes.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <random>
#include <sstream>

#include "storage/integrity_check.h"
#include "tests/support/storage_fixture.h"

namespace kontura::testing {
namespace {

// The parameter: flush-after-write. Without it the kernel still keeps
// everything an operation wrote, so a kill loses nothing either.
class StorageCrashTest : public StorageTest, public ::testing::WithParamInterface<bool> {
 protected:
  // The child's log line: "B op name value" before an operation, "E" after it
  // returned successfully.
  static void Say(int fd, const std::string& line) {
    std::string l = line + "\n";
    (void)!write(fd, l.data(), l.size());
  }

  [[noreturn]] void RunChild(int fd, int seed) {
    std::mt19937 rng(static_cast<unsigned>(seed));
    Fileblock* fb = OpenTrec("TREC", GetParam());
    std::vector<std::string> names;
    for (fb->First(2); StorageErrorClass() == 0; fb->Next(2)) names.push_back(Name(fb));
    for (int seq = 0;; ++seq) {
      int r = std::uniform_int_distribution<int>(0, 99)(rng);
      int value = std::uniform_int_distribution<int>(0, 999999)(rng);
      if (names.size() < 5 || r < 55) {
        std::string name = "c" + std::to_string(seed) + "_" + std::to_string(seq);
        Say(fd, "B A " + name + " " + std::to_string(value));
        if (Add(fb, name, "g" + std::to_string(seq % 9), value) < 0) _exit(3);
        names.push_back(name);
      } else {
        size_t at = std::uniform_int_distribution<size_t>(0, names.size() - 1)(rng);
        fb->FindExact(2, trec::Pad(names[at], 10));
        if (StorageErrorClass() != 0) _exit(4);
        if (r < 80) {
          Say(fd, "B U " + names[at] + " " + std::to_string(value));
          PutI32(fb->RecordBuffer(), trec::kValue, value);
          PutPStr(fb->RecordBuffer(), trec::kGroup, 10, "u" + std::to_string(value % 13));
          fb->UpdateRecord();
        } else {
          Say(fd, "B D " + names[at] + " 0");
          fb->DeleteRecord(kAfterNext);
          if (StorageErrorClass() == 1) storage_detail::ResetErrors(nullptr);  // end of index after delete
          names.erase(names.begin() + static_cast<long>(at));
        }
        if (StorageErrorClass() != 0) _exit(5);
      }
      Say(fd, "E");
    }
  }
};

TEST_P(StorageCrashTest, KilledWritersLoseNothingThatReturned) {
  std::map<std::string, int32_t> model;  // acknowledged records and values
  int acknowledged = 0;                   // operations that returned, over all rounds
  std::mt19937 rng(777);
  for (int round = 1; round <= 20; ++round) {
    int pipe_fd[2];
    ASSERT_EQ(pipe(pipe_fd), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(pipe_fd[0]);
      RunChild(pipe_fd[1], round);
    }
    close(pipe_fd[1]);
    // Kill only after the child has finished at least one operation, however
    // slow the machine is, then at a random moment after that.
    std::string log;
    char buf[4096];
    while (log.find("E\n") == std::string::npos) {
      ssize_t n = read(pipe_fd[0], buf, sizeof buf);
      if (n <= 0) break;
      log.append(buf, static_cast<size_t>(n));
    }
    usleep(static_cast<useconds_t>(std::uniform_int_distribution<int>(10000, 120000)(rng)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself: " << WEXITSTATUS(status);
    for (ssize_t n; (n = read(pipe_fd[0], buf, sizeof buf)) > 0;) log.append(buf, static_cast<size_t>(n));
    close(pipe_fd[0]);

    // Apply the acknowledged operations; remember the one in flight.
    std::istringstream in(log);
    std::string line, pending_op, pending_name;
    int32_t pending_value = 0;
    bool open_op = false;
    while (std::getline(in, line)) {
      if (in.eof() && !log.empty() && log.back() != '\n') break;  // cut line
      std::istringstream l(line);
      std::string tag;
      l >> tag;
      if (tag == "B") {
        l >> pending_op >> pending_name >> pending_value;
        open_op = true;
      } else if (tag == "E" && open_op) {
        ++acknowledged;
        if (pending_op == "D") model.erase(pending_name); else model[pending_name] = pending_value;
        open_op = false;
      }
    }

    Fileblock* fb = OpenTrec();
    std::map<std::string, int32_t> found;
    for (fb->First(2); StorageErrorClass() == 0; fb->Next(2)) {
      found[Name(fb)] = GetI32(fb->RecordBuffer(), trec::kValue);
    }
    Close(fb);
    ASSERT_TRUE(fatal_codes.empty()) << "round " << round;
    if (open_op) {
      // The operation in flight may or may not have happened.
      auto it = found.find(pending_name);
      bool done = pending_op == "D" ? it == found.end() : (it != found.end() && it->second == pending_value);
      if (done) {
        if (pending_op == "D") model.erase(pending_name); else model[pending_name] = pending_value;
      }
    }
    ASSERT_EQ(found, model) << "round " << round;
    FileblockLayout known = trec::Known();
    CheckReport report = CheckFileblock(Path("TREC"), &known);
    for (const std::string& p : report.problems) ADD_FAILURE() << "round " << round << ": " << p;
    ASSERT_TRUE(report.ok());
  }
  EXPECT_GE(acknowledged, 20) << "every child got work done before it was killed";
}

INSTANTIATE_TEST_SUITE_P(FlushAfterWrite, StorageCrashTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("Flushed") : std::string("Unflushed");
                         });

}  // namespace
}  // namespace kontura::testing
