#include "logging/call_book.h"

#include "logging/log_access.h"
#include "logging/mask_text.h"
#include "refdata/base_call.h"
#include "refdata/suite_records.h"
#include "storage/catalogue.h"

namespace kontura {
namespace {

constexpr size_t kCallWidth = 10;
constexpr int kCallbookName = 4;
constexpr int kCallbookQth = 15;
constexpr int kCallbookLocator = 7;
constexpr int kCallbookDistrict = 6;
constexpr int kCallListName = 5;
constexpr size_t kNameMax = 20;

std::string Cut(std::string s, size_t n) {
  if (s.size() > n) s.resize(n);
  return s;
}

// Makes the entry of the call current; false when it is not there.
bool Find(CatalogueId id, std::string_view base_call) {
  Fileblock* fb = CatalogueHandle(id);
  if (fb == nullptr || base_call.empty()) return false;
  fb->FindExact(1, PadTo(base_call, kCallWidth));
  return StorageErrorClass() == 0;
}

}  // namespace

PartnerInfo LookUpPartner(std::string_view base_call) {
  PartnerInfo info;
  if (Find(CatalogueId::kFhcbuch, base_call)) {
    const uint8_t* rec = CatalogueRecord(CatalogueId::kFhcbuch);
    info.found = true;
    info.name = Cut(DosNameToWindows(GetCallbookField(kCallbookName, rec)), kNameMax);
    info.qth = Cut(GetCallbookField(kCallbookQth, rec), kNameMax);
  } else if (Find(CatalogueId::kFhcall, base_call)) {
    info.found = true;
    info.name = Cut(DosNameToWindows(GetCallField(kCallListName, CatalogueRecord(CatalogueId::kFhcall))), kNameMax);
  }
  return info;
}

std::string CallbookLocator(std::string_view base_call) {
  if (!Find(CatalogueId::kFhcbuch, base_call)) return {};
  return Cut(GetCallbookField(kCallbookLocator, CatalogueRecord(CatalogueId::kFhcbuch)), 6);
}

void RecordCallHistory(std::string_view call, std::string_view district_code, std::string_view name,
                       std::string_view qth) {
  Fileblock* book = CatalogueHandle(CatalogueId::kFhcbuch);
  if (book == nullptr || call.size() <= 2) return;
  const std::string base = Cut(BaseCall(call), kCallWidth);
  uint8_t* rec = CatalogueRecord(CatalogueId::kFhcbuch);
  if (!Find(CatalogueId::kFhcbuch, base)) {
    book->ClearBuffer();
    SetCallbookCall(rec, base);
    book->AddRecord();
    if (StorageErrorClass() != 0) return;
  }
  auto store = [&](int field, std::string_view text) {
    if (text.empty()) return;
    SetCallbookField(field, std::string(text), rec);
    book->UpdateRecord();
  };
  store(kCallbookDistrict, district_code.substr(0, 8));
  store(kCallbookName, name.substr(0, kNameMax));
  store(kCallbookQth, qth.substr(0, kNameMax));
}

}  // namespace kontura
