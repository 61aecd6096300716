#pragma once
// The logging window as a model: what TContestLogStd shows besides the entry
// mask (qso_entry.h) and which of its buttons and keys act. It opens and
// closes the contest's log through the core (log_opening.h), keeps the two
// areas of the window apart (the mask and the QSO list: "entry mode" and
// "list mode"), the band and mode choice lists, the key table and the
// column widths of the QSO list that live in the contest header.
//
// A key acts only when the button it stands for is shown and enabled, so
// that the mouse and the keyboard can never do different things.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "contest/contest_definition.h"
#include "logging/entity.h"
#include "logging/log_opening.h"
#include "logging/qso_entry.h"

namespace kontura {

inline constexpr char kLogbookCaption[] = "Logbuch";
inline constexpr char kListBarEntry[] = "Contest-Logbuch";
inline constexpr char kListBarList[] = "Contest-Logbuch (ESC: zur\xFC" "ck zur Eingabe)";
inline constexpr char kSaveHint[] = "<ET> = speichern";
inline constexpr char kEndContestLabel[] = "    Contest beenden";
inline constexpr char kImportButton[] = "Import von ADIF-Dateien";
inline constexpr char kImportUnavailable[] =
    "Der Import von ADIF-Dateien steht in dieser Version noch nicht zur Verf\xFC" "gung.";

// The window caption: own call and two blanks (together at most 19
// characters), "Logbuch", " (Contest : " + contest name + " )".
std::string LogWindowCaption(std::string_view own_call, std::string_view contest_name);

// The buttons of the window. The first nine form the picture-button row.
enum class LogButton : int {
  kClear,
  kMode,        // F7
  kBand,        // F8
  kList,        // F5
  kCorrection,  // F12, Alt+W
  kCallSearch,  // F4
  kHelp,
  kNote,        // F6
  kNameQth,     // F9
  kChange,      // "Ändern [ET]"
  kDelete,      // "Löschen [Entf]"
  kBandLog,     // "Bandlog [F3]"
  kEnd,         // "Contest beenden"
  kImport,      // "Import von ADIF-Dateien"
};
inline constexpr int kLogButtonCount = 14;

// The keys the window itself handles (the mask's Enter, "#" and typing go
// to the entry directly).
enum class LogKey { kEsc, kF3, kF4, kF5, kF6, kF7, kF8, kF9, kF12, kAltW, kAltQ, kAltNum1, kAltNum2, kAltNum3 };

// What a key or a button asks the window to do.
enum class LogCommand : int {
  kNone,
  kCloseChoice,      // Esc with a choice list open
  kBackToEntry,      // Esc in the QSO list
  kClearMask,        // Esc in the mask, the Clear button
  kBandLog,          // F3
  kCallSearch,       // F4
  kFocusList,        // F5
  kNote,             // F6
  kModeChoice,       // F7
  kBandChoice,       // F8
  kToggleNameQth,    // F9
  kCorrection,       // F12, Alt+W
  kToggleQsl,        // Alt+Q
  kFocusReceived2,   // Alt+Numpad 1
  kFocusReceived3,   // Alt+Numpad 2
  kFocusReceived4,   // Alt+Numpad 3
  kChange,           // Enter or double click in the QSO list
  kDelete,           // Del in the QSO list
  kHelp,
  kEndContest,
  kImport,
};

// Which part of the window has the focus.
enum class LogArea { kEntry, kList };

// Which choice list is open next to the mask.
enum class LogChoice : int { kNone, kBand, kMode };

// The colour of the QSO list's caption bar.
enum class ListBarColour { kDarkBlue, kRed };

class LogWindow {
 public:
  // The window works on its own copy of the definition.
  LogWindow(int32_t contest_number, TContestDefinition definition, EntityLookup& lookup);
  ~LogWindow();
  LogWindow(const LogWindow&) = delete;
  LogWindow& operator=(const LogWindow&) = delete;

  // Reads the contest's options from its header and opens the log
  // (log_opening.h): renumbering, recount on the band of the last entry, a
  // new QSO. False when the log cannot be opened.
  bool Open();
  // Stores the column widths (grid column k, counted from 0, at header
  // byte 301 + 2k) into the contest header, then closes the log as the core
  // does (summary, renumbering). Afterwards the FHKK and FHKZ buffers hold
  // this contest's header and totals records. Closing twice does nothing.
  void Close(const std::vector<int>& column_widths);
  bool IsOpen() const { return m_log && m_log->is_open(); }

  ContestLog& log() { return *m_log; }
  QsoEntry& entry() { return m_log->entry(); }
  const LogContext& context() const { return m_log->context(); }
  LogSession& session() { return m_log->session(); }
  int32_t contest_number() const { return m_contest_number; }
  const TContestDefinition& definition() const { return m_definition; }

  std::string Caption() const;

  // --- buttons and keys
  // Mode and Band are hidden when the contest has only one mode or band.
  bool ButtonVisible(LogButton b) const;
  // Shown and enabled in the current area: the mask enables Clear, list,
  // Mode, Band, call search, correction, name/QTH and note; the list
  // enables "Bandlog [F3]", "Ändern [ET]" and "Löschen [Entf]".
  bool ButtonEnabled(LogButton b) const;
  // The command of a key, kNone when its button is not enabled.
  LogCommand CommandOfKey(LogKey key) const;
  // The command of a button, kNone when it is not enabled.
  LogCommand CommandOfButton(LogButton b) const;

  // --- the two areas
  LogArea area() const { return m_area; }
  // The focus entered the mask or the list.
  void EnterArea(LogArea a) { m_area = a; }
  std::string ListBarText() const { return m_area == LogArea::kEntry ? kListBarEntry : kListBarList; }
  ListBarColour ListBarColourNow() const {
    return m_area == LogArea::kEntry ? ListBarColour::kDarkBlue : ListBarColour::kRed;
  }

  // --- band and mode choice
  std::vector<std::string> BandNames() const;
  std::vector<std::string> ModeNames() const;
  // The row of a band in BandNames; -1 for a band outside the contest's
  // list (such a stored band shows no selection and stays as it is).
  int BandRow(char band) const;
  int ModeRow(std::string_view mode) const;

  LogChoice open_choice() const { return m_choice; }
  // The transceiver changes band and mode only where F8 and F7 would act:
  // in the entry with no choice list open.
  bool FollowsRig() const { return IsOpen() && m_area == LogArea::kEntry && m_choice == LogChoice::kNone; }
  // F8: with exactly two bands the other band is chosen at once; otherwise
  // the band list opens (the mode list closes). Returns the list now open.
  LogChoice PressBand();
  // F7: the mode list opens (the band list closes).
  LogChoice PressMode();
  // Enter or a double click in the open list on row `row`: closes the list
  // and changes the band (the mode) through the entry when it differs.
  void ChooseRow(int row);
  void CloseChoice() { m_choice = LogChoice::kNone; }

  // --- the QSO list
  // The record number of the last entry on the current band (key 12), or
  // -1 when the band has none. The log's record buffer is put back.
  int32_t LastRecordOfCurrentBand() const;

 private:
  int BandCount() const;
  int ModeCount() const;

  int32_t m_contest_number;
  TContestDefinition m_definition;
  EntityLookup& m_lookup;
  std::unique_ptr<ContestLog> m_log;
  std::string m_own_call;
  LogArea m_area = LogArea::kEntry;
  LogChoice m_choice = LogChoice::kNone;
};

}  // namespace kontura
