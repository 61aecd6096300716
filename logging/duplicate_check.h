#pragma once
// The duplicate rules of the contest definition (DupeRule) on the open log.
// Calls are compared by their base call, so a partner who adds or drops a
// portable suffix is still found. The searches leave the log's record buffer
// as it was (SavedLogBuffer).

#include <string>
#include <string_view>

namespace kontura {

// Rule 1: same base call on `band` in `mode` (exact key 9). Rule 2: same
// base call on `band`, any mode (key 9 from band + base call on). Rule 3:
// same base call in the same mode class, "CW" against everything else
// (key 2). Rule 5: the base call anywhere in the log (exact key 6; the call
// check only). Any other rule finds no duplicate.
bool FindDuplicate(int rule, std::string_view base_call, char band, std::string_view mode);

// The message of the call check: "Call " + base call + the rule's text.
std::string CallCheckDuplicateMessage(int rule, std::string_view base_call);

// The message of the check before storing; empty for rule 5, which is not
// part of that check.
std::string StoreDuplicateMessage(int rule);

// The stored name and QTH of the latest earlier QSO with this base call
// (exact key 6); empty when there is none.
std::string EarlierNameQth(std::string_view base_call);

}  // namespace kontura
