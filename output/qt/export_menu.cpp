#include "output/qt/export_menu.h"

#include <QMenu>
#include <QWidget>

#include "output/export_menu.h"
#include "output/qt/qt_print.h"
#include "output/qt/text_viewer_link.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_text.h"

namespace kontura {
namespace {

const char* ObjectName(OutputId id) {
  switch (id) {
    case OutputId::kTotalFile: return "actTotalFile";
    case OutputId::kSummaryFile: return "actSummaryFile";
    case OutputId::kQsoListFile: return "actQsoListFile";
    case OutputId::kBandListFile: return "actBandListFile";
    case OutputId::kAdifFile: return "actAdifFile";
    case OutputId::kCsvFile: return "actCsvFile";
    case OutputId::kPrintedSummary: return "actPrintedSummary";
    case OutputId::kPrintedQsoList: return "actPrintedQsoList";
    case OutputId::kPrintedBandList: return "actPrintedBandList";
  }
  return "";
}

void Run(OutputId id, int32_t contest_number, QWidget* parent) {
  QtFileDialogs files(parent);
  QtTextFileViewer viewer(parent);
  QtPrintJobs printer(parent);
  OutputServices services{files, viewer, printer};
  RunOutput(id, contest_number, services);
}

}  // namespace

void FillExportMenu(QMenu& menu, const TContestDefinition& def) {
  for (const ExportMenuItem& item : ExportMenuItems(def)) {
    if (item.separator) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(ToQString(item.caption));
    action->setEnabled(item.enabled);
    if (!item.output) continue;
    action->setObjectName(QString::fromLatin1(ObjectName(*item.output)));
    action->setData(static_cast<int>(*item.output));
  }
}

void RunExportAction(const QAction& action, int32_t contest_number, QWidget* parent) {
  if (!action.data().isValid()) return;
  Run(static_cast<OutputId>(action.data().toInt()), contest_number, parent);
}

void ShowExportMenu(int32_t contest_number, const TContestDefinition& def, QWidget* button) {
  QMenu menu(button);
  menu.setObjectName(QStringLiteral("ExportMenu"));
  FillExportMenu(menu, def);
  // The output runs after the menu has closed, so that its dialogs are
  // not opened from inside the menu's event loop.
  if (QAction* chosen = menu.exec(button->mapToGlobal(QPoint(0, 0)))) RunExportAction(*chosen, contest_number, button);
}

}  // namespace kontura
