// The program entry: application title, start directory, platform services,
// then the main window.

#include <QApplication>
#include <QDir>
#include <QWidget>

#include "platform/platform.h"
#include "platform/qt/qt_dialogs.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kontura"));

  kontura::QtDialogs dialogs;
  kontura::InstallDialogs(&dialogs);

  // The start directory is the current directory: every fileblock lives there.
  QWidget window;
  window.setObjectName(QStringLiteral("ContestBrow"));
  window.setWindowTitle(QStringLiteral("Brixam Kontura Version 2010-1.0 Großraum-Mobilwettbewerb 80m"));
  window.resize(800, 600);
  window.show();
  int rc = app.exec();
  kontura::InstallDialogs(nullptr);
  return rc;
}
