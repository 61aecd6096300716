// kontura-tool qrb FROM TO: distance and bearing between two locators, the
// distance rounded to whole kilometres exactly as a QSO's points are.

#include <cstdio>
#include <string>
#include <vector>

#include "logging/points.h"
#include "refdata/locator.h"

namespace kontura::tool {

int RunQrb(const std::vector<std::string>& args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "Aufruf: kontura-tool qrb VON NACH\n");
    return 2;
  }
  for (const std::string& loc : args) {
    kontura::LocatorPoint point;
    if (!kontura::LocatorPosition(loc, &point)) {
      std::fprintf(stderr, "kontura-tool: \"%s\" ist kein umrechenbarer Locator\n", loc.c_str());
      return 1;
    }
  }
  kontura::LocatorRange range;
  kontura::LocatorDistance(args[0], args[1], &range);
  std::printf("%d\t%.1f\n", static_cast<int>(kontura::RoundDistanceKm(range.distance_km)), range.bearing_deg);
  return 0;
}

}  // namespace kontura::tool
