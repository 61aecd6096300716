#pragma once
// TPrefAuswahl, "Auswahl DXCC": the operator picks one of the entities a
// prefix offers. The rows come from the core (CollectCandidates); the dialog
// only shows them and reports the row taken. QtPrefixChooser runs it for the
// look-up.

#include <QDialog>
#include <string>
#include <vector>

#include "refdata/prefix_choice.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kontura {

class TPrefAuswahl : public QDialog {
  Q_OBJECT

 public:
  TPrefAuswahl(const std::string& name, const std::vector<PrefixCandidate>& rows, QWidget* parent = nullptr);

  // The selected row (0-based), -1 when none is selected.
  int SelectedRow() const { return m_selected; }
  // The row taken after the dialog closed with OK, else -1.
  int TakenRow() const { return result() == QDialog::Accepted ? m_selected : -1; }

  // The row widgets, named "row1", "row2", ... for tests and style.
  QWidget* RowWidget(int row) const { return m_rows.at(static_cast<size_t>(row)); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Select(int row);
  void btnUebernahmeClick();

  std::vector<QWidget*> m_rows;
  int m_selected = -1;
  QLineEdit* m_focus = nullptr;
  QPushButton* m_take = nullptr;
};

// The chooser the program installs: shows TPrefAuswahl modally.
class QtPrefixChooser : public PrefixChooser {
 public:
  int Choose(std::string_view name, const std::vector<PrefixCandidate>& rows) override;
};

}  // namespace kontura
