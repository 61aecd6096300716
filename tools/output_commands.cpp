// kontura-tool contests, export and import: the contest list of this
// edition, the file outputs of the export menu and the ADIF import, on the
// fileblocks of the current directory and through the program's own code.
//
//   contests                              number, entry name, start date, own call
//   export NUMBER KIND FILE [--rst-only]  KIND: sum all bnd txt adi csv
//   import NUMBER FILE... [--map FIELD=TAG]... [--no-check]

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/storage_setup.h"
#include "contest/contest_definition.h"
#include "contest/contest_header.h"
#include "logging/prefix_entity_lookup.h"
#include "output/headless_outputs.h"
#include "platform/code_page.h"
#include "refdata/suite_settings_store.h"
#include "storage/catalogue.h"
#include "text/date_time_text.h"

namespace kontura::tool {
namespace {

constexpr int kContestNumberKey = 3;

bool ParseNumber(const std::string& text, int32_t* n) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < 0 || v > 9999) return false;
  *n = static_cast<int32_t>(v);
  return true;
}

// The program's start: storage and the own station.
bool Start() {
  SetStartDirFromCurrentDirectory();
  if (!StartStorage()) return false;
  LoadSuiteSettings();
  return true;
}

// The failures export and import share; false for any other result.
bool ReportContestFailure(bool no_contest, bool log_not_opened, int32_t number) {
  if (no_contest) {
    std::fprintf(stderr, "kontura-tool: kein Contest mit der Nummer %d\n", number);
  } else if (log_not_opened) {
    std::fprintf(stderr, "kontura-tool: das Log des Contests %d l\xC3\xA4sst sich nicht \xC3\xB6" "ffnen\n", number);
  }
  return no_contest || log_not_opened;
}

void PrintMessages(const std::vector<std::string>& messages) {
  for (const std::string& m : messages) std::fprintf(stderr, "%s\n", Cp1252ToUtf8(m).c_str());
}

}  // namespace

int RunContests(const std::vector<std::string>& args) {
  if (!args.empty()) {
    std::fprintf(stderr, "Aufruf: kontura-tool contests\n");
    return 2;
  }
  SetStartDirFromCurrentDirectory();
  if (!StartStorage()) return 1;
  if (!OpenFHKK()) {
    StopStorage();
    return 1;
  }
  Fileblock* fb = CatalogueHandle(CatalogueId::kFhkk);
  for (fb->First(kContestNumberKey); StorageErrorClass() == 0; fb->Next(kContestNumberKey)) {
    const ConstContestHeader h(CatalogueRecord(CatalogueId::kFhkk));
    if (h.EditionCode() != kEditionCode) continue;
    const std::string date = h.DateFrom() > 0 ? DateToText("dd.mm.yyyy", h.DateFrom()) : std::string();
    std::printf("%d\t%s\t%s\t%s\n", h.ContestNumber(), Cp1252ToUtf8(h.EntryName()).c_str(), date.c_str(),
                Cp1252ToUtf8(h.ContestCall()).c_str());
  }
  CloseFHKK();
  StopStorage();
  return 0;
}

int RunExport(const std::vector<std::string>& args) {
  static const struct {
    const char* kind;
    OutputId id;
  } kKinds[] = {{"sum", OutputId::kSummaryFile}, {"all", OutputId::kQsoListFile}, {"bnd", OutputId::kBandListFile},
                {"txt", OutputId::kTotalFile},   {"adi", OutputId::kAdifFile},    {"csv", OutputId::kCsvFile}};
  bool rst_only = false;
  std::vector<std::string> plain;
  for (const std::string& a : args) {
    if (a == "--rst-only") {
      rst_only = true;
    } else {
      plain.push_back(a);
    }
  }
  int32_t number = 0;
  const OutputId* id = nullptr;
  if (plain.size() == 3 && ParseNumber(plain[0], &number)) {
    for (const auto& k : kKinds) {
      if (plain[1] == k.kind) id = &k.id;
    }
  }
  if (id == nullptr) {
    std::fprintf(stderr, "Aufruf: kontura-tool export NUMMER sum|all|bnd|txt|adi|csv DATEI [--rst-only]\n");
    return 2;
  }
  if (!Start()) return 1;
  std::vector<std::string> messages;
  const OutputResult r = ExportContest(number, *id, Utf8ToCp1252(plain[2]), rst_only, &messages);
  StopStorage();
  if (r == OutputResult::kDone) return 0;
  if (!ReportContestFailure(r == OutputResult::kNoContest, r == OutputResult::kLogNotOpened, number)) {
    PrintMessages(messages);
  }
  return 1;
}

int RunImport(const std::vector<std::string>& args) {
  ImportRequest request;
  std::vector<std::string> plain;
  bool usage_error = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--no-check") {
      request.no_check = true;
    } else if (args[i] == "--map" && i + 1 < args.size()) {
      const std::string& m = args[++i];
      const size_t eq = m.find('=');
      if (eq == std::string::npos || eq == 0) usage_error = true;
      else request.maps.emplace_back(Utf8ToCp1252(m.substr(0, eq)), Utf8ToCp1252(m.substr(eq + 1)));
    } else if (args[i].rfind("--", 0) == 0) {
      usage_error = true;
    } else {
      plain.push_back(args[i]);
    }
  }
  int32_t number = 0;
  if (usage_error || plain.size() < 2 || !ParseNumber(plain[0], &number)) {
    std::fprintf(stderr, "Aufruf: kontura-tool import NUMMER DATEI... [--map FELD=TAG]... [--no-check]\n");
    return 2;
  }
  for (size_t i = 1; i < plain.size(); ++i) request.files.push_back(Utf8ToCp1252(plain[i]));
  if (!Start()) return 1;
  PrefixEntityLookup lookup;
  std::vector<ImportFileReport> reports;
  std::string unknown;
  const ImportOutcome outcome = ImportAdifFiles(number, request, lookup, &reports, &unknown);
  StopStorage();
  if (ReportContestFailure(outcome == ImportOutcome::kNoContest, outcome == ImportOutcome::kLogNotOpened, number)) {
    return 1;
  }
  if (outcome == ImportOutcome::kUnknownField) {
    std::fprintf(stderr, "kontura-tool: unbekanntes Feld \"%s\" bei --map\n", Cp1252ToUtf8(unknown).c_str());
    return 2;
  }
  int rc = 0;
  for (const ImportFileReport& r : reports) {
    std::printf("%s:\n", Cp1252ToUtf8(r.file).c_str());
    if (!r.found) {
      std::printf("%s\n", Cp1252ToUtf8(kAdifFileMissing).c_str());
      rc = 1;
      continue;
    }
    std::string text = ImportSummaryText(r.counts);
    for (size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n")) text.replace(p, 2, "\n");
    std::printf("%s\n", Cp1252ToUtf8(text).c_str());
  }
  return rc;
}

}  // namespace kontura::tool
