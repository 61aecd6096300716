#pragma once
// Opens documents and web addresses with the desktop's associated application.

#include <QString>

#include "platform/documents.h"

namespace kontura {

class QtDocuments : public Documents {
 public:
  bool OpenDocument(std::string_view path) override;
};

// The program's help page, beside the program or where it is installed
// (platform/help_page.h).
QString HelpPagePath();

}  // namespace kontura
