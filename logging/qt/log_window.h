#pragma once
// TContestLogStd: the logging window. It draws the entry mask of the core
// (logging/qso_entry.h) and forwards typing, Enter, focus changes and the
// clock's ticks to it; the QSO list is the record list panel over the log
// in record-number order; the evaluation panel shows the running totals.
// What the keys and buttons do, and when they act, is the model's
// (logging/log_window.h).
//
// The window runs modally for one contest. Opening runs the core's opening
// of the log; closing (the red "Contest beenden", the button, the window's
// close box) stores the list's column widths and runs the core's closing;
// afterwards the FHKK and FHKZ buffers hold the contest's records.
//
// Controls by object name: mask fields eCall, eRSTs, eSent2, eSent3,
// eSent4, eRSTr, eRecv2, eRecv3, eRecv4, eFreq, eName, eQth, eUTC, eDatum
// (captions l + the same stem, e.g. lCall); labels lRSTsWert, lSentWert,
// lRSTrWert, lUTCWert, lDatumWert, lMode, lBand, lQsl, lQso, lNextNumber,
// lHinweis, lOwnCall, lContestBeenden, lListCaption; choice lists lbBand,
// lbMode; buttons btnClear, btnMode, btnBand, btnListe, btnKorrektur,
// btnCallsuche, btnHilfe, btnNotiz, btnNameQth, btnAendern, btnLoeschen,
// btnBandlog, btnBeenden, btnImport; the list brow; evaluation panel
// pnlAuswertung with lBandName1.., lBandQsos1.., lBandPoints1.., lTotalQsos,
// lScore.

#include <QDialog>
#include <QRect>
#include <array>
#include <functional>
#include <memory>

#include "contest/contest_definition.h"
#include "logging/entry_mask.h"
#include "logging/log_backup.h"
#include "logging/rig_follow.h"
#include "logging/rig_poller.h"
#include "logging/qso_correction.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;
class QToolButton;
class QFrame;

namespace kontura {

class CallLettering;
class ContestLog;
class EntityLookup;
class LogWindow;
// The window's model (logging/log_window.h) stays out of this header: the
// entry's names must not meet the configuration dialog's in one unit.
enum class LogCommand : int;
enum class LogChoice : int;
class TfkBrow;
class TfkEdit;

class TContestLogStd : public QDialog {
  Q_OBJECT

 public:
  // The ADIF import, which lives above the logging layer: it gets the open
  // log and the window as parent. Empty: the button says the import is not
  // available yet.
  using ImportAction = std::function<void(ContestLog&, QWidget*)>;

  TContestLogStd(int32_t contest_number, TContestDefinition definition, EntityLookup& lookup,
                 ImportAction import = {}, QWidget* parent = nullptr);
  ~TContestLogStd() override;

  // Takes the main window's place: maximised stays maximised, otherwise the
  // same bounds (an empty rectangle keeps the window's own size).
  void TakePlacement(bool maximised, const QRect& bounds);

  // Opens the log and fills the window. False when the log cannot be
  // opened; the window must then not be shown.
  bool FormCreate();

  LogWindow& Model() { return *m_model; }
  TfkBrow* List() const { return m_list; }
  // The widget of a mask field (nullptr for none).
  TfkEdit* Field(MaskField f) const { return m_fields[static_cast<size_t>(f)]; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void BuildControls();
  void BuildMask();
  void BuildButtons();
  void BuildList();
  void BuildEvaluation();
  void LayoutControls();

  // Draws the model: mask texts, captions, labels, focus.
  void ShowMask();
  void ShowScore();
  void ShowArea();
  // After any entry action: the mask, and when a QSO was stored the list
  // (its last page only) and the evaluation panel.
  void AfterEntry();
  void PositionListOnLastEntry();
  void PositionListOnCurrentBand();

  bool HandleKey(QObject* watched, QKeyEvent* key);
  bool HandleFieldKey(MaskField f, QKeyEvent* key);
  void Run(LogCommand command);
  void OpenChoice(LogChoice choice);
  void ChooseInList(QListWidget* list);
  void CloseChoiceList();
  void FocusMask();
  void FocusList();

  void RunCorrection(CorrectionMode mode);
  void OpenNote();
  void RunImport();
  void ShowHelp();

  void FieldTextEdited(MaskField f);
  void FocusEntered(QWidget* now);

  // The automatic backup of the log (logging/log_backup.h); the worker is
  // declared first so that the backup, which waits for it, goes first.
  void StartBackup();
  void ShowBackupStatus();
  // The transceiver, when the program's settings name one: read on a
  // thread of its own, applied to the mask on every poll.
  void StartRig();
  void StopRig();
  void ApplyRig();

  QMetaObject::Connection m_focus_watch;
  ThreadBackupWorker m_backup_worker;
  std::unique_ptr<LogBackup> m_backup;
  std::unique_ptr<LogWindow> m_model;
  std::unique_ptr<RigFollower> m_rig_follower;
  std::unique_ptr<RigPoller> m_rig_poller;
  ImportAction m_import;
  ListWindowGeometry m_list_geometry;
  bool m_closed = false;
  bool m_placed_maximised = false;
  QRect m_placed_bounds;
  int32_t m_shown_next_qso = -1;

  std::array<TfkEdit*, kMaskFieldCount> m_fields{};
  std::array<QLabel*, kMaskFieldCount> m_captions{};
  // Designed positions of the mask's controls, for the widening.
  std::vector<std::pair<QWidget*, QRect>> m_mask_places;

  QFrame* m_picture_column = nullptr;
  QLabel* m_l_end = nullptr;
  QPushButton* m_btn_import = nullptr;
  CallLettering* m_own_call = nullptr;
  QLabel* m_l_qso = nullptr;
  QLabel* m_l_next_number = nullptr;
  QLabel* m_l_hint = nullptr;
  QLabel* m_l_sent_report = nullptr;
  QLabel* m_l_sent_exchange = nullptr;
  QLabel* m_l_recv_report = nullptr;
  QLabel* m_l_time_value = nullptr;
  QLabel* m_l_date_value = nullptr;
  QLabel* m_l_mode = nullptr;
  QLabel* m_l_band = nullptr;
  QLabel* m_l_qsl = nullptr;
  QListWidget* m_lb_band = nullptr;
  QListWidget* m_lb_mode = nullptr;
  std::array<QToolButton*, 9> m_picture_buttons{};
  QLabel* m_list_caption = nullptr;
  TfkBrow* m_list = nullptr;
  QPushButton* m_btn_change = nullptr;
  QPushButton* m_btn_delete = nullptr;
  QPushButton* m_btn_band_log = nullptr;
  QPushButton* m_btn_end = nullptr;
  QFrame* m_evaluation = nullptr;
  std::vector<std::array<QLabel*, 3>> m_score_rows;
  QLabel* m_l_total_qsos = nullptr;
  QLabel* m_l_score = nullptr;
  QTimer* m_clock = nullptr;
  QLabel* m_l_backup = nullptr;
  QLabel* m_l_rig = nullptr;
  QTimer* m_rig_timer = nullptr;
};

}  // namespace kontura
