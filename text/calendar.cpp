#include "text/calendar.h"
#include "text/date_time_text.h"

#include "platform/platform.h"
#include "text/format_settings.h"

namespace kontura {
namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Floored modulo: the result has the sign of m, so times wrap backwards too.
int64_t FloorMod(int64_t a, int64_t m) {
  int64_t r = a % m;
  return r < 0 ? r + m : r;
}

int64_t FloorDiv(int64_t a, int64_t m) { return (a - FloorMod(a, m)) / m; }

int ApplyTwoDigitRule(int year) {
  if (year >= 0 && year < 100) return year + 1900 >= 1940 ? year + 1900 : year + 2000;
  return year;
}

bool ValidFullDate(int64_t day, int64_t month, int64_t year) {
  if (year < 1600 || year > 3999 || month < 1 || month > 12) return false;
  return day >= 1 && day <= DaysInMonth(static_cast<int>(month), static_cast<int>(year));
}

// DayNumber without the two-digit rule, for the calendar's own arithmetic.
int32_t DayNumberOfFullDate(int64_t day, int64_t month, int64_t year) {
  if (!ValidFullDate(day, month, year)) return -1;
  // January and February 1600 lie before the first March of the count.
  if (year == 1600 && month == 1) return static_cast<int32_t>(day - 1);
  if (year == 1600 && month == 2) return static_cast<int32_t>(day + 30);
  // Years start in March so that the leap day is the last day of a year.
  if (month <= 2) {
    month += 12;
    year -= 1;
  }
  const int64_t c = year - 1600;
  return static_cast<int32_t>(c / 100 * 146097 / 4 + c % 100 * 1461 / 4 + (153 * month - 457) / 5 +
                              day + 59);
}

bool ValidDayNumber(int64_t n) { return n >= kFirstDayNumber && n <= kLastDayNumber; }
bool ValidTime(int64_t t) { return t >= 0 && t < kSecondsPerDay; }

int32_t ShiftTime(int32_t time, int64_t delta) {
  if (!ValidTime(time)) return -1;
  return static_cast<int32_t>(FloorMod(time + delta, kSecondsPerDay));
}

}  // namespace

bool IsLeapYear(int year) {
  if (year == 4000) return false;
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int month, int year) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDays[month - 1];
}

bool ValidDate(int day, int month, int year) {
  return ValidFullDate(day, month, ApplyTwoDigitRule(year));
}

int32_t DayNumber(int day, int month, int year) {
  return DayNumberOfFullDate(day, month, ApplyTwoDigitRule(year));
}

void SplitDayNumber(int32_t day_number, int& day, int& month, int& year) {
  day = month = year = 0;
  if (!ValidDayNumber(day_number)) return;
  if (day_number < 31) {
    day = day_number + 1;
    month = 1;
    year = 1600;
    return;
  }
  if (day_number < 60) {
    day = day_number - 30;
    month = 2;
    year = 1600;
    return;
  }
  // The inverse of the March-based count of DayNumberOfFullDate.
  int64_t n = day_number - 60;  // days since 1 March 1600
  const int64_t centuries = (4 * n + 3) / 146097;
  n -= centuries * 146097 / 4;
  const int64_t years = (4 * n + 3) / 1461;
  n -= years * 1461 / 4;
  const int64_t m = (5 * n + 2) / 153;  // 0 = March
  day = static_cast<int>(n - (153 * m + 2) / 5 + 1);
  month = static_cast<int>(m + 3);
  year = static_cast<int>(1600 + 100 * centuries + years);
  if (month > 12) {
    month -= 12;
    ++year;
  }
}

int WeekDay(int32_t day_number) {
  if (!ValidDayNumber(day_number)) return 7;
  return (day_number + 6) % 7;  // day 0 is a Saturday
}

int32_t AddToDate(int32_t day_number, int days, int months, int years) {
  int day, month, year;
  SplitDayNumber(day_number, day, month, year);
  if (year == 0) return -1;
  int excess = 0;
  if (day > 28) {
    excess = day - 28;
    day = 28;
  }
  const int64_t month_index = static_cast<int64_t>(month) - 1 + months;
  const int64_t new_year = static_cast<int64_t>(year) + years + FloorDiv(month_index, 12);
  const int64_t new_month = FloorMod(month_index, 12) + 1;
  const int32_t base = DayNumberOfFullDate(day, new_month, new_year);
  if (base < 0) return -1;
  const int64_t result = static_cast<int64_t>(base) + days + excess;
  return ValidDayNumber(result) ? static_cast<int32_t>(result) : -1;
}

int32_t SecondsOf(int hours, int minutes, int seconds) {
  const int64_t total = FloorMod(hours, 24) * 3600 + static_cast<int64_t>(minutes) * 60 + seconds;
  return static_cast<int32_t>(FloorMod(total, kSecondsPerDay));
}

void SplitSeconds(int32_t time, int& hours, int& minutes, int& seconds) {
  hours = minutes = seconds = 0;
  if (!ValidTime(time)) return;
  hours = time / 3600;
  minutes = time / 60 % 60;
  seconds = time % 60;
}

int32_t AddTime(int32_t time, int hours, int minutes, int seconds) {
  return ShiftTime(time, static_cast<int64_t>(hours) * 3600 + static_cast<int64_t>(minutes) * 60 + seconds);
}

int32_t SubTime(int32_t time, int hours, int minutes, int seconds) {
  return ShiftTime(time, -(static_cast<int64_t>(hours) * 3600 + static_cast<int64_t>(minutes) * 60 + seconds));
}

int32_t Today() {
  const LocalDateTime now = TheClock().Now();
  return DayNumberOfFullDate(now.day, now.month, now.year);
}

int32_t NowSeconds() {
  const LocalDateTime now = TheClock().Now();
  return SecondsOf(now.hour, now.minute, now.second);
}

int32_t ClockShiftedBy(int32_t offset_hours, int32_t* seconds) {
  const LocalDateTime now = TheClock().Now();
  int32_t day = DayNumber(now.day, now.month, now.year);
  int64_t s = int64_t{now.hour} * 3600 + now.minute * 60 + now.second + int64_t{offset_hours} * 3600;
  while (s < 0) {
    s += 86400;
    day = AddToDate(day, -1, 0, 0);
  }
  while (s >= 86400) {
    s -= 86400;
    day = AddToDate(day, 1, 0, 0);
  }
  *seconds = static_cast<int32_t>(s);
  return day;
}

int32_t TodayShifted() {
  const LocalDateTime now = TheClock().Now();
  const int32_t today = DayNumberOfFullDate(now.day, now.month, now.year);
  if (today < 0) return -1;
  // The shifted hour h + offset crosses midnight once for every 24 hours.
  const int64_t days = FloorDiv(static_cast<int64_t>(now.hour) + TheFormatSettings().hour_offset, 24);
  const int64_t result = today + days;
  return ValidDayNumber(result) ? static_cast<int32_t>(result) : -1;
}

int32_t NowShifted() {
  return ShiftTime(NowSeconds(), static_cast<int64_t>(TheFormatSettings().hour_offset) * 3600);
}

int UtcOffsetMinutes() {
  const TimeZoneInfo zone = TheClock().TimeZone();
  return zone.bias + (zone.daylight_in_effect ? zone.daylight_bias : zone.standard_bias);
}

}  // namespace kontura
