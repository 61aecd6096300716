#include "logging/qt/qso_correction.h"

#include <QKeyEvent>

#include "logging/qt/qso_detail.h"
#include "ui/qt/fk_brow.h"

namespace kontura {

TKorrekturstd::TKorrekturstd(ContestLog& log, CorrectionMode mode, char band, QWidget* parent)
    : QDialog(parent), m_log(log), m_mode(mode), m_band(band) {}

TKorrekturstd::~TKorrekturstd() = default;

void TKorrekturstd::RunModal(ListWindowGeometry&) {}
void TKorrekturstd::keyPressEvent(QKeyEvent* event) { QDialog::keyPressEvent(event); }
void TKorrekturstd::done(int result) { QDialog::done(result); }
void TKorrekturstd::ChangeCurrent() {}
void TKorrekturstd::DeleteCurrent() {}
int32_t TKorrekturstd::CurrentRecordNo() { return 0; }

bool RunQsoCorrection(QWidget*, ContestLog&, CorrectionMode, ListWindowGeometry&) { return false; }

ChangeOutcome ChangeQsoWithDialog(QWidget* parent, ContestLog& log, int32_t record_no) {
  QtQsoDetailRunner runner(parent);
  return ChangeQso(log, record_no, runner);
}

DeleteOutcome DeleteQsoWithDialogs(ContestLog& log, int32_t record_no) { return DeleteQso(log, record_no); }

}  // namespace kontura
