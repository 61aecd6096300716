#pragma once
// The DXCC entity of a QSO: which entity and continent its call belongs to,
// found through the prefix look-up, and what stays when the operator chose
// the entity by hand.

#include <cstdint>
#include <string>
#include <string_view>

namespace kontura {

class QsoRecord;

// What the entity determination needs from the prefix look-up. The program's
// implementation runs ResolvePrefix over the prefix fileblocks and reads the
// working entry (the FHPREFIX record buffer); tests use a small table.
class EntityLookup {
 public:
  struct Entry {
    std::string entity_prefix;   // EntityPrefix, up to 6 characters
    std::string continent_code;  // ContinentCode, up to 2 characters
  };

  virtual ~EntityLookup() = default;

  // ResolvePrefix(call, date, source 0): 0 = found, the working entry holds
  // it; 1 = no entry; 2 = the entry is not valid at the date. *chosen is set
  // when the operator picked the entry in the choice dialog.
  virtual int ResolvePrefix(std::string_view call, int32_t date, bool* chosen) = 0;

  // The working entry as it stands, without a new look-up.
  virtual Entry WorkingEntry() const = 0;

  // The entity prefix of a call for display while it is typed: never asks
  // the operator to choose among alternatives (an entry that offers some
  // shows no entity) and leaves no choice behind. Empty when none is found.
  virtual std::string PreviewEntityPrefix(std::string_view call, int32_t date) {
    bool chosen = false;
    return ResolvePrefix(call, date, &chosen) == 0 ? WorkingEntry().entity_prefix : std::string();
  }
};

enum class EntityResult {
  Manual,    // DxccManual is set: nothing looked up
  Found,     // Dxcc (when it was empty) and Continent set
  NotFound,  // no entity, but the call is too short to count as unknown
  Unknown,   // no entity for a call of 3 or more characters; the caller reports it
};

// Determines the entity of the QSO and recomputes its points (except when
// the result is Unknown). `entity_chosen` is the EntityChosen flag the
// logging window keeps for the QSO in the mask: once the operator has picked
// an entity, every later determination for that QSO reuses the working entry
// instead of looking up again, also after the call was edited. The window
// clears the flag when it prepares a new QSO and when the duplicate check
// clears the mask.
EntityResult DetermineEntity(QsoRecord& qso, bool& entity_chosen, EntityLookup& lookup);

}  // namespace kontura
