#pragma once
// hamlib's dummy rig behind a rigctld on a free loopback port, for the
// transceiver tests; stopped with the object. Needs libhamlib-utils.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace kontura::testing {

inline bool RigctldInstalled() { return std::system("command -v rigctld >/dev/null 2>&1") == 0; }

inline int FreeLoopbackPort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    close(s);
    return 0;
  }
  close(s);
  return ntohs(a.sin_port);
}

inline bool Accepts(int port) {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  const bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  close(s);
  return ok;
}

// rigctld with hamlib's dummy rig on a loopback port, stopped with the test.
class DummyRigDaemon {
 public:
  DummyRigDaemon() : m_port(FreeLoopbackPort()) {
    if (m_port == 0) return;
    m_pid = fork();
    if (m_pid == 0) {
      const std::string port = std::to_string(m_port);
      prctl(PR_SET_PDEATHSIG, SIGTERM);  // a test that aborts takes its daemon along
      execlp("rigctld", "rigctld", "-m", "1", "-T", "127.0.0.1", "-t", port.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; i < 100 && !Accepts(m_port); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  ~DummyRigDaemon() { Stop(); }
  bool running() const { return m_pid > 0 && Accepts(m_port); }
  std::string address() const { return "127.0.0.1:" + std::to_string(m_port); }
  // Sets the dummy rig through hamlib's own command-line client.
  bool Set(const std::string& commands) const {
    return std::system(("rigctl -m 2 -r " + address() + " " + commands + " >/dev/null 2>&1").c_str()) == 0;
  }
  void Stop() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
  }

 private:
  int m_port;
  pid_t m_pid = -1;
};

}  // namespace kontura::testing
