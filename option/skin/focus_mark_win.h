// The keyboard focus on a skinned control: a rounded outline in the skin's
// accent colour, drawn only after the keyboard has been used in the window
// (the system's rule for focus cues), never the dotted system rectangle over
// a skin picture.
#pragma once

#include <windows.h>

namespace skin {

// Draws the mark inside `bounds` (2 px wide, inset by 2 px at 96 DPI; both
// scale with `dpi`).
void DrawFocusMark(HDC dc, const RECT& bounds, UINT dpi);

// The control holds the keyboard focus and the keyboard has been used in its
// window (see keyboard_nav_win.h).
bool ShowsFocusMark(HWND control);

// The mark over `control`'s client area when it shows one.
void DrawFocusMarkIfFocused(HWND control, HDC dc);

}  // namespace skin
