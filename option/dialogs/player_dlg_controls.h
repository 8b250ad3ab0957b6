// The media player dialog's controls (skin_select_player.ini): the player
// selector, then OK, Cancel and the close button.
#pragma once

#include "option/dialogs/dialog_ids.h"
#include "option/skin/control_table.h"

namespace option::player_dialog {

enum Key : int { kKeySelector = 1, kKeyOk, kKeyCancel, kKeyClose };

using Kind = skin::ControlKind;

inline constexpr skin::ControlRow kControls[] = {
    {DialogButtonId(kKeySelector), kKeySelector, Kind::Button, 1},
    {DialogButtonId(kKeyOk), kKeyOk, Kind::Button, 2},
    {DialogButtonId(kKeyCancel), kKeyCancel, Kind::Button, 3},
    {DialogButtonId(kKeyClose), kKeyClose, Kind::Button, 4},
};

}  // namespace option::player_dialog
