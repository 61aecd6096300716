// kontura-tool prefixdb [--if-empty] CTY.CSV [DIR]: builds the prefix
// database (FHPREFIX, FHPREFEE) in DIR (default: the current directory) from
// a public country file. With --if-empty an FHPREFIX that already holds
// entries is kept, as the program itself does on a first start.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/prefix_database_start.h"
#include "app/storage_setup.h"
#include "platform/code_page.h"
#include "refdata/cty_import.h"
#include "storage/catalogue.h"

namespace kontura::tool {

int RunPrefixdb(const std::vector<std::string>& args) {
  std::vector<std::string> rest = args;
  bool if_empty = false;
  if (!rest.empty() && rest[0] == "--if-empty") {
    if_empty = true;
    rest.erase(rest.begin());
  }
  if (rest.empty() || rest.size() > 2) {
    std::fprintf(stderr, "Aufruf: kontura-tool prefixdb [--if-empty] CTY.CSV [VERZEICHNIS]\n");
    return 2;
  }
  const std::string source = std::filesystem::absolute(rest[0]).string();
  std::error_code ec;
  if (rest.size() == 2) {
    std::filesystem::create_directories(rest[1], ec);
    std::filesystem::current_path(rest[1], ec);
    if (ec) {
      std::fprintf(stderr, "kontura-tool: Verzeichnis \"%s\" nicht nutzbar: %s\n", rest[1].c_str(),
                   ec.message().c_str());
      return 2;
    }
  }
  SetStartDirFromCurrentDirectory();
  if (!StartStorage()) return 1;
  if (if_empty) {
    const int32_t n = PrefixTableEntries();
    if (n > 0) {
      std::printf("FHPREFIX enth\xC3\xA4lt schon %d Eintr\xC3\xA4ge, nichts ge\xC3\xA4ndert.\n", n);
      StopStorage();
      return 0;
    }
  }
  CtyImportCounts counts;
  std::string error;
  const bool ok = ImportCtyFile(source, &counts, &error);
  StopStorage();
  if (!ok) {
    std::fprintf(stderr, "kontura-tool: %s\n", Cp1252ToUtf8(error).c_str());
    return 1;
  }
  std::printf("FHPREFIX: %d Eintr\xC3\xA4ge geschrieben\n", counts.prefixes);
  std::printf("FHPREFEE: %d Eintr\xC3\xA4ge geschrieben\n", counts.whole_calls);
  std::printf("ausgelassen: %d Eintr\xC3\xA4ge\n", counts.left_out);
  if (counts.bad_lines > 0) std::printf("unlesbare Zeilen: %d\n", counts.bad_lines);
  return 0;
}

}  // namespace kontura::tool
