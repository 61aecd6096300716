#include "refdata/bands_modes.h"

#include <initializer_list>

#include "text/picture_format.h"
#include "text/text_util.h"

namespace kontura {
namespace {

constexpr std::array<BandInfo, kBandCount> kBands = {{
    {'a', "160 m", "160m", 160, 1.815},
    {'b', "80 m", "80m", 80, 3.5},
    {'c', "40 m", "40m", 40, 7.1},
    {'d', "30 m", "30m", 30, 10.1},
    {'e', "20 m", "20m", 20, 14},
    {'f', "17 m", "17m", 17, 18.1},
    {'g', "15 m", "15m", 15, 21},
    {'h', "12 m", "12m", 12, 24.89},
    {'i', "10 m", "10m", 10, 28},
    {'j', "6 m", "6m", 6, 50},
    {'u', "4 m", "4m", 4, 70},
    {'k', "2 m", "2m", 2, 144},
    {'l', "70 cm", "70cm", 0.7, 430},
    {'m', "23 cm", "23cm", 0.23, 1240},
    {'n', "13 cm", "13cm", 0.13, 2400},
    {'o', "9 cm", "9cm", 0.09, 3400},
    {'p', "6 cm", "6cm", 0.06, 5650},
    {'q', "3 cm", "3cm", 0.03, 10000},
    {'r', "2189m", "2189m", 2189, 0.137},
    {'s', "1.2cm", "1.2cm", 0.012, 24000},
    {'t', "0.6cm", "6mm", 0.006, 47088},
}};

// A frequency f belongs to a band when lower < f <= upper. The lower bounds
// sit just below the band edges so that a frequency typed at the edge counts.
struct FrequencyRange {
  char code;
  double lower;
  double upper;
};

constexpr FrequencyRange kRanges[] = {
    {'r', 0.1356999, 0.1378}, {'a', 1.809, 2},           {'b', 3.4999, 3.9},
    {'c', 6.9999, 7.3},       {'d', 10.099, 10.2},       {'e', 13.9999, 14.35},
    {'f', 18.0679, 18.168},   {'g', 20.9999, 21.45},     {'h', 24.889, 25},
    {'i', 27.9999, 29.7},     {'j', 49.9999, 54},        {'u', 69.9499, 71},
    {'k', 143.9999, 146},     {'l', 429.9999, 440},      {'m', 1239.9999, 1300},
    {'n', 2319.9999, 2450},   {'o', 3399.9999, 3475},    {'p', 5649.9999, 5850},
    {'q', 9999.9999, 10500},  {'s', 23999.9999, 24250},  {'t', 47087.9999, 47088},
};

// The spellings that BandCodeOfText accepts, in the order of testing. The
// first match wins, so the order matters where spellings look alike.
struct CodeSpellings {
  char code;
  std::initializer_list<std::string_view> spellings;
};

const CodeSpellings kCodeSpellings[] = {
    {'a', {"160 M", "160M", "160"}},
    {'b', {"80 M", "80M", "80"}},
    {'c', {"40 M", "40M", "40"}},
    {'d', {"30 M", "30M", "30"}},
    {'e', {"20 M", "20M", "20"}},
    {'f', {"17 M", "17M", "17"}},
    {'g', {"15 M", "15M", "15"}},
    {'h', {"12 M", "12M", "12"}},
    {'i', {"10 M", "10M", "10"}},
    {'j', {"6 M", "6M", "6"}},
    {'u', {"4 M", "4M", "4"}},
    {'k', {"2 M", "2M", "2"}},
    {'l', {"70 CM", "70CM", "70 C", "70C", "70"}},
    {'m', {"23 CM", "23CM", "23 C", "23C", "23"}},
    {'n', {"13 CM", "13CM", "13 C", "13C", "13"}},
    {'o', {"9 CM", "9CM", "9 C", "9C", "9"}},
    // "6" alone is already 6 m above; 6 cm is also accepted as "5".
    {'p', {"6 CM", "6CM", "6 C", "6C", "5"}},
    {'q', {"3 CM", "3CM", "3 C", "3C", "3"}},
    {'r', {"2189 M", "2189M", "2189", "2190 M", "2190M", "2190"}},
    {'s', {"1.2 CM", "1,2 CM", "1,2 C", "1.2CM", "1,2CM", "1,2C", "1.2", "1,2", "1.25 CM",
           "1,25 CM", "1,25 C", "1.25CM", "1,25CM", "1,25C", "1.25", "1,25"}},
    {'t', {"0.6 CM", "0,6 CM", "0,6 C", "0.6CM", "6MM", "6 MM", "0,6CM", "0,6C", "0.6", "0,6"}},
};

// The spellings of NominalFrequencyOfText, in the order of testing. This
// table is not derived from the one above: it starts with the shortest
// wavelengths, so "6" is 6 cm here, and it knows a few more spellings.
struct FrequencySpellings {
  double mhz;
  std::initializer_list<std::string_view> spellings;
};

const FrequencySpellings kFrequencySpellings[] = {
    {47088, {"0,6", "0.6", "0.6 CM", "0.6CM", "6MM", "6 MM", "0.6 C", "0.6C", "0,6 CM", "0,6CM",
             "0,6 C", "0,6C"}},
    {24000, {"1,2", "1.2", "1.2 CM", "1.2CM", "1.2 C", "1.2C", "1,2 CM", "1,2CM", "1,2 C", "1,2C",
             "1,25", "1.25", "1.25 CM", "1.25CM", "1.25 C", "1.25C", "1,25 CM", "1,25CM", "1,25 C",
             "1,25C"}},
    {10000, {"3 CM", "3CM", "3 C", "3C", "3"}},
    {5650, {"6 CM", "6CM", "6 C", "6C", "6"}},
    {3400, {"9 CM", "9CM", "9 C", "9C", "9"}},
    {2400, {"13 CM", "13CM", "13 C", "13C", "13"}},
    {1240, {"23 CM", "23CM", "23 C", "23C", "23"}},
    {430, {"70 CM", "70CM", "70 C", "70C", "70"}},
    {144, {"2 M", "2M", "2"}},
    {50, {"6 M", "6M"}},
    {70, {"4 M", "4M", "4"}},
    {28, {"10 M", "10M", "10"}},
    {24.89, {"12 M", "12M", "12"}},
    {21, {"15 M", "15M", "15"}},
    {18.1, {"17 M", "17M", "17"}},
    {14, {"20 M", "20M", "20"}},
    {10.1, {"30 M", "30M", "30"}},
    {7, {"40 M", "40M", "40"}},
    {3.5, {"80 M", "80M", "80"}},
    {1.815, {"160 M", "160M", "160"}},
    {0.137, {"2189M", "2189", "2189 M", "2190M", "2190", "2190 M"}},
};

// Wavelengths a frequency field accepts, in the order of testing. Some bands
// are known by more than one number (1.2 cm typed as 1.2, 13 cm as 0.12).
struct WavelengthFrequency {
  double wavelength;
  double mhz;
};

constexpr WavelengthFrequency kWavelengthFrequencies[] = {
    {0.006, 47088}, {0.012, 24000}, {1.2, 24000}, {0.03, 10000}, {3, 10000},  {0.06, 5650},
    {0.09, 3400},   {9, 3400},      {0.13, 2400}, {0.12, 2400},  {13, 2400},  {0.23, 1240},
    {23, 1240},     {0.7, 430},     {70, 430},    {2, 144},      {4, 70},     {6, 50},
    {10, 28},       {12, 24.89},    {15, 21},     {17, 18.1},    {20, 14},    {30, 10.1},
    {40, 7.1},      {80, 3.5},      {160, 1.815}, {2189, 0.137}, {2190, 0.137},
};

// A typed frequency in one of these ranges can only have been meant in kHz.
constexpr struct {
  double lower;  // exclusive
  double upper;  // inclusive
} kKilohertzRanges[] = {
    {1814, 1999}, {3499.9, 3900}, {6999.9, 7300}, {10099, 10200}, {10500, 23999},
};
constexpr double kKilohertzAbove = 47088;

std::string NormaliseBandText(std::string_view text) {
  return UpperGerman(TrimBlanks(text));
}

struct ModeClassTexts {
  char modeClass;
  std::initializer_list<std::string_view> modes;
};

const ModeClassTexts kModeClasses[] = {
    {'a', {"CW", "A1A", "A1"}},
    {'b', {"SSB", "USB", "J3E", "LSB"}},
    {'c', {"AM", "A3E", "A3"}},
    {'d', {"FM", "F3E", "F3"}},
    {'e', {"RTTY", "HELL", "MFSK", "FSK", "WSJT", "FSK441", "MT63", "RY"}},
    {'f', {"AMTOR"}},
    {'g', {"PACTOR", "TOR"}},
    {'h', {"FAX"}},
    {'i', {"ATV"}},
    {'j', {"SSTV"}},
    {'k', {"SAT"}},
    {'l', {"PSK", "PSK31", "PSK-31"}},
    {'m', {"PACKET", "PKT", "PR"}},
};

}  // namespace

const std::array<BandInfo, kBandCount>& BandTable() { return kBands; }

const BandInfo* FindBand(char code) {
  for (const BandInfo& b : kBands) {
    if (b.code == code) return &b;
  }
  return nullptr;
}

std::string BandName(char code, bool compact) {
  if (code == kAllBands) return "all";
  const BandInfo* band = FindBand(code);
  if (band == nullptr) return "???";
  return compact ? band->compactName : band->name;
}

char BandCodeOfText(std::string_view text) {
  const std::string t = NormaliseBandText(text);
  for (const CodeSpellings& c : kCodeSpellings) {
    for (std::string_view s : c.spellings) {
      if (t == s) return c.code;
    }
  }
  return 0;
}

double NominalFrequencyOfText(std::string_view text) {
  const std::string t = NormaliseBandText(text);
  for (const FrequencySpellings& f : kFrequencySpellings) {
    for (std::string_view s : f.spellings) {
      if (t == s) return f.mhz;
    }
  }
  return 0;
}

double WavelengthOfFrequency(double mhz) {
  for (const FrequencyRange& r : kRanges) {
    if (r.lower < mhz && mhz <= r.upper) return FindBand(r.code)->wavelength;
  }
  return 0;
}

char BandOfFrequency(double mhz) {
  const double w = WavelengthOfFrequency(mhz);
  if (w == 0) return kNoBand;
  for (const BandInfo& b : kBands) {
    if (SameAt5Decimals(w, b.wavelength)) return b.code;
  }
  return kNoBand;
}

double FrequencyOfWavelength(double wavelength) {
  for (const WavelengthFrequency& wf : kWavelengthFrequencies) {
    if (SameAt5Decimals(wavelength, wf.wavelength)) return wf.mhz;
  }
  return 0;
}

double NormaliseFrequencyEntry(double v, bool thirtyMetreRule) {
  if (v == 0) return 0;
  if (thirtyMetreRule && v == 10) return 10.1;
  // A wavelength wins over the short forms below: 10 is 10 m, not 30 m.
  const double f = FrequencyOfWavelength(v);
  if (f != 0) return f;
  // Short forms of the bands whose frequency is no round number.
  constexpr struct {
    double typed;
    double mhz;
  } kShortForms[] = {{18, 18.1}, {1.8, 1.815}, {10, 10.1}, {24.8, 24.89}, {24, 24.89}};
  for (const auto& s : kShortForms) {
    if (SameAt5Decimals(v, s.typed)) return s.mhz;
  }
  for (const auto& r : kKilohertzRanges) {
    if (r.lower < v && v <= r.upper) return v / 1000;
  }
  if (v > kKilohertzAbove) return v / 1000;
  return v;
}

char ModeClass(std::string_view mode) {
  if (mode.size() >= 2 && mode[0] == '2' && (mode[1] == 'x' || mode[1] == 'X')) mode.remove_prefix(2);
  const std::string m = TrimBlanks(mode);
  for (const ModeClassTexts& c : kModeClasses) {
    for (std::string_view s : c.modes) {
      if (m == s) return c.modeClass;
    }
  }
  return ' ';
}

bool SameAt5Decimals(double a, double b) {
  return FormatPicture("#####.#####", a) == FormatPicture("#####.#####", b);
}

}  // namespace kontura
