// The rig read through hamlib, against hamlib's own dummy rig behind a
// rigctld on a free loopback port: its frequency and mode reach the mask
// through RigFollower, and a stopped daemon shows as a rig that does not
// answer while the mask keeps working.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "logging/hamlib_rig.h"
#include "logging/rig_follow.h"
#include "tests/support/log_fixture.h"

namespace kontura::testing {
namespace {

int FreeLoopbackPort() {
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

bool Accepts(int port) {
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

class HamlibRigTest : public LogTest {};

TEST_F(HamlibRigTest, TheDummyRigsFrequencyAndModeReachTheMaskUntilTheDaemonStops) {
  if (std::system("command -v rigctld >/dev/null 2>&1") != 0) GTEST_SKIP() << "rigctld (libhamlib-utils) is missing";
  DummyRigDaemon daemon;
  ASSERT_TRUE(daemon.running());
  ASSERT_TRUE(daemon.Set("F 3550000 M CW 500"));

  RigSettings settings;
  settings.kind = RigSettings::Kind::kNetwork;
  settings.address = daemon.address();
  HamlibRig rig(settings);
  RigReading r = rig.Read();
  ASSERT_TRUE(r.answered) << r.error;
  EXPECT_DOUBLE_EQ(r.hz, 3550000);
  EXPECT_EQ(r.mode, "CW");

  QsoEntry& e = Entry(kBand80);
  RigFollower follower(e, 0);
  follower.Apply(r, 0);
  EXPECT_EQ(e.mask()[MaskField::kFrequency].text, "3.55");

  ASSERT_TRUE(daemon.Set("F 145300000 M FM 15000"));
  follower.Apply(rig.Read(), 100);
  EXPECT_EQ(e.session().CurrentBand, kBand2);
  EXPECT_EQ(e.session().CurrentMode, "FM");
  EXPECT_EQ(e.mask()[MaskField::kFrequency].text, "145.3");

  daemon.Stop();
  r = rig.Read();
  EXPECT_FALSE(r.answered);
  EXPECT_FALSE(r.error.empty());
  follower.Apply(r, 200);
  EXPECT_NE(follower.Status().find("antwortet nicht"), std::string::npos) << follower.Status();
  EXPECT_EQ(e.mask()[MaskField::kFrequency].text, "145.3") << "the mask keeps what it had";
  EXPECT_FALSE(rig.Read().answered) << "and it tries again quietly";
}

}  // namespace
}  // namespace kontura::testing
