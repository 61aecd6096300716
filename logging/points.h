#pragma once
// Points of a QSO. In this edition a QSO scores the distance to the partner
// in whole kilometres, measured between the own locator and the partner's
// locator, and the contest counts no multipliers.

#include <cstdint>
#include <string_view>

namespace kontura {

class QsoRecord;

// A distance in kilometres rounded to a whole number, a half going to the
// even neighbour (163.5 -> 164, 164.5 -> 164). Independent of the floating
// point rounding mode. Expects 0 <= km < 2^31 (distances on earth are below
// 20002 km).
int32_t RoundDistanceKm(double km);

// The stored distance of a QSO: the rounded distance from the own locator to
// the partner's locator, 0 when either locator cannot be converted (a partner
// text of 7 or more characters included).
int32_t QsoDistanceKm(std::string_view own_locator, std::string_view partner_locator);

// Distance := QsoDistanceKm(own locator, Locator). Run when the received
// locator is read and when a QSO is changed.
void UpdateDistance(QsoRecord& qso, std::string_view own_locator);

// The points of a QSO: 0 when it is excluded or its call has fewer than 3
// characters, otherwise its distance. A distance outside 0..65535 (only a
// damaged record holds one) is held to that range of the 16-bit field.
uint16_t QsoPoints(const QsoRecord& qso);

// Points := QsoPoints. Run whenever a QSO is saved, its entity determined,
// it is changed, and for every QSO when the log is recounted.
void RecomputePoints(QsoRecord& qso);

// The multiplier evaluation of this edition, which has no multiplier kinds:
// NewMulti1 and NewMulti2 end up empty and Call2 is cleared.
void EvaluateMultipliers(QsoRecord& qso);

}  // namespace kontura
