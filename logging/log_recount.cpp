#include "logging/log_recount.h"

#include <cstring>

#include "logging/log_access.h"
#include "logging/points.h"
#include "logging/score_totals.h"
#include "platform/progress.h"

namespace kontura {
namespace {

size_t Slot(char band) { return static_cast<uint8_t>(band); }

bool IsLowerLetter(char c) { return c >= 'a' && c <= 'z'; }

// QSOs of one band, by key 10 from the band code on while the band matches.
int32_t CountBandQsos(char band) {
  SavedLogBuffer saved;
  Fileblock* log = TheLog();
  int32_t count = 0;
  for (log->FindAtLeast(10, std::string(1, band)); StorageErrorClass() == 0; log->Next(10)) {
    const QsoRecord q = LogRecord();
    if (q.Band() != band) break;
    if (!q.IsBandChangeMarker()) ++count;
  }
  return count;
}

constexpr int kHeaderBands = 7;
constexpr int kSummaryRange = 500;

}  // namespace

char RecountLog(ScoreTotals& totals, char current_band) {
  SavedLogBuffer saved;
  totals.BandPoints.fill(0);
  totals.BandQsos.fill(0);
  totals.NextNumber = 1;
  totals.CurrentBandQsos = 0;
  char last_band = 0;
  Fileblock* log = TheLog();
  for (log->First(4); StorageErrorClass() == 0; log->Next(4)) {
    QsoRecord q = LogRecord();
    if (q.IsBandChangeMarker()) {
      last_band = q.QsyBand();
      continue;
    }
    if (q.Band() != 0) {
      const uint16_t before = q.Points();
      RecomputePoints(q);
      if (q.Points() != before) {
        q.CopyTo(log->RecordBuffer());
        log->UpdateRecord();
      }
      totals.BandPoints[Slot(q.Band())] += q.Points();
      totals.BandQsos[Slot(q.Band())] += 1;
    }
    totals.NextNumber += 1;
    last_band = q.Band();
  }
  totals.BandMultis.fill(0);
  TakeBandTotals(totals, current_band);
  return last_band;
}

void WriteSummary(const ScoreTotals& totals, const TContestDefinition& def, TContestHeader& header,
                  TContestTotals& fhkz) {
  ProgressScope progress("Neuberechnung", kSummaryRange, false);
  const bool in_header = header.TotalsInFhkz() == 0;
  const int bands = in_header ? kHeaderBands : contest_totals::kBandPositions;
  if (in_header) {
    // Bytes 196-225: QSOs and multipliers of bands 1-5 and the ten reserved
    // bytes behind them.
    std::memset(header.Bytes() + contest_header::kSumQso, 0, contest_header::kSumPoints - contest_header::kSumQso);
    for (int pos : {6, 7}) {
      header.SetSumQso(pos, 0);
      header.SetSumMulti(pos, 0);
    }
  } else {
    std::memset(fhkz.Bytes() + contest_totals::kTotQso, 0, contest_totals::kTotMulti - contest_totals::kTotQso);
  }
  for (int i = 1; i <= bands; ++i) {
    const char band = i <= static_cast<int>(def.BandCodes.size()) ? def.BandCodes[static_cast<size_t>(i - 1)] : 0;
    const int32_t points = band == 0 ? 0 : totals.BandPoints[Slot(band)];
    if (in_header) {
      header.SetSumPoints(i, points);
    } else {
      fhkz.SetTotPoints(i, points);
    }
    if (!IsLowerLetter(band)) continue;
    const int32_t qsos = CountBandQsos(band);
    if (in_header) {
      header.SetSumQso(i, static_cast<uint16_t>(qsos));
    } else {
      fhkz.SetTotQso(i, qsos);
    }
  }
}

}  // namespace kontura
