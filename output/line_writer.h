#pragma once
// The one line writer every output goes through, and the targets it writes
// to: a text file (E-Log, CSV or ADIF) or a printer page.
//
// Files: an E-Log or ADIF line is five blanks, the text and CR LF; a CSV
// line is the text and CR LF. Texts are Windows-1252 bytes as the records
// hold them and are written unchanged.
//
// Printed: the text is drawn at (x, y) in "Courier New" 9 (Liberation Mono
// here); x is 1.4 cm from the left edge, a new page starts 1 cm from the
// top, and a line is 1.1 times the height of "XygW" in that font, all
// measured in printer dots with the horizontal resolution.

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace kontura {

enum class OutputKind { kPrinted, kELog, kCsv, kAdif };

// Where the bytes of a file output go.
class TextSink {
 public:
  virtual ~TextSink() = default;
  virtual void Write(std::string_view bytes) = 0;
  // True once a write was refused (a full disk); later writes are dropped.
  virtual bool Failed() const = 0;
};

// Collects the bytes; for the tool's checks and the tests.
class StringSink : public TextSink {
 public:
  void Write(std::string_view bytes) override { text.append(bytes); }
  bool Failed() const override { return false; }
  std::string text;
};

// A file created (or emptied) by Create and written through stdio.
class FileSink : public TextSink {
 public:
  FileSink() = default;
  ~FileSink() override { Close(); }
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  // Creates the file, replacing an existing one. False when it cannot be
  // created (no such folder, no permission).
  bool Create(const std::string& path);
  void Write(std::string_view bytes) override;
  bool Failed() const override { return m_failed; }
  // Flushes and closes; false when a write or the flush failed. Closing a
  // closed sink returns whether the earlier writes went through.
  bool Close();

 private:
  std::FILE* m_file = nullptr;
  bool m_failed = false;
};

// A printer page as the printed outputs see it. Coordinates are printer
// dots. Texts are Windows-1252.
class PrintPage {
 public:
  virtual ~PrintPage() = default;
  virtual int ResolutionX() const = 0;   // horizontal dots per inch
  virtual int PageHeight() const = 0;    // printable height in dots
  virtual int TextHeight(std::string_view text) const = 0;  // in the current font
  virtual void DrawText(int x, int y, std::string_view text) = 0;
  virtual void SetBold(bool bold) = 0;
  virtual void NewPage() = 0;
};

class LineWriter {
 public:
  // A file output of kind kELog, kCsv or kAdif.
  LineWriter(OutputKind kind, TextSink& sink);
  // A printed output: margins and line height are taken from the page; the
  // first line goes to the top margin.
  explicit LineWriter(PrintPage& page);

  OutputKind kind() const { return m_kind; }
  bool printed() const { return m_kind == OutputKind::kPrinted; }
  // The separator of list columns: ";" in CSV files, a blank elsewhere.
  std::string_view Separator() const { return m_kind == OutputKind::kCsv ? ";" : " "; }

  // Writes one line; with `advance` the next line goes below it (printed).
  void WriteLine(std::string_view text, bool advance = true);
  void BlankLine() { WriteLine(" "); }
  // Bold type for the lines that follow; files have no styles.
  void SetBold(bool bold);

  // Printed lists: when the line to come no longer fits on the page, starts
  // a new page and writes the list's page header there. Files: nothing.
  void PageBreak(const std::function<void()>& page_header);
  // Printed: starts a new page when fewer than `lines` line heights remain.
  void KeepTogether(int lines, const std::function<void()>& page_header);

  // False when a file write failed.
  bool ok() const { return m_sink == nullptr || !m_sink->Failed(); }

  int left_margin() const { return m_x; }
  int top_margin() const { return m_top; }
  int line_height() const { return m_line_height; }
  int y() const { return m_y; }

 private:
  void StartNewPage(const std::function<void()>& page_header);

  OutputKind m_kind;
  TextSink* m_sink = nullptr;
  PrintPage* m_page = nullptr;
  int m_x = 1;
  int m_y = 1;
  int m_top = 0;
  int m_line_height = 1;
};

// Five blanks before every line of E-Log and ADIF files.
inline constexpr std::string_view kFileLineIndent = "     ";
inline constexpr std::string_view kLineEnd = "\r\n";

}  // namespace kontura
