// The contest note: its file name, the dated line of each opening, and the
// file on the disk.

#include <gtest/gtest.h>

#include <filesystem>

#include "contest/contest_note.h"
#include "tests/support/start_dir_fixture.h"
#include "text/calendar.h"

namespace kontura {
namespace {

using testing::StartDirTest;

TEST(ContestNoteName, KeepsOnlyLettersDigitsBlankPlusMinusAndUnderscore) {
  const struct {
    std::string entry;
    std::string file;
  } cases[] = {
      {"Mobil 2026", "Mobil 2026.TXT"},
      {"GMW-80m_2026+", "GMW-80m_2026+.TXT"},
      {"M\xFCnchen (Sommer)!", "Mnchen Sommer.TXT"},
      {"\xC4\xD6\xDC./:", ".TXT"},
      {"", ".TXT"},
  };
  for (const auto& c : cases) EXPECT_EQ(ContestNoteFileName(c.entry), c.file) << c.entry;
}

TEST(ContestNotePrefix, DateTimeAndCallPaddedToTen) {
  EXPECT_EQ(NotePrefixLine(DayNumber(7, 3, 2026), SecondsOf(9, 5, 59), "DL1ABC"), "07.03.2026 09:05 DL1ABC     > ");
  EXPECT_EQ(NotePrefixLine(DayNumber(1, 1, 2027), 0, ""), "01.01.2027 00:00            > ");
  EXPECT_EQ(NoteCursorOffset(), NotePrefixLine(0, 0, "").size());
}

class ContestNoteFile : public StartDirTest {};

TEST_F(ContestNoteFile, FirstNoteHoldsThePrefixLineOnly) {
  std::string text;
  ASSERT_TRUE(PrepareContestNote(Path("N.TXT"), "P1 > ", &text));
  EXPECT_EQ(text, "P1 > ");
  EXPECT_EQ(ReadText(Path("N.TXT")), "P1 > \r\n");
}

TEST_F(ContestNoteFile, EachOpeningPutsItsLineOnTop) {
  std::string text;
  ASSERT_TRUE(PrepareContestNote(Path("N.TXT"), "P1 > ", &text));
  ASSERT_TRUE(SaveContestNote(Path("N.TXT"), "P1 > Antenne gedreht"));
  ASSERT_TRUE(PrepareContestNote(Path("N.TXT"), "P2 > ", &text));
  EXPECT_EQ(text, "P2 > \nP1 > Antenne gedreht");
  EXPECT_EQ(ReadText(Path("N.TXT")), "P2 > \r\nP1 > Antenne gedreht\r\n");
}

TEST_F(ContestNoteFile, AFailedWriteLeavesTheOldNoteWhole) {
  ASSERT_TRUE(SaveContestNote(Path("N.TXT"), "alt"));
  // The temporary file cannot be created where a directory of its name is.
  std::filesystem::create_directory(Path("N.TXT.NEU"));
  EXPECT_FALSE(SaveContestNote(Path("N.TXT"), "neu"));
  EXPECT_EQ(ReadText(Path("N.TXT")), "alt\r\n");
  std::string text;
  EXPECT_FALSE(PrepareContestNote(Path("N.TXT"), "P > ", &text));
  EXPECT_EQ(ReadText(Path("N.TXT")), "alt\r\n");
}

TEST_F(ContestNoteFile, ANoteInADirectoryThatIsMissingIsNotSaved) {
  std::string text;
  EXPECT_FALSE(PrepareContestNote(Path("fehlt/N.TXT"), "P > ", &text));
}

}  // namespace
}  // namespace kontura
