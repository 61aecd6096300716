#include "logging/qt/qso_list_view.h"

#include <QLabel>
#include <QTableWidget>
#include <map>
#include <memory>
#include <string>

#include "logging/log_access.h"
#include "logging/log_opening.h"
#include "logging/qso_correction.h"
#include "logging/qso_list_rows.h"
#include "logging/qt/qso_correction.h"
#include "platform/qt/qt_text.h"
#include "text/text_util.h"
#include "ui/qt/fk_brow.h"

namespace kontura {
namespace {

// Finds the list again where the current row was: the log was renumbered,
// so record numbers changed, but the key of the row (QSO number, call,
// band and number) points to the same place.
void Reposition(TfkBrow& brow, const std::string& key) {
  brow.GotoKey(key, 0);
}

// A row as wide as rows usually get: the widths of its cells (and of the
// titles) are the columns' widths until the operator has set his own.
std::vector<std::string> WidestCells() {
  QsoRecord q;
  q.SetQsoNo(99999);
  q.SetQsoDate(0);
  q.SetQsoTime(0);
  q.SetCall("DL2MOB/MM");
  q.SetBand('l');
  q.SetMode("SSB");
  q.SetSentExchange("599 042/JO62QM");
  q.SetRecvExchange("599 042/JO62QM");
  q.SetPoints(9999);
  q.SetQslSent('N');
  q.SetQslReceived('Y');
  q.SetNameQth("Hans-Peter;Ortsname");
  q.SetFrequency(1296.2f);
  return SplitCells(QsoListRow(q));
}

int DefaultWidth(const TfkBrow& brow, int column) {
  static const std::vector<std::string> cells = WidestCells();
  static const std::vector<std::string> titles = SplitCells(QsoListHeader());
  const auto* grid = brow.findChild<const QTableWidget*>(QStringLiteral("grid"));
  const QFontMetrics fm(grid ? grid->font() : brow.font());
  constexpr int kPadding = 12;
  if (column == 0) return fm.horizontalAdvance(QLatin1Char('+')) + kPadding;  // the marker column
  const size_t t = static_cast<size_t>(column - 1);
  if (t >= cells.size()) return 0;
  const QString title = ToQString(TrimBlanks(titles[t]));
  return std::max(fm.horizontalAdvance(title), fm.horizontalAdvance(ToQString(cells[t]))) + kPadding;
}

}  // namespace

void InstallQsoListRows(TfkBrow& brow, int32_t contest_number) {
  // Whether the record of a row is marked; filled while the rows are built.
  auto marked = std::make_shared<std::map<int32_t, bool>>();
  auto widths = std::make_shared<std::vector<int>>(ReadQsoListColumnWidths(contest_number));
  brow.OnBuildRow = [marked](RowRec& row) {
    row.text = QsoListRow(LogRecord());
    const bool is_marked = !row.text.empty() && row.text[0] == kMarkedRow;
    if (is_marked) row.text.erase(0, 1);
    (*marked)[row.ref] = is_marked;
  };
  brow.OnFindeSelectRow = [marked](int ref) {
    const auto it = marked->find(ref);
    return it != marked->end() && it->second ? 1 : 0;
  };
  brow.OnSetHeaderFooter = [&brow] { brow.SetHeaderFooter(QsoListHeader(), ""); };
  brow.OnBrowColWidths = [widths, &brow](int column) {
    const int stored =
        column >= 0 && static_cast<size_t>(column) < widths->size() ? (*widths)[static_cast<size_t>(column)] : 0;
    return stored > 0 ? stored : DefaultWidth(brow, column);
  };
  for (const char* name : {"eSuch", "lSuchBild"}) {
    if (auto* w = brow.findChild<QWidget*>(QString::fromLatin1(name))) {
      w->hide();
      w->setEnabled(false);
    }
  }
}

void InstallQsoListCorrection(TfkBrow& brow, ContestLog& log, QWidget* dialog_parent, std::function<void()> after) {
  auto change = [&brow, &log, dialog_parent, after] {
    if (!brow.ReadCurrent() || !brow.Browser()->Current()) return;
    const std::string key = brow.Browser()->Current()->key;
    if (ChangeQsoWithDialog(dialog_parent, log, LogRecord().RecordNo()) == ChangeOutcome::kNothing) return;
    Reposition(brow, key);
    if (after) after();
  };
  brow.OnBrowEnter = change;
  brow.OnBrowDoppelKlick = change;
  // The panel has read the row's record; the correction's deletion runs
  // instead of the panel's own question, which is never asked here.
  brow.OnBefore_Loesch = [&brow, &log, after] {
    const std::string key = brow.Browser()->Current() ? brow.Browser()->Current()->key : std::string();
    if (DeleteQsoWithDialogs(log, LogRecord().RecordNo()) == DeleteOutcome::kDeleted) {
      Reposition(brow, key);
      if (after) after();
    }
    return false;
  };
}

std::vector<int> QsoListColumnWidths(const TfkBrow& brow) {
  std::vector<int> widths;
  if (const auto* grid = brow.findChild<const QTableWidget*>(QStringLiteral("grid"))) {
    for (int c = 0; c < grid->columnCount(); ++c) widths.push_back(grid->columnWidth(c));
  }
  return widths;
}

}  // namespace kontura
