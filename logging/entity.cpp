#include "logging/entity.h"

#include "logging/points.h"
#include "logging/qso_record.h"

namespace kontura {

EntityResult DetermineEntity(QsoRecord& qso, bool& entity_chosen, EntityLookup& lookup) {
  // An entity chosen by hand is never recomputed from the call.
  if (qso.DxccManual() != 0) {
    RecomputePoints(qso);
    return EntityResult::Manual;
  }

  bool found = true;
  if (!entity_chosen) {
    bool chosen = false;
    found = lookup.ResolvePrefix(qso.Call(), qso.QsoDate(), &chosen) == 0;
    entity_chosen = chosen;
  }

  EntityResult result = EntityResult::Found;
  if (found) {
    const EntityLookup::Entry entry = lookup.WorkingEntry();
    // A value already in the record stays (set by hand or by an import).
    if (qso.Dxcc().empty()) qso.SetDxcc(entry.entity_prefix);
    qso.SetContinent(entry.continent_code);
    qso.SetTag3(0);
  } else {
    qso.SetDxcc("");
    qso.SetContinent("");
    qso.SetTag3(0);
    result = qso.Call().size() >= 3 ? EntityResult::Unknown : EntityResult::NotFound;
  }
  if (result != EntityResult::Unknown) RecomputePoints(qso);
  return result;
}

}  // namespace kontura
