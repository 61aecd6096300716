#include "logging/points.h"

#include <cmath>

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

}  // namespace kontura
