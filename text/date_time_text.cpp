#include "text/date_time_text.h"

#include "text/calendar.h"
#include "text/format_settings.h"
#include "text/text_util.h"

namespace kontura {
namespace {

constexpr size_t kMaxLength = 40;

const char* const kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};
const char* const kDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
char ToUpper(char c) { return IsLower(c) ? static_cast<char>(c - 'a' + 'A') : c; }
char ToLower(char c) { return IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view Cut(std::string_view s) { return s.substr(0, kMaxLength); }

struct Run {
  size_t pos = std::string_view::npos;
  size_t len = 0;
  bool found() const { return len > 0; }
};

// The first run of a letter; `letter` is given in lower case.
Run FindRun(std::string_view picture, char letter) {
  const char upper = ToUpper(letter);
  size_t p = picture.find(letter);
  if (p == std::string_view::npos) p = picture.find(upper);
  if (p == std::string_view::npos) return {};
  size_t e = p + 1;
  while (e < picture.size() && ToLower(picture[e]) == letter) ++e;
  return {p, e - p};
}

void PutNumber(std::string& out, std::string_view picture, Run run, int value) {
  if (!run.found()) return;
  const std::string digits = std::to_string(value);
  size_t d = digits.size();
  for (size_t j = run.len; j-- > 0;) {
    const size_t p = run.pos + j;
    if (d > 0) {
      out[p] = digits[--d];
    } else {
      out[p] = IsLower(picture[p]) ? '0' : ' ';
    }
  }
}

void PutName(std::string& out, std::string_view picture, Run run, std::string_view name) {
  if (!run.found()) return;
  for (size_t j = 0; j < run.len; ++j) {
    const size_t p = run.pos + j;
    const char c = j < name.size() ? name[j] : ' ';
    out[p] = IsAsciiUpper(picture[p]) ? ToUpper(c) : c;
  }
}

void BlankLetters(std::string& out, std::string_view picture, std::string_view letters) {
  for (size_t i = 0; i < picture.size(); ++i) {
    if (letters.find(ToLower(picture[i])) != std::string_view::npos) out[i] = ' ';
  }
}

void ReplaceSeparator(std::string& out, std::string_view picture, char from, char to) {
  for (size_t i = 0; i < picture.size(); ++i) {
    if (picture[i] == from) out[i] = to;
  }
}

// The characters of the text under a run, blanks and tabs removed.
std::string FieldText(std::string_view text, Run run) {
  std::string field;
  for (size_t j = 0; j < run.len; ++j) {
    const char c = text[run.pos + j];
    if (c != ' ' && c != '\t') field += c;
  }
  return field;
}

// A field of digits only; -1 when empty or not a number. Values are capped
// far above any valid date or time part so that long texts cannot overflow.
int FieldNumber(std::string_view text, Run run) {
  const std::string field = FieldText(text, run);
  if (field.empty()) return -1;
  int value = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return -1;
    if (value < 100000000) value = value * 10 + (c - '0');
  }
  return value;
}

// The month of an "n" field, 1..12, or -1.
int MonthFromName(std::string_view text, Run run) {
  std::string field = FieldText(text, run);
  if (field.empty()) return -1;
  for (char& c : field) c = ToUpper(c);
  field.resize(run.len, ' ');
  for (int m = 0; m < 12; ++m) {
    std::string name(kMonthNames[m]);
    for (char& c : name) c = ToUpper(c);
    name.resize(run.len, ' ');
    if (name == field) return m + 1;
  }
  return -1;
}

bool IsTwelveHour(std::string_view picture) { return FindRun(picture, 't').found(); }

}  // namespace

std::string DateToText(std::string_view picture, int32_t day_number) {
  picture = Cut(picture);
  std::string out(picture);
  int day, month, year;
  SplitDayNumber(day_number, day, month, year);
  if (year == 0) {
    BlankLetters(out, picture, "dmynw");
  } else {
    PutNumber(out, picture, FindRun(picture, 'd'), day);
    PutNumber(out, picture, FindRun(picture, 'm'), month);
    PutNumber(out, picture, FindRun(picture, 'y'), year);
    PutName(out, picture, FindRun(picture, 'n'), kMonthNames[month - 1]);
    PutName(out, picture, FindRun(picture, 'w'), kDayNames[WeekDay(day_number)]);
  }
  ReplaceSeparator(out, picture, '/', TheFormatSettings().date_separator);
  return out;
}

std::string TimeToText(std::string_view picture, int32_t time) {
  picture = Cut(picture);
  std::string out(picture);
  const Run t = FindRun(picture, 't');
  const Run e = FindRun(picture, 'e');
  if (time < 0 || time >= 86400) {
    BlankLetters(out, picture, "hms");
    if (t.found()) {
      out[t.pos] = ' ';
      if (e.found()) out[e.pos] = ' ';
    }
  } else {
    int hours, minutes, seconds;
    SplitSeconds(time, hours, minutes, seconds);
    if (t.found()) {
      const bool upper = TheFormatSettings().upper_case_am_pm;
      out[t.pos] = hours < 12 ? (upper ? 'A' : 'a') : (upper ? 'P' : 'p');
      if (e.found()) out[e.pos] = upper ? 'M' : 'm';
      hours %= 12;
      if (hours == 0) hours = 12;
    }
    PutNumber(out, picture, FindRun(picture, 'h'), hours);
    PutNumber(out, picture, FindRun(picture, 'm'), minutes);
    PutNumber(out, picture, FindRun(picture, 's'), seconds);
  }
  ReplaceSeparator(out, picture, ':', TheFormatSettings().time_separator);
  return out;
}

int32_t TextToDate(std::string_view picture, std::string_view text) {
  picture = Cut(picture);
  text = Cut(text);
  if (picture.size() != text.size()) return -1;
  const Run d = FindRun(picture, 'd');
  const Run m = FindRun(picture, 'm');
  const Run y = FindRun(picture, 'y');
  const Run n = FindRun(picture, 'n');
  int month = -1;
  if (n.found()) {
    month = MonthFromName(text, n);
  } else if (m.found()) {
    month = FieldNumber(text, m);
  }
  const int day = d.found() ? FieldNumber(text, d) : 1;
  const int year = y.found() ? FieldNumber(text, y) : -1;
  if (month < 0 || day < 0 || year < 0) return -1;
  return DayNumber(day, month, year);
}

int32_t TextToTime(std::string_view picture, std::string_view text) {
  picture = Cut(picture);
  text = Cut(text);
  if (picture.size() != text.size()) return -1;
  const Run h = FindRun(picture, 'h');
  const Run m = FindRun(picture, 'm');
  const Run s = FindRun(picture, 's');
  int hours = h.found() ? FieldNumber(text, h) : 0;
  const int minutes = m.found() ? FieldNumber(text, m) : 0;
  const int seconds = s.found() ? FieldNumber(text, s) : 0;
  if (hours < 0 || minutes < 0 || seconds < 0) return -1;
  if (IsTwelveHour(picture)) {
    const char half = ToUpper(text[FindRun(picture, 't').pos]);
    if (half == ' ' || half == 'A') {
      if (hours == 12) {
        hours = 0;
      } else if (hours < 1 || hours > 12) {
        return -1;
      }
    } else if (half == 'P') {
      if (hours < 12) {
        hours += 12;
      } else if (hours != 12) {
        return -1;
      }
    } else {
      return -1;
    }
    const Run e = FindRun(picture, 'e');
    if (e.found()) {
      const char mark = ToUpper(text[e.pos]);
      if (mark != ' ' && mark != 'M') return -1;
    }
  }
  if (hours > 23 || minutes > 60 || seconds > 60) return -1;
  return SecondsOf(hours, minutes, seconds);
}

std::string TodayText(std::string_view picture) { return DateToText(picture, Today()); }
std::string TodayShiftedText(std::string_view picture) { return DateToText(picture, TodayShifted()); }
std::string NowText(std::string_view picture) { return TimeToText(picture, NowSeconds()); }
std::string NowShiftedText(std::string_view picture) { return TimeToText(picture, NowShifted()); }

}  // namespace kontura
