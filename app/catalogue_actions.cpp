#include "app/catalogue_actions.h"

#include "platform/platform.h"

namespace kontura {

std::string UnavailableCatalogueActions::Text() {
  return "Diese Funktion ist in dieser Programmversion noch nicht verf\xFC" "gbar.\r"
         "Contests anlegen, bearbeiten, l\xF6schen und loggen folgt mit dem Konfigurationsdialog "
         "und dem Logfenster.";
}

void UnavailableCatalogueActions::Tell() { TheDialogs().ShowMessage(Text()); }

}  // namespace kontura
