// The program to launch dialog's controls (skin_lanuch_program.ini), made in
// key order; Tab walks the path, Browse, then OK, Cancel and the close button.
#pragma once

#include "option/dialogs/dialog_ids.h"
#include "option/skin/control_table.h"

namespace option::launch_program_dialog {

enum Key : int { kKeyPath = 1, kKeyBrowse, kKeyOk, kKeyCancel, kKeyClose };

using Kind = skin::ControlKind;

inline constexpr skin::ControlRow kControls[] = {
    {PlateFieldId(0), kKeyPath, Kind::Field, 1},
    {DialogButtonId(kKeyBrowse), kKeyBrowse, Kind::Button, 2},
    {DialogButtonId(kKeyOk), kKeyOk, Kind::Button, 3},
    {DialogButtonId(kKeyCancel), kKeyCancel, Kind::Button, 4},
    {DialogButtonId(kKeyClose), kKeyClose, Kind::Button, 5},
};

}  // namespace option::launch_program_dialog
