#pragma once
// The one place where record text (Windows-1252 bytes) meets Qt's Unicode.

#include <QString>
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace kontura {

inline QString ToQString(std::string_view cp1252) {
  return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

inline std::string FromQString(const QString& text) {
  return Utf8ToCp1252(text.toStdString());
}

}  // namespace kontura
