#pragma once
// ContestCatalogue: the catalogue actions on FHKK, FHKZ and the QSO logs.
// Each action takes the contest number of the list's current row and reads
// the contest back by that number (FHKK key 3, FHKZ key 1) before it acts,
// so neither the dialog, the logging window nor the deletion ever works on
// a record the list happened to leave in the shared buffers.

#include <functional>

#include "app/catalogue_actions.h"
#include "contest/contest_config.h"

namespace kontura {

class ContestBrowSession;

class ContestCatalogue : public CatalogueActions {
 public:
  // None of the references is owned; all must outlive the catalogue.
  // placement tells where the main window stands when logging starts.
  ContestCatalogue(ContestBrowSession& session, ConfigurationDialogRunner& dialog, LogWindowLauncher& log_window,
                   std::function<WindowPlacement()> placement);

  // "Neu". Afterwards the FHKK buffer holds the new contest when one was stored.
  void New() override;
  void Start(int32_t contest_number) override;
  void Delete(int32_t contest_number) override;
  void StartLogging(int32_t contest_number) override;
  bool DeleteWithoutQuestion(int32_t contest_number) override;

  // The notice before a new contest.
  static std::string NewVersionNotice();

  // Makes the contest the current FHKK record (key 3) and makes sure its
  // totals record exists and is the current FHKZ record. False when the
  // contest is not there (any more).
  static bool ReadContest(int32_t contest_number);

  // Erases the contest's QSO log files, its totals record and its header.
  // Nothing is deleted when the QSO log cannot be opened.
  static bool EraseContest(int32_t contest_number);

  // The quick-search key of the contest list under key_nr: under the name
  // key the key of the first contest of the edition whose name begins with
  // the typed (upper-cased) text in any case, so that a name typed in small
  // letters is found; otherwise the edition code in front of the text.
  static std::string QuickSearchKey(int key_nr, char edition_code, const std::string& upper_text);

 private:
  ContestBrowSession& m_session;
  ConfigurationDialogRunner& m_dialog;
  LogWindowLauncher& m_log_window;
  std::function<WindowPlacement()> m_placement;
};

}  // namespace kontura
