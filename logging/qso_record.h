#pragma once
// The QSO record: one logged contact in the contest log FHLK<nnnn> (and its
// temporary copy FHLKTEMP). 216 bytes, packed, little-endian; the layout is a
// stored file format shared with the other programs of the suite, so every
// field sits at a fixed offset named below and is only reached through these
// names.
//
// OFFSET WIDTH TYPE        NAME          MEANING
//    0     4   bytes       Reserved      the engine's deleted-record marker; 0
//    4     4   int32       RecordNo      record number, counter of key 4
//    8    13   string[12]  Call          partner's call sign
//   21     7   string[6]   Locator       partner's locator
//   28     4   int32       QsoDate       day number; -1 = not set
//   32     4   int32       QsoTime       seconds since midnight UTC; -1 = not set
//   36     7   string[6]   Mode          mode text
//   43     8   string[7]   SentExch4     sent exchange, characters 14-20
//   51     8   string[7]   RecvExch4     received exchange, characters 14-20
//   59     7   string[6]   NewMulti2     second multiplier column
//   66     4   int32       Distance      whole kilometres to the partner
//   70     7   string[6]   Prefix        call-sign prefix (prefix multipliers)
//   77     7   string[6]   Dxcc          DXCC entity prefix
//   84    31   string[30]  NameQth       name + ";" + QTH
//  115     1   byte        Marked        1 = shown marked in the QSO list
//  116     3   string[2]   State         US state
//  119     3   string[2]   Spare         carried as stored
//  122     3   string[2]   Continent     continent of the entity
//  125     7   string[6]   Dok           district code, characters 1-6
//  132     1   char        Band          band code
//  133     4   int32       BandSerial2   running number within the band (key 11)
//  137     2   uint16      Points        points of the QSO
//  139     1   char        QslReceived   QSL received flag
//  140    13   string[12]  Call2         third multiplier column
//  153     7   string[6]   NewMulti1     first multiplier column
//  160     4   int32       BandSerial    running number within the band (key 8)
//  164     1   byte        DxccManual    non-zero = Dxcc chosen by hand
//  165     1   char        QsyBand       non-zero = band-change marker, not a QSO
//  166     4   int32       QsoNo         QSO number shown to the operator
//  170     1   char        Tag1          only read by keys 14, 16, 17
//  171     1   char        Tag2          only read by keys 15, 16, 17
//  172     1   char        Tag3          cleared by the entity determination
//  173    10   string[9]   SentExch      sent exchange, characters 1-9
//  183    10   string[9]   RecvExch      received exchange, characters 1-9
//  193     1   char        QslSent       'Y' or 'N'
//  194     3   string[2]   DokExt        district code, characters 7-8
//  197     3   string[2]   RecvExch2     received exchange, characters 10-11
//  200     3   string[2]   SentExch2     sent exchange, characters 10-11
//  203     4   float32     Frequency     MHz; 0 = not given
//  207     3   string[2]   RecvExch3     received exchange, characters 12-13
//  210     3   string[2]   SentExch3     sent exchange, characters 12-13
//  213     2   uint16      ModeSerial    running number within the mode (key 24)
//  215     1   byte        Excluded      non-zero = scores 0, ignored for multipliers
//
// Bytes behind a string's current length are undefined: they are kept as they
// are and never compared.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "storage/record_bytes.h"

namespace kontura {

namespace qso {

inline constexpr size_t kRecordSize = 216;

inline constexpr size_t kReserved = 0;
inline constexpr size_t kRecordNo = 4;
inline constexpr StrField kCall{8, 12};
inline constexpr StrField kLocator{21, 6};
inline constexpr size_t kQsoDate = 28;
inline constexpr size_t kQsoTime = 32;
inline constexpr StrField kMode{36, 6};
inline constexpr StrField kSentExch4{43, 7};
inline constexpr StrField kRecvExch4{51, 7};
inline constexpr StrField kNewMulti2{59, 6};
inline constexpr size_t kDistance = 66;
inline constexpr StrField kPrefix{70, 6};
inline constexpr StrField kDxcc{77, 6};
inline constexpr StrField kNameQth{84, 30};
inline constexpr size_t kMarked = 115;
inline constexpr StrField kState{116, 2};
inline constexpr StrField kSpare{119, 2};
inline constexpr StrField kContinent{122, 2};
inline constexpr StrField kDok{125, 6};
inline constexpr size_t kBand = 132;
inline constexpr size_t kBandSerial2 = 133;
inline constexpr size_t kPoints = 137;
inline constexpr size_t kQslReceived = 139;
inline constexpr StrField kCall2{140, 12};
inline constexpr StrField kNewMulti1{153, 6};
inline constexpr size_t kBandSerial = 160;
inline constexpr size_t kDxccManual = 164;
inline constexpr size_t kQsyBand = 165;
inline constexpr size_t kQsoNo = 166;
inline constexpr size_t kTag1 = 170;
inline constexpr size_t kTag2 = 171;
inline constexpr size_t kTag3 = 172;
inline constexpr StrField kSentExch{173, 9};
inline constexpr StrField kRecvExch{183, 9};
inline constexpr size_t kQslSent = 193;
inline constexpr StrField kDokExt{194, 2};
inline constexpr StrField kRecvExch2{197, 2};
inline constexpr StrField kSentExch2{200, 2};
inline constexpr size_t kFrequency = 203;
inline constexpr StrField kRecvExch3{207, 2};
inline constexpr StrField kSentExch3{210, 2};
inline constexpr size_t kModeSerial = 213;
inline constexpr size_t kExcluded = 215;

// The four stored parts of one side's exchange string, in reading order.
struct ExchangeFields {
  StrField part1, part2, part3, part4;
};
inline constexpr ExchangeFields kSentExchange{kSentExch, kSentExch2, kSentExch3, kSentExch4};
inline constexpr ExchangeFields kRecvExchange{kRecvExch, kRecvExch2, kRecvExch3, kRecvExch4};

// Longest exchange string and the running limits applied while joining.
inline constexpr size_t kExchangeMax = 20;

// A district code (DOK, LDK or area) holds up to 8 characters.
inline constexpr size_t kDistrictCodeMax = 8;

}  // namespace qso

// An exchange string split into what the operator types: the report (always
// 3 characters, blank-padded, when built) and the fields 2 to 4.
struct ExchangeParts {
  std::string report;
  std::string field2;
  std::string field3;
  std::string field4;
};

// The exchange text: the report padded (or cut) to 3 characters, field 2,
// then "/" + field 3 when field 3 or field 4 is not empty, then "/" + field 4
// when field 4 is not empty. Not cut: storing keeps the first 20 characters.
std::string JoinExchange(const ExchangeParts& parts);

// The inverse: characters 1-3 are the report, the rest is field 2 up to the
// first "/", field 3 from there up to the next "/", field 4 the remainder
// (further slashes stay in field 4).
ExchangeParts SplitExchange(std::string_view text);

// One QSO record. Its bytes are the stored record; the log's record buffer is
// one of these (the opener hands data() to the fileblock), and a copy saves
// the buffer around searches.
class QsoRecord {
 public:
  QsoRecord() { m_bytes.fill(0); }
  static QsoRecord FromBytes(const uint8_t* bytes);
  void CopyTo(uint8_t* bytes) const;

  uint8_t* data() { return m_bytes.data(); }
  const uint8_t* data() const { return m_bytes.data(); }
  static constexpr size_t size() { return qso::kRecordSize; }

  // All bytes 0: the state of a cleared buffer.
  void Clear() { m_bytes.fill(0); }

  int32_t RecordNo() const { return GetI32(data(), qso::kRecordNo); }
  void SetRecordNo(int32_t v) { PutI32(data(), qso::kRecordNo, v); }
  std::string Call() const { return Str(qso::kCall); }
  void SetCall(std::string_view v) { SetStr(qso::kCall, v); }
  std::string Locator() const { return Str(qso::kLocator); }
  void SetLocator(std::string_view v) { SetStr(qso::kLocator, v); }
  int32_t QsoDate() const { return GetI32(data(), qso::kQsoDate); }
  void SetQsoDate(int32_t v) { PutI32(data(), qso::kQsoDate, v); }
  int32_t QsoTime() const { return GetI32(data(), qso::kQsoTime); }
  void SetQsoTime(int32_t v) { PutI32(data(), qso::kQsoTime, v); }
  std::string Mode() const { return Str(qso::kMode); }
  void SetMode(std::string_view v) { SetStr(qso::kMode, v); }
  std::string NewMulti2() const { return Str(qso::kNewMulti2); }
  void SetNewMulti2(std::string_view v) { SetStr(qso::kNewMulti2, v); }
  int32_t Distance() const { return GetI32(data(), qso::kDistance); }
  void SetDistance(int32_t v) { PutI32(data(), qso::kDistance, v); }
  std::string Prefix() const { return Str(qso::kPrefix); }
  void SetPrefix(std::string_view v) { SetStr(qso::kPrefix, v); }
  std::string Dxcc() const { return Str(qso::kDxcc); }
  void SetDxcc(std::string_view v) { SetStr(qso::kDxcc, v); }
  std::string NameQth() const { return Str(qso::kNameQth); }
  void SetNameQth(std::string_view v) { SetStr(qso::kNameQth, v); }
  uint8_t Marked() const { return GetU8(data(), qso::kMarked); }
  void SetMarked(uint8_t v) { PutU8(data(), qso::kMarked, v); }
  std::string State() const { return Str(qso::kState); }
  void SetState(std::string_view v) { SetStr(qso::kState, v); }
  std::string Spare() const { return Str(qso::kSpare); }
  void SetSpare(std::string_view v) { SetStr(qso::kSpare, v); }
  std::string Continent() const { return Str(qso::kContinent); }
  void SetContinent(std::string_view v) { SetStr(qso::kContinent, v); }
  std::string Dok() const { return Str(qso::kDok); }
  void SetDok(std::string_view v) { SetStr(qso::kDok, v); }
  char Band() const { return GetChar(data(), qso::kBand); }
  void SetBand(char v) { PutChar(data(), qso::kBand, v); }
  int32_t BandSerial2() const { return GetI32(data(), qso::kBandSerial2); }
  void SetBandSerial2(int32_t v) { PutI32(data(), qso::kBandSerial2, v); }
  uint16_t Points() const { return GetU16(data(), qso::kPoints); }
  void SetPoints(uint16_t v) { PutU16(data(), qso::kPoints, v); }
  char QslReceived() const { return GetChar(data(), qso::kQslReceived); }
  void SetQslReceived(char v) { PutChar(data(), qso::kQslReceived, v); }
  std::string Call2() const { return Str(qso::kCall2); }
  void SetCall2(std::string_view v) { SetStr(qso::kCall2, v); }
  std::string NewMulti1() const { return Str(qso::kNewMulti1); }
  void SetNewMulti1(std::string_view v) { SetStr(qso::kNewMulti1, v); }
  int32_t BandSerial() const { return GetI32(data(), qso::kBandSerial); }
  void SetBandSerial(int32_t v) { PutI32(data(), qso::kBandSerial, v); }
  uint8_t DxccManual() const { return GetU8(data(), qso::kDxccManual); }
  void SetDxccManual(uint8_t v) { PutU8(data(), qso::kDxccManual, v); }
  char QsyBand() const { return GetChar(data(), qso::kQsyBand); }
  void SetQsyBand(char v) { PutChar(data(), qso::kQsyBand, v); }
  int32_t QsoNo() const { return GetI32(data(), qso::kQsoNo); }
  void SetQsoNo(int32_t v) { PutI32(data(), qso::kQsoNo, v); }
  char Tag1() const { return GetChar(data(), qso::kTag1); }
  void SetTag1(char v) { PutChar(data(), qso::kTag1, v); }
  char Tag2() const { return GetChar(data(), qso::kTag2); }
  void SetTag2(char v) { PutChar(data(), qso::kTag2, v); }
  char Tag3() const { return GetChar(data(), qso::kTag3); }
  void SetTag3(char v) { PutChar(data(), qso::kTag3, v); }
  char QslSent() const { return GetChar(data(), qso::kQslSent); }
  void SetQslSent(char v) { PutChar(data(), qso::kQslSent, v); }
  std::string DokExt() const { return Str(qso::kDokExt); }
  void SetDokExt(std::string_view v) { SetStr(qso::kDokExt, v); }
  float Frequency() const { return GetF32(data(), qso::kFrequency); }
  void SetFrequency(float v) { PutF32(data(), qso::kFrequency, v); }
  uint16_t ModeSerial() const { return GetU16(data(), qso::kModeSerial); }
  void SetModeSerial(uint16_t v) { PutU16(data(), qso::kModeSerial, v); }
  uint8_t Excluded() const { return GetU8(data(), qso::kExcluded); }
  void SetExcluded(uint8_t v) { PutU8(data(), qso::kExcluded, v); }

  // The exchange strings, read by joining the four stored parts (the running
  // result limited to 11, 13 and 20 characters after parts 2, 3 and 4) and
  // stored by splitting the first 20 characters by position.
  std::string SentExchange() const { return Exchange(qso::kSentExchange); }
  void SetSentExchange(std::string_view text) { SetExchange(qso::kSentExchange, text); }
  std::string RecvExchange() const { return Exchange(qso::kRecvExchange); }
  void SetRecvExchange(std::string_view text) { SetExchange(qso::kRecvExchange, text); }

  // The district code as one value: Dok followed by DokExt. Setting it puts
  // characters 1-6 into Dok and 7-8 into DokExt; the rest is dropped.
  std::string DistrictCode() const;
  void SetDistrictCode(std::string_view code);

  // A band-change marker (QsyBand non-zero) is no QSO: scoring, renumbering
  // and exports skip it.
  bool IsBandChangeMarker() const { return QsyBand() != 0; }
  // Clears what a marker must not carry: Dxcc, Continent, Prefix, Dok,
  // DokExt, Locator, Call2 and State.
  void ClearMarkerExchangeData();

 private:
  std::string Str(StrField f) const { return GetPStr(data(), f.offset, f.capacity); }
  void SetStr(StrField f, std::string_view v) { PutPStr(data(), f.offset, f.capacity, v); }
  std::string Exchange(const qso::ExchangeFields& f) const;
  void SetExchange(const qso::ExchangeFields& f, std::string_view text);

  std::array<uint8_t, qso::kRecordSize> m_bytes;
};

}  // namespace kontura
