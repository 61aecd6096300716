#pragma once
// What the outputs read besides the QSO log: the contest definition, the
// contest header (own DOK, participant number, category, totals per band
// position) and the own station (call, name, address, locator). Collected
// once per output into plain values, so that the writers are tested without
// the fileblocks behind them.

#include <array>
#include <cstdint>
#include <string>

#include "contest/contest_definition.h"

namespace kontura {

struct OutputSources {
  TContestDefinition definition;
  int32_t contest_number = 0;
  std::string own_call;
  std::string own_name;
  std::string own_street;
  std::string own_city;
  std::string own_locator;
  std::string header_dok;
  int32_t participant_no = 0;  // -1 stands for a typed 0, 0 for nothing typed
  uint8_t category_no = 0;     // 1-based; 0 = none chosen
  // QSOs and points of band positions 1..7 (index 0 unused).
  std::array<int32_t, 8> band_qsos{};
  std::array<int32_t, 8> band_points{};

  int32_t TotalQsos() const;
  int32_t TotalPoints() const;
};

// Reads the sources of contest `contest_number`: its header from FHKK (opened
// and closed here), the own call, name and locator from the suite settings
// and street and town from the FHSETUP record, and the definition rebuilt
// from the header. False when the contest has no header.
bool ReadOutputSources(int32_t contest_number, OutputSources* out);

// The base of the proposed file names: the own call with every "/" replaced
// by "_" (DL1ABC/P gives DL1ABC_P).
std::string OutputFileBase(const std::string& own_call);
// The category suffix of the proposed names: "-" and the category's short
// name with ":" deleted, "." made "-" and "/", "\" and "," made "_"; empty
// without a category or without a short name.
std::string OutputFileSuffix(const OutputSources& sources);

}  // namespace kontura
