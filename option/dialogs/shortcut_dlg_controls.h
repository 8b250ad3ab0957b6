// The shortcut dialog's controls (skin_shortcut.ini), made in key order; Tab
// walks the key, the five modifiers left to right (a group), then OK, Cancel
// and the close button.
#pragma once

#include "option/dialogs/dialog_ids.h"
#include "option/skin/control_table.h"

namespace option::shortcut_dialog {

// The five toggles from kKeyFirstToggle: plain key, Ctrl, Shift, Alt, Win.
enum Key : int { kKeyOk = 2, kKeyCancel, kKeyClose, kKeyFirstToggle, kKeyField = 10 };

using Kind = skin::ControlKind;

inline constexpr skin::ControlRow kControls[] = {
    {DialogButtonId(kKeyOk), kKeyOk, Kind::Button, 7},
    {DialogButtonId(kKeyCancel), kKeyCancel, Kind::Button, 8},
    {DialogButtonId(kKeyClose), kKeyClose, Kind::Button, 9},
    {DialogButtonId(kKeyFirstToggle), kKeyFirstToggle, Kind::LatchingButton, 2, 1},
    {DialogButtonId(kKeyFirstToggle + 1), kKeyFirstToggle + 1, Kind::LatchingButton, 3, 1},
    {DialogButtonId(kKeyFirstToggle + 2), kKeyFirstToggle + 2, Kind::LatchingButton, 4, 1},
    {DialogButtonId(kKeyFirstToggle + 3), kKeyFirstToggle + 3, Kind::LatchingButton, 5, 1},
    {DialogButtonId(kKeyFirstToggle + 4), kKeyFirstToggle + 4, Kind::LatchingButton, 6, 1},
    {PlateFieldId(0), kKeyField, Kind::Field, 1},
};

}  // namespace option::shortcut_dialog
