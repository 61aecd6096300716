#include "refdata/prefix_pattern.h"

#include "refdata/prefix_choice.h"
#include "refdata/prefix_record.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"
#include "storage/storage_error.h"
#include "text/calendar.h"
#include "text/date_time_text.h"
#include "text/text_util.h"

namespace kontura {

namespace {

Fileblock* MainTable() { return CatalogueHandle(CatalogueId::kFhprefix); }
PrefixRecord Working() { return PrefixRecord(MainTable()->RecordBuffer()); }
bool Found() { return StorageErrorClass() == 0; }

std::string Cut(std::string_view s, size_t n) { return std::string(s.substr(0, n)); }

// The text from character `from` on (counted from 1), empty past its end.
std::string_view From(std::string_view s, size_t from) { return from - 1 < s.size() ? s.substr(from - 1) : std::string_view{}; }

// Follows a former prefix S of the working entry. The entity of the former
// prefix supplies the data; the pattern stays the one that matched the call.
int FollowFormerPrefix(const std::string& s, std::string_view full_text, int32_t date) {
  const std::string saved = Working().PatternText();
  const bool exact = s.find("RA") == std::string::npos;
  if (!MatchPattern(s, exact).ok) return 1;
  if (EvaluateEntry(s, full_text, date, true) != 0) return 1;
  Working().SetPatternText(Cut(saved, 6));
  return 0;
}

int FollowRedirect(std::string_view text, std::string_view full_text, int32_t date, bool followed) {
  const std::string r = Working().PatternText();
  std::string x = Working().RedirectPrefix();
  std::string next;
  std::string head;
  bool shifted = false;
  if (r.size() == x.size() && x.find('#') == std::string::npos) {
    // Same length: the redirect prefix replaces the pattern in front of the call.
    next = x + std::string(From(text, r.size() + 1));
    head = r;
    shifted = true;
  } else if (!x.empty() && x.back() == '#') {
    x = x.substr(0, x.find('#'));
    size_t q = r.find('?');
    if (q == std::string::npos) q = r.find('#');
    if (q == std::string::npos) q = r.find('~');
    if (q != std::string::npos) {
      next = x + std::string(From(text, q + 1));
      head = r.substr(0, q);
    } else {
      next = x + std::string(From(text, r.size() + 1));
      head = r;
    }
    shifted = true;
  }
  if (shifted) {
    if (LookupPattern(Cut(next, 40), date) != 0) return 1;
    const std::string found = Working().PatternText();
    if (found.compare(0, x.size(), x) == 0) Working().SetPatternText(Cut(head + found.substr(x.size()), 6));
    return 0;
  }
  // Any other redirect names the entry to use; "-NT" asks for today's entry.
  std::string s = x;
  const size_t nt = s.find("-NT");
  if (nt != std::string::npos) s = s.substr(0, nt);
  if (!MatchPattern(s, false).ok) return 1;
  const int32_t d = (nt != std::string::npos || followed) ? Today() : date;
  const int result = EvaluateEntry(s, full_text, d, false);
  Working().SetPatternText(Cut(r, 6));
  return result;
}

}  // namespace

PrefixLookupState& ThePrefixLookupState() {
  static PrefixLookupState state;
  return state;
}

bool IsPatternWildcard(char c) { return c == '#' || c == '?' || c == '~'; }

PatternMatch MatchPattern(std::string_view text, bool exact) {
  PatternMatch m;
  if (text.empty()) return m;
  Fileblock* fb = MainTable();
  if (exact) {
    std::string p = Cut(text, 6);
    const size_t dash = p.find('-');
    if (dash != std::string::npos && dash == p.size() - 1) p.pop_back();
    std::string t(text);
    if (t.compare(0, 3, "FT5") == 0) t = "FT?" + t.substr(3);
    fb->FindExact(2, KeyPad(p, 6) + KeyPad(t, 6));
    m.ok = Found();
    return m;
  }
  std::string t(text);
  const size_t dash = t.find('-');
  if (dash != std::string::npos && dash + 1 < t.size() && IsAsciiDigit(t[dash + 1])) {
    const std::string q = t.substr(dash + 1, 3);
    t = t.substr(0, dash);
    fb->FindExact(3, KeyPad(t, 6) + KeyPad(q, 3));
    // The alternative is named: it needs no choice.
    if (Found()) Working().SetAlternativeNo("");
  } else {
    fb->FindAtLeast(1, KeyPad(t, 6));
  }
  if (!Found()) return m;
  std::string r = Working().PatternText();
  if (r == t) {
    m.ok = true;
    return m;
  }
  const size_t n = t.size();
  if (r.size() == n && r.compare(0, n - 1, t, 0, n - 1) == 0) {
    const char tc = t[n - 1];
    const char rc = r[n - 1];
    if (static_cast<unsigned char>(tc) > static_cast<unsigned char>(rc)) return m;
    const char start = Working().RangeStart();
    if (IsAsciiDigit(start) || IsAsciiUpper(start)) {
      if (static_cast<unsigned char>(tc) < static_cast<unsigned char>(start)) return m;
      r[n - 1] = tc;
      Working().SetPatternText(r);
      m.ok = true;
      return m;
    }
    if (IsPatternWildcard(rc)) {
      m.ok = true;
      m.wild = rc;
    }
    return m;
  }
  if (n < r.size() && IsPatternWildcard(r[n - 1]) && r.compare(0, n - 1, t, 0, n - 1) == 0) {
    m.ok = true;
    m.wild = r[n - 1];
  }
  return m;
}

int LookupPattern(std::string_view call, int32_t date) {
  PrefixLookupState& state = ThePrefixLookupState();
  if (++state.depth > kMaxLookupDepth) return 1;
  const std::string k = Cut(call, 20);
  std::string w = k;
  while (!w.empty()) {
    const PatternMatch m = MatchPattern(w, false);
    if (m.ok && m.wild == 0) return EvaluateEntry(call, call, date, false);
    if (m.ok && w[w.size() - 1] != m.wild) {
      // Try the call again with the wildcard in place of the character it
      // stands for. A position that already holds the wildcard is not tried
      // twice: the same entry would send the search round in a circle.
      const size_t n = w.size();
      w = k;
      w[n - 1] = m.wild;
      continue;
    }
    w.pop_back();
  }
  return 1;
}

int EvaluateEntry(std::string_view text, std::string_view full_text, int32_t date, bool followed) {
  PrefixLookupState& state = ThePrefixLookupState();
  if (++state.depth > kMaxLookupDepth) return 1;
  if (!Working().AlternativeNo().empty()) state.chosen = ChooseAlternative(date);
  if (!followed) {
    const std::string former1 = Working().FormerPrefix1();
    const std::string former2 = Working().FormerPrefix2();
    if (!former1.empty() && date <= Working().FormerUntil1()) return FollowFormerPrefix(former1, full_text, date);
    if (!former2.empty() && date <= Working().FormerUntil2()) {
      std::string s = former2;
      // The former Soviet prefix RA carries the call area of the call.
      if (s == "RA" && full_text.size() > 2 && IsAsciiDigit(full_text[2])) s += full_text[2];
      return FollowFormerPrefix(s, full_text, date);
    }
    const int32_t from = Working().ValidFrom();
    const int32_t to = Working().ValidTo();
    if ((date > 0 && date < from) || (to > 0 && to < date)) return 2;
  }
  if (Working().RedirectPrefix().empty()) return 0;
  return FollowRedirect(text, full_text, date, followed);
}

}  // namespace kontura
