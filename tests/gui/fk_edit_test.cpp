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

}  // namespace
}  // namespace kontura
