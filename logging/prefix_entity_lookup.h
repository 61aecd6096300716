#pragma once
// The program's EntityLookup: ResolvePrefix over the prefix database, and the
// working entry (the FHPREFIX record buffer) as the entry found. FHPREFIX must
// be open while it is used (the logging window keeps it open).

#include "logging/entity.h"

namespace kontura {

class PrefixEntityLookup : public EntityLookup {
 public:
  int ResolvePrefix(std::string_view call, int32_t date, bool* chosen) override;
  // The empty entry while FHPREFIX is closed.
  Entry WorkingEntry() const override;
  // Runs the look-up with a chooser that takes no row.
  std::string PreviewEntityPrefix(std::string_view call, int32_t date) override;
};

}  // namespace kontura
