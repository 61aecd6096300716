#pragma once
// The QSO list on a record list panel: row texts, the header line, the "+"
// of marked QSOs, the column widths of the contest header, and what Enter,
// a double click and Del do there. Used by the correction window and the
// logging window's own list, so that both show the same list and change and
// delete a QSO the same way.

#include <cstdint>
#include <functional>
#include <vector>

class QWidget;

namespace kontura {

class ContestLog;
class TfkBrow;

// Sets the panel's events for the QSO list and its header line; the column
// widths are read from the header of `contest_number`. The quick-search
// field is hidden. Call before binding the log.
void InstallQsoListRows(TfkBrow& brow, int32_t contest_number);

// Enter and a double click change the current QSO in the detail dialog; Del
// deletes it with the correction's information and question (never the
// panel's own question). Afterwards the list is found again at the place of
// the current row and `after` runs (the logging window repaints its status
// and prepares a new QSO there).
void InstallQsoListCorrection(TfkBrow& brow, ContestLog& log, QWidget* dialog_parent,
                              std::function<void()> after = {});

// The panel's current column widths (grid columns from 0), for
// StoreQsoListColumnWidths.
std::vector<int> QsoListColumnWidths(const TfkBrow& brow);

}  // namespace kontura
