#pragma once
// The choice among alternatives: when the entry found for a call offers
// several entities (entries of one PatternText numbered "1", "2", ... in
// AlternativeNo), the operator picks one. The rows are built here; a
// PrefixChooser shows them (the program's dialog TPrefAuswahl, a scripted
// chooser in tests, a printing one in kontura-tool) and answers with the row.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kontura {

// At most this many alternatives are offered.
inline constexpr int kMaxPrefixCandidates = 30;

// One row of the choice, already resolved (former prefixes, redirects).
struct PrefixCandidate {
  int number = 0;             // 1, 2, ... in the order of the table
  std::string entity_prefix;  // texts as in the records (Windows-1252)
  std::string cq_zone;
  std::string itu_zone;
  std::string country_name;   // "not current" for an entry not yet valid
  std::string remark;         // followed by "  (deleted)" for an entry not valid at the date
};

class PrefixChooser {
 public:
  virtual ~PrefixChooser() = default;
  // Shows the rows for the prefix `name`; returns the index of the row taken
  // (0-based) or -1 when the operator cancelled.
  virtual int Choose(std::string_view name, const std::vector<PrefixCandidate>& rows) = 0;
};

// The installed chooser. Until one is installed, a chooser that takes none
// serves (the look-up then ends with a cleared working entry).
PrefixChooser& ThePrefixChooser();
// Installs a chooser and returns the one it replaces; nullptr restores the
// default. The caller keeps ownership.
PrefixChooser* InstallPrefixChooser(PrefixChooser* chooser);

// The rows for the alternatives of pattern `name` at `date`: the entries of
// key 3 from alternative "1" on while their PatternText is `name`, at most
// kMaxPrefixCandidates. Entries numbered "", "-" or "0" are not listed.
// Requires FHPREFIX to be open; leaves its buffer on the last entry walked.
std::vector<PrefixCandidate> CollectCandidates(std::string_view name, int32_t date);

// Lets the operator choose among the alternatives of the working entry's
// pattern. True when a row was taken: the working entry is then that row's
// resolved entry. False after cancelling (or with no rows): the working
// entry is cleared.
bool ChooseAlternative(int32_t date);

// Resolves the working entry (one candidate) into the record `row`: an entry
// not yet valid gets CountryName "not current"; a current former prefix or a
// redirect makes the row the entry found for it. The working entry is found
// again afterwards so that a walk over key 3 can go on.
void ResolveCandidate(uint8_t* row, int32_t date);

}  // namespace kontura
