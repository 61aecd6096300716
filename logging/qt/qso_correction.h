#pragma once
// TKorrekturstd: the QSO list window of the correction (F12), the call
// search (F4) and the band log (F3). A record list over the open log in the
// order and range of its mode; Enter or a double click changes the current
// QSO in the detail dialog, Del deletes it, Esc closes. The column widths
// come from the contest header and go back there on closing.
//
// Controls by object name: brow (the list, a TfkBrow).

#include <QDialog>
#include <cstdint>

#include "logging/qso_correction.h"

namespace kontura {

class TfkBrow;

class TKorrekturstd : public QDialog {
  Q_OBJECT

 public:
  // `band` is the band of the band log (ignored by the other modes).
  TKorrekturstd(ContestLog& log, CorrectionMode mode, char band, QWidget* parent = nullptr);
  ~TKorrekturstd() override;

  TfkBrow* Brow() const { return m_brow; }
  CorrectionMode Mode() const { return m_mode; }
  char Band() const { return m_band; }

  // Shows the window (and, in the call search, the search dialog over it)
  // at `geometry` when it was shown before, and remembers where it was when
  // it closes.
  void RunModal(ListWindowGeometry& geometry);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void done(int result) override;

 private:
  ContestLog& m_log;
  CorrectionMode m_mode;
  char m_band;
  TfkBrow* m_brow = nullptr;
  ListWindowGeometry* m_geometry = nullptr;
};

// Runs the list of `mode`; the band log first asks for the band. False when
// the band choice was cancelled (no list was shown).
bool RunQsoCorrection(QWidget* parent, ContestLog& log, CorrectionMode mode, ListWindowGeometry& geometry);

// The change and delete of one QSO with the Qt dialogs, for the logging
// window's own list.
ChangeOutcome ChangeQsoWithDialog(QWidget* parent, ContestLog& log, int32_t record_no);
DeleteOutcome DeleteQsoWithDialogs(ContestLog& log, int32_t record_no);

}  // namespace kontura
