#pragma once
// The calendar of the program: dates are day numbers, times are seconds since
// midnight, -1 meaning "not set" for both.
//
// Day number: days since 1 January 1600 (day 0, a Saturday). Valid years are
// 1600 to 3999, so valid day numbers are 0 .. DayNumber(31, 12, 3999).
// Two-digit years: a year 0..99 is read as 2000..2039 (00..39) or 1940..1999
// (40..99). The rule applies wherever a day, month and year come in
// (ValidDate, DayNumber, the date texts); negative years are never valid.
// Time: 0 .. 86399 seconds since midnight.
//
// Every function accepts any argument: invalid dates give -1 (or zeros from
// the split functions), arithmetic is done wide enough not to overflow.
//
// The text pictures (DateToText, TextToTime, ...) are in date_time_text.h;
// the keys DateToKey/TimeToKey in storage/key_encoding.h.

#include <cstdint>

namespace kontura {

// The first and last valid day numbers (1 January 1600, 31 December 3999).
inline constexpr int32_t kFirstDayNumber = 0;
inline constexpr int32_t kLastDayNumber = 876581;

// Leap years are divisible by 4, except those divisible by 100 but not by
// 400. The year 4000 is kept a common year, as in the rest of the suite (it
// lies outside the valid range anyway).
bool IsLeapYear(int year);

// 28..31; 0 for a month outside 1..12. The year is taken as it is.
int DaysInMonth(int month, int year);

// Year 1600..3999 after the two-digit rule, month 1..12, day 1..DaysInMonth.
bool ValidDate(int day, int month, int year);

// The day number, or -1 for an invalid date.
int32_t DayNumber(int day, int month, int year);

// The inverse of DayNumber; all three are 0 for -1 and any other day number
// outside the valid range.
void SplitDayNumber(int32_t day_number, int& day, int& month, int& year);

// 0 = Sunday .. 6 = Saturday; 7 for -1 and any other invalid day number.
int WeekDay(int32_t day_number);

// Adds months and years first, then days: a day above 28 is set to 28 for
// the month arithmetic and the excess added back with the days, so 31 January
// plus one month is 3 March in a common year (2 March in a leap year).
// Negative amounts go backwards. An invalid day number or a result outside
// the valid range gives -1; the two-digit rule does not apply to the year
// reached.
int32_t AddToDate(int32_t day_number, int days, int months, int years);

// ((hours mod 24) * 3600 + minutes * 60 + seconds) mod 86400. Negative
// amounts count backwards from midnight, so the result is always 0..86399.
int32_t SecondsOf(int hours, int minutes, int seconds);

// The inverse; all three are 0 for -1 and any other time outside 0..86399.
void SplitSeconds(int32_t time, int& hours, int& minutes, int& seconds);

// The time plus (or minus) the amounts, wrapped at midnight into 0..86399.
// A time outside 0..86399 (such as -1, not set) stays -1.
int32_t AddTime(int32_t time, int hours, int minutes, int seconds);
int32_t SubTime(int32_t time, int hours, int minutes, int seconds);

// The computer clock, through TheClock() of platform/platform.h.
// Today: the local date. NowSeconds: the local time of day.
int32_t Today();
int32_t NowSeconds();

// The local clock moved by TheFormatSettings().hour_offset whole hours:
// the date changes when the shifted hour crosses midnight (an offset of +2 at
// 22:30 is tomorrow, -2 at 01:00 is yesterday).
int32_t TodayShifted();
int32_t NowShifted();

// The local clock moved by `offset_hours` whole hours (the program's offset
// from the computer clock to UTC): the day number, and the time of day in
// *seconds; the date changes where the shifted time crosses midnight.
int32_t ClockShiftedBy(int32_t offset_hours, int32_t* seconds);

// Minutes to add to local time to get UTC: the time-zone bias plus the
// daylight bias while daylight saving time is in effect, otherwise plus the
// standard bias. Central European winter time gives -60, summer time -120.
int UtcOffsetMinutes();

}  // namespace kontura
