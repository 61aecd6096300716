#include "app/catalogue_actions.h"

#include "platform/platform.h"

namespace kontura {

std::string UnavailableLogWindow::Text() {
  return "Das Logfenster ist in dieser Programmversion noch nicht verf\xFC" "gbar.\r"
         "Die Contest-Konfiguration ist gespeichert; geloggt werden kann mit einer sp\xE4teren Version.";
}

void UnavailableLogWindow::RunLogWindow(int32_t, TContestDefinition, const WindowPlacement&) {
  TheDialogs().ShowMessage(Text());
}

}  // namespace kontura
