#pragma once
// Base call and the other part of a call sign.
//
// A call as the operator types it may carry a portable prefix or suffix
// (EA8/DL1ABC, DL1ABC/P, DL1ABC/3). Keys, duplicate checks, call-book
// look-ups and the validity check work on the base call, the part that names
// the station itself. CallPart splits a call; BaseCall is its usual use.
//
// All texts are Windows-1252 bytes. A letter is "A".."Z", a digit "0".."9";
// every other byte (blank, "/", "-", umlauts, punctuation) separates parts.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kontura {

enum class CallPartMode : uint8_t {
  Other = 0,  // the portable prefix or suffix, the part that is not the station
  Base = 1,   // the base call
};

inline constexpr uint8_t kNoSuffixType = 255;

struct CallPartResult {
  std::string part;
  // The type byte of the SuffixTable entry recognised in the call, else 255.
  // Callers may act on it; it never changes `part`.
  uint8_t suffixType = kNoSuffixType;
};

// Splits `call` (upper-cased, at most 255 bytes are used) and returns the part
// that `mode` asks for.
//
// Calls of four parts whose first two form a special pair (SV1AB/A/X/Y) are
// handled like three parts of the pair, the third part and the fourth: the
// pair joined with "/" is arranged against the third part unless that is a
// listed suffix, and the fourth part only sets suffixType when it is one.
CallPartResult CallPart(std::string_view call, CallPartMode mode);

// The base call: CallPart in mode Base.
std::string BaseCall(std::string_view call);

// Decides which of two parts is the station (x) and which the other part (y);
// both are changed in place. The longer part normally wins; a part that ends
// in three or more letters or digits (QRP, 123) is dropped; a part that is an
// entity prefix gives way to the other. In mode Other a lone area digit takes
// the prefix of the call in front of it (DL1ABC with "3" gives DL3).
void ArrangeParts(std::string& x, std::string& y, CallPartMode mode);

struct SpecialPairResult {
  bool is_pair = false;
  int count = 0;  // leading characters of `first` that were compared: 2 or 3; 0 when no pair
};

// Pairs that name a DXCC entity of their own, such as SV/A or 3D2/R: `first`
// is the call (or its prefix) before the "/", `second` the text after it.
SpecialPairResult IsSpecialPair(std::string_view first, std::string_view second);

struct SuffixMatch {
  bool is_suffix = false;
  uint8_t type = kNoSuffixType;
};

// True when `text`, trimmed of blanks and tabs, equals the text of a
// SuffixTable entry (exactly, case-sensitively; first entry wins). Empty
// entries never match.
SuffixMatch IsPortableSuffix(std::string_view text);

// SuffixTable: the 16 suffixes that are simply dropped from a call.
inline constexpr int kSuffixTableSize = 16;
inline constexpr int kStoredSuffixEntries = 9;
inline constexpr size_t kSuffixTextLength = 3;

struct SuffixEntry {
  std::string text;  // at most 3 characters
  uint8_t type = kNoSuffixType;
};

// The process-wide table as it stands.
const std::array<SuffixEntry, kSuffixTableSize>& SuffixTable();

// Installs the own-station record's nine stored entries: when the first one
// has a non-empty text, entries 1 to 9 take their texts (cut to 3) and types
// and entries 10 to 16 keep their defaults; otherwise the table is not changed.
void InstallStoredSuffixEntries(const std::array<SuffixEntry, kStoredSuffixEntries>& stored);

// Puts the default table back (A, AM, M, MM, P, LH, LGT and nine empty entries).
void ResetSuffixTable();

}  // namespace kontura
