#include "logging/points.h"

#include <cmath>

#include "logging/qso_record.h"
#include "refdata/locator.h"

namespace kontura {

int32_t RoundDistanceKm(double km) {
  const double whole = std::floor(km);
  const double rest = km - whole;
  int32_t result = static_cast<int32_t>(whole);
  if (rest > 0.5 || (rest == 0.5 && result % 2 != 0)) ++result;
  return result;
}

int32_t QsoDistanceKm(std::string_view own_locator, std::string_view partner_locator) {
  LocatorRange range;
  if (!LocatorDistance(own_locator, partner_locator, &range)) return 0;
  return RoundDistanceKm(range.distance_km);
}

void UpdateDistance(QsoRecord& qso, std::string_view own_locator) {
  qso.SetDistance(QsoDistanceKm(own_locator, qso.Locator()));
}

uint16_t QsoPoints(const QsoRecord& qso) {
  if (qso.Excluded() != 0 || qso.Call().size() < 3) return 0;
  const int32_t distance = qso.Distance();
  if (distance < 0) return 0;
  if (distance > UINT16_MAX) return UINT16_MAX;
  return static_cast<uint16_t>(distance);
}

void RecomputePoints(QsoRecord& qso) { qso.SetPoints(QsoPoints(qso)); }

void EvaluateMultipliers(QsoRecord& qso) {
  qso.SetNewMulti1("");
  qso.SetNewMulti2("");
  qso.SetCall2("");
}

}  // namespace kontura
