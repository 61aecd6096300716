#pragma once
// One line per record with the fields this program interprets, for the
// record listing of kontura-tool ("dump"): the operator sees what a
// fileblock holds without a hex viewer. Texts stay Windows-1252; the tool
// converts them for the terminal.

#include <cstdint>
#include <string>

#include "catalogue/catalogue_table.h"

namespace kontura {

// The summary of the record at rec, which holds at least
// entry.record_length bytes. Dates show as "dd.mm.yyyy" and times as
// "hh:mm"; a date or time that is not set shows as "-". The QSO logs
// (FHLK, FHLKTEMP) show the line of QsoSummary (logging/qso_summary.h).
std::string RecordSummary(const FileblockLayout& entry, const uint8_t* rec);

}  // namespace kontura
