#include "storage/catalogue_table.h"

#include <array>
#include <cstdio>

#include "contest/contest_header.h"
#include "contest/contest_totals.h"
#include "logging/qso_keys.h"
#include "logging/qso_record.h"
#include "refdata/prefix_record.h"
#include "refdata/setup_record.h"
#include "storage/catalogue_records.h"

namespace kontura {

namespace {

constexpr bool kDup = true;
constexpr bool kUniq = false;

constexpr KeyDefinition kCounterOnly[] = {{5, kUniq}};

constexpr KeyDefinition kFhkkKeys[] = {
    {26, kDup}, {5, kDup}, {5, kUniq}, {1, kDup}, {25, kDup},
};

constexpr KeyDefinition kFhlkKeys[] = {
    {8, kDup}, {22, kDup}, {14, kDup}, {5, kUniq}, {6, kDup}, {14, kDup}, {1, kDup},
    {6, kDup}, {21, kDup}, {7, kDup},  {6, kDup},  {6, kDup}, {5, kDup},  {2, kDup},
    {2, kDup}, {2, kDup},  {2, kDup},  {8, kDup},  {6, kDup}, {6, kDup},  {9, kDup},
    {7, kDup}, {7, kDup},  {6, kDup},  {3, kDup},  {3, kDup}, {7, kDup},
};

constexpr KeyDefinition kFhprefixKeys[] = {
    {6, kDup},  {12, kDup}, {9, kDup}, {8, kDup}, {8, kDup}, {8, kDup}, {36, kDup},
    {14, kDup}, {13, kDup}, {7, kDup}, {6, kDup}, {6, kDup}, {5, kDup}, {7, kDup},
};

// The overlay tables hold one entry per pattern, hence key 1 unique.
constexpr KeyDefinition kOverlayKeys[] = {
    {6, kUniq}, {12, kDup}, {9, kDup}, {8, kDup}, {8, kDup}, {8, kDup},
    {36, kDup}, {14, kDup}, {13, kDup}, {7, kDup}, {6, kDup}, {6, kDup},
};

constexpr KeyDefinition kFhproKeys[] = {{5, kUniq}, {20, kDup}};

constexpr KeyDefinition kFhcbuchKeys[] = {
    {10, kUniq}, {6, kDup}, {6, kDup}, {10, kDup}, {20, kDup}, {4, kDup}, {18, kDup},
    {6, kDup},   {6, kDup}, {6, kDup}, {6, kDup},  {6, kDup},  {6, kDup},
};

constexpr KeyDefinition kFhcallKeys[] = {
    {10, kUniq}, {5, kDup}, {5, kDup}, {10, kDup}, {1, kDup}, {5, kDup}, {3, kDup},
};

constexpr int kQsoRecordLength = static_cast<int>(qso::kRecordSize);

const std::array<CatalogueEntry, 12> kTable = {{
    {CatalogueId::kFhsetup, "FHSETUP", setup_record::kSize, setup_record::kSize, false, kCounterOnly, 1,
     true, &SetupRecordKey},
    {CatalogueId::kFhsetup2, "FHSETUP2", setup2_record::kSize, setup2_record::kSize, false, kCounterOnly,
     1, true, &Setup2RecordKey},
    {CatalogueId::kFhkk, "FHKK", contest_header::kSize, contest_header::kSize, false, kFhkkKeys, 3, true,
     &ContestHeaderKey},
    {CatalogueId::kFhkz, "FHKZ", contest_totals::kSize, contest_totals::kSize, false, kCounterOnly, 0,
     true, &ContestTotalsKey},
    // The QSO log and its renumbering copy use the QSO record and the key
    // builders of the logging module.
    {CatalogueId::kFhlk, "FHLK", kQsoRecordLength, kQsoRecordLength, false, kFhlkKeys, 4, true,
     &BuildQsoKey},
    {CatalogueId::kFhlktemp, "FHLKTEMP", kQsoRecordLength, kQsoRecordLength, false, kCounterOnly, 1,
     false, &BuildQsoTempKey},
    {CatalogueId::kFhprefix, "FHPREFIX", prefix_record::kSize, prefix_record::kSize, false, kFhprefixKeys,
     0, false, &PrefixKey},
    {CatalogueId::kFhprefee, "FHPREFEE", prefix_record::kSize, prefix_record::kSize, false, kOverlayKeys,
     0, false, &OverlayPrefixKey},
    {CatalogueId::kFhprefes, "FHPREFES", prefix_record::kSize, prefix_record::kSize, false, kOverlayKeys,
     0, false, &OverlayPrefixKey},
    {CatalogueId::kFhpro, "FHPRO", profile_record::kFixedSize, profile_record::kBufferSize, true,
     kFhproKeys, 1, true, &ProfileKey},
    {CatalogueId::kFhcbuch, "FHCBUCH", callbook_record::kSize, callbook_record::kSize, false, kFhcbuchKeys,
     0, false, &CallbookKey},
    {CatalogueId::kFhcall, "FHCALL", call_record::kSize, call_record::kSize, false, kFhcallKeys, 0, false,
     &CallListKey},
}};

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsUpper(std::string_view name, std::string_view upper) {
  if (name.size() != upper.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (Upper(name[i]) != upper[i]) return false;
  }
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::span<const CatalogueEntry> CatalogueTable() { return kTable; }

const CatalogueEntry& CatalogueEntryOf(CatalogueId id) { return kTable[static_cast<size_t>(id)]; }

const CatalogueEntry* FindCatalogueEntry(std::string_view file_name) {
  for (const CatalogueEntry& e : kTable) {
    if (e.id != CatalogueId::kFhlk && EqualsUpper(file_name, e.file_name)) return &e;
  }
  // FHLK followed by the contest number: four digits or more (see
  // FhlkFileName), optionally with a minus sign.
  constexpr std::string_view kPrefix = "FHLK";
  if (file_name.size() < kPrefix.size() + 4 || !EqualsUpper(file_name.substr(0, kPrefix.size()), kPrefix)) {
    return nullptr;
  }
  std::string_view number = file_name.substr(kPrefix.size());
  if (number.front() == '-') number.remove_prefix(1);
  if (number.empty()) return nullptr;
  for (char c : number) {
    if (!IsDigit(c)) return nullptr;
  }
  return &CatalogueEntryOf(CatalogueId::kFhlk);
}

std::string FhlkFileName(int32_t contest_number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d", static_cast<int>(contest_number));
  return std::string("FHLK") + digits;
}

}  // namespace kontura
