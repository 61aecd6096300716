// Benchmark of the fileblock engine against SQLite on the program's contest
// log: its 216-byte QSO record, its 27 keys and its key builder, with
// realistic record contents.
//
// Workloads, for N = 10,000 and 100,000 ((a) for 10,000 only):
//   (a) add with flush-after-write (SQLite: one transaction per row,
//       synchronous=FULL)
//   (b) add without it (SQLite: one transaction)
//   (c) 10,000 random exact finds on the 14-byte base-call key (duplicates)
//   (d) a full walk in key order
//   (e) erase everything and add it all again in another order (SQLite: one
//       transaction)
//   (f) ours only: the rebuild that opening costs after a crash left the
//       modification flag set
// Every measurement runs in its own child process, so that its CPU time is
// its own; its peak memory (maximum resident set size) includes the records
// the parent prepared (about 28 MB at 100,000). Output: one line per
// workload with both elapsed times, our time divided by SQLite's, the same
// for CPU time (user + system; the elapsed times on a shared machine include
// waiting), both peak memories, and for (a) the OS flushes per add.
// (b) and (e) run with each cache size of KONTURA_BENCH_PAGES (default: the
// suite's old 160 pages and the program's kPageBuffers), the others with the
// last one. KONTURA_BENCH_N=10000 runs one size only, KONTURA_BENCH_ONLY=bd
// only the workloads named (for profiling one of them).

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/storage_setup.h"
#include "bench/counting_file_system.h"
#include "catalogue/catalogue_table.h"
#include "logging/qso_keys.h"
#include "logging/qso_record.h"
#include "storage/file_system.h"
#include "storage/fileblock.h"
#include "storage/key_encoding.h"
#include "storage/record_bytes.h"

namespace {

using namespace kontura;

// ---- The contest log: the program's QSO record, keys and key builder -------

const FileblockLayout& Log() { return ProgramCatalogue()[static_cast<size_t>(CatalogueId::kFhlk)]; }
const int kLen = static_cast<int>(qso::kRecordSize);
constexpr int kKeys = qso::kKeyCount;
// The finds of (c) go by the base call (14 bytes, with duplicates), as the
// duplicate check does.
constexpr int kProbeKey = 6;

std::string LogKey(const uint8_t* r, int k) {
  return Log().key_builder(r, k).substr(0, static_cast<size_t>(Log().keys[static_cast<size_t>(k - 1)].length));
}

std::vector<std::vector<uint8_t>> MakeRecords(int n) {
  std::mt19937 rng(4711);
  auto pick = [&](int m) { return std::uniform_int_distribution<int>(0, m - 1)(rng); };
  static const char* prefixes[] = {"DL", "DK", "DO", "DJ", "DB", "DF", "DG", "DH", "OE", "HB9", "PA", "ON", "OK", "SP"};
  static const char* modes[] = {"CW", "SSB", "FM"};
  static const char* bands = "8VU";
  std::vector<std::string> calls;
  for (int i = 0; i < 4000; ++i) {
    std::string c = prefixes[pick(14)] + std::to_string(pick(10));
    for (int j = 0, l = 2 + pick(2); j < l; ++j) c += static_cast<char>('A' + pick(26));
    if (pick(10) == 0) c += "/M";
    calls.push_back(c);
  }
  int band_serial[3] = {0, 0, 0};
  std::vector<std::vector<uint8_t>> out;
  for (int i = 0; i < n; ++i) {
    QsoRecord q;
    const std::string& call = calls[static_cast<size_t>(pick(static_cast<int>(calls.size())))];
    const int band = pick(3);
    q.SetCall(call);
    q.SetBand(bands[band]);
    q.SetMode(modes[pick(3)]);
    q.SetQsoDate(14000 + i / 3000);
    q.SetQsoTime((i * 7) % 86400);
    q.SetQsoNo(i + 1);
    q.SetBandSerial(++band_serial[band]);
    q.SetBandSerial2(band_serial[band]);
    q.SetModeSerial(static_cast<uint16_t>(i % 60000));
    q.SetSentExchange("599" + std::to_string(i + 1));
    q.SetRecvExchange("579" + std::to_string(pick(2000)));
    std::string loc = {static_cast<char>('I' + pick(3)), static_cast<char>('N' + pick(3)),
                       static_cast<char>('0' + pick(10)), static_cast<char>('0' + pick(10)),
                       static_cast<char>('A' + pick(24)), static_cast<char>('A' + pick(24))};
    q.SetLocator(loc);
    q.SetNameQth("Name" + std::to_string(pick(500)) + " Ort" + std::to_string(pick(800)));
    q.SetDok(std::string(1, static_cast<char>('A' + pick(26))) + std::to_string(pick(60)));
    q.SetDistrictCode(std::string(1, static_cast<char>('A' + pick(26))) + std::to_string(pick(60)));
    q.SetPoints(static_cast<uint16_t>(pick(900)));
    q.SetDxcc(call.substr(0, 2));
    q.SetContinent("EU");
    q.SetPrefix(call.substr(0, 3));
    out.emplace_back(q.data(), q.data() + kLen);
  }
  return out;
}

// ---- Our engine ------------------------------------------------------------

std::string g_dir;
int g_cache_pages = 160;
// Cache sizes that (b) and (e) are measured with, the last one also for the
// others: KONTURA_BENCH_PAGES="160,2000". By default the suite's old figure
// and the program's.
std::vector<int> g_page_choices = {160, kPageBuffers};

Fileblock* OpenLog() {
  const FileblockLayout& e = Log();
  Fileblock* fb = OpenFileblock("FHLKBENCH", g_dir + "/FHLKBENCH", false, false, false, true, e.record_length,
                                static_cast<int>(e.keys.size()), nullptr, e.BufferSize(), e.key_builder, 32);
  for (size_t k = 0; k < e.keys.size(); ++k) fb->DefineKey(static_cast<int>(k + 1), e.keys[k].length, e.keys[k].duplicates);
  fb->SetCounterField(e.counter_key, static_cast<int>(kCounterFieldOffset));
  return fb;
}

void Check(const char* what) {
  if (StorageErrorClass() != 0) {
    std::fprintf(stderr, "%s: storage error %d\n", what, StorageErrorCode());
    std::exit(1);
  }
}

// Adds every record as a bulk load, the counterpart of SQLite's single
// transaction (with flush-after-write each add is synced all the same).
void AddAll(Fileblock* fb, const std::vector<std::vector<uint8_t>>& recs, bool reverse) {
  BulkLoadScope bulk(fb);
  for (size_t i = 0; i < recs.size(); ++i) {
    const auto& r = recs[reverse ? recs.size() - 1 - i : i];
    std::memcpy(fb->RecordBuffer(), r.data(), kLen);
    PutI32(fb->RecordBuffer(), qso::kRecordNo, 0);
    fb->AddRecord();
    Check("add");
  }
}

// ---- SQLite ----------------------------------------------------------------

sqlite3* OpenSqlite(bool fresh) {
  std::string path = g_dir + "/bench.sqlite";
  if (fresh) {
    std::filesystem::remove(path);
    std::filesystem::remove(path + "-journal");
  }
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  if (fresh) {
    std::string ddl = "CREATE TABLE t(id INTEGER PRIMARY KEY, rec BLOB";
    for (int k = 1; k <= kKeys; ++k) ddl += ", k" + std::to_string(k) + " BLOB";
    ddl += ");";
    for (int k = 1; k <= kKeys; ++k) {
      ddl += std::string("CREATE ") + (Log().keys[static_cast<size_t>(k - 1)].duplicates ? "" : "UNIQUE ") + "INDEX i" + std::to_string(k) + " ON t(k" +
             std::to_string(k) + ");";
    }
    sqlite3_exec(db, ddl.c_str(), nullptr, nullptr, nullptr);
  }
  return db;
}

void SqliteInsertAll(sqlite3* db, const std::vector<std::vector<uint8_t>>& recs, bool reverse, bool one_txn) {
  std::string sql = "INSERT INTO t VALUES(NULL, ?";
  for (int k = 1; k <= kKeys; ++k) sql += ", ?";
  sql += ")";
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
  if (one_txn) sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  int next_no = 1;
  for (size_t i = 0; i < recs.size(); ++i) {
    std::vector<uint8_t> r = recs[reverse ? recs.size() - 1 - i : i];
    PutI32(r.data(), qso::kRecordNo, next_no++);  // the counter the engine fills in
    sqlite3_bind_blob(st, 1, r.data(), kLen, SQLITE_TRANSIENT);
    for (int k = 1; k <= kKeys; ++k) {
      std::string key = LogKey(r.data(), k);
      sqlite3_bind_blob(st, k + 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
    }
    if (sqlite3_step(st) != SQLITE_DONE) {
      std::fprintf(stderr, "sqlite insert: %s\n", sqlite3_errmsg(db));
      std::exit(1);
    }
    sqlite3_reset(st);
  }
  if (one_txn) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_finalize(st);
}

// ---- Measurement -----------------------------------------------------------

struct Result {
  double seconds = 0;
  double cpu = 0;
  long peak_kb = 0;
  double syncs_per_add = 0;
};

// Runs setup (untimed) and work (timed) in a child process.
Result Measure(const std::function<void()>& setup, const std::function<double()>& work) {
  int fds[2];
  if (pipe(fds) != 0) std::exit(1);
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    setup();
    auto cpu_now = [] {
      struct rusage ru {};
      getrusage(RUSAGE_SELF, &ru);
      return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
             static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
    };
    double cpu0 = cpu_now();
    auto t0 = std::chrono::steady_clock::now();
    double extra = work();
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    double msg[3] = {secs, extra, cpu_now() - cpu0};
    (void)!write(fds[1], msg, sizeof msg);
    _exit(0);
  }
  close(fds[1]);
  double msg[3] = {0, 0, 0};
  (void)!read(fds[0], msg, sizeof msg);
  close(fds[0]);
  int status = 0;
  struct rusage ru {};
  wait4(pid, &status, 0, &ru);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "measurement failed\n");
    std::exit(1);
  }
  return Result{msg[0], msg[2], ru.ru_maxrss, msg[1]};
}

void Report(const char* label, int n, const Result& ours, const Result& lite) {
  std::printf("%-38s N=%6d | elapsed ours %8.3f s sqlite %8.3f s ratio %5.2f | cpu ours %7.3f s sqlite %7.3f s "
              "ratio %5.2f | peak ours %6ld KiB sqlite %6ld KiB",
              label, n, ours.seconds, lite.seconds, ours.seconds / lite.seconds, ours.cpu, lite.cpu, ours.cpu / lite.cpu,
              ours.peak_kb, lite.peak_kb);
  if (ours.syncs_per_add > 0) std::printf(" | OS flushes/add %.2f", ours.syncs_per_add);
  std::printf("\n");
  std::fflush(stdout);
}

void Clean() {
  for (const char* ext : {"DAT", "IX", "MSG", "SAV"}) std::filesystem::remove(g_dir + "/FHLKBENCH." + ext);
}

}  // namespace

int main(int argc, char** argv) {
  g_dir = argc > 1 ? argv[1] : "build/bench-data";
  if (const char* pages = std::getenv("KONTURA_BENCH_PAGES")) {
    g_page_choices.clear();
    for (const char* p = pages; *p;) {
      char* end = nullptr;
      long v = std::strtol(p, &end, 10);
      if (end == p) break;
      g_page_choices.push_back(static_cast<int>(v));
      p = *end == ',' ? end + 1 : end;
    }
    if (g_page_choices.empty()) g_page_choices = {160};
  }
  g_cache_pages = g_page_choices.back();
  std::filesystem::create_directories(g_dir);
  SetFatalStorageHandler([] {
    std::fprintf(stderr, "fatal storage error %d\n", StorageErrorCode());
    std::exit(1);
  });
  auto engine = [](const std::function<void(Fileblock*)>& body) {
    InitFileManager(g_cache_pages, 32);
    Fileblock* fb = OpenLog();
    body(fb);
    CloseFileblock(fb);
    Check("close");
    ExitFileManager();
  };
  // KONTURA_BENCH_N=10000 runs one size only (for profiling).
  std::vector<int> sizes = {10000, 100000};
  if (const char* only = std::getenv("KONTURA_BENCH_N")) sizes = {std::atoi(only)};
  const char* only = std::getenv("KONTURA_BENCH_ONLY");
  auto runs = [only](char workload) { return only == nullptr || std::strchr(only, workload) != nullptr; };
  for (int n : sizes) {
    const auto recs = MakeRecords(n);
    auto build_ours = [&] { Clean(); engine([&](Fileblock* fb) { AddAll(fb, recs, false); }); };
    auto build_lite = [&] { sqlite3* db = OpenSqlite(true); SqliteInsertAll(db, recs, false, true); sqlite3_close(db); };

    if (n == 10000 && runs('a')) {
      Result ours = Measure(Clean, [&] {
        CountingFileSystem counting;
        SetStorageFileSystem(&counting);
        engine([&](Fileblock* fb) {
          fb->SetFlushAfterWrite(true);
          fb->RecordCount();  // files created before counting
          long before = counting.syncs;
          AddAll(fb, recs, false);
          counting.syncs -= before;
        });
        return static_cast<double>(counting.syncs) / n;
      });
      Result lite = Measure([&] { sqlite3_close(OpenSqlite(true)); }, [&] {
        sqlite3* db = OpenSqlite(false);
        sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
        SqliteInsertAll(db, recs, false, false);
        sqlite3_close(db);
        return 0.0;
      });
      Report("(a) add, flush after every add", n, ours, lite);
    }
    if (runs('b')) {
      Result lite_b = Measure([&] { sqlite3_close(OpenSqlite(true)); }, [&] {
        sqlite3* db = OpenSqlite(false);
        SqliteInsertAll(db, recs, false, true);
        sqlite3_close(db);
        return 0.0;
      });
      for (int pages : g_page_choices) {
        g_cache_pages = pages;
        Result ours = Measure(Clean, [&] { engine([&](Fileblock* fb) { AddAll(fb, recs, false); }); return 0.0; });
        Report(("(b) add, no flush, " + std::to_string(pages) + " pages").c_str(), n, ours, lite_b);
      }
    }
    g_cache_pages = g_page_choices.back();
    if (!runs('c') && !runs('d') && !runs('e') && !runs('f')) continue;
    build_ours();
    build_lite();
    std::vector<std::string> probes;
    {
      std::mt19937 rng(99);
      for (int i = 0; i < 10000; ++i) {
        probes.push_back(LogKey(recs[std::uniform_int_distribution<size_t>(0, recs.size() - 1)(rng)].data(), kProbeKey));
      }
    }
    if (runs('c')) {
      Result ours = Measure([] {}, [&] {
        engine([&](Fileblock* fb) {
          for (const std::string& p : probes) {
            fb->FindExact(kProbeKey, p);
            Check("find");
          }
        });
        return 0.0;
      });
      Result lite = Measure([] {}, [&] {
        sqlite3* db = OpenSqlite(false);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "SELECT rec FROM t WHERE k6 = ? ORDER BY id LIMIT 1", -1, &st, nullptr);
        for (const std::string& p : probes) {
          sqlite3_bind_blob(st, 1, p.data(), static_cast<int>(p.size()), SQLITE_STATIC);
          if (sqlite3_step(st) != SQLITE_ROW) std::exit(1);
          sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_close(db);
        return 0.0;
      });
      Report("(c) 10,000 exact finds, 14-byte key", n, ours, lite);
    }
    if (runs('d')) {
      Result ours = Measure([] {}, [&] {
        long seen = 0;
        engine([&](Fileblock* fb) {
          for (fb->First(2); StorageErrorClass() == 0; fb->Next(2)) ++seen;
        });
        if (seen != n) std::exit(1);
        return 0.0;
      });
      Result lite = Measure([] {}, [&] {
        sqlite3* db = OpenSqlite(false);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "SELECT rec FROM t ORDER BY k2, id", -1, &st, nullptr);
        long seen = 0;
        while (sqlite3_step(st) == SQLITE_ROW) ++seen;
        sqlite3_finalize(st);
        sqlite3_close(db);
        if (seen != n) std::exit(1);
        return 0.0;
      });
      Report("(d) full walk in key order", n, ours, lite);
    }
    if (runs('e')) {
      Result lite_e = Measure([] {}, [&] {
        sqlite3* db = OpenSqlite(false);
        sqlite3_exec(db, "BEGIN; DELETE FROM t;", nullptr, nullptr, nullptr);
        SqliteInsertAll(db, recs, true, false);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return 0.0;
      });
      for (int pages : g_page_choices) {
        g_cache_pages = pages;
        Result ours = Measure(build_ours, [&] {
          engine([&](Fileblock* fb) {
            fb->EraseFiles();
            AddAll(fb, recs, true);
          });
          return 0.0;
        });
        Report(("(e) erase, add again reversed, " + std::to_string(pages) + " pages").c_str(), n, ours, lite_e);
      }
    }
    if (runs('f')) {
      // What a crash with unflushed changes costs at the next opening.
      Result ours = Measure(
          [&] {
            build_ours();
            std::FILE* f = std::fopen((g_dir + "/FHLKBENCH.DAT").c_str(), "r+b");
            if (!f || std::fseek(f, 20, SEEK_SET) != 0 || std::fputc(1, f) == EOF) std::exit(1);
            std::fclose(f);
          },
          [&] {
            engine([&](Fileblock* fb) {
              if (fb->RecordCount() != n) std::exit(1);
            });
            return 0.0;
          });
      std::printf("%-38s N=%6d | elapsed ours %8.3f s | cpu ours %7.3f s | peak ours %6ld KiB\n",
                  "(f) rebuild at opening after a crash", n, ours.seconds, ours.cpu, ours.peak_kb);
      std::fflush(stdout);
    }
    g_cache_pages = g_page_choices.back();
  }
  Clean();
  std::filesystem::remove(g_dir + "/bench.sqlite");
  return 0;
}
