#include "refdata/suite_settings_store.h"

#include "refdata/base_call.h"
#include "refdata/suite_settings.h"
#include "storage/catalogue.h"
#include "storage/storage_error.h"

namespace kontura {
namespace {

bool g_setup_available = false;

}  // namespace

void LoadSuiteSettings() {
  SuiteSettings& s = TheSuiteSettings();
  g_setup_available = OpenFHSETUP();
  if (!g_setup_available) return;
  Fileblock* setup = CatalogueHandle(CatalogueId::kFhsetup);
  if (FirstRecordOrAddCleared(setup)) {
    TakeSetupRecord(setup->RecordBuffer(), s);
    if (s.StoredSuffixes) InstallStoredSuffixEntries(*s.StoredSuffixes);
  }
  CloseFHSETUP();

  if (OpenFHSETUP2()) {
    Fileblock* setup2 = CatalogueHandle(CatalogueId::kFhsetup2);
    if (FirstRecordOrAddCleared(setup2)) TakeSetup2Record(setup2->RecordBuffer(), s);
    CloseFHSETUP2();
  }
}

void SaveSuiteSettings() {
  if (!g_setup_available) return;
  if (OpenFHSETUP()) {
    Fileblock* setup = CatalogueHandle(CatalogueId::kFhsetup);
    FirstRecordOrAddCleared(setup);
    if (StorageErrorClass() == 0) {
      PutSetupRecord(TheSuiteSettings(), setup->RecordBuffer());
      setup->UpdateRecord();
    }
    CloseFHSETUP();
  }
  // The second set-up record belongs to the suite: it is written back as read.
  if (OpenFHSETUP2()) {
    Fileblock* setup2 = CatalogueHandle(CatalogueId::kFhsetup2);
    FirstRecordOrAddCleared(setup2);
    if (StorageErrorClass() == 0) setup2->UpdateRecord();
    CloseFHSETUP2();
  }
}

}  // namespace kontura
