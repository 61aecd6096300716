#include "catalogue/record_summary.h"

#include <optional>

#include "contest/contest_header.h"
#include "contest/contest_totals.h"
#include "logging/qso_summary.h"
#include "refdata/prefix_record.h"
#include "refdata/setup_record.h"
#include "refdata/suite_records.h"
#include "storage/record_bytes.h"
#include "text/date_time_text.h"

namespace kontura {

namespace {

std::string Date(int32_t day) { return day > 0 ? DateToText("dd.mm.yyyy", day) : "-"; }
std::string Time(int32_t t) { return t > 0 ? TimeToText("hh:mm", t) : "-"; }
std::string Quoted(const std::string& s) { return "\"" + s + "\""; }
std::string Char(char c) { return c ? std::string(1, c) : std::string("-"); }

std::string HeaderLine(const uint8_t* rec) {
  ConstContestHeader h(rec);
  // The participant number as the operator typed it: -1 stands for "0",
  // 0 for nothing.
  const int32_t no = h.ParticipantNo();
  const std::string participant = no == -1 ? "0" : (no == 0 ? "" : std::to_string(no));
  return "Nr " + std::to_string(h.ContestNumber()) + " | Edition " + Char(h.EditionCode()) + " | Name " +
         Quoted(h.EntryName()) + " | von " + Date(h.DateFrom()) + " " + Time(h.TimeFrom()) + " | bis " +
         Date(h.DateTo()) + " " + Time(h.TimeTo()) + " | Call " + h.ContestCall() + " | Teilnehmer-Nr " +
         participant;
}

std::string TotalsLine(const uint8_t* rec) {
  ConstContestTotals t(rec);
  return "Nr " + std::to_string(t.ContestNumber()) + " | RST frei " + (t.RstSentUnlocked() ? "ja" : "nein");
}

std::string SetupLine(const uint8_t* rec) {
  ConstSetupRecord s(rec);
  return "Nr " + std::to_string(s.RecordNumber()) + " | Call " + s.OwnCall() + " | Locator " + s.OwnLocator() +
         " | Name " + Quoted(s.OwnName()) + " | Zeitdifferenz " + std::to_string(s.TimeOffsetHours());
}

std::string Setup2Line(const uint8_t* rec) {
  std::string line = "Nr " + std::to_string(GetI32(rec, setup2_record::kRecordNumber));
  for (int i = 1; i <= setup2_record::kTextCount; ++i) line += " | " + Quoted(Setup2Text(rec, i));
  return line;
}

std::string PrefixLine(const uint8_t* rec) {
  ConstPrefixRecord p(rec);
  return p.PatternText() + " | " + p.EntityPrefix() + " | Alt " + p.AlternativeNo() + " | CQ " + p.CqZone() +
         " | ITU " + p.ItuZone() + " | " + p.ContinentCode() + " | " + Quoted(p.CountryName()) + " | DXCC " +
         std::to_string(p.DxccNumber()) + " | g\xFCltig " + Date(p.ValidFrom()) + " - " + Date(p.ValidTo());
}

std::string ProfileLine(const uint8_t* rec) {
  return "Nr " + std::to_string(ProfileNumber(rec)) + " | " + Quoted(ProfileName(rec));
}

std::string CallbookLine(const uint8_t* rec) {
  return CallbookCall(rec) + " | Name " + Quoted(GetCallbookField(4, rec)) + " | QTH " +
         Quoted(GetCallbookField(15, rec)) + " | Locator " + GetCallbookField(7, rec) + " | DOK " +
         GetCallbookField(6, rec);
}

std::string CallListLine(const uint8_t* rec) {
  std::string line = CallListCall(rec);
  for (int i = 1; i <= call_record::kFieldCount; ++i) line += " | " + Quoted(GetCallField(i, rec));
  return line;
}

}  // namespace

std::string RecordSummary(const FileblockLayout& entry, const uint8_t* rec) {
  const std::optional<CatalogueId> id = CatalogueIdOf(entry);
  if (!id) return {};
  switch (*id) {
    case CatalogueId::kFhsetup: return SetupLine(rec);
    case CatalogueId::kFhsetup2: return Setup2Line(rec);
    case CatalogueId::kFhkk: return HeaderLine(rec);
    case CatalogueId::kFhkz: return TotalsLine(rec);
    case CatalogueId::kFhlk:
    case CatalogueId::kFhlktemp: return QsoSummary(rec);
    case CatalogueId::kFhprefix:
    case CatalogueId::kFhprefee:
    case CatalogueId::kFhprefes: return PrefixLine(rec);
    case CatalogueId::kFhpro: return ProfileLine(rec);
    case CatalogueId::kFhcbuch: return CallbookLine(rec);
    case CatalogueId::kFhcall: return CallListLine(rec);
  }
  return {};
}

}  // namespace kontura
