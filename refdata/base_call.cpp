#include "refdata/base_call.h"

#include <vector>

#include "refdata/dxcc_entities.h"
#include "text/text_util.h"

namespace kontura {
namespace {

constexpr size_t kMaxCallLength = 255;
constexpr size_t kWorkingPartLength = 20;

bool IsSeparator(char c) { return !IsAsciiUpper(c) && !IsAsciiDigit(c); }

// Deleting, from the left, every separator that ends the text or is followed
// by another separator leaves exactly the separators that are followed by a
// letter or digit: of a run only the last one stays, a trailing run goes.
std::string CleanSeparators(std::string_view w) {
  std::string out;
  out.reserve(w.size());
  for (size_t i = 0; i < w.size(); ++i) {
    if (IsSeparator(w[i]) && (i + 1 == w.size() || IsSeparator(w[i + 1]))) continue;
    out += w[i];
  }
  return out;
}

// After cleaning, every separator stands alone, so parts are non-empty except
// a first part in front of a leading separator.
std::vector<std::string> SplitParts(const std::string& w) {
  std::vector<std::string> parts(1);
  for (char c : w) {
    if (IsSeparator(c)) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

// A part that ends in a run of three or more letters or of three or more
// digits is no call and no area (QRP, 123); it is dropped.
bool IsDroppedPart(const std::string& s) {
  if (s.empty()) return false;
  bool (*same_class)(char) = IsAsciiUpper(s.back()) ? IsAsciiUpper : IsAsciiDigit(s.back()) ? IsAsciiDigit : nullptr;
  if (same_class == nullptr) return false;
  size_t run = 0;
  for (size_t i = s.size(); i > 0 && same_class(s[i - 1]); --i) ++run;
  return run >= 3;
}

// Position (0-based) of the first digit at the second character or later,
// npos when there is none.
size_t AreaDigitPosition(const std::string& s) {
  for (size_t i = 1; i < s.size(); ++i) {
    if (IsAsciiDigit(s[i])) return i;
  }
  return std::string::npos;
}

// A lone digit next to a call names a call area: it takes the prefix of the
// call in front of the call's own area digit (DL1ABC and 3 give DL3).
void MoveAreaDigit(std::string& x, std::string& y) {
  auto single_digit = [](const std::string& s) { return s.size() == 1 && IsAsciiDigit(s[0]); };
  if (single_digit(y) && x.size() >= 2) {
    size_t p = AreaDigitPosition(x);
    if (p != std::string::npos) y = x.substr(0, p) + y;
  } else if (single_digit(x) && y.size() >= 2) {
    size_t p = AreaDigitPosition(y);
    if (p != std::string::npos) x = y.substr(0, p) + x;
  }
}

bool IsEntityPrefix(const std::string& s) {
  return FindDxccEntity(s, kDxccEntitiesOfCallParts) != 0;
}

std::string Join(const std::string& a, const std::string& b) { return a + "/" + b; }

std::string ByMode(const std::string& x, const std::string& y, CallPartMode mode) {
  return mode == CallPartMode::Base ? x : y;
}

// The default SuffixTable: suffixes that never belong to the base call.
std::array<SuffixEntry, kSuffixTableSize> DefaultSuffixTable() {
  std::array<SuffixEntry, kSuffixTableSize> t;
  t[0] = {"A", 0};
  t[1] = {"AM", 0};
  t[2] = {"M", 255};
  t[3] = {"MM", 0};
  t[4] = {"P", 255};
  t[5] = {"LH", 255};
  t[6] = {"LGT", 255};
  return t;
}

std::array<SuffixEntry, kSuffixTableSize>& MutableSuffixTable() {
  static std::array<SuffixEntry, kSuffixTableSize> table = DefaultSuffixTable();
  return table;
}

}  // namespace

const std::array<SuffixEntry, kSuffixTableSize>& SuffixTable() { return MutableSuffixTable(); }

void InstallStoredSuffixEntries(const std::array<SuffixEntry, kStoredSuffixEntries>& stored) {
  if (stored[0].text.empty()) return;
  auto& table = MutableSuffixTable();
  for (int i = 0; i < kStoredSuffixEntries; ++i) {
    table[i].text = stored[i].text.substr(0, kSuffixTextLength);
    table[i].type = stored[i].type;
  }
}

void ResetSuffixTable() { MutableSuffixTable() = DefaultSuffixTable(); }

SuffixMatch IsPortableSuffix(std::string_view text) {
  if (text.empty()) return {};
  const std::string t = TrimBlanks(text);
  if (t.empty()) return {};
  for (const SuffixEntry& e : SuffixTable()) {
    if (!e.text.empty() && e.text == t) return {true, e.type};
  }
  return {};
}

SpecialPairResult IsSpecialPair(std::string_view first, std::string_view second) {
  auto begins = [&](std::string_view head) { return first.substr(0, head.size()) == head; };
  auto one_of = [](char c, std::string_view set) { return set.find(c) != std::string_view::npos; };
  if (second.size() == 1) {
    const char c = second[0];
    if ((begins("SV") && c == 'A') || (begins("JW") && one_of(c, "BS")) ||
        (begins("3Y") && one_of(c, "BP")) || (begins("FR") && one_of(c, "BEGJT")) ||
        (begins("FO") && one_of(c, "ACFM"))) {
      return {true, 2};
    }
    if ((begins("3D2") && one_of(c, "CR")) || (begins("VQ9") && one_of(c, "ADF")) ||
        (begins("ZK1") && one_of(c, "NS"))) {
      return {true, 3};
    }
  } else if (second.size() == 2) {
    if (begins("GM") && (second == "SH" || second == "SC")) return {true, 2};
  }
  return {};
}

void ArrangeParts(std::string& X, std::string& Y, CallPartMode mode) {
  std::string x = TrimBlanks(X).substr(0, kWorkingPartLength);
  std::string y = TrimBlanks(Y).substr(0, kWorkingPartLength);
  if (x.empty()) {
    X = y;
    Y.clear();
    return;
  }
  if (y.empty()) return;
  if (x.size() > y.size()) {
    if (IsDroppedPart(y)) {
      y.clear();
      Y.clear();
    }
    if (mode == CallPartMode::Other) MoveAreaDigit(X, Y);
    if (IsEntityPrefix(X)) std::swap(X, Y);
  } else {
    if (IsDroppedPart(x)) {
      x.clear();
      X.clear();
    }
    X = y;
    Y = x;
    if (IsEntityPrefix(X)) {
      X = x;
      Y = y;
    }
  }
}

CallPartResult CallPart(std::string_view call, CallPartMode mode) {
  CallPartResult result;
  const std::string w = CleanSeparators(UpperGerman(call.substr(0, kMaxCallLength)));
  const std::vector<std::string> p = SplitParts(w);

  auto note_suffix = [&](const std::string& part) {
    SuffixMatch m = IsPortableSuffix(part);
    if (m.is_suffix) result.suffixType = m.type;
    return m.is_suffix;
  };
  // Arranges a against b and keeps the part the mode asks for.
  auto arranged = [&](std::string a, std::string b) {
    ArrangeParts(a, b, mode);
    return ByMode(a, b, mode);
  };

  if (p.size() == 1) {
    result.part = w;
  } else if (p.size() == 2) {
    if (IsSpecialPair(p[0], p[1]).is_pair) {
      result.part = Join(p[0], p[1]);
    } else if (note_suffix(p[1])) {
      result.part = p[0];
    } else {
      result.part = arranged(p[0], p[1]);
    }
  } else if (p.size() <= 4 && IsSpecialPair(p[0], p[1]).is_pair) {
    // Three parts, or four: the pair counts as one part (see CallPart).
    const std::string q = Join(p[0], p[1]);
    if (note_suffix(p[2])) {
      result.part = q;
    } else {
      result.part = arranged(q, p[2]);
      if (p.size() == 4) note_suffix(p[3]);
    }
  } else {
    result.part = arranged(p[0], p[1]);
    if (p.size() == 3) note_suffix(p[2]);
  }
  return result;
}

std::string BaseCall(std::string_view call) { return CallPart(call, CallPartMode::Base).part; }

}  // namespace kontura
