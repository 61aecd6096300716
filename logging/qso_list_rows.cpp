#include "logging/qso_list_rows.h"

#include <algorithm>

#include "contest/contest_header_store.h"
#include "logging/mask_text.h"
#include "refdata/bands_modes.h"
#include "text/date_time_text.h"
#include "text/picture_format.h"
#include "text/text_util.h"

namespace kontura {
namespace {

constexpr std::string_view kNumberPicture = "######";
constexpr std::string_view kFrequencyPicture = "#####,###";
constexpr int kNameWidth = 10;

// The report (3 characters), a blank, and the rest of the exchange.
std::string ExchangeCell(const std::string& exchange) {
  std::string cell = PadRightWith(std::string_view(exchange).substr(0, 3), ' ', 3);
  cell += ' ';
  if (exchange.size() > 3) cell += exchange.substr(3);
  return cell;
}

std::string QslCell(const QsoRecord& q) {
  std::string cell(1, q.QslSent() != 0 ? q.QslSent() : ' ');
  if (q.QslReceived() != 0) {
    cell += ' ';
    cell += q.QslReceived();
  } else {
    cell += "  ";
  }
  return cell;
}

std::string JoinRow(const std::vector<std::string>& cells) {
  std::string row;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) row += "; ";
    row += cells[i];
  }
  return row;
}

}  // namespace

std::string QsoListHeader(const QsoListPictures& pictures) {
  const int date_width = static_cast<int>(pictures.date.size()) - 1;
  const int time_width = static_cast<int>(pictures.time.size());
  std::string header = Concat({"Nr ;", PadRightWith(" Datum", ' ', date_width), ";",
                               PadRightWith(" UTC", ' ', time_width), ";",
                               " Call    ;Band ;Mod; RSTsent      ; RSTrcvd      ;Pkt;sQr;",
                               PadRightWith("Name", ' ', kNameWidth), ";", PadRightWith("QTH", ' ', kNameWidth),
                               ";Freq."});
  header.resize(kQsoListHeaderLength, ' ');
  return header;
}

std::string QsoListRow(const QsoRecord& q, const QsoListPictures& pictures) {
  std::vector<std::string> cells;
  cells.reserve(kQsoListColumns);
  const bool marker = q.IsBandChangeMarker();
  cells.push_back(marker ? std::string() : FormatPictureInt(kNumberPicture, q.QsoNo()));
  cells.push_back(q.QsoDate() < 0 ? std::string(pictures.date.size(), ' ') : DateToText(pictures.date, q.QsoDate()));
  cells.push_back(q.QsoTime() < 0 ? std::string(pictures.time.size(), ' ') : TimeToText(pictures.time, q.QsoTime()));
  if (marker) {
    cells.push_back(Concat({"*** QSY ", BandName(q.QsyBand(), false), " ***"}));
    cells.resize(kQsoListColumns);
  } else {
    std::string name, qth;
    SplitNameQth(q.NameQth(), &name, &qth);
    cells.push_back(q.Call());
    cells.push_back(BandName(q.Band(), false));
    cells.push_back(q.Mode());
    cells.push_back(ExchangeCell(q.SentExchange()));
    cells.push_back(ExchangeCell(q.RecvExchange()));
    cells.push_back(TrimBlanks(FormatPictureInt(kNumberPicture, q.Points())));
    cells.push_back(QslCell(q));
    cells.push_back(name);
    cells.push_back(qth);
    cells.push_back(FormatPicture(kFrequencyPicture, q.Frequency()));
  }
  std::string row = JoinRow(cells);
  if (q.Marked() == 1) row.insert(row.begin(), kMarkedRow);
  return row;
}

std::vector<int> ReadQsoListColumnWidths(int32_t contest_number) {
  std::vector<int> widths(contest_header::kColumnCount, 0);
  std::vector<uint8_t> bytes;
  if (!LoadContestHeader(contest_number, &bytes)) return widths;
  const ConstContestHeader header(bytes.data());
  for (int k = 0; k < contest_header::kColumnCount; ++k) widths[static_cast<size_t>(k)] = header.ColumnWidth(k + 1);
  return widths;
}

bool StoreQsoListColumnWidths(int32_t contest_number, const std::vector<int>& widths) {
  return UpdateContestHeader(contest_number, [&widths](TContestHeader& header) {
    for (int k = 0; k < contest_header::kColumnCount; ++k) {
      const int w = static_cast<size_t>(k) < widths.size() ? widths[static_cast<size_t>(k)] : 0;
      header.SetColumnWidth(k + 1, static_cast<int16_t>(std::clamp(w, 0, 32767)));
    }
  });
}

}  // namespace kontura
