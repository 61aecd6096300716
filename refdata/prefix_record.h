#pragma once
// The record of the prefix database (fileblocks FHPREFIX, FHPREFEE and
// FHPREFES), 181 bytes. The database is reference data of the suite; this
// program only reads it, but the accessors can write every field so that
// tests and tools can build records.
//
// OFFSET WIDTH TYPE        NAME              MEANING
//     0     4   bytes       Reserved          the engine's deleted-record marker
//     4     7   string[6]   PatternText       prefix pattern, may hold # ? ~
//    11     7   string[6]   EntityPrefix      what a QSO stores as Dxcc
//    18     4   string[3]   AlternativeNo     "1", "2", ... when patterns repeat
//    22     3   string[2]   CqZone
//    25     3   string[2]   ItuZone
//    28     3   string[2]   ContinentCode
//    31    31   string[30]  CountryName
//    62     9   string[8]   ExtraCode         only the source of key 8
//    71     9   bytes       (unused)          not interpreted
//    80     4   int32       ValidFrom         day numbers, 0 = no limit
//    84     4   int32       ValidTo
//    88     4   int32       FormerUntil2
//    92     4   bytes       (unused)          not interpreted
//    96     7   string[6]   FormerPrefix2
//   103     4   bytes       (unused)          not interpreted
//   107     1   char        RangeStart
//   108     2   int16       DxccNumber
//   110     7   string[6]   RedirectPrefix
//   117     3   bytes       (unused)          not interpreted
//   120    41   string[40]  Remark
//   161     4   int32       FormerUntil1
//   165     7   string[6]   FormerPrefix1
//   172     7   string[6]   AltEntityPrefix
//   179     1   char        EntryClass        source of keys 10 and 14
//   180     1   char        PrefixFlag        overlay tables: 'J' = prefix match

#include <cstddef>
#include <cstdint>
#include <string>

#include "storage/record_bytes.h"

namespace kontura {

namespace prefix_record {
inline constexpr size_t kSize = 181;
inline constexpr StrField kPatternText{4, 6};
inline constexpr StrField kEntityPrefix{11, 6};
inline constexpr StrField kAlternativeNo{18, 3};
inline constexpr StrField kCqZone{22, 2};
inline constexpr StrField kItuZone{25, 2};
inline constexpr StrField kContinentCode{28, 2};
inline constexpr StrField kCountryName{31, 30};
inline constexpr StrField kExtraCode{62, 8};
inline constexpr size_t kValidFrom = 80;
inline constexpr size_t kValidTo = 84;
inline constexpr size_t kFormerUntil2 = 88;
inline constexpr StrField kFormerPrefix2{96, 6};
inline constexpr size_t kRangeStart = 107;
inline constexpr size_t kDxccNumber = 108;
inline constexpr StrField kRedirectPrefix{110, 6};
inline constexpr StrField kRemark{120, 40};
inline constexpr size_t kFormerUntil1 = 161;
inline constexpr StrField kFormerPrefix1{165, 6};
inline constexpr StrField kAltEntityPrefix{172, 6};
inline constexpr size_t kEntryClass = 179;
inline constexpr size_t kPrefixFlag = 180;


// FHPREFIX has keys 1 to 14, the overlay tables keys 1 to 12.
inline constexpr int kMainKeyCount = 14;
inline constexpr int kOverlayKeyCount = 12;
}  // namespace prefix_record

class ConstPrefixRecord {
 public:
  explicit ConstPrefixRecord(const uint8_t* rec) : m_rec(rec) {}

  std::string PatternText() const;
  std::string EntityPrefix() const;
  std::string AlternativeNo() const;
  std::string CqZone() const;
  std::string ItuZone() const;
  std::string ContinentCode() const;
  std::string CountryName() const;
  std::string ExtraCode() const;
  int32_t ValidFrom() const;
  int32_t ValidTo() const;
  int32_t FormerUntil2() const;
  std::string FormerPrefix2() const;
  char RangeStart() const;
  int16_t DxccNumber() const;
  std::string RedirectPrefix() const;
  std::string Remark() const;
  int32_t FormerUntil1() const;
  std::string FormerPrefix1() const;
  std::string AltEntityPrefix() const;
  char EntryClass() const;
  char PrefixFlag() const;

  const uint8_t* Bytes() const { return m_rec; }

 private:
  const uint8_t* m_rec;
};

// Texts are cut to their capacity; bytes behind a new length stay.
class PrefixRecord : public ConstPrefixRecord {
 public:
  explicit PrefixRecord(uint8_t* rec) : ConstPrefixRecord(rec), m_rec(rec) {}

  void SetPatternText(const std::string& s);
  void SetEntityPrefix(const std::string& s);
  void SetAlternativeNo(const std::string& s);
  void SetCqZone(const std::string& s);
  void SetItuZone(const std::string& s);
  void SetContinentCode(const std::string& s);
  void SetCountryName(const std::string& s);
  void SetExtraCode(const std::string& s);
  void SetValidFrom(int32_t v);
  void SetValidTo(int32_t v);
  void SetFormerUntil2(int32_t v);
  void SetFormerPrefix2(const std::string& s);
  void SetRangeStart(char c);
  void SetDxccNumber(int16_t v);
  void SetRedirectPrefix(const std::string& s);
  void SetRemark(const std::string& s);
  void SetFormerUntil1(int32_t v);
  void SetFormerPrefix1(const std::string& s);
  void SetAltEntityPrefix(const std::string& s);
  void SetEntryClass(char c);
  void SetPrefixFlag(char c);

  uint8_t* Bytes() { return m_rec; }

 private:
  uint8_t* m_rec;
};

// Key builders. pad(s, n) below is s cut or padded with blanks to n.
//    1 pad(PatternText, 6)
//    2 pad(EntityPrefix, 6) + pad(PatternText, 6)
//    3 pad(PatternText, 6) + pad(AlternativeNo, 3)
//    4 pad(CqZone, 2) + pad(PatternText, 6)
//    5 pad(ItuZone, 2) + pad(PatternText, 6)
//    6 pad(ContinentCode, 2) + pad(PatternText, 6)
//    7 pad(UpperGerman(CountryName), 30) + pad(PatternText, 6)
//    8 pad(ExtraCode, 8) + pad(PatternText, 6)
//    9 pad(AltEntityPrefix, 6)
//   10 one byte (2 for EntryClass '*', 1 for 'J' and above, else 0)
//      + pad(PatternText, 6)
//   11 pad(RedirectPrefix, 6)
//   12 pad(FormerPrefix2, 6)
//   13 NumberToKey(DxccNumber)
//   14 EntryClass + pad(PatternText, 6)
// PrefixKey serves FHPREFIX (keys 1..14); OverlayPrefixKey serves FHPREFEE
// and FHPREFES (keys 1..12, the same compositions). Both return the empty
// string for other key numbers.
std::string PrefixKey(const uint8_t* rec, int key_number);
std::string OverlayPrefixKey(const uint8_t* rec, int key_number);

}  // namespace kontura
