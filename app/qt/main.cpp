// The program entry: application title, platform services, the data
// directory (app/data_directory.h), then the main window until it closes.

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <clocale>

#include "app/data_directory.h"
#include "app/qt/contest_brow.h"
#include "app/qt/log_window_launcher.h"
#include "contest/qt/contest_config.h"
#include "output/qt/adif_import_dialog.h"
#include "output/qt/export_menu.h"
#include "platform/platform.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_documents.h"
#include "platform/qt/qt_progress.h"
#include "refdata/prefix_choice.h"
#include "refdata/qt/prefix_choice_dialog.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // QApplication takes the desktop's locale, and a German desktop would give
  // the C library a decimal comma: the mask, the E-Log and ADIF files write
  // their numbers with the point. hamlib also switches LC_NUMERIC to "C" while
  // it opens a rig and restores the old name afterwards, which it has freed
  // by then unless the old name was "C" itself.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("Kontura"));
  // The installed desktop entry and icon carry this name.
  QApplication::setDesktopFileName(QStringLiteral("de.kontura.Kontura"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("de.kontura.Kontura")));

  kontura::QtDialogs dialogs;
  kontura::QtDocuments documents;
  kontura::InstallDialogs(&dialogs);
  kontura::InstallDocuments(&documents);
  kontura::QtProgress progress;
  kontura::InstallProgress(&progress);
  // Ambiguous prefixes are answered by the operator in the choice dialog.
  kontura::QtPrefixChooser prefix_chooser;
  kontura::InstallPrefixChooser(&prefix_chooser);

  // "Drucken / E-Log" in the configuration dialog opens the export menu.
  kontura::SetExportMenuHook(kontura::ShowExportMenu);

  // The data directory becomes the current and start directory: every
  // fileblock lives there. QApplication has taken its own options from argv.
  const kontura::ProgramStart start =
      kontura::PrepareProgramStart(std::vector<std::string>(argv + 1, argv + argc), kontura::ProcessEnvironment());

  int rc = start.exit_code;
  if (start.go_on) {
    // "Import von ADIF-Dateien" in the logging window runs the import dialog.
    kontura::QtLogWindowLauncher log_window(kontura::RunAdifImport);
    kontura::TContestBrow window(nullptr, &log_window);
    log_window.SetMainWindow(&window);
    switch (window.FormCreate()) {
      case kontura::ContestBrowSession::Outcome::kReady:
        if (start.quit_when_shown) {
          // KONTURA_QUIT_WHEN_SHOWN: the installation test ends the program
          // once the main window is up, without the first-start dialog.
          window.show();
          QTimer::singleShot(0, &window, &QWidget::close);
        } else {
          window.ShowAndGreet();
        }
        rc = app.exec();
        break;
      case kontura::ContestBrowSession::Outcome::kStorageFailed:
        rc = 1;
        break;
      case kontura::ContestBrowSession::Outcome::kProfileFailed:
        rc = 0;  // the window closes without a message of its own
        break;
    }
  }
  kontura::SetExportMenuHook(nullptr);
  kontura::InstallPrefixChooser(nullptr);
  kontura::InstallProgress(nullptr);
  kontura::InstallDocuments(nullptr);
  kontura::InstallDialogs(nullptr);
  return rc;
}
