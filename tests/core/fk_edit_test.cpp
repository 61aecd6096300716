// Value logic of the picture edit field: typed values to text and back.

#include <gtest/gtest.h>

#include "ui/fk_edit.h"

namespace kontura {
namespace {

TEST(PictureField, MaskNinesBecomeHashes) {
  EXPECT_EQ(NormalisePictureMask("999,99"), "###,##");
  EXPECT_EQ(NormalisePictureMask("DD.MM.YYYY"), "DD.MM.YYYY");
  EXPECT_EQ(NormalisePictureMask(std::string(300, '9')).size(), 255u);
}

TEST(PictureField, ReadRealNumber) {
  struct Case {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"3,5", 3.5},     {"3.5", 3.5},   {"-3,5", -3.5}, {"3,", 3.0},      {",5", 0.5},
      {"-0,25", -0.25}, {" 12 ", 12.0}, {"3,5000", 3.5}, {"", std::nullopt}, {"abc", std::nullopt},
      {"3,5a", std::nullopt}, {"1,2,3", std::nullopt}, {"0x10", std::nullopt}, {"inf", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadRealNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(PictureField, ReadIntegerByWidth) {
  struct Case {
    const char* text;
    fkeditdatatype type;
    std::optional<int64_t> value;
  } cases[] = {
      {"12", fkeditdatatype::dtInteger, 12},
      {" -7 ", fkeditdatatype::dtLongint, -7},
      {"12a", fkeditdatatype::dtInteger, std::nullopt},
      {"", fkeditdatatype::dtInteger, std::nullopt},
      {"2147483648", fkeditdatatype::dtInteger, std::nullopt},
      {"65535", fkeditdatatype::dtWord, 65535},
      {"65536", fkeditdatatype::dtWord, std::nullopt},
      {"-1", fkeditdatatype::dtByte, std::nullopt},
      {"255", fkeditdatatype::dtByte, 255},
      {"99999999999999999999999", fkeditdatatype::dtInteger, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadIntegerNumber(c.text, c.type), c.value) << c.text;
}

TEST(PictureField, IntegerThroughPicture) {
  PictureField f;
  f.SetDataType(fkeditdatatype::dtInteger);
  f.SetPictureMask("####");
  EXPECT_EQ(f.TextForInteger(0), "0") << "leading blanks trimmed";
  EXPECT_EQ(f.TextForInteger(42), "42");
  EXPECT_EQ(f.IntegerOf("12a"), 0);
  EXPECT_EQ(f.IntegerOf("1234"), 1234);
}

TEST(PictureField, FrequencyRoundTripWithDecimalComma) {
  PictureField f;
  f.SetDataType(fkeditdatatype::dtSingle);
  f.SetPictureMask("#####,####");
  EXPECT_EQ(f.TextForReal(3.5, ""), "3,5000");
  EXPECT_EQ(f.RealOf("3,5000"), 3.5);
  EXPECT_EQ(f.RealOf("-3,5"), -3.5);
  EXPECT_EQ(f.RealOf("x"), 0.0);
}

TEST(PictureField, UnchangedDoubleKeepsTypedText) {
  PictureField f;
  f.SetDataType(fkeditdatatype::dtDouble);
  f.SetPictureMask("####.##");
  EXPECT_EQ(f.RealOf("3.5"), 3.5);
  EXPECT_EQ(f.TextForReal(3.5, "3.5"), "3.5") << "same value as returned: text stays";
  EXPECT_EQ(f.TextForReal(4.0, "3.5"), "4.00");
  // A single-precision field does not remember values.
  PictureField s;
  s.SetDataType(fkeditdatatype::dtSingle);
  s.SetPictureMask("####.##");
  s.RealOf("3.5");
  EXPECT_EQ(s.TextForReal(3.5, "3.5"), "3.50");
}

TEST(PictureField, CharField) {
  PictureField f;
  f.SetDataType(fkeditdatatype::dtChar);
  EXPECT_EQ(f.CharOf(""), '\0');
  EXPECT_EQ(f.CharOf("  b"), 'b');
  EXPECT_EQ(f.TextForChar('\0'), "");
  EXPECT_EQ(f.TextForChar('k'), "k");
}

}  // namespace
}  // namespace kontura
