// The program's date and time pictures and the completion of typed dates and
// times.

#include <gtest/gtest.h>

#include "refdata/date_time_pictures.h"
#include "tests/support/scripted_platform.h"
#include "text/calendar.h"
#include "text/date_time_text.h"
#include "text/format_settings.h"

namespace kontura {
namespace {

TEST(DateTimePictures, ShowAndReadBack) {
  ScopedFormatSettings keep;
  TheFormatSettings().date_separator = '-';
  TheFormatSettings().time_separator = '.';
  InstallDateTimeSeparators();

  const int32_t day = DayNumber(7, 3, 2026);
  EXPECT_EQ(DateToText(DatePicture, day), "07.03.2026");
  EXPECT_EQ(DateToText(ShortDatePicture, day), "07.03.26");
  EXPECT_EQ(TextToDate(DatePicture, "07.03.2026"), day);
  EXPECT_EQ(DateToText(DatePicture, -1), "  .  .    ");

  EXPECT_EQ(TimeToText(TimePicture, SecondsOf(9, 5, 0)), "09:05");
  EXPECT_EQ(TextToTime(TimePicture, "09:05"), 32700);
  // Seconds are not part of the picture: they are lost on the way.
  EXPECT_EQ(TextToTime(TimePicture, TimeToText(TimePicture, SecondsOf(9, 5, 45))), 32700);
}

TEST(CompleteDate, TypedShapes) {
  testing::ScopedPlatform platform;  // today is 7 March 2026
  struct Case {
    const char* typed;
    const char* completed;
  } cases[] = {
      {"35", "03.05.2026"},        {"3.5", "03.05.2026"},       {"125", "12.05.2026"},
      {"3.12", "03.12.2026"},      {"12.5", "12.05.2026"},      {"1205", "12.05.2026"},
      {"12.05", "12.05.2026"},     {"12509", "12.05.2009"},     {"12559", "12.05.1959"},
      {"12.05.", "12.05.2026"},    {"1.5.09", "01.05.2009"},    {"120509", "12.05.2009"},
      {"120599", "12.05.1999"},    {"12.5.09", "12.05.2009"},   {"1.05.09", "01.05.2009"},
      {"12052009", "12.05.2009"},  {"12.05.09", "12.05.2009"},  {"12.05.49", "12.05.2049"},
      {"12.05.50", "12.05.1950"},  {" 35\t", "03.05.2026"},
      // Shapes without a completion come back trimmed.
      {"7", "7"},                  {"", ""},                    {" 12.05.2009 ", "12.05.2009"},
      {"1234567", "1234567"},      {"123456789", "123456789"},
  };
  for (const Case& c : cases) EXPECT_EQ(CompleteDate(c.typed), c.completed) << '"' << c.typed << '"';
}

TEST(CompleteDate, YearAndCenturyComeFromTheClock) {
  testing::ScopedPlatform platform;
  platform.clock.Set(2131, 12, 31, 23, 59);
  EXPECT_EQ(CompleteDate("35"), "03.05.2131");
  EXPECT_EQ(CompleteDate("12509"), "12.05.2109");
  EXPECT_EQ(CompleteDate("12.05.61"), "12.05.1961");
}

TEST(CompleteTime, TypedShapes) {
  struct Case {
    const char* typed;
    const char* completed;
  } cases[] = {
      {"9:30", "09:30"}, {"9.30", "09:30"}, {"0930", "09:30"}, {"930", "09:30"},
      {" 930\t", "09:30"}, {"09:30", "09:30"}, {"9", "9"}, {"9:3", "9:3"}, {"", ""},
      {"093000", "093000"},
  };
  for (const Case& c : cases) EXPECT_EQ(CompleteTime(c.typed), c.completed) << '"' << c.typed << '"';
}

}  // namespace
}  // namespace kontura
