#include "refdata/prefix_lookup.h"

#include <cstring>

#include "refdata/base_call.h"
#include "refdata/dxcc_entities.h"
#include "refdata/prefix_pattern.h"
#include "refdata/prefix_record.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"
#include "storage/storage_error.h"
#include "text/calendar.h"
#include "text/date_time_text.h"
#include "text/picture_format.h"
#include "text/text_util.h"

namespace kontura {

namespace {

bool Found() { return StorageErrorClass() == 0; }

// An overlay table opened for the length of one search, closed on every way out.
class OverlayTable {
 public:
  explicit OverlayTable(CatalogueId id) : m_id(id), m_open(OpenCatalogued(id)) {}
  ~OverlayTable() { Close(); }
  OverlayTable(const OverlayTable&) = delete;
  OverlayTable& operator=(const OverlayTable&) = delete;

  bool open() const { return m_open; }
  Fileblock* fb() const { return CatalogueHandle(m_id); }
  void Close() {
    if (m_open) CloseCatalogued(m_id);
    m_open = false;
  }
  // Copies the overlay's current record into the working entry, whole.
  void CopyToWorkingEntry() const {
    Fileblock* main = CatalogueHandle(CatalogueId::kFhprefix);
    std::memcpy(main->RecordBuffer(), fb()->RecordBuffer(), prefix_record::kSize);
  }

 private:
  CatalogueId m_id;
  bool m_open;
};

// An overlay entry with PrefixFlag "J" covers every call that begins with its
// pattern; any other entry only the whole call. The key holds 6 characters,
// so a whole-call entry also covers longer calls that begin with it.
bool OverlayMatch(Fileblock* fb, std::string_view call) {
  std::string s(call);
  while (!s.empty()) {
    fb->FindExact(1, KeyPad(s, 6));
    if (Found()) {
      const bool prefix_entry = ConstPrefixRecord(fb->RecordBuffer()).PrefixFlag() == 'J';
      if (prefix_entry || s.size() == call.size()) return true;
    }
    s.pop_back();
  }
  return false;
}

bool ResolveInOverlay(CatalogueId id, std::string_view call) {
  OverlayTable table(id);
  if (!table.open() || !OverlayMatch(table.fb(), call)) return false;
  table.CopyToWorkingEntry();
  return true;
}

// Appends the area character of the call to a pattern of one or two letters.
void AppendAreaCharacter(std::string& r, const std::string& k) {
  if (IsAsciiUpper(k[0]) && IsAsciiUpper(k[1]) && IsAsciiDigit(k[2])) {
    r += k[2];
  } else if (IsAsciiUpper(k[0]) && IsAsciiDigit(k[1])) {
    r += k[1];
  } else if (IsAsciiDigit(k[0]) && IsAsciiUpper(k[1]) && IsAsciiDigit(k[2])) {
    r += k[2];
  }
}

// Makes the working entry's pattern read the prefix of the call: wildcards
// take the call's character, a bare letter prefix gets the call area.
void AdjustPattern(const std::string& k) {
  PrefixRecord working(CatalogueRecord(CatalogueId::kFhprefix));
  std::string r = working.PatternText();
  if (!r.empty() && r.back() == '-') r.pop_back();
  size_t p = r.find('?');
  if (p == std::string::npos) p = r.find('#');
  if (p == std::string::npos) p = r.find('~');
  if (p != std::string::npos && p < k.size()) r[p] = k[p];
  if (r.size() == 2 && IsAsciiUpper(r[0]) && IsAsciiUpper(r[1]) && k.size() > 2) AppendAreaCharacter(r, k);
  if (r.size() == 1 && IsAsciiUpper(r[0]) && k.size() > 2) AppendAreaCharacter(r, k);
  working.SetPatternText(r.substr(0, 6));
}

int Resolve(std::string_view call, int32_t date, bool reset_depth) {
  PrefixLookupState& state = ThePrefixLookupState();
  state.chosen = false;
  if (CatalogueHandle(CatalogueId::kFhprefix) == nullptr) return 1;
  if (ResolveInOverlay(CatalogueId::kFhprefee, call)) return 0;
  if (ResolveInOverlay(CatalogueId::kFhprefes, call)) return 0;
  if (date <= 0) date = Today();
  std::string k(call);
  const size_t slash = k.find('/');
  if (slash != std::string::npos) {
    const std::string t = k.substr(slash + 1, 20);
    const SpecialPairResult pair = IsSpecialPair(k, t);
    if (pair.is_pair) k = k.substr(0, static_cast<size_t>(pair.count)) + "/" + t;
  }
  if (reset_depth) state.depth = 0;
  const int r = LookupPattern(k, date);
  if (r == 2) return 2;
  if (r != 0) return 1;
  AdjustPattern(k);
  return 0;
}

bool SameEntity(Fileblock* fb, std::string_view e) {
  return Found() && ConstPrefixRecord(fb->RecordBuffer()).EntityPrefix() == e;
}

}  // namespace

int ResolvePrefix(std::string_view call, int32_t date, int /*source*/, bool* chosen) {
  const int r = Resolve(call, date, true);
  if (chosen) *chosen = ThePrefixLookupState().chosen;
  return r;
}

int ResolvePrefixNested(std::string_view call, int32_t date) {
  PrefixLookupState& state = ThePrefixLookupState();
  const PrefixLookupState outer = state;
  const int r = Resolve(call, date, false);
  state = outer;
  return r;
}

bool FindEntityRecord(std::string_view entity_prefix) {
  Fileblock* main = CatalogueHandle(CatalogueId::kFhprefix);
  if (main == nullptr) return false;
  const std::string own = KeyPad(entity_prefix, 6) + KeyPad(entity_prefix, 6);
  const std::string any = KeyPad(entity_prefix, 6);
  // The entity's own entry (pattern = entity prefix) first, overlays before
  // the main table; then any entry of the entity.
  OverlayTable ee(CatalogueId::kFhprefee);
  if (ee.open()) {
    ee.fb()->FindExact(2, own);
    if (Found()) {
      ee.CopyToWorkingEntry();
      return true;
    }
  }
  OverlayTable es(CatalogueId::kFhprefes);
  if (es.open()) {
    es.fb()->FindExact(2, own);
    if (Found()) {
      es.CopyToWorkingEntry();
      return true;
    }
  }
  main->FindExact(2, own);
  if (!Found()) main->FindAtLeast(2, any);
  if (SameEntity(main, entity_prefix)) return true;
  if (ee.open()) {
    ee.fb()->FindAtLeast(2, any);
    if (SameEntity(ee.fb(), entity_prefix)) {
      ee.CopyToWorkingEntry();
      return true;
    }
    ee.Close();
  }
  if (!es.open()) return false;
  es.fb()->FindAtLeast(2, any);
  if (!SameEntity(es.fb(), entity_prefix)) return false;
  es.CopyToWorkingEntry();
  return true;
}

std::string DxccNumberOfPrefix(std::string_view entity_prefix) {
  const std::string t = TrimBlanks(entity_prefix);
  if (t.empty()) return {};
  // Entities the entity list names differently from the database.
  static const struct {
    const char* prefix;
    int number;
  } kSpecial[] = {{"3D2C", 489}, {"3D2R", 460}, {"3Y0", 199},   {"3Y5", 24},   {"CE0A", 47}, {"KC6", 22},
                  {"PY0P", 253}, {"R1F", 61},   {"R1M", 151},   {"RA1346", 54}, {"RA890", 15}, {"FO0", 36},
                  {"XX", 152},   {"VR6", 172},  {"FO", 175},    {"IS", 225},   {"ZB", 233},  {"ZC", 283}};
  std::string result;
  bool special = false;
  for (const auto& s : kSpecial) {
    if (t == s.prefix) {
      result = std::to_string(s.number);
      special = true;
      break;
    }
  }
  if (!special) {
    const int i = FindDxccEntity(t, kDxccEntityCount);
    if (i > 0) return FormatPictureInt("###", i);
  }
  if (FindEntityRecord(entity_prefix)) {
    result = FormatPictureInt("###", ConstPrefixRecord(CatalogueRecord(CatalogueId::kFhprefix)).DxccNumber());
  }
  return result;
}

}  // namespace kontura
