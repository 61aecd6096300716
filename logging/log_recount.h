#pragma once
// The two whole-log operations that keep figures in step with the open log:
// the recount rebuilds the running totals from the stored QSOs, the summary
// ("Neuberechnung") writes per-band totals into the contest header (or the
// totals record FHKZ) so that the contest list and the outputs need not
// open the log.

#include <cstdint>

#include "contest/contest_definition.h"
#include "contest/contest_header.h"
#include "contest/contest_totals.h"
#include "logging/log_session.h"

namespace kontura {

// Walks the log in key-4 order: every QSO with a band gets its points
// recomputed (the record is rewritten only when they changed, so that a
// recount of an unchanged log writes nothing), counted on its band and in
// NextNumber; a band-change marker only sets the last band. Multipliers are
// cleared (none in this edition) and the current-band figures taken from
// `current_band`. Returns the band of the last entry, 0 for an empty log.
// The log's record buffer is restored afterwards.
char RecountLog(ScoreTotals& totals, char current_band);

// The summary into the header record (TotalsInFhkz 0) or the totals record:
// the summary fields are cleared, every band of BandCodes gets its points
// from `totals`, and each band whose code is a lower-case letter its QSO
// count from a walk of key 10 (band-change markers not counted). Shows the
// progress window "Neuberechnung". The caller rewrites both records.
void WriteSummary(const ScoreTotals& totals, const TContestDefinition& def, TContestHeader& header,
                  TContestTotals& fhkz);

}  // namespace kontura
