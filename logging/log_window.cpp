#include "logging/log_window.h"

#include "logging/log_access.h"
#include "logging/qso_keys.h"
#include "logging/qso_list_rows.h"
#include "refdata/bands_modes.h"
#include "refdata/suite_settings.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"
#include "storage/storage_error.h"
#include "text/text_util.h"

namespace kontura {
namespace {

constexpr int kHeaderNumberKey = 3;  // FHKK: NumberToKey(ContestNumber)
constexpr int kTotalsNumberKey = 1;  // FHKZ: the same
constexpr int kCaptionCallLength = 19;

// Makes the contest's header the current FHKK record; FHKK must be open.
bool FindHeader(int32_t contest_number) {
  CatalogueHandle(CatalogueId::kFhkk)->FindExact(kHeaderNumberKey, NumberToKey(contest_number));
  return StorageErrorClass() == 0;
}

}  // namespace

std::string LogWindowCaption(std::string_view own_call, std::string_view contest_name) {
  std::string call = Concat({own_call, "  "});
  if (call.size() > kCaptionCallLength) call.resize(kCaptionCallLength);
  return Concat({call, kLogbookCaption, " (Contest : ", contest_name, " )"});
}

LogWindow::LogWindow(int32_t contest_number, TContestDefinition definition, EntityLookup& lookup)
    : m_contest_number(contest_number), m_definition(std::move(definition)), m_lookup(lookup) {}

LogWindow::~LogWindow() = default;

bool LogWindow::Open() {
  m_own_call = TheSuiteSettings().OwnCall;
  m_log = OpenLogSession(m_contest_number, m_definition, ReadLogOptions(m_contest_number), m_lookup);
  return m_log != nullptr;
}

void LogWindow::Close(const std::vector<int>& column_widths) {
  if (!IsOpen()) return;
  StoreQsoListColumnWidths(m_contest_number, column_widths);
  CloseLogSession(*m_log);
  // The catalogue writes back what the two buffers hold when the window
  // has gone: they must hold this contest's records, summary included.
  if (OpenFHKK()) {
    FindHeader(m_contest_number);
    CloseFHKK();
  }
  if (OpenFHKZ()) {
    CatalogueHandle(CatalogueId::kFhkz)->FindExact(kTotalsNumberKey, NumberToKey(m_contest_number));
    CloseFHKZ();
  }
}

std::string LogWindow::Caption() const {
  return LogWindowCaption(m_own_call, m_log ? m_log->context().Options.ContestName : std::string());
}

int LogWindow::BandCount() const {
  int n = 0;
  while (n < static_cast<int>(m_definition.BandCodes.size()) && m_definition.BandCodes[static_cast<size_t>(n)] != 0) ++n;
  return n;
}

int LogWindow::ModeCount() const {
  int n = 0;
  while (n < static_cast<int>(m_definition.ModeNames.size()) && !m_definition.ModeNames[static_cast<size_t>(n)].empty()) {
    ++n;
  }
  return n;
}

bool LogWindow::ButtonVisible(LogButton b) const {
  switch (b) {
    case LogButton::kMode: return ModeCount() > 1;
    case LogButton::kBand: return BandCount() > 1;
    default: return true;
  }
}

bool LogWindow::ButtonEnabled(LogButton b) const {
  if (!ButtonVisible(b)) return false;
  switch (b) {
    case LogButton::kClear:
    case LogButton::kMode:
    case LogButton::kBand:
    case LogButton::kList:
    case LogButton::kCorrection:
    case LogButton::kCallSearch:
    case LogButton::kNote:
    case LogButton::kNameQth:
      return m_area == LogArea::kEntry;
    case LogButton::kChange:
    case LogButton::kDelete:
    case LogButton::kBandLog:
      return m_area == LogArea::kList;
    case LogButton::kHelp:
    case LogButton::kEnd:
    case LogButton::kImport:
      return true;
  }
  return false;
}

LogCommand LogWindow::CommandOfButton(LogButton b) const {
  if (!ButtonEnabled(b)) return LogCommand::kNone;
  switch (b) {
    case LogButton::kClear: return LogCommand::kClearMask;
    case LogButton::kMode: return LogCommand::kModeChoice;
    case LogButton::kBand: return LogCommand::kBandChoice;
    case LogButton::kList: return LogCommand::kFocusList;
    case LogButton::kCorrection: return LogCommand::kCorrection;
    case LogButton::kCallSearch: return LogCommand::kCallSearch;
    case LogButton::kHelp: return LogCommand::kHelp;
    case LogButton::kNote: return LogCommand::kNote;
    case LogButton::kNameQth: return LogCommand::kToggleNameQth;
    case LogButton::kChange: return LogCommand::kChange;
    case LogButton::kDelete: return LogCommand::kDelete;
    case LogButton::kBandLog: return LogCommand::kBandLog;
    case LogButton::kEnd: return LogCommand::kEndContest;
    case LogButton::kImport: return LogCommand::kImport;
  }
  return LogCommand::kNone;
}

LogCommand LogWindow::CommandOfKey(LogKey key) const {
  switch (key) {
    case LogKey::kEsc:
      if (m_choice != LogChoice::kNone) return LogCommand::kCloseChoice;
      return m_area == LogArea::kList ? LogCommand::kBackToEntry : LogCommand::kClearMask;
    case LogKey::kF3: return CommandOfButton(LogButton::kBandLog);
    case LogKey::kF4: return CommandOfButton(LogButton::kCallSearch);
    case LogKey::kF5: return CommandOfButton(LogButton::kList);
    case LogKey::kF6: return CommandOfButton(LogButton::kNote);
    case LogKey::kF7: return CommandOfButton(LogButton::kMode);
    case LogKey::kF8: return CommandOfButton(LogButton::kBand);
    case LogKey::kF9: return CommandOfButton(LogButton::kNameQth);
    case LogKey::kF12:
    case LogKey::kAltW: return CommandOfButton(LogButton::kCorrection);
    // The QSL flag and the received fields belong to the mask.
    case LogKey::kAltQ: return m_area == LogArea::kEntry ? LogCommand::kToggleQsl : LogCommand::kNone;
    case LogKey::kAltNum1: return m_area == LogArea::kEntry ? LogCommand::kFocusReceived2 : LogCommand::kNone;
    case LogKey::kAltNum2: return m_area == LogArea::kEntry ? LogCommand::kFocusReceived3 : LogCommand::kNone;
    case LogKey::kAltNum3: return m_area == LogArea::kEntry ? LogCommand::kFocusReceived4 : LogCommand::kNone;
  }
  return LogCommand::kNone;
}

std::vector<std::string> LogWindow::BandNames() const {
  std::vector<std::string> names;
  for (int i = 0; i < BandCount(); ++i) names.push_back(BandName(m_definition.BandCodes[static_cast<size_t>(i)], false));
  return names;
}

std::vector<std::string> LogWindow::ModeNames() const {
  return {m_definition.ModeNames.begin(), m_definition.ModeNames.begin() + ModeCount()};
}

int LogWindow::BandRow(char band) const {
  for (int i = 0; i < BandCount(); ++i) {
    if (m_definition.BandCodes[static_cast<size_t>(i)] == band) return i;
  }
  return -1;
}

int LogWindow::ModeRow(std::string_view mode) const {
  for (int i = 0; i < ModeCount(); ++i) {
    if (m_definition.ModeNames[static_cast<size_t>(i)] == mode) return i;
  }
  return -1;
}

LogChoice LogWindow::PressBand() {
  m_choice = LogChoice::kNone;
  if (BandCount() == 2) {
    // Two bands need no list: the other one is the choice.
    const char current = session().CurrentBand;
    const char other = m_definition.BandCodes[0] == current ? m_definition.BandCodes[1] : m_definition.BandCodes[0];
    entry().SelectBand(other);
    return m_choice;
  }
  if (BandCount() > 2) m_choice = LogChoice::kBand;
  return m_choice;
}

LogChoice LogWindow::PressMode() {
  m_choice = ModeCount() > 1 ? LogChoice::kMode : LogChoice::kNone;
  return m_choice;
}

void LogWindow::ChooseRow(int row) {
  const LogChoice choice = m_choice;
  m_choice = LogChoice::kNone;
  if (choice == LogChoice::kBand && row >= 0 && row < BandCount()) {
    const char band = m_definition.BandCodes[static_cast<size_t>(row)];
    if (band != session().CurrentBand) entry().SelectBand(band);
  } else if (choice == LogChoice::kMode && row >= 0 && row < ModeCount()) {
    // ChangeMode leaves the mask alone when the mode is the current one.
    entry().ChangeMode(m_definition.ModeNames[static_cast<size_t>(row)]);
  }
}

int32_t LogWindow::LastRecordOfCurrentBand() const {
  Fileblock* log = TheLog();
  if (!log) return -1;
  SavedLogBuffer saved;
  const char band = m_log->session().CurrentBand;
  // Key 12 stores the complement of BandSerial: the first entry at the band
  // is its last QSO.
  log->FindAtLeast(qso::kKeyBandSerial, std::string(1, band));
  if (StorageErrorClass() != 0) return -1;
  const QsoRecord q = LogRecord();
  if (q.Band() != band) return -1;
  return q.RecordNo();
}

}  // namespace kontura
