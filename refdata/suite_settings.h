#pragma once
// The program-wide settings that come from the suite's set-up records
// (FHSETUP, FHSETUP2), and the rules that turn those records into settings
// and settings back into records. The fileblock work around them (open, find
// the first record, add a cleared one, update, close) lives with the
// catalogue openers; everything here works on record buffers only.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "refdata/base_call.h"

namespace kontura {

struct SuiteSettings {
  std::string OwnCall;
  std::string SwlNumber;
  std::string OwnName;
  // Used until a set-up record provides the station's own locator: a valid
  // six-character locator (the subsquare of Munich's centre).
  std::string OwnLocator = "JN58SD";
  int32_t TimeOffsetHours = -2;
  uint8_t NameCase = 4;
  uint32_t BackgroundColour = 0x02CF9F7F;
  uint32_t BarColour = 0x02A66C50;
  uint32_t PanelColour = 0x02F7D2C0;
  uint32_t LabelTextColour = 0x00FFFFFF;
  uint32_t HighlightLabelColour = 0x0000FFFF;
  uint32_t ListHeaderColour = 0x00FFFFFF;
  uint32_t ListHeaderTextColour = 0x00000000;
  // The nine suffix entries of the set-up record, present only when the
  // first of them has a text; InstallStoredSuffixEntries puts them into
  // entries 1 to 9 of the suffix table of the call-sign split.
  std::optional<std::array<SuffixEntry, kStoredSuffixEntries>> StoredSuffixes;
  int32_t ProfileNumber = 0;
  // 1 = German; never changes in this edition.
  int Language = 1;
  // The six texts of FHSETUP2.
  std::array<std::string, 6> Setup2Texts = {"M1", "M2", "M3", "M4", "M5", "M6"};
};

// The settings of this run. They hold the initial values until
// TakeSetupRecord/TakeSetup2Record fill them.
SuiteSettings& TheSuiteSettings();

// A stored background colour as the program uses it: the old default
// 0x02CD9E87 of the suite is replaced by the current default 0x02CF9F7F;
// every other value stays.
uint32_t LoadedBackgroundColour(uint32_t stored);

// Takes the settings from an FHSETUP record (SetupRecord bytes): suffix
// entries when the first has a text; NameCase; the seven colours only when
// at least one of the five panel and label colours is not 0 (otherwise all
// seven keep their values); own locator, name, listener number and call;
// time offset; profile number.
void TakeSetupRecord(const uint8_t* setup_rec, SuiteSettings& s);

// Writes the settings this program keeps back into an FHSETUP record: own
// locator, time offset, listener number, own call (each cut to its field)
// and the seven colours. Suffix entries, profile number, NameCase, name and
// address stay as they are in the record.
void PutSetupRecord(const SuiteSettings& s, uint8_t* setup_rec);

// FHSETUP2: the non-empty texts of the record replace the settings' texts;
// PutSetup2Record writes all six back.
void TakeSetup2Record(const uint8_t* setup2_rec, SuiteSettings& s);
void PutSetup2Record(const SuiteSettings& s, uint8_t* setup2_rec);

// Capitalisation of names and QTHs by name_case:
//   1 upper case (German), 2 lower case (German), 3 lower case with the
//   first character raised, 4 the first character and every character after
//   "-" or "." raised, others as typed; any other value leaves the text as
//   typed. "Raised" touches only a-z.
std::string NormaliseNameCase(std::string_view text, uint8_t name_case);
// The same with the NameCase of TheSuiteSettings().
std::string NormaliseNameCase(std::string_view text);

}  // namespace kontura
