#pragma once
// TEingContestStd: the configuration dialog of a contest. It shows the
// fields, hands their texts to ContestConfig (contest/contest_config.h) on
// every save and marks the field a refused save names; the checks and the
// storing are the logic's business.
//
// Controls by object name: eName, eDatumvon, eDatumbis, eZeitvon, eZeitbis,
// btnRegeln, eCall, eDOK, eSWL, ecname, eStrasse, ePLZ, eOrt, eLand, eLoc,
// eJahre, eteilnahmeart (group; its radio buttons rbTeilnahme1..),
// rbCW, rbSSB, rbFM, rbPR, eQSLw, eqslr, cbDatumAuto, cbZeitAuto,
// cbRstSent, cbRstRcvd, cbBandAuto, cbRstNichtSperren, cbDoppelQso,
// gbComputerzeit, rbOrtszeit, rbUTC, gbAuswertung (lBand1.., lQso1..,
// lMulti1.., lPunkte1.., lQsoTotal, lMultiTotal, lPunkteTotal, lScore),
// btnStart, btnBeenden, btnAbbrechen, btnHilfe, btnDruck.

#include <QDialog>
#include <array>
#include <functional>
#include <map>

#include "contest/contest_config.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kontura {

class TfkEdit;

class TEingContestStd : public QDialog {
  Q_OBJECT

 public:
  TEingContestStd(ConfigMode mode, TContestDefinition& def, QWidget* parent = nullptr);

  // Runs the opening steps and shows the dialog modally.
  ConfigDialogResult Run();

  // The fields as they stand, for the logic.
  ConfigFields Fields() const;

 protected:
  void reject() override;  // Esc and the window's close button
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void Fill(const ConfigFields& f);
  void ShowModeButtons();
  void ShowTotals();
  void ShowCaption();
  bool SaveConfiguration(SaveInitiator who);
  void Mark(ConfigField field);
  void Unmark(QWidget* w);
  QWidget* WidgetOf(ConfigField field) const;
  void CategoryClick(int item);
  void btnStartClick();
  void btnBeendenClick();
  void btnDruckClick();
  void Finish(bool start);

  ContestConfig m_config;
  const TContestDefinition& m_def;
  ConfigDialogResult m_result;

  TfkEdit* m_name = nullptr;
  TfkEdit* m_date_from = nullptr;
  TfkEdit* m_date_to = nullptr;
  TfkEdit* m_time_from = nullptr;
  TfkEdit* m_time_to = nullptr;
  TfkEdit* m_call = nullptr;
  TfkEdit* m_dok = nullptr;
  TfkEdit* m_swl = nullptr;
  TfkEdit* m_contact = nullptr;
  TfkEdit* m_street = nullptr;
  TfkEdit* m_plz = nullptr;
  TfkEdit* m_town = nullptr;
  TfkEdit* m_country = nullptr;
  TfkEdit* m_loc = nullptr;
  TfkEdit* m_participant = nullptr;
  TfkEdit* m_qsl_sent = nullptr;
  TfkEdit* m_qsl_rcvd = nullptr;
  QGroupBox* m_category_group = nullptr;
  QButtonGroup* m_categories = nullptr;
  QRadioButton* m_cw = nullptr;
  QRadioButton* m_ssb = nullptr;
  QRadioButton* m_fm = nullptr;
  QRadioButton* m_pr = nullptr;
  QCheckBox* m_auto_date = nullptr;
  QCheckBox* m_auto_time = nullptr;
  QCheckBox* m_rst_sent = nullptr;
  QCheckBox* m_rst_rcvd = nullptr;
  QCheckBox* m_auto_band = nullptr;
  QCheckBox* m_rst_unlocked = nullptr;
  QCheckBox* m_dupes = nullptr;
  QGroupBox* m_time_group = nullptr;
  QRadioButton* m_local = nullptr;
  QRadioButton* m_utc = nullptr;
  std::array<std::array<QLabel*, 4>, contest_header::kBandPositions> m_band_rows{};
  QLabel* m_qso_total = nullptr;
  QLabel* m_multi_total = nullptr;
  QLabel* m_points_total = nullptr;
  QLabel* m_score = nullptr;
  QPushButton* m_btn_start = nullptr;
  QPushButton* m_btn_beenden = nullptr;
  QPushButton* m_btn_abbrechen = nullptr;
  QPushButton* m_btn_hilfe = nullptr;
  QPushButton* m_btn_druck = nullptr;
  // The text a date or time field had when it got the focus.
  std::map<QObject*, std::string> m_text_at_focus;
};

// What "Drucken / E-Log" opens after a successful save: the export menu at
// the button. The outputs lie above this folder, so the program sets it at
// start; without it the button only saves and says that no outputs exist.
using ExportMenuHook = std::function<void(int32_t contest_number, const TContestDefinition& def, QWidget* button)>;
void SetExportMenuHook(ExportMenuHook hook);

// The dialog as the catalogue runs it.
class QtConfigurationDialog : public ConfigurationDialogRunner {
 public:
  explicit QtConfigurationDialog(QWidget* parent = nullptr) : m_parent(parent) {}
  void SetParent(QWidget* parent) { m_parent = parent; }
  ConfigDialogResult RunConfigurationDialog(ConfigMode mode, TContestDefinition& def) override;

 private:
  QWidget* m_parent;
};

}  // namespace kontura
