#include "platform/qt/qt_documents.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "platform/help_page.h"

namespace kontura {

bool QtDocuments::OpenDocument(std::string_view path) {
  QString text = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
  QUrl url = text.contains(QStringLiteral("://")) ? QUrl(text) : QUrl::fromLocalFile(text);
  return QDesktopServices::openUrl(url);
}

QString HelpPagePath() {
  return QString::fromStdString(kontura::HelpPagePath(QCoreApplication::applicationDirPath().toStdString()));
}

}  // namespace kontura
