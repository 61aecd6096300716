#pragma once
// Small hand-made prefix tables for tests: entries are added to FHPREFIX,
// FHPREFEE or FHPREFES through the storage engine, with the program's key
// builders.

#include <cstdint>
#include <string>

#include "refdata/prefix_record.h"
#include "storage/catalogue.h"
#include "storage/storage_error.h"

namespace kontura::testing {

struct PrefixEntry {
  std::string pattern;
  std::string entity;
  std::string continent = "EU";
  std::string alternative = "";
  std::string country = "";
  int16_t dxcc = 0;
  int32_t valid_from = 0;
  int32_t valid_to = 0;
  std::string former1 = "";
  int32_t former_until1 = 0;
  std::string former2 = "";
  int32_t former_until2 = 0;
  std::string redirect = "";
  char range_start = 0;
  char prefix_flag = 0;
  std::string remark = "";
  std::string cq = "14";
  std::string itu = "28";
};

// Adds the entry to the table, opening and closing it around the add. Returns
// false when the engine refused it.
inline bool AddPrefixEntry(const PrefixEntry& e, CatalogueId table = CatalogueId::kFhprefix) {
  if (!OpenCatalogued(table)) return false;
  Fileblock* fb = CatalogueHandle(table);
  fb->ClearBuffer();
  PrefixRecord r(fb->RecordBuffer());
  r.SetPatternText(e.pattern);
  r.SetEntityPrefix(e.entity);
  r.SetContinentCode(e.continent);
  r.SetAlternativeNo(e.alternative);
  r.SetCountryName(e.country.empty() ? e.entity + " land" : e.country);
  r.SetDxccNumber(e.dxcc);
  r.SetValidFrom(e.valid_from);
  r.SetValidTo(e.valid_to);
  r.SetFormerPrefix1(e.former1);
  r.SetFormerUntil1(e.former_until1);
  r.SetFormerPrefix2(e.former2);
  r.SetFormerUntil2(e.former_until2);
  r.SetRedirectPrefix(e.redirect);
  r.SetRangeStart(e.range_start);
  r.SetPrefixFlag(e.prefix_flag);
  r.SetRemark(e.remark);
  r.SetCqZone(e.cq);
  r.SetItuZone(e.itu);
  fb->AddRecord();
  const bool ok = StorageErrorClass() == 0;
  CloseCatalogued(table);
  return ok;
}

}  // namespace kontura::testing
