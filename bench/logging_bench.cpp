// Benchmark of the logging core on a contest log of 10,000 QSOs, with the
// program's QSO record, key builders, catalogue openers and storage set-up.
//
//   open    OpenLogSession: settle FHLKTEMP, renumber, recount, new QSO
//   close   CloseLogSession: summary into the header, renumber, close
//   save    one QSO saved through the entry: validity check with the
//           duplicate search, add, rewrite when the clock moved, call
//           history; the log with flush-after-write as the program runs it
//   backup  the snapshot of the open log (what the triggering QSO waits
//           for) and the writing of the generation (on its own thread)
//
// Targets: open + close under 1 s; save median under 5 ms, 99th percentile
// under 20 ms. The synchronous flushes (fsync) per save are counted by a
// file system wrapper.
//
// Usage: logging_bench [DIR]   (DIR: where the data goes; default a new
// directory under /tmp, removed afterwards)

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/storage_setup.h"
#include "bench/bench_contest.h"
#include "bench/counting_file_system.h"
#include "contest/contest_definition.h"
#include "contest/contest_header.h"
#include "logging/log_access.h"
#include "logging/log_opening.h"
#include "logging/qso_entry.h"
#include "platform/platform.h"
#include "storage/backup.h"
#include "storage/catalogue.h"
#include "storage/file_system.h"
#include "storage/key_encoding.h"
#include "text/calendar.h"

namespace {

using namespace kontura;
using Timer = std::chrono::steady_clock;

constexpr int kLogSize = 10000;
constexpr int kSaves = 1000;

double Ms(Timer::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// CPU time of the process in ms (user + system): the elapsed times on a
// shared machine include waiting for the processor.
double CpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  BenchDirectory dir(argc > 1 ? argv[1] : std::string());
  if (!dir.ok()) return 1;
  SilentDialogs dialogs;
  InstallDialogs(&dialogs);
  CountingFileSystem fs;
  SetStorageFileSystem(&fs);
  if (!StartStorage()) return 1;

  std::mt19937 rng(2026);
  BuildContest(rng, kLogSize);

  TContestDefinition def;
  FillContestDefinition(def, {DayNumber(7, 3, 2026), 42, kOwnLocator}, TheClock());
  LogOptions options = ReadLogOptions(1);
  options.OwnLocator = kOwnLocator;
  GermanOnly lookup;

  // The built log is out of time order: its first opening renumbers it
  // completely. Then three rounds on the log as it stays in order, and
  // three whose closing finds one QSO moved in time and renumbers the whole
  // log again.
  struct Round {
    const char* what;
    double open, close, open_cpu, close_cpu;
  };
  std::vector<Round> rounds;
  for (int round = 0; round < 7; ++round) {
    const bool disorder = round >= 4;
    const double c0 = CpuMs();
    auto t0 = Timer::now();
    auto log = OpenLogSession(1, def, options, lookup);
    auto t1 = Timer::now();
    const double c1 = CpuMs();
    if (disorder) {
      TheLog()->FindExact(13, NumberToKey(1));
      QsoRecord q = LogRecord();
      q.SetQsoTime(86399);
      q.CopyTo(TheLog()->RecordBuffer());
      TheLog()->UpdateRecord();
    }
    const double c2 = CpuMs();
    auto t2 = Timer::now();
    CloseLogSession(*log);
    auto t3 = Timer::now();
    const double c3 = CpuMs();
    const char* what = round == 0 ? "first opening (full renumbering), closing in order"
                       : disorder ? "opening in order, closing after one QSO moved (full renumbering)"
                                  : "opening and closing in order";
    rounds.push_back({what, Ms(t1 - t0), Ms(t3 - t2), c1 - c0, c3 - c2});
  }

  // Saving: every QSO through the mask as the operator enters it, first
  // with the flushes, then without them.
  auto log = OpenLogSession(1, def, options, lookup);
  QsoEntry& entry = log->entry();
  std::vector<double> saves, unsynced;
  long syncs = 0, rewrites = 0;
  for (int i = 0; i < 2 * kSaves; ++i) {
    fs.skip_sync = i >= kSaves;
    entry.Type(MaskField::kCall, "DM" + std::to_string(i % 10) + "B" + std::to_string(i));
    entry.LeaveField(MaskField::kCall);
    entry.Type(MaskField::kRecv2, std::to_string(i % 900));
    entry.Type(MaskField::kRecv3, BenchLocator(rng));
    entry.Tick();  // the window's one-second timer keeps the mask's time current
    const long before = fs.syncs;
    auto t0 = Timer::now();
    const SaveResult r = entry.Save(false);
    auto t1 = Timer::now();
    if (r != SaveResult::kStored) {
      std::fprintf(stderr, "save %d failed\n", i);
      return 1;
    }
    if (fs.skip_sync) {
      unsynced.push_back(Ms(t1 - t0));
      continue;
    }
    syncs += fs.syncs - before;
    if (fs.syncs - before > 2) ++rewrites;
    saves.push_back(Ms(t1 - t0));
  }
  fs.skip_sync = false;

  // Backup of the open log (now 12,000 QSOs): the snapshot is what the
  // QSO that triggers a backup waits for; the writing runs on a thread of
  // its own in the program.
  std::vector<double> snapshots, writes;
  for (int i = 0; i < 5; ++i) {
    BackupSnapshot snap;
    std::string error, generation;
    auto t0 = Timer::now();
    if (!TakeBackupSnapshot(1, 1796000000 + i, &snap, &error)) return 1;
    auto t1 = Timer::now();
    if (!WriteBackupGeneration(snap, "backup", 3, &generation, &error)) return 1;
    auto t2 = Timer::now();
    snapshots.push_back(Ms(t1 - t0));
    writes.push_back(Ms(t2 - t1));
  }
  CloseLogSession(*log);
  StopStorage();
  SetStorageFileSystem(nullptr);

  auto pct = [](std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
  };
  std::printf("log of %d QSOs; elapsed ms (CPU ms)\n", kLogSize);
  for (const Round& r : rounds) {
    std::printf("  open %5.0f (%4.0f)  close %5.0f (%4.0f)  together %5.0f (%4.0f)  %s\n", r.open, r.open_cpu, r.close,
                r.close_cpu, r.open + r.close, r.open_cpu + r.close_cpu, r.what);
  }
  std::printf("save, %d QSOs: median %.2f ms, 99th percentile %.2f ms, max %.2f ms\n", kSaves, pct(saves, 0.5),
              pct(saves, 0.99), pct(saves, 1.0));
  std::printf("save without the flushes: median %.2f ms, 99th percentile %.2f ms\n", pct(unsynced, 0.5),
              pct(unsynced, 0.99));
  std::printf("synchronous flushes per save: %.2f (saves with a rewrite: %ld)\n",
              static_cast<double>(syncs) / kSaves, rewrites);
  std::printf("backup of the open log: snapshot median %.1f ms (max %.1f), writing the generation median %.1f ms\n",
              pct(snapshots, 0.5), pct(snapshots, 1.0), pct(writes, 0.5));
  return 0;
}
