// What the skinned controls share for the keyboard: the keys that press a
// button, the keys that move a slider, and the click a key press reports,
// the same one a mouse click reports.
#pragma once

#include <windows.h>

#include <optional>

#include "option/skin/control_math.h"

namespace skin {

// The answer to WM_GETDLGCODE: the dialog manager hands every key to the
// control (Tab, Esc and Ctrl keys are taken before, see keyboard_nav_win.h).
inline constexpr LRESULT kWantsAllKeys = DLGC_WANTALLKEYS;

// Space or Enter on a button: true, and the character the key typed is
// dropped (see DropTypedCharacter).
bool TakePressKey(HWND control, UINT key);

// A click from the keyboard: a latching button flips `latched` and
// repaints; then the parent gets the click.
void PressByKeyboard(HWND control, bool latchingMode, bool& latched);

// Arrows, Page Up/Down, Home and End; nothing for other keys.
std::optional<SliderMove> SliderMoveOf(UINT key);

// A key on a colour spectrum: where it moves the pick point `at` within
// `bounds` (arrows by one pixel, with Ctrl by a large step; Page Up and Down
// a large step along the row; Home and End the row's ends); Space and Enter
// leave it where it is and pick there again. None for other keys.
std::optional<PickSpot> PickSpotAfterKey(HWND control, UINT key, PickSpot at,
                                         const PickBounds& bounds, int percent);

// What a left click at `at` (client coordinates of `window`) sends to it:
// the button press and the release, sent.
void ClickAt(HWND window, PickSpot at);

// Drops the character that the key press now being handled put in the
// queue: a menu opened by the press would take Space or Enter as the choice
// of its (still unselected) item and close at once.
void DropTypedCharacter(HWND control);

// WM_COMMAND with BN_CLICKED from `control` to its parent, sent, as a mouse
// click on it reports.
void SendClick(HWND control);

}  // namespace skin
