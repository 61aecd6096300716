#include "catalogue/catalogue_table.h"

#include <array>
#include <utility>

#include "contest/contest_header.h"
#include "contest/contest_totals.h"
#include "logging/qso_keys.h"
#include "logging/qso_record.h"
#include "refdata/prefix_record.h"
#include "refdata/setup_record.h"
#include "refdata/suite_records.h"

namespace kontura {

namespace {

constexpr bool kDup = true;
constexpr bool kUniq = false;

constexpr KeySpec kCounterOnly[] = {{5, kUniq}};

constexpr KeySpec kFhkkKeys[] = {
    {26, kDup}, {5, kDup}, {5, kUniq}, {1, kDup}, {25, kDup},
};

constexpr KeySpec kFhlkKeys[] = {
    {8, kDup}, {22, kDup}, {14, kDup}, {5, kUniq}, {6, kDup}, {14, kDup}, {1, kDup},
    {6, kDup}, {21, kDup}, {7, kDup},  {6, kDup},  {6, kDup}, {5, kDup},  {2, kDup},
    {2, kDup}, {2, kDup},  {2, kDup},  {8, kDup},  {6, kDup}, {6, kDup},  {9, kDup},
    {7, kDup}, {7, kDup},  {6, kDup},  {3, kDup},  {3, kDup}, {7, kDup},
};

constexpr KeySpec kFhprefixKeys[] = {
    {6, kDup},  {12, kDup}, {9, kDup}, {8, kDup}, {8, kDup}, {8, kDup}, {36, kDup},
    {14, kDup}, {13, kDup}, {7, kDup}, {6, kDup}, {6, kDup}, {5, kDup}, {7, kDup},
};

// The overlay tables hold one entry per pattern, hence key 1 unique.
constexpr KeySpec kOverlayKeys[] = {
    {6, kUniq}, {12, kDup}, {9, kDup}, {8, kDup}, {8, kDup}, {8, kDup},
    {36, kDup}, {14, kDup}, {13, kDup}, {7, kDup}, {6, kDup}, {6, kDup},
};

constexpr KeySpec kFhproKeys[] = {{5, kUniq}, {20, kDup}};

constexpr KeySpec kFhcbuchKeys[] = {
    {10, kUniq}, {6, kDup}, {6, kDup}, {10, kDup}, {20, kDup}, {4, kDup}, {18, kDup},
    {6, kDup},   {6, kDup}, {6, kDup}, {6, kDup},  {6, kDup},  {6, kDup},
};

constexpr KeySpec kFhcallKeys[] = {
    {10, kUniq}, {5, kDup}, {5, kDup}, {10, kDup}, {1, kDup}, {5, kDup}, {3, kDup},
};

constexpr int kQsoRecordLength = static_cast<int>(qso::kRecordSize);

FileblockLayout Layout(const char* name, int record_length, int buffer_size, bool variable,
                       std::span<const KeySpec> keys, int counter_key, bool flush, KeyBuilder builder) {
  FileblockLayout l;
  l.name = name;
  l.record_length = record_length;
  l.buffer_size = buffer_size;
  l.variable_length = variable;
  l.keys.assign(keys.begin(), keys.end());
  l.counter_key = counter_key;
  l.flush_after_write = flush;
  l.key_builder = std::move(builder);
  return l;
}

// The length-prefixed strings of each record, for the integrity check.
std::vector<StrField> QsoStrings() {
  using namespace qso;
  return {kCall,     kLocator, kMode,      kSentExch4, kRecvExch4, kNewMulti2, kPrefix,    kDxcc,
          kNameQth,  kState,   kSpare,     kContinent, kDok,       kCall2,     kNewMulti1, kSentExch,
          kRecvExch, kDokExt,  kRecvExch2, kSentExch2, kRecvExch3, kSentExch3};
}

std::vector<StrField> HeaderStrings() {
  using namespace contest_header;
  return {kEntryName, kCreatedLocator, kHeaderDok, kContestCall, kHeaderPlz, kOwnLdk};
}

std::vector<StrField> SetupStrings() {
  using namespace setup_record;
  std::vector<StrField> f = {kOwnLocator, kOwnName, kOwnStreet, kOwnCity, kOwnCountry, kOwnDok, kSwlNumber, kOwnCall};
  for (int i = 0; i < kSuffixEntryCount; ++i) {
    f.push_back({kSuffixEntries + kSuffixEntrySize * static_cast<size_t>(i), kSuffixTextCap});
  }
  return f;
}

std::vector<StrField> Setup2Strings() {
  using namespace setup2_record;
  std::vector<StrField> f;
  for (int i = 0; i < kTextCount; ++i) f.push_back({kTexts + kTextStride * static_cast<size_t>(i), kTextCap});
  return f;
}

std::vector<StrField> PrefixStrings() {
  using namespace prefix_record;
  return {kPatternText, kEntityPrefix, kAlternativeNo, kCqZone,        kItuZone,       kContinentCode, kCountryName,
          kExtraCode,   kFormerPrefix2, kRedirectPrefix, kRemark, kFormerPrefix1, kAltEntityPrefix};
}

// Numbered fields with capacity 0 are holes or single characters.
template <typename FieldOf>
std::vector<StrField> NumberedStrings(StrField call, int count, FieldOf field_of) {
  std::vector<StrField> f = {call};
  for (int n = 1; n <= count; ++n) {
    if (field_of(n).capacity > 0) f.push_back(field_of(n));
  }
  return f;
}

void AddStringFields(std::array<FileblockLayout, kCatalogueSize>& t) {
  auto at = [&t](CatalogueId id) -> std::vector<StrField>& { return t[static_cast<size_t>(id)].string_fields; };
  at(CatalogueId::kFhsetup) = SetupStrings();
  at(CatalogueId::kFhsetup2) = Setup2Strings();
  at(CatalogueId::kFhkk) = HeaderStrings();
  at(CatalogueId::kFhlk) = QsoStrings();
  at(CatalogueId::kFhlktemp) = QsoStrings();
  for (CatalogueId id : {CatalogueId::kFhprefix, CatalogueId::kFhprefee, CatalogueId::kFhprefes}) at(id) = PrefixStrings();
  at(CatalogueId::kFhpro) = {profile_record::kProfileName};
  at(CatalogueId::kFhcbuch) = NumberedStrings(callbook_record::kCall, callbook_record::kFieldCount, CallbookField);
  at(CatalogueId::kFhcall) = NumberedStrings(call_record::kCall, call_record::kFieldCount, CallField);
}

std::array<FileblockLayout, kCatalogueSize> MakeTable() {
  std::array<FileblockLayout, kCatalogueSize> t = {
      Layout("FHSETUP", setup_record::kSize, setup_record::kSize, false, kCounterOnly, 1, true, &SetupRecordKey),
      Layout("FHSETUP2", setup2_record::kSize, setup2_record::kSize, false, kCounterOnly, 1, true,
             &Setup2RecordKey),
      Layout("FHKK", contest_header::kSize, contest_header::kSize, false, kFhkkKeys, 3, true, &ContestHeaderKey),
      Layout("FHKZ", contest_totals::kSize, contest_totals::kSize, false, kCounterOnly, 0, true,
             &ContestTotalsKey),
      // The QSO log and its renumbering copy use the QSO record and the key
      // builders of the logging module.
      Layout("FHLK", kQsoRecordLength, kQsoRecordLength, false, kFhlkKeys, 4, true, &BuildQsoKey),
      Layout("FHLKTEMP", kQsoRecordLength, kQsoRecordLength, false, kCounterOnly, 1, false, &BuildQsoTempKey),
      Layout("FHPREFIX", prefix_record::kSize, prefix_record::kSize, false, kFhprefixKeys, 0, false, &PrefixKey),
      Layout("FHPREFEE", prefix_record::kSize, prefix_record::kSize, false, kOverlayKeys, 0, false,
             &OverlayPrefixKey),
      Layout("FHPREFES", prefix_record::kSize, prefix_record::kSize, false, kOverlayKeys, 0, false,
             &OverlayPrefixKey),
      Layout("FHPRO", profile_record::kFixedSize, profile_record::kBufferSize, true, kFhproKeys, 1, true,
             &ProfileKey),
      Layout("FHCBUCH", callbook_record::kSize, callbook_record::kSize, false, kFhcbuchKeys, 0, false,
             &CallbookKey),
      Layout("FHCALL", call_record::kSize, call_record::kSize, false, kFhcallKeys, 0, false, &CallListKey),
  };
  // The contest logs are one family of files: FHLK and the contest number.
  t[static_cast<size_t>(CatalogueId::kFhlk)].numbered = true;
  AddStringFields(t);
  return t;
}

}  // namespace

std::span<const FileblockLayout> ProgramCatalogue() {
  static const std::array<FileblockLayout, kCatalogueSize> table = MakeTable();
  return table;
}

void InstallProgramCatalogue() { InstallCatalogue(ProgramCatalogue()); }

}  // namespace kontura
