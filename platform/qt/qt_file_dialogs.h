#pragma once
// The common file dialogs through Qt. The filter "label|pattern" of the
// logic becomes the Qt filter "label" (whose parentheses hold the pattern
// Qt shows); the proposed name is preselected.

#include "platform/file_dialogs.h"

class QWidget;

namespace kontura {

class QtFileDialogs : public FileDialogs {
 public:
  explicit QtFileDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
  std::optional<std::string> SaveFileName(std::string_view filter, std::string_view proposed,
                                          std::string_view default_extension) override;
  std::optional<std::string> OpenFileName(std::string_view filter, std::string_view default_extension) override;

 private:
  QWidget* m_parent;
};

}  // namespace kontura
