#pragma once
// The printer of the printed outputs: Qt's print dialog and printer (a CUPS
// printer or "print to file" as PDF), with the page as the line writer sees
// it. "Courier New" 9 is asked for; on Linux fontconfig gives Liberation
// Mono, which has the same widths.

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <QString>
#include <memory>

#include "output/export_menu.h"
#include "output/line_writer.h"

class QWidget;

namespace kontura {

class QtPrintPage : public PrintPage {
 public:
  QtPrintPage(QPrinter& printer, QPainter& painter);
  int ResolutionX() const override;
  int PageHeight() const override;
  int TextHeight(std::string_view text) const override;
  void DrawText(int x, int y, std::string_view text) override;
  void SetBold(bool bold) override;
  void NewPage() override;

 private:
  QPrinter& m_printer;
  QPainter& m_painter;
  QFont m_font;
};

class QtPrintJobs : public PrintJobs {
 public:
  // With the print dialog.
  explicit QtPrintJobs(QWidget* parent = nullptr) : m_parent(parent) {}
  // Straight into a PDF file, without a dialog (tests, previews).
  static QtPrintJobs ToPdf(const QString& path);

  PrintPage* BeginPrint(std::string_view job_name) override;
  void EndPrint() override;

 private:
  QWidget* m_parent = nullptr;
  QString m_pdf_path;
  std::unique_ptr<QPrinter> m_printer;
  std::unique_ptr<QPainter> m_painter;
  std::unique_ptr<QtPrintPage> m_page;
};

// The printer font.
QFont PrinterFont();

}  // namespace kontura
