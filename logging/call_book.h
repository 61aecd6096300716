#pragma once
// What the entry reads from and writes to the call book FHCBUCH and the call
// list FHCALL: name, QTH and locator of a partner, and the call history that
// every saved QSO leaves in FHCBUCH. Both fileblocks are kept open by the
// session (log_opening.h); while one is closed its look-ups find nothing and
// the history is not written. Calls are looked up by their base call padded
// to 10 (key 1 of both).

#include <string>
#include <string_view>

namespace kontura {

struct PartnerInfo {
  bool found = false;
  std::string name;  // DOS umlauts converted, at most 20 characters
  std::string qth;   // as stored, at most 20 characters
};

// FHCBUCH's name and QTH; when the call is not there, FHCALL's name (no QTH).
PartnerInfo LookUpPartner(std::string_view base_call);

// FHCBUCH's locator (6 characters); empty when the call or its locator is
// not there. FHCALL holds no locator.
std::string CallbookLocator(std::string_view base_call);

// The call history of a saved QSO: the record of the base call, added as a
// cleared record holding only the call when it is missing, then the district
// code, the name and the QTH, each when not empty and each followed by a
// rewrite. Nothing for a call of 2 characters or fewer.
void RecordCallHistory(std::string_view call, std::string_view district_code, std::string_view name,
                       std::string_view qth);

}  // namespace kontura
