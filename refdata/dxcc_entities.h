#pragma once
// The list of DXCC entity prefixes by entity number. The suite has always
// numbered entities this way; the prefix database may name an entity
// differently, and the look-ups that turn an entity prefix into a number
// consult this list first.

#include <string>
#include <string_view>

namespace kontura {

// Entity numbers run from 1 to kDxccEntityCount; some numbers have no prefix.
inline constexpr int kDxccEntityCount = 516;

// The base-call split only knows the entities up to this number.
inline constexpr int kDxccEntitiesOfCallParts = 513;

// The entry of entity `number`: its prefix padded with blanks to 5 characters,
// or 5 blanks for a number without a prefix or outside 1..kDxccEntityCount.
std::string DxccEntityTable(int number);

// The lowest entity number from 1 to `last` whose entry, trimmed, equals
// `prefix` exactly; 0 when none does. An empty prefix matches nothing (empty
// entries are not prefixes).
int FindDxccEntity(std::string_view prefix, int last = kDxccEntityCount);

}  // namespace kontura
