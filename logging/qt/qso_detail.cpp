#include "logging/qt/qso_detail.h"

#include <QCloseEvent>

namespace kontura {

TQsoDetail::TQsoDetail(QsoDetailModel& model, QWidget* parent) : QDialog(parent), m_model(model) {}
bool TQsoDetail::eventFilter(QObject* watched, QEvent* event) { return QDialog::eventFilter(watched, event); }
void TQsoDetail::reject() { accept(); }
void TQsoDetail::closeEvent(QCloseEvent* event) { QDialog::closeEvent(event); }
void TQsoDetail::BuildControls() {}
void TQsoDetail::ShowModel() {}
void TQsoDetail::ReadFields() {}
void TQsoDetail::FinishAndAccept() {}

void QtQsoDetailRunner::Run(QsoDetailModel& model) {
  TQsoDetail dialog(model, m_parent);
  dialog.exec();
}

}  // namespace kontura
