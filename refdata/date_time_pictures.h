#pragma once
// The program-wide date and time pictures, the separators they are shown
// with, and the completion of shortened dates and times typed by the operator.
//
// The pictures and separators are fixed for the whole run: no setting of the
// program switches to another order of day, month and year.

#include <string>
#include <string_view>

namespace kontura {

// Dates in dialogs, the contest list, detail and correction dialogs, the
// summary sheet and list headers.
inline constexpr std::string_view DatePicture = "dd.mm.yyyy";
// The date column of the QSO list in the logging window.
inline constexpr std::string_view ShortDatePicture = "dd.mm.yy";
// Times in dialogs, the QSO list and the outputs.
inline constexpr std::string_view TimePicture = "hh:mm";

inline constexpr char kDateSeparator = '/';
inline constexpr char kTimeSeparator = ':';

// Sets the separators of the date and time texts for the run ("/" for dates,
// ":" for times). The pictures above contain points and no "/", so dates
// always show with points. Called once at start.
void InstallDateTimeSeparators();

// Completes a typed date to "dd.mm.yyyy" where the typed text allows it:
// "35" gives 03.05. of the current year, "125" 12.05., "12509" 12.05.2009,
// "1.5.09" 01.05.2009, "12052009" 12.05.2009. The text is trimmed of blanks
// and tabs first; a text of another shape comes back trimmed but otherwise
// unchanged, and the result is not checked (the conversion that follows
// rejects what is no date). Two-digit years below 50 take the current
// century, the others 19. The current year comes from the platform clock.
std::string CompleteDate(std::string_view typed);

// Completes a typed time to "hh:mm": "9:30" and "9.30" give 09:30, "0930"
// gives 09:30, "930" gives 09:30. Other texts come back trimmed of blanks and
// tabs but otherwise unchanged.
std::string CompleteTime(std::string_view typed);

}  // namespace kontura
