#include "refdata/cty_import.h"

#include <filesystem>
#include <fstream>

#include "refdata/prefix_record.h"
#include "storage/catalogue.h"
#include "storage/file_system.h"
#include "storage/fileblock.h"
#include "storage/storage_error.h"
#include "text/text_util.h"

namespace kontura {

namespace {

std::vector<std::string> SplitFields(std::string_view line, size_t fields) {
  std::vector<std::string> out;
  size_t start = 0;
  while (out.size() + 1 < fields) {
    const size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) break;
    out.emplace_back(line.substr(start, comma - start));
    start = comma + 1;
  }
  out.emplace_back(line.substr(start));
  return out;
}

bool ParseNumber(const std::string& s, int* value) {
  const std::string t = TrimBlanks(s);
  if (t.empty() || t.size() > 9) return false;
  for (char c : t) {
    if (c < '0' || c > '9') return false;
  }
  *value = std::stoi(t);
  return true;
}

// The text between `open` and `close` after the item's name, or empty.
std::string Override(const std::string& item, char open, char close) {
  const size_t a = item.find(open);
  if (a == std::string::npos) return {};
  const size_t b = item.find(close, a + 1);
  if (b == std::string::npos) return {};
  return item.substr(a + 1, b - a - 1);
}

CtyItem ParseItem(std::string item, const CtyEntity& e) {
  CtyItem it;
  if (!item.empty() && item[0] == '=') {
    it.whole_call = true;
    item.erase(0, 1);
  }
  const size_t end = item.find_first_of("([<{~");
  it.text = UpperGerman(item.substr(0, end));
  it.cq_zone = e.cq_zone;
  it.itu_zone = e.itu_zone;
  it.continent = e.continent;
  if (end != std::string::npos) {
    const std::string tail = item.substr(end);
    if (std::string cq = Override(tail, '(', ')'); !cq.empty()) it.cq_zone = cq;
    if (std::string itu = Override(tail, '[', ']'); !itu.empty()) it.itu_zone = itu;
    if (std::string cont = Override(tail, '{', '}'); !cont.empty()) it.continent = UpperGerman(cont);
  }
  return it;
}

void FillRecord(uint8_t* rec, const CtyEntity& e, const CtyItem& item) {
  PrefixRecord r(rec);
  r.SetPatternText(item.text);
  std::string entity = e.entity_prefix;
  if (!entity.empty() && entity[0] == '*') entity.erase(0, 1);
  r.SetEntityPrefix(entity);
  r.SetCqZone(item.cq_zone);
  r.SetItuZone(item.itu_zone);
  r.SetContinentCode(item.continent);
  r.SetCountryName(e.name);
  r.SetDxccNumber(static_cast<int16_t>(e.dxcc_number));
  r.SetPrefixFlag(item.whole_call ? 'N' : ' ');
}

// Opens a fileblock of the prefix database and empties it.
const char* FileNameOf(CatalogueId id) { return id == CatalogueId::kFhprefix ? "FHPREFIX" : "FHPREFEE"; }

// The new tables are built beside the old ones, under these names, and
// replace them only when they are complete.
std::string NewFileNameOf(CatalogueId id) { return std::string(FileNameOf(id)) + "-NEU"; }

// Opens the side fileblock of id, emptied and with its files created.
bool OpenEmptied(CatalogueId id, std::string* error) {
  if (!OpenCatalogued(id, NewFileNameOf(id))) {
    *error = "Die Datei " + NewFileNameOf(id) + " konnte nicht ge\xF6" "ffnet werden.";
    return false;
  }
  Fileblock* fb = CatalogueHandle(id);
  fb->EraseFiles();
  fb->RecordCount();  // creates the files: a table without entries is a valid, empty one
  if (StorageErrorClass() == 0) return true;
  *error = "Die Datei " + NewFileNameOf(id) + " konnte nicht angelegt werden.";
  CloseCatalogued(id);
  return false;
}

void RemoveSideFiles(CatalogueId id) {
  StorageFileSystem& fs = TheStorageFileSystem();
  for (const char* ext : {"DAT", "IX", "MSG"}) fs.Remove(FileblockPath(StartDir() + NewFileNameOf(id), ext));
}

// Puts the side files of id in place of the old ones. The old index goes
// first: whatever a crash in between leaves, the next opening finds a data
// file without its index and rebuilds the index from it.
bool ReplaceBySideFiles(CatalogueId id) {
  StorageFileSystem& fs = TheStorageFileSystem();
  const std::string old_base = StartDir() + FileNameOf(id), new_base = StartDir() + NewFileNameOf(id);
  fs.Remove(FileblockPath(old_base, "IX"));
  return fs.Rename(FileblockPath(new_base, "DAT"), FileblockPath(old_base, "DAT")) &&
         fs.Rename(FileblockPath(new_base, "IX"), FileblockPath(old_base, "IX"));
}

}  // namespace

bool ParseCtyLine(std::string_view line, CtyEntity* entity) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  const std::vector<std::string> f = SplitFields(line, 10);
  if (f.size() != 10) return false;
  CtyEntity e;
  e.entity_prefix = UpperGerman(TrimBlanks(f[0]));
  e.name = TrimBlanks(f[1]);
  e.continent = UpperGerman(TrimBlanks(f[3]));
  e.cq_zone = TrimBlanks(f[4]);
  e.itu_zone = TrimBlanks(f[5]);
  int dummy = 0;
  if (e.entity_prefix.empty() || !ParseNumber(f[2], &e.dxcc_number) || !ParseNumber(e.cq_zone, &dummy) ||
      !ParseNumber(e.itu_zone, &dummy)) {
    return false;
  }
  std::string list = f[9];
  const size_t semicolon = list.find(';');
  if (semicolon != std::string::npos) list.erase(semicolon);
  size_t pos = 0;
  while (pos < list.size()) {
    const size_t start = list.find_first_not_of(" \t", pos);
    if (start == std::string::npos) break;
    size_t end = list.find_first_of(" \t", start);
    if (end == std::string::npos) end = list.size();
    CtyItem item = ParseItem(list.substr(start, end - start), e);
    if (!item.text.empty()) e.items.push_back(std::move(item));
    pos = end;
  }
  *entity = std::move(e);
  return true;
}

namespace {

// Adds the prefixes and whole calls of every line. The new tables are
// swapped in only when complete, so a killed import loses nothing by
// collecting their slots (bulk loading).
void ReadCtyLines(std::istream& in, Fileblock* main, Fileblock* calls, CtyImportCounts* counts) {
  BulkLoadScope bulk_main(main);
  BulkLoadScope bulk_calls(calls);
  std::string line;
  while (std::getline(in, line)) {
    if (TrimBlanks(line).empty()) continue;
    CtyEntity e;
    if (!ParseCtyLine(line, &e)) {
      ++counts->bad_lines;
      continue;
    }
    const bool dxcc_entity = e.entity_prefix[0] != '*';
    for (const CtyItem& item : e.items) {
      if (!dxcc_entity || item.text.size() > prefix_record::kPatternText.capacity) {
        ++counts->left_out;
        continue;
      }
      Fileblock* fb = item.whole_call ? calls : main;
      fb->ClearBuffer();
      FillRecord(fb->RecordBuffer(), e, item);
      fb->AddRecord();
      if (StorageErrorClass() != 0) {
        // The overlay key is unique: a call listed twice keeps its first entry.
        ++counts->left_out;
      } else if (item.whole_call) {
        ++counts->whole_calls;
      } else {
        ++counts->prefixes;
      }
    }
  }
}

}  // namespace

bool ImportCtyFile(const std::string& path, CtyImportCounts* counts, std::string* error) {
  *counts = CtyImportCounts{};
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    *error = "Die Datei " + path + " konnte nicht gelesen werden.";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "Die Datei " + path + " konnte nicht gelesen werden.";
    return false;
  }
  if (!OpenEmptied(CatalogueId::kFhprefix, error)) return false;
  if (!OpenEmptied(CatalogueId::kFhprefee, error)) {
    CloseFHPREFIX();
    RemoveSideFiles(CatalogueId::kFhprefix);
    return false;
  }
  Fileblock* main = CatalogueHandle(CatalogueId::kFhprefix);
  Fileblock* calls = CatalogueHandle(CatalogueId::kFhprefee);
  ReadCtyLines(in, main, calls, counts);
  CloseFHPREFEE();
  CloseFHPREFIX();
  // A file that yields no prefix is not a country file: the database in use
  // stays as it is.
  if (counts->prefixes == 0) {
    RemoveSideFiles(CatalogueId::kFhprefix);
    RemoveSideFiles(CatalogueId::kFhprefee);
    *error = "Die Datei " + path + " enth\xE4lt keine verwendbaren Pr\xE4" "fixe; die Pr\xE4" "fixdatenbank bleibt unver\xE4ndert.";
    return false;
  }
  if (!ReplaceBySideFiles(CatalogueId::kFhprefix) || !ReplaceBySideFiles(CatalogueId::kFhprefee)) {
    *error = "Die neue Pr\xE4" "fixdatenbank konnte nicht an ihren Platz gebracht werden.";
    return false;
  }
  return true;
}

}  // namespace kontura
