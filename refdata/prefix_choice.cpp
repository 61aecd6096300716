#include "refdata/prefix_choice.h"

#include <array>
#include <cstring>
#include <functional>

#include "refdata/prefix_lookup.h"
#include "refdata/prefix_pattern.h"
#include "refdata/prefix_record.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"
#include "storage/storage_error.h"

namespace kontura {

namespace {

using Row = std::array<uint8_t, prefix_record::kSize>;

class TakeNone : public PrefixChooser {
 public:
  int Choose(std::string_view, const std::vector<PrefixCandidate>&) override { return -1; }
};

PrefixChooser*& Installed() {
  static PrefixChooser* chooser = nullptr;
  return chooser;
}

Fileblock* MainTable() { return CatalogueHandle(CatalogueId::kFhprefix); }

bool NotValidAt(const ConstPrefixRecord& e, int32_t date) {
  return (e.ValidTo() > 0 && e.ValidTo() < date) || (date > 0 && date < e.ValidFrom());
}

// Walks the alternatives of `name` in key 3 order and hands each resolved row
// to `visit` until it returns false or the rows run out.
void WalkCandidates(std::string_view name, int32_t date, const std::function<bool(int, const Row&)>& visit) {
  Fileblock* fb = MainTable();
  fb->FindAtLeast(3, KeyPad(name, 6) + "1  ");
  for (int i = 1; i <= kMaxPrefixCandidates && StorageErrorClass() == 0; ++i) {
    if (ConstPrefixRecord(fb->RecordBuffer()).PatternText() != name) break;
    Row row;
    ResolveCandidate(row.data(), date);
    if (!visit(i, row)) break;
    fb->Next(3);
  }
}

}  // namespace

PrefixChooser& ThePrefixChooser() {
  static TakeNone take_none;
  return Installed() ? *Installed() : take_none;
}

PrefixChooser* InstallPrefixChooser(PrefixChooser* chooser) {
  PrefixChooser* old = Installed();
  Installed() = chooser;
  return old;
}

void ResolveCandidate(uint8_t* row, int32_t date) {
  Fileblock* fb = MainTable();
  std::memcpy(row, fb->RecordBuffer(), prefix_record::kSize);
  const ConstPrefixRecord candidate(row);
  const std::string pattern = candidate.PatternText();
  const std::string number = candidate.AlternativeNo();
  if (date < candidate.ValidFrom()) {
    PrefixRecord(row).SetCountryName("not current");
  } else {
    // The row shows the entity the candidate stands for at the date.
    auto take_entry_of = [&](const std::string& prefix) {
      const bool found = prefix.find("RA") != std::string::npos ? ResolvePrefixNested(prefix, date) == 0
                                                                 : FindEntityRecord(prefix);
      if (found) std::memcpy(row, fb->RecordBuffer(), prefix_record::kSize);
    };
    const std::string former1 = candidate.FormerPrefix1();
    const std::string former2 = candidate.FormerPrefix2();
    const std::string redirect = candidate.RedirectPrefix();
    if (!former1.empty() && date <= candidate.FormerUntil1()) {
      take_entry_of(former1);
    } else if (!former2.empty() && date <= candidate.FormerUntil2()) {
      take_entry_of(former2);
    } else if (!redirect.empty() && ResolvePrefixNested(redirect, date) == 0) {
      std::memcpy(row, fb->RecordBuffer(), prefix_record::kSize);
    }
  }
  fb->FindExact(3, KeyPad(pattern, 6) + KeyPad(number, 3));
}

std::vector<PrefixCandidate> CollectCandidates(std::string_view name, int32_t date) {
  std::vector<PrefixCandidate> rows;
  WalkCandidates(name, date, [&](int i, const Row& row) {
    const ConstPrefixRecord e(row.data());
    PrefixCandidate c;
    c.number = i;
    c.entity_prefix = e.EntityPrefix();
    c.cq_zone = e.CqZone();
    c.itu_zone = e.ItuZone();
    c.country_name = e.CountryName();
    c.remark = e.Remark();
    if (NotValidAt(e, date)) c.remark += "  (deleted)";
    rows.push_back(std::move(c));
    return true;
  });
  return rows;
}

bool ChooseAlternative(int32_t date) {
  Fileblock* fb = MainTable();
  const std::string name = ConstPrefixRecord(fb->RecordBuffer()).PatternText();
  const std::vector<PrefixCandidate> rows = CollectCandidates(name, date);
  const int taken = rows.empty() ? -1 : ThePrefixChooser().Choose(name, rows);
  if (taken < 0 || taken >= static_cast<int>(rows.size())) {
    fb->ClearBuffer();
    return false;
  }
  // The rows are walked again and the chosen one resolved afresh: the walk
  // above has left the buffer on another entry.
  bool took = false;
  WalkCandidates(name, date, [&](int i, const Row& row) {
    if (i != taken + 1) return true;
    std::memcpy(fb->RecordBuffer(), row.data(), prefix_record::kSize);
    took = true;
    return false;
  });
  if (!took) fb->ClearBuffer();
  return took;
}

}  // namespace kontura
