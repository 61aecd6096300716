// The stored layout of the QSO record, its exchange strings, district code
// and band-change markers.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "logging/qso_record.h"

namespace kontura {
namespace {

// One field of the stored layout: where it is, how wide, and how to write a
// sample value through the record's accessors and read it back.
struct FieldCase {
  const char* name;
  size_t offset;
  size_t width;
  std::function<void(QsoRecord&)> set;
  std::function<bool(const QsoRecord&)> reads_back;
  std::vector<uint8_t> bytes;  // expected bytes at offset
};

template <typename T>
FieldCase Number(const char* name, size_t offset, void (QsoRecord::*set)(T), T (QsoRecord::*get)() const,
                 T value, std::vector<uint8_t> bytes) {
  return {name, offset, bytes.size(), [=](QsoRecord& r) { (r.*set)(value); },
          [=](const QsoRecord& r) { return (r.*get)() == value; }, bytes};
}

FieldCase String(const char* name, size_t offset, size_t capacity, void (QsoRecord::*set)(std::string_view),
                 std::string (QsoRecord::*get)() const) {
  // A full-length value: the length byte equals the capacity.
  std::string value;
  for (size_t i = 0; i < capacity; ++i) value += static_cast<char>('A' + i);
  std::vector<uint8_t> bytes{static_cast<uint8_t>(capacity)};
  bytes.insert(bytes.end(), value.begin(), value.end());
  if (set == nullptr) return {name, offset, capacity + 1, nullptr, nullptr, bytes};
  return {name, offset, capacity + 1, [=](QsoRecord& r) { (r.*set)(value + "XYZ"); },
          [=](const QsoRecord& r) { return (r.*get)() == value; }, bytes};
}

std::vector<FieldCase> Layout() {
  using R = QsoRecord;
  const std::vector<uint8_t> i32{0x01, 0x02, 0x03, 0x84};  // 0x84030201
  const int32_t v32 = static_cast<int32_t>(0x84030201u);
  return {
      Number<int32_t>("RecordNo", 4, &R::SetRecordNo, &R::RecordNo, v32, i32),
      String("Call", 8, 12, &R::SetCall, &R::Call),
      String("Locator", 21, 6, &R::SetLocator, &R::Locator),
      Number<int32_t>("QsoDate", 28, &R::SetQsoDate, &R::QsoDate, v32, i32),
      Number<int32_t>("QsoTime", 32, &R::SetQsoTime, &R::QsoTime, v32, i32),
      String("Mode", 36, 6, &R::SetMode, &R::Mode),
      String("SentExch4", 43, 7, nullptr, nullptr),
      String("RecvExch4", 51, 7, nullptr, nullptr),
      String("NewMulti2", 59, 6, &R::SetNewMulti2, &R::NewMulti2),
      Number<int32_t>("Distance", 66, &R::SetDistance, &R::Distance, v32, i32),
      String("Prefix", 70, 6, &R::SetPrefix, &R::Prefix),
      String("Dxcc", 77, 6, &R::SetDxcc, &R::Dxcc),
      String("NameQth", 84, 30, &R::SetNameQth, &R::NameQth),
      Number<uint8_t>("Marked", 115, &R::SetMarked, &R::Marked, 0xA1, {0xA1}),
      String("State", 116, 2, &R::SetState, &R::State),
      String("Spare", 119, 2, &R::SetSpare, &R::Spare),
      String("Continent", 122, 2, &R::SetContinent, &R::Continent),
      String("Dok", 125, 6, &R::SetDok, &R::Dok),
      Number<char>("Band", 132, &R::SetBand, &R::Band, 'b', {'b'}),
      Number<int32_t>("BandSerial2", 133, &R::SetBandSerial2, &R::BandSerial2, v32, i32),
      Number<uint16_t>("Points", 137, &R::SetPoints, &R::Points, 0xA102, {0x02, 0xA1}),
      Number<char>("QslReceived", 139, &R::SetQslReceived, &R::QslReceived, 'J', {'J'}),
      String("Call2", 140, 12, &R::SetCall2, &R::Call2),
      String("NewMulti1", 153, 6, &R::SetNewMulti1, &R::NewMulti1),
      Number<int32_t>("BandSerial", 160, &R::SetBandSerial, &R::BandSerial, v32, i32),
      Number<uint8_t>("DxccManual", 164, &R::SetDxccManual, &R::DxccManual, 0xA1, {0xA1}),
      Number<char>("QsyBand", 165, &R::SetQsyBand, &R::QsyBand, 'c', {'c'}),
      Number<int32_t>("QsoNo", 166, &R::SetQsoNo, &R::QsoNo, v32, i32),
      Number<char>("Tag1", 170, &R::SetTag1, &R::Tag1, 'x', {'x'}),
      Number<char>("Tag2", 171, &R::SetTag2, &R::Tag2, 'y', {'y'}),
      Number<char>("Tag3", 172, &R::SetTag3, &R::Tag3, 'z', {'z'}),
      String("SentExch", 173, 9, nullptr, nullptr),
      String("RecvExch", 183, 9, nullptr, nullptr),
      Number<char>("QslSent", 193, &R::SetQslSent, &R::QslSent, 'Y', {'Y'}),
      String("DokExt", 194, 2, &R::SetDokExt, &R::DokExt),
      String("RecvExch2", 197, 2, nullptr, nullptr),
      String("SentExch2", 200, 2, nullptr, nullptr),
      Number<float>("Frequency", 203, &R::SetFrequency, &R::Frequency, 3.5f, {0x00, 0x00, 0x60, 0x40}),
      String("RecvExch3", 207, 2, nullptr, nullptr),
      String("SentExch3", 210, 2, nullptr, nullptr),
      Number<uint16_t>("ModeSerial", 213, &R::SetModeSerial, &R::ModeSerial, 0xA102, {0x02, 0xA1}),
      Number<uint8_t>("Excluded", 215, &R::SetExcluded, &R::Excluded, 0xA1, {0xA1}),
  };
}

TEST(QsoRecordLayout, FieldsTileTheRecord) {
  size_t next = 4;  // behind the engine's reserved bytes
  for (const FieldCase& f : Layout()) {
    EXPECT_EQ(f.offset, next) << f.name;
    next = f.offset + f.width;
  }
  EXPECT_EQ(next, 216u);
  EXPECT_EQ(QsoRecord::size(), 216u);
}

TEST(QsoRecordLayout, EachAccessorWritesOnlyItsBytes) {
  for (const FieldCase& f : Layout()) {
    if (!f.set) continue;  // exchange parts: see the exchange tests
    QsoRecord r;
    f.set(r);
    for (size_t i = 0; i < 216; ++i) {
      const bool inside = i >= f.offset && i < f.offset + f.width;
      const uint8_t expected = inside ? f.bytes[i - f.offset] : 0;
      ASSERT_EQ(r.data()[i], expected) << f.name << " byte " << i;
    }
    EXPECT_TRUE(f.reads_back(r)) << f.name;
  }
}

TEST(QsoRecordLayout, LengthByteBeyondCapacityReadsAsCapacity) {
  QsoRecord r;
  r.SetCall("DL1ABC");
  r.data()[8] = 40;  // a damaged length byte
  EXPECT_EQ(r.Call().size(), 12u);
  EXPECT_EQ(r.Call().substr(0, 6), "DL1ABC");
}

TEST(QsoRecordLayout, BytesRoundTrip) {
  QsoRecord r;
  for (size_t i = 0; i < 216; ++i) r.data()[i] = static_cast<uint8_t>(i * 7 + 3);
  uint8_t buffer[216];
  r.CopyTo(buffer);
  const QsoRecord copy = QsoRecord::FromBytes(buffer);
  EXPECT_EQ(std::memcmp(copy.data(), r.data(), 216), 0);
  QsoRecord cleared = copy;
  cleared.Clear();
  EXPECT_EQ(cleared.data()[100], 0);
  EXPECT_EQ(copy.data()[100], r.data()[100]) << "copies are independent";
}

TEST(Exchange, JoinAndSplitTheTypedFields) {
  struct Case {
    ExchangeParts parts;
    const char* text;
  };
  const Case cases[] = {
      {{"599", "012", "JO40HC", ""}, "599012/JO40HC"},
      {{"59", "7", "", ""}, "59 7"},
      {{"59", "", "", ""}, "59 "},
      {{"599", "1", "", "X"}, "5991//X"},
      {{"599", "1", "JO40HC", "K"}, "5991/JO40HC/K"},
      {{"599", "", "JO40HC", ""}, "599/JO40HC"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JoinExchange(c.parts), c.text);
    const ExchangeParts back = SplitExchange(c.text);
    ExchangeParts expected = c.parts;
    expected.report = JoinExchange({c.parts.report, "", "", ""});
    EXPECT_EQ(back.report, expected.report) << c.text;
    EXPECT_EQ(back.field2, expected.field2) << c.text;
    EXPECT_EQ(back.field3, expected.field3) << c.text;
    EXPECT_EQ(back.field4, expected.field4) << c.text;
  }
}

TEST(Exchange, SplitOfUnusualTexts) {
  struct Case {
    const char* text;
    const char* report;
    const char* f2;
    const char* f3;
    const char* f4;
  };
  const Case cases[] = {
      {"", "", "", "", ""},
      {"59", "59", "", "", ""},
      {"5/9123", "5/9", "123", "", ""},      // the report is taken by position
      {"599a/b/c/d", "599", "a", "b", "c/d"},  // further slashes stay in field 4
      {"599/", "599", "", "", ""},
  };
  for (const Case& c : cases) {
    const ExchangeParts p = SplitExchange(c.text);
    EXPECT_EQ(p.report, c.report) << c.text;
    EXPECT_EQ(p.field2, c.f2) << c.text;
    EXPECT_EQ(p.field3, c.f3) << c.text;
    EXPECT_EQ(p.field4, c.f4) << c.text;
  }
}

TEST(Exchange, StoredSplitByPosition) {
  struct Case {
    const char* text;
    const char* p1;
    const char* p2;
    const char* p3;
    const char* p4;
    const char* read;
  };
  const Case cases[] = {
      {"599012/JO40HC", "599012/JO", "40", "HC", "", "599012/JO40HC"},
      {"59 1", "59 1", "", "", "", "59 1"},
      {"12345678901234567890", "123456789", "01", "23", "4567890", "12345678901234567890"},
      {"12345678901234567890XY", "123456789", "01", "23", "4567890", "12345678901234567890"},
      {"", "", "", "", "", ""},
  };
  for (const Case& c : cases) {
    QsoRecord r;
    r.SetSentExchange(c.text);
    r.SetRecvExchange(std::string(c.text) + "!");
    EXPECT_EQ(GetPStr(r.data(), 173, 9), c.p1) << c.text;
    EXPECT_EQ(GetPStr(r.data(), 200, 2), c.p2) << c.text;
    EXPECT_EQ(GetPStr(r.data(), 210, 2), c.p3) << c.text;
    EXPECT_EQ(GetPStr(r.data(), 43, 7), c.p4) << c.text;
    EXPECT_EQ(r.SentExchange(), c.read) << c.text;
    EXPECT_EQ(r.RecvExchange().substr(0, std::string(c.read).size()), c.read) << "received side: " << c.text;
  }
  QsoRecord r;
  r.SetRecvExchange("599012/JO40HC");
  EXPECT_EQ(GetPStr(r.data(), 183, 9), "599012/JO");
  EXPECT_EQ(GetPStr(r.data(), 197, 2), "40");
  EXPECT_EQ(GetPStr(r.data(), 207, 2), "HC");
  EXPECT_EQ(GetPStr(r.data(), 51, 7), "");
  EXPECT_EQ(r.SentExchange(), "") << "the sides are apart";
}

TEST(Exchange, ReadingAForeignRecordKeepsThePartsInOrder) {
  // Another program may store a short first part followed by more parts.
  QsoRecord r;
  PutPStr(r.data(), 173, 9, "599");
  PutPStr(r.data(), 200, 2, "12");
  PutPStr(r.data(), 210, 2, "/J");
  PutPStr(r.data(), 43, 7, "O40");
  EXPECT_EQ(r.SentExchange(), "59912/JO40");
}

TEST(DistrictCode, DokAndExtension) {
  struct Case {
    const char* code;
    const char* dok;
    const char* ext;
    const char* read;
  };
  const Case cases[] = {
      {"", "", "", ""},
      {"P07", "P07", "", "P07"},
      {"ABCDEF", "ABCDEF", "", "ABCDEF"},
      {"ABCDEFGH", "ABCDEF", "GH", "ABCDEFGH"},
      {"ABCDEFGHIJ", "ABCDEF", "GH", "ABCDEFGH"},
  };
  for (const Case& c : cases) {
    QsoRecord r;
    r.SetDokExt("ZZ");
    r.SetDistrictCode(c.code);
    EXPECT_EQ(r.Dok(), c.dok) << c.code;
    EXPECT_EQ(r.DokExt(), c.ext) << c.code;
    EXPECT_EQ(r.DistrictCode(), c.read) << c.code;
  }
}

TEST(BandChangeMarker, ClearsExchangeDataOnly) {
  QsoRecord r;
  r.SetCall("DL1ABC");
  r.SetBand('b');
  EXPECT_FALSE(r.IsBandChangeMarker());
  r.SetQsyBand('c');
  EXPECT_TRUE(r.IsBandChangeMarker());
  r.SetDxcc("DL");
  r.SetContinent("EU");
  r.SetPrefix("DL1");
  r.SetDistrictCode("P07ABCXY");
  r.SetLocator("JO40HC");
  r.SetCall2("DL1ABC");
  r.SetState("NY");
  r.SetNameQth("Hans;Frankfurt");
  r.ClearMarkerExchangeData();
  EXPECT_EQ(r.Dxcc() + r.Continent() + r.Prefix() + r.Dok() + r.DokExt() + r.Locator() + r.Call2() + r.State(),
            "");
  EXPECT_EQ(r.Call(), "DL1ABC");
  EXPECT_EQ(r.NameQth(), "Hans;Frankfurt");
  EXPECT_EQ(r.Band(), 'b');
  EXPECT_EQ(r.QsyBand(), 'c');
}

}  // namespace
}  // namespace kontura
