// The prefix look-up on small hand-made tables: patterns, ranges, wildcards,
// the overlay tables, alternatives and the choice, former prefixes, validity
// dates, redirects, the step limit, the entity search and the DXCC number.

#include <gtest/gtest.h>

#include <vector>

#include "refdata/prefix_choice.h"
#include "refdata/prefix_lookup.h"
#include "refdata/prefix_record.h"
#include "tests/support/prefix_tables.h"
#include "tests/support/start_dir_fixture.h"
#include "text/calendar.h"

namespace kontura::testing {
namespace {

// Answers the choice with a fixed row and remembers what it was shown.
class ScriptedChooser : public PrefixChooser {
 public:
  int answer = -1;
  int calls = 0;
  std::string name;
  std::vector<PrefixCandidate> rows;
  int Choose(std::string_view n, const std::vector<PrefixCandidate>& r) override {
    ++calls;
    name = std::string(n);
    rows = r;
    return answer;
  }
};

class PrefixLookupTest : public StartDirTest {
 protected:
  void SetUp() override {
    StartDirTest::SetUp();
    ASSERT_TRUE(StartStorage());
    old_chooser = InstallPrefixChooser(&chooser);
  }
  void TearDown() override {
    InstallPrefixChooser(old_chooser);
    StartDirTest::TearDown();
  }

  void Add(const PrefixEntry& e, CatalogueId table = CatalogueId::kFhprefix) {
    ASSERT_TRUE(AddPrefixEntry(e, table)) << e.pattern;
  }
  // Opens FHPREFIX for the look-ups, as the main window keeps it open.
  void OpenMain() { ASSERT_TRUE(OpenFHPREFIX()); }

  ConstPrefixRecord Working() const { return ConstPrefixRecord(CatalogueRecord(CatalogueId::kFhprefix)); }

  struct Outcome {
    int result;
    std::string entity;
    std::string pattern;
  };
  Outcome Resolve(const std::string& call, int32_t date = 0, bool* chosen = nullptr) {
    const int r = ResolvePrefix(call, date, 0, chosen);
    return {r, Working().EntityPrefix(), Working().PatternText()};
  }

  ScriptedChooser chooser;
  PrefixChooser* old_chooser = nullptr;
  const int32_t today = DayNumber(7, 3, 2026);  // the fixed clock's date
};

TEST_F(PrefixLookupTest, PatternsRangesAndWildcards) {
  Add({.pattern = "DL", .entity = "DL"});
  Add({.pattern = "K", .entity = "K", .continent = "NA"});
  Add({.pattern = "SV", .entity = "SV"});
  Add({.pattern = "SV/A", .entity = "SV/A"});
  Add({.pattern = "FT?W", .entity = "FT5W", .continent = "AF"});
  Add({.pattern = "JR", .entity = "JA", .continent = "AS", .range_start = 'C'});
  Add({.pattern = "ZZ~", .entity = "ZZX"});
  OpenMain();
  const struct {
    const char* call;
    int result;
    const char* entity;
    const char* pattern;
  } cases[] = {
      {"DL1ABC", 0, "DL", "DL1"},       // two letters get the call area
      {"DL", 0, "DL", "DL"},            // too short for a call area
      {"K1ABC", 0, "K", "K1"},          // one letter gets the digit after it
      {"SV2XYZ", 0, "SV", "SV2"},
      {"SV2XYZ/A", 0, "SV/A", "SV/A"},  // the special pair becomes SV/A
      {"FT5WA", 0, "FT5W", "FT5W"},     // "?" stands for 5 and reads it back
      {"JC1ABC", 0, "JA", "JC1"},       // range C..R
      {"JR1ABC", 0, "JA", "JR1"},
      {"JA1ABC", 1, "", ""},            // below the range start
      {"JS1ABC", 1, "", ""},            // past the range end
      {"ZZ5AB", 0, "ZZX", "ZZ5"},       // "~" stands for a digit
      {"ZZA1", 0, "ZZX", "ZZA"},        // and for a letter
      {"QQ1ABC", 1, "", ""},
  };
  for (const auto& c : cases) {
    const Outcome o = Resolve(c.call);
    EXPECT_EQ(o.result, c.result) << c.call;
    if (c.result == 0) {
      EXPECT_EQ(o.entity, c.entity) << c.call;
      EXPECT_EQ(o.pattern, c.pattern) << c.call;
    }
  }
  EXPECT_EQ(chooser.calls, 0);
}

TEST_F(PrefixLookupTest, WithoutOpenMainTableNothingIsFound) { EXPECT_EQ(ResolvePrefix("DL1ABC", 0, 0, nullptr), 1); }

TEST_F(PrefixLookupTest, OverlayTablesComeFirst) {
  Add({.pattern = "DL", .entity = "DL"});
  Add({.pattern = "EA8", .entity = "EA8", .continent = "AF"});
  Add({.pattern = "DL1ABC", .entity = "DLEE", .prefix_flag = ' '}, CatalogueId::kFhprefee);
  Add({.pattern = "EA8", .entity = "EA8ES", .prefix_flag = 'J'}, CatalogueId::kFhprefes);
  Add({.pattern = "DL2", .entity = "DL2ES", .prefix_flag = ' '}, CatalogueId::kFhprefes);
  OpenMain();
  const struct {
    const char* call;
    const char* entity;
  } cases[] = {
      {"DL1ABC", "DLEE"},    // the whole call
      {"DL1ABCD", "DLEE"},   // the key holds six characters
      {"DL1ABC/P", "DLEE"},
      {"DL1AB", "DL"},       // shorter than the entry: main table
      {"EA8XYZ", "EA8ES"},   // "J": every call beginning with EA8
      {"EA8", "EA8ES"},
      {"DL2ABC", "DL"},      // without "J" a prefix entry needs the whole call
      {"DL2", "DL2ES"},
  };
  for (const auto& c : cases) {
    const Outcome o = Resolve(c.call);
    EXPECT_EQ(o.result, 0) << c.call;
    EXPECT_EQ(o.entity, c.entity) << c.call;
  }
  // The overlays are closed again after each look-up.
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhprefee), nullptr);
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhprefes), nullptr);
}

TEST_F(PrefixLookupTest, AlternativesAreChosenByTheOperator) {
  Add({.pattern = "VK9", .entity = "VK9X", .alternative = "1", .country = "Christmas Island", .cq = "29"});
  Add({.pattern = "VK9", .entity = "VK9C", .alternative = "2", .country = "Cocos Keeling", .remark = "Cocos"});
  Add({.pattern = "VK9", .entity = "VK9O", .alternative = "3", .valid_to = today - 10});
  Add({.pattern = "VK9", .entity = "VK9N", .alternative = "4", .valid_from = today + 10});
  Add({.pattern = "VK9", .entity = "VK9Z", .alternative = "0"});  // never offered
  Add({.pattern = "VK9L", .entity = "VK9L", .alternative = "1"});  // another pattern
  OpenMain();

  chooser.answer = 1;
  bool chosen = false;
  Outcome o = Resolve("VK9ABC", 0, &chosen);
  EXPECT_EQ(o.result, 0);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(o.entity, "VK9C");
  EXPECT_EQ(chooser.name, "VK9");
  ASSERT_EQ(chooser.rows.size(), 4u);
  EXPECT_EQ(chooser.rows[0].number, 1);
  EXPECT_EQ(chooser.rows[0].entity_prefix, "VK9X");
  EXPECT_EQ(chooser.rows[0].cq_zone, "29");
  EXPECT_EQ(chooser.rows[0].country_name, "Christmas Island");
  EXPECT_EQ(chooser.rows[1].remark, "Cocos");
  EXPECT_EQ(chooser.rows[2].remark, "  (deleted)");
  EXPECT_EQ(chooser.rows[3].country_name, "not current");

  // Cancelling leaves a cleared working entry and still counts as found.
  chooser.answer = -1;
  o = Resolve("VK9ABC", 0, &chosen);
  EXPECT_EQ(o.result, 0);
  EXPECT_FALSE(chosen);
  EXPECT_EQ(o.entity, "");
  EXPECT_EQ(Working().ContinentCode(), "");

  // "-2" names the alternative: no choice.
  chooser.calls = 0;
  o = Resolve("VK9-2", 0, &chosen);
  EXPECT_EQ(o.result, 0);
  EXPECT_EQ(o.entity, "VK9C");
  EXPECT_EQ(chooser.calls, 0);
  EXPECT_FALSE(chosen);
}

TEST_F(PrefixLookupTest, AtMostThirtyAlternativesAndResolvedRows) {
  for (int i = 1; i <= 31; ++i) Add({.pattern = "ZS8", .entity = "E" + std::to_string(i), .alternative = std::to_string(i)});
  Add({.pattern = "Y2", .entity = "Y2", .country = "DDR"});
  Add({.pattern = "3B", .entity = "OLD", .alternative = "1", .former1 = "Y2", .former_until1 = today});
  Add({.pattern = "3B", .entity = "NEW", .alternative = "2", .redirect = "Y2"});
  OpenMain();
  chooser.answer = 29;
  Outcome o = Resolve("ZS8A");
  EXPECT_EQ(chooser.rows.size(), 30u);
  EXPECT_EQ(o.entity, "E8") << "key 3 sorts 1, 10..19, 2, 20..29, 3, 30, 31, 4: the rows keep that order";

  // Rows show the entity a former prefix or a redirect stands for.
  chooser.answer = 1;
  o = Resolve("3B7");
  ASSERT_EQ(chooser.rows.size(), 2u);
  EXPECT_EQ(chooser.rows[0].entity_prefix, "Y2");
  EXPECT_EQ(chooser.rows[0].country_name, "DDR");
  EXPECT_EQ(chooser.rows[1].entity_prefix, "Y2");
  EXPECT_EQ(o.result, 0);
  EXPECT_EQ(o.entity, "Y2");
}

TEST_F(PrefixLookupTest, FormerPrefixesApplyUpToTheirDay) {
  Add({.pattern = "DL", .entity = "DL", .former1 = "Y2", .former_until1 = today - 100});
  Add({.pattern = "Y2", .entity = "Y2", .continent = "EU", .country = "DDR"});
  Add({.pattern = "UA", .entity = "UA", .former2 = "RA", .former_until2 = today - 100});
  Add({.pattern = "RA3", .entity = "RA3E"});
  Add({.pattern = "OK", .entity = "OK", .former1 = "OKOM", .former_until1 = today - 100});  // OKOM has no entry
  OpenMain();
  const struct {
    const char* call;
    int32_t date;
    int result;
    const char* entity;
    const char* pattern;
  } cases[] = {
      {"DL1ABC", today - 100, 0, "Y2", "DL1"},  // the former entity, the pattern of the call
      {"DL1ABC", today - 99, 0, "DL", "DL1"},
      {"UA3ABC", today - 100, 0, "RA3E", "UA3"},  // RA with the call area: RA3
      {"UA3ABC", today, 0, "UA", "UA3"},
      {"OK1ABC", today - 100, 1, "", ""},
  };
  for (const auto& c : cases) {
    const Outcome o = Resolve(c.call, c.date);
    EXPECT_EQ(o.result, c.result) << c.call << " " << c.date;
    if (c.result == 0) {
      EXPECT_EQ(o.entity, c.entity) << c.call << " " << c.date;
      EXPECT_EQ(o.pattern, c.pattern) << c.call << " " << c.date;
    }
  }
}

TEST_F(PrefixLookupTest, ValidityDates) {
  Add({.pattern = "ZA", .entity = "ZA", .valid_from = today - 50, .valid_to = today - 10});
  OpenMain();
  const struct {
    int32_t date;
    int result;
  } cases[] = {{today - 51, 2}, {today - 50, 0}, {today - 10, 0}, {today - 9, 2}, {0, 2}};
  for (const auto& c : cases) EXPECT_EQ(Resolve("ZA1A", c.date).result, c.result) << c.date;
}

TEST_F(PrefixLookupTest, Redirects) {
  Add({.pattern = "KG4", .entity = "KG4X", .redirect = "KH2"});   // same length
  Add({.pattern = "KH2", .entity = "KH2", .continent = "OC"});
  Add({.pattern = "ZD~", .entity = "ZDX", .redirect = "ZS#"});    // "#": the wildcard position
  Add({.pattern = "ZS9", .entity = "ZS9", .continent = "AF"});
  Add({.pattern = "4N", .entity = "4N", .valid_from = today - 10});
  Add({.pattern = "YU", .entity = "YUX", .redirect = "4N-NT"});  // today's entry
  Add({.pattern = "YT1", .entity = "YTX", .redirect = "4N"});    // the QSO date's entry
  Add({.pattern = "XA1", .entity = "XA1", .redirect = "XB"});    // a circle
  Add({.pattern = "XB", .entity = "XB", .redirect = "XA1"});
  Add({.pattern = "NB?X", .entity = "NBX"});                     // a wildcard that leads nowhere
  OpenMain();
  const struct {
    const char* call;
    int32_t date;
    int result;
    const char* entity;
    const char* pattern;
  } cases[] = {
      {"KG4AB", 0, 0, "KH2", "KG4"},
      {"ZD9A", 0, 0, "ZS9", "ZD9"},
      {"YU1AA", today - 100, 0, "4N", "YU1"},
      {"YT1AA", today - 100, 2, "", ""},
      {"YT1AA", today, 0, "4N", "YT1"},
      {"XA1ABC", 0, 1, "", ""},  // more than five steps
      {"NB5Q", 0, 1, "", ""},    // ends instead of going round
  };
  for (const auto& c : cases) {
    const Outcome o = Resolve(c.call, c.date);
    EXPECT_EQ(o.result, c.result) << c.call;
    if (c.result == 0) {
      EXPECT_EQ(o.entity, c.entity) << c.call;
      EXPECT_EQ(o.pattern, c.pattern) << c.call;
    }
  }
}

TEST_F(PrefixLookupTest, EntityRecordPrefersTheEntitysOwnEntry) {
  Add({.pattern = "DA", .entity = "DL", .country = "Germany DA"});
  Add({.pattern = "DL", .entity = "DL", .country = "Germany"});
  Add({.pattern = "DM", .entity = "DM", .country = "only main"});
  Add({.pattern = "DM", .entity = "DM", .country = "overlay own"}, CatalogueId::kFhprefee);
  Add({.pattern = "HB0X", .entity = "HB0", .country = "Liechtenstein"}, CatalogueId::kFhprefes);
  OpenMain();
  ASSERT_TRUE(FindEntityRecord("DL"));
  EXPECT_EQ(Working().CountryName(), "Germany");
  ASSERT_TRUE(FindEntityRecord("DM"));
  EXPECT_EQ(Working().CountryName(), "overlay own");
  ASSERT_TRUE(FindEntityRecord("HB0"));  // any entry of the entity, in the last overlay
  EXPECT_EQ(Working().CountryName(), "Liechtenstein");
  EXPECT_FALSE(FindEntityRecord("D"));
  EXPECT_FALSE(FindEntityRecord("ZZ"));
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhprefee), nullptr);
  EXPECT_EQ(CatalogueHandle(CatalogueId::kFhprefes), nullptr);
}

TEST_F(PrefixLookupTest, DxccNumberOfPrefix) {
  Add({.pattern = "XQ", .entity = "XQ", .dxcc = 77});
  Add({.pattern = "VR6", .entity = "VR6", .dxcc = 172});
  Add({.pattern = "DL", .entity = "DL", .dxcc = 5});
  OpenMain();
  const struct {
    const char* prefix;
    const char* number;
  } cases[] = {
      {"DL", "230"},    // the entity list wins over the database
      {"VE", "  1"},
      {" DL\t", "230"},  // trimmed
      {"3Y5", "24"},    // special entity, plain digits
      {"VR6", "172"},   // special entity the database knows: its number, right-aligned
      {"XQ", " 77"},    // only the database knows it
      {"FJ", "516"},
      {"QQ", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DxccNumberOfPrefix(c.prefix), c.number) << c.prefix;
}

}  // namespace
}  // namespace kontura::testing
