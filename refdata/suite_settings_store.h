#pragma once
// Loading the suite settings from the set-up fileblocks at start and writing
// them back at the end. FHSETUP is opened only around each use.

namespace kontura {

// Reads the first FHSETUP record into the settings (a cleared record is added
// when there is none, and the initial values stay for this run), installs the
// stored suffix entries, and makes sure FHSETUP2 has its first record, taking
// its non-empty texts. When FHSETUP cannot be opened the initial values stay
// and nothing is written at the end.
void LoadSuiteSettings();

// Writes the settings this program keeps into the first FHSETUP record and
// writes the first FHSETUP2 record back unchanged.
void SaveSuiteSettings();

}  // namespace kontura
