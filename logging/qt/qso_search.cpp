#include "logging/qt/qso_search.h"

#include "ui/qt/fk_brow.h"

namespace kontura {

TSucheQE::TSucheQE(TfkBrow& brow, QWidget* parent) : QDialog(parent), m_brow(brow) {}
void TSucheQE::StartSearch() {}

}  // namespace kontura
