#pragma once
// The rows of the QSO list: the header line and one text per stored QSO, as
// the logging window's list and the correction list show them. Thirteen
// cells separated by ";"; the browser splits them into grid columns.
//
//   col  header                 row content
//    1   "Nr "                  QsoNo, "######" (empty on a band-change marker)
//    2   " Datum" (7)           QsoDate, "dd.mm.yy"; blanks when not set
//    3   " UTC" (5)             QsoTime, "hh:mm"; blanks when not set
//    4   " Call    "            Call
//    5   "Band "                band name
//    6   "Mod"                  Mode
//    7   " RSTsent      "       sent report (3), a blank, the rest
//    8   " RSTrcvd      "       received exchange, the same way
//    9   "Pkt"                  Points, "######", trimmed
//   10   "sQr"                  QslSent or a blank, then " " + QslReceived or "  "
//   11   "Name" (10)            name part of NameQth
//   12   "QTH" (10)             QTH part of NameQth
//   13   "Freq."                Frequency, "#####,###"
//
// Row cells after the first are separated by "; "; the header by ";" alone
// and padded with blanks to 255 characters. A band-change marker shows its
// date and time and "*** QSY " + band name + " ***" in the call column. A
// marked QSO's row begins with the byte kMarkedRow.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "logging/qso_record.h"

namespace kontura {

inline constexpr char kMarkedRow = '\x01';
inline constexpr int kQsoListColumns = 13;
inline constexpr size_t kQsoListHeaderLength = 255;

// The pictures the list is shown with. The defaults are the program's.
struct QsoListPictures {
  std::string_view date = "dd.mm.yy";
  std::string_view time = "hh:mm";
};

std::string QsoListHeader(const QsoListPictures& pictures = {});
std::string QsoListRow(const QsoRecord& qso, const QsoListPictures& pictures = {});

// The grid's column widths as the contest header keeps them: grid column k
// (counted from 0) at header byte 301 + 2k, 20 columns, 0 = not stored.
// Both open and close FHKK; a contest without header reads all 0 and
// stores nothing (false).
std::vector<int> ReadQsoListColumnWidths(int32_t contest_number);
bool StoreQsoListColumnWidths(int32_t contest_number, const std::vector<int>& widths);

}  // namespace kontura
