// The program entry: application title, start directory, platform services,
// then the main window until it closes.

#include <QApplication>

#include "app/qt/contest_brow.h"
#include "app/qt/log_window_launcher.h"
#include "platform/platform.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_documents.h"
#include "platform/qt/qt_progress.h"
#include "refdata/prefix_choice.h"
#include "refdata/qt/prefix_choice_dialog.h"
#include "storage/catalogue.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kontura"));

  kontura::QtDialogs dialogs;
  kontura::QtDocuments documents;
  kontura::InstallDialogs(&dialogs);
  kontura::InstallDocuments(&documents);
  kontura::QtProgress progress;
  kontura::InstallProgress(&progress);
  // Ambiguous prefixes are answered by the operator in the choice dialog.
  kontura::QtPrefixChooser prefix_chooser;
  kontura::InstallPrefixChooser(&prefix_chooser);

  // The start directory is the current directory: every fileblock lives there.
  kontura::SetStartDirFromCurrentDirectory();

  int rc = 0;
  {
    kontura::QtLogWindowLauncher log_window;
    kontura::TContestBrow window(nullptr, &log_window);
    log_window.SetMainWindow(&window);
    switch (window.FormCreate()) {
      case kontura::ContestBrowSession::Outcome::kReady:
        window.ShowAndGreet();
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
  kontura::InstallPrefixChooser(nullptr);
  kontura::InstallProgress(nullptr);
  kontura::InstallDocuments(nullptr);
  kontura::InstallDialogs(nullptr);
  return rc;
}
