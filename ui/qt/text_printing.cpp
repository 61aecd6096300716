#include "ui/qt/text_printing.h"

#include <QFile>
#include <QFontDatabase>
#include <QPlainTextDocumentLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

#include "platform/qt/qt_text.h"

namespace kontura {

bool PrintTextFile(const std::string& path, QWidget* parent) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QString::fromStdString(path));
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Drucken"));
  if (dialog.exec() != QDialog::Accepted) return false;
  QTextDocument document;
  document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(10);
  document.setDefaultFont(font);
  document.setPlainText(ToQString(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))));
  document.print(&printer);
  return true;
}

}  // namespace kontura
