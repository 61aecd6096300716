#include "platform/qt/qt_documents.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace kontura {

bool QtDocuments::OpenDocument(std::string_view path) {
  const std::string target = ShellOpenTarget(path);
  QString text = QString::fromStdString(target);
  QUrl url = text.contains(QStringLiteral("://")) || text.startsWith(QStringLiteral("mailto:")) ? QUrl(text)
                                                                                                 : QUrl::fromLocalFile(text);
  return QDesktopServices::openUrl(url);
}

}  // namespace kontura
