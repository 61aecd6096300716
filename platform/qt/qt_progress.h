#pragma once
// The progress window: a small dialog without system buttons, centred, with
// its caption ("Datensicherung" when none is given), up to four centred
// text lines and a bar. Installed at start (InstallProgress).

#include <memory>

#include "platform/progress.h"

class QDialog;
class QLabel;
class QProgressBar;

namespace kontura {

inline constexpr char kProgressDefaultCaption[] = "Datensicherung";

class QtProgress : public Progress {
 public:
  QtProgress();
  ~QtProgress() override;
  void Start(std::string_view caption, int32_t range, bool busy_cursor) override;
  void Step(int32_t position) override;
  void Finish() override;

  // The open window, nullptr while none is shown (tests look at it).
  QDialog* Window() const { return m_window.get(); }

 private:
  std::unique_ptr<QDialog> m_window;
  QProgressBar* m_bar = nullptr;
  bool m_busy = false;
};

}  // namespace kontura
