#include "logging/score_totals.h"

#include "refdata/bands_modes.h"
#include "text/picture_format.h"
#include "text/text_util.h"

namespace kontura {
namespace {

size_t Slot(char band) { return static_cast<uint8_t>(band); }

constexpr int kDisplayedBands = 7;

}  // namespace

void CountStoredQso(ScoreTotals& totals, char current_band, int32_t points) {
  totals.CurrentBandPoints += points;
  totals.BandPoints[Slot(current_band)] = totals.CurrentBandPoints;
  totals.NextNumber += 1;
  totals.CurrentBandQsos += 1;
  totals.BandQsos[Slot(current_band)] += 1;
}

void TakeBandTotals(ScoreTotals& totals, char band) {
  totals.CurrentBandPoints = totals.BandPoints[Slot(band)];
  totals.CurrentBandQsos = totals.BandQsos[Slot(band)];
  totals.CurrentBandMultis = totals.BandMultis[Slot(band)];
}

int64_t Score(const ScoreTotals& totals) {
  int64_t sum = 0;
  for (size_t b = 1; b < totals.BandPoints.size(); ++b) sum += totals.BandPoints[b];
  return sum;
}

ScoreDisplay BuildScoreDisplay(const ScoreTotals& totals, const TContestDefinition& def, char current_band) {
  ScoreDisplay d;
  int64_t qsos = 0;
  for (size_t b = 1; b < totals.BandQsos.size(); ++b) qsos += totals.BandQsos[b];
  for (int i = 0; i < kDisplayedBands; ++i) {
    const char band = def.BandCodes[static_cast<size_t>(i)];
    if (band == 0) continue;
    ScoreRow row;
    row.band = band;
    row.name = BandName(band, false);
    row.qsos = FormatPictureInt("#####", totals.BandQsos[Slot(band)]);
    row.points = FormatPictureInt("#####", totals.BandPoints[Slot(band)]);
    row.current = band == current_band;
    d.rows.push_back(row);
  }
  d.total_qsos = TrimBlanks(FormatPictureInt("######", qsos)) + " QSO";
  d.score = TrimBlanks(FormatPictureInt("#########", Score(totals)) + " Pkt.");
  d.next_number = FormatPictureInt("#####", totals.NextNumber);
  return d;
}

}  // namespace kontura
