// The repeated key dialog's controls (skin_fire_button.ini), made in key
// order; Tab walks the key, the count, the interval, then OK, Cancel and the
// close button.
#pragma once

#include "option/dialogs/dialog_ids.h"
#include "option/skin/control_table.h"

namespace option::fire_dialog {

enum Key : int { kKeyOk = 1, kKeyCancel, kKeyClose, kKeyKeyField, kKeyFieldB, kKeyFieldA };

using Kind = skin::ControlKind;

inline constexpr skin::ControlRow kControls[] = {
    {DialogButtonId(kKeyOk), kKeyOk, Kind::Button, 4},
    {DialogButtonId(kKeyCancel), kKeyCancel, Kind::Button, 5},
    {DialogButtonId(kKeyClose), kKeyClose, Kind::Button, 6},
    {PlateFieldId(0), kKeyKeyField, Kind::Field, 1},
    {PlateFieldId(1), kKeyFieldB, Kind::Field, 3},
    {PlateFieldId(2), kKeyFieldA, Kind::Field, 2},
};

}  // namespace option::fire_dialog
