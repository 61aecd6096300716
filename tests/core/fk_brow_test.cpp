// The record list's paging logic on a real fileblock: range, positioning,
// paging, sort switch, quick search, deletion and the scroll bar.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include <string>
#include <vector>

#include "tests/support/named_records.h"
#include "tests/support/scripted_platform.h"
#include "ui/fk_brow.h"

namespace kontura {
namespace {

class RecordBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(fb, nullptr);
    events.OnBuildRow = [this](RowRec& row) { row.text = records.NameInBuffer() + ";x"; };
  }
  void TearDown() override { EXPECT_TRUE(records.fatal.empty()); }

  int32_t Add(const std::string& name) { return records.Add(name); }
  void AddNumbered(int n, const std::string& prefix = "N") { records.AddNumbered(n, prefix); }
  // The first cell of every row; the current row in brackets.
  static std::string Page(const TKBrowser& b) {
    std::string s;
    for (int i = 1; i <= b.RowCount(); ++i) {
      std::string cell = SplitCells(b.Row(i).text)[0];
      s += (s.empty() ? "" : " ") + (i == b.CurrentRow() ? "[" + cell + "]" : cell);
    }
    return s;
  }
  static std::string CurrentName(const TKBrowser& b) {
    return b.Current() ? SplitCells(b.Current()->text)[0] : std::string("-");
  }

  testing::NamedRecords records;
  Fileblock* fb = records.fb;
  BrowserEvents events;
  testing::ScopedPlatform platform;
};

TEST(RecordBrowserText, Cells) {
  EXPECT_EQ(SplitCells("a;b;;c"), (std::vector<std::string>{"a", "b", "", "c"}));
  EXPECT_EQ(SplitCells(""), (std::vector<std::string>{""}));
  EXPECT_EQ(SplitCells("a;"), (std::vector<std::string>{"a", ""}));
}

TEST(RecordBrowserRange, KeyBelongsToRange) {
  struct Case {
    const char* low;
    const char* high;
    const char* key;
    bool in;
  } cases[] = {
      {"B", "B", "B", true},    {"B", "B", "BZZ", true}, {"B", "B", "AZ", false}, {"B", "B", "C", false},
      {"", "", "\xFF\xFF", true}, {"", "", "", true},    {"B", "D", "D9", true},  {"B", "D", "E", false},
      {"BC", "D", "B", false},  {"BC", "D", "BC", true}, {"\x81", "\x81", "\x81x", true},
      {"a", "a", "\xE4", false},  // bytes compare unsigned: 0xE4 sorts after 'a'
  };
  for (const Case& c : cases) {
    TKBrowser b(nullptr, 1, c.low, c.high);
    EXPECT_EQ(b.InRange(c.key), c.in) << c.low << ".." << c.high << " " << c.key;
  }
}

TEST_F(RecordBrowserTest, EmptyFileblockGivesEmptyPage) {
  TKBrowser b(fb, 2, "", "", &events);
  b.SetVisibleRows(5);
  EXPECT_EQ(b.RowCount(), 0);
  EXPECT_EQ(b.CurrentRow(), 0);
  EXPECT_FALSE(b.NextRecord());
  EXPECT_FALSE(b.LastRecord());
  EXPECT_FALSE(b.NextPage());
  EXPECT_FALSE(b.ReadCurrent());
  EXPECT_FALSE(b.DeleteCurrent());
  EXPECT_EQ(b.ScrollMax(), 0);
  EXPECT_EQ(b.ScrollPosition(), 0);
  EXPECT_TRUE(platform.dialogs.messages.empty());
  EXPECT_TRUE(platform.dialogs.questions.empty());
}

TEST_F(RecordBrowserTest, RangeClampsSearchKeys) {
  for (const char* n : {"A1", "A2", "B1", "B2", "B3", "C1"}) Add(n);
  TKBrowser b(fb, 2, "B", "B", &events);
  b.SetVisibleRows(10);
  EXPECT_EQ(Page(b), "[B1] B2 B3");
  struct Case {
    const char* key;
    const char* current;
  } cases[] = {
      {"", "B1"}, {"A", "B1"}, {"B2", "B2"}, {"B25", "B3"}, {"B9", "B3"}, {"C", "B3"}, {"\xFF", "B3"},
  };
  for (const Case& c : cases) {
    b.GotoKey(c.key, 0);
    EXPECT_EQ(CurrentName(b), c.current) << c.key;
    EXPECT_EQ(b.RowCount(), 3) << c.key;
  }
  b.SetKeyRange("D", "D");
  b.GotoKey("", 0);
  EXPECT_EQ(b.RowCount(), 0);
  b.SetKeyRange("A2", "B2");
  EXPECT_TRUE(b.FirstRecord());
  EXPECT_EQ(Page(b), "[A2] B1 B2");
  EXPECT_TRUE(b.LastRecord());
  EXPECT_EQ(Page(b), "A2 B1 [B2]");
}

TEST_F(RecordBrowserTest, FewerRecordsThanRows) {
  AddNumbered(3);
  TKBrowser b(fb, 2, "", "", &events);
  b.SetVisibleRows(10);
  EXPECT_EQ(Page(b), "[N01] N02 N03");
  EXPECT_TRUE(b.NextPage());
  EXPECT_EQ(Page(b), "N01 N02 [N03]");
  EXPECT_FALSE(b.NextPage());
  EXPECT_FALSE(b.NextRecord());
  EXPECT_EQ(Page(b), "N01 N02 [N03]");
  EXPECT_TRUE(b.PrevRecord());
  EXPECT_TRUE(b.PrevPage());
  EXPECT_EQ(Page(b), "[N01] N02 N03");
  EXPECT_FALSE(b.PrevRecord());
  EXPECT_FALSE(b.PrevPage());
  // A record added by the host shows up with the next rebuild.
  Add("N00");
  b.Rebuild();
  EXPECT_EQ(Page(b), "N00 [N01] N02 N03");
}

TEST_F(RecordBrowserTest, PagingThroughTwentyFiveRecords) {
  AddNumbered(25);
  TKBrowser b(fb, 2, "", "", &events);
  b.SetVisibleRows(4);
  EXPECT_EQ(Page(b), "[N01] N02 N03 N04");
  struct Step {
    bool (TKBrowser::*move)();
    bool moved;
    const char* page;
  } steps[] = {
      {&TKBrowser::NextRecord, true, "N01 [N02] N03 N04"},
      {&TKBrowser::NextPage, true, "N05 [N06] N07 N08"},
      {&TKBrowser::LastRecord, true, "N22 N23 N24 [N25]"},
      {&TKBrowser::NextRecord, false, "N22 N23 N24 [N25]"},
      {&TKBrowser::PrevPage, true, "N18 N19 N20 [N21]"},
      {&TKBrowser::PrevRecord, true, "N18 N19 [N20] N21"},
      {&TKBrowser::FirstRecord, true, "[N01] N02 N03 N04"},
      {&TKBrowser::PrevRecord, false, "[N01] N02 N03 N04"},
      {&TKBrowser::NextPage, true, "[N05] N06 N07 N08"},
      {&TKBrowser::PrevRecord, true, "[N04] N05 N06 N07"},
      {&TKBrowser::PrevPage, true, "[N01] N02 N03 N04"},
  };
  for (const Step& s : steps) {
    EXPECT_EQ((b.*s.move)(), s.moved) << s.page;
    EXPECT_EQ(Page(b), s.page);
  }
  // Next record at the last row scrolls the page by one record.
  b.SetCurrentRow(4);
  EXPECT_TRUE(b.NextRecord());
  EXPECT_EQ(Page(b), "N02 N03 N04 [N05]");
  // Next page near the end: the current record moves down as the rows run out.
  b.GotoKey("N21", 0);
  b.SetCurrentRow(1);
  EXPECT_TRUE(b.NextPage());
  EXPECT_EQ(Page(b), "[N22] N23 N24 N25");
  EXPECT_TRUE(b.NextPage());
  EXPECT_EQ(Page(b), "N22 N23 N24 [N25]");
  EXPECT_FALSE(b.NextPage());
}

TEST_F(RecordBrowserTest, GotoKeyKeepsTheCurrentRowWherePossible) {
  AddNumbered(25);
  TKBrowser b(fb, 2, "", "", &events);
  b.SetVisibleRows(6);
  b.SetCurrentRow(3);
  b.GotoKey("N15", 0);
  EXPECT_EQ(Page(b), "N13 N14 [N15] N16 N17 N18");
  b.GotoKey("N02", 0);  // not enough rows above: the rows move up
  EXPECT_EQ(Page(b), "N01 [N02] N03 N04 N05 N06");
  b.SetCurrentRow(2);
  b.GotoKey("N24", 0);  // not enough rows below: the current row moves down
  EXPECT_EQ(Page(b), "N20 N21 N22 N23 [N24] N25");
  // Fewer visible rows keep the current record.
  b.SetVisibleRows(2);
  EXPECT_EQ(Page(b), "N23 [N24]");
}

TEST_F(RecordBrowserTest, QuickSearch) {
  for (const char* n : {"BAR", "BAZ", "D\xDC" "R", "FOO", "FUZ"}) Add(n);
  TKBrowser b(fb, 2, "", "", &events);
  b.SetVisibleRows(3);
  struct Case {
    const char* text;
    const char* current;
  } cases[] = {
      {"f", "FOO"},    {"FU", "FUZ"},  {"baz", "BAZ"},
      {"d\xFC", "D\xDC" "R"},  // upper-cased with the German letters
      {"C", "BAZ"},    // no key starts with C: the record before the place
      {"BB", "BAZ"},   {"A", "BAR"},   // nothing before: the record found stays
      {"ZZ", "FUZ"},   // behind every key
      {"", "FUZ"},     // an empty text searches nothing
  };
  for (const Case& c : cases) {
    b.QuickSearch(c.text);
    EXPECT_EQ(CurrentName(b), c.current) << c.text;
  }
  // The host's conversion of the search text into a key.
  events.OnSuchFeld2KeyStr = [](const std::string& text) { return text == "X" ? std::string("FOO") : text; };
  b.QuickSearch("x");
  EXPECT_EQ(CurrentName(b), "FOO");
}

TEST_F(RecordBrowserTest, SortListSwitchesKeyAndKeepsRecord) {
  for (const char* n : {"ZULU", "ALFA", "MIKE"}) Add(n);  // numbers 1, 2, 3
  std::vector<int> asked;
  events.OnSortList2Key = [&asked](int i, std::string& low, std::string& high) {
    asked.push_back(i);
    low.clear();
    high.clear();
    return i == 0 ? 1 : i == 1 ? 2 : 0;
  };
  TKBrowser b(fb, 1, "", "", &events);
  b.SetVisibleRows(3);
  EXPECT_EQ(Page(b), "[ZULU] ALFA MIKE");
  b.SetCurrentRow(3);
  EXPECT_TRUE(b.ApplySort(1));
  EXPECT_EQ(b.CurrentKeyNr(), 2);
  EXPECT_EQ(Page(b), "ALFA [MIKE] ZULU");
  EXPECT_FALSE(b.ApplySort(1));  // the key in use
  EXPECT_FALSE(b.ApplySort(5));  // no key
  EXPECT_EQ(b.CurrentKeyNr(), 2);
  EXPECT_TRUE(b.ApplySort(0));
  EXPECT_EQ(Page(b), "ZULU ALFA [MIKE]");
  EXPECT_EQ(asked, (std::vector<int>{1, 1, 5, 0}));
}

TEST_F(RecordBrowserTest, DeletionAsksAndRepositions) {
  AddNumbered(4);
  TKBrowser b(fb, 2, "", "", &events);
  b.SetVisibleRows(3);
  b.SetCurrentRow(2);
  events.OnLoesch_Feld = [this] { return records.NameInBuffer(); };

  platform.dialogs.answers = {false};
  EXPECT_FALSE(b.DeleteCurrent());
  EXPECT_EQ(platform.dialogs.questions.back(), " L\xF6schen \"N02\"");
  EXPECT_EQ(fb->RecordCount(), 4);

  platform.dialogs.answers = {true};
  EXPECT_TRUE(b.DeleteCurrent());
  EXPECT_EQ(Page(b), "N01 [N03] N04");
  EXPECT_EQ(fb->RecordCount(), 3);

  // The last record in key order: nothing follows it, the one before takes its place.
  ASSERT_TRUE(b.LastRecord());
  platform.dialogs.answers = {true};
  EXPECT_TRUE(b.DeleteCurrent());
  EXPECT_EQ(Page(b), "N01 [N03]");

  // The host may refuse before the question; its own deletion may fail.
  events.OnBefore_Loesch = [] { return false; };
  const size_t questions = platform.dialogs.questions.size();
  EXPECT_FALSE(b.DeleteCurrent());
  EXPECT_EQ(platform.dialogs.questions.size(), questions);
  events.OnBefore_Loesch = nullptr;
  events.OnDatensatz_Loeschen = [] { return false; };
  platform.dialogs.answers = {true};
  EXPECT_FALSE(b.DeleteCurrent());
  EXPECT_EQ(Page(b), "N01 [N03]");
  events.OnDatensatz_Loeschen = nullptr;

  events.OnLoesch_Feld = nullptr;
  platform.dialogs.answers = {true, true};
  EXPECT_TRUE(b.DeleteCurrent());
  EXPECT_EQ(platform.dialogs.questions.back(), " L\xF6schen \"Datensatz\"");
  EXPECT_TRUE(b.DeleteCurrent());
  EXPECT_EQ(b.RowCount(), 0);
  EXPECT_EQ(fb->RecordCount(), 0);
}

TEST_F(RecordBrowserTest, DeletingTheLastRecordOfTheRange) {
  for (const char* n : {"A1", "B1", "B2", "C1"}) Add(n);
  TKBrowser b(fb, 2, "B", "B", &events);
  b.SetVisibleRows(5);
  ASSERT_TRUE(b.LastRecord());
  platform.dialogs.answers = {true};
  EXPECT_TRUE(b.DeleteCurrent());  // the engine moves on to C1, outside the range
  EXPECT_EQ(Page(b), "[B1]");
}

// Random moves against a sorted list of the names in the range: the page is
// always a run of consecutive records of the range, as long as the screen
// allows, and every move lands where the list says.
TEST_F(RecordBrowserTest, RandomMovesAgainstASortedList) {
  std::mt19937 rng(7);
  std::vector<std::string> names;
  for (int i = 0; i < 80; ++i) {
    std::string n = {static_cast<char>('A' + rng() % 4), static_cast<char>('A' + rng() % 26),
                     static_cast<char>('0' + rng() % 10)};
    if (std::find(names.begin(), names.end(), n) != names.end()) continue;
    names.push_back(n);
    Add(n);
  }
  std::sort(names.begin(), names.end());
  const std::pair<const char*, const char*> ranges[] = {{"", ""}, {"B", "B"}, {"AM", "C"}, {"D", "D"}, {"E", "F"}};
  TKBrowser b(fb, 2, "", "", &events);
  std::vector<std::string> model = names;
  int visible = 1;
  for (int op = 0; op < 3000; ++op) {
    const auto at = [&] {
      return b.Current() ? std::find(model.begin(), model.end(), SplitCells(b.Current()->text)[0]) - model.begin()
                         : -1L;
    };
    const long before = at();
    const long last = static_cast<long>(model.size()) - 1;
    long expect = before;
    switch (rng() % 9) {
      case 0: {
        const auto& r = ranges[rng() % 5];
        b.SetKeyRange(r.first, r.second);
        model.clear();
        for (const std::string& n : names) {
          if (b.InRange(n)) model.push_back(n);
        }
        b.FirstRecord();
        expect = model.empty() ? -1 : 0;
        break;
      }
      case 1:
        visible = 1 + static_cast<int>(rng() % 12);
        b.SetVisibleRows(visible);
        break;
      case 2: b.NextRecord(); expect = before < 0 ? -1 : std::min(before + 1, last); break;
      case 3: b.PrevRecord(); expect = before < 0 ? -1 : std::max(before - 1, 0L); break;
      case 4: b.NextPage(); expect = before < 0 ? -1 : std::min(before + visible, last); break;
      case 5: b.PrevPage(); expect = before < 0 ? -1 : std::max(before - visible, 0L); break;
      case 6: b.LastRecord(); expect = last; break;
      case 7: b.FirstRecord(); expect = model.empty() ? -1 : 0; break;
      case 8: {
        std::string key = {static_cast<char>('A' + rng() % 6), static_cast<char>('A' + rng() % 26)};
        b.GotoKey(key, 0);
        expect = std::lower_bound(model.begin(), model.end(), key) - model.begin();
        if (expect > last) expect = last;
        break;
      }
    }
    ASSERT_EQ(at(), expect) << "op " << op;
    ASSERT_EQ(b.RowCount(), std::min<int>(visible, static_cast<int>(model.size()))) << "op " << op;
    if (b.RowCount() == 0) continue;
    const long first = std::find(model.begin(), model.end(), SplitCells(b.Row(1).text)[0]) - model.begin();
    for (int i = 1; i <= b.RowCount(); ++i) {
      ASSERT_EQ(SplitCells(b.Row(i).text)[0], model[static_cast<size_t>(first + i - 1)]) << "op " << op;
    }
  }
}

TEST_F(RecordBrowserTest, RecordGoneMeanwhileIsUnreadable) {
  AddNumbered(3);
  TKBrowser b(fb, 2, "", "", &events);
  b.SetVisibleRows(3);
  fb->ReadByRef(b.Row(2).ref);
  fb->DeleteRecord(kAfterNone);
  ASSERT_EQ(StorageErrorClass(), 0);
  b.Refresh();
  EXPECT_TRUE(b.Row(2).unreadable);
  EXPECT_EQ(b.Row(2).text, kUnreadableRow);
  EXPECT_EQ(SplitCells(b.Row(3).text)[0], "N03");
  b.SetCurrentRow(2);
  EXPECT_FALSE(b.ReadCurrent());
  EXPECT_EQ(platform.dialogs.messages, (std::vector<std::string>{"Datensatz konnte nicht gelesen werden"}));
  b.Rebuild();
  EXPECT_EQ(Page(b), "N01 [N03]");
}

TEST_F(RecordBrowserTest, RowTextsComeFromTheRecordInDosLetters) {
  Add("M\x81nchen");
  events.OnBuildRow = [this](RowRec& row) {
    EXPECT_EQ(row.ref, fb->CurrentRef());
    EXPECT_EQ(row.key_nr, 2);
    row.text = records.NameInBuffer() + ";" + std::to_string(row.ref);
  };
  TKBrowser b(fb, 2, "", "", &events);
  b.SetVisibleRows(1);
  EXPECT_EQ(b.Row(1).text, "M\xFCnchen;1");
  EXPECT_EQ(b.Row(1).key.substr(0, 8), "M\x81nchen ");
  // Without OnBuildRow the row is empty.
  events.OnBuildRow = nullptr;
  b.Refresh();
  EXPECT_EQ(b.Row(1).text, "");
}

TEST_F(RecordBrowserTest, ScrollBarOfShortList) {
  AddNumbered(5);
  TKBrowser b(fb, 2, "", "", &events);
  b.SetVisibleRows(2);
  EXPECT_EQ(b.ScrollMax(), 4);
  EXPECT_EQ(b.ScrollPosition(), 0);
  b.ScrollTo(4);
  EXPECT_EQ(CurrentName(b), "N05");
  EXPECT_EQ(b.ScrollPosition(), 4);
  b.ScrollTo(0);
  EXPECT_EQ(CurrentName(b), "N01");
}

TEST_F(RecordBrowserTest, FiveThousandRecordsScrollInCoarseSteps) {
  AddNumbered(5000, "R");
  TKBrowser b(fb, 1, "", "", &events);
  b.SetVisibleRows(20);
  EXPECT_EQ(b.ScrollMax(), 247);
  EXPECT_EQ(b.ScrollPosition(), 0);
  ASSERT_TRUE(b.LastRecord());
  EXPECT_EQ(b.ScrollPosition(), 247);
  EXPECT_EQ(b.Current()->ref, 5000);
  b.ScrollTo(0);
  EXPECT_EQ(b.Current()->ref, 1);
  // In between the bar follows the key order, both ways.
  int32_t last_ref = 1;
  int last_pos = 0;
  for (int pos : {20, 60, 124, 200, 246}) {
    b.ScrollTo(pos);
    ASSERT_NE(b.Current(), nullptr);
    EXPECT_GT(b.Current()->ref, last_ref) << pos;
    last_ref = b.Current()->ref;
    const int shown = b.ScrollPosition();
    EXPECT_GE(shown, last_pos) << pos;
    EXPECT_NEAR(shown, pos, 25) << pos;
    last_pos = shown;
  }
  b.ScrollTo(247);
  EXPECT_EQ(b.Current()->ref, 5000);
}

}  // namespace
}  // namespace kontura
