#pragma once
// The summary sheet ("Deckblatt"): the cover page of a contest entry with
// the sender, the contest and category, QSOs and points per band, the final
// score, the declaration and the line for place, date, call and signature.
// Printed or as the E-Log SUM file (and at the head of the TXT file). It has
// no page header and no page breaks.

#include <string>

#include "output/line_writer.h"
#include "output/output_sources.h"

namespace kontura {

// Writes the sheet; `today` is the date of the signature line
// ("dd.mm.yyyy"). True when every line went out.
bool WriteSummarySheet(LineWriter& w, const OutputSources& src, const std::string& today);

}  // namespace kontura
