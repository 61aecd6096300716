// Base call and other part of call signs, the special pairs, the suffix table
// and the DXCC entity list the split relies on.

#include <gtest/gtest.h>

#include "refdata/base_call.h"
#include "refdata/dxcc_entities.h"

namespace kontura {
namespace {

struct CallCase {
  const char* call;
  const char* base;   // mode 1
  const char* other;  // mode 0
  uint8_t suffixType;
};

// The table is the default SuffixTable: A 0, AM 0, M 255, MM 0, P 255, LH 255, LGT 255.
const CallCase kCallCases[] = {
    {"dl1abc", "DL1ABC", "DL1ABC", 255},  // one part: the call itself in both modes
    {"DL1ABC/P", "DL1ABC", "DL1ABC", 255},
    {"DL1ABC/MM", "DL1ABC", "DL1ABC", 0},
    {"DL1ABC/AM", "DL1ABC", "DL1ABC", 0},
    {"EA8/DL1ABC", "DL1ABC", "EA8", 255},
    {"DL1ABC/EA8", "DL1ABC", "EA8", 255},
    {"DL1ABC/QRP", "DL1ABC", "", 255},     // QRP ends in three letters: dropped
    {"DL1ABC/123", "DL1ABC", "", 255},     // three digits: dropped
    {"QRP/DL1ABC", "DL1ABC", "", 255},     // dropped when it is the first part too
    {"DL1ABC/3", "DL1ABC", "DL3", 255},    // area digit takes the call's prefix
    {"K1ABC/3", "K1ABC", "K3", 255},
    {"4X4ABC/3", "4X4ABC", "4X3", 255},    // the first digit from the second character on
    {"SV2XYZ/A", "SV2XYZ/A", "SV2XYZ/A", 255},
    {"GM3ABC/SH", "GM3ABC/SH", "GM3ABC/SH", 255},
    {"/DL1ABC", "DL1ABC", "", 255},
    {"DL1ABC//P", "DL1ABC", "DL1ABC", 255},
    {"DL1ABC/", "DL1ABC", "DL1ABC", 255},
    {"DL1ABC/-", "DL1ABC", "DL1ABC", 255},
    {"DL1ABC-MM", "DL1ABC", "DL1ABC", 0},  // any non-letter, non-digit separates
    {"DL/F", "F", "DL", 255},              // DL is an entity prefix: it gives way
    {"K1A/VP2E", "K1A", "VP2E", 255},      // the longer part is an entity prefix: no exchange
    {"DL1A/DL2B", "DL2B", "DL1A", 255},    // equal length: the second part
    {"dl1abc\xF6mm", "DL1ABC", "DL1ABC", 0},  // an umlaut is upper-cased, then separates
    {"DL1ABC\xD6P", "DL1ABC", "DL1ABC", 255},
    // Three parts.
    {"EA8/DL1ABC/MM", "DL1ABC", "EA8", 0},
    {"EA8/DL1ABC/X", "DL1ABC", "EA8", 255},
    {"SV2XYZ/A/P", "SV2XYZ/A", "SV2XYZ/A", 255},
    {"SV2XYZ/A/5B", "SV2XYZ/A", "5B", 255},
    {"3D2AB/R/QRP", "3D2AB/R", "", 255},
    {"SV/A/DL1ABC", "DL1ABC", "SV/A", 255},  // the pair is the shorter part
    {"FO/A/K1", "K1", "FO/A", 255},          // the pair FO/A is an entity prefix: it gives way
    // Four parts with a special pair: the pair, the third part, the fourth part's type.
    {"SV1AB/A/5B/MM", "SV1AB/A", "5B", 0},
    {"SV1AB/A/MM/X", "SV1AB/A", "SV1AB/A", 0},
    // Four parts without a pair, and five: the later parts are ignored entirely.
    {"EA8/DL1ABC/MM/X", "DL1ABC", "EA8", 255},
    {"EA8/DL1ABC/P/X/Y", "DL1ABC", "EA8", 255},
};

TEST(CallPart, TableOfCalls) {
  ResetSuffixTable();
  for (const CallCase& c : kCallCases) {
    CallPartResult base = CallPart(c.call, CallPartMode::Base);
    CallPartResult other = CallPart(c.call, CallPartMode::Other);
    EXPECT_EQ(base.part, c.base) << c.call;
    EXPECT_EQ(other.part, c.other) << c.call;
    EXPECT_EQ(base.suffixType, c.suffixType) << c.call;
    EXPECT_EQ(other.suffixType, c.suffixType) << c.call;
    EXPECT_EQ(BaseCall(c.call), c.base) << c.call;
  }
}

TEST(CallPart, PartsAreComparedByTheirFirstTwentyCharacters) {
  const std::string longCall = "DL1ABCDEFGHIJKLMNOPQRSTUV";  // 25 characters
  // The first part is longer: it stays as typed.
  EXPECT_EQ(BaseCall(longCall + "/EA8"), longCall);
  // The second part is longer: its working copy of 20 characters is taken.
  EXPECT_EQ(BaseCall("EA8/" + longCall), longCall.substr(0, 20));
  // Cut to 20, 24 letters and 21 characters are equally long: the second wins.
  EXPECT_EQ(BaseCall("DL1ABCDEFGHIJKLMNOPQRSTU/" + std::string(20, 'B') + "1"), std::string(20, 'B'));
}

TEST(CallPart, OnlyTheFirst255BytesAreUsed) {
  const std::string call = std::string(255, 'K') + "/P";
  EXPECT_EQ(BaseCall(call), std::string(255, 'K'));
}

TEST(CallPart, AnyTextGivesLettersDigitsAndJoiningSlashesOnly) {
  // Random short texts of letters, digits and separators: a result holds no
  // separator except the "/" that joins a special pair, and never starts or
  // ends with one.
  const char alphabet[] = {'A', 'S', 'V', 'D', 'L', '1', '3', '/', '-', ' ', '\xF6', 'Q'};
  uint32_t seed = 12345;
  auto next = [&] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  for (int n = 0; n < 5000; ++n) {
    std::string call;
    const int length = static_cast<int>(next() % 14);
    for (int i = 0; i < length; ++i) call += alphabet[next() % sizeof alphabet];
    for (CallPartMode mode : {CallPartMode::Base, CallPartMode::Other}) {
      const std::string part = CallPart(call, mode).part;
      if (part.empty()) continue;
      for (char c : part) {
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/';
        EXPECT_TRUE(allowed) << '"' << call << "\" gives \"" << part << '"';
      }
      EXPECT_NE(part.front(), '/') << call;
      EXPECT_NE(part.back(), '/') << call;
    }
  }
}

TEST(IsSpecialPair, Pairs) {
  struct Case {
    const char* first;
    const char* second;
    int count;  // 0: no pair
  } cases[] = {
      {"SV2XYZ", "A", 2}, {"SV", "B", 0},     {"JW1ABC", "B", 2}, {"JW", "S", 2},
      {"3Y0X", "B", 2},   {"3Y", "P", 2},     {"3Y", "A", 0},     {"FR5AB", "B", 2},
      {"FR", "E", 2},     {"FR", "G", 2},     {"FR", "J", 2},     {"FR", "T", 2},
      {"FR", "A", 0},     {"FO5AB", "A", 2},  {"FO", "C", 2},     {"FO", "F", 2},
      {"FO", "M", 2},     {"FO", "B", 0},     {"3D2AB", "C", 3},  {"3D2", "R", 3},
      {"3D", "R", 0},     {"VQ9X", "A", 3},   {"VQ9", "D", 3},    {"VQ9", "F", 3},
      {"VQ9", "B", 0},    {"ZK1AB", "N", 3},  {"ZK1", "S", 3},    {"GM3ABC", "SH", 2},
      {"GM", "SC", 2},    {"GM3ABC", "SX", 0}, {"GM3ABC", "S", 0}, {"GM3ABC", "SHX", 0},
      {"SV2XYZ", "AB", 0}, {"S", "A", 0},     {"", "A", 0},       {"SV", "", 0},
      {"sv2xyz", "A", 0},  // callers pass upper-cased texts
  };
  for (const Case& c : cases) {
    SpecialPairResult r = IsSpecialPair(c.first, c.second);
    EXPECT_EQ(r.is_pair, c.count != 0) << c.first << "/" << c.second;
    EXPECT_EQ(r.count, c.count) << c.first << "/" << c.second;
  }
}

class SuffixTableTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSuffixTable(); }
  void TearDown() override { ResetSuffixTable(); }
};

TEST_F(SuffixTableTest, DefaultsAndMatching) {
  const auto& t = SuffixTable();
  const char* texts[] = {"A", "AM", "M", "MM", "P", "LH", "LGT"};
  const uint8_t types[] = {0, 0, 255, 0, 255, 255, 255};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(t[i].text, texts[i]);
    EXPECT_EQ(t[i].type, types[i]);
  }
  for (int i = 7; i < kSuffixTableSize; ++i) {
    EXPECT_EQ(t[i].text, "");
    EXPECT_EQ(t[i].type, 255);
  }
  EXPECT_TRUE(IsPortableSuffix(" LGT\t").is_suffix);
  EXPECT_EQ(IsPortableSuffix("MM").type, 0);
  EXPECT_FALSE(IsPortableSuffix("p").is_suffix) << "case-sensitive";
  EXPECT_FALSE(IsPortableSuffix("").is_suffix);
  EXPECT_FALSE(IsPortableSuffix("  ").is_suffix) << "empty entries never match";
  EXPECT_FALSE(IsPortableSuffix("QRP").is_suffix);
}

TEST_F(SuffixTableTest, StoredEntriesReplaceTheFirstNine) {
  std::array<SuffixEntry, kStoredSuffixEntries> stored;
  stored[0] = {"QRPP", 7};  // cut to 3
  stored[1] = {"MM", 9};
  InstallStoredSuffixEntries(stored);
  EXPECT_EQ(SuffixTable()[0].text, "QRP");
  for (int i = 2; i < kSuffixTableSize; ++i) EXPECT_EQ(SuffixTable()[i].text, "") << i;

  CallPartResult r = CallPart("DL1ABC/QRP", CallPartMode::Other);
  EXPECT_EQ(r.part, "DL1ABC");
  EXPECT_EQ(r.suffixType, 7);
  EXPECT_EQ(CallPart("DL1ABC/MM", CallPartMode::Base).suffixType, 9);
  // P is no longer listed: it is an ordinary short part now.
  EXPECT_EQ(CallPart("DL1ABC/P", CallPartMode::Other).part, "P");
  EXPECT_EQ(CallPart("DL1ABC/P", CallPartMode::Other).suffixType, 255);
}

TEST_F(SuffixTableTest, EmptyFirstStoredEntryKeepsTheTable) {
  std::array<SuffixEntry, kStoredSuffixEntries> stored;
  stored[1] = {"QRP", 7};
  InstallStoredSuffixEntries(stored);
  EXPECT_EQ(SuffixTable()[0].text, "A");
  EXPECT_EQ(SuffixTable()[1].text, "AM");
  EXPECT_FALSE(IsPortableSuffix("QRP").is_suffix);
}

TEST(DxccEntityTable, EntriesArePaddedAndNumbered) {
  struct Case {
    int number;
    const char* entry;
  } cases[] = {
      {1, "VE   "},   {15, "RA-AS"}, {24, "3Y/B "}, {73, "     "}, {88, "HP   "},
      {218, "OKOM "}, {228, "HK0SB"}, {230, "DL   "}, {291, "K    "}, {460, "3D2/R"},
      {513, "VP6D "}, {514, "4O   "}, {516, "FJ   "}, {0, "     "}, {517, "     "},
      {-1, "     "},
  };
  for (const Case& c : cases) EXPECT_EQ(DxccEntityTable(c.number), c.entry) << c.number;

  int used = 0;
  for (int i = 1; i <= kDxccEntityCount; ++i) {
    if (DxccEntityTable(i) != "     ") ++used;
  }
  EXPECT_EQ(used, 396);
}

TEST(DxccEntityTable, FindReturnsTheNumberOfAnExactEntry) {
  EXPECT_EQ(FindDxccEntity("DL"), 230);
  EXPECT_EQ(FindDxccEntity("3D2/R"), 460);
  EXPECT_EQ(FindDxccEntity("HK0S"), 216) << "not a prefix match of HK0SB";
  EXPECT_EQ(FindDxccEntity("FJ"), 516);
  EXPECT_EQ(FindDxccEntity("FJ", kDxccEntitiesOfCallParts), 0);
  EXPECT_EQ(FindDxccEntity("VP6D", kDxccEntitiesOfCallParts), 513);
  EXPECT_EQ(FindDxccEntity("DL "), 0) << "the text itself is not trimmed";
  EXPECT_EQ(FindDxccEntity(""), 0) << "empty entries are no prefixes";
  EXPECT_EQ(FindDxccEntity("DL1"), 0);
}

}  // namespace
}  // namespace kontura
