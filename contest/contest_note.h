#pragma once
// The contest note: a text file in the start directory named after the
// contest entry, into which the note window puts a dated line for every
// opening. The window (contest/qt/contest_note.h) shows and edits it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kontura {

inline constexpr char kNoteCaption[] = "Contest-Notiz";
inline constexpr char kNotePrint[] = "Drucken";
inline constexpr char kNoteSaveAndClose[] = "ESC: Speichern und Beenden";

// The entry name reduced to A-Z, a-z, 0-9, blank, "+", "-" and "_", followed
// by ".TXT" (a name of none of them gives ".TXT").
std::string ContestNoteFileName(std::string_view entry_name);

// The line a note opening starts with: date ("dd.mm.yyyy") + " " + time
// ("hh:mm") + " " + call padded with blanks to 10 + " > ".
std::string NotePrefixLine(int32_t date, int32_t seconds, std::string_view call);

// The length of a prefix line with a call of at most 10 characters: the
// length of the date picture + the length of the time picture + 15.
size_t NoteCursorOffset();

// Loads the note at `path` (empty when it does not exist), puts `prefix` in
// front as a new first line and saves it. The text comes back with lines
// separated by "\n", Windows-1252. False when the file could not be written.
bool PrepareContestNote(const std::string& path, std::string_view prefix, std::string* text);

// Saves the text ("\n" between lines) to `path`, every line ended by CR LF.
bool SaveContestNote(const std::string& path, std::string_view text);

}  // namespace kontura
