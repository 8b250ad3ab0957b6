// The profile dialog's controls (skin_profile.ini), made in key order; Tab
// walks the name, the game program and Browse, back to the previous profile
// when the game ends, then OK, Cancel and the close button.
#pragma once

#include "option/dialogs/dialog_ids.h"
#include "option/skin/control_table.h"

namespace option::profile_dialog {

enum Key : int {
    kKeyName = 1,
    kKeyGame,
    kKeyBrowse,
    kKeyOk,
    kKeyCancel,
    kKeyClose,
    kKeyReturnAfterGame
};

using Kind = skin::ControlKind;

inline constexpr skin::ControlRow kControls[] = {
    {PlateFieldId(0), kKeyName, Kind::Field, 1},
    {PlateFieldId(1), kKeyGame, Kind::Field, 2},
    {DialogButtonId(kKeyBrowse), kKeyBrowse, Kind::Button, 3},
    {DialogButtonId(kKeyOk), kKeyOk, Kind::Button, 5},
    {DialogButtonId(kKeyCancel), kKeyCancel, Kind::Button, 6},
    {DialogButtonId(kKeyClose), kKeyClose, Kind::Button, 7},
    {DialogButtonId(kKeyReturnAfterGame), kKeyReturnAfterGame, Kind::LatchingButton, 4},
};

}  // namespace option::profile_dialog
