#pragma once
// Bands and modes: the band codes of the program and of the suite's
// databases, their names and spellings, the frequency ranges and nominal
// frequencies, the reading of a typed frequency, and the mode classes.
//
// Texts are Windows-1252 bytes; frequencies are in MHz, wavelengths in metres.

#include <array>
#include <string>
#include <string_view>

namespace kontura {

// One character per band, stored in every QSO. A zero byte or a blank means
// no band; the digit 0 stands for all bands where a list needs such an entry.
inline constexpr char kNoBand = ' ';
inline constexpr char kAllBands = '0';

struct BandInfo {
  char code;
  const char* name;         // display name, "80 m"
  const char* compactName;  // without blanks, "80m" (and "6mm" for 0.6 cm)
  double wavelength;        // nominal wavelength in metres
  double nominal_mhz;        // nominal frequency
};

inline constexpr int kBandCount = 21;

// The bands from 160 m to 0.6 cm, with 4 m after 6 m and 2189 m after 3 cm.
// BandOfFrequency tests the wavelengths in this order.
const std::array<BandInfo, kBandCount>& BandTable();

// The band of `code`, or nullptr for codes that are no band (including '0').
const BandInfo* FindBand(char code);

// Display name of a band code; with `compact` the name without blanks. The
// code '0' gives "all", any other unknown code "???".
std::string BandName(char code, bool compact);

// The band code of a typed or imported band text ("80m", " 70 cm ", "2"):
// trimmed, upper-cased (umlauts too) and compared with the accepted spellings
// in their fixed order, first match wins. No match gives 0.
char BandCodeOfText(std::string_view text);

// The nominal frequency of a band text, through a spelling table of its own
// that differs in details from BandCodeOfText's: "6" alone is 6 cm (5650) here
// but 6 m there. No match gives 0.
double NominalFrequencyOfText(std::string_view text);

// Nominal wavelength of the band whose range holds `mhz` (lower bound
// exclusive, upper inclusive), or 0 outside every range.
double WavelengthOfFrequency(double mhz);

// Band code of the range that holds `mhz`, or kNoBand.
char BandOfFrequency(double mhz);

// Nominal frequency of a wavelength typed as a number (80, 2, 70, 0.7, 1.2,
// ...), or 0 when the number names no band.
double FrequencyOfWavelength(double wavelength);

// What a number typed into a frequency field means, in MHz: a wavelength
// stands for its band (80 gives 3.5; 10 gives 28), a few short forms are
// completed (18 gives 18.1), values in the kHz ranges of the short-wave bands
// and above 47088 are divided by 1000, everything else is taken as MHz.
// With `thirtyMetreRule`, 10 is the 30 m band (10.1) instead.
double NormaliseFrequencyEntry(double value, bool thirtyMetreRule);

// The class letter of a mode text, used for running numbers per mode class
// and in the log's keys; a blank for modes of no class. A leading "2x" or
// "2X" is dropped and blanks and tabs are trimmed; no case folding ("cw" has
// no class).
char ModeClass(std::string_view mode);

// True when both numbers give the same text in the picture "#####.#####":
// equality at five decimals, as all band comparisons use it.
bool SameAt5Decimals(double a, double b);

}  // namespace kontura
