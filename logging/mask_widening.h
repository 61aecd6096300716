#pragma once
// The entry mask is laid out for a window 800 pixels wide. A wider window
// spreads the mask's controls horizontally in proportion, so that the
// fields use the room instead of huddling at the left; a narrower one keeps
// the positions as laid out.

namespace kontura {

inline constexpr int kMaskDesignWidth = 800;

// The left edge of a control laid out at `designed_left` in a window
// `window_width` pixels wide.
int WidenedLeft(int designed_left, int window_width);

}  // namespace kontura
