#include "platform/qt/qt_documents.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace kontura {

bool QtDocuments::OpenDocument(std::string_view path) {
  QString text = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
  QUrl url = text.contains(QStringLiteral("://")) ? QUrl(text) : QUrl::fromLocalFile(text);
  return QDesktopServices::openUrl(url);
}

}  // namespace kontura
