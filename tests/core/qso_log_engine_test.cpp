// The contest log through the catalogue's opener and the real engine: walks
// over duplicate keys come back in the engine's order, and a full-size log
// written QSO by QSO passes the integrity check with every key as its
// record builds it.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "logging/points.h"
#include "logging/qso_record.h"
#include "refdata/bands_modes.h"
#include "storage/fileblock_layout.h"
#include "storage/integrity_check.h"
#include "tests/support/start_dir_fixture.h"
#include "text/calendar.h"

namespace kontura::testing {
namespace {

constexpr char kBand80 = 'b';
constexpr char kBand2 = 'k';
constexpr char kBand70 = 'l';
constexpr char kOwnLocator[] = "JO62QM";

class QsoLogEngineTest : public StartDirTest {
 protected:
  void SetUp() override {
    StartDirTest::SetUp();
    ASSERT_TRUE(StartStorage());
    ASSERT_TRUE(OpenFHLK(7));
    log = CatalogueHandle(CatalogueId::kFhlk);
  }

  // Adds a QSO with the fields the walked keys read; returns its record
  // number in the data file.
  int32_t Add(const std::string& call, char band, const std::string& mode, int32_t time) {
    QsoRecord q;
    q.SetCall(call);
    q.SetBand(band);
    q.SetMode(mode);
    q.SetQsoDate(DayNumber(7, 3, 2026));
    q.SetQsoTime(time);
    q.CopyTo(log->RecordBuffer());
    log->AddRecord();
    EXPECT_EQ(StorageErrorClass(), 0) << StorageErrorCode();
    return log->CurrentRef();
  }

  // "ref call" of every record in the order First/Next walk key key_nr.
  std::vector<std::string> Walk(int key_nr) {
    std::vector<std::string> seen;
    for (log->First(key_nr); StorageErrorClass() == 0; log->Next(key_nr)) {
      seen.push_back(std::to_string(log->CurrentRef()) + " " +
                     QsoRecord::FromBytes(log->RecordBuffer()).Call());
    }
    EXPECT_EQ(StorageErrorCode(), err::kNoNext) << "the walk ends at the end of the index";
    return seen;
  }

  Fileblock* log = nullptr;
};

TEST_F(QsoLogEngineTest, WalksOverDuplicateKeysFollowKeyThenRecordNumber) {
  // Record 3 is freed and taken again by the last QSO: among equal keys the
  // walk goes by record number, not by the order of adding.
  ASSERT_EQ(Add("DL1ABC", kBand80, "CW", 7 * 3600), 1);
  ASSERT_EQ(Add("DL1ABC/P", kBand80, "CW", 7 * 3600), 2);
  ASSERT_EQ(Add("DK2XY", kBand80, "CW", 6 * 3600), 3);
  ASSERT_EQ(Add("DL1ABC", kBand2, "FM", 6 * 3600), 4);
  ASSERT_EQ(Add("DK2XY/P", kBand80, "CW", 6 * 3600 + 1800), 5);
  ASSERT_EQ(Add("DK2XY", kBand80, "CW", 6 * 3600 + 1800), 6);
  log->ReadByRef(3);
  log->DeleteRecord(kAfterNone);
  ASSERT_EQ(StorageErrorClass(), 0);
  ASSERT_EQ(Add("DL1ABC/P", kBand80, "CW", 7 * 3600), 3);

  struct Case {
    int key_nr;
    std::vector<std::string> order;
  };
  const Case cases[] = {
      // 1: date and time.
      {1, {"4 DL1ABC", "5 DK2XY/P", "6 DK2XY", "1 DL1ABC", "2 DL1ABC/P", "3 DL1ABC/P"}},
      // 2: base call, then date and time.
      {2, {"5 DK2XY/P", "6 DK2XY", "4 DL1ABC", "1 DL1ABC", "2 DL1ABC/P", "3 DL1ABC/P"}},
      // 6: base call only.
      {6, {"5 DK2XY/P", "6 DK2XY", "1 DL1ABC", "2 DL1ABC/P", "3 DL1ABC/P", "4 DL1ABC"}},
      // 9: band, base call, mode ('b' 80 m before 'k' 2 m).
      {9, {"5 DK2XY/P", "6 DK2XY", "1 DL1ABC", "2 DL1ABC/P", "3 DL1ABC/P", "4 DL1ABC"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Walk(c.key_nr), c.order) << "key " << c.key_nr;
  }
  // Backwards the same duplicates come in the opposite order.
  std::vector<int32_t> back;
  for (log->Last(6); StorageErrorClass() == 0; log->Prev(6)) back.push_back(log->CurrentRef());
  EXPECT_EQ(back, (std::vector<int32_t>{4, 3, 2, 1, 6, 5}));
  EXPECT_TRUE(exit_codes.empty());
}

// A generated contest: calls from a few countries, some portable or mobile,
// the three bands and their modes, times running through a day, random
// locators with distance and points as the entry mask computes them, running
// numbers per band and mode, and a band-change marker now and then.
class ContestGenerator {
 public:
  explicit ContestGenerator(uint32_t seed) : m_rng(seed) {}

  void Fill(QsoRecord& q, int32_t qso_no) {
    static const char* const kPrefixes[] = {"DL", "DK", "DJ", "DO", "DB", "DF", "OE", "PA", "OK", "SP", "F", "ON"};
    static const char* const kSuffixes[] = {"", "", "", "", "/P", "/M"};
    static const char kBands[] = {kBand80, kBand80, kBand2, kBand70};
    const std::string prefix = kPrefixes[Pick(std::size(kPrefixes))];
    std::string call = prefix + std::to_string(Pick(10)) + Letters(2 + static_cast<int>(Pick(2)));
    call += kSuffixes[Pick(std::size(kSuffixes))];
    const char band = kBands[Pick(std::size(kBands))];
    const std::string mode = band == kBand80 ? (Pick(2) ? "CW" : "SSB") : (Pick(3) ? "FM" : "SSB");
    std::string locator = {Letter(18), Letter(18), Digit(), Digit(), Letter(24), Letter(24)};

    q.Clear();
    if (Pick(500) == 0) {
      // Band change: no QSO, only the band and the time it happened.
      q.SetQsyBand(band);
      q.SetBand(band);
      q.SetQsoDate(m_day);
      q.SetQsoTime(Tick());
      return;
    }
    q.SetQsoNo(qso_no);
    q.SetCall(call);
    q.SetBand(band);
    q.SetMode(mode);
    q.SetQsoDate(m_day);
    q.SetQsoTime(Tick());
    q.SetLocator(locator);
    q.SetDxcc(prefix == "DB" || prefix == "DF" || prefix[0] == 'D' ? "DL" : prefix);
    q.SetPrefix(prefix + call.substr(prefix.size(), 1));
    q.SetSentExchange(JoinExchange({"599", std::to_string(qso_no), kOwnLocator, ""}));
    q.SetRecvExchange(JoinExchange({Pick(2) ? "599" : "59", std::to_string(Pick(200) + 1), locator, ""}));
    q.SetBandSerial(++m_band_serial[band]);
    q.SetBandSerial2(m_band_serial[band]);
    q.SetModeSerial(static_cast<uint16_t>(++m_mode_serial[ModeClass(mode)]));
    q.SetQslSent('N');
    if (Pick(50) == 0) q.SetExcluded(1);
    UpdateDistance(q, kOwnLocator);
    RecomputePoints(q);
    EvaluateMultipliers(q);
  }

 private:
  uint32_t Pick(size_t n) { return static_cast<uint32_t>(m_rng() % n); }
  char Letter(int n) { return static_cast<char>('A' + Pick(static_cast<size_t>(n))); }
  char Digit() { return static_cast<char>('0' + Pick(10)); }
  std::string Letters(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += Letter(26);
    return s;
  }
  int32_t Tick() {
    m_time += static_cast<int32_t>(Pick(17));
    if (m_time >= 86400) {
      m_time -= 86400;
      ++m_day;
    }
    return m_time;
  }

  std::mt19937 m_rng;
  int32_t m_day = DayNumber(7, 3, 2026);
  int32_t m_time = 5 * 3600;
  std::map<char, int32_t> m_band_serial;
  std::map<char, int32_t> m_mode_serial;
};

TEST_F(QsoLogEngineTest, LogOfTenThousandQsosPassesTheIntegrityCheck) {
  // Syncing after every write would make this test crawl; the log's files
  // are flushed when it is closed.
  log->SetFlushAfterWrite(false);
  ContestGenerator generator(2026);
  QsoRecord q;
  for (int32_t n = 1; n <= 10000; ++n) {
    generator.Fill(q, n);
    q.CopyTo(log->RecordBuffer());
    log->AddRecord();
    ASSERT_EQ(StorageErrorClass(), 0) << "QSO " << n << ": " << StorageErrorCode();
  }
  // Corrections and deletions as the QSO list makes them.
  for (int32_t ref = 10; ref <= 10000; ref += 97) {
    log->ReadByRef(ref);
    QsoRecord c = QsoRecord::FromBytes(log->RecordBuffer());
    c.SetCall(c.Call() + (ref % 2 ? "/P" : ""));
    c.SetLocator("JN58TD");
    UpdateDistance(c, kOwnLocator);
    RecomputePoints(c);
    c.CopyTo(log->RecordBuffer());
    log->UpdateRecord();
    ASSERT_EQ(StorageErrorClass(), 0) << "record " << ref;
  }
  for (int32_t ref = 55; ref <= 10000; ref += 501) {
    log->ReadByRef(ref);
    log->DeleteRecord(kAfterNone);
    ASSERT_EQ(StorageErrorClass(), 0) << "record " << ref;
  }
  CloseFHLK();
  log = nullptr;

  const FileblockLayout* known = FindCatalogueLayout(Path("FHLK0007"));
  ASSERT_NE(known, nullptr);
  CheckReport report = CheckFileblock(Path("FHLK0007"), known);
  EXPECT_TRUE(report.ok()) << FormatCheckReport(report);
  EXPECT_EQ(report.records, 10000 - 20);
  EXPECT_EQ(report.indexes, 27);
  EXPECT_TRUE(exit_codes.empty());
}

}  // namespace
}  // namespace kontura::testing
