#include "ui/qt/text_viewer.h"

#include <QDialog>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/platform.h"
#include "platform/qt/qt_text.h"
#include "ui/qt/text_printing.h"

namespace kontura {
namespace {

bool WriteText(const QString& path, const QString& text) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const std::string bytes = FromQString(text);
  return file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

}  // namespace

bool ShowTextFile(const std::string& path, QWidget* parent) {
  const QString file_name = QString::fromStdString(path);
  QFile file(file_name);
  QString text;
  if (file.open(QIODevice::ReadOnly)) {
    const QByteArray bytes = file.readAll();
    text = ToQString(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    file.close();
  }
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("TextViewer"));
  dialog.setWindowTitle(file_name);
  auto* layout = new QVBoxLayout(&dialog);
  auto* area = new QPlainTextEdit(&dialog);
  area->setObjectName(QStringLiteral("mText"));
  area->setLineWrapMode(QPlainTextEdit::NoWrap);
  area->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  area->setPlainText(text);
  layout->addWidget(area);
  auto* buttons = new QHBoxLayout;
  auto* save = new QPushButton(QStringLiteral("Speichern und Beenden"), &dialog);
  save->setObjectName(QStringLiteral("btnSpeichern"));
  auto* print = new QPushButton(QStringLiteral("Drucken"), &dialog);
  print->setObjectName(QStringLiteral("btnDrucken"));
  for (QPushButton* b : {save, print}) b->setAutoDefault(false);
  buttons->addWidget(print);
  buttons->addStretch();
  buttons->addWidget(save);
  layout->addLayout(buttons);

  bool saved = false;
  auto store = [&] {
    if (WriteText(file_name, area->toPlainText())) return true;
    TheDialogs().ShowMessage("Die Datei konnte nicht gespeichert werden.");
    return false;
  };
  QObject::connect(save, &QPushButton::clicked, &dialog, [&] {
    if (!store()) return;
    saved = true;
    dialog.accept();
  });
  QObject::connect(print, &QPushButton::clicked, &dialog, [&] {
    if (store()) PrintTextFile(path, &dialog);
  });
  dialog.resize(760, 560);
  area->setFocus();
  dialog.exec();
  return saved;
}

}  // namespace kontura
