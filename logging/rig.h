#pragma once
// A transceiver as the logging sees it: asked for its frequency and mode,
// it answers or says why not. Implementations: the hamlib one
// (logging/hamlib_rig.h) and scripted ones in tests. Reading may block for
// the rig's time-out, so the program reads off the window's thread.

#include <string>

namespace kontura {

struct RigReading {
  bool answered = false;
  double hz = 0;      // the VFO's frequency
  std::string mode;   // the rig's mode name ("CW", "CWR", "USB", "FMN", ...)
  std::string error;  // why it did not answer, for the status
};

class Rig {
 public:
  virtual ~Rig() = default;
  virtual RigReading Read() = 0;
};

// How the program reaches its rig (kept in the program's settings file).
struct RigSettings {
  enum class Kind { kNone, kDirect, kNetwork };
  Kind kind = Kind::kNone;
  int model = 0;               // hamlib model number (direct)
  std::string device;          // serial device (direct), e.g. /dev/ttyUSB0
  int speed = 0;               // serial speed; 0: the model's default
  std::string address = "localhost:4532";  // host:port of rigctld (network)
  int poll_ms = 500;
};

}  // namespace kontura
