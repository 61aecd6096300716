// Power loss during the renumbering: the renumbering of a log runs against
// the file layer that cuts the power at a chosen write or sync and keeps
// only what a disk could have kept (tests/support/power_cut_file_system.h).
// The files the cut leaves are opened as the program opens a contest's log:
// every QSO is there exactly once, numbered afresh.
//
// The test builds only where that file layer is part of the tree.

#if __has_include("tests/support/power_cut_file_system.h")

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "logging/log_opening.h"
#include "logging/log_renumbering.h"
#include "tests/support/log_fixture.h"
#include "tests/support/memory_file_system.h"
#include "tests/support/power_cut_file_system.h"

namespace kontura::testing {
namespace {

using Bytes = std::vector<uint8_t>;
using Image = std::map<std::string, Bytes>;

constexpr int kQsos = 150;

class RenumberingPowerCutTest : public StartDirTest {
 protected:
  void SetUp() override {
    StartDirTest::SetUp();
    ASSERT_TRUE(StartStorage());
    SetFatalStorageHandler([this] {
      fatal_codes.push_back(StorageErrorCode());
      const Fileblock* fb = StorageErrorAt(0).fileblock;
      fatal_files.push_back(IsValidFileblock(fb) ? fb->file_name() : std::string());
    });
    FillContestDefinition(def, {DayNumber(7, 3, 2026), 42, kOwnLocator}, platform.clock);
    options.ContestNumber = kContest;
    options.OwnLocator = kOwnLocator;
  }

  static std::string CallOf(int i) { return "DL" + std::to_string(i) + "P"; }

  // The log before the renumbering: out of time order, with two markers.
  Image BuildLog() {
    MemoryFileSystem mem;
    SetStorageFileSystem(&mem);
    EXPECT_TRUE(OpenFHLK(kContest));
    std::mt19937 rng(3);
    TheLog()->SetFlushAfterWrite(false);
    for (int i = 0; i < kQsos; ++i) {
      QsoRecord q;
      q.SetCall(CallOf(i));
      q.SetBand("bkl"[i % 3]);
      q.SetMode(i % 2 ? "CW" : "SSB");
      q.SetQsoDate(DayNumber(7, 3, 2026));
      q.SetQsoTime(std::uniform_int_distribution<int32_t>(1, 86399)(rng));
      q.SetQsoNo(i + 1);
      q.CopyTo(TheLog()->RecordBuffer());
      TheLog()->AddRecord();
      if (i % 60 == 0) {
        QsoRecord marker;
        marker.SetQsyBand('k');
        marker.CopyTo(TheLog()->RecordBuffer());
        TheLog()->AddRecord();
      }
    }
    CloseFHLK();
    SetStorageFileSystem(nullptr);
    Image image;
    for (const auto& [path, bytes] : mem.files) image[path] = *bytes;
    return image;
  }

  void Renumber(const Image& base, PowerCutFileSystem& fs) {
    for (const auto& [path, bytes] : base) fs.Put(path, bytes);
    SetStorageFileSystem(&fs);
    ASSERT_TRUE(OpenFHLK(kContest));
    RenumberLog(kContest);
    fs.CutNow();   // when the renumbering ended first, the power fails now
    CloseFHLK();   // nothing of this reaches the image any more
    SetStorageFileSystem(nullptr);
    fatal_codes.clear();
  }

  // Opens the log the cut left as the program does; "" when every QSO is
  // there once and numbered 1, 2, 3 ...
  std::string Reopen(const Image& image) {
    MemoryFileSystem mem;
    for (const auto& [path, bytes] : image) mem.files[path] = std::make_shared<Bytes>(bytes);
    SetStorageFileSystem(&mem);
    // After a fatal error the program ends and the operator starts it again:
    // a damaged index has been deleted by then (so the start rebuilds it),
    // and a reorganisation cut short needs its .SAV file renamed to .DAT, as
    // the message says.
    std::unique_ptr<ContestLog> log;
    for (int start = 0; start < 3; ++start) {
      fatal_codes.clear();
      fatal_files.clear();
      log = OpenLogSession(kContest, def, options, prefixes);
      if (fatal_codes.empty()) break;
      log.reset();
      CloseAllFileblocks();
      if (fatal_codes[0] == err::kShortRead) mem.Remove(fatal_files[0] + ".IX");
      if (fatal_codes[0] == err::kSavBesideDat) {
        for (const auto& [path, bytes] : image) {
          if (path.size() > 4 && path.substr(path.size() - 4) == ".SAV") {
            mem.Rename(path, path.substr(0, path.size() - 4) + ".DAT");
          }
        }
      }
    }
    std::string why;
    if (!log) why = "not opened; ";
    std::map<std::string, int> seen;
    int32_t number = 0;
    if (log) {
      for (TheLog()->First(4); StorageErrorClass() == 0; TheLog()->Next(4)) {
        const QsoRecord q = LogRecord();
        ++seen[q.Call()];
        if (q.QsoNo() != ++number) why = "QSO " + q.Call() + " numbered " + std::to_string(q.QsoNo()) + "; ";
      }
      CloseLogSession(*log);
    }
    for (int i = 0; i < kQsos; ++i) {
      if (seen[CallOf(i)] != 1) why += CallOf(i) + " found " + std::to_string(seen[CallOf(i)]) + " times; ";
    }
    for (int i = 0; i < kQsos; ++i) seen.erase(CallOf(i));
    for (const auto& [call, count] : seen) why += "never written: \"" + call + "\" " + std::to_string(count) + " times; ";
    if (!fatal_codes.empty()) why += "fatal error " + std::to_string(fatal_codes[0]);
    fatal_codes.clear();
    SetStorageFileSystem(nullptr);
    return why;
  }

  TContestDefinition def;
  LogOptions options;
  SmallPrefixTable prefixes;
  std::vector<int> fatal_codes;
  std::vector<std::string> fatal_files;  // the fileblock of each fatal error
};

TEST_F(RenumberingPowerCutTest, EveryQsoOnceAfterACutAnywhere) {
  const Image base = BuildLog();
  PowerCutFileSystem full(-1, 0);
  Renumber(base, full);
  ASSERT_GT(full.syncs(), 2);
  // Right after every sync, right before it, and points in between.
  std::set<int64_t> cuts;
  for (int64_t e : full.after_syncs()) {
    cuts.insert(e);
    cuts.insert(e - 1);
  }
  std::mt19937 rng(9);
  for (int i = 0; i < 25; ++i) cuts.insert(std::uniform_int_distribution<int64_t>(0, full.events() - 1)(rng));
  int tried = 0;
  for (int64_t cut : cuts) {
    for (unsigned subset = 0; subset < 2; ++subset) {
      PowerCutFileSystem fs(cut, static_cast<unsigned>(cut) * 2 + subset);
      Renumber(base, fs);
      SCOPED_TRACE("cut before event " + std::to_string(cut) + " of " + std::to_string(full.events()) +
                   ", subset " + std::to_string(subset));
      ASSERT_EQ(Reopen(fs.image()), "");
      ++tried;
    }
  }
  EXPECT_GT(tried, 40);
}

}  // namespace
}  // namespace kontura::testing

#endif
