#pragma once
// Points of a QSO. In this edition a QSO scores the distance to the partner
// in whole kilometres, measured between the own locator and the partner's
// locator.

#include <cstdint>
#include <string_view>

namespace kontura {

// A distance in kilometres rounded to a whole number, a half going to the
// even neighbour (163.5 -> 164, 164.5 -> 164). Independent of the floating
// point rounding mode. Expects 0 <= km < 2^31 (distances on earth are below
// 20002 km).
int32_t RoundDistanceKm(double km);

// The stored distance of a QSO: the rounded distance from the own locator to
// the partner's locator, 0 when either locator cannot be converted.
int32_t QsoDistanceKm(std::string_view own_locator, std::string_view partner_locator);

}  // namespace kontura
