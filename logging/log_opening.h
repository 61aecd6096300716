#pragma once
// Opening and closing a contest's log as the logging window does it, so that
// a headless caller (the import, the tool, tests, the benchmark) can open a
// log, work it through the entry and close it exactly the same way.
//
// Opening: an interrupted renumbering (of any contest) is settled first;
// the log FHLK<nnnn> is opened, band-change markers are cleared of exchange
// data, the prefix database, call list and call book are opened; the log is
// renumbered when due (always in this edition); the start mode is set; the
// log is recounted with the band of its last entry (else the contest's first
// band) as the current band, so that the totals are that band's; a new QSO
// is prepared and the clock runs once.
//
// Closing: the log is recounted and the summary written into the contest
// header (or FHKZ), the lists are closed, the log is renumbered and closed.
//
// The clock does not tick during the whole-log operations.

#include <cstdint>
#include <memory>

#include "contest/contest_definition.h"
#include "logging/entity.h"
#include "logging/log_renumbering.h"
#include "logging/log_session.h"
#include "logging/qso_entry.h"

namespace kontura {

// The options of a contest from its header (FHKK), its totals record (FHKZ)
// and the suite settings (own locator, time offset). Opens and closes FHKK
// and FHKZ; a contest without header gives the defaults.
LogOptions ReadLogOptions(int32_t contest_number);

class ContestLog {
 public:
  ContestLog(const TContestDefinition& def, const LogOptions& options, EntityLookup& lookup);
  ~ContestLog();
  ContestLog(const ContestLog&) = delete;
  ContestLog& operator=(const ContestLog&) = delete;

  QsoEntry& entry() { return *m_entry; }
  LogSession& session() { return m_session; }
  const LogContext& context() const { return m_ctx; }
  int32_t contest_number() const { return m_ctx.Options.ContestNumber; }
  bool is_open() const { return m_open; }

  // The steps of opening and closing (see the top of this file). Open
  // returns false when the log could not be opened.
  bool Open();
  void Close();

  // Recount into the session's totals, keeping the current band.
  void Recount();
  // The summary into the contest's header and totals records, rewritten,
  // after a recount. False when the contest has no header.
  bool StoreSummary();
  RenumberResult Renumber();

 private:
  class ClockPause;

  LogContext m_ctx;
  LogSession m_session;
  std::unique_ptr<QsoEntry> m_entry;
  bool m_open = false;
  // The result of the last renumbering, for the caller to see.
  RenumberResult m_last_renumber = RenumberResult::kDone;
};

// Opens the log of a contest for work; nullptr when it could not be opened.
std::unique_ptr<ContestLog> OpenLogSession(int32_t contest_number, const TContestDefinition& def,
                                           const LogOptions& options, EntityLookup& lookup);
// Closes it as the window does; the object is left closed.
void CloseLogSession(ContestLog& log);

}  // namespace kontura
