#include "logging/rig_follow.h"

#include <algorithm>

#include "logging/mask_text.h"
#include "logging/qso_entry.h"
#include "refdata/bands_modes.h"
#include "text/text_util.h"

namespace kontura {

namespace {

bool ContestHasMode(const TContestDefinition& def, const std::string& mode) {
  for (const std::string& m : def.ModeNames) {
    if (m.empty()) break;
    if (m == mode) return true;
  }
  return false;
}

bool ContestHasBand(const TContestDefinition& def, char band) {
  return band != 0 && std::find(std::begin(def.BandCodes), std::end(def.BandCodes), band) != std::end(def.BandCodes);
}

}  // namespace

std::string ContestModeOfRig(const TContestDefinition& def, std::string_view rig_mode) {
  const std::string m = UpperGerman(rig_mode);
  std::string mode;
  if (m == "CW" || m == "CWR" || m == "CW-R") {
    mode = "CW";
  } else if (m == "USB" || m == "LSB") {
    mode = "SSB";
  } else if (m == "FM" || m == "FMN" || m == "FM-N") {
    mode = "FM";
  }
  return ContestHasMode(def, mode) ? mode : std::string();
}

RigFollower::RigFollower(QsoEntry& entry, int64_t settle_ms) : m_entry(entry), m_settle_ms(settle_ms) {}

void RigFollower::OperatorTyped() { m_typed = true; }

bool RigFollower::Apply(const RigReading& reading, int64_t now_ms) {
  if (!reading.answered) {
    m_status = "Transceiver antwortet nicht" + (reading.error.empty() ? std::string() : " (" + reading.error + ")") +
               " - neuer Versuch l\xE4uft";
    return false;
  }
  const TContestDefinition& def = m_entry.context().Definition;
  bool changed = false;

  const std::string mode = ContestModeOfRig(def, reading.mode);
  if (!mode.empty() && mode != m_entry.session().CurrentMode) {
    m_entry.ChangeMode(mode);
    changed = true;
  }

  if (reading.hz != m_last_hz) {
    // The rig moved: it wins over a typed frequency again.
    m_last_hz = reading.hz;
    m_since_ms = now_ms;
    m_typed = false;
  }
  const double mhz = reading.hz / 1e6;
  const std::string text = FrequencyText(static_cast<float>(mhz));
  if (!m_typed) {
    const char band = BandOfFrequency(mhz);
    if (ContestHasBand(def, band) && band != m_entry.session().CurrentBand && now_ms - m_since_ms >= m_settle_ms) {
      m_entry.SelectBand(band);
      changed = true;
    }
    MaskFieldState& field = m_entry.mask()[MaskField::kFrequency];
    if (field.text != text) {
      m_entry.Type(MaskField::kFrequency, text);
      changed = true;
    }
  }
  const std::string shown_mode = mode.empty() ? reading.mode : mode;
  if (ContestHasBand(def, BandOfFrequency(mhz))) {
    m_status = "Transceiver: " + text + " MHz " + shown_mode;
  } else {
    m_status = "Transceiver: " + text + " MHz liegt in keinem Band des Contests";
  }
  return changed;
}

}  // namespace kontura
