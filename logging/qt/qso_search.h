#pragma once
// The search dialog "Suche" over the call-ordered QSO list: "Rufzeichen:"
// (focused), "Suche starten" (default button) and "Abbruch". Starting the
// search turns the call into its base call in capitals, switches the list
// to key 2 and goes to the first QSO at or after it; Esc and "Abbruch"
// close without moving.
//
// Controls by object name: eRufzeichen, btnSuchen, btnAbbruch.

#include <QDialog>

class QLineEdit;

namespace kontura {

class TfkBrow;

class TSucheQE : public QDialog {
  Q_OBJECT

 public:
  TSucheQE(TfkBrow& brow, QWidget* parent = nullptr);

 private:
  void StartSearch();
  TfkBrow& m_brow;
  QLineEdit* m_call = nullptr;
};

}  // namespace kontura
