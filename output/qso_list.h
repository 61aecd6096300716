#pragma once
// The QSO list (printed, E-Log ALL file, CSV file) and the band list
// (printed, E-Log BND file): fixed-width tables of the QSOs of the open log.
//
// Both measure their columns over the whole log first, so that every line of
// a file has the same layout. Band-change markers a program of the suite
// wrote into the log (QsyBand not 0) are measured and counted by the QSO
// list's running number but never written.
//
// Precondition: the contest's log is open (OpenFHLK); the writers walk it
// through its shared record buffer and put the buffer back afterwards. A
// storage failure while walking ends the walk like the end of the log.

#include <array>
#include <cstddef>
#include <string>

#include "logging/qso_record.h"
#include "output/line_writer.h"
#include "output/output_sources.h"

namespace kontura {

struct ColumnWidths {
  size_t call = 8;
  size_t sent = 9;
  size_t rcvd = 9;
  size_t points = 1;
  // 0: the column does not exist (its multiplier has no name).
  std::array<size_t, 3> multi{};
};

// The widths over every record of the open log.
ColumnWidths MeasureColumns(const TContestDefinition& def);

// One QSO as a line of the QSO list (kind printed, E-Log or CSV): the running
// number `n` is shown only outside CSV.
std::string QsoListLine(const QsoRecord& q, int n, const ColumnWidths& w, OutputKind kind);
// One QSO as a line of the band list.
std::string BandListLine(const QsoRecord& q, const ColumnWidths& w, OutputKind kind);

// The band column of the QSO list: the band name without its last character
// in four positions (CSV: trimmed), then the first "c" deleted and a blank
// appended: "80  ", "2   ", "70  ".
std::string QsoListBand(char band, OutputKind kind);

// The writers. True when every line went out (a file write can fail).
bool WriteQsoList(LineWriter& w, const OutputSources& src);
bool WriteBandList(LineWriter& w, const OutputSources& src);

}  // namespace kontura
