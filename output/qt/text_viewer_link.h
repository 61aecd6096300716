#pragma once
// The text viewer of the SUM, ALL and BND files as the outputs reach it.

#include "output/export_menu.h"

class QWidget;

namespace kontura {

class QtTextFileViewer : public TextFileViewer {
 public:
  explicit QtTextFileViewer(QWidget* parent = nullptr) : m_parent(parent) {}
  void ShowTextFile(const std::string& path) override;

 private:
  QWidget* m_parent;
};

}  // namespace kontura
