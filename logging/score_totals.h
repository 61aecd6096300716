#pragma once
// The running totals of an open log and what the evaluation panel shows of
// them. For this edition the score is the sum of the points of all bands,
// that is the sum of the distances in kilometres; no multipliers count.

#include <cstdint>
#include <string>
#include <vector>

#include "contest/contest_definition.h"
#include "logging/log_session.h"

namespace kontura {

// A QSO was stored on the current band: its points and one QSO are added to
// the current band and NextNumber goes up. Band-change markers are not
// counted (the caller does not call this for them).
void CountStoredQso(ScoreTotals& totals, char current_band, int32_t points);

// The current band changed: the current-band figures become those of `band`.
void TakeBandTotals(ScoreTotals& totals, char band);

// Sum of BandPoints over all bands.
int64_t Score(const ScoreTotals& totals);

struct ScoreRow {
  char band = 0;
  std::string name;    // band name, "80 m"
  std::string qsos;    // "#####"
  std::string points;  // "#####"
  bool current = false;  // drawn highlighted (yellow), the others silver
};

struct ScoreDisplay {
  std::vector<ScoreRow> rows;  // BandCodes[1..7] in order, bands without code left out
  std::string total_qsos;      // "12 QSO"
  std::string total_multis;    // empty in this edition
  std::string total_product;   // empty in this edition
  std::string score;           // "1234 Pkt."
  std::string next_number;     // "#####"
};

ScoreDisplay BuildScoreDisplay(const ScoreTotals& totals, const TContestDefinition& def, char current_band);

}  // namespace kontura
