#pragma once
// The QSO list on a record list panel: row texts, the header line, the "+"
// of marked QSOs and the column widths of the contest header. Used by the
// correction window and the logging window's own list, so that both show
// the same list.

#include <cstdint>
#include <vector>

namespace kontura {

class TfkBrow;

// Sets the panel's events for the QSO list and its header line; the
// column widths are read from the header of `contest_number`. Call before
// binding the log.
void InstallQsoListRows(TfkBrow& brow, int32_t contest_number);

// The panel's current column widths (grid columns from 0), for
// StoreQsoListColumnWidths.
std::vector<int> QsoListColumnWidths(const TfkBrow& brow);

}  // namespace kontura
