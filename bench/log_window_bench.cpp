// Benchmark of the logging window on a contest log of 10,000 QSOs: what the
// window adds to a save. The operator's keys go to the real widgets
// (offscreen): the call, Enter, the number, Enter, the locator, and the
// timed Enter that stores the QSO, after which the window redraws the mask,
// the evaluation panel and the last page of the QSO list.
//
//   enter   the Enter in the locator field, from the key to the redrawn
//           window: the core's save (see logging_bench) plus the window
//   typing  one whole QSO, every key included
//
// Target: the Enter that stores a QSO stays under 50 ms in the 99th
// percentile, so that the operator feels no delay. The window reads only
// the page of the list it shows; the figures stay flat as the log grows.
//
// Usage: log_window_bench [DIR]   (DIR: where the data goes; default a new
// directory under /tmp, removed afterwards)

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/storage_setup.h"
#include "bench/bench_contest.h"
#include "logging/entity.h"
#include "logging/log_window.h"
#include "logging/qt/log_window.h"
#include "platform/platform.h"
#include "refdata/suite_settings.h"
#include "ui/qt/fk_edit.h"

namespace {

using namespace kontura;
using Timer = std::chrono::steady_clock;

constexpr int kLogSize = 10000;
constexpr int kQsos = 300;

double Ms(Timer::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

void TypeInto(TContestLogStd& w, const char* field, const std::string& text) {
  auto* e = w.findChild<TfkEdit*>(QString::fromLatin1(field));
  e->setFocus();
  QTest::keyClicks(e, QString::fromStdString(text));
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  BenchDirectory dir(argc > 1 ? argv[1] : std::string());
  if (!dir.ok()) return 1;
  SilentDialogs dialogs;
  InstallDialogs(&dialogs);
  if (!StartStorage()) return 1;
  TheSuiteSettings().OwnCall = "DL0BEN";
  TheSuiteSettings().OwnLocator = kOwnLocator;
  // The main window keeps the contest files open.
  OpenFHKK();
  OpenFHKZ();

  std::mt19937 rng(2026);
  BuildContest(rng, kLogSize);
  TContestDefinition def;
  FillContestDefinition(def, {DayNumber(7, 3, 2026), 42, kOwnLocator}, TheClock());
  GermanOnly lookup;

  std::vector<double> enters, typing;
  {
    TContestLogStd window(1, def, lookup);
    if (!window.FormCreate()) return 1;
    window.show();
    QApplication::processEvents();
    for (int i = 0; i < kQsos; ++i) {
      auto t0 = Timer::now();
      TypeInto(window, "eCall", "DM" + std::to_string(i % 10) + "B" + std::to_string(i));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      QTest::keyClicks(QApplication::focusWidget(), QString::number(i % 900));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      QTest::keyClicks(QApplication::focusWidget(), QString::fromStdString(BenchLocator(rng)));
      auto t1 = Timer::now();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      QApplication::processEvents();  // the repaint of what changed
      auto t2 = Timer::now();
      enters.push_back(Ms(t2 - t1));
      typing.push_back(Ms(t2 - t0));
    }
    if (window.Model().session().Totals.NextNumber != kLogSize + kQsos + 1) {
      std::fprintf(stderr, "not every QSO was stored\n");
      return 1;
    }
    window.close();
  }
  CloseFHKZ();
  CloseFHKK();
  StopStorage();

  std::printf("logging window on a log of %d QSOs, %d QSOs typed; elapsed ms\n", kLogSize, kQsos);
  std::printf("  enter (save + redraw): median %.2f, 99th percentile %.2f, max %.2f\n", Percentile(enters, 0.5),
              Percentile(enters, 0.99), Percentile(enters, 1.0));
  std::printf("  typing one QSO (every key): median %.2f, 99th percentile %.2f\n", Percentile(typing, 0.5),
              Percentile(typing, 0.99));
  return 0;
}
