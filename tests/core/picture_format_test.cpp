// Number pictures: every picture character, signs, overflow and the integer
// variant.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "text/format_settings.h"
#include "text/picture_format.h"

namespace kontura {
namespace {

struct RealCase {
  const char* picture;
  double value;
  const char* expected;
};

TEST(FormatPicture, Table) {
  const RealCase cases[] = {
      // '#' blank fill, '@' zero fill, '*' star fill, '$' floating currency
      {"@@@@", 7, "0007"},
      {"########", 10070, "   10070"},
      {"*****", 12, "***12"},
      {"$####", 5, "   $5"},
      {"*$###", 12, "**$12"},
      {"$@@@", 12, "0012"},  // '@' cancels the currency
      {"@**@", 5, "0005"},   // '@' wins over '*'
      {"#####", 0, "    0"},
      // the last ',' or '.' is the decimal point
      {"##.##", 3.5, " 3.50"},
      {"#####,####", 3.5, "    3,5000"},
      {"#,###", 0.5, "0,500"},
      {"#,###", 1234, "*,***"},  // three decimal places leave one integer place
      {"$##.##", 0.5, " $0.50"},
      {"#.##", 0.125, "0.13"},  // halves round away from zero
      {"##", 2.5, " 3"},
      {"##", -2.5, "-3"},
      {"#.##", 1.005, "1.00"},  // 1.005 is slightly below the half in binary
      // floating minus, sign positions
      {"#####", -12, "  -12"},
      {"##.##", -3.5, "-3.50"},
      {"###", -0.001, "  0"},  // rounds to zero: no minus
      {"+###", -12, "- 12"},
      {"+###", 12, "+ 12"},
      {"###-", -12, " 12-"},
      {"###-", 12, " 12 "},
      {"$###", -12, "-$12"},
      {"@@@@", -7, "-007"},  // zero fill keeps the sign in the leftmost place
      {"****", -7, "-**7"},
      // overflow
      {"###", 12345, "***"},
      {"##.##", -13.5, "**.**"},
      {"$###", 1234, "****"},
      {"$###", -123, "****"},  // no room for currency and minus
      {"#####", -12345, "*****"},
      {"+##", -123, "-**"},
      {"###-", 1234, "*** "},
      {"###-", -1234, "***-"},
      {".##", 0.5, ".**"},  // no integer place for the 0
      // text around the field stays; only the first field counts
      {"Summe: ####  Punkte", 42, "Summe:   42  Punkte"},
      {"## Stk. ##", 7, " 7 Stk. ##"},
      {"abc", 5, "abc"},
      {"", 5, ""},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(FormatPicture(c.picture, c.value), c.expected) << c.picture << " with " << c.value;
  }
}

struct IntCase {
  const char* picture;
  int64_t value;
  const char* expected;
};

TEST(FormatPictureInt, Table) {
  const IntCase cases[] = {
      {"#,###", 1234, "1,234"},
      {"#,###", 12, "   12"},
      {"#,###", -123, " -123"},  // the minus stands at the digits
      {"$#,###", 1234, "$1,234"},
      {"$#,###", 5, "    $5"},
      {"$#,###", 12345, "**,***"},
      {"#,###,###", 1234567, "1,234,567"},
      {"#,###,###", 1234, "    1,234"},
      {"@,@@@", 12, "00012"},
      {"##.##", 1234, "12.34"},  // both points are separators now
      {"@@@@@", 1, "00001"},
      {"@@@@@", 123456, "*****"},
      {"###", 5, "  5"},
      {"###", -5, " -5"},
      {"## Stk.", 3, " 3 Stk."},
      {"abc", 5, "abc"},
      {"", 5, ""},
      {"####################", INT64_MIN, "-9223372036854775808"},
      {"###################", INT64_MAX, "9223372036854775807"},
  };
  for (const IntCase& c : cases) {
    EXPECT_EQ(FormatPictureInt(c.picture, c.value), c.expected) << c.picture << " with " << c.value;
  }
}

TEST(FormatPicture, LongPictures) {
  const std::string hashes255(255, '#');
  EXPECT_EQ(FormatPicture(hashes255, 1), std::string(254, ' ') + "1");
  EXPECT_EQ(FormatPictureInt(hashes255, -1), std::string(253, ' ') + "-1");
  const std::string hashes254(254, '#');
  EXPECT_EQ(FormatPictureInt(hashes254, 1), std::string(253, ' ') + "1");
  // A picture of 255 characters gets no "." and keeps its decimal places.
  const std::string with_point = std::string(250, 'x') + "##.##";
  EXPECT_EQ(FormatPictureInt(with_point, 3), std::string(250, 'x') + " 3.00");
  // Many decimal places and huge values take the slow path.
  EXPECT_EQ(FormatPicture("#." + std::string(30, '#'), 0.5), "0.5" + std::string(29, '0'));
  EXPECT_EQ(FormatPicture("###", 1e300), "***");
  EXPECT_EQ(FormatPicture(std::string(400, '#'), -1e300).size(), 400u);
  // A field of 1000 positions.
  EXPECT_EQ(FormatPicture(std::string(1000, '@'), 42), std::string(998, '0') + "42");
}

TEST(FormatPicture, NotANumberOverflows) {
  EXPECT_EQ(FormatPicture("##.#", std::nan("")), "**.*");
  EXPECT_EQ(FormatPicture("+##", std::numeric_limits<double>::infinity()), "+**");
  EXPECT_EQ(FormatPicture("+##", -std::numeric_limits<double>::infinity()), "-**");
}

// Any bytes as picture: the result keeps the picture's length and every byte
// outside the first field.
TEST(FormatPicture, AnyBytesAsPicture) {
  std::mt19937 random(2026);
  const std::string alphabet = std::string("#@*$-+,. x\xFF") + '\0';
  const double values[] = {0, 1, -1, 0.5, -123.456, 1e9, -1e18, 1e300, std::nan("")};
  for (int round = 0; round < 2000; ++round) {
    std::string picture(random() % 300, ' ');
    for (char& c : picture) {
      c = round % 2 ? alphabet[random() % alphabet.size()] : static_cast<char>(random() % 256);
    }
    const char* const kFieldChars = "#@*$-+,.";
    const size_t begin = std::min(picture.find_first_of(kFieldChars), picture.size());
    const size_t end = std::min(picture.find_first_not_of(kFieldChars, begin), picture.size());
    for (double v : values) {
      const std::string r = FormatPicture(picture, v);
      ASSERT_EQ(r.size(), picture.size()) << round;
      ASSERT_EQ(r.substr(0, begin), picture.substr(0, begin)) << round;
      ASSERT_EQ(r.substr(end), picture.substr(end)) << round;
      const std::string i = FormatPictureInt(picture, static_cast<int64_t>(random()) - (1LL << 31));
      ASSERT_EQ(i.size(), picture.size()) << round;
      ASSERT_EQ(i.substr(0, begin), picture.substr(0, begin)) << round;
    }
  }
}

TEST(FormatPicture, SettingsCurrencyAndDecimalSwap) {
  ScopedFormatSettings saved;
  TheFormatSettings().currency_char = '\x80';  // the euro sign of Windows-1252
  EXPECT_EQ(FormatPicture("$###", 5), "  \x80" "5");
  TheFormatSettings().decimal_swap = true;
  EXPECT_EQ(FormatPicture("#####,##", 3.5), "    3.50");
  EXPECT_EQ(FormatPictureInt("#,###", 1234), "1.234");
}

TEST(FormatPicture, SettingsAreRestored) {
  EXPECT_EQ(TheFormatSettings().currency_char, '$');
  EXPECT_FALSE(TheFormatSettings().decimal_swap);
}

}  // namespace
}  // namespace kontura
