#pragma once
// The band choice "Band": the names of the contest's bands with the current
// band preselected. Enter or a double click closes with OK and the band;
// Esc closes with cancel.
//
// Controls by object name: lbBand.

#include <QDialog>
#include <vector>

class QListWidget;

namespace kontura {

class TStdGetBand : public QDialog {
  Q_OBJECT

 public:
  TStdGetBand(const std::vector<char>& bands, char current, QWidget* parent = nullptr);
  char SelectedBand() const;

 private:
  std::vector<char> m_bands;
  QListWidget* m_list = nullptr;
};

// Shows the choice; 0 when it was cancelled.
char ChooseBand(const std::vector<char>& bands, char current, QWidget* parent = nullptr);

}  // namespace kontura
