#pragma once
// Maidenhead locators: checking a locator text, the position of the centre of
// its subsquare, and distance and bearing between two locators.
//
// The arithmetic below is kept exactly as the other programs of the suite do
// it (the degree/minute/second steps, the arccos through arctan, 111.12 km per
// degree): contest scores are distances in whole kilometres, so a different
// but "better" formula would change results that the operators compare.

#include <string_view>

namespace kontura {

// True when every character present obeys the locator pattern: positions 1-2
// letters "A".."R", 3-4 digits, 5-6 letters "A".."X". No case folding, so
// lower-case text fails. Characters from position 7 on are not looked at; the
// empty text passes.
bool IsLocatorText(std::string_view text);

// Position of a locator: longitude in degrees east, 0 <= lon < 360 (western
// longitudes appear as 180..360), latitude in degrees, negative south.
struct LocatorPoint {
  double longitude = 0;
  double latitude = 0;
};

// The centre of the locator's subsquare. Accepts 2 to 6 characters in either
// case; a short locator is completed first (2 -> +"44XX", 3 -> +"4MX",
// 4 -> +"MM", 5 -> +"M"), so a field stands for a point near its middle and a
// square for the middle of the square. Returns false for any other length or
// for a text that is not a locator after completion; *point is then left
// unchanged.
bool LocatorPosition(std::string_view locator, LocatorPoint* point);

struct LocatorRange {
  double distance_km = 0;   // along the great circle, 111.12 km per degree
  double bearing_deg = 0;   // from `from` to `to`, 0..360; 0 when the distance
                            // is 0 or 20000 km and more (no defined direction)
};

// Distance and bearing from one locator to another. Returns false, with
// distance and bearing 0, when either locator has no position (see
// LocatorPosition: a 7-character text fails as well).
bool LocatorDistance(std::string_view from, std::string_view to, LocatorRange* range);

}  // namespace kontura
