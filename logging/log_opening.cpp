#include "logging/log_opening.h"

#include "contest/contest_header.h"
#include "contest/contest_totals.h"
#include "contest/contest_totals_store.h"
#include "logging/log_access.h"
#include "logging/log_recount.h"
#include "logging/score_totals.h"
#include "refdata/suite_settings.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"

namespace kontura {
namespace {

constexpr int kHeaderKeyContestNumber = 3;

// Makes the contest's header the current FHKK record; FHKK must be open.
bool FindHeader(int32_t contest_number) {
  CatalogueHandle(CatalogueId::kFhkk)->FindExact(kHeaderKeyContestNumber, NumberToKey(contest_number));
  return StorageErrorClass() == 0;
}

// Clears the exchange data of every band-change marker.
void ClearMarkers() {
  Fileblock* log = TheLog();
  for (log->First(4); StorageErrorClass() == 0; log->Next(4)) {
    QsoRecord q = LogRecord();
    if (!q.IsBandChangeMarker()) continue;
    q.ClearMarkerExchangeData();
    q.CopyTo(log->RecordBuffer());
    log->UpdateRecord();
  }
}

// The renumbering is due when the log is empty or its last entry by key 19
// has an empty NewMulti1 or NewMulti2, which in this edition is always.
bool RenumberingDue() {
  SavedLogBuffer saved;
  TheLog()->Last(19);
  if (StorageErrorClass() != 0) return true;
  const QsoRecord last = LogRecord();
  return last.NewMulti1().empty() || last.NewMulti2().empty();
}

}  // namespace

LogOptions ReadLogOptions(int32_t contest_number) {
  LogOptions o;
  o.ContestNumber = contest_number;
  o.OwnLocator = TheSuiteSettings().OwnLocator;
  o.TimeOffsetHours = TheSuiteSettings().TimeOffsetHours;
  if (OpenFHKK()) {
    if (FindHeader(contest_number)) {
      const ConstContestHeader h(CatalogueRecord(CatalogueId::kFhkk));
      o.ContestName = h.EntryName();
      o.AutoDate = h.AutoDate();
      o.AutoTime = h.AutoTime();
      o.RstSentFree = h.RstSentFree();
      o.RstRcvdFree = h.RstRcvdFree();
      o.QslSentDefault = h.QslSentDefault();
      o.QslRcvdDefault = h.QslRcvdDefault();
      o.StartSsb = h.StartSsb();
      o.StartFm = h.StartFm();
      o.StartPr = h.StartPr();
    }
    CloseFHKK();
  }
  if (OpenFHKZ()) {
    CatalogueHandle(CatalogueId::kFhkz)->FindExact(1, NumberToKey(contest_number));
    if (StorageErrorClass() == 0) {
      o.RstSentUnlocked = ConstContestTotals(CatalogueRecord(CatalogueId::kFhkz)).RstSentUnlocked();
    }
    CloseFHKZ();
  }
  return o;
}

// Holds the clock still for the time of a whole-log operation.
class ContestLog::ClockPause {
 public:
  explicit ClockPause(QsoEntry& entry) : m_entry(entry), m_was(entry.ClockPaused()) { entry.PauseClock(true); }
  ~ClockPause() { m_entry.PauseClock(m_was); }
  ClockPause(const ClockPause&) = delete;
  ClockPause& operator=(const ClockPause&) = delete;

 private:
  QsoEntry& m_entry;
  bool m_was;
};

ContestLog::ContestLog(const TContestDefinition& def, const LogOptions& options, EntityLookup& lookup)
    : m_ctx{def, options} {
  m_entry = std::make_unique<QsoEntry>(m_ctx, m_session, lookup);
}

ContestLog::~ContestLog() {
  if (m_open) Close();
}

bool ContestLog::Open() {
  // A renumbering a crash interrupted is settled before any log opens, so
  // that its QSOs are back in their log before anything renumbers again.
  RecoverInterruptedRenumbering();
  if (!OpenFHLK(contest_number())) return false;
  m_open = true;
  ClockPause pause(*m_entry);
  ClearMarkers();
  const bool due = RenumberingDue();
  OpenFHPREFIX();
  OpenFHCALL();
  OpenFHCBUCH();
  if (due) Renumber();
  m_entry->SetStartMode();
  m_session.CurrentBand = m_ctx.Definition.BandCodes[0];
  const char last_band = RecountLog(m_session.Totals, m_session.CurrentBand);
  if (last_band != 0 && last_band != m_session.CurrentBand) {
    m_session.CurrentBand = last_band;
    TakeBandTotals(m_session.Totals, last_band);
  }
  m_entry->NewQso();
  m_entry->PauseClock(false);
  m_entry->Tick();
  return true;
}

void ContestLog::Close() {
  if (!m_open) return;
  ClockPause pause(*m_entry);
  StoreSummary();
  CloseFHCBUCH();
  CloseFHCALL();
  CloseFHPREFIX();
  Renumber();
  CloseFHLK();
  m_open = false;
}

void ContestLog::Recount() {
  ClockPause pause(*m_entry);
  RecountLog(m_session.Totals, m_session.CurrentBand);
}

bool ContestLog::StoreSummary() {
  ClockPause pause(*m_entry);
  // The summary is written from the running totals: they are counted from
  // the QSO lines first, so that the header (and every export read from it)
  // equals their sum whatever was changed since the last count.
  RecountLog(m_session.Totals, m_session.CurrentBand);
  if (!OpenFHKK()) return false;
  bool stored = false;
  if (FindHeader(contest_number()) && OpenFHKZ()) {
    if (EnsureContestTotals(contest_number())) {
      TContestHeader header(CatalogueRecord(CatalogueId::kFhkk));
      TContestTotals totals(CatalogueRecord(CatalogueId::kFhkz));
      WriteSummary(m_session.Totals, m_ctx.Definition, header, totals);
      CatalogueHandle(CatalogueId::kFhkk)->UpdateRecord();
      CatalogueHandle(CatalogueId::kFhkz)->UpdateRecord();
      stored = StorageErrorClass() == 0;
    }
    CloseFHKZ();
  }
  CloseFHKK();
  return stored;
}

RenumberResult ContestLog::Renumber() {
  ClockPause pause(*m_entry);
  m_last_renumber = RenumberLog(contest_number());
  return m_last_renumber;
}

std::unique_ptr<ContestLog> OpenLogSession(int32_t contest_number, const TContestDefinition& def,
                                           const LogOptions& options, EntityLookup& lookup) {
  LogOptions o = options;
  o.ContestNumber = contest_number;
  auto log = std::make_unique<ContestLog>(def, o, lookup);
  if (!log->Open()) return nullptr;
  return log;
}

void CloseLogSession(ContestLog& log) { log.Close(); }

}  // namespace kontura
