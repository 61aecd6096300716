#pragma once
// The suite's colour scheme as the windows apply it: which colour a label
// takes by its tag, how menu-entry labels are trimmed, and the left stripe
// picture. Colours are Windows colour values (0x00BBGGRR; a top byte 02
// marks a palette-relative colour, which on this desktop is the same RGB).

#include <cstdint>
#include <string>

namespace kontura {

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

Rgb RgbOfColorRef(uint32_t colorref);

enum class LabelRole {
  kText,       // tag below 100: the label text colour
  kHighlight,  // tag 99: the highlight colour
  kUnchanged,  // tag 98: left as it is
  kMenuEntry,  // tag 100..1999: a menu entry of the left stripe
  kOther,      // anything else: left as it is
};
LabelRole LabelRoleOfTag(int tag);

// A menu entry's tag is a multiple of 100 (and not 98): the mouse-over effect
// applies to it.
bool IsMenuHeadTag(int tag);

// The text of a menu-entry label after the scheme: a label whose tag is a
// multiple of 100 and that is wider than the stripe loses four leading
// blanks; the long backup texts are shortened.
std::string MenuEntryText(const std::string& text, int tag, int width_px);

// Every menu-entry label is this wide.
inline constexpr int kMenuEntryWidth = 156;

// The left stripe: 170 x 14 pixels of background colour with a bar from x = 16
// to x = 156 in the bar colour; the window stretches it to its height.
inline constexpr int kStripeWidth = 170;
inline constexpr int kStripeHeight = 14;
inline constexpr int kStripeBarFrom = 16;
inline constexpr int kStripeBarTo = 156;
bool StripeIsBar(int x);

}  // namespace kontura
