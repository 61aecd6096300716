#pragma once
// The computer clock and time zone, as the date utilities and the contest
// definition need them.

namespace kontura {

struct LocalDateTime {
  int year = 1600;
  int month = 1;   // 1..12
  int day = 1;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// Time-zone biases in minutes, with the sign convention UTC = local time + bias.
// Central Europe: bias -60, standard bias 0, daylight bias -60.
struct TimeZoneInfo {
  int bias = 0;
  int standard_bias = 0;
  int daylight_bias = 0;
  bool daylight_in_effect = false;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() = 0;
  virtual TimeZoneInfo TimeZone() = 0;
};

// The real clock through POSIX (localtime_r, tzset).
class SystemClock : public Clock {
 public:
  LocalDateTime Now() override;
  TimeZoneInfo TimeZone() override;
};

}  // namespace kontura
