#pragma once
// How the texts typed into the entry mask become the values of a QSO record:
// call sign, time, report, locator and frequency. Pure functions; the entry
// (qso_entry.h) applies them field by field.

#include <cstdint>
#include <string>
#include <string_view>

namespace kontura {

// The stored call: blanks and tabs trimmed at both ends first, then every
// remaining "-" and blank becomes "/", then a trailing "#" becomes "/p"
// (cut to 14), and the result is cut to 12 characters. Trimming first keeps
// " DL1ABC " from turning into "/DL1ABC/".
std::string StoredCallText(std::string_view typed);

// A typed time completed to "hh:mm:ss": "1234" -> "12:34:00", "9.30" and
// "9:30" -> "09:30:00", "930" -> "09:30:00", "12:34" -> "12:34:00". Other
// texts come back as typed (the conversion rejects them).
std::string CompletedTimeText(std::string_view typed);

// Seconds since midnight of a typed time, -1 when it does not convert.
int32_t TypedTime(std::string_view typed);

// Day number of a typed date after the date completion, -1 when it does not
// convert.
int32_t TypedDate(std::string_view typed);

// The report as stored for a mode: padded with blanks to 3 characters; in
// "CW" a blank third character behind a non-blank second becomes "9"
// ("59" -> "599"); in "SSB", "PR" and "FM" the third character becomes a
// blank ("599" -> "59 ").
std::string ModeReport(std::string_view typed, std::string_view mode);

// The report a new QSO starts with: "599" in CW, else "59 ".
std::string DefaultReport(std::string_view mode);

// A locator as far as typed: empty, or the characters present obey
// "A".."R", "A".."R", digit, digit, "A".."X", "A".."X".
bool IsLocatorPrefix(std::string_view text);

// The number typed into the frequency field (a decimal comma is read as a
// point); 0 when the text holds no number.
double TypedFrequency(std::string_view typed);

// The frequency as the mask shows it: up to three decimals, without
// trailing zeros; empty for 0.
std::string FrequencyText(float mhz);

// Name and QTH of a stored NameQth, split at the first semicolon; the QTH
// is empty when there is none.
void SplitNameQth(const std::string& name_qth, std::string* name, std::string* qth);

// The DOS code page's umlauts of a call-book name turned into their
// Windows-1252 letters: 129, 132, 142, 148, 153, 154, 225, 251 become
// 252, 228, 196, 246, 214, 220, 223 and "Y"; other bytes stay.
std::string DosNameToWindows(std::string_view name);

}  // namespace kontura
