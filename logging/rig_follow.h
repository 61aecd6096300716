#pragma once
// The entry mask following the transceiver: what the program does with the
// frequency and mode a rig reports. The rig itself (hamlib, or a scripted
// one in tests) is read elsewhere, off the window's thread; each reading is
// handed to RigFollower on the thread of the entry.
//
// - The frequency field shows the rig's frequency as the mask shows
//   frequencies; the QSO stores what the field holds when it is saved.
// - A frequency in another band of the contest changes the band through the
//   entry's band change (next numbers, that band's totals), as F8 does, once
//   the dial has rested there for `settle_ms` (no band hopping while it
//   turns); a frequency outside the contest's bands leaves the band and is
//   named in the status.
// - The rig's mode maps onto the contest's modes (CW and CW-R → CW, USB and
//   LSB → SSB, FM and FM-N → FM; others leave the mode) through the entry's
//   mode change.
// - When the operator types into the frequency field, the typed text wins
//   until the rig's frequency changes again.
// - A rig that does not answer changes nothing but the status.

#include <cstdint>
#include <string>
#include <string_view>

#include "contest/contest_definition.h"
#include "logging/rig.h"

namespace kontura {

class QsoEntry;

// The contest mode for a rig mode; empty when the rig's mode has none in
// this contest (the mask keeps its mode).
std::string ContestModeOfRig(const TContestDefinition& def, std::string_view rig_mode);

class RigFollower {
 public:
  explicit RigFollower(QsoEntry& entry, int64_t settle_ms = 500);

  // A reading taken at now_ms (a steady clock). True when the mask changed.
  bool Apply(const RigReading& reading, int64_t now_ms);
  // The operator typed into the frequency field.
  void OperatorTyped();

  // One line for the status label (Windows-1252).
  const std::string& Status() const { return m_status; }

 private:
  QsoEntry& m_entry;
  const int64_t m_settle_ms;
  double m_last_hz = -1;
  int64_t m_since_ms = 0;  // since when the rig has stood on m_last_hz
  bool m_typed = false;
  std::string m_status = "Transceiver: noch keine Angabe";
};

}  // namespace kontura
