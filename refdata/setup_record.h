#pragma once
// The suite's set-up records: FHSETUP holds one SetupRecord (3530 bytes) with
// the own station and the suite's settings; FHSETUP2 holds one record of
// 50408 bytes of which this program knows six short texts. Both belong to
// the whole suite: only the fields below are interpreted, every other byte is
// carried unchanged (the accessors never touch it).
//
// SetupRecord:
// OFFSET WIDTH TYPE        NAME                  MEANING
//     0     4   bytes       Reserved              the engine's deleted-record marker
//     4     4   int32       RecordNumber          counter of key 1
//   703     4   int32       PanelColour           COLORREF values; a top byte of
//   707     4   int32       LabelTextColour       02 means palette-relative
//   711     4   int32       HighlightLabelColour
//   715     4   int32       ListHeaderColour
//   719     4   int32       ListHeaderTextColour
//   723    63   9 x 7       SuffixEntries         string[3] text, type byte, 2 bytes unknown
//   786     4   int32       ProfileNumber
//   790     1   byte        NameCase
//  1776     7   string[6]   OwnLocator
//  1795     4   int32       TimeOffsetHours
//  2103    51   string[50]  OwnName
//  2154    51   string[50]  OwnStreet
//  2205    51   string[50]  OwnCity
//  2256    51   string[50]  OwnCountry
//  2307    11   string[10]  OwnDok
//  2741     4   int32       BackgroundColour
//  2745     4   int32       BarColour
//  3171    21   string[20]  SwlNumber
//  3400    15   string[14]  OwnCall
//
// FHSETUP2 record:
// OFFSET WIDTH TYPE        NAME                  MEANING
//     4     4   int32       RecordNumber          counter of key 1
//  1668    66   6 x 11      Texts                 six string[10] settings of the suite, at 1668 + 11 i

#include <cstddef>
#include <cstdint>
#include <string>

#include "storage/record_bytes.h"

namespace kontura {

namespace setup_record {
inline constexpr size_t kSize = 3530;
inline constexpr size_t kRecordNumber = 4;
inline constexpr size_t kPanelColour = 703;
inline constexpr size_t kLabelTextColour = 707;
inline constexpr size_t kHighlightLabelColour = 711;
inline constexpr size_t kListHeaderColour = 715;
inline constexpr size_t kListHeaderTextColour = 719;
inline constexpr size_t kSuffixEntries = 723;
inline constexpr size_t kSuffixEntrySize = 7;  // string[3], type byte, 2 bytes
inline constexpr size_t kSuffixTextCap = 3;
inline constexpr size_t kSuffixType = 4;       // inside an entry
inline constexpr int kSuffixEntryCount = 9;
inline constexpr size_t kProfileNumber = 786;
inline constexpr size_t kNameCase = 790;
inline constexpr StrField kOwnLocator{1776, 6};
inline constexpr size_t kTimeOffsetHours = 1795;
inline constexpr StrField kOwnName{2103, 50};
inline constexpr StrField kOwnStreet{2154, 50};
inline constexpr StrField kOwnCity{2205, 50};
inline constexpr StrField kOwnCountry{2256, 50};
inline constexpr StrField kOwnDok{2307, 10};
inline constexpr size_t kBackgroundColour = 2741;
inline constexpr size_t kBarColour = 2745;
inline constexpr StrField kSwlNumber{3171, 20};
inline constexpr StrField kOwnCall{3400, 14};
}  // namespace setup_record

namespace setup2_record {
inline constexpr size_t kSize = 50408;
inline constexpr size_t kRecordNumber = 4;
inline constexpr size_t kTexts = 1668;         // + 11 i, i = 0..5
inline constexpr size_t kTextStride = 11;
inline constexpr size_t kTextCap = 10;
inline constexpr int kTextCount = 6;
}  // namespace setup2_record

// Read access to a SetupRecord owned by the caller. Suffix entries are
// numbered 1..9; a number outside reads as empty text and type 0.
class ConstSetupRecord {
 public:
  explicit ConstSetupRecord(const uint8_t* rec) : m_rec(rec) {}

  int32_t RecordNumber() const;
  uint32_t PanelColour() const;
  uint32_t LabelTextColour() const;
  uint32_t HighlightLabelColour() const;
  uint32_t ListHeaderColour() const;
  uint32_t ListHeaderTextColour() const;
  std::string SuffixText(int i) const;
  uint8_t SuffixType(int i) const;
  int32_t ProfileNumber() const;
  uint8_t NameCase() const;
  std::string OwnLocator() const;
  int32_t TimeOffsetHours() const;
  std::string OwnName() const;
  std::string OwnStreet() const;
  std::string OwnCity() const;
  std::string OwnCountry() const;
  std::string OwnDok() const;
  uint32_t BackgroundColour() const;
  uint32_t BarColour() const;
  std::string SwlNumber() const;
  std::string OwnCall() const;

  const uint8_t* Bytes() const { return m_rec; }

 private:
  const uint8_t* m_rec;
};

// Read and write access. Texts are cut to their capacity; the bytes of a
// string field behind its new length keep their old contents, as the other
// programs of the suite leave them.
class SetupRecord : public ConstSetupRecord {
 public:
  explicit SetupRecord(uint8_t* rec) : ConstSetupRecord(rec), m_rec(rec) {}

  void SetRecordNumber(int32_t v);
  void SetPanelColour(uint32_t v);
  void SetLabelTextColour(uint32_t v);
  void SetHighlightLabelColour(uint32_t v);
  void SetListHeaderColour(uint32_t v);
  void SetListHeaderTextColour(uint32_t v);
  // Only text and type byte; the entry's other two bytes stay.
  void SetSuffixEntry(int i, const std::string& text, uint8_t type);
  void SetProfileNumber(int32_t v);
  void SetNameCase(uint8_t v);
  void SetOwnLocator(const std::string& s);
  void SetTimeOffsetHours(int32_t v);
  void SetOwnName(const std::string& s);
  void SetOwnStreet(const std::string& s);
  void SetOwnCity(const std::string& s);
  void SetOwnCountry(const std::string& s);
  void SetOwnDok(const std::string& s);
  void SetBackgroundColour(uint32_t v);
  void SetBarColour(uint32_t v);
  void SetSwlNumber(const std::string& s);
  void SetOwnCall(const std::string& s);

  uint8_t* Bytes() { return m_rec; }

 private:
  uint8_t* m_rec;
};

// The six texts of an FHSETUP2 record, i = 1..6 (empty outside).
std::string Setup2Text(const uint8_t* rec, int i);
void SetSetup2Text(uint8_t* rec, int i, const std::string& s);

// Key builders of FHSETUP and FHSETUP2: key 1 = NumberToKey of the record
// number at byte 4; empty for other key numbers.
std::string SetupRecordKey(const uint8_t* rec, int key_number);
std::string Setup2RecordKey(const uint8_t* rec, int key_number);

}  // namespace kontura
