// kontura-tool dxcc CALL [DD.MM.YYYY]: the DXCC entity of a call in the prefix
// database of the current directory, at today's date or the date given.
// Prints "EntityPrefix<TAB>Continent<TAB>DxccNumber<TAB>CountryName", or
// "unknown" (exit 1). When the entry offers alternatives, they are printed
// one per line (number, entity prefix, CQ zone, ITU zone, country, remark)
// and none is taken (exit 3).

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/storage_setup.h"
#include "platform/code_page.h"
#include "refdata/prefix_choice.h"
#include "refdata/prefix_lookup.h"
#include "refdata/prefix_record.h"
#include "storage/catalogue.h"
#include "text/calendar.h"
#include "text/text_util.h"

namespace kontura::tool {

namespace {

class PrintingChooser : public PrefixChooser {
 public:
  bool asked = false;
  int Choose(std::string_view name, const std::vector<PrefixCandidate>& rows) override {
    asked = true;
    std::printf("Alternativen f\xC3\xBCr %s:\n", Cp1252ToUtf8(name).c_str());
    for (const PrefixCandidate& c : rows) {
      std::printf("%d\t%s\t%s\t%s\t%s\t%s\n", c.number, Cp1252ToUtf8(c.entity_prefix).c_str(),
                  Cp1252ToUtf8(c.cq_zone).c_str(), Cp1252ToUtf8(c.itu_zone).c_str(),
                  Cp1252ToUtf8(c.country_name).c_str(), Cp1252ToUtf8(c.remark).c_str());
    }
    return -1;
  }
};

// DD.MM.YYYY as a day number; -1 when it is no valid date.
int32_t ParseDate(const std::string& text) {
  int d = 0, m = 0, y = 0;
  char rest = 0;
  if (std::sscanf(text.c_str(), "%2d.%2d.%4d%c", &d, &m, &y, &rest) != 3) return -1;
  return DayNumber(d, m, y);
}

}  // namespace

int RunDxcc(const std::vector<std::string>& args) {
  if (args.empty() || args.size() > 2) {
    std::fprintf(stderr, "Aufruf: kontura-tool dxcc CALL [TT.MM.JJJJ]\n");
    return 2;
  }
  int32_t date = 0;
  if (args.size() == 2) {
    date = ParseDate(args[1]);
    if (date <= 0) {
      std::fprintf(stderr, "kontura-tool: ung\xC3\xBCltiges Datum \"%s\" (TT.MM.JJJJ)\n", args[1].c_str());
      return 2;
    }
  }
  if (!std::filesystem::exists("FHPREFIX.DAT")) {
    std::fprintf(stderr, "kontura-tool: keine Pr\xC3\xA4" "fixdatenbank (FHPREFIX) im aktuellen Verzeichnis\n");
    return 2;
  }
  const std::string call = UpperGerman(Utf8ToCp1252(args[0]));
  SetStartDirFromCurrentDirectory();
  if (!StartStorage()) return 1;
  if (!OpenFHPREFIX()) {
    StopStorage();
    return 1;
  }
  PrintingChooser chooser;
  PrefixChooser* old = InstallPrefixChooser(&chooser);
  const int result = ResolvePrefix(call, date, 0, nullptr);
  InstallPrefixChooser(old);
  int exit_code = 0;
  if (result != 0) {
    std::printf("unknown\n");
    exit_code = 1;
  } else if (chooser.asked) {
    exit_code = 3;
  } else {
    const ConstPrefixRecord working(CatalogueRecord(CatalogueId::kFhprefix));
    const std::string entity = working.EntityPrefix();
    const std::string continent = working.ContinentCode();
    const std::string country = working.CountryName();
    const std::string number = TrimBlanks(DxccNumberOfPrefix(entity));  // overwrites the working entry
    std::printf("%s\t%s\t%s\t%s\n", Cp1252ToUtf8(entity).c_str(), Cp1252ToUtf8(continent).c_str(),
                number.c_str(), Cp1252ToUtf8(country).c_str());
  }
  CloseFHPREFIX();
  StopStorage();
  return exit_code;
}

}  // namespace kontura::tool
