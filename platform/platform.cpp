#include "platform/platform.h"

#include <ctime>
#include <cstdio>
#include <string>

#include "platform/code_page.h"

namespace kontura {

void ConsoleDialogs::ShowMessage(std::string_view text) {
  std::string utf8 = Cp1252ToUtf8(text);
  for (char& c : utf8) {
    if (c == '\r') c = '\n';
  }
  std::fprintf(stderr, "%s\n", utf8.c_str());
}

bool ConsoleDialogs::AskYesNo(std::string_view text) {
  ShowMessage(text);
  std::fprintf(stderr, "(Nein)\n");
  return false;
}

void ConsoleDialogs::Beep() { std::fputc('\a', stderr); }

LocalDateTime SystemClock::Now() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  localtime_r(&ts.tv_sec, &local);
  LocalDateTime now;
  now.year = local.tm_year + 1900;
  now.month = local.tm_mon + 1;
  now.day = local.tm_mday;
  now.hour = local.tm_hour;
  now.minute = local.tm_min;
  now.second = local.tm_sec > 59 ? 59 : local.tm_sec;  // no leap second in a day number
  now.millisecond = static_cast<int>(ts.tv_nsec / 1000000);
  return now;
}

TimeZoneInfo SystemClock::TimeZone() {
  tzset();
  time_t t = time(nullptr);
  tm local{};
  localtime_r(&t, &local);
  TimeZoneInfo info;
  // POSIX keeps the standard offset as seconds west of UTC, which is the bias.
  info.bias = static_cast<int>(timezone / 60);
  info.standard_bias = 0;
  info.daylight_in_effect = local.tm_isdst > 0;
  if (info.daylight_in_effect) {
    info.daylight_bias = static_cast<int>(-local.tm_gmtoff / 60) - info.bias;
  } else {
    info.daylight_bias = daylight ? -60 : 0;
  }
  return info;
}

namespace {
ConsoleDialogs g_console_dialogs;
SystemClock g_system_clock;
Dialogs* g_dialogs = &g_console_dialogs;
Clock* g_clock = &g_system_clock;
NoDocuments g_no_documents;
Documents* g_documents = &g_no_documents;
}  // namespace

Dialogs& TheDialogs() { return *g_dialogs; }
Clock& TheClock() { return *g_clock; }
Documents& TheDocuments() { return *g_documents; }

Dialogs* InstallDialogs(Dialogs* dialogs) {
  Dialogs* old = g_dialogs;
  g_dialogs = dialogs ? dialogs : &g_console_dialogs;
  return old;
}

Clock* InstallClock(Clock* clock) {
  Clock* old = g_clock;
  g_clock = clock ? clock : &g_system_clock;
  return old;
}

Documents* InstallDocuments(Documents* documents) {
  Documents* old = g_documents;
  g_documents = documents ? documents : &g_no_documents;
  return old;
}

}  // namespace kontura
