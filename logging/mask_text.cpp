#include "logging/mask_text.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "platform/code_page.h"
#include "refdata/date_time_pictures.h"
#include "text/date_time_text.h"
#include "text/text_util.h"

namespace kontura {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool InRange(char c, char lo, char hi) { return c >= lo && c <= hi; }

}  // namespace

std::string StoredCallText(std::string_view typed) {
  std::string call = TrimBlanks(typed);
  for (char& c : call) {
    if (c == '-' || c == ' ') c = '/';
  }
  if (!call.empty() && call.back() == '#') {
    call.pop_back();
    call += "/p";
    if (call.size() > 14) call.resize(14);
  }
  if (call.size() > 12) call.resize(12);
  return call;
}

std::string CompletedTimeText(std::string_view typed) {
  const std::string_view t = typed;
  const bool has_separator = t.find(':') != std::string_view::npos || t.find('.') != std::string_view::npos;
  std::string done(t);
  if (t.size() == 4 && !has_separator) {
    done = Concat({t.substr(0, 2), ":", t.substr(2, 2)});
  } else if (t.size() == 4) {
    done = Concat({"0", t.substr(0, 1), ":", t.substr(2, 2)});
  } else if (t.size() == 3 && t.find(':') == std::string_view::npos) {
    done = Concat({"0", t.substr(0, 1), ":", t.substr(1, 2)});
  }
  if (done.size() == 5) done += ":00";
  return done;
}

int32_t TypedTime(std::string_view typed) { return TextToTime("hh:mm:ss", CompletedTimeText(typed)); }

int32_t TypedDate(std::string_view typed) { return TextToDate("dd.mm.yyyy", CompleteDate(typed)); }

std::string ModeReport(std::string_view typed, std::string_view mode) {
  std::string report(typed.substr(0, 3));
  report.resize(3, ' ');
  if (mode == "CW" && report[2] == ' ' && report[1] != ' ') report[2] = '9';
  if (mode == "SSB" || mode == "PR" || mode == "FM") report[2] = ' ';
  return report;
}

std::string DefaultReport(std::string_view mode) { return mode == "CW" ? "599" : "59 "; }

bool IsLocatorPrefix(std::string_view text) {
  for (size_t i = 0; i < text.size() && i < 6; ++i) {
    const char c = text[i];
    const bool ok = i < 2 ? InRange(c, 'A', 'R') : i < 4 ? IsDigit(c) : InRange(c, 'A', 'X');
    if (!ok) return false;
  }
  return true;
}

double TypedFrequency(std::string_view typed) {
  std::string t = TrimBlanks(typed);
  for (char& c : t) {
    if (c == ',') c = '.';
  }
  if (t.empty()) return 0;
  // from_chars reads the point whatever the process locale says (the window
  // toolkit sets the desktop's, where strtod would stop at the point).
  const char* first = t.data();
  if (*first == '+') ++first;
  double v = 0;
  const auto result = std::from_chars(first, t.data() + t.size(), v);
  return result.ec == std::errc() ? v : 0;
}

std::string FrequencyText(float mhz) {
  if (mhz == 0) return {};
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", static_cast<double>(mhz));
  std::string s = buf;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

void SplitNameQth(const std::string& name_qth, std::string* name, std::string* qth) {
  const size_t semi = name_qth.find(';');
  *name = name_qth.substr(0, semi);
  *qth = semi == std::string::npos ? std::string() : name_qth.substr(semi + 1);
}

std::string DosNameToWindows(std::string_view name) {
  // The call book also holds 251 (DOS "√"), which the suite reads as "Y".
  std::string out = DosLettersToWindows(std::string(name));
  for (char& c : out) {
    if (static_cast<uint8_t>(c) == 251) c = 'Y';
  }
  return out;
}

}  // namespace kontura
