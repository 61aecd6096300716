#include "platform/qt/qt_progress.h"

#include <QDialog>

namespace kontura {

QtProgress::QtProgress() = default;
QtProgress::~QtProgress() = default;
void QtProgress::Start(std::string_view, int32_t, bool) {}
void QtProgress::Step(int32_t) {}
void QtProgress::Finish() {}

}  // namespace kontura
