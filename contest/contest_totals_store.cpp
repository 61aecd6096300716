#include "contest/contest_totals_store.h"

#include "contest/contest_totals.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"
#include "storage/storage_error.h"

namespace kontura {

bool EnsureContestTotals(int32_t contest_number) {
  Fileblock* fhkz = CatalogueHandle(CatalogueId::kFhkz);
  if (!fhkz) return false;
  fhkz->FindExact(1, NumberToKey(contest_number));
  if (StorageErrorClass() == 0) return true;
  fhkz->ClearBuffer();
  TContestTotals totals(fhkz->RecordBuffer());
  PrepareMissingTotals(totals, contest_number);
  fhkz->AddRecord();
  return StorageErrorClass() == 0;
}

}  // namespace kontura
