#pragma once
// A log with its contest header, for correcting stored QSOs: the header
// file holds contests 1 to kContest (a contest's number is its header's
// place), QSOs are stored as the mask stores them, and the log is opened as
// the logging window opens it.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "contest/contest_header.h"
#include "logging/log_opening.h"
#include "logging/points.h"
#include "tests/support/log_fixture.h"

namespace kontura::testing {

class CorrectionLogTest : public LogTest {
 protected:
  void SetUp() override {
    LogTest::SetUp();
    ASSERT_TRUE(OpenFHKK());
    Fileblock* kk = CatalogueHandle(CatalogueId::kFhkk);
    for (int i = 1; i <= kContest; ++i) {
      kk->ClearBuffer();
      TContestHeader h(kk->RecordBuffer());
      PresetNewContest(h, kOwnLocator, "DL0XYZ", 'm');
      h.SetEntryName("Mobil 2026");
      kk->AddRecord();
      ASSERT_EQ(StorageErrorClass(), 0);
    }
    CloseFHKK();
  }

  void TearDown() override {
    if (log) CloseLogSession(*log);
    log.reset();
    LogTest::TearDown();
  }

  // A QSO as the mask stores it: exchange, locator, distance and points;
  // the QSL flag as `stored_qsl_sent` says (0: none).
  void StoreQso(const std::string& call, char band, int32_t time, const std::string& locator,
                const std::string& mode = "CW") {
    QsoRecord q = Qso(call, band, mode, time);
    q.SetSentExchange("599042/" + std::string(kOwnLocator));
    q.SetRecvExchange("579017/" + locator);
    q.SetLocator(locator);
    UpdateDistance(q, kOwnLocator);
    RecomputePoints(q);
    if (stored_qsl_sent != 0) q.SetQslSent(stored_qsl_sent);
    q.CopyTo(TheLog()->RecordBuffer());
    TheLog()->AddRecord();
    ASSERT_EQ(StorageErrorClass(), 0);
  }

  // Opens the stored log as the logging window does.
  void OpenStoredLog() {
    CloseFHLK();
    log = OpenLogSession(kContest, ctx.Definition, ctx.Options, prefixes);
    ASSERT_TRUE(log);
  }

  // The log's record with this call.
  QsoRecord Find(const std::string& call) {
    for (const QsoRecord& q : Records()) {
      if (q.Call() == call) return q;
    }
    ADD_FAILURE() << call << " is not in the log";
    return {};
  }

  char stored_qsl_sent = 0;
  std::unique_ptr<ContestLog> log;
};

}  // namespace kontura::testing
