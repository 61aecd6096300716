#pragma once
// The child process of the kill tests: a forked child does work and reports
// its progress over a pipe; the parent kills it with SIGKILL at a moment of
// its choosing, as a crash or a pulled plug would, and then looks at what
// the files hold.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <string>

namespace kontura::testing {

class KilledChild {
 public:
  // Forks; the child runs body with the writing end of the pipe and must
  // not return (it runs until it is killed, or _exit()s on a failure).
  explicit KilledChild(const std::function<void(int write_fd)>& body) {
    int fd[2] = {-1, -1};
    if (pipe(fd) != 0) return;
    m_pid = fork();
    if (m_pid == 0) {
      close(fd[0]);
      body(fd[1]);
      _exit(0);
    }
    close(fd[1]);
    m_read_fd = fd[0];
  }
  ~KilledChild() {
    if (m_pid > 0 && !m_reaped) KillAfter(0);
    if (m_read_fd >= 0) close(m_read_fd);
  }
  KilledChild(const KilledChild&) = delete;
  KilledChild& operator=(const KilledChild&) = delete;

  bool started() const { return m_pid > 0 && m_read_fd >= 0; }

  // Reads what the child reported until `marker` has come (or the child
  // ended); everything read is kept in reported().
  void WaitFor(const std::string& marker) {
    char buf[4096];
    while (m_reported.find(marker) == std::string::npos) {
      const ssize_t n = read(m_read_fd, buf, sizeof buf);
      if (n <= 0) break;
      m_reported.append(buf, static_cast<size_t>(n));
    }
  }

  // Kills the child after delay_us microseconds, reaps it and reads the
  // rest of its reports. True when the signal ended it (it did not stop by
  // itself first).
  bool KillAfter(int64_t delay_us) {
    if (delay_us > 0) usleep(static_cast<useconds_t>(delay_us));
    kill(m_pid, SIGKILL);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_reaped = true;
    char buf[4096];
    for (ssize_t n; (n = read(m_read_fd, buf, sizeof buf)) > 0;) m_reported.append(buf, static_cast<size_t>(n));
    m_status = status;
    return WIFSIGNALED(status);
  }

  const std::string& reported() const { return m_reported; }
  // The exit code of a child that stopped by itself.
  int exit_code() const { return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1; }

 private:
  pid_t m_pid = -1;
  int m_read_fd = -1;
  bool m_reaped = false;
  int m_status = 0;
  std::string m_reported;
};

}  // namespace kontura::testing
