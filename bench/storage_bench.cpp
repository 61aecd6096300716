// Benchmark of the fileblock engine against SQLite on a QSO-log-like
// fileblock: 216-byte records, 27 keys with the key lengths and duplicate
// flags of the contest log, keys built from realistic record contents.
//
// Workloads, for N = 10,000 and 100,000 ((a) for 10,000 only):
//   (a) add with flush-after-write (SQLite: one transaction per row,
//       synchronous=FULL)
//   (b) add without it (SQLite: one transaction)
//   (c) 10,000 random exact finds on a 14-byte key with duplicates
//   (d) a full walk in key order
//   (e) erase everything and add it all again in another order (SQLite: one
//       transaction)
// Every measurement runs in its own child process, so that its peak memory
// (maximum resident set size) and CPU time are its own. Output: one line per
// workload with both elapsed times, our time divided by SQLite's, the same
// for CPU time (user + system; the elapsed times on a shared machine include
// waiting), both peak memories, and for (a) the OS flushes per add.
// The program's engine runs with 160 page buffers; (b) and (e) are repeated
// with 2000 page buffers, about SQLite's default cache in bytes, to show
// how much of the difference is the cache size.

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

#include "storage/file_system.h"
#include "storage/fileblock.h"
#include "storage/key_encoding.h"
#include "storage/record_bytes.h"

namespace {

using namespace kontura;

// ---- The QSO-like record and its 27 keys ----------------------------------

constexpr int kLen = 216;
constexpr int kKeys = 27;
const int kKeyLength[kKeys] = {8, 22, 14, 5, 6, 14, 1, 6, 21, 7, 6, 6, 5, 2, 2, 2, 2, 8, 6, 6, 9, 7, 7, 6, 3, 3, 7};
// Offsets of the record fields.
constexpr int kNo = 4, kCall = 8, kBand = 21, kMode = 22, kDate = 27, kTime = 31, kRstS = 35, kRstR = 39,
              kNrS = 43, kNrR = 47, kLoc = 51, kName = 58, kQth = 79, kDok = 100, kPts = 106, kDxcc = 110,
              kCont = 114, kPfx = 117;

std::string Pad(std::string s, size_t n) {
  s.resize(n, ' ');
  return s;
}

std::string QsoKey(const uint8_t* r, int k) {
  const std::string call = GetPStr(r, kCall, 12), loc = GetPStr(r, kLoc, 6), pfx = GetPStr(r, kPfx, 6);
  const std::string mode = GetPStr(r, kMode, 4), dok = GetPStr(r, kDok, 5);
  const std::string band(1, static_cast<char>(r[kBand]));
  const std::string num = NumberToKey(GetI32(r, kNo));
  const std::string when = DateToKey(GetI32(r, kDate)) + TimeToKey(GetI32(r, kTime));
  switch (k) {
    case 1: return Pad(call, 8);
    case 2: return Pad(call, 12) + band + when + num.substr(0, 1);
    case 3: return Pad(call, 14);
    case 4: return num;
    case 5: return Pad(loc, 6);
    case 6: return band + Pad(mode, 3) + Pad(call, 10);
    case 7: return band;
    case 8: return Pad(pfx, 6);
    case 9: return when + Pad(call, 12) + band;
    case 10: return band + Pad(loc, 6);
    case 11: return Pad(GetPStr(r, kName, 20), 6);
    case 12: return Pad(GetPStr(r, kQth, 20), 6);
    case 13: return Pad(dok, 5);
    case 14: return Pad(GetPStr(r, kCont, 2), 2);
    case 15: return Pad(mode, 2);
    case 16: return NumberToKey(GetI32(r, kDxcc)).substr(3);
    case 17: return NumberToKey(GetI32(r, kPts)).substr(3);
    case 18: return when;
    case 19: return band + NumberToKey(GetI32(r, kNrR));
    case 20: return band + NumberToKey(GetI32(r, kNrS));
    case 21: return band + Pad(call, 8);
    case 22: return Pad(pfx, 2) + NumberToKey(GetI32(r, kPts));
    case 23: return band + Pad(loc, 4) + Pad(mode, 2);
    case 24: return NumberToKey(GetI32(r, kRstS)).substr(2) + band + Pad(mode, 2);
    case 25: return Pad(loc, 3);
    case 26: return band + Pad(GetPStr(r, kCont, 2), 2);
    case 27: return Pad(dok, 2) + num;
    default: return "";
  }
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
    calls.push_back(c);
  }
  std::vector<std::vector<uint8_t>> out;
  for (int i = 0; i < n; ++i) {
    std::vector<uint8_t> r(kLen, 0);
    const std::string& call = calls[static_cast<size_t>(pick(static_cast<int>(calls.size())))];
    PutPStr(r.data(), kCall, 12, call);
    r[kBand] = static_cast<uint8_t>(bands[pick(3)]);
    PutPStr(r.data(), kMode, 4, modes[pick(3)]);
    PutI32(r.data(), kDate, 14000 + i / 3000);
    PutI32(r.data(), kTime, (i * 7) % 86400);
    PutI32(r.data(), kRstS, 599);
    PutI32(r.data(), kRstR, 579);
    PutI32(r.data(), kNrS, i + 1);
    PutI32(r.data(), kNrR, pick(2000));
    std::string loc = {static_cast<char>('I' + pick(3)), static_cast<char>('N' + pick(3)),
                       static_cast<char>('0' + pick(10)), static_cast<char>('0' + pick(10)),
                       static_cast<char>('A' + pick(24)), static_cast<char>('A' + pick(24))};
    PutPStr(r.data(), kLoc, 6, loc);
    PutPStr(r.data(), kName, 20, "Name" + std::to_string(pick(500)));
    PutPStr(r.data(), kQth, 20, "Ort" + std::to_string(pick(800)));
    PutPStr(r.data(), kDok, 5, std::string(1, static_cast<char>('A' + pick(26))) + std::to_string(pick(60)));
    PutI32(r.data(), kPts, pick(900));
    PutI32(r.data(), kDxcc, 230 + pick(20));
    PutPStr(r.data(), kCont, 2, "EU");
    PutPStr(r.data(), kPfx, 6, call.substr(0, 3));
    out.push_back(std::move(r));
  }
  return out;
}

// ---- Counting synchronous flushes ------------------------------------------

class CountingFileSystem : public StorageFileSystem {
 public:
  long syncs = 0;
  std::unique_ptr<StorageFile> Open(const std::string& path, OpenMode mode, int* os_error) override {
    auto inner = PosixStorageFileSystem().Open(path, mode, os_error);
    if (!inner) return nullptr;
    return std::make_unique<File>(std::move(inner), this);
  }
  int64_t FileSize(const std::string& p) override { return PosixStorageFileSystem().FileSize(p); }
  bool Remove(const std::string& p) override { return PosixStorageFileSystem().Remove(p); }
  bool Rename(const std::string& a, const std::string& b) override { return PosixStorageFileSystem().Rename(a, b); }

 private:
  class File : public StorageFile {
   public:
    File(std::unique_ptr<StorageFile> f, CountingFileSystem* fs) : m_f(std::move(f)), m_fs(fs) {}
    int64_t ReadAt(uint64_t o, void* b, size_t n) override { return m_f->ReadAt(o, b, n); }
    int64_t WriteAt(uint64_t o, const void* b, size_t n) override { return m_f->WriteAt(o, b, n); }
    int64_t Size() override { return m_f->Size(); }
    bool Truncate(uint64_t s) override { return m_f->Truncate(s); }
    bool Sync() override {
      ++m_fs->syncs;
      return m_f->Sync();
    }
    int os_error() const override { return m_f->os_error(); }

   private:
    std::unique_ptr<StorageFile> m_f;
    CountingFileSystem* m_fs;
  };
};

// ---- Our engine ------------------------------------------------------------

std::string g_dir;
int g_cache_pages = 160;

Fileblock* OpenLog() {
  Fileblock* fb = OpenFileblock("FHLKBENCH", g_dir + "/FHLKBENCH", false, false, false, true, kLen, kKeys, nullptr,
                                kLen, QsoKey, 32);
  for (int k = 1; k <= kKeys; ++k) fb->DefineKey(k, kKeyLength[k - 1], k != 4);
  fb->SetCounterField(4, kNo);
  return fb;
}

void Check(const char* what) {
  if (StorageErrorClass() != 0) {
    std::fprintf(stderr, "%s: storage error %d\n", what, StorageErrorCode());
    std::exit(1);
  }
}

void AddAll(Fileblock* fb, const std::vector<std::vector<uint8_t>>& recs, bool reverse) {
  for (size_t i = 0; i < recs.size(); ++i) {
    const auto& r = recs[reverse ? recs.size() - 1 - i : i];
    std::memcpy(fb->RecordBuffer(), r.data(), kLen);
    PutI32(fb->RecordBuffer(), kNo, 0);
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
      ddl += std::string("CREATE ") + (k == 4 ? "UNIQUE " : "") + "INDEX i" + std::to_string(k) + " ON t(k" +
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
    PutI32(r.data(), kNo, next_no++);  // the counter the engine fills in
    sqlite3_bind_blob(st, 1, r.data(), kLen, SQLITE_TRANSIENT);
    for (int k = 1; k <= kKeys; ++k) {
      std::string key = QsoKey(r.data(), k).substr(0, static_cast<size_t>(kKeyLength[k - 1]));
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
  for (int n : {10000, 100000}) {
    const auto recs = MakeRecords(n);
    auto build_ours = [&] { Clean(); engine([&](Fileblock* fb) { AddAll(fb, recs, false); }); };
    auto build_lite = [&] { sqlite3* db = OpenSqlite(true); SqliteInsertAll(db, recs, false, true); sqlite3_close(db); };

    if (n == 10000) {
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
    Result lite_b = Measure([&] { sqlite3_close(OpenSqlite(true)); }, [&] {
      sqlite3* db = OpenSqlite(false);
      SqliteInsertAll(db, recs, false, true);
      sqlite3_close(db);
      return 0.0;
    });
    for (int pages : {160, 2000}) {
      g_cache_pages = pages;
      Result ours = Measure(Clean, [&] { engine([&](Fileblock* fb) { AddAll(fb, recs, false); }); return 0.0; });
      Report(pages == 160 ? "(b) add, no flush" : "(b) add, no flush, 2000 pages", n, ours, lite_b);
    }
    g_cache_pages = 160;
    build_ours();
    build_lite();
    std::vector<std::string> probes;
    {
      std::mt19937 rng(99);
      for (int i = 0; i < 10000; ++i) {
        probes.push_back(QsoKey(recs[std::uniform_int_distribution<size_t>(0, recs.size() - 1)(rng)].data(), 3));
      }
    }
    {
      Result ours = Measure([] {}, [&] {
        engine([&](Fileblock* fb) {
          for (const std::string& p : probes) {
            fb->FindExact(3, p);
            Check("find");
          }
        });
        return 0.0;
      });
      Result lite = Measure([] {}, [&] {
        sqlite3* db = OpenSqlite(false);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "SELECT rec FROM t WHERE k3 = ? ORDER BY id LIMIT 1", -1, &st, nullptr);
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
    {
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
    Result lite_e = Measure([] {}, [&] {
      sqlite3* db = OpenSqlite(false);
      sqlite3_exec(db, "BEGIN; DELETE FROM t;", nullptr, nullptr, nullptr);
      SqliteInsertAll(db, recs, true, false);
      sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
      sqlite3_close(db);
      return 0.0;
    });
    for (int pages : {160, 2000}) {
      g_cache_pages = pages;
      Result ours = Measure(build_ours, [&] {
        engine([&](Fileblock* fb) {
          fb->EraseFiles();
          AddAll(fb, recs, true);
        });
        return 0.0;
      });
      Report(pages == 160 ? "(e) erase all, add again reversed" : "(e) erase, add again, 2000 pages", n, ours, lite_e);
    }
    g_cache_pages = 160;
  }
  Clean();
  std::filesystem::remove(g_dir + "/bench.sqlite");
  return 0;
}
