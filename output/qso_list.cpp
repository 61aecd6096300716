#include "output/qso_list.h"

#include <algorithm>

#include "logging/log_access.h"
#include "logging/qso_keys.h"
#include "refdata/bands_modes.h"
#include "storage/fileblock.h"
#include "text/date_time_text.h"
#include "text/picture_format.h"
#include "text/text_util.h"

namespace kontura {
namespace {

constexpr size_t kQsoListTitleWidth = 77;
constexpr size_t kBandListTitleWidth = 65;

std::string Right(std::string_view s, size_t n) { return PadLeftBlanks(s, static_cast<int>(n)); }

std::string MultiValue(const QsoRecord& q, size_t j) {
  switch (j) {
    case 0: return q.NewMulti1();
    case 1: return q.NewMulti2();
    default: return q.Call2();
  }
}

std::string PointsText(const QsoRecord& q) { return TrimBlanks(FormatPictureInt("#####", q.Points())); }

std::string DateColumn(const QsoRecord& q) {
  return q.QsoDate() <= 0 ? std::string(6, ' ') : PadTo(DateToText("ddmmyy", q.QsoDate()), 6);
}

// pad(characters 1-3, 3) + " " + pad(characters 4-20, width - 4).
std::string ExchangeColumn(const std::string& text, size_t width) {
  const std::string report = text.substr(0, std::min<size_t>(3, text.size()));
  const std::string rest = text.size() > 3 ? text.substr(3) : std::string();
  return PadTo(report, 3) + " " + PadTo(rest, width >= 4 ? width - 4 : 0);
}

std::string PointsTitle(const ColumnWidths& w) { return Right(w.points >= 3 ? "Pkt" : "P", w.points); }

// The columns shared by both lists from the call on: call, band, mode, sent,
// received, multipliers, points. `band` and `mode` are already formatted.
std::string TailColumns(const QsoRecord& q, const ColumnWidths& w, std::string_view sep, const std::string& band,
                        const std::string& mode) {
  std::string line = Concat({PadTo(q.Call(), w.call), sep, band, sep, mode, sep, ExchangeColumn(q.SentExchange(), w.sent),
                             sep, ExchangeColumn(q.RecvExchange(), w.rcvd), sep});
  for (size_t j = 0; j < w.multi.size(); ++j) {
    if (w.multi[j] == 0) continue;
    line += PadTo(MultiValue(q, j), w.multi[j]);
    line += sep;
  }
  line += Right(PointsText(q), w.points);
  return line;
}

// The column titles from CALL on, shared by both lists.
std::string TitleColumns(const TContestDefinition& def, const ColumnWidths& w, std::string_view sep,
                         std::string_view mode_title) {
  std::string line = Concat({"UTC ", sep, PadTo("CALL ", w.call), sep, "BAND", sep, mode_title, sep,
                             PadTo("SENT  ", w.sent), sep, PadTo("RCVD  ", w.rcvd), sep});
  for (size_t j = 0; j < w.multi.size(); ++j) {
    if (w.multi[j] == 0) continue;
    line += PadTo(def.MultiplierNames[j], w.multi[j]);
    line += sep;
  }
  line += PointsTitle(w);
  return line;
}

// The title of a page: bold and followed by the page number when printed.
void WritePageTitle(LineWriter& w, const std::string& title, int page) {
  if (!w.printed()) {
    w.WriteLine(title);
    return;
  }
  w.SetBold(true);
  w.WriteLine(Concat({title, "Page :", FormatPictureInt("####", page)}));
  w.SetBold(false);
}

}  // namespace

ColumnWidths MeasureColumns(const TContestDefinition& def) {
  ColumnWidths w;
  std::array<size_t, 3> longest_multi{};
  SavedLogBuffer saved;
  Fileblock* log = TheLog();
  for (log->First(1); StorageErrorClass() == 0; log->Next(1)) {
    const QsoRecord q = LogRecord();
    w.call = std::max(w.call, TrimBlanks(q.Call()).size() + 2);
    w.sent = std::max(w.sent, TrimBlanks(q.SentExchange()).size() + 2);
    w.rcvd = std::max(w.rcvd, TrimBlanks(q.RecvExchange()).size() + 2);
    w.points = std::max(w.points, PointsText(q).size());
    for (size_t j = 0; j < longest_multi.size(); ++j) {
      longest_multi[j] = std::max(longest_multi[j], TrimBlanks(MultiValue(q, j)).size());
    }
  }
  for (size_t j = 0; j < w.multi.size(); ++j) {
    if (def.MultiplierNames[j].empty()) continue;
    w.multi[j] = std::max(def.MultiplierNames[j].size(), longest_multi[j] + 2);
  }
  return w;
}

std::string QsoListBand(char band, OutputKind kind) {
  std::string name = BandName(band, false);
  if (!name.empty()) name.pop_back();
  name = kind == OutputKind::kCsv ? TrimBlanks(name) : PadTo(name, 4);
  const size_t c = name.find('c');
  if (c != std::string::npos) {
    name.erase(c, 1);
    name += ' ';
  }
  return name;
}

std::string QsoListLine(const QsoRecord& q, int n, const ColumnWidths& w, OutputKind kind) {
  const bool csv = kind == OutputKind::kCsv;
  const std::string_view sep = csv ? ";" : " ";
  const std::string number_and_date = csv ? DateColumn(q) : Concat({Right(std::to_string(n), 4), " ", DateColumn(q)});
  const std::string time = TimeToText(csv ? "hh:mm" : "hhmm", q.QsoTime());
  const std::string mode = csv ? TrimBlanks(q.Mode()) : PadTo(q.Mode(), 6);
  return Concat({number_and_date, sep, time, sep, TailColumns(q, w, sep, QsoListBand(q.Band(), kind), mode)});
}

std::string BandListLine(const QsoRecord& q, const ColumnWidths& w, OutputKind kind) {
  const std::string_view sep = kind == OutputKind::kCsv ? ";" : " ";
  std::string band = BandName(q.Band(), false);
  if (!band.empty()) band.pop_back();
  return Concat({DateColumn(q), sep, TimeToText("hhmm", q.QsoTime()), sep,
                 TailColumns(q, w, sep, PadTo(band, 4), PadTo(q.Mode(), 4))});
}

bool WriteQsoList(LineWriter& w, const OutputSources& src) {
  const TContestDefinition& def = src.definition;
  const ColumnWidths widths = MeasureColumns(def);
  const std::string_view sep = w.Separator();
  const std::string column_line = Concat({"Nr   ", "DATE  ", sep, TitleColumns(def, widths, sep, "MODE  ")});
  const std::string title = PadTo(Concat({def.ContestName, "  -  QSO-Liste     CALL: ", src.own_call}), kQsoListTitleWidth);
  int page = 0;
  auto page_header = [&] {
    ++page;
    if (w.kind() != OutputKind::kCsv) {
      WritePageTitle(w, title, page);
      w.BlankLine();
    }
    w.WriteLine(column_line);
  };
  page_header();
  if (w.printed()) {
    w.PageBreak(page_header);
    w.BlankLine();
    w.PageBreak(page_header);
  }

  size_t longest = 0;
  {
    SavedLogBuffer saved;
    Fileblock* log = TheLog();
    int n = 0;
    for (log->First(qso::kKeyRecordNo); StorageErrorClass() == 0; log->Next(qso::kKeyRecordNo)) {
      ++n;
      w.PageBreak(page_header);
      const QsoRecord q = LogRecord();
      if (q.IsBandChangeMarker()) continue;
      const std::string line = QsoListLine(q, n, widths, w.kind());
      w.WriteLine(line);
      longest = std::max(longest, TrimBlanks(line).size());
    }
  }

  if (w.kind() != OutputKind::kCsv) {
    w.KeepTogether(4, page_header);
    w.BlankLine();
    const std::string score = Concat({FormatPictureInt("#######", src.TotalPoints()), " Punkte"});
    w.WriteLine(score.size() < longest ? Right(score, longest) : score);
  }
  return w.ok();
}

bool WriteBandList(LineWriter& w, const OutputSources& src) {
  const TContestDefinition& def = src.definition;
  const ColumnWidths widths = MeasureColumns(def);
  const std::string_view sep = w.Separator();
  const std::string title = PadTo(Concat({def.ContestName, "  Band List   ", src.own_call}), kBandListTitleWidth);
  const std::string column_line = Concat({"DATE  ", sep, TitleColumns(def, widths, sep, "MODE")});
  int page = 0;
  auto page_header = [&] {
    WritePageTitle(w, title, ++page);
    w.BlankLine();
    w.WriteLine(column_line);
  };
  page_header();

  SavedLogBuffer saved;
  Fileblock* log = TheLog();
  for (char band : def.BandCodes) {
    if (band == 0) continue;
    for (int i = 0; i < 2; ++i) {
      w.PageBreak(page_header);
      w.BlankLine();
    }
    w.PageBreak(page_header);
    w.SetBold(true);
    w.WriteLine(Concat({"Band List   ", src.own_call, "   ", BandName(band, false)}));
    w.SetBold(false);
    w.PageBreak(page_header);
    w.BlankLine();
    for (log->FindAtLeast(qso::kKeyBand, std::string(1, band)); StorageErrorClass() == 0;
         log->Next(qso::kKeyBand)) {
      const QsoRecord q = LogRecord();
      if (q.Band() != band) break;
      if (q.IsBandChangeMarker()) continue;
      w.PageBreak(page_header);
      w.WriteLine(BandListLine(q, widths, w.kind()));
    }
  }
  return w.ok();
}

}  // namespace kontura
