#include "output/line_writer.h"

namespace kontura {

bool FileSink::Create(const std::string& path) {
  Close();
  m_failed = false;
  m_file = std::fopen(path.c_str(), "wb");
  return m_file != nullptr;
}

void FileSink::Write(std::string_view bytes) {
  if (m_file == nullptr || m_failed || bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) m_failed = true;
}

bool FileSink::Close() {
  if (m_file == nullptr) return !m_failed;
  if (std::fflush(m_file) != 0) m_failed = true;
  if (std::fclose(m_file) != 0) m_failed = true;
  m_file = nullptr;
  return !m_failed;
}

LineWriter::LineWriter(OutputKind kind, TextSink& sink) : m_kind(kind), m_sink(&sink) {}

LineWriter::LineWriter(PrintPage& page) : m_kind(OutputKind::kPrinted), m_page(&page) {
  const int dpi = page.ResolutionX();
  m_x = static_cast<int>(dpi * 1.4 / 2.54);
  m_top = static_cast<int>(dpi * 1.0 / 2.54);
  m_line_height = static_cast<int>(page.TextHeight("XygW") * 1.1);
  if (m_line_height < 1) m_line_height = 1;
  m_y = m_top;
}

void LineWriter::WriteLine(std::string_view text, bool advance) {
  if (m_page != nullptr) {
    m_page->DrawText(m_x, m_y, text);
    if (advance) m_y += m_line_height;
    return;
  }
  if (m_kind != OutputKind::kCsv) m_sink->Write(kFileLineIndent);
  m_sink->Write(text);
  m_sink->Write(kLineEnd);
}

void LineWriter::SetBold(bool bold) {
  if (m_page != nullptr) m_page->SetBold(bold);
}

void LineWriter::StartNewPage(const std::function<void()>& page_header) {
  m_page->NewPage();
  m_y = m_top;
  m_x = static_cast<int>(m_page->ResolutionX() * 1.4 / 2.54);
  if (page_header) page_header();
}

void LineWriter::PageBreak(const std::function<void()>& page_header) {
  if (m_page == nullptr) return;
  if (m_page->PageHeight() < m_y + m_line_height) StartNewPage(page_header);
}

void LineWriter::KeepTogether(int lines, const std::function<void()>& page_header) {
  if (m_page == nullptr) return;
  if (m_page->PageHeight() - m_y < lines * m_line_height) StartNewPage(page_header);
}

}  // namespace kontura
