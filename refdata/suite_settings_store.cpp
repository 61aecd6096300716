#include "refdata/suite_settings_store.h"

#include "refdata/base_call.h"
#include "refdata/suite_settings.h"
#include "storage/catalogue.h"
#include "storage/storage_error.h"

namespace kontura {
namespace {

bool g_setup_available = false;

// Makes the first record of an open fileblock the current one; adds a cleared
// record when the fileblock is empty. Returns true when a stored record was
// found, false when it had to be added.
bool FirstOrAdd(Fileblock* fb) {
  fb->First(1);
  if (StorageErrorClass() == 0) return true;
  fb->ClearBuffer();
  fb->AddRecord();
  return false;
}

}  // namespace

void LoadSuiteSettings() {
  SuiteSettings& s = TheSuiteSettings();
  g_setup_available = OpenFHSETUP();
  if (!g_setup_available) return;
  Fileblock* setup = CatalogueHandle(CatalogueId::kFhsetup);
  if (FirstOrAdd(setup)) {
    TakeSetupRecord(setup->RecordBuffer(), s);
    if (s.StoredSuffixes) InstallStoredSuffixEntries(*s.StoredSuffixes);
  }
  CloseFHSETUP();

  if (OpenFHSETUP2()) {
    Fileblock* setup2 = CatalogueHandle(CatalogueId::kFhsetup2);
    if (FirstOrAdd(setup2)) TakeSetup2Record(setup2->RecordBuffer(), s);
    CloseFHSETUP2();
  }
}

void SaveSuiteSettings() {
  if (!g_setup_available) return;
  if (OpenFHSETUP()) {
    Fileblock* setup = CatalogueHandle(CatalogueId::kFhsetup);
    FirstOrAdd(setup);
    if (StorageErrorClass() == 0) {
      PutSetupRecord(TheSuiteSettings(), setup->RecordBuffer());
      setup->UpdateRecord();
    }
    CloseFHSETUP();
  }
  // The second set-up record belongs to the suite: it is written back as read.
  if (OpenFHSETUP2()) {
    Fileblock* setup2 = CatalogueHandle(CatalogueId::kFhsetup2);
    FirstOrAdd(setup2);
    if (StorageErrorClass() == 0) setup2->UpdateRecord();
    CloseFHSETUP2();
  }
}

}  // namespace kontura
