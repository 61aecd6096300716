#include "output/output_sources.h"

#include "contest/contest_config.h"
#include "contest/contest_header.h"
#include "refdata/setup_record.h"
#include "refdata/suite_settings.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"

namespace kontura {
namespace {

constexpr int kHeaderKeyContestNumber = 3;

}  // namespace

int32_t OutputSources::TotalQsos() const {
  int32_t sum = 0;
  for (size_t i = 1; i < band_qsos.size(); ++i) sum += band_qsos[i];
  return sum;
}

int32_t OutputSources::TotalPoints() const {
  int32_t sum = 0;
  for (size_t i = 1; i < band_points.size(); ++i) sum += band_points[i];
  return sum;
}

bool ReadOutputSources(int32_t contest_number, OutputSources* out) {
  OutputSources s;
  s.contest_number = contest_number;
  const SuiteSettings& settings = TheSuiteSettings();
  s.own_call = settings.OwnCall;
  s.own_name = settings.OwnName;
  s.own_locator = settings.OwnLocator;
  if (OpenFHSETUP()) {
    Fileblock* fb = CatalogueHandle(CatalogueId::kFhsetup);
    fb->First(1);
    if (StorageErrorClass() == 0) {
      const ConstSetupRecord rec(CatalogueRecord(CatalogueId::kFhsetup));
      s.own_street = rec.OwnStreet();
      s.own_city = rec.OwnCity();
    }
    CloseFHSETUP();
  }
  if (!OpenFHKK()) return false;
  CatalogueHandle(CatalogueId::kFhkk)->FindExact(kHeaderKeyContestNumber, NumberToKey(contest_number));
  const bool found = StorageErrorClass() == 0;
  if (found) {
    const uint8_t* rec = CatalogueRecord(CatalogueId::kFhkk);
    const ConstContestHeader h(rec);
    FillDefinitionFromHeader(s.definition, rec);
    s.header_dok = h.HeaderDok();
    s.participant_no = h.ParticipantNo();
    s.category_no = h.CategoryNo();
    for (int pos = 1; pos <= contest_header::kBandPositions; ++pos) {
      s.band_qsos[static_cast<size_t>(pos)] = h.SumQso(pos);
      s.band_points[static_cast<size_t>(pos)] = h.SumPoints(pos);
    }
  }
  CloseFHKK();
  if (found) *out = std::move(s);
  return found;
}

std::string OutputFileBase(const std::string& own_call) {
  std::string base = own_call;
  for (char& c : base) {
    if (c == '/') c = '_';
  }
  return base;
}

std::string OutputFileSuffix(const OutputSources& sources) {
  const int k = sources.category_no;
  if (k <= 0 || k > static_cast<int>(sources.definition.Categories.size())) return {};
  const std::string& short_name = sources.definition.Categories[static_cast<size_t>(k - 1)].ShortName;
  if (short_name.empty()) return {};
  std::string suffix = "-";
  for (char c : short_name) {
    if (c == ':') continue;
    if (c == '.') {
      suffix += '-';
    } else if (c == '/' || c == '\\' || c == ',') {
      suffix += '_';
    } else {
      suffix += c;
    }
  }
  return suffix;
}

}  // namespace kontura
