// The shortcut dialog's controls (skin_shortcut.ini), made in key order; Tab
// walks the key, the five modifiers left to right (a group), then OK, Cancel
// and the close button.
#pragma once

#include "option/control_row_runs.h"
#include "option/dialogs/dialog_ids.h"
#include "option/skin/control_table.h"

namespace option::shortcut_dialog {

// The five toggles from kKeyFirstToggle: plain key, Ctrl, Shift, Alt, Win.
enum Key : int { kKeyOk = 2, kKeyCancel, kKeyClose, kKeyFirstToggle, kKeyField = 10 };

using Kind = skin::ControlKind;

inline constexpr auto kControls = JoinControlRows(
    Rows({
        {DialogButtonId(kKeyOk), kKeyOk, Kind::Button, 7},
        {DialogButtonId(kKeyCancel), kKeyCancel, Kind::Button, 8},
        {DialogButtonId(kKeyClose), kKeyClose, Kind::Button, 9},
    }),
    RowRun<5>(DialogButtonId(kKeyFirstToggle), kKeyFirstToggle, Kind::LatchingButton, 2, 1),
    Rows({{PlateFieldId(0), kKeyField, Kind::Field, 1}}));

}  // namespace option::shortcut_dialog
