#pragma once
// A rig read through hamlib: directly (model number, serial device, speed)
// or through a running rigctld (hamlib's network model, host:port). The
// connection is opened on the first reading and opened again after a
// failure, so a pulled cable or a stopped daemon shows as unanswered
// readings until it is back. Each reading waits at most about a second.

#include <memory>
#include <string>
#include <vector>

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

// A rig model as hamlib knows it, for the operator to choose from.
struct RigModelEntry {
  int model = 0;
  std::string maker;  // "Icom", "Yaesu", ...
  std::string name;   // "IC-7300", "FT-991", ...
};

// Every model hamlib can drive directly, by maker and name; without the
// network model, which the settings offer as a connection of its own.
const std::vector<RigModelEntry>& HamlibRigModels();

}  // namespace kontura
