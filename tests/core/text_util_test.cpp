// Short-string helpers on Windows-1252 bytes.

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "text/text_util.h"

namespace kontura {
namespace {

using namespace std::string_literals;

TEST(CharStr, Counts) {
  EXPECT_EQ(CharStr('x', 3), "xxx");
  EXPECT_EQ(CharStr('x', 0), "");
  EXPECT_EQ(CharStr('x', -1), "");
  EXPECT_EQ(CharStr('x', INT_MIN), "");
  EXPECT_EQ(CharStr('-', 300), std::string(255, '-'));
  EXPECT_EQ(CharStr('\0', 2), "\0\0"s);
}

struct TrimCase {
  std::string in;
  std::string blanks;  // TrimBlanks
  std::string spaces;  // TrimSpaces
};

TEST(Trim, Table) {
  const TrimCase cases[] = {
      {"  a b  ", "a b", "a b"},
      {"\ta b\t", "a b", "\ta b\t"},    // TrimSpaces keeps tabs
      {"\0\0 ab "s, "\0\0 ab"s, "ab"},  // and drops leading 0 bytes
      {"ab\0 "s, "ab\0"s, "ab\0"s},     // but not trailing ones
      {" \t \t", "", "\t \t"},
      {"   ", "", ""},
      {"", "", ""},
      {"x", "x", "x"},
  };
  for (const TrimCase& c : cases) {
    EXPECT_EQ(TrimBlanks(c.in), c.blanks) << "[" << c.in << "]";
    EXPECT_EQ(TrimSpaces(c.in), c.spaces) << "[" << c.in << "]";
  }
}

TEST(GermanCase, UmlautsAndOtherBytes) {
  // a-z, ä ö ü; ß, é, the euro sign and 0 bytes stay
  const std::string lower = "abc xyz \xE4\xF6\xFC \xDF\xE9\x80"s + '\0';
  const std::string upper = "ABC XYZ \xC4\xD6\xDC \xDF\xE9\x80"s + '\0';
  EXPECT_EQ(UpperGerman(lower), upper);
  EXPECT_EQ(LowerGerman(upper), lower);
  EXPECT_EQ(UpperGerman("Dl1abc/p"), "DL1ABC/P");
  EXPECT_EQ(LowerGerman("\xC9"), "\xC9");  // É has no German lower case here
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(UpperGerman(all).size(), 256u);
  EXPECT_EQ(UpperGerman(LowerGerman(UpperGerman(all))), UpperGerman(all));
}

struct PadCase {
  const char* in;
  char c;
  int width;
  const char* right;
  const char* left;
  const char* center;
};

TEST(Pad, Table) {
  const PadCase cases[] = {
      {"ab", '.', 5, "ab...", "...ab", ".ab.."},  // the odd position goes right
      {"ab", '*', 6, "ab****", "****ab", "**ab**"},
      {"ab", '.', 2, "ab", "ab", "ab"},
      {"abcdef", '.', 3, "abcdef", "abcdef", "abcdef"},  // longer: unchanged
      {"", '-', 3, "---", "---", "---"},
      {"ab", '.', 0, "ab", "ab", "ab"},
      {"ab", '.', -5, "ab", "ab", "ab"},
      {"ab", '.', INT_MIN, "ab", "ab", "ab"},
  };
  for (const PadCase& c : cases) {
    EXPECT_EQ(PadRightWith(c.in, c.c, c.width), c.right) << c.in << " " << c.width;
    EXPECT_EQ(PadLeftWith(c.in, c.c, c.width), c.left) << c.in << " " << c.width;
    EXPECT_EQ(CenterWith(c.in, c.c, c.width), c.center) << c.in << " " << c.width;
  }
  EXPECT_EQ(PadLeftBlanks("7", 3), "  7");
  EXPECT_EQ(CenterBlanks("ab", 5), " ab  ");
}

TEST(Pad, WidthIsCappedAtTheRecordStringCapacity) {
  EXPECT_EQ(PadRightWith("ab", ' ', INT_MAX).size(), 255u);
  EXPECT_EQ(PadLeftWith("ab", ' ', 1000).size(), 255u);
  EXPECT_EQ(CenterWith("ab", ' ', 256).size(), 255u);
  const std::string long_text(300, 'x');
  EXPECT_EQ(PadRightWith(long_text, ' ', 400), long_text);
}

TEST(AddBackslash, Table) {
  struct {
    const char* in;
    const char* out;
  } const cases[] = {
      {"", ""}, {"C:", "C:"}, {"dir\\", "dir\\"}, {"dir", "dir\\"}, {"C:\\data", "C:\\data\\"}, {"a/", "a/\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(AddBackslash(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace kontura
