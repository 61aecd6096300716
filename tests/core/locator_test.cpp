// Locator checks, positions, distances and bearings, and the rounding of
// distances to whole kilometres.

#include <gtest/gtest.h>

#include <string>

#include "logging/points.h"
#include "refdata/locator.h"

namespace kontura {
namespace {

TEST(IsLocatorText, PatternOfThePresentCharacters) {
  struct Case {
    const char* text;
    bool ok;
  };
  const Case cases[] = {
      {"", true},          {"J", true},         {"JO4", true},       {"JO40HC", true},
      {"AA00AA", true},    {"RR99XX", true},    {"JO40HC12", true},  // 7+ not checked
      {"JS40HC", false},   {"SO40HC", false},   {"JO40HY", false},   {"JO40YA", false},
      {"JOA0HC", false},   {"JO4AHC", false},   {"jo40hc", false},   {"JO40hc", false},
      {"JO40 C", false},   {"\xC4O40HC", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsLocatorText(c.text), c.ok) << c.text;
}

constexpr double kExact = 1e-9;

TEST(LocatorPosition, CentreOfTheSubsquare) {
  struct Case {
    const char* locator;
    double longitude, latitude;
  };
  const Case cases[] = {
      // south-west corner subsquare: 180 deg 2' 30", -89 deg 58' 45"
      {"AA00AA", 180 + 2 / 60.0 + 30 / 3600.0, -(89 + 58 / 60.0 + 45 / 3600.0)},
      // north-east corner: 179 deg 57' 30" (minutes above 60 carry), 89 deg 58' 45"
      {"RR99XX", 179 + 57 / 60.0 + 30 / 3600.0, 89 + 58 / 60.0 + 45 / 3600.0},
      {"JO40HC", 8 + 37 / 60.0 + 30 / 3600.0, 50 + 6 / 60.0 + 15 / 3600.0},
      {"jo40hc", 8 + 37 / 60.0 + 30 / 3600.0, 50 + 6 / 60.0 + 15 / 3600.0},
      // western longitudes count from 180 on: FN is 80..60 deg west
      {"FN31PR", 287 + 17 / 60.0 + 30 / 3600.0, 41 + 43 / 60.0 + 45 / 3600.0},
  };
  for (const Case& c : cases) {
    LocatorPoint p;
    ASSERT_TRUE(LocatorPosition(c.locator, &p)) << c.locator;
    EXPECT_NEAR(p.longitude, c.longitude, kExact) << c.locator;
    EXPECT_NEAR(p.latitude, c.latitude, kExact) << c.locator;
  }
}

TEST(LocatorPosition, ShortLocatorsAreCompleted) {
  const char* pairs[][2] = {
      {"JO", "JO44XX"}, {"jo", "JO44XX"}, {"JO4", "JO44MX"}, {"JO40", "JO40MM"}, {"JO40H", "JO40HM"},
  };
  for (auto& pair : pairs) {
    LocatorPoint shortp, full;
    ASSERT_TRUE(LocatorPosition(pair[0], &shortp)) << pair[0];
    ASSERT_TRUE(LocatorPosition(pair[1], &full)) << pair[1];
    EXPECT_EQ(shortp.longitude, full.longitude) << pair[0];
    EXPECT_EQ(shortp.latitude, full.latitude) << pair[0];
  }
}

TEST(LocatorPosition, TextsWithoutPosition) {
  const char* texts[] = {"", "J", "JO40HCX", "JO40HC12", "JS40HC", "JO40HZ", "JOA", "J040HC", "JO40 C"};
  for (const char* t : texts) {
    LocatorPoint p{1.5, 2.5};
    EXPECT_FALSE(LocatorPosition(t, &p)) << t;
    EXPECT_EQ(p.longitude, 1.5) << t << ": left unchanged";
  }
}

TEST(LocatorDistance, KnownPairs) {
  struct Case {
    const char* from;
    const char* to;
    double km, bearing;
  };
  const Case cases[] = {
      {"JO40HC", "JO31NF", 163.666, 320.377},
      {"JO40HC", "JN58TD", 308.085, 133.786},
      // neighbours across the 180th meridian: only the longitude difference counts
      {"AO00AA", "RO90XA", 5.9496, 270.032},
      {"RO90XA", "AO00AA", 5.9496, 89.968},
  };
  for (const Case& c : cases) {
    LocatorRange r;
    ASSERT_TRUE(LocatorDistance(c.from, c.to, &r)) << c.from << "-" << c.to;
    EXPECT_NEAR(r.distance_km, c.km, 0.001) << c.from << "-" << c.to;
    EXPECT_NEAR(r.bearing_deg, c.bearing, 0.1) << c.from << "-" << c.to;
  }
}

TEST(LocatorDistance, SamePlaceIsExactlyZero) {
  // Sweeps subsquares of all fields: the plain formula leaves a rest of some
  // 0.1 m and a random bearing for many of them.
  for (char f1 = 'A'; f1 <= 'R'; ++f1) {
    for (char f2 = 'A'; f2 <= 'R'; ++f2) {
      for (char s = 'A'; s <= 'X'; s = static_cast<char>(s + 5)) {
        const std::string loc{f1, f2, '0', '9', s, static_cast<char>('X' - (s - 'A'))};
        LocatorRange r{7, 7};
        ASSERT_TRUE(LocatorDistance(loc, loc, &r));
        ASSERT_EQ(r.distance_km, 0) << loc;
        ASSERT_EQ(r.bearing_deg, 0) << loc;
      }
    }
  }
  LocatorRange r;
  ASSERT_TRUE(LocatorDistance("jo40hc", "JO40HC", &r));
  EXPECT_EQ(r.distance_km, 0);
}

TEST(LocatorDistance, AntipodesHaveNoBearing) {
  struct Case {
    const char* from;
    const char* to;
    double km;
  };
  const Case cases[] = {
      {"AA00AA", "JR09AX", 20001.600},  // exact antipodes: arccos(-1) = pi
      {"AA00AA", "JR09BX", 20001.597},  // next to them, still beyond 20000 km
      {"JO40HC", "AD49HV", 20001.600},
  };
  for (const Case& c : cases) {
    LocatorRange r;
    ASSERT_TRUE(LocatorDistance(c.from, c.to, &r)) << c.to;
    EXPECT_NEAR(r.distance_km, c.km, 0.001) << c.to;
    EXPECT_EQ(r.bearing_deg, 0) << c.to;
  }
  LocatorRange below;
  ASSERT_TRUE(LocatorDistance("AA00AA", "JR09AW", &below));
  EXPECT_LT(below.distance_km, 20000);
  EXPECT_NEAR(below.bearing_deg, 180, 0.01) << "below the limit a bearing is given";
}

TEST(LocatorDistance, FailureGivesZeros) {
  const char* pairs[][2] = {{"JO40HC", "JO40HCX"}, {"JO40HC1", "JO40HC"}, {"J", "JO40HC"},
                            {"JO40HC", "JS40HC"},  {"JO40HZ", "JO40HC"},  {"JO40HC", ""}};
  for (auto& p : pairs) {
    LocatorRange r{5, 5};
    EXPECT_FALSE(LocatorDistance(p[0], p[1], &r)) << p[0] << "-" << p[1];
    EXPECT_EQ(r.distance_km, 0);
    EXPECT_EQ(r.bearing_deg, 0);
  }
}

TEST(RoundDistanceKm, HalfGoesToTheEvenNeighbour) {
  const std::pair<double, int32_t> cases[] = {
      {0, 0},         {0.4999, 0},   {0.5, 0},      {0.5001, 1},   {1.5, 2},         {2.5, 2},
      {163.5, 164},   {164.5, 164},  {163.666, 164}, {308.0845, 308}, {20001.6, 20002}, {7.49999, 7},
  };
  for (auto [km, expected] : cases) EXPECT_EQ(RoundDistanceKm(km), expected) << km;
}

TEST(QsoDistanceKm, RoundedOrZero) {
  EXPECT_EQ(QsoDistanceKm("JO40HC", "JO31NF"), 164);
  EXPECT_EQ(QsoDistanceKm("JO40HC", "JN58TD"), 308);
  EXPECT_EQ(QsoDistanceKm("JO40HC", "JO40HC"), 0);
  EXPECT_EQ(QsoDistanceKm("AO00AA", "RO90XA"), 6);
  EXPECT_EQ(QsoDistanceKm("JO40HC", "JO40HC12"), 0) << "a 7- or 8-character text is not convertible";
  EXPECT_EQ(QsoDistanceKm("", "JO31NF"), 0) << "no own locator";
}

}  // namespace
}  // namespace kontura
