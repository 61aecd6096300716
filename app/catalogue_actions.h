#pragma once
// The actions of the contest catalogue behind the main window's buttons:
// create, open (edit and start), delete a contest, and start logging. The
// main window only forwards to them, naming the contest of the list's
// current row by its number (0 when the list is empty); the list overwrites
// the shared FHKK buffer whenever it builds rows, so no action trusts what
// the buffer holds when it is called.

#include <cstdint>
#include <string>

#include "contest/contest_definition.h"

namespace kontura {

class CatalogueActions {
 public:
  virtual ~CatalogueActions() = default;
  virtual void New() = 0;                                 // "Neu"
  virtual void Start(int32_t contest_number) = 0;         // "Starten", Enter, F10, double click
  virtual void Delete(int32_t contest_number) = 0;        // "Löschen"
  virtual void StartLogging(int32_t contest_number) = 0;  // the hidden "Start [F10]"
  // The browser's deletion handler for the Delete key: the browser has asked
  // already, so there is no second question. True when the contest was deleted.
  virtual bool DeleteWithoutQuestion(int32_t contest_number) = 0;
};

// Where the main window stands, handed to the logging window so that it
// opens maximised or over the main window.
struct WindowPlacement {
  bool maximised = false;
  int x = 0, y = 0, width = 0, height = 0;
};

// Opens the logging window of a contest modally. When it returns, the FHKK
// and FHKZ buffers hold the header and totals the window wants stored (the
// catalogue writes them back).
class LogWindowLauncher {
 public:
  virtual ~LogWindowLauncher() = default;
  virtual void RunLogWindow(int32_t contest_number, TContestDefinition definition,
                            const WindowPlacement& placement) = 0;
};

// Until the logging window exists: tells the operator so.
class UnavailableLogWindow : public LogWindowLauncher {
 public:
  void RunLogWindow(int32_t contest_number, TContestDefinition definition,
                    const WindowPlacement& placement) override;
  static std::string Text();
};

}  // namespace kontura
