#pragma once
// Number pictures: "#####" right-aligns a number in five positions, "@@@@@"
// pads it with zeros, "####,##" shows two decimal places, and so on. Every
// screen, list and export of the program formats its numbers this way.
//
// The picture field is the first run of the characters # @ * $ - + , . in the
// picture; everything before and after it is copied unchanged, and a picture
// without any of them comes back as it is. Inside the field:
//   # @ * $   digit positions. "@" fills unused positions with "0", "*" with
//             "*", otherwise they stay blank. When both "@" and "*" occur,
//             "@" wins. "$" puts the currency character (TheFormatSettings())
//             right before the first digit; "@" cancels it.
//   , .       the last one is the decimal point; digit positions behind it are
//             decimal places. The others are group separators: they stay where
//             they are between digits and turn into the fill character in the
//             unused part on the left. There they take part in the floating
//             characters' shift, so "#,###" shows -123 as " -123" and
//             "$#,###" shows 5 as "    $5": currency and minus always stand
//             right before the first digit.
//   + -       sign positions: "+" shows "+" or "-", "-" shows " " or "-".
//             Without a sign position a negative number gets a floating "-"
//             right before the first digit (before the currency character).
//             With "0" or "*" fill a floating minus cannot stand before the
//             digits, so it takes the leftmost position of the field instead
//             ("@@@@" shows -7 as "-007") rather than losing the sign.
// Values are rounded to the decimal places, halves away from zero. A value
// that rounds to zero shows no minus.
// Overflow: when the number needs more positions than the field has, or the
// unused positions cannot hold the currency character and the floating minus,
// every digit position shows "*" and the sign positions their sign; the
// separators stay. NaN and infinities overflow too.
// With TheFormatSettings().decimal_swap on, every "," of the field shows as
// "." and every "." as ",".
// The result is as long as the picture. Pictures of any length and content
// are accepted.

#include <cstdint>
#include <string>
#include <string_view>

namespace kontura {

std::string FormatPicture(std::string_view picture, double value);

// The same for integers: the picture gets a "." appended for the formatting
// and the result loses its last character again, so that all digit positions
// of the picture are integer places ("#,###" shows 1234 as "1,234", where
// FormatPicture would read the "," as decimal point and overflow). An empty
// picture gives an empty string; a picture of 255 characters or more is used
// as it is. The digits are exact for the whole 64-bit range.
std::string FormatPictureInt(std::string_view picture, int64_t value);

}  // namespace kontura
