// Band codes, names, spellings, frequency ranges, the reading of typed
// frequencies and the mode classes.

#include <gtest/gtest.h>

#include <string>

#include "refdata/bands_modes.h"

namespace kontura {
namespace {

TEST(BandName, NamesAndCompactNames) {
  struct Case {
    char code;
    bool compact;
    const char* name;
  } cases[] = {
      {'b', false, "80 m"}, {'b', true, "80m"},     {'l', false, "70 cm"}, {'l', true, "70cm"},
      {'t', false, "0.6cm"}, {'t', true, "6mm"},    {'r', true, "2189m"},  {'s', false, "1.2cm"},
      {'0', false, "all"},  {'0', true, "all"},     {'x', false, "???"},   {' ', false, "???"},
      {'\0', true, "???"},  {'B', false, "???"},
  };
  for (const Case& c : cases) EXPECT_EQ(BandName(c.code, c.compact), c.name) << c.code;
}

TEST(BandName, CompactNameIsTheNameWithoutBlanksExceptFor6mm) {
  for (const BandInfo& b : BandTable()) {
    std::string expected = b.name;
    std::erase(expected, ' ');
    if (b.code == 't') expected = "6mm";
    EXPECT_EQ(BandName(b.code, true), expected) << b.code;
  }
}

TEST(BandCodeOfText, Spellings) {
  struct Case {
    const char* text;
    char code;
  } cases[] = {
      {" 80m ", 'b'},  {"80 m", 'b'},   {"80", 'b'},     {"80  m", 0},    {"\t2 m\t", 'k'},
      {"70c", 'l'},    {"70 cm", 'l'},  {"6", 'j'},      {"6m", 'j'},     {"5", 'p'},
      {"6cm", 'p'},    {"6 c", 'p'},    {"6mm", 't'},    {"6 MM", 't'},   {"0,6c", 't'},
      {"0.6", 't'},    {"0.6 C", 0},    {"1.2C", 0},     {"1,2c", 's'},   {"1.25 cm", 's'},
      {"2190", 'r'},   {"2189 m", 'r'}, {"13cm", 'n'},   {"4", 'u'},      {"160", 'a'},
      {"2,4 GHz", 0},  {"", 0},         {"30 m", 'd'},   {"10", 'i'},     {"12M", 'h'},
  };
  for (const Case& c : cases) EXPECT_EQ(BandCodeOfText(c.text), c.code) << '"' << c.text << '"';
}

TEST(NominalFrequencyOfText, Spellings) {
  struct Case {
    const char* text;
    double mhz;
  } cases[] = {
      {"6", 5650},     {"6M", 50},       {"6 m", 50},        {"0.6c", 47088},  {"6mm", 47088},
      {"1.25C", 24000}, {"1,2", 24000},  {"2", 144},         {"4", 70},        {"40 m", 7},
      {"160m", 1.815}, {"2190 m", 0.137}, {" 10 ", 28},      {"12", 24.89},    {"5", 0},
      {"80  m", 0},    {"", 0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(NominalFrequencyOfText(c.text), c.mhz) << '"' << c.text << '"';
  }
}

TEST(NominalFrequencyOfText, BandNamesGiveTheNominalFrequencyExceptFor40m) {
  // The logging window falls back to the nominal frequency of the band name.
  // The spelling table has 7 for 40 m where the band table has 7.1.
  for (const BandInfo& b : BandTable()) {
    const double expected = b.code == 'c' ? 7 : b.nominal_mhz;
    EXPECT_DOUBLE_EQ(NominalFrequencyOfText(BandName(b.code, false)), expected) << b.code;
  }
}

TEST(BandOfFrequency, RangesAreOpenBelowAndClosedAbove) {
  struct Case {
    double mhz;
    char code;
  } cases[] = {
      {3.5, 'b'},       {3.4999, ' '},   {3.9, 'b'},      {3.95, ' '},     {144.3, 'k'},
      {0.137, 'r'},     {0.1356999, ' '}, {0.1378, 'r'},  {1.809, ' '},    {1.81, 'a'},
      {10.1, 'd'},      {28, 'i'},       {70.2, 'u'},     {432.2, 'l'},    {24000, 's'},
      {47088, 't'},     {47088.001, ' '}, {0, ' '},       {-3.5, ' '},     {1000, ' '},
  };
  for (const Case& c : cases) EXPECT_EQ(BandOfFrequency(c.mhz), c.code) << c.mhz;
  EXPECT_DOUBLE_EQ(WavelengthOfFrequency(432.2), 0.7);
  EXPECT_DOUBLE_EQ(WavelengthOfFrequency(47088), 0.006);
  EXPECT_DOUBLE_EQ(WavelengthOfFrequency(1000), 0);
}

TEST(BandOfFrequency, NominalFrequencyOfEveryBandFindsItsBand) {
  for (const BandInfo& b : BandTable()) {
    // Each nominal frequency lies inside its own range, at the lower edge for several.
    EXPECT_EQ(BandOfFrequency(b.nominal_mhz), b.code) << b.name;
  }
}

TEST(FrequencyOfWavelength, TypedWavelengths) {
  struct Case {
    double wavelength;
    double mhz;
  } cases[] = {
      {0.006, 47088}, {0.012, 24000}, {1.2, 24000}, {0.12, 2400}, {13, 2400},     {70, 430},
      {2, 144},       {6, 50},        {10, 28},     {40, 7.1},    {2190, 0.137},  {5, 0},
      {0, 0},         {80.000004, 3.5}, {80.00001, 0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(FrequencyOfWavelength(c.wavelength), c.mhz) << c.wavelength;
}

TEST(NormaliseFrequencyEntry, TypedValues) {
  struct Case {
    double typed;
    bool thirtyMetreRule;
    double mhz;
  } cases[] = {
      {0, false, 0},
      {3550, false, 3.55},       // kHz
      {80, false, 3.5},          // wavelength
      {144300, false, 144.3},    // above 47088: kHz
      {432.2, false, 432.2},     // MHz
      {14, false, 14},           // MHz, no rule
      {18, false, 18.1},
      {1.8, false, 1.815},
      {24.8, false, 24.89},
      {24, false, 24.89},
      {10, false, 28},           // the wavelength rule comes before the short form
      {10, true, 10.1},
      {80, true, 3.5},
      {1814, false, 1814},       // the kHz ranges are open below
      {1815, false, 1.815},
      {1999, false, 1.999},
      {2000, false, 2000},
      {3499.9, false, 3499.9},
      {3900, false, 3.9},
      {7000, false, 7},
      {10100, false, 10.1},
      {10500, false, 10500},     // 3 cm in MHz
      {14074, false, 14.074},
      {23999, false, 23.999},
      {24000, false, 24000},
      {47088, false, 47088},
      {47089, false, 47.089},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(NormaliseFrequencyEntry(c.typed, c.thirtyMetreRule), c.mhz)
        << c.typed << (c.thirtyMetreRule ? " with" : " without") << " the 30 m rule";
  }
}

TEST(ModeClass, ModeTexts) {
  struct Case {
    const char* mode;
    char modeClass;
  } cases[] = {
      {"CW", 'a'},     {"2xCW", 'a'},   {"2XSSB", 'b'},  {"2x CW", 'a'},  {" 2xCW", ' '},
      {"cw", ' '},     {"PR", 'm'},     {" SSB ", 'b'},  {"\tFM\t", 'd'}, {"A1A", 'a'},
      {"J3E", 'b'},    {"LSB", 'b'},    {"A3", 'c'},     {"F3E", 'd'},    {"FSK441", 'e'},
      {"RY", 'e'},     {"AMTOR", 'f'},  {"TOR", 'g'},    {"FAX", 'h'},    {"ATV", 'i'},
      {"SSTV", 'j'},   {"SAT", 'k'},    {"PSK-31", 'l'}, {"PACKET", 'm'}, {"PKT", 'm'},
      {"2x", ' '},     {"", ' '},       {"2xx", ' '},    {"C W", ' '},    {"FT8", ' '},
  };
  for (const Case& c : cases) EXPECT_EQ(ModeClass(c.mode), c.modeClass) << '"' << c.mode << '"';
}

TEST(SameAt5Decimals, ComparesTheTextsOfTheNumberPicture) {
  EXPECT_TRUE(SameAt5Decimals(1, 1.000004));
  EXPECT_FALSE(SameAt5Decimals(1, 1.00001));
  EXPECT_TRUE(SameAt5Decimals(0.000004, 0));
  EXPECT_TRUE(SameAt5Decimals(-0.000004, 0)) << "a value that rounds to zero has no minus";
  EXPECT_FALSE(SameAt5Decimals(-1, 1));
  EXPECT_TRUE(SameAt5Decimals(99999.999994, 99999.99999));
  // Six integer digits do not fit: every such number shows only stars.
  EXPECT_TRUE(SameAt5Decimals(100000, 250000));
}

}  // namespace
}  // namespace kontura
