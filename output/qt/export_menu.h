#pragma once
// The pop-up menu of "Drucken / E-Log" and the Qt services of the outputs.
//
// Actions by object name: actTotalFile, actSummaryFile, actQsoListFile,
// actBandListFile, actAdifFile, actCsvFile, actPrintedSummary,
// actPrintedQsoList, actPrintedBandList; the greyed entries without an
// output carry no name.

#include <cstdint>

#include "contest/contest_definition.h"

class QAction;
class QMenu;
class QWidget;

namespace kontura {

// Fills `menu` with the entries of the definition's export menu; an entry
// with an output carries its OutputId as data.
void FillExportMenu(QMenu& menu, const TContestDefinition& def);

// Runs the output of an entry of that menu for the contest, with the
// program's file dialog, viewer and printer.
void RunExportAction(const QAction& action, int32_t contest_number, QWidget* parent);

// Opens the menu at the button's top-left corner and runs the entry chosen.
void ShowExportMenu(int32_t contest_number, const TContestDefinition& def, QWidget* button);

}  // namespace kontura
