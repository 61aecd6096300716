#pragma once
// Opens documents and web addresses with the desktop's associated application.

#include "platform/documents.h"

namespace kontura {

class QtDocuments : public Documents {
 public:
  bool OpenDocument(std::string_view path) override;
};

}  // namespace kontura
