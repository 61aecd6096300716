#pragma once
// A rig read through hamlib: directly (model number, serial device, speed)
// or through a running rigctld (hamlib's network model, host:port). The
// connection is opened on the first reading and opened again after a
// failure, so a pulled cable or a stopped daemon shows as unanswered
// readings until it is back. Each reading waits at most about a second.

#include <memory>

#include "logging/rig.h"

namespace kontura {

class HamlibRig : public Rig {
 public:
  explicit HamlibRig(const RigSettings& settings);
  ~HamlibRig() override;
  HamlibRig(const HamlibRig&) = delete;
  HamlibRig& operator=(const HamlibRig&) = delete;

  RigReading Read() override;

 private:
  struct State;
  std::unique_ptr<State> m_state;
};

}  // namespace kontura
