#include "platform/qt/qt_documents.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "platform/help_page.h"

namespace kontura {

bool QtDocuments::OpenDocument(std::string_view path) {
  const std::string target = ShellOpenTarget(path);
  QString text = QString::fromStdString(target);
  QUrl url = text.contains(QStringLiteral("://")) || text.startsWith(QStringLiteral("mailto:")) ? QUrl(text)
                                                                                                 : QUrl::fromLocalFile(text);
  return QDesktopServices::openUrl(url);
}

QString HelpPagePath() {
  return QString::fromStdString(kontura::HelpPagePath(QCoreApplication::applicationDirPath().toStdString()));
}

}  // namespace kontura
