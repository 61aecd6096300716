// The entity of a QSO through the real prefix look-up and its working entry.

#include "logging/prefix_entity_lookup.h"

#include <gtest/gtest.h>

#include "logging/qso_record.h"
#include "refdata/prefix_choice.h"
#include "tests/support/prefix_tables.h"
#include "tests/support/start_dir_fixture.h"

namespace kontura::testing {
namespace {

class AnswerChooser : public PrefixChooser {
 public:
  int answer = -1;
  int calls = 0;
  int Choose(std::string_view, const std::vector<PrefixCandidate>&) override {
    ++calls;
    return answer;
  }
};

class PrefixEntityLookupTest : public StartDirTest {
 protected:
  void SetUp() override {
    StartDirTest::SetUp();
    ASSERT_TRUE(StartStorage());
    ASSERT_TRUE(AddPrefixEntry({.pattern = "DL", .entity = "DL"}));
    ASSERT_TRUE(AddPrefixEntry({.pattern = "EA8", .entity = "EA8", .continent = "AF"}));
    ASSERT_TRUE(AddPrefixEntry({.pattern = "VK9", .entity = "VK9X", .continent = "OC", .alternative = "1"}));
    ASSERT_TRUE(AddPrefixEntry({.pattern = "VK9", .entity = "VK9C", .continent = "OC", .alternative = "2"}));
    old = InstallPrefixChooser(&chooser);
  }
  void TearDown() override {
    InstallPrefixChooser(old);
    StartDirTest::TearDown();
  }
  QsoRecord Qso(const char* call) {
    QsoRecord r;
    r.SetCall(call);
    r.SetContinent("XX");
    return r;
  }

  AnswerChooser chooser;
  PrefixChooser* old = nullptr;
  PrefixEntityLookup lookup;
};

TEST_F(PrefixEntityLookupTest, DeterminesEntityAndContinent) {
  ASSERT_TRUE(OpenFHPREFIX());
  const struct {
    const char* call;
    EntityResult result;
    const char* dxcc;
    const char* continent;
  } cases[] = {
      {"DL1ABC", EntityResult::Found, "DL", "EU"},
      {"EA8XYZ", EntityResult::Found, "EA8", "AF"},
      {"QQ1ABC", EntityResult::Unknown, "", ""},
  };
  for (const auto& c : cases) {
    QsoRecord r = Qso(c.call);
    bool chosen = false;
    EXPECT_EQ(DetermineEntity(r, chosen, lookup), c.result) << c.call;
    EXPECT_EQ(r.Dxcc(), c.dxcc) << c.call;
    EXPECT_EQ(r.Continent(), c.continent) << c.call;
    EXPECT_FALSE(chosen);
  }
  CloseFHPREFIX();
  QsoRecord r = Qso("DL1ABC");
  bool chosen = false;
  EXPECT_EQ(DetermineEntity(r, chosen, lookup), EntityResult::Unknown) << "no database open";
  EXPECT_EQ(lookup.WorkingEntry().entity_prefix, "");
}

TEST_F(PrefixEntityLookupTest, ChoiceIsKeptAndCancelEmptiesTheEntity) {
  ASSERT_TRUE(OpenFHPREFIX());
  chooser.answer = 1;
  QsoRecord r = Qso("VK9ABC");
  bool chosen = false;
  EXPECT_EQ(DetermineEntity(r, chosen, lookup), EntityResult::Found);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(r.Dxcc(), "VK9C");
  EXPECT_EQ(r.Continent(), "OC");
  EXPECT_EQ(chooser.calls, 1);

  // Cancelling: found, but without entity and continent, and without a message.
  chooser.answer = -1;
  r = Qso("VK9ABC");
  chosen = false;
  EXPECT_EQ(DetermineEntity(r, chosen, lookup), EntityResult::Found);
  EXPECT_FALSE(chosen);
  EXPECT_EQ(r.Dxcc(), "");
  EXPECT_EQ(r.Continent(), "");
  EXPECT_TRUE(platform.dialogs.messages.empty());
}

}  // namespace
}  // namespace kontura::testing
