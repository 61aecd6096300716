// The 27 keys of the contest log and the one key of its temporary copy.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "logging/qso_keys.h"
#include "logging/qso_record.h"
#include "storage/key_encoding.h"

namespace kontura {
namespace {

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int v : b) s += static_cast<char>(v);
  return s;
}
std::string N5(int32_t v) { return NumberToKey(v); }
const std::string kZero(1, '\0');

QsoRecord Fixture() {
  QsoRecord r;
  r.SetRecordNo(7);
  r.SetCall("DL1ABC/P");
  r.SetLocator("JO31NF");
  r.SetQsoDate(0x000B4A1C);
  r.SetQsoTime(43200);  // 12:00:00 = 0x0000A8C0
  r.SetMode("SSB");
  r.SetDxcc("DL");
  r.SetMarked(1);
  r.SetBand('b');
  r.SetBandSerial(12);
  r.SetBandSerial2(11);
  r.SetQsoNo(42);
  r.SetTag1(0);
  r.SetTag2('X');
  r.SetDistrictCode("F12ABCXY");
  r.SetNewMulti1("DL");
  r.SetCall2("DL1ABC");
  r.SetPrefix("DL1");
  r.SetState("NY");
  r.SetModeSerial(5);
  return r;
}

// The fixture as a band-change marker: its exchange data cleared.
QsoRecord Marker() {
  QsoRecord r = Fixture();
  r.SetQsyBand('c');
  r.ClearMarkerExchangeData();
  return r;
}

// All bytes 0 except an unset date: Band 0, empty strings, char fields 0.
QsoRecord Blank() {
  QsoRecord r;
  r.SetQsoDate(-1);
  return r;
}

TEST(QsoKeys, AllKeysOfThreeRecords) {
  const std::string dt = Bytes({0x00, 0x0B, 0x4A, 0x1C, 0x00, 0x00, 0xA8, 0xC0});
  const std::string blank_dt = Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
  const std::string base = "DL1ABC        ";
  const std::string b14 = std::string(14, ' ');
  struct Case {
    int key;
    std::string fixture, marker, blank;
  };
  const Case cases[] = {
      {1, dt, dt, blank_dt},
      {2, base + dt, base + dt, b14 + blank_dt},
      {3, "JO31NF" + dt, "      " + dt, "      " + blank_dt},
      {4, Bytes({0x81, 0x80, 0x80, 0x80, 0x87}), N5(7), N5(0)},
      {5, "DL    ", "      ", "      "},
      {6, base, base, b14},
      {7, "1", "1", " "},
      {8, "b" + N5(12), "b" + N5(12), kZero + N5(0)},
      {9, "b" + base + "SSB   ", "b" + base + "SSB   ", kZero + b14 + "      "},
      {10, "bDL    ", "b      ", kZero + "      "},
      {11, "b" + N5(99999999 - 11), "b" + N5(99999999 - 11), kZero + N5(99999999)},
      {12, "b" + N5(99999999 - 12), "b" + N5(99999999 - 12), kZero + N5(99999999)},
      {13, N5(42), N5(42), N5(0)},
      {14, "b" + kZero, "b" + kZero, kZero + kZero},
      {15, "bX", "bX", kZero + kZero},
      {16, kZero + "X", kZero + "X", kZero + kZero},
      {17, "bX", "bX", kZero + kZero},
      {18, "F12ABCXY", "        ", "        "},
      {19, "DL    ", "DL    ", "      "},
      {20, "DL1ABC", "      ", "      "},
      {21, "bF12ABCXY", "b        ", kZero + "        "},
      {22, "bDL1   ", "b      ", kZero + "      "},
      {23, "bJO31NF", "b      ", kZero + "      "},
      {24, "b" + N5(99999999 - 5), "b" + N5(99999999 - 5), " " + N5(99999999)},
      {25, "bNY", "b  ", kZero + "  "},
      {26, "NY", "  ", "  "},
      {27, "bDL1ABC", "b      ", kZero + "      "},
  };
  ASSERT_EQ(std::size(cases), size_t{qso::kKeyCount});
  const QsoRecord fixture = Fixture(), marker = Marker(), blank = Blank();
  for (const Case& c : cases) {
    EXPECT_EQ(BuildQsoKey(fixture.data(), c.key), c.fixture) << "key " << c.key;
    EXPECT_EQ(BuildQsoKey(marker.data(), c.key), c.marker) << "marker, key " << c.key;
    EXPECT_EQ(BuildQsoKey(blank.data(), c.key), c.blank) << "blank, key " << c.key;
  }
}

TEST(QsoKeys, CompositionsFitTheirDefinedLengths) {
  const QsoRecord r = Fixture();
  for (int k = 1; k <= qso::kKeyCount; ++k) {
    const size_t defined = static_cast<size_t>(qso::kKeys[k - 1].length);
    const size_t composed = BuildQsoKey(r.data(), k).size();
    if (k == 26) {
      EXPECT_EQ(composed, 2u) << "pad(State, 2) under a key of length 3";
      EXPECT_EQ(defined, 3u);
    } else {
      EXPECT_EQ(composed, defined) << "key " << k;
    }
    EXPECT_EQ(qso::kKeys[k - 1].duplicates, k != qso::kCounterKey) << "key " << k;
  }
  EXPECT_EQ(BuildQsoKey(r.data(), 0), "");
  EXPECT_EQ(BuildQsoKey(r.data(), 28), "");
}

TEST(QsoKeys, LongFieldsAreCutToTheirPad) {
  QsoRecord r = Fixture();
  r.SetCall("DL1ABCDEFGHIJ");  // 12 characters stored; no portable part
  r.SetMode("RTTYXY");
  const std::string k9 = BuildQsoKey(r.data(), 9);
  EXPECT_EQ(k9.size(), 21u);
  EXPECT_EQ(k9.substr(15), "RTTYXY");
}

TEST(QsoKeys, PortableCallsShareTheBaseCallKeys) {
  QsoRecord home = Fixture(), portable = Fixture(), other = Fixture();
  home.SetCall("DL1ABC");
  portable.SetCall("DL1ABC/P");
  other.SetCall("EA8/DL1ABC");
  for (int k : {2, 6, 9}) {
    EXPECT_EQ(BuildQsoKey(portable.data(), k), BuildQsoKey(home.data(), k)) << "key " << k;
    EXPECT_EQ(BuildQsoKey(other.data(), k), BuildQsoKey(home.data(), k)) << "key " << k;
  }
}

TEST(QsoKeys, Key17TakesTag2ForAnEmptyTag1) {
  struct Case {
    char tag1, tag2, t;
  };
  const Case cases[] = {
      {0, 'X', 'X'}, {0, ' ', 0}, {0, 0, 0}, {'A', 'X', 'A'}, {' ', 'X', ' '}, {'A', 0, 'A'},
  };
  for (const Case& c : cases) {
    QsoRecord r = Fixture();
    r.SetTag1(c.tag1);
    r.SetTag2(c.tag2);
    EXPECT_EQ(BuildQsoKey(r.data(), 17), std::string("b") + c.t)
        << "Tag1 " << int(c.tag1) << " Tag2 " << int(c.tag2);
  }
}

TEST(QsoKeys, CounterKeysFindTheHighestFirst) {
  // The first key-11 entry at or after band + N5(0) has the highest counter;
  // an unset date sorts after every real date.
  QsoRecord a = Fixture(), b = Fixture();
  a.SetBandSerial2(3);
  b.SetBandSerial2(250);
  a.SetModeSerial(3);
  b.SetModeSerial(250);
  const std::string start = "b" + N5(0);
  for (int k : {11, 24}) {
    EXPECT_LE(start, BuildQsoKey(b.data(), k));
    EXPECT_LT(BuildQsoKey(b.data(), k), BuildQsoKey(a.data(), k)) << "key " << k;
  }
  QsoRecord c = Fixture();
  c.SetBand('c');
  c.SetBandSerial2(1);
  EXPECT_LT(BuildQsoKey(a.data(), 11), BuildQsoKey(c.data(), 11)) << "the next band comes later";

  QsoRecord undated = Fixture();
  undated.SetQsoDate(-1);
  for (int k : {1, 2, 3}) EXPECT_LT(BuildQsoKey(a.data(), k), BuildQsoKey(undated.data(), k)) << "key " << k;
}

TEST(QsoKeys, DamagedCountersDoNotOverflow) {
  QsoRecord r = Fixture();
  r.SetBandSerial2(INT32_MIN);
  r.SetBandSerial(-5);
  EXPECT_EQ(BuildQsoKey(r.data(), 11).size(), 6u);
  EXPECT_EQ(BuildQsoKey(r.data(), 12), "b" + N5(99999999 + 5));
}

TEST(QsoTempKey, RecordNumberOnly) {
  QsoRecord r = Fixture();
  EXPECT_EQ(BuildQsoTempKey(r.data(), 1), Bytes({0x81, 0x80, 0x80, 0x80, 0x87}));
  EXPECT_EQ(BuildQsoTempKey(r.data(), 2), "");
  EXPECT_EQ(qso::kTempKey.length, 5);
  EXPECT_FALSE(qso::kTempKey.duplicates);
}

}  // namespace
}  // namespace kontura
