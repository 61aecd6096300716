#pragma once
// The progress window and the hourglass cursor that whole-log operations
// show while they run (renumbering, summary). The logic reports; the toolkit
// draws. Until a window is installed nothing is shown.

#include <cstdint>
#include <string_view>

namespace kontura {

class Progress {
 public:
  virtual ~Progress() = default;
  // Opens the progress window with `caption` and a bar from 0 to `range`;
  // its text lines stay hidden. With `busy_cursor` the hourglass is shown
  // until Finish.
  virtual void Start(std::string_view caption, int32_t range, bool busy_cursor) = 0;
  // Moves the bar to `position` (0..range).
  virtual void Step(int32_t position) = 0;
  // Closes the window and restores the cursor.
  virtual void Finish() = 0;
};

// Shows nothing: the command-line tool, tests and headless callers.
class NoProgress : public Progress {
 public:
  void Start(std::string_view, int32_t, bool) override {}
  void Step(int32_t) override {}
  void Finish() override {}
};

Progress& TheProgress();
// Installs a progress window and returns the one it replaces; nullptr
// restores NoProgress. The caller keeps ownership.
Progress* InstallProgress(Progress* progress);

// Start on construction, Finish on destruction, so that every way out of an
// operation closes the window.
class ProgressScope {
 public:
  ProgressScope(std::string_view caption, int32_t range, bool busy_cursor) {
    TheProgress().Start(caption, range, busy_cursor);
  }
  ~ProgressScope() { TheProgress().Finish(); }
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;
  void Step(int32_t position) { TheProgress().Step(position); }
};

}  // namespace kontura
