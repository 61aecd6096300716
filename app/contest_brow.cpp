#include "app/contest_brow.h"

#include "app/contest_list.h"

#include "app/storage_setup.h"
#include "contest/contest_config.h"
#include "contest/contest_header.h"
#include "platform/platform.h"
#include "refdata/date_time_pictures.h"
#include "refdata/setup_record.h"
#include "refdata/suite_records.h"
#include "refdata/suite_settings.h"
#include "refdata/suite_settings_store.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"
#include "storage/storage_error.h"

namespace kontura {

std::string ContestBrowSession::EmptyPrefixFileText() {
  return "Achtung: Die Pr\xE4" "fixdatei konnte nicht gefunden werden bzw. ist leer. "
         "Ohne diese Datei kann das Programm nicht korrekt arbeiten!\r"
         "Die Pr\xE4" "fixdatei erstellen Sie im Datenverzeichnis des Programms mit "
         "\"kontura-tool prefixdb /usr/share/hamradio-files/cty.csv\" (Debian-Paket hamradio-files).";
}

std::string ContestBrowSession::CallLabelText() {
  const SuiteSettings& s = TheSuiteSettings();
  return s.OwnCall.empty() ? s.SwlNumber : s.OwnCall;
}

ContestBrowSession::Outcome ContestBrowSession::Start() {
  InstallDateTimeSeparators();
  if (!StartStorage()) return Outcome::kStorageFailed;
  m_storage_started = true;
  SuiteSettings& settings = TheSuiteSettings();
  settings.OwnCall.clear();

  // The own-station record: the first record by key 1, added when missing.
  if (OpenFHSETUP()) {
    Fileblock* setup = CatalogueHandle(CatalogueId::kFhsetup);
    if (FirstRecordOrAddCleared(setup)) {
      int32_t profile = ConstSetupRecord(setup->RecordBuffer()).ProfileNumber();
      if (profile > 0) settings.ProfileNumber = profile;
    }
    CloseFHSETUP();
  }

  // The station profile in use, else the first one, else none.
  if (!OpenFHPRO()) return Outcome::kProfileFailed;
  m_profile_open = true;
  Fileblock* profiles = CatalogueHandle(CatalogueId::kFhpro);
  profiles->FindExact(1, NumberToKey(settings.ProfileNumber));
  if (StorageErrorClass() != 0) {
    profiles->First(1);
    if (StorageErrorClass() != 0) profiles->ClearBuffer();
  }
  int32_t profile_in_use = ProfileNumber(profiles->RecordBuffer());

  LoadSuiteSettings();
  settings.ProfileNumber = profile_in_use;  // the profile found, not the one asked for

  m_shared_open = true;
  if (OpenFHSETUP2()) FirstRecordOrAddCleared(CatalogueHandle(CatalogueId::kFhsetup2));
  if (OpenFHPREFIX()) {
    if (CatalogueHandle(CatalogueId::kFhprefix)->RecordCount() <= 0) {
      TheDialogs().ShowMessage(EmptyPrefixFileText());
    }
  }
  OpenFHPREFEE();
  OpenFHPREFES();
  OpenFHKK();
  OpenFHKZ();
  FillDefinition();
  return Outcome::kReady;
}

void ContestBrowSession::FillDefinition() {
  FillDefinitionFromHeader(m_definition, CatalogueRecord(CatalogueId::kFhkk));
}

bool ContestBrowSession::ContestFileEmpty() const {
  Fileblock* fhkk = CatalogueHandle(CatalogueId::kFhkk);
  return fhkk && fhkk->RecordCount() == 0;
}

void ContestBrowSession::Close() {
  if (!m_storage_started) return;
  if (m_shared_open) {
    CloseFHKZ();
    CloseFHKK();
    CloseFHPREFIX();
    CloseFHPREFES();
    CloseFHPREFEE();
    CloseFHSETUP2();
    SaveSuiteSettings();
    m_shared_open = false;
  }
  if (m_profile_open) {
    CloseFHPRO();
    m_profile_open = false;
  }
  StopStorage();
  m_storage_started = false;
}

Fileblock* ContestBrowSession::ContestFileblock() { return CatalogueHandle(CatalogueId::kFhkk); }

std::string ContestBrowSession::ContestRowOfBuffer(int key_nr) {
  const uint8_t* header = CatalogueRecord(CatalogueId::kFhkk);
  return header ? ContestRowText(header, key_nr) : std::string();
}

bool ContestBrowSession::SelectLatestContest() {
  Fileblock* fhkk = ContestFileblock();
  if (!fhkk) return false;
  fhkk->Last(kContestListKeyDate);
  return StorageErrorClass() == 0;
}

bool ContestBrowSession::CurrentContestPosition(int key_nr, std::string* key, int32_t* ref) {
  Fileblock* fhkk = ContestFileblock();
  if (!fhkk || fhkk->CurrentRef() < 0) return false;
  *key = fhkk->MakeKey(key_nr);
  *ref = fhkk->CurrentRef();
  return true;
}

}  // namespace kontura
