#pragma once
// The entry of one QSO at a time: the logic behind the entry mask of the
// logging window. The window (and the ADIF import) only forwards what the
// operator does: typing into a field, Enter, "#", Alt+Q, Alt+Numpad 1-3,
// moving the focus, Esc, the band and mode choice, and the clock's ticks.
// Everything the window shows is in mask() and in the session's totals.
//
// The QSO in the mask is a record of its own, not the log's shared record
// buffer: searches in the log cannot change it, and the clock writes only
// into it. The log is the catalogue's FHLK fileblock and must be open
// (log_opening.h); FHCBUCH and FHCALL are used when open.
//
// Messages (information boxes), the beep and the question go through
// TheDialogs(); the clock is TheClock().

#include <cstdint>
#include <string>
#include <string_view>

#include "logging/entity.h"
#include "logging/entry_mask.h"
#include "logging/log_session.h"
#include "logging/qso_record.h"

namespace kontura {

inline constexpr char kLocatorError[] = "Fehler bei Locator-Angabe";
inline constexpr char kPrefixUnknown[] = "Pr\xE4" "fix unbekannt";
inline constexpr char kAddFailed[] = "Fehler bei Dateneingabe. Datensatz evtl. schon vorhanden.";

// How a save ended.
enum class SaveResult {
  kStored,      // added (and rewritten); a new QSO is prepared
  kIncomplete,  // the validity check failed; the mask is kept
  kAddFailed,   // the log refused the add after all attempts (or is waiting
                // for a failed rebuild to be completed); the mask is kept
};

class QsoEntry {
 public:
  QsoEntry(const LogContext& ctx, LogSession& session, EntityLookup& lookup);

  EntryMask& mask() { return m_mask; }
  const EntryMask& mask() const { return m_mask; }
  QsoRecord& record() { return m_rec; }
  const QsoRecord& record() const { return m_rec; }
  LogSession& session() { return m_s; }
  const LogContext& context() const { return m_ctx; }
  EntityLookup& lookup() { return m_lookup; }

  // Lays the mask out for the contest (once, when the log opens).
  void LayOut() { m_mask.Layout(m_ctx); }

  // The start mode: the first mode of the contest, replaced by the header's
  // SSB, FM or PR start mode when the contest has that mode, else by "CW"
  // when it has CW and no start mode is chosen.
  void SetStartMode();

  // A new QSO: the next numbers are searched first, then the record is
  // cleared and preset, so that nothing of a stored QSO reaches the mask.
  void NewQso();

  // Mask -> record and record -> mask.
  void ReadMask();
  void FillMask();

  // The operator changed the text of field `f` to `typed` (the window's text
  // change). The text is upper-cased (name and QTH excepted), blanks in
  // received fields are dropped, and it is cut to the field's length
  // (received field 2 to 10, as on the sent side, so that it cannot push
  // the locator out of the 20-character exchange).
  void Type(MaskField f, std::string_view typed);

  // Enter in the focused field: moves the focus and leaves the field with
  // EnterPressed set, which saves the QSO in the last field.
  void PressEnter();
  // "#" in the call field: appends "/p" unless present, then acts as Enter.
  void PressHash();
  // Alt+Q or a click on the QSL label.
  void ToggleQsl();
  // Alt+Numpad 1, 2, 3: focus received field 2, 3, 4 when shown.
  void FocusReceived(int n);
  // Any other focus change (Tab, mouse): leaves the focused field.
  void MoveFocus(MaskField to);
  // Esc or the Clear button.
  void Clear() { NewQso(); }

  // The one-second clock: with automatic date and time it writes the
  // current UTC date and time into the mask's date and time fields and its
  // record. Ignored while paused (whole-log operations and the import).
  void Tick();
  void PauseClock(bool paused) { m_clock_paused = paused; }
  bool ClockPaused() const { return m_clock_paused; }

  // The validity check: date and time set (> 0), an acceptable call and no
  // duplicate by the rule's check before storing (whose message it shows).
  bool IsComplete();

  // Saves the QSO in the mask. `from_import` leaves the clock out.
  SaveResult Save(bool from_import);

  // The band change (F8, the import): reads the mask, changes the band and
  // fills the mask again.
  void SelectBand(char band);
  // The band change itself: next numbers and totals of the new band; the
  // QSO in the mask moves to it (on a copy, as the window does it) and the
  // last frequency is forgotten.
  void ChangeBand(char band);
  // The mode change (F7): reads the mask; next mode number, the current
  // band's totals, fixed reports follow the mode; fills the mask again.
  void ChangeMode(std::string_view mode);

  // Leaves the focused field (what a focus change runs), exposed for the
  // import, which reads the mask and runs the checks without keys.
  void LeaveField(MaskField f);

  // The entity shown while the call is typed (display only).
  const std::string& ShownEntity() const { return m_s.LastDxcc; }

 private:
  void CallCheck(bool call_changed);
  void PresetLocator();
  void LeaveFrequency();
  void ReadLocatorField(MaskField f, const std::string& text);
  std::string ReadReport(MaskField f) const;
  // False when a failed rebuild of the log is pending and cannot be
  // completed now (log_renumbering.h).
  bool LogReadyForWriting();
  bool AddWithRetries();
  void RewriteWithRetries();
  void RecordHistory();
  int32_t UtcDate(int32_t* seconds) const;

  const LogContext& m_ctx;
  LogSession& m_s;
  EntityLookup& m_lookup;
  EntryMask m_mask;
  QsoRecord m_rec;
  // The locator last put into received field 3 from the call book; a field
  // still holding it may be replaced by the next preset, a typed one not.
  std::string m_locator_preset;
  uint64_t m_new_qso_count = 0;
  bool m_clock_paused = false;
};

// The validity rule for a call: its base call is at least 3 characters long
// (4 when it begins with "D"), does not begin with two digits and does not
// begin with three letters.
bool IsAcceptableCall(std::string_view call);

// True for a German call: "D" followed by "A".."H" or "J".."R".
bool IsGermanCall(std::string_view call);

}  // namespace kontura
