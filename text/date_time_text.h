#pragma once
// Date and time texts through pictures such as "dd.mm.yyyy" and "hh:mm te".
// Day numbers and times are those of calendar.h.
//
// Pictures and texts are at most 40 characters; longer ones are cut to 40.
// A run is the first occurrence of a letter (lower case searched first, then
// upper case) together with all directly following characters that are the
// same letter in either case. Only the first run of each letter counts.
//
// Dates: "d" day, "m" month number, "y" year, "n" month name (January ..),
// "w" day name (Sunday ..); every "/" shows the date separator.
// Times: "h" hours, "m" minutes, "s" seconds; every ":" shows the time
// separator. A "t" makes the clock 12-hour: the hours 0 and 12 show as 12,
// 13..23 as 1..11, "t" shows "a" before noon and "p" from noon on, and the
// first "e" shows "m" ("A", "P", "M" with TheFormatSettings().upper_case_am_pm).
//
// Numbers are right-aligned in their run; unused positions show "0" under a
// lower-case picture letter and a blank under an upper-case one; a number
// longer than its run keeps its rightmost digits ("yy" shows 2026 as "26").
// Names are cut or padded with blanks to the run, and each position under an
// upper-case picture letter is upper-cased ("Nnn" gives "Mar", "NNN" "MAR").
//
// A date or time that is not set (-1, and likewise any other value out of
// range) shows blanks in place of every date letter d m y n w (or time
// letter h m s, and in a 12-hour picture also at "t" and "e"), so that a
// 12-hour field of an unset time does not show a stray "te".

#include <cstdint>
#include <string>
#include <string_view>

namespace kontura {

std::string DateToText(std::string_view picture, int32_t day_number);
std::string TimeToText(std::string_view picture, int32_t time);

// Reading a text back. The text must be exactly as long as the picture (a
// shorter text such as "7.3.2026" for "dd.mm.yyyy" gives -1). The characters
// under each run are taken with blanks removed; an empty or non-numeric field
// gives -1. Separators and other characters of the text are not checked.
// Dates: the month comes from the "n" run (the text upper-cased and padded to
// the run against the upper-cased month names cut to the run; the first
// match wins), else from the "m" run. A picture without "d" reads day 1; one
// without a year or without a month reads nothing (-1). The two-digit year
// rule applies. An invalid date gives -1.
// Times: a missing "h", "m" or "s" counts as 0. In a 12-hour picture the
// character under "t" is a blank or "A" (12 becomes 0, 1..11 stay, others are
// invalid) or "P" (0..11 get 12 added, 12 stays, others are invalid), and the
// character under "e", if the picture has one, a blank or "M"; the letters
// are read in either case so that every text TimeToText writes reads back.
// Valid are hours 0..23 and minutes and seconds 0..60 (60 carries over, as
// SecondsOf does).
int32_t TextToDate(std::string_view picture, std::string_view text);
int32_t TextToTime(std::string_view picture, std::string_view text);

// DateToText of Today() / TodayShifted(), TimeToText of NowSeconds() /
// NowShifted().
std::string TodayText(std::string_view picture);
std::string TodayShiftedText(std::string_view picture);
std::string NowText(std::string_view picture);
std::string NowShiftedText(std::string_view picture);

}  // namespace kontura
