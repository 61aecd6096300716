#include "contest/contest_definition.h"

#include <utility>

#include "text/calendar.h"
#include "text/date_time_text.h"
#include "text/picture_format.h"

namespace kontura {
namespace {

// The contest name without its year; the definition appends the year of the
// contest's start date.
constexpr std::string_view kContestBaseName = "Gro\xDF" "raum-Mobilwettbewerb 80m";

constexpr EditionData kEdition = {
    kEditionCode,
    "Kontura Version 2010-1.0",
    kContestBaseName,
    "\"Gro\xDF" "raum-Mobilwettbewerb 80m\"",
    12,
    "mobilsh.bmp",
    "titel_kontura.bmp",
    "Brixam Kontura Version 2010-1.0 Gro\xDF" "raum-Mobilwettbewerb 80m",
    "AUSSCHREIBUNG MOBILTEST.pdf",
};

// The contests of the whole program family, by edition code. Kept for the
// names only: this program selects its own edition and no other.
constexpr std::pair<char, std::string_view> kEditionNames[] = {
    {'m', kContestBaseName},
    {'V', "Mecklenburg-Vorpommern - Contest"},
    {'B', "Baden - W\xFCrttemberg Aktivit\xE4t"},
    {'H', "Holyland - Contest"},
    {'D', "Deutschland Contest des DTC e.V."},
    {'5', "Funkertag-QSO-Party"},
    {'P', "Februar-QSO-Party"},
    {'E', "Europatag der Schulstationen"},
    {'F', "Aktivit\xE4tswettbewerb Franken"},
    {'J', "Hamburg Contest"},
    {'G', "Hessencontest"},
    {'R', "Rheinland-Pfalz - Aktivit\xE4tsabende"},
    {'h', "Rheinland-Pfalz - Aktivit\xE4tswoche"},
    {'N', "Nordic Activity Contest"},
    {'S', "Aktivit\xE4tswettbewerbe H, S, W"},
    {'T', "Th\xFCringen-Contest"},
    {'L', "Kurzcontest Ruhrgebiet"},
    {'U', "Bayern-Ost-Contest"},
    {'I', "Kurzwellenaktivit\xE4tstag Nordsee"},
    {'l', "Aktivit\xE4tstag Nordsee"},
    {'g', "Nordsee-Contest UKW"},
    {'Z', "IPARC-Contest"},
    {'C', "Brandenburg-Berlin-Contest"},
    {'O', "Aktivit\xE4tswochenende Schleswig-Holstein"},
    {'Q', "Schwabenkontest"},
    {'1', "DARC 10 m-Contest"},
    {'K', "Herbstcontest K\xF6ln-Aachen"},
    {'A', "Deutscher Telegraphie-Contest"},
    {'f', "Happy New Year-Contest"},
    {'i', "Naval-Contest"},
    {'j', "MMMonVHF MS SPRINT CONTEST"},
    {'Y', "VFDB-Contest"},
    {'2', "Westfalen Nord QRP Aktivit\xE4ts Contest"},
    {'3', "Westfalen Nord Contest"},
    {'c', "Westfalen Nord Aktivit\xE4tstag"},
    {'4', "Party des Radio Telegraphy Club e.V."},
    {'6', "HSC-CW-Contest"},
    {'7', "DIG-QSO-Party"},
    {'8', "AGCW - VHF/UHF-Contest"},
    {'9', "IARU-Region-1-Fieldday"},
    {'a', "Nordrhein-Aktivit\xE4t"},
    {'b', "Original-QRP-Contest"},
    {'d', "SAAR-Contest"},
    {'e', "Nord-Contest"},
    {'k', "QCWA-Party"},
};
static_assert(std::size(kEditionNames) == 45);

}  // namespace

const std::array<ExportMenuEntry, 12> kExportMenu = {{
    {1, "E-Log Deckblatt"},
    {2, "E-Log QSO-Liste"},
    {3, "STF-Datei (empfohlen)"},
    {4, "ADIF- Exportdatei der QSO-Liste"},
    {5, "Papierlog - Deckblatt"},
    {6, "Papierlog - QSO-Liste"},
    {7, "Papierlog - Band-Liste"},
    {8, "Papierlog - Multi-Checkliste"},
    {9, "Cabrillo-Datei"},
    {10, "E-Log Band-Liste"},
    {12, "E-Log Multi-Checkliste"},
    {13, "EDI-Datei (empfohlen)"},
}};

std::string_view ExchangeKindCaption(int32_t kind) {
  switch (kind) {
    case kExchangeDok: return "DOK";
    case kExchangeLocator4:
    case kExchangeLocator6: return "LOC";
    case kExchangeSerial:
    case kExchangeModeSerial:
    case kExchangeBandSerial: return "lfd.Nr.";
    case kExchangeArea: return "Area";
    case kExchangeUsState: return "US-State";
    case kExchangePostalCode: return "PLZ";
    case kExchangeLdk: return "LDK";
    default: return "";  // hidden, club numbers (the contest names them), free text
  }
}

int32_t UtcOffsetHoursOf(const TimeZoneInfo& zone) {
  int32_t minutes = zone.bias + (zone.daylight_in_effect ? zone.daylight_bias : zone.standard_bias);
  return minutes / 60;  // C++ division truncates towards zero
}

void FillContestDefinition(TContestDefinition& def, const ContestDefinitionInputs& inputs,
                           Clock& clock) {
  def = TContestDefinition{};
  // The family default export set; this edition replaces it below.
  def.ExportSet.reset();
  for (int e : {1, 2, 3, 4, 5, 6, 7}) def.ExportSet.set(e);

  def.UtcOffsetHours = UtcOffsetHoursOf(clock.TimeZone());

  def.ProgramTitle = std::string(kEdition.productTitle);
  std::string year = DateToText("yyyy", inputs.header_start_date);
  if (year.size() > 69) year.resize(69);
  def.ContestName = std::string(kContestBaseName) + " " + year;

  def.DefaultTimeFrom = "05:30";
  def.DefaultTimeTo = "07:30";
  def.Categories[0].LongName = "alle";

  def.ModeNames[0] = "CW";
  def.ModeNames[1] = "SSB";
  def.ModeNames[2] = "FM";
  def.BandCodes[0] = 'b';  // 80 m
  def.BandCodes[1] = 'k';  // 2 m
  def.BandCodes[2] = 'l';  // 70 cm

  def.RecvKinds = {kExchangeFreeText, kExchangeLocator6, kExchangeHidden};
  def.SentKinds = {kExchangeFreeText, kExchangeLocator6, kExchangeHidden};
  if (inputs.header_participant_number > 0) {
    def.SentDefaults[0] = FormatPictureInt("@@@@@", inputs.header_participant_number);
  }
  def.SentDefaults[1] = inputs.own_locator;

  def.DupeRule = 2;  // same call on the same band, whatever the mode
  def.BandCounting = 0;
  def.AutoBandByTime = 0;
  def.ExchangeLabels[0] = "Teiln.Nr.";

  def.ExportSet.reset();
  for (int e : {1, 2, 4, 5, 6, 7, 10}) def.ExportSet.set(e);
}

const EditionData& ThisEdition() { return kEdition; }

std::string_view EditionContestName(char code) {
  for (const auto& [c, name] : kEditionNames) {
    if (c == code) return name;
  }
  return {};
}

}  // namespace kontura
