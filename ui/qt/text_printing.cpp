#include "ui/qt/text_printing.h"

namespace kontura {

bool PrintTextFile(const std::string&, QWidget*) { return false; }

}  // namespace kontura
