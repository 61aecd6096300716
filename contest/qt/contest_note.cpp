#include "contest/qt/contest_note.h"

#include <QPlainTextEdit>

#include "contest/contest_note.h"

namespace kontura {

TContNotiz::TContNotiz(const std::string& path, const std::string&, QWidget* parent) : QDialog(parent), m_path(path) {}
void TContNotiz::reject() { QDialog::reject(); }
void TContNotiz::Save() {}
void TContNotiz::Print() {}
bool OpenContestNote(QWidget*, int32_t, const std::string&) { return false; }

}  // namespace kontura
