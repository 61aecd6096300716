#pragma once
// The DXCC entity of a call: the look-up in the prefix database (FHPREFIX with
// the overlay tables FHPREFEE and FHPREFES consulted first), the search for
// an entity's own entry, and the DXCC entity number of an entity prefix.
//
// The working entry is the FHPREFIX record buffer (CatalogueRecord of
// kFhprefix): every search overwrites it and a successful look-up leaves its
// result there. Changes the look-up makes to it are never written back.
// FHPREFIX must be open; the overlay tables are opened and closed around each
// use and skipped when they cannot be opened.

#include <cstdint>
#include <string>
#include <string_view>

namespace kontura {

// Looks up `call` at `date` (a day number; 0 or below means today). Returns
// 0 when the working entry holds the entry found (its PatternText then reads
// the prefix of the call, e.g. DL1 for DL1ABC), 1 when there is no entry or
// FHPREFIX is not open, and 2 when the entry found is not valid at the date.
// *chosen (may be null) tells whether the operator picked the entry among
// alternatives. `source` is 0 in this program: the choice shows the prefix.
// When the operator cancels the choice, the result is 0 with a cleared
// working entry.
int ResolvePrefix(std::string_view call, int32_t date, int source, bool* chosen);

// The same look-up as a step of an enclosing one (the choice among
// alternatives resolves its rows this way): it goes on counting the enclosing
// look-up's steps, so that circular tables end, and leaves the enclosing
// look-up's step count and choice flag as they were.
int ResolvePrefixNested(std::string_view call, int32_t date);

// True when an entry whose EntityPrefix equals `entity_prefix` was found (in
// FHPREFEE, FHPREFES or FHPREFIX, the entity's own entry first); it is then
// the working entry. The text is used as given, padded to 6 in the keys.
bool FindEntityRecord(std::string_view entity_prefix);

// The DXCC entity number of an entity prefix: the entity list's number
// right-aligned in three characters ("230", "  1"), a few entities the list
// names differently as plain digits ("24" for 3Y5) unless the database knows
// them, the database's number otherwise; the empty text when nothing knows
// the prefix.
std::string DxccNumberOfPrefix(std::string_view entity_prefix);

}  // namespace kontura
