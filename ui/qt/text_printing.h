#pragma once
// Printing a text file through the print dialog and the printer (a CUPS
// printer or a PDF file), in a fixed-pitch font, page after page.

#include <string>

class QWidget;

namespace kontura {

// Asks for the printer and prints the file (Windows-1252 text). False when
// the operator cancelled or the file could not be read.
bool PrintTextFile(const std::string& path, QWidget* parent = nullptr);

}  // namespace kontura
