#include "logging/prefix_entity_lookup.h"

#include "refdata/prefix_choice.h"
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

namespace {

// Cancels every choice: the look-up then ends with a cleared working entry.
class NoChoice : public PrefixChooser {
 public:
  int Choose(std::string_view, const std::vector<PrefixCandidate>&) override { return -1; }
};

}  // namespace

std::string PrefixEntityLookup::PreviewEntityPrefix(std::string_view call, int32_t date) {
  NoChoice none;
  PrefixChooser* old = InstallPrefixChooser(&none);
  const int result = kontura::ResolvePrefix(call, date, 0, nullptr);
  InstallPrefixChooser(old);
  return result == 0 ? WorkingEntry().entity_prefix : std::string();
}

}  // namespace kontura
