#include "platform/qt/qt_file_dialogs.h"

#include <QDir>
#include <QFileDialog>

#include "platform/qt/qt_text.h"

namespace kontura {
namespace {

// The save dialogs: the label, whose parentheses hold the pattern.
QString QtFilter(std::string_view filter) {
  const std::string_view label = filter.substr(0, filter.find('|'));
  return ToQString(label);
}

// The open dialogs: the label's words and the patterns behind "|", also in
// small letters, since file names here are case-sensitive.
QString QtOpenFilter(std::string_view filter) {
  const size_t bar = filter.find('|');
  if (bar == std::string_view::npos) return QtFilter(filter);
  QString label = ToQString(filter.substr(0, bar));
  const int paren = label.indexOf(QLatin1String(" ("));
  if (paren >= 0) label.truncate(paren);
  QStringList patterns;
  for (const QString& p : ToQString(filter.substr(bar + 1)).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    patterns << p << p.toLower();
  }
  patterns.removeDuplicates();
  return label + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

std::optional<std::string> Run(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FromQString(QDir::toNativeSeparators(dialog.selectedFiles().first()));
}

}  // namespace

std::optional<std::string> QtFileDialogs::SaveFileName(std::string_view filter, std::string_view proposed,
                                                       std::string_view default_extension) {
  QFileDialog dialog(m_parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(QtFilter(filter));
  dialog.setDefaultSuffix(ToQString(default_extension));
  dialog.selectFile(ToQString(proposed));
  return Run(dialog);
}

std::optional<std::string> QtFileDialogs::OpenFileName(std::string_view filter, std::string_view default_extension) {
  QFileDialog dialog(m_parent);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QtOpenFilter(filter));
  QString suffix = ToQString(default_extension);
  suffix.remove(QStringLiteral("*."));
  dialog.setDefaultSuffix(suffix);
  return Run(dialog);
}

}  // namespace kontura
