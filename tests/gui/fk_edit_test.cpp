// TfkEdit driven through its widget: typed keys in, typed values out.

#include <QTest>
#include <gtest/gtest.h>

#include "ui/qt/fk_edit.h"

namespace kontura {
namespace {

TEST(TfkEdit, TypedIntegerAndInvalidText) {
  TfkEdit edit;
  edit.SetDataType(fkeditdatatype::dtInteger);
  edit.SetPictureMask("9999");
  EXPECT_EQ(edit.PictureMask(), "####");
  edit.SetValue(int64_t{0});
  EXPECT_EQ(edit.text(), QStringLiteral("0"));
  edit.clear();
  QTest::keyClicks(&edit, QStringLiteral("12a"));
  EXPECT_EQ(edit.IntegerValue(), 0);
  edit.clear();
  QTest::keyClicks(&edit, QStringLiteral("317"));
  EXPECT_EQ(edit.IntegerValue(), 317);
}

TEST(TfkEdit, RealWithDecimalComma) {
  TfkEdit edit;
  edit.SetDataType(fkeditdatatype::dtSingle);
  edit.SetPictureMask("#####,####");
  QTest::keyClicks(&edit, QStringLiteral("-3,5"));
  EXPECT_EQ(edit.RealValue(), -3.5);
  edit.SetRealValue(3.5);
  EXPECT_EQ(edit.text(), QStringLiteral("3,5000"));
}

TEST(TfkEdit, StringAndCharValuesCrossCodePage) {
  TfkEdit edit;
  edit.SetValue(std::string("M\xFC" "nchen"));
  EXPECT_EQ(edit.text(), QStringLiteral("München"));
  EXPECT_EQ(edit.StringValue(), "M\xFC" "nchen");
  edit.SetDataType(fkeditdatatype::dtChar);
  edit.clear();
  EXPECT_EQ(edit.CharValue(), '\0');
  edit.SetCharValue('k');
  EXPECT_EQ(edit.CharValue(), 'k');
}

TEST(TfkEdit, NumberWithoutPictureShowsPlainAndReadsBack) {
  TfkEdit edit;
  edit.SetDataType(fkeditdatatype::dtInteger);
  edit.SetValue(int64_t{-1234});
  EXPECT_EQ(edit.text(), QStringLiteral("-1234"));
  EXPECT_EQ(edit.IntegerValue(), -1234);
}

TEST(TfkEdit, LimitRestrictsTypingButNotSetValues) {
  TfkEdit edit;
  edit.SetTextLimit(5);
  edit.SetUpperCase(true);
  QTest::keyClicks(&edit, QStringLiteral("abcdefg"));
  EXPECT_EQ(edit.text(), QStringLiteral("ABCDE"));
  edit.SetValue(std::string("D-80331"));
  EXPECT_EQ(edit.text(), QStringLiteral("D-80331"));
  QTest::keyClick(&edit, Qt::Key_End);
  QTest::keyClicks(&edit, QStringLiteral("x"));
  EXPECT_EQ(edit.text(), QStringLiteral("D-80331")) << "no longer than it is";
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), QStringLiteral("D-8033")) << "but shorter";
}

}  // namespace
}  // namespace kontura
