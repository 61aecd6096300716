#pragma once
// The detail dialog "QSO ändern": shows a QsoDetailModel and writes the
// operator's edits back into it. Enter moves to the next field in tab order
// (after the last to the first); Esc, "Beenden [ESC]" and closing the
// window all end it with OK, the frequency's leave rule running first when
// the focus is in "Freq".
//
// Controls by object name: lNummer, eCall, eDatum, eUTC, eRSTs, eRSTr,
// eSent2, eSent3, eSent4, eRecv2, eRecv3, eRecv4, eQSLs, eQSLr, eDXCC,
// cbBand, cbMode, eFreq, eName, eQTH, btnBeenden.

#include <QDialog>
#include <array>
#include <vector>

#include "logging/qso_correction.h"
#include "logging/qso_detail.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace kontura {

class TQsoDetail : public QDialog {
  Q_OBJECT

 public:
  explicit TQsoDetail(QsoDetailModel& model, QWidget* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void reject() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QLineEdit* AddEdit(const char* name, int max_length, bool capitals);
  void BuildControls();
  void ShowModel();
  void ReadFields();
  void FocusNextField(QWidget* from);
  void FinishAndAccept();

  QsoDetailModel& m_model;
  bool m_updating = false;  // the model is being shown: no echo back
  bool m_finished = false;
  QLabel* m_number = nullptr;
  QLineEdit* m_call = nullptr;
  QLineEdit* m_date = nullptr;
  QLineEdit* m_time = nullptr;
  QLineEdit* m_sent_report = nullptr;
  QLineEdit* m_recv_report = nullptr;
  std::array<QLineEdit*, 3> m_sent{};
  std::array<QLineEdit*, 3> m_recv{};
  QLineEdit* m_qsl_sent = nullptr;
  QLineEdit* m_qsl_received = nullptr;
  QLineEdit* m_dxcc = nullptr;
  QComboBox* m_band = nullptr;
  QComboBox* m_mode = nullptr;
  QLineEdit* m_frequency = nullptr;
  QLineEdit* m_name = nullptr;
  QLineEdit* m_qth = nullptr;
  // The fields in tab order, for Enter.
  std::vector<QWidget*> m_order;
};

// Runs TQsoDetail modally over `parent`.
class QtQsoDetailRunner : public QsoDetailRunner {
 public:
  explicit QtQsoDetailRunner(QWidget* parent) : m_parent(parent) {}
  void Run(QsoDetailModel& model) override;

 private:
  QWidget* m_parent;
};

}  // namespace kontura
