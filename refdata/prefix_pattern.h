#pragma once
// The pattern search of the prefix look-up: LookupPattern walks a call from
// its full length down and asks MatchPattern for an entry of FHPREFIX whose
// PatternText covers it; EvaluateEntry then follows the entry's alternatives,
// former prefixes and redirects. All of them work on the working entry, the
// FHPREFIX record buffer, and require FHPREFIX to be open.
//
// Results are those of ResolvePrefix: 0 = the working entry holds the result,
// 1 = no entry, 2 = the entry found is not valid at the date.

#include <cstdint>
#include <string>
#include <string_view>

namespace kontura {

// The state one look-up shares across its nested steps. `depth` counts the
// LookupPattern and EvaluateEntry steps; a look-up that needs more than
// kMaxLookupDepth of them ends with 1, so that circular redirects and former
// prefixes in the tables cannot run away. `chosen` is set when the operator
// picked the entry among alternatives.
struct PrefixLookupState {
  int depth = 0;
  bool chosen = false;
};
inline constexpr int kMaxLookupDepth = 5;
PrefixLookupState& ThePrefixLookupState();

struct PatternMatch {
  bool ok = false;
  char wild = 0;  // the wildcard of the entry that matched, 0 for none
};

// The three wildcard characters a PatternText may hold.
bool IsPatternWildcard(char c);

// exact = true: the entry whose EntityPrefix and PatternText are both the
// text (key 2). exact = false: the entry of pattern `text` (key 1), a
// numbered alternative "DL-2" (key 3), a RangeStart range (an entry DR with
// RangeStart A covers DA to DR; the working entry's PatternText then reads
// the text) or a wildcard, reported in `wild`.
PatternMatch MatchPattern(std::string_view text, bool exact);

// Searches the entry for a call at a date. Counts one step.
int LookupPattern(std::string_view call, int32_t date);

// Follows the working entry (just matched for `text`; `full_text` is the call
// of the look-up). `followed` is true while a former prefix is being
// followed: validity and former prefixes are then not looked at again.
// Counts one step.
int EvaluateEntry(std::string_view text, std::string_view full_text, int32_t date, bool followed);

}  // namespace kontura
