#pragma once
// The contest list of the main window: which contests it shows (the FHKK
// records of this edition), in which orders, and the text of each row and of
// the column headings. The list itself is the record list browser.

#include <cstdint>
#include <string>

namespace kontura {

// FHKK keys the list offers: 1 = edition code + entry name ("Name"),
// 2 = edition code + start date ("Datum").
inline constexpr int kContestListKeyName = 1;
inline constexpr int kContestListKeyDate = 2;

// The sort captions in the order of the sort list.
inline constexpr const char* kContestSortCaptions[] = {"Name", "Datum"};

// Sort list entry i (0-based) selects key i + 1 with the edition-code range
// (low = high = the edition code). Returns 0 for an entry that does not exist.
int ContestSortListToKey(int i, char edition_code, std::string& low, std::string& high);

// The row of a contest header under the list's key number: cells separated
// by ";". Name column: entry name and a blank, at most 26 characters; date
// columns: the date in the suite's date picture and three blanks, cut to 20,
// blanks for a date of 0 or less.
std::string ContestRowText(const uint8_t* header, int key_nr);

// The heading line under the list's key number, padded with blanks to 255.
std::string ContestHeadingText(int key_nr);

}  // namespace kontura
