#pragma once
// The totals record of a contest in FHKZ.

#include <cstdint>

namespace kontura {

// Makes the FHKZ record of the contest the current one: looks it up by key 1
// and, when it is missing, clears the buffer, copies the number in and adds
// it. FHKZ must be open. Returns false when the record could not be added.
bool EnsureContestTotals(int32_t contest_number);

}  // namespace kontura
