#pragma once
// Reading and rewriting one contest's header record in FHKK by its number,
// for the windows that keep their place or column widths there. Both open
// and close FHKK around the work.

#include <cstdint>
#include <functional>
#include <vector>

#include "contest/contest_header.h"

namespace kontura {

// A copy of the header of `contest_number`; false when there is none.
bool LoadContestHeader(int32_t contest_number, std::vector<uint8_t>* bytes);

// Applies `change` to the header of `contest_number` in the FHKK buffer and
// rewrites it. False when there is no such header or the rewrite failed.
bool UpdateContestHeader(int32_t contest_number, const std::function<void(TContestHeader&)>& change);

}  // namespace kontura
