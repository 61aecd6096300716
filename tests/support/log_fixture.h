#pragma once
// A contest log to work on: the program's storage in a temporary start
// directory, the log of contest 7 open with the call book and call list,
// the contest definition of this edition, a small prefix table, a fixed
// clock, and an entry mask over it all.

#include <memory>
#include <string>
#include <vector>

#include "app/storage_setup.h"
#include "contest/contest_definition.h"
#include "logging/entity.h"
#include "logging/log_access.h"
#include "logging/qso_entry.h"
#include "logging/qso_record.h"
#include "refdata/suite_records.h"
#include "storage/catalogue.h"
#include "storage/key_encoding.h"
#include "tests/support/start_dir_fixture.h"
#include "text/calendar.h"

namespace kontura::testing {

inline constexpr char kBand80 = 'b';
inline constexpr char kBand2 = 'k';
inline constexpr char kBand70 = 'l';
inline constexpr int32_t kContest = 7;
inline constexpr char kOwnLocator[] = "JO62QM";

// Calls beginning with D are German, with EA8 Canary Islands, with G
// English; nothing else is known.
class SmallPrefixTable : public EntityLookup {
 public:
  int ResolvePrefix(std::string_view call, int32_t, bool* chosen) override {
    *chosen = false;
    ++lookups;
    for (const auto& [prefix, entry] : kRows) {
      if (call.substr(0, prefix.size()) == prefix) {
        m_working = entry;
        return 0;
      }
    }
    return 1;
  }
  Entry WorkingEntry() const override { return m_working; }
  int lookups = 0;

 private:
  inline static const std::vector<std::pair<std::string, Entry>> kRows = {
      {"EA8", {"EA8", "AF"}}, {"D", {"DL", "EU"}}, {"G", {"G", "EU"}}};
  Entry m_working;
};

class LogTest : public StartDirTest {
 protected:
  void SetUp() override {
    StartDirTest::SetUp();
    // Local 12:00 in winter; the program-wide offset -1 gives 11:00 UTC.
    platform.clock.Set(2026, 3, 7, 12, 0, 0);
    ASSERT_TRUE(StartStorage());
    SetFatalStorageHandler([this] { fatal_codes.push_back(StorageErrorCode()); });
    ASSERT_TRUE(OpenFHLK(kContest));
    ASSERT_TRUE(OpenFHCBUCH());
    ASSERT_TRUE(OpenFHCALL());
    FillContestDefinition(ctx.Definition, {DayNumber(7, 3, 2026), 42, kOwnLocator}, platform.clock);
    ctx.Options.ContestNumber = kContest;
    ctx.Options.OwnLocator = kOwnLocator;
    ctx.Options.TimeOffsetHours = -1;
    ctx.Options.QslSentDefault = 'N';
  }

  // A fresh entry over the options as the test set them, on band 80 m.
  QsoEntry& Entry(char band = kBand80) {
    session = LogSession{};
    session.CurrentBand = band;
    entry = std::make_unique<QsoEntry>(ctx, session, prefixes);
    entry->SetStartMode();
    entry->NewQso();
    entry->Tick();
    return *entry;
  }

  // A QSO of 7 March 2026 with the fields the searches read.
  static QsoRecord Qso(const std::string& call, char band, const std::string& mode, int32_t time) {
    QsoRecord q;
    q.SetCall(call);
    q.SetBand(band);
    q.SetMode(mode);
    q.SetQsoDate(DayNumber(7, 3, 2026));
    q.SetQsoTime(time);
    return q;
  }

  // Stores a QSO directly in the log.
  void Store(const std::string& call, char band, const std::string& mode, int32_t time, int32_t qso_no = 0,
             const std::string& locator = "") {
    QsoRecord q = Qso(call, band, mode, time);
    q.SetQsoNo(qso_no);
    q.SetLocator(locator);
    q.CopyTo(TheLog()->RecordBuffer());
    TheLog()->AddRecord();
    ASSERT_EQ(StorageErrorClass(), 0);
  }

  // Every record of the log in key-4 order.
  std::vector<QsoRecord> Records() {
    std::vector<QsoRecord> all;
    SavedLogBuffer saved;
    for (TheLog()->First(4); StorageErrorClass() == 0; TheLog()->Next(4)) all.push_back(LogRecord());
    return all;
  }

  // Types the texts into the fields, leaving each by Enter.
  void TypeAndEnter(MaskField f, const std::string& text) {
    entry->mask().focus = f;
    entry->Type(f, text);
    entry->PressEnter();
  }

  LogContext ctx;
  LogSession session;
  SmallPrefixTable prefixes;
  std::unique_ptr<QsoEntry> entry;
  std::vector<int> fatal_codes;
};

}  // namespace kontura::testing
