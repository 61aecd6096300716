// The one-line record summaries of the record listing.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/record_summary.h"
#include "contest/contest_header.h"
#include "refdata/prefix_record.h"
#include "refdata/setup_record.h"
#include "refdata/suite_records.h"
#include "text/calendar.h"

namespace kontura {
namespace {

std::vector<uint8_t> Record(CatalogueId id) {
  return std::vector<uint8_t>(static_cast<size_t>(CatalogueLayout(id).buffer_size), 0);
}

TEST(RecordSummary, ContestHeaderShowsWhatTheCatalogueShows) {
  struct Case {
    int32_t participant, date_to, time_to;
    std::string expected;
  };
  const std::string head = "Nr 7 | Edition m | Name \"GMW 2026\" | von 01.03.2026 05:30 | bis ";
  const Case cases[] = {
      {12, DayNumber(1, 3, 2026), 27000, head + "01.03.2026 07:30 | Call DL1ABC | Teilnehmer-Nr 12"},
      {-1, 0, 0, head + "- - | Call DL1ABC | Teilnehmer-Nr 0"},
      {0, -1, -1, head + "- - | Call DL1ABC | Teilnehmer-Nr "},
  };
  for (const Case& c : cases) {
    auto rec = Record(CatalogueId::kFhkk);
    TContestHeader h(rec.data());
    h.SetContestNumber(7);
    h.SetEditionCode('m');
    h.SetEntryName("GMW 2026");
    h.SetDateFrom(DayNumber(1, 3, 2026));
    h.SetTimeFrom(19800);
    h.SetDateTo(c.date_to);
    h.SetTimeTo(c.time_to);
    h.SetContestCall("DL1ABC");
    h.SetParticipantNo(c.participant);
    EXPECT_EQ(RecordSummary(CatalogueLayout(CatalogueId::kFhkk), rec.data()), c.expected);
  }
}

TEST(RecordSummary, OtherFileblocks) {
  auto setup = Record(CatalogueId::kFhsetup);
  SetupRecord s(setup.data());
  s.SetRecordNumber(1);
  s.SetOwnCall("DK2XY");
  s.SetOwnLocator("JO62QM");
  s.SetOwnName("J\xFCrgen");
  s.SetTimeOffsetHours(-2);
  EXPECT_EQ(RecordSummary(CatalogueLayout(CatalogueId::kFhsetup), setup.data()),
            "Nr 1 | Call DK2XY | Locator JO62QM | Name \"J\xFCrgen\" | Zeitdifferenz -2");

  auto prefix = Record(CatalogueId::kFhprefix);
  PrefixRecord p(prefix.data());
  p.SetPatternText("DL");
  p.SetEntityPrefix("DL");
  p.SetCqZone("14");
  p.SetItuZone("28");
  p.SetContinentCode("EU");
  p.SetCountryName("Deutschland");
  p.SetDxccNumber(230);
  p.SetValidFrom(DayNumber(17, 9, 1973));
  EXPECT_EQ(RecordSummary(CatalogueLayout(CatalogueId::kFhprefee), prefix.data()),
            "DL | DL | Alt  | CQ 14 | ITU 28 | EU | \"Deutschland\" | DXCC 230 | g\xFCltig 17.09.1973 - -");

  auto book = Record(CatalogueId::kFhcbuch);
  SetCallbookCall(book.data(), "DL1ABC");
  SetCallbookField(4, "Hans", book.data());
  SetCallbookField(15, "Berlin", book.data());
  SetCallbookField(7, "JO62QM", book.data());
  SetCallbookField(6, "D01", book.data());
  EXPECT_EQ(RecordSummary(CatalogueLayout(CatalogueId::kFhcbuch), book.data()),
            "DL1ABC | Name \"Hans\" | QTH \"Berlin\" | Locator JO62QM | DOK D01");

  auto profile = Record(CatalogueId::kFhpro);
  profile[4] = 3;
  SetProfileName(profile.data(), "Portabel");
  EXPECT_EQ(RecordSummary(CatalogueLayout(CatalogueId::kFhpro), profile.data()), "Nr 3 | \"Portabel\"");
}

// A damaged record (every length byte far above its capacity, dates and
// numbers out of range) is listed and keyed without reading a byte outside
// the record; the sanitizer build turns any such read into a failure.
TEST(RecordSummary, DamagedRecordsStayInsideTheirBytes) {
  for (uint8_t fill : {uint8_t{0xFF}, uint8_t{0x7F}}) {
    for (const FileblockLayout& e : ProgramCatalogue()) {
      std::vector<uint8_t> rec(static_cast<size_t>(e.record_length), fill);
      std::string line = RecordSummary(e, rec.data());
      EXPECT_FALSE(line.empty()) << e.name;
      for (size_t k = 1; k <= e.keys.size(); ++k) {
        EXPECT_LE(e.key_builder(rec.data(), static_cast<int>(k)).size(), 50u) << e.name << " key " << k;
      }
    }
  }
}

}  // namespace
}  // namespace kontura
