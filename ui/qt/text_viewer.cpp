#include "ui/qt/text_viewer.h"

namespace kontura {

bool ShowTextFile(const std::string&, QWidget*) { return false; }

}  // namespace kontura
