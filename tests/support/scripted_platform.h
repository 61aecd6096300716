#pragma once
// Scripted platform services for tests: dialogs that record every message and
// answer questions from a queue, and a clock that stands still where the test
// puts it. ScopedPlatform installs both and restores the defaults on exit.

#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace kontura::testing {

class ScriptedDialogs : public Dialogs {
 public:
  // Every message and question shown, in order, as Windows-1252 text.
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  int beeps = 0;

  // Answers for the next questions; an empty queue answers No.
  std::deque<bool> answers;

  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  bool AskYesNo(std::string_view text) override {
    questions.emplace_back(text);
    if (answers.empty()) return false;
    bool a = answers.front();
    answers.pop_front();
    return a;
  }
  void Beep() override { ++beeps; }
};

class FixedClock : public Clock {
 public:
  LocalDateTime now;
  TimeZoneInfo zone;

  FixedClock() {
    now.year = 2026;
    now.month = 3;
    now.day = 7;
    now.hour = 12;
    // Central European winter time.
    zone.bias = -60;
    zone.standard_bias = 0;
    zone.daylight_bias = -60;
    zone.daylight_in_effect = false;
  }
  void Set(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    now = LocalDateTime{year, month, day, hour, minute, second, 0};
  }
  LocalDateTime Now() override { return now; }
  TimeZoneInfo TimeZone() override { return zone; }
};

class ScriptedDocuments : public Documents {
 public:
  std::vector<std::string> opened;
  bool OpenDocument(std::string_view path) override {
    opened.emplace_back(path);
    return true;
  }
};

class ScopedPlatform {
 public:
  ScriptedDialogs dialogs;
  FixedClock clock;
  ScriptedDocuments documents;

  ScopedPlatform() {
    old_dialogs_ = InstallDialogs(&dialogs);
    old_clock_ = InstallClock(&clock);
    old_documents_ = InstallDocuments(&documents);
  }
  ~ScopedPlatform() {
    InstallDialogs(old_dialogs_);
    InstallClock(old_clock_);
    InstallDocuments(old_documents_);
  }
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Dialogs* old_dialogs_;
  Clock* old_clock_;
  Documents* old_documents_;
};

}  // namespace kontura::testing
