#pragma once
// TContestBrow: the main window. It runs the start-up sequence of the
// session, shows the contest list of the edition with its buttons, applies
// the suite's colour scheme, and closes everything in order when it closes.
// What the buttons do with a contest is the catalogue actions' business; the
// window names the contest of the list's current row by its number.

#include <QWidget>
#include <memory>

#include "app/catalogue_actions.h"
#include "app/contest_brow.h"
#include "app/contest_catalogue.h"
#include "contest/qt/contest_config.h"

class QLabel;
class QFrame;
class QPushButton;

namespace kontura {

class TfkBrow;

class TContestBrow : public QWidget {
  Q_OBJECT

 public:
  // actions may be nullptr: the window then runs the catalogue with the
  // configuration dialog and log_window (nullptr: the logging window is
  // reported as not yet available). The window owns neither.
  explicit TContestBrow(CatalogueActions* actions = nullptr, LogWindowLauncher* log_window = nullptr,
                        QWidget* parent = nullptr);
  ~TContestBrow() override;

  // Runs the start-up steps. Returns the session's outcome; on anything but
  // kReady the window must not be shown (storage failure: exit code 1).
  ContestBrowSession::Outcome FormCreate();

  // Shows the window and, when the contest file is empty, leads straight into
  // creating a contest.
  void ShowAndGreet();

  TfkBrow* List() const { return m_list; }
  ContestBrowSession& Session() { return m_session; }

  // The path of the program's help page.
  static QString HelpFilePath();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void LoadPictures();
  void SetUpList();
  void ApplyColourScheme();
  void RefreshCallLabel();
  void LayoutControls();
  void PositionOnCurrentContest();
  void btnStartenClick();
  // The contest number of the list's current row; 0 for an empty list.
  int32_t SelectedContest();
  WindowPlacement Placement() const;
  void btnHilfeClick();
  bool AskToQuit();
  void CloseSession();

  ContestBrowSession m_session;
  QtConfigurationDialog m_config_dialog;
  UnavailableLogWindow m_unavailable_log_window;
  ContestCatalogue m_catalogue;
  CatalogueActions* m_actions;
  bool m_closing_asked = false;

  QLabel* m_stripe = nullptr;
  QLabel* m_title_picture = nullptr;
  QLabel* m_side_picture = nullptr;
  QLabel* m_heading = nullptr;
  QLabel* m_l_utils = nullptr;
  QLabel* m_l_call = nullptr;
  QLabel* m_menue_beenden = nullptr;
  QLabel* m_product = nullptr;
  QLabel* m_hinweis_update = nullptr;
  QLabel* m_hinweis_update2 = nullptr;
  QFrame* m_panel = nullptr;
  QLabel* m_panel_caption = nullptr;
  TfkBrow* m_list = nullptr;
  QPushButton* m_btn_neu = nullptr;
  QPushButton* m_btn_starten = nullptr;
  QPushButton* m_btn_loeschen = nullptr;
  QPushButton* m_btn_schliessen = nullptr;
  QPushButton* m_btn_hilfe = nullptr;
  QPushButton* m_btn_transceiver = nullptr;  // the rig's settings
};

}  // namespace kontura
