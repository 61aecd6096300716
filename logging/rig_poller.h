#pragma once
// Reads a rig over and over on a thread of its own, so that a rig that is
// slow or does not answer never holds up the operator; the window takes
// the newest reading on its own thread and hands it to RigFollower.

#include <memory>

#include "logging/rig.h"

namespace kontura {

class RigPoller {
 public:
  // Starts reading `rig` every poll_ms milliseconds.
  RigPoller(std::unique_ptr<Rig> rig, int poll_ms);
  // Stops the reading. A reading under way gets up to `kStopWaitMs` to end;
  // one stuck longer in the rig's time-outs finishes on its own and then
  // releases the rig, so closing never waits for a dead rig.
  ~RigPoller();
  RigPoller(const RigPoller&) = delete;
  RigPoller& operator=(const RigPoller&) = delete;

  static constexpr int kStopWaitMs = 1500;

  // The newest reading not taken yet; false when there is none.
  bool Take(RigReading* reading);

 private:
  struct Shared;
  std::shared_ptr<Shared> m_shared;
};

}  // namespace kontura
