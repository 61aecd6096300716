#pragma once
// What the logging benchmarks share: their data directory, silent dialogs,
// an entity look-up without a prefix database, and the contest they work
// on: header number 1 ("Benchmark") and a log of QSOs spread over the three
// bands, in random time order, so that the first opening renumbers it
// completely.

#include <stdlib.h>

#include <filesystem>
#include <random>
#include <string>
#include <string_view>

#include "contest/contest_definition.h"
#include "contest/contest_header.h"
#include "logging/entity.h"
#include "logging/log_access.h"
#include "logging/qso_record.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "storage/catalogue.h"
#include "text/calendar.h"

namespace kontura {

inline constexpr char kOwnLocator[] = "JO62QM";

// The start directory of a benchmark: `dir` when given, else a new one
// under /tmp that goes away with the object.
class BenchDirectory {
 public:
  explicit BenchDirectory(std::string dir) : m_dir(std::move(dir)), m_own(m_dir.empty()) {
    if (m_own) {
      char tmpl[] = "/tmp/kontura-bench-XXXXXX";
      if (!mkdtemp(tmpl)) return;
      m_dir = tmpl;
    }
    std::filesystem::create_directories(m_dir);
    std::filesystem::current_path(m_dir);
    SetStartDirFromCurrentDirectory();
    m_ok = true;
  }
  ~BenchDirectory() {
    if (!m_own || !m_ok) return;
    std::filesystem::current_path("/");
    std::filesystem::remove_all(m_dir);
  }
  BenchDirectory(const BenchDirectory&) = delete;
  BenchDirectory& operator=(const BenchDirectory&) = delete;
  bool ok() const { return m_ok; }

 private:
  std::string m_dir;
  bool m_own;
  bool m_ok = false;
};

// German calls are DL, everything else unknown; no dialogs.
class GermanOnly : public EntityLookup {
 public:
  int ResolvePrefix(std::string_view call, int32_t, bool* chosen) override {
    *chosen = false;
    return call.substr(0, 1) == "D" ? 0 : 1;
  }
  Entry WorkingEntry() const override { return {"DL", "EU"}; }
};

class SilentDialogs : public Dialogs {
 public:
  int messages = 0;
  void ShowMessage(std::string_view) override { ++messages; }
  bool AskYesNo(std::string_view) override { return false; }
  void Beep() override {}
};

// A random locator of field JO.
inline std::string BenchLocator(std::mt19937& rng) {
  std::string l = "JO00AA";
  l[2] = static_cast<char>('0' + rng() % 10);
  l[3] = static_cast<char>('0' + rng() % 10);
  l[4] = static_cast<char>('A' + rng() % 24);
  l[5] = static_cast<char>('A' + rng() % 24);
  return l;
}

inline void BuildContest(std::mt19937& rng, int qsos) {
  OpenFHKK();
  Fileblock* kk = CatalogueHandle(CatalogueId::kFhkk);
  kk->ClearBuffer();
  TContestHeader h(kk->RecordBuffer());
  PresetNewContest(h, kOwnLocator, "DL0BEN", kEditionCode);
  h.SetEntryName("Benchmark");
  kk->AddRecord();
  CloseFHKK();

  OpenFHLK(1);
  Fileblock* log = TheLog();
  log->SetFlushAfterWrite(false);
  const int32_t day = DayNumber(7, 3, 2026);
  for (int i = 0; i < qsos; ++i) {
    QsoRecord q;
    std::string call = "DA0X";
    call[1] = static_cast<char>('A' + i % 8);
    call[2] = static_cast<char>('0' + i % 10);
    q.SetCall(call + std::to_string(i));
    q.SetBand("bkl"[i % 3]);
    q.SetMode(i % 3 == 0 ? "CW" : "FM");
    q.SetQsoDate(day);
    q.SetQsoTime(static_cast<int32_t>(rng() % 86400));
    q.SetSentExchange("59900042/" + std::string(kOwnLocator));
    q.SetRecvExchange("599" + std::to_string(i % 900) + "/" + BenchLocator(rng));
    q.SetLocator(SplitExchange(q.RecvExchange()).field3);
    q.SetDistance(static_cast<int32_t>(rng() % 600));
    q.SetPoints(static_cast<uint16_t>(q.Distance()));
    q.SetNameQth("Name;Ort");
    q.SetDxcc("DL");
    q.CopyTo(log->RecordBuffer());
    log->AddRecord();
  }
  log->Flush();
  CloseFHLK();
}

}  // namespace kontura
