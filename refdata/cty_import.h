#pragma once
// Builds the prefix database from a public country file in the CSV form
// (cty.csv of the Debian package hamradio-files). One line per entity:
//
//   entity prefix, name, DXCC number, continent, CQ zone, ITU zone,
//   latitude, longitude, UTC offset, prefixes and whole calls separated by
//   blanks and ended by ";"
//
// A prefix or call may carry overrides: "(cq)" CQ zone, "[itu]" ITU zone,
// "{cc}" continent, "<lat/long>" and "~offset~" (ignored). Whole calls start
// with "=". An entity prefix starting with "*" marks an entity of another
// award list, not a DXCC entity; its lines are left out, so that its calls
// fall to the DXCC entity of their prefix.
//
// Mapping: every prefix becomes one FHPREFIX entry (PatternText the prefix,
// EntityPrefix the entity prefix in capitals, zones and continent with the
// overrides, CountryName cut to 30, DxccNumber). Every whole call of at most
// 6 characters becomes one FHPREFEE entry of the same kind with a PrefixFlag
// other than "J" (it matches that call, and longer calls that begin with it:
// the overlay key holds 6 characters). Longer whole calls, calls the unique
// overlay key already holds, and the lines of "*" entities are left out and
// counted.

#include <string>
#include <string_view>
#include <vector>

namespace kontura {

struct CtyItem {
  std::string text;       // prefix or call in capitals, without "=" and overrides
  bool whole_call = false;
  std::string cq_zone;    // with the overrides applied
  std::string itu_zone;
  std::string continent;
};

struct CtyEntity {
  std::string entity_prefix;  // in capitals, "*" kept
  std::string name;
  int dxcc_number = 0;
  std::string continent;
  std::string cq_zone;
  std::string itu_zone;
  std::vector<CtyItem> items;
};

// Parses one line; false for a line that is not a well-formed entity line.
bool ParseCtyLine(std::string_view line, CtyEntity* entity);

struct CtyImportCounts {
  int prefixes = 0;     // FHPREFIX entries written
  int whole_calls = 0;  // FHPREFEE entries written
  int left_out = 0;     // prefixes and calls not written
  int bad_lines = 0;    // lines that could not be read
};

// Replaces the contents of FHPREFIX and FHPREFEE in the start directory with
// the entries of the file at `path` (the storage engine must be started).
// The new tables are built beside the old ones (FHPREFIX-NEU, FHPREFEE-NEU)
// and take their place only when complete; a file without a single usable
// prefix leaves the old ones untouched. A file with prefixes but no whole
// calls leaves a valid, empty FHPREFEE. False with a German message in
// *error when the file cannot be read, yields no prefix, or a fileblock
// cannot be opened; the database in use is then unchanged.
bool ImportCtyFile(const std::string& path, CtyImportCounts* counts, std::string* error);

}  // namespace kontura
