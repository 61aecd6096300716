// Date and time pictures in both directions.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "../support/scripted_platform.h"
#include "text/calendar.h"
#include "text/date_time_text.h"
#include "text/format_settings.h"

namespace kontura {
namespace {

const int32_t k7March2026 = DayNumber(7, 3, 2026);

struct DateTextCase {
  const char* picture;
  int32_t date;
  const char* expected;
};

TEST(DateToText, Table) {
  const DateTextCase cases[] = {
      {"dd.mm.yyyy", k7March2026, "07.03.2026"},
      {"dd.mm.yy", k7March2026, "07.03.26"},
      {"DD.MM.YY", k7March2026, " 7. 3.26"},
      {"DD.MM.YYYY", DayNumber(17, 11, 2026), "17.11.2026"},
      {"d.m.y", DayNumber(17, 11, 2026), "7.1.6"},  // rightmost digits
      {"ddd", k7March2026, "007"},
      {"yyyy", 0, "1600"},
      {"dd/mm/yyyy", k7March2026, "07/03/2026"},
      {"DD.mm.dd", k7March2026, "DD.03.07"},  // the lower-case run is found first
      {"dD.mM", k7March2026, "07.03"},        // a run takes both cases
      {"dD.Mm", k7March2026, "07.M3"},        // but starts at the first lower-case letter
      {"www, dd. nnn yyyy", k7March2026, "Sat, 07. Mar 2026"},
      {"WWW NNN", k7March2026, "SAT MAR"},
      {"nnnnnnnnnn|", k7March2026, "March     |"},
      {"wwwwwwwww|", DayNumber(11, 3, 2026), "Wednesday|"},
      {"w n", k7March2026, "S M"},
      {"Datum: dd.mm.", k7March2026, "Datu3: 07.mm."},  // letters of a label count too
      {"", k7March2026, ""},
      // not set, or not a valid day number: every date letter blank
      {"dd.mm.yyyy", -1, "  .  .    "},
      {"Www, DD.mm.yy n", -1, "   ,   .  .    "},
      {"dd.mm.yyyy", kLastDayNumber + 1, "  .  .    "},
      {"dd.mm.yyyy", -77, "  .  .    "},
  };
  for (const DateTextCase& c : cases) {
    EXPECT_EQ(DateToText(c.picture, c.date), c.expected) << c.picture << " with " << c.date;
  }
}

TEST(DateToText, LongPictureIsCutAndSeparatorIsSet) {
  const std::string picture = "dd.mm.yyyy" + std::string(245, 'x');
  EXPECT_EQ(DateToText(picture, k7March2026), "07.03.2026" + std::string(30, 'x'));
  ScopedFormatSettings saved;
  TheFormatSettings().date_separator = '-';
  EXPECT_EQ(DateToText("dd/mm/yyyy", k7March2026), "07-03-2026");
  EXPECT_EQ(DateToText("dd/mm/yyyy", -1), "  -  -    ");
}

struct TimeTextCase {
  const char* picture;
  int32_t time;
  const char* expected;
};

TEST(TimeToText, Table) {
  const TimeTextCase cases[] = {
      {"hh:mm", SecondsOf(9, 5, 0), "09:05"},
      {"hh:mm:ss", SecondsOf(13, 5, 9), "13:05:09"},
      {"HH:MM", SecondsOf(9, 5, 0), " 9: 5"},
      {"HH:MM:SS", 0, " 0: 0: 0"},
      {"hh:mm te", SecondsOf(13, 5, 0), "01:05 pm"},
      {"hh:mm te", SecondsOf(0, 15, 0), "12:15 am"},
      {"hh:mm te", SecondsOf(11, 59, 0), "11:59 am"},
      {"hh:mm te", SecondsOf(12, 0, 0), "12:00 pm"},
      {"hh:mm te", SecondsOf(23, 59, 0), "11:59 pm"},
      {"HH:MMt", SecondsOf(7, 30, 0), " 7:30a"},
      {"hhmm", SecondsOf(23, 59, 59), "2359"},
      {"mm", SecondsOf(23, 59, 59), "59"},
      {"hh:mm", -1, "  :  "},
      {"hh:mm te", -1, "  :     "},
      {"hh:mm", 86400, "  :  "},
      {"", 0, ""},
  };
  for (const TimeTextCase& c : cases) {
    EXPECT_EQ(TimeToText(c.picture, c.time), c.expected) << c.picture << " with " << c.time;
  }
}

TEST(TimeToText, Settings) {
  ScopedFormatSettings saved;
  TheFormatSettings().upper_case_am_pm = true;
  TheFormatSettings().time_separator = '.';
  EXPECT_EQ(TimeToText("hh:mm te", SecondsOf(13, 5, 0)), "01.05 PM");
  EXPECT_EQ(TimeToText("hh:mm te", SecondsOf(1, 5, 0)), "01.05 AM");
}

struct ReadCase {
  const char* picture;
  const char* text;
  int32_t expected;
};

TEST(TextToDate, Table) {
  const ReadCase cases[] = {
      {"dd.mm.yyyy", "07.03.2026", k7March2026},
      {"dd.mm.yyyy", " 7. 3.2026", k7March2026},
      {"dd.mm.yyyy", "7 .3 .2026", k7March2026},  // blanks inside a field are dropped
      {"dd.mm.yyyy", "07-03-2026", k7March2026},  // separators are not checked
      {"DD.MM.YYYY", "07.03.2026", k7March2026},
      {"dd.mm.yy", "07.03.26", k7March2026},
      {"dd.mm.yy", "01.01.39", DayNumber(1, 1, 2039)},
      {"dd.mm.yy", "01.01.40", DayNumber(1, 1, 1940)},
      {"dd.mm.yyyy", "29.02.2000", DayNumber(29, 2, 2000)},
      {"dd nnn yyyy", "07 MAR 2026", k7March2026},
      {"dd nnn yyyy", "07 mar 2026", k7March2026},
      {"dd nnnnnnnnn yyyy", "07 March     2026", k7March2026},
      {"mm/yyyy", "03/2026", DayNumber(1, 3, 2026)},  // no day: the first
      // rejected
      {"dd.mm.yyyy", "7.3.2026", -1},  // shorter than the picture
      {"dd.mm.yyyy", "07.03.20266", -1},
      {"dd.mm.yyyy", "  .  .    ", -1},
      {"dd.mm.yyyy", "07.03.    ", -1},
      {"dd.mm.yyyy", "0a.03.2026", -1},
      {"dd.mm.yyyy", "+7.03.2026", -1},
      {"dd.mm.yyyy", "29.02.1900", -1},
      {"dd.mm.yyyy", "31.04.2026", -1},
      {"dd.mm.yyyy", "07.13.2026", -1},
      {"dd.mm.yyyy", "07.03.1599", -1},
      {"dd.mm.yyyy", "07.03.4000", -1},
      {"dd nnn yyyy", "07 Xyz 2026", -1},
      {"dd nnn yyyy", "07     2026", -1},
      {"dd.mm", "07.03", -1},  // no year
      {"yyyy", "2026", -1},    // no month
      {"yyyyyyyyyyyyyyyyyyyy", "99999999999999999999", -1},
      {"", "", -1},
  };
  for (const ReadCase& c : cases) {
    EXPECT_EQ(TextToDate(c.picture, c.text), c.expected) << c.picture << " / \"" << c.text << "\"";
  }
}

TEST(TextToDate, LongTextsAreCutToTheirFirst40Characters) {
  const std::string tail(60, 'x');
  EXPECT_EQ(TextToDate("dd.mm.yyyy" + tail, "07.03.2026" + tail), k7March2026);
  EXPECT_EQ(TextToDate(std::string(255, 'y'), std::string(255, '9')), -1);
}

TEST(TextToTime, Table) {
  const ReadCase cases[] = {
      {"hh:mm", "09:05", 32700},
      {"hh:mm", " 9: 5", 32700},
      {"HH:MM:SS", "13:05:09", SecondsOf(13, 5, 9)},
      {"mm:ss", "05:09", 309},  // no hours: 0
      {"hh:mm", "12:60", SecondsOf(13, 0, 0)},
      {"hh:mm te", "01:05 pm", SecondsOf(13, 5, 0)},
      {"hh:mm te", "01:05 PM", SecondsOf(13, 5, 0)},
      {"hh:mm te", "12:15 am", SecondsOf(0, 15, 0)},
      {"hh:mm te", "12:00 pm", SecondsOf(12, 0, 0)},
      {"hh:mm te", "11:59 am", SecondsOf(11, 59, 0)},
      {"hh:mm te", "01:05   ", SecondsOf(1, 5, 0)},  // blanks read as am
      {"hh:mm te", "00:05 pm", SecondsOf(12, 5, 0)},
      // rejected
      {"hh:mm", "9:05", -1},
      {"hh:mm", "  :  ", -1},
      {"hh:mm", "ab:cd", -1},
      {"hh:mm", "24:00", -1},
      {"hh:mm", "12:61", -1},
      {"hh:mm:ss", "12:00:61", -1},
      {"hh:mm", "-1:00", -1},
      {"hh:mm te", "00:05 am", -1},
      {"hh:mm te", "13:05 pm", -1},
      {"hh:mm te", "01:05 xm", -1},
      {"hh:mm te", "01:05 px", -1},
      {"", "", 0},
  };
  for (const ReadCase& c : cases) {
    EXPECT_EQ(TextToTime(c.picture, c.text), c.expected) << c.picture << " / \"" << c.text << "\"";
  }
}

TEST(DateTimeText, EveryTextReadsBack) {
  for (int32_t n = 0; n <= kLastDayNumber; n += 97) {
    ASSERT_EQ(TextToDate("dd.mm.yyyy", DateToText("dd.mm.yyyy", n)), n);
    ASSERT_EQ(TextToDate("DD nnnnnnnnn YYYY", DateToText("DD nnnnnnnnn YYYY", n)), n);
  }
  ASSERT_EQ(TextToDate("dd.mm.yyyy", DateToText("dd.mm.yyyy", kLastDayNumber)), kLastDayNumber);
  ScopedFormatSettings saved;
  for (bool upper : {false, true}) {
    TheFormatSettings().upper_case_am_pm = upper;
    for (int32_t t = 0; t < 86400; t += 59) {
      ASSERT_EQ(TextToTime("hh:mm:ss te", TimeToText("hh:mm:ss te", t)), t);
      ASSERT_EQ(TextToTime("HH:MM:SS", TimeToText("HH:MM:SS", t)), t);
    }
  }
  // Seconds are lost in a picture without them.
  EXPECT_EQ(TextToTime("hh:mm", TimeToText("hh:mm", SecondsOf(9, 5, 30))), 32700);
}

// Any bytes as picture and text: no fault, texts of at most 40 characters,
// and results that are -1 or in range.
TEST(DateTimeText, AnyBytes) {
  std::mt19937 random(7);
  const std::string alphabet = "dmynwhsteDMYNWHSTE ./:09aApP";
  for (int round = 0; round < 3000; ++round) {
    const size_t length = random() % 60;
    std::string picture(length, ' '), text(length, ' ');
    for (size_t i = 0; i < length; ++i) {
      picture[i] = round % 2 ? alphabet[random() % alphabet.size()] : static_cast<char>(random() % 256);
      text[i] = round % 3 ? alphabet[random() % alphabet.size()] : static_cast<char>(random() % 256);
    }
    const int32_t n = static_cast<int32_t>(random());
    ASSERT_LE(DateToText(picture, n % 1000000).size(), 40u);
    ASSERT_LE(TimeToText(picture, n % 100000).size(), 40u);
    const int32_t date = TextToDate(picture, text);
    ASSERT_TRUE(date == -1 || (date >= 0 && date <= kLastDayNumber)) << date;
    const int32_t time = TextToTime(picture, text);
    ASSERT_TRUE(time >= -1 && time < 86400) << time;
  }
}

TEST(DateTimeText, ClockTexts) {
  testing::ScopedPlatform platform;
  ScopedFormatSettings saved;
  platform.clock.Set(2026, 3, 7, 22, 30, 15);
  TheFormatSettings().hour_offset = 2;
  EXPECT_EQ(TodayText("dd.mm.yyyy"), "07.03.2026");
  EXPECT_EQ(TodayShiftedText("dd.mm.yyyy"), "08.03.2026");
  EXPECT_EQ(NowText("hh:mm:ss"), "22:30:15");
  EXPECT_EQ(NowShiftedText("hh:mm:ss"), "00:30:15");
}

}  // namespace
}  // namespace kontura
