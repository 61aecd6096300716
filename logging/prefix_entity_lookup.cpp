#include "logging/prefix_entity_lookup.h"

#include "refdata/prefix_lookup.h"
#include "refdata/prefix_record.h"
#include "storage/catalogue.h"

namespace kontura {

int PrefixEntityLookup::ResolvePrefix(std::string_view call, int32_t date, bool* chosen) {
  // This program never passes QSO data to the choice: source 0.
  return kontura::ResolvePrefix(call, date, 0, chosen);
}

EntityLookup::Entry PrefixEntityLookup::WorkingEntry() const {
  const uint8_t* rec = CatalogueRecord(CatalogueId::kFhprefix);
  if (rec == nullptr) return {};
  const ConstPrefixRecord working(rec);
  return {working.EntityPrefix(), working.ContinentCode()};
}

}  // namespace kontura
