#include "app/qt/log_window_launcher.h"

#include "logging/prefix_entity_lookup.h"

namespace kontura {

void QtLogWindowLauncher::RunLogWindow(int32_t contest_number, TContestDefinition definition,
                                       const WindowPlacement& placement) {
  PrefixEntityLookup lookup;
  TContestLogStd window(contest_number, std::move(definition), lookup, m_import);
  window.TakePlacement(placement.maximised, QRect(placement.x, placement.y, placement.width, placement.height));
  if (!window.FormCreate()) return;
  if (m_main_window) m_main_window->hide();
  window.exec();
  if (m_main_window) m_main_window->show();
}

}  // namespace kontura
