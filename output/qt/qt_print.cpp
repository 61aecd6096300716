#include "output/qt/qt_print.h"

#include <QFontMetrics>
#include <QPrintDialog>

#include "platform/qt/qt_text.h"

namespace kontura {

QFont PrinterFont() {
  QFont font(QStringLiteral("Courier New"), 9);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  return font;
}

QtPrintPage::QtPrintPage(QPrinter& printer, QPainter& painter)
    : m_printer(printer), m_painter(painter), m_font(PrinterFont()) {
  m_painter.setFont(m_font);
}

int QtPrintPage::ResolutionX() const { return m_printer.logicalDpiX(); }

int QtPrintPage::PageHeight() const {
  return m_printer.pageLayout().paintRectPixels(m_printer.resolution()).height();
}

int QtPrintPage::TextHeight(std::string_view text) const {
  (void)text;  // the font's height, as the printer measures it
  return QFontMetrics(m_font, &m_printer).height();
}

// The line writer's y is the top of the line; Qt draws at the baseline.
void QtPrintPage::DrawText(int x, int y, std::string_view text) {
  const QFontMetrics metrics(m_font, &m_printer);
  m_painter.drawText(x, y + metrics.ascent(), ToQString(text));
}

void QtPrintPage::SetBold(bool bold) {
  m_font.setBold(bold);
  m_painter.setFont(m_font);
}

void QtPrintPage::NewPage() { m_printer.newPage(); }

QtPrintJobs QtPrintJobs::ToPdf(const QString& path) {
  QtPrintJobs jobs;
  jobs.m_pdf_path = path;
  return jobs;
}

PrintPage* QtPrintJobs::BeginPrint(std::string_view job_name) {
  m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  m_printer->setDocName(ToQString(job_name));
  m_printer->setPageSize(QPageSize(QPageSize::A4));
  if (!m_pdf_path.isEmpty()) {
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setOutputFileName(m_pdf_path);
  } else {
    QPrintDialog dialog(m_printer.get(), m_parent);
    if (dialog.exec() != QDialog::Accepted) {
      m_printer.reset();
      return nullptr;
    }
  }
  m_painter = std::make_unique<QPainter>();
  if (!m_painter->begin(m_printer.get())) {
    m_painter.reset();
    m_printer.reset();
    return nullptr;
  }
  m_page = std::make_unique<QtPrintPage>(*m_printer, *m_painter);
  return m_page.get();
}

void QtPrintJobs::EndPrint() {
  m_page.reset();
  if (m_painter) m_painter->end();
  m_painter.reset();
  m_printer.reset();
}

}  // namespace kontura
