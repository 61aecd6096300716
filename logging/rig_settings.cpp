#include "logging/rig_settings.h"

#include <algorithm>
#include <cstdlib>

namespace kontura {

namespace {

const char* KindName(RigSettings::Kind kind) {
  switch (kind) {
    case RigSettings::Kind::kDirect: return "direct";
    case RigSettings::Kind::kNetwork: return "network";
    case RigSettings::Kind::kNone: break;
  }
  return "none";
}

// "host:port" with a host and a port from 1 to 65535.
bool ValidAddress(const std::string& address) {
  const size_t colon = address.rfind(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == address.size()) return false;
  const std::string port = address.substr(colon + 1);
  if (port.size() > 5 || !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  const long p = std::strtol(port.c_str(), nullptr, 10);
  return p >= 1 && p <= 65535 &&
         address.find_first_of(" \t") == std::string::npos;
}

}  // namespace

RigSettings RigSettingsOf(const ProgramSettings& settings) {
  RigSettings rig;
  if (settings.rig_kind == "direct") {
    rig.kind = RigSettings::Kind::kDirect;
  } else if (settings.rig_kind == "network") {
    rig.kind = RigSettings::Kind::kNetwork;
  }
  rig.model = settings.rig_model;
  rig.device = settings.rig_device;
  rig.speed = settings.rig_speed;
  rig.address = settings.rig_address;
  rig.poll_ms = std::clamp(settings.rig_poll_ms, kRigPollMinMs, kRigPollMaxMs);
  return rig;
}

void StoreRigSettings(const RigSettings& rig, ProgramSettings* settings) {
  settings->rig_kind = KindName(rig.kind);
  settings->rig_model = rig.model;
  settings->rig_device = rig.device;
  settings->rig_speed = rig.speed;
  settings->rig_address = rig.address;
  settings->rig_poll_ms = rig.poll_ms;
}

std::string RigSettingsProblem(const RigSettings& rig, bool model_known) {
  switch (rig.kind) {
    case RigSettings::Kind::kNone:
      return {};
    case RigSettings::Kind::kDirect:
      if (rig.model <= 0 || !model_known) return "Bitte w\xE4hlen Sie das Modell des Transceivers.";
      if (rig.device.empty()) return "Bitte geben Sie die Schnittstelle an, z.B. /dev/ttyUSB0.";
      if (rig.speed < 0) return "Die Geschwindigkeit muss eine positive Zahl sein.";
      break;
    case RigSettings::Kind::kNetwork:
      if (!ValidAddress(rig.address)) {
        return "Die Adresse muss die Form Rechner:Port haben, z.B. localhost:4532.";
      }
      break;
  }
  if (rig.poll_ms < kRigPollMinMs || rig.poll_ms > kRigPollMaxMs) {
    return "Die Abfrage muss zwischen 100 und 10000 ms liegen.";
  }
  return {};
}

}  // namespace kontura
