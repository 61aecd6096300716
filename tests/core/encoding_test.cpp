// Key encodings and the Windows-1252 conversion.

#include <gtest/gtest.h>

#include <climits>

#include "platform/code_page.h"
#include "storage/key_encoding.h"
#include "storage/record_bytes.h"

namespace kontura {
namespace {

TEST(NumberToKey, BytesOfOne) {
  EXPECT_EQ(NumberToKey(1), std::string("\x81\x80\x80\x80\x81", 5));
}

TEST(NumberToKey, SortsLikeNumbersAndRoundTrips) {
  const int32_t values[] = {INT32_MIN, -100000, -2, -1, 0, 1, 2, 127, 128, 99999999, INT32_MAX};
  for (size_t i = 0; i < std::size(values); ++i) {
    std::string k = NumberToKey(values[i]);
    ASSERT_EQ(k.size(), 5u);
    EXPECT_EQ(k.find('\0'), std::string::npos) << values[i];
    EXPECT_EQ(KeyToNumber(k), values[i]);
    EXPECT_EQ(KeyToNumber("prefix" + k), values[i]) << "reads the last five bytes";
    if (i > 0) {
      EXPECT_LT(NumberToKey(values[i - 1]), k) << values[i - 1] << " < " << values[i];
    }
  }
}

TEST(DateTimeKeys, BigEndianBytes) {
  EXPECT_EQ(DateToKey(0x01020304), std::string("\x01\x02\x03\x04", 4));
  EXPECT_EQ(TimeToKey(86399), std::string("\x00\x01\x51\x7f", 4));
  EXPECT_LT(TimeToKey(3600), TimeToKey(3601));
}

TEST(Cp1252, RoundTripOfEveryByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(CodePage, DosLettersBecomeWindowsLetters) {
  EXPECT_EQ(DosLettersToWindows("M\x81nchen \x84\x8E\x94\x99\x9A\xE1!"), "M\xFCnchen \xE4\xC4\xF6\xD6\xDC\xDF!");
  EXPECT_EQ(DosLettersToWindows("plain \xFC"), "plain \xFC");
}

TEST(Cp1252, GermanLettersAndSpecials) {
  EXPECT_EQ(Cp1252ToUtf8("Gro\xDF"), "Groß");
  EXPECT_EQ(Utf8ToCp1252("Übernehmen €"), "\xDC" "bernehmen \x80");
  EXPECT_EQ(Utf8ToCp1252("日"), "?");
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?") << "a cut sequence";
}

TEST(RecordBytes, StringLengthByteBeyondCapacityIsClamped) {
  uint8_t rec[8] = {200, 'A', 'B', 'C', 'D', 'E', 'F', 'G'};
  EXPECT_EQ(GetPStr(rec, 0, 3), "ABC");
  PutPStr(rec, 0, 3, "WXYZ");
  EXPECT_EQ(rec[0], 3);
  EXPECT_EQ(GetPStr(rec, 0, 3), "WXY");
  EXPECT_EQ(rec[4], 'D') << "bytes behind the field stay";
}

TEST(RecordBytes, LittleEndianNumbers) {
  uint8_t rec[8] = {};
  PutI32(rec, 0, -2);
  EXPECT_EQ(rec[0], 0xFE);
  EXPECT_EQ(rec[3], 0xFF);
  EXPECT_EQ(GetI32(rec, 0), -2);
  PutF32(rec, 4, 3.5f);
  EXPECT_EQ(GetF32(rec, 4), 3.5f);
}

}  // namespace
}  // namespace kontura
