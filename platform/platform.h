#pragma once
// The process-wide platform services. The program installs the toolkit's
// implementations at start; tests install scripted ones. Until something is
// installed, the console dialogs and the system clock serve.

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/documents.h"

namespace kontura {

Dialogs& TheDialogs();
Clock& TheClock();
Documents& TheDocuments();

// Installs a service and returns the one it replaces. nullptr restores the
// default. The caller keeps ownership and must outlive the installation.
Dialogs* InstallDialogs(Dialogs* dialogs);
Clock* InstallClock(Clock* clock);
Documents* InstallDocuments(Documents* documents);

}  // namespace kontura
