#include "refdata/locator.h"

#include <cmath>
#include <numbers>
#include <string>

#include "text/text_util.h"

namespace kontura {
namespace {

// Degrees to radians, with the digits the suite has always used.
constexpr double kRadiansPerDegree = 0.017453292519943295769;
constexpr double kKmPerDegree = 111.12;
// From this distance on (the antipodes, about 20001.6 km) there is no
// defined bearing.
constexpr double kNoBearingFromKm = 20000;

bool InRange(char c, char low, char high) { return c >= low && c <= high; }

// arccos through arctan, as the suite computes it. At |x| = 1 the quotient
// has no value: the angle is 0 for x = 1 and pi for x = -1.
double ArcCos(double x) {
  const double root = std::sqrt(1 - x * x);
  if (root == 0) return x > 0 ? 0 : std::numbers::pi;
  return std::numbers::pi / 2 - std::atan(x / root);
}

double Clamp(double x) {
  if (x < -1) return -1;
  if (x > 1) return 1;
  return x;
}

}  // namespace

bool IsLocatorText(std::string_view text) {
  for (size_t i = 0; i < text.size() && i < 6; ++i) {
    const char c = text[i];
    const bool ok = i < 2 ? InRange(c, 'A', 'R') : i < 4 ? InRange(c, '0', '9') : InRange(c, 'A', 'X');
    if (!ok) return false;
  }
  return true;
}

bool LocatorPosition(std::string_view locator, LocatorPoint* point) {
  if (locator.size() < 2 || locator.size() > 6) return false;
  std::string loc = UpperGerman(locator);
  static constexpr std::string_view kCompletion[] = {"44XX", "4MX", "MM", "M"};
  if (loc.size() < 6) loc += kCompletion[loc.size() - 2];
  if (!IsLocatorText(loc)) return false;

  const int c1 = loc[0] - 'A';
  const int c2 = loc[1] - 'A';
  const int c3 = loc[2] - '0';
  const int c4 = loc[3] - '0';
  const int c5 = loc[4] - 'A';
  const int c6 = loc[5] - 'A';

  // Longitude: fields A..I are the western half, kept as 180..360.
  int degrees = c1 <= 'I' - 'A' ? c1 * 20 + 180 : c1 * 20 - 180;
  degrees += 2 * c3;
  int minutes = c5 * 5 + 2;  // plus 30 seconds: the middle of the 5' subsquare
  if (minutes > 60) {
    minutes -= 60;
    degrees += 1;
  }
  const double longitude = degrees + minutes / 60.0 + 30 / 3600.0;

  // Latitude: subsquares are 2.5' high, their middle 1.25' above the edge,
  // taken as whole minutes and whole seconds.
  const int lat_degrees = c2 * 10 - 90 + c4;
  const double t = c6 * 2.5 + 1.25;
  const int whole_minutes = static_cast<int>(t);
  const int seconds = static_cast<int>((t - whole_minutes) * 60);
  const double latitude = lat_degrees + whole_minutes / 60.0 + seconds / 3600.0;

  point->longitude = longitude;
  point->latitude = latitude;
  return true;
}

bool LocatorDistance(std::string_view from, std::string_view to, LocatorRange* range) {
  *range = LocatorRange{};
  LocatorPoint p1, p2;
  if (!LocatorPosition(from, &p1) || !LocatorPosition(to, &p2)) return false;

  const double lon1 = p1.longitude * kRadiansPerDegree;
  const double lat1 = p1.latitude * kRadiansPerDegree;
  const double lon2 = p2.longitude * kRadiansPerDegree;
  const double lat2 = p2.latitude * kRadiansPerDegree;

  // Only the difference of the longitudes enters, so the 0/360 seam of the
  // western longitudes does no harm.
  // For one and the same position the sum below comes out as 1 - 1e-16 for
  // about a fifth of all locators, which would give some 0.1 m and a bearing
  // pointing anywhere. Its true value there is exactly 1.
  const bool same_place = p1.longitude == p2.longitude && p1.latitude == p2.latitude;
  const double x =
      same_place
          ? 1.0
          : Clamp(std::sin(lat1) * std::sin(lat2) + std::cos(lat1) * std::cos(lat2) * std::cos(lon2 - lon1));
  const double angle = ArcCos(x);
  const double distance = angle * kKmPerDegree * 180 / std::numbers::pi;

  double bearing = 0;
  if (distance > 0 && distance < kNoBearingFromKm) {
    const double y =
        Clamp((std::sin(lat2) - std::cos(angle) * std::sin(lat1)) / (std::cos(lat1) * std::sin(angle)));
    bearing = ArcCos(y) * 180 / std::numbers::pi;
    if (std::sin(lon2 - lon1) < 0) bearing = 360 - bearing;
  }
  range->distance_km = distance;
  range->bearing_deg = bearing;
  return true;
}

}  // namespace kontura
