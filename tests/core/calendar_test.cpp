// Day numbers, times and the clock functions.

#include <gtest/gtest.h>

#include <climits>

#include "../support/scripted_platform.h"
#include "text/calendar.h"
#include "text/date_time_text.h"
#include "text/format_settings.h"

namespace kontura {
namespace {

struct DateCase {
  int day, month, year;
  int32_t expected;  // -1: invalid
};

TEST(DayNumber, Table) {
  const DateCase cases[] = {
      {1, 1, 1600, 0},
      {31, 1, 1600, 30},
      {1, 2, 1600, 31},
      {29, 2, 1600, 59},
      {1, 3, 1600, 60},
      {1, 1, 1601, 366},
      {7, 3, 2026, 155659},
      {31, 12, 3999, kLastDayNumber},
      {31, 12, 3999, 876581},
      {29, 2, 2000, 146156},
      {29, 2, 1900, -1},
      {29, 2, 2023, -1},
      {31, 4, 2026, -1},
      {0, 1, 2026, -1},
      {32, 1, 2026, -1},
      {1, 0, 2026, -1},
      {1, 13, 2026, -1},
      {31, 12, 1599, -1},
      {1, 1, 4000, -1},
      {-1, -1, -1, -1},
      {INT_MAX, INT_MAX, INT_MAX, -1},
      {INT_MIN, INT_MIN, INT_MIN, -1},
      // two-digit years
      {7, 3, 26, 155659},
      {1, 1, 39, DayNumber(1, 1, 2039)},
      {1, 1, 40, DayNumber(1, 1, 1940)},
      {1, 1, 99, DayNumber(1, 1, 1999)},
      {1, 1, 0, DayNumber(1, 1, 2000)},
      {1, 1, -5, -1},
      {1, 1, 100, -1},
  };
  for (const DateCase& c : cases) {
    EXPECT_EQ(DayNumber(c.day, c.month, c.year), c.expected) << c.day << "." << c.month << "." << c.year;
    EXPECT_EQ(ValidDate(c.day, c.month, c.year), c.expected >= 0) << c.day << "." << c.month << "." << c.year;
  }
  EXPECT_NE(DayNumber(1, 1, 2039), DayNumber(1, 1, 1939));
  EXPECT_EQ(DayNumber(1, 1, 40), DayNumber(1, 1, 1940));
}

// Walks the whole valid range one day at a time with DaysInMonth and checks
// both directions against it.
TEST(DayNumber, RoundTripOverWholeRange) {
  int day = 1, month = 1, year = 1600;
  int week_day = 6;  // 1 January 1600 was a Saturday
  for (int32_t n = 0; n <= kLastDayNumber; ++n) {
    int d, m, y;
    SplitDayNumber(n, d, m, y);
    ASSERT_TRUE(d == day && m == month && y == year) << n << ": " << d << "." << m << "." << y;
    ASSERT_EQ(DayNumber(day, month, year), n);
    ASSERT_EQ(WeekDay(n), week_day) << n;
    week_day = (week_day + 1) % 7;
    if (++day > DaysInMonth(month, year)) {
      day = 1;
      if (++month > 12) {
        month = 1;
        ++year;
      }
    }
  }
  EXPECT_EQ(year, 4000);
}

TEST(SplitDayNumber, OutsideTheRangeGivesZeros) {
  for (int32_t n : {-1, -2, kLastDayNumber + 1, INT_MIN, INT_MAX}) {
    int d = 9, m = 9, y = 9;
    SplitDayNumber(n, d, m, y);
    EXPECT_TRUE(d == 0 && m == 0 && y == 0) << n;
    EXPECT_EQ(WeekDay(n), 7) << n;
  }
  EXPECT_EQ(WeekDay(DayNumber(7, 3, 2026)), 6);
  EXPECT_EQ(WeekDay(DayNumber(8, 3, 2026)), 0);
}

TEST(Calendar, LeapYearsAndMonthLengths) {
  struct {
    int year;
    bool leap;
  } const years[] = {{1600, true}, {1700, false}, {1900, false}, {2000, true},
                     {2024, true}, {2026, false}, {3996, true},  {4000, false}};
  for (const auto& c : years) EXPECT_EQ(IsLeapYear(c.year), c.leap) << c.year;

  struct {
    int month, year, days;
  } const months[] = {{1, 2026, 31}, {2, 2026, 28}, {2, 2024, 29}, {4, 2026, 30},
                      {12, 2026, 31}, {0, 2026, 0}, {13, 2026, 0}, {-3, 2026, 0}};
  for (const auto& c : months) EXPECT_EQ(DaysInMonth(c.month, c.year), c.days) << c.month << "/" << c.year;
}

struct AddCase {
  int32_t from;
  int days, months, years;
  int32_t expected;
};

TEST(AddToDate, Table) {
  const AddCase cases[] = {
      // a day above 28 carries its excess past the month arithmetic
      {DayNumber(31, 1, 2026), 0, 1, 0, DayNumber(3, 3, 2026)},
      {DayNumber(31, 1, 2024), 0, 1, 0, DayNumber(2, 3, 2024)},
      {DayNumber(29, 2, 2024), 0, 0, 1, DayNumber(1, 3, 2025)},
      {DayNumber(30, 4, 2026), 0, 1, 0, DayNumber(30, 5, 2026)},
      {DayNumber(15, 1, 2026), 0, 14, 0, DayNumber(15, 3, 2027)},
      {DayNumber(15, 1, 2026), 0, -1, 0, DayNumber(15, 12, 2025)},
      {DayNumber(15, 1, 2026), 0, -13, 0, DayNumber(15, 12, 2024)},
      {DayNumber(31, 12, 2026), 1, 0, 0, DayNumber(1, 1, 2027)},
      {DayNumber(1, 3, 2024), -1, 0, 0, DayNumber(29, 2, 2024)},
      {DayNumber(7, 3, 2026), 3, 2, 1, DayNumber(10, 5, 2027)},
      // out of range and bad input
      {-1, 1, 0, 0, -1},
      {kLastDayNumber, 1, 0, 0, -1},
      {0, -1, 0, 0, -1},
      {DayNumber(1, 1, 2026), 0, 0, -2000, -1},  // year 26 is not read as 2026 here
      {DayNumber(1, 1, 2026), INT_MAX, INT_MAX, INT_MAX, -1},
      {DayNumber(1, 1, 2026), INT_MIN, INT_MIN, INT_MIN, -1},
  };
  for (const AddCase& c : cases) {
    EXPECT_EQ(AddToDate(c.from, c.days, c.months, c.years), c.expected)
        << c.from << " + " << c.days << "d " << c.months << "m " << c.years << "y";
  }
}

TEST(Seconds, OfSplitAddSub) {
  struct {
    int h, m, s;
    int32_t expected;
  } const of[] = {{0, 0, 0, 0},    {13, 5, 0, 47100}, {23, 59, 59, 86399}, {25, 0, 0, 3600},
                  {23, 59, 60, 0}, {0, 0, 86400, 0},  {-1, 0, 0, 82800},   {0, -1, 0, 86340}};
  for (const auto& c : of) {
    EXPECT_EQ(SecondsOf(c.h, c.m, c.s), c.expected) << c.h << ":" << c.m << ":" << c.s;
  }
  const int32_t extreme = SecondsOf(INT_MAX, INT_MIN, INT_MAX);
  EXPECT_TRUE(extreme >= 0 && extreme < 86400);

  int h = 9, m = 9, s = 9;
  SplitSeconds(47109, h, m, s);
  EXPECT_TRUE(h == 13 && m == 5 && s == 9);
  for (int32_t bad : {-1, 86400, INT_MIN}) {
    SplitSeconds(bad, h, m, s);
    EXPECT_TRUE(h == 0 && m == 0 && s == 0) << bad;
  }

  EXPECT_EQ(AddTime(86000, 0, 10, 0), 200);
  EXPECT_EQ(AddTime(3600, 25, 0, 0), 7200);
  EXPECT_EQ(SubTime(100, 0, 5, 0), 86200);
  EXPECT_EQ(SubTime(3600, 1, 0, 0), 0);
  EXPECT_EQ(AddTime(-1, 1, 0, 0), -1);
  EXPECT_EQ(SubTime(86400, 0, 0, 1), -1);
  const int32_t wrapped = AddTime(0, INT_MAX, INT_MAX, INT_MAX);
  EXPECT_TRUE(wrapped >= 0 && wrapped < 86400);
  const int32_t back = SubTime(0, INT_MIN, INT_MIN, INT_MIN);
  EXPECT_TRUE(back >= 0 && back < 86400);
}

struct ShiftCase {
  int year, month, day, hour, minute;
  int offset;
  int32_t date;
  int32_t time;
};

TEST(Clock, TodayAndNowShifted) {
  const ShiftCase cases[] = {
      {2026, 3, 7, 22, 30, 2, DayNumber(8, 3, 2026), SecondsOf(0, 30, 0)},
      {2026, 3, 7, 22, 30, -2, DayNumber(7, 3, 2026), SecondsOf(20, 30, 0)},
      {2026, 3, 7, 21, 59, 2, DayNumber(7, 3, 2026), SecondsOf(23, 59, 0)},
      {2026, 3, 7, 1, 0, -2, DayNumber(6, 3, 2026), SecondsOf(23, 0, 0)},
      {2026, 3, 7, 1, 0, 2, DayNumber(7, 3, 2026), SecondsOf(3, 0, 0)},
      {2026, 3, 7, 12, 0, 0, DayNumber(7, 3, 2026), SecondsOf(12, 0, 0)},
      {2026, 12, 31, 23, 0, 1, DayNumber(1, 1, 2027), 0},
      {2026, 3, 1, 0, 0, -1, DayNumber(28, 2, 2026), SecondsOf(23, 0, 0)},
      {2026, 3, 7, 12, 0, 48, DayNumber(9, 3, 2026), SecondsOf(12, 0, 0)},
      {3999, 12, 31, 23, 0, 1, -1, 0},
  };
  testing::ScopedPlatform platform;
  ScopedFormatSettings saved;
  for (const ShiftCase& c : cases) {
    platform.clock.Set(c.year, c.month, c.day, c.hour, c.minute, 0);
    TheFormatSettings().hour_offset = c.offset;
    EXPECT_EQ(Today(), DayNumber(c.day, c.month, c.year));
    EXPECT_EQ(NowSeconds(), SecondsOf(c.hour, c.minute, 0));
    EXPECT_EQ(TodayShifted(), c.date) << c.day << "." << c.month << " " << c.hour << ":" << c.minute << " " << c.offset;
    EXPECT_EQ(NowShifted(), c.time) << c.hour << ":" << c.minute << " " << c.offset;
  }
}

TEST(Clock, UtcOffsetMinutes) {
  testing::ScopedPlatform platform;
  EXPECT_EQ(UtcOffsetMinutes(), -60);  // Central European winter time
  platform.clock.zone.daylight_in_effect = true;
  EXPECT_EQ(UtcOffsetMinutes(), -120);
  platform.clock.zone = TimeZoneInfo{300, 0, -60, false};  // US Eastern winter time
  EXPECT_EQ(UtcOffsetMinutes(), 300);
  platform.clock.zone.standard_bias = 30;
  EXPECT_EQ(UtcOffsetMinutes(), 330);
}

}  // namespace
}  // namespace kontura
