#include "refdata/date_time_pictures.h"

#include "text/date_time_text.h"
#include "text/format_settings.h"
#include "text/text_util.h"

namespace kontura {

void InstallDateTimeSeparators() {
  TheFormatSettings().date_separator = kDateSeparator;
  TheFormatSettings().time_separator = kTimeSeparator;
}

std::string CompleteDate(std::string_view typed) {
  const std::string t = TrimBlanks(typed);
  const size_t length = t.size();
  // Only texts of 2 to 8 characters have a completion; the checks of the
  // length keep every character access below inside t.
  if (length < 2 || length > 8) return t;

  const std::string today = TodayText(DatePicture);  // "dd.mm.yyyy"
  const std::string year = today.substr(6, 4);
  const std::string currentCentury = year.substr(0, 2);

  // T(i) is the i-th character (from 1); T(i, n) n characters from the i-th.
  auto T = [&](size_t i, size_t n = 1) { return t.substr(i - 1, n); };
  // Two-digit years: below 50 in the current century, from 50 on in the 1900s.
  auto century = [&](size_t yearPosition) {
    const char first = t[yearPosition - 1];
    return (first >= '0' && first < '5') ? currentCentury : std::string("19");
  };
  const size_t dot = t.find('.');
  const bool hasDot = dot != std::string::npos;
  const size_t dotPosition = hasDot ? dot + 1 : 0;  // from 1; 0 for none

  switch (length) {
    case 2:
      return Concat({"0", T(1), ".0", T(2), ".", year});
    case 3:
      if (hasDot) return Concat({"0", T(1), ".0", T(3), ".", year});
      return Concat({T(1, 2), ".0", T(3), ".", year});
    case 4:
      if (dotPosition == 2) return Concat({"0", T(1), ".", T(3, 2), ".", year});
      if (hasDot) return Concat({T(1, 2), ".0", T(4), ".", year});
      return Concat({T(1, 2), ".", T(3, 2), ".", year});
    case 5:
      if (hasDot) return Concat({t, ".", year});
      return Concat({T(1, 2), ".0", T(3), ".", century(4), T(4, 2)});
    case 6:
      if (dotPosition == 3) return Concat({t, year});
      if (dotPosition == 2) return Concat({"0", T(1, 2), "0", T(3, 2), century(5), T(5, 2)});
      return Concat({T(1, 2), ".", T(3, 2), ".", century(5), T(5, 2)});
    case 7:
      if (dotPosition == 3) return Concat({T(1, 3), "0", T(4, 2), century(6), T(6, 2)});
      if (dotPosition == 2) return Concat({"0", T(1, 5), century(6), T(6, 2)});
      return t;
    case 8:
      if (!hasDot) return Concat({T(1, 2), ".", T(3, 2), ".", T(5, 4)});
      return Concat({T(1, 6), century(7), T(7, 2)});
  }
  return t;
}

std::string CompleteTime(std::string_view typed) {
  const std::string t = TrimBlanks(typed);
  if (t.size() == 4) {
    if (t.find_first_of(":.") != std::string::npos) return Concat({"0", t.substr(0, 1), ":", t.substr(2, 2)});
    return Concat({t.substr(0, 2), ":", t.substr(2, 2)});
  }
  if (t.size() == 3 && t.find(':') == std::string::npos) return Concat({"0", t.substr(0, 1), ":", t.substr(1, 2)});
  return t;
}

}  // namespace kontura
