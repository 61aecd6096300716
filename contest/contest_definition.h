#pragma once
// The contest definition: the in-memory rules of the contest this edition
// supports (modes, bands, exchange, categories, default times, duplicate rule,
// exports). It is never stored; FillContestDefinition rebuilds it from
// constants, the current contest header and the own station whenever needed.
//
// The tables of the definition are numbered from 1 where the rules speak of
// them; here they are 0-based arrays: entry i lives at index i - 1. The
// capacities are fixed (100 modes, 100 bands, 10 periods, 20 categories, ...),
// and the strings hold at most 255 Windows-1252 bytes.

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace kontura {

// The edition of this program. Every contest it creates carries this code, and
// the catalogue lists only contests that carry it.
inline constexpr char kEditionCode = 'm';

// Exchange field kinds of RecvKinds and SentKinds. Any other value behaves
// like kExchangeFreeText.
enum ExchangeKind : int32_t {
  kExchangeHidden = 0,
  kExchangeDok = 4,
  kExchangeLocator4 = 5,
  kExchangeLocator6 = 6,
  kExchangeSerial = 7,
  kExchangeArea = 8,
  kExchangeModeSerial = 11,
  kExchangeUsState = 12,
  kExchangeBandSerial = 13,
  kExchangePostalCode = 15,
  kExchangeClubNumber = 16,
  kExchangeLdk = 17,
  kExchangeClubNumber2 = 19,
  kExchangeFreeText = 99,
};

// The caption the logging window shows for a received field of this kind when
// the definition has no label of its own for it; empty for hidden fields and
// for kinds without a caption of their own.
std::string_view ExchangeKindCaption(int32_t kind);

struct PeriodEntry {
  std::string PeriodDateFrom;  // "DD.MM.YYYY"
  std::string PeriodDateTo;
  std::string PeriodTimeFrom;  // "HH:MM:SS"
  std::string PeriodTimeTo;
  char PeriodBand = 0;
  std::array<uint8_t, 9> Unused{};  // read by no part of the program
};

struct CategoryEntry {
  std::string LongName;      // shown in the dialog and on cover sheets; empty = skipped
  uint8_t PeriodIndex = 0;   // 0 = none, 1..10 = entry of Periods
  std::string ShortName;     // category part of export file names
};

struct TContestDefinition {
  uint8_t ListenerLog = 0;
  std::array<std::string, 100> ModeNames;        // empty entry: no further mode
  std::array<char, 100> BandCodes{};             // 0: no further band
  std::bitset<256> ContestOptions;
  std::array<PeriodEntry, 10> Periods;
  std::array<std::string, 3> MultiplierNames;
  std::array<int32_t, 3> RecvKinds{};            // received exchange fields 2, 3, 4
  std::array<int32_t, 3> SentKinds{};            // sent exchange fields 2, 3, 4
  std::array<std::string, 3> SentDefaults;
  uint8_t DupeRule = 0;
  std::array<std::string, 100> AllowedDoks;
  std::array<char, 26> AllowedDokLetters{};
  std::array<std::string, 100> CallList;
  std::array<std::string, 100> ValueList2;
  std::array<char, 26> ValueLetters2{};
  std::array<std::string, 100> ValueList3;
  std::array<char, 26> ValueLetters3{};
  std::string ContestName;
  std::string ProgramTitle;
  std::array<CategoryEntry, 20> Categories;
  std::string DefaultDateFrom;
  std::string DefaultDateTo;
  std::string DefaultTimeFrom;
  std::string DefaultTimeTo;
  int32_t UtcOffsetHours = 0;
  std::string BlockedDok;
  uint8_t BandCounting = 0;
  std::bitset<256> ExportSet;
  uint8_t AutoBandByTime = 0;
  std::array<std::string, 3> ExchangeLabels;
};

// What FillContestDefinition reads besides constants: the current contest
// header record (whatever it holds, a cleared one included), the own locator
// of the suite's set-up as it stands now, and the clock's time zone.
struct ContestDefinitionInputs {
  int32_t header_start_date = 0;          // day number
  int32_t header_participant_number = 0;
  std::string own_locator;
};

// Rebuilds def completely for this program's edition. Cannot fail.
void FillContestDefinition(TContestDefinition& def, const ContestDefinitionInputs& inputs,
                           Clock& clock);

// Hours to add to local time to get UTC, from the time-zone information:
// bias plus the daylight or standard bias, truncated towards zero.
int32_t UtcOffsetHoursOf(const TimeZoneInfo& zone);

// The entries of the export menu that ExportSet switches, in menu order.
struct ExportMenuEntry {
  int element;          // bit of ExportSet
  std::string_view caption;
};
extern const std::array<ExportMenuEntry, 12> kExportMenu;

// The fixed data of this program's edition.
struct EditionData {
  char code;
  std::string_view productTitle;     // "Kontura Version 2010-1.0"
  std::string_view contestBaseName;  // contest name without the year
  std::string_view heading;          // main window heading, in quotation marks
  int heading_font_size;
  std::string_view sidePicture;      // "mobilsh.bmp"
  std::string_view titlePicture;     // "titel_kontura.bmp"
  std::string_view windowCaption;
  std::string_view rulesDocument;    // in the start directory
};
const EditionData& ThisEdition();

// The contest name of any edition code of the program family; empty for an
// unknown code. Only this program's edition is ever selected.
std::string_view EditionContestName(char code);

}  // namespace kontura
