#pragma once
// The logging window as the catalogue starts it: TContestLogStd runs
// modally over the contest, the main window hidden meanwhile. When it
// returns, the FHKK and FHKZ buffers hold the contest's header and totals,
// which the catalogue writes back.

#include <QPointer>
#include <QWidget>

#include "app/catalogue_actions.h"
#include "logging/qt/log_window.h"

namespace kontura {

class QtLogWindowLauncher : public LogWindowLauncher {
 public:
  // import: the ADIF import the window's button runs (empty: not there yet).
  explicit QtLogWindowLauncher(TContestLogStd::ImportAction import = {}) : m_import(std::move(import)) {}

  // The window hidden while a contest is logged; may be set after the
  // launcher was handed to it.
  void SetMainWindow(QWidget* main_window) { m_main_window = main_window; }

  void RunLogWindow(int32_t contest_number, TContestDefinition definition,
                    const WindowPlacement& placement) override;

 private:
  TContestLogStd::ImportAction m_import;
  QPointer<QWidget> m_main_window;
};

}  // namespace kontura
