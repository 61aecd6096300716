#pragma once
// The renumbering ("Neunummerierung"): the whole log is rewritten in date
// and time order so that QsoNo and the running numbers per band and per mode
// class are gapless, and band-change markers disappear. The log is copied
// into the temporary fileblock FHLKTEMP and rebuilt from there.
//
// Nothing may be lost on the way, whatever moment a crash or power loss
// strikes. FHLKTEMP tells the next renumbering what state it was left in:
//
//   FHLKTEMP empty             no renumbering under way.
//   QSOs without the trailer   the copy was interrupted. The log has not
//                              been touched yet (it is erased only after
//                              the trailer is on the disk): FHLKTEMP is
//                              simply erased.
//   QSOs and the trailer       the copy is complete and on the disk; the
//                              log may be anything from untouched to
//                              erased and partly rebuilt, with slots a
//                              crash left half written. The log is erased
//                              and rebuilt from FHLKTEMP, synced, and only
//                              then is FHLKTEMP erased. This can be
//                              repeated any number of times.
//
// Rebuilding from the copy is right only while nothing but the rebuild has
// written the log since the trailer. A rebuild that failed in this run
// ("Fehler beim Neuaufbau der Datenbank") therefore leaves
// LogRebuildPending() set, and whatever writes the log (the entry's save)
// first renumbers, which completes the log, and writes only when that
// succeeded.
//
// The trailer is a band-change marker (which a renumbering never copies)
// whose call field holds the name of the log it belongs to ("FHLK0007"):
// FHLKTEMP is one file for all contests.
//
// The steps and what is on the disk after each:
//   1. A pending state of FHLKTEMP is settled as above (completed into its
//      own log, or erased when incomplete). A log that the renumbering would
//      write back unchanged (already in order, numbers without gaps, no
//      markers) is left as it is: nothing below is done.
//   2. FHLKTEMP is erased and every QSO of the log copied into it in key-1
//      order (date, time) without flush-after-write, then synced. A crash
//      here leaves the log whole and FHLKTEMP without trailer.
//   3. The trailer is added and synced. From here FHLKTEMP alone holds
//      every QSO.
//   4. The log is erased and rebuilt from FHLKTEMP without flush-after-
//      write; each QSO gets QsoNo, BandSerial, BandSerial2 and ModeSerial
//      afresh. A crash here leaves the trailer in FHLKTEMP: the next
//      renumbering (at the latest the next opening) rebuilds the log again.
//   5. The log is synced, flush-after-write is switched back on, and
//      FHLKTEMP is erased. A crash before the erase makes the next opening
//      rebuild the log once more from the same copy.

#include <cstdint>

namespace kontura {

inline constexpr char kTempBuildFailed[] = "Fehler beim Aufbau der tempor\xE4ren Datenbank";
inline constexpr char kRebuildFailed[] = "Fehler beim Neuaufbau der Datenbank";

enum class RenumberResult {
  kDone,
  kTempFailed,     // FHLKTEMP could not be built; the log is untouched
  kRebuildFailed,  // the log could not be rebuilt; FHLKTEMP keeps every QSO
  kTempBusy,       // FHLKTEMP holds the QSOs of another contest's log
};

// Renumbers the open log of `contest_number` (FHLK must be open). Shows the
// progress window "Neunummerierung" with the hourglass, and the messages
// kTempBuildFailed or kRebuildFailed when a step fails.
RenumberResult RenumberLog(int32_t contest_number);

// True after a rebuild of the log failed in this run, until one succeeds:
// FHLKTEMP then holds QSOs the log lacks, and the log must not be written
// before RenumberLog has completed it.
bool LogRebuildPending();

// Settles a renumbering that a crash interrupted, for whichever contest it
// was: rebuilds that contest's log from FHLKTEMP (opening and closing the
// log) or erases an incomplete copy. Runs
// before a log is opened. False when the completion failed; FHLKTEMP then
// keeps its QSOs.
bool RecoverInterruptedRenumbering();

}  // namespace kontura
