#pragma once
// The transceiver's entries in the program's settings file and what makes
// them usable: the "Transceiver" window edits them, the logging window
// reads them when it opens and after the window has changed them.

#include <string>

#include "logging/rig.h"
#include "platform/program_settings.h"

namespace kontura {

RigSettings RigSettingsOf(const ProgramSettings& settings);
void StoreRigSettings(const RigSettings& rig, ProgramSettings* settings);

// Why the settings cannot reach a rig, as a German sentence for the
// operator (Windows-1252); empty when they can. `model_known` tells
// whether hamlib knows the direct model.
std::string RigSettingsProblem(const RigSettings& rig, bool model_known);

// The limits of the poll interval in milliseconds.
inline constexpr int kRigPollMinMs = 100;
inline constexpr int kRigPollMaxMs = 10000;

}  // namespace kontura
