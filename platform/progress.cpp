#include "platform/progress.h"

namespace kontura {
namespace {
NoProgress g_no_progress;
Progress* g_progress = &g_no_progress;
}  // namespace

Progress& TheProgress() { return *g_progress; }

Progress* InstallProgress(Progress* progress) {
  Progress* old = g_progress;
  g_progress = progress ? progress : &g_no_progress;
  return old;
}

}  // namespace kontura
