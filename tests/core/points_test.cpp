// Points, distance of a QSO, the multiplier evaluation of this edition and
// the entity determination.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logging/entity.h"
#include "logging/points.h"
#include "logging/qso_record.h"

namespace kontura {
namespace {

TEST(QsoPoints, DistanceUnlessExcludedOrShortCall) {
  struct Case {
    const char* call;
    int32_t distance;
    uint8_t excluded;
    uint16_t points;
  };
  const Case cases[] = {
      {"DL1ABC", 164, 0, 164}, {"DL1ABC", 0, 0, 0},      {"DL1", 308, 0, 308},  {"DL", 308, 0, 0},
      {"", 308, 0, 0},         {"DL1ABC", 164, 1, 0},    {"DL1ABC", 164, 0xFF, 0},
      {"DL1ABC", -7, 0, 0},    {"DL1ABC", 70000, 0, 65535},  // damaged distances
  };
  for (const Case& c : cases) {
    QsoRecord r;
    r.SetCall(c.call);
    r.SetDistance(c.distance);
    r.SetExcluded(c.excluded);
    r.SetPoints(999);
    RecomputePoints(r);
    EXPECT_EQ(r.Points(), c.points) << c.call << " " << c.distance << " " << int(c.excluded);
  }
}

TEST(UpdateDistance, FromOwnLocatorToPartner) {
  struct Case {
    const char* own;
    const char* partner;
    int32_t km;
  };
  const Case cases[] = {
      {"JO40HC", "JO31NF", 164},  {"JO40HC", "JN58TD", 308}, {"JO40HC", "JO40HC", 0},
      {"JO40HC", "JO31", 193},    {"JO40HC", "JO31MM", 193},  // a square is measured to "MM"
      {"JO40HC", "", 0},          {"", "JO31NF", 0},          {"JO40HC", "JS31NF", 0},
  };
  for (const Case& c : cases) {
    QsoRecord r;
    r.SetLocator(c.partner);
    r.SetDistance(555);
    UpdateDistance(r, c.own);
    EXPECT_EQ(r.Distance(), c.km) << c.own << "-" << c.partner;
  }
}

TEST(EvaluateMultipliers, NoMultiplierColumns) {
  QsoRecord r;
  r.SetNewMulti1("DL");
  r.SetNewMulti2("EU");
  r.SetCall2("DL1ABC");
  r.SetDxcc("DL");
  EvaluateMultipliers(r);
  EXPECT_EQ(r.NewMulti1(), "");
  EXPECT_EQ(r.NewMulti2(), "");
  EXPECT_EQ(r.Call2(), "");
  EXPECT_EQ(r.Dxcc(), "DL");
}

// A prefix table of a few entries; the longest matching prefix wins.
class TableLookup : public EntityLookup {
 public:
  struct Row {
    std::string prefix;
    Entry entry;
    int result;   // what ResolvePrefix returns for it: 0 or 2 (not valid at the date)
    bool chosen;  // the operator picked it in the choice dialog
  };
  explicit TableLookup(std::vector<Row> rows) : m_rows(std::move(rows)) {}

  int ResolvePrefix(std::string_view call, int32_t, bool* chosen) override {
    ++lookups;
    *chosen = false;
    const Row* best = nullptr;
    for (const Row& row : m_rows) {
      if (call.substr(0, row.prefix.size()) == row.prefix && (!best || row.prefix.size() > best->prefix.size())) {
        best = &row;
      }
    }
    if (best == nullptr) return 1;
    m_working = best->entry;  // also for result 2, as the working entry is
    *chosen = best->chosen;
    return best->result;
  }
  Entry WorkingEntry() const override { return m_working; }

  int lookups = 0;

 private:
  std::vector<Row> m_rows;
  Entry m_working;
};

TableLookup SmallTable() {
  return TableLookup({
      {"DL", {"DL", "EU"}, 0, false},
      {"EA8", {"EA8", "AF"}, 0, false},
      {"EA", {"EA", "EU"}, 0, false},
      {"UA9", {"UA9", "AS"}, 0, true},  // several entities: the operator chose
      {"Y2", {"Y2", "EU"}, 2, false},   // no longer valid
  });
}

TEST(DetermineEntity, LooksUpTheCall) {
  struct Case {
    const char* call;
    const char* dxcc_before;
    EntityResult result;
    const char* dxcc;
    const char* continent;
    uint16_t points;
  };
  const Case cases[] = {
      {"DL1ABC", "", EntityResult::Found, "DL", "EU", 164},
      {"EA8XYZ", "", EntityResult::Found, "EA8", "AF", 164},
      {"EA8XYZ", "DL", EntityResult::Found, "DL", "AF", 164},  // a value already there stays
      {"Y21ABC", "DL", EntityResult::Unknown, "", "", 7},      // not valid at the date; points untouched
      {"QQ1ABC", "DL", EntityResult::Unknown, "", "", 7},
      {"QQ", "DL", EntityResult::NotFound, "", "", 0},  // too short to be unknown; scores 0
  };
  for (const Case& c : cases) {
    TableLookup table = SmallTable();
    QsoRecord r;
    r.SetCall(c.call);
    r.SetDxcc(c.dxcc_before);
    r.SetContinent("XX");
    r.SetTag3('T');
    r.SetDistance(164);
    r.SetPoints(7);
    bool chosen = false;
    EXPECT_EQ(DetermineEntity(r, chosen, table), c.result) << c.call;
    EXPECT_EQ(r.Dxcc(), c.dxcc) << c.call;
    EXPECT_EQ(r.Continent(), c.continent) << c.call;
    EXPECT_EQ(r.Tag3(), 0) << c.call;
    EXPECT_EQ(r.Points(), c.points) << c.call;
    EXPECT_EQ(table.lookups, 1);
    EXPECT_FALSE(chosen);
  }
}

TEST(DetermineEntity, ChosenEntityIsReusedUntilCleared) {
  TableLookup table = SmallTable();
  QsoRecord r;
  r.SetCall("UA9ABC");
  r.SetDistance(3000);
  bool chosen = false;
  EXPECT_EQ(DetermineEntity(r, chosen, table), EntityResult::Found);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(r.Dxcc(), "UA9");

  // The call is edited: the choice holds, no new look-up.
  r.SetCall("DL1ABC");
  r.SetDxcc("");
  EXPECT_EQ(DetermineEntity(r, chosen, table), EntityResult::Found);
  EXPECT_EQ(table.lookups, 1);
  EXPECT_EQ(r.Dxcc(), "UA9");
  EXPECT_EQ(r.Continent(), "AS");
  EXPECT_EQ(r.Points(), 3000);

  // A new QSO clears the flag: the call is looked up again.
  chosen = false;
  r.SetDxcc("");
  EXPECT_EQ(DetermineEntity(r, chosen, table), EntityResult::Found);
  EXPECT_EQ(table.lookups, 2);
  EXPECT_EQ(r.Dxcc(), "DL");
  EXPECT_FALSE(chosen);
}

TEST(DetermineEntity, ManualEntityIsKept) {
  TableLookup table = SmallTable();
  QsoRecord r;
  r.SetCall("DL1ABC");
  r.SetDxcc("EA8");
  r.SetContinent("AF");
  r.SetDxccManual(1);
  r.SetTag3('T');
  r.SetDistance(164);
  bool chosen = true;
  EXPECT_EQ(DetermineEntity(r, chosen, table), EntityResult::Manual);
  EXPECT_EQ(table.lookups, 0);
  EXPECT_EQ(r.Dxcc(), "EA8");
  EXPECT_EQ(r.Continent(), "AF");
  EXPECT_EQ(r.Tag3(), 'T');
  EXPECT_EQ(r.Points(), 164) << "points are recomputed";
}

}  // namespace
}  // namespace kontura
