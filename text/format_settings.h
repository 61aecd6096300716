#pragma once
// The process-wide settings of the picture formatting and the date and time
// texts. They are set once at start (the hour offset from the contest's time
// settings) and read by picture_format, calendar and date_time_text. Nothing
// else keeps a copy, so a change takes effect at the next call.

namespace kontura {

struct FormatSettings {
  char date_separator = '/';     // replaces every "/" of a date picture
  char time_separator = ':';     // replaces every ":" of a time picture
  bool upper_case_am_pm = false;   // "A"/"P"/"M" instead of "a"/"p"/"m"
  int hour_offset = 0;           // whole hours added by TodayShifted/NowShifted
  char currency_char = '$';      // the floating currency character of "$"
  bool decimal_swap = false;     // shows "," as "." and "." as "," in number pictures
};

// The one instance. Only the date and time settings of the program write it.
FormatSettings& TheFormatSettings();

// Saves the settings and puts them back when it goes out of scope; for tests
// and for code that formats one text with other separators.
class ScopedFormatSettings {
 public:
  ScopedFormatSettings() : m_saved(TheFormatSettings()) {}
  ~ScopedFormatSettings() { TheFormatSettings() = m_saved; }
  ScopedFormatSettings(const ScopedFormatSettings&) = delete;
  ScopedFormatSettings& operator=(const ScopedFormatSettings&) = delete;

 private:
  FormatSettings m_saved;
};

}  // namespace kontura
