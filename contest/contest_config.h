#pragma once
// The logic of the configuration dialog (TEingContestStd): what its fields
// show when it opens, the checks and the storing behind its buttons, and the
// totals of the "Auswertung" group. The window hands the texts of its fields
// over as a ConfigFields value and marks the field a refused save names; it
// knows nothing about records.
//
// The dialog works on its own copies of the contest header and the totals
// record. The FHKK and FHKZ record buffers are shared with the contest list,
// which overwrites them whenever it builds rows, so the copies are put back
// into the buffers only at the moment of storing, after the stored record
// has been found again by its contest number.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "contest/contest_definition.h"
#include "contest/contest_header.h"
#include "contest/contest_totals.h"

namespace kontura {

enum class ConfigMode { kNew, kEdit, kAfterLogging };

// What started a save. A category click saves without any check.
enum class SaveInitiator { kCategoryClick, kBeenden, kContestStarten, kDruckenELog };

// The fields a message can point at; the window maps them to its controls.
enum class ConfigField {
  kNone, kName, kDateFrom, kDateTo, kTimeFrom, kTimeTo, kCall, kDok, kSwl, kContactName,
  kStreet, kPlz, kTown, kCountry, kLocator, kParticipantNo, kComputerTime, kCategory,
};

// The dialog's controls as plain values (texts in Windows-1252).
struct ConfigFields {
  std::string name, date_from, date_to, time_from, time_to;
  std::string call, dok, swl, contact_name, street, plz, town, country, locator;
  std::string participant_no;
  std::string qsl_sent, qsl_rcvd;
  bool auto_date = false, auto_time = false, auto_band = false;
  bool rst_sent_fixed = false, rst_rcvd_fixed = false;  // "RST ... fest vorgeben"
  bool rst_unlocked = false, log_uncounted_dupes = false;
  bool local_time = false, utc_time = false;  // "Computerzeit"
  bool time_group_enabled = true;
  int category = -1;  // selected item, 0-based; -1 none
  bool category_enabled = true;
  bool start_ssb = false, start_fm = false, start_pr = false;
};

struct ConfigSaveResult {
  enum class Outcome { kRefused, kStorageFailed, kSaved };
  Outcome outcome = Outcome::kRefused;
  // Refused: the field to colour light red and to focus.
  ConfigField mark = ConfigField::kNone;
  // Saved, but a message asked for this field (empty participant number).
  ConfigField focus = ConfigField::kNone;
  bool saved() const { return outcome == Outcome::kSaved; }
};

// The mode radio buttons the category shows; the fourth is captioned
// "PR", "DIGI", "FSK441" or "RTTY" (empty: hidden).
struct ModeButtons {
  bool cw = false, ssb = false, fm = false;
  std::string fourth;
};

// One line of the "Auswertung" group; positions without a band are hidden.
struct TotalsLine {
  bool visible = false;
  std::string band, qso, multi, points;
};
struct TotalsView {
  std::array<TotalsLine, contest_header::kBandPositions> lines;
  std::string qso_total, multi_total, points_total, score;
};

// The refused-entry colour of every dialog: red 255, green 128, blue 128.
inline constexpr uint32_t kRefusedFieldColour = 8421631;

class ContestConfig {
 public:
  // def is the main window's definition; the dialog refills it after every
  // save and category click. Mode edit and after-logging read the contest
  // from the FHKK and FHKZ buffers, which the caller has positioned.
  ContestConfig(ConfigMode mode, TContestDefinition& def);

  // Opening steps: the preset of a new contest, the default dates and times,
  // the field texts, the address from FHSETUP. Call once.
  ConfigFields Open();

  ConfigMode Mode() const { return m_mode; }
  int32_t ContestNumber() const { return ConstContestHeader(m_header.data()).ContestNumber(); }
  const uint8_t* Header() const { return m_header.data(); }

  // "\"<ContestName>\"  Contest-Konfiguration"; after logging the quoted name only.
  std::string Caption() const;
  // The items of "Teilnahmeart" and the number of columns they are shown in.
  std::vector<std::string> CategoryItems() const;
  int CategoryColumns() const;
  // The mode buttons for the current category: all four for a new contest
  // without category, otherwise the modes of the definition.
  ModeButtons VisibleModeButtons() const;
  TotalsView Totals() const;

  // A date or time field lost the focus: it shows its completed text, and
  // a text that differs from the one it had when it got the focus marks the
  // field as typed by hand (EditedFields, stored with the next save).
  std::string FieldLeft(ConfigField field, const std::string& text_at_focus, const std::string& text);

  // The save behind "Beenden", "Contest starten", "Drucken / E-Log", Esc
  // answered Yes and a category click. Messages go to the platform dialogs.
  // A refused save changes nothing: no record, no program-wide value.
  ConfigSaveResult Save(const ConfigFields& fields, SaveInitiator who);

  // Texts of the dialog.
  static std::string EscQuestion() { return "\xC4nderungen \xFC" "bernehmen?"; }
  static std::string OutputsUnavailableText();

 private:
  ConfigSaveResult Refuse(ConfigField field, const std::string& message) const;
  bool CheckFields(const ConfigFields& f, SaveInitiator who, ConfigSaveResult* refused) const;
  void TakeFields(const ConfigFields& f);
  void StoreAddress(const ConfigFields& f, SaveInitiator who);
  bool StoreRecords(const ConfigFields& f);
  void RefillDefinition();

  ConfigMode m_mode;
  TContestDefinition& m_def;
  std::vector<uint8_t> m_header;
  std::vector<uint8_t> m_totals;
  uint8_t m_edited_bits = 0;
  // A new contest whose header was added but whose totals record was not:
  // the next save adds the totals record instead of updating it.
  bool m_totals_missing = false;
};

// Turns a field's text into what is stored: dates with "dd.mm.yyyy", times
// with the suite's time picture, both completed first. Empty or invalid: -1.
int32_t ConfigDateOf(const std::string& text);
int32_t ConfigTimeOf(const std::string& text);

// The participant number field: "" for a stored 0 (nothing typed), "0" for
// -1 (0 typed), the number otherwise; and back: "0" gives -1, an empty text
// or one that is not a number gives 0.
std::string ParticipantNoText(int32_t stored);
int32_t ParticipantNoOf(const std::string& text);

// Rebuilds def from the FHKK buffer (or a header copy), the own locator and the clock.
void FillDefinitionFromHeader(TContestDefinition& def, const uint8_t* header);

// The configuration dialog as the catalogue runs it; the window installs its
// implementation, tests a scripted one.
struct ConfigDialogResult {
  bool start = false;          // left with "Contest starten" after a successful save
  int32_t contest_number = 0;  // 0 when no contest was stored
};
class ConfigurationDialogRunner {
 public:
  virtual ~ConfigurationDialogRunner() = default;
  virtual ConfigDialogResult RunConfigurationDialog(ConfigMode mode, TContestDefinition& def) = 0;
};

}  // namespace kontura
