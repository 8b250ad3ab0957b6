// The macro manager's controls (skin_macro_manager.ini), made in key order;
// Tab walks the macro list, the event list, record, the pause and repeat
// choices with the count, new and delete, then OK, Cancel and the close
// button.
#pragma once

#include "option/skin/control_table.h"

namespace option::macro_manager {

enum Key : int {
    kManagerOk = 1,
    kManagerCancel = 2,
    kManagerClose = 3,
    kManagerNew = 4,
    kManagerDelete = 5,
    kManagerMacroList = 6,
    kManagerRecord = 7,
    kManagerDelays = 8,
    kManagerRepeat = 9,
    kManagerRepeatCount = 10,
    kManagerEventList = 11,
};

// Control ids: the skin's key k is 3000 + k, apart from the two lists and
// the repeat edit, whose ids are fixed.
constexpr unsigned ControlIdOf(int key) {
    return 3000 + static_cast<unsigned>(key);
}
inline constexpr unsigned kMacroListId = 4096;
inline constexpr unsigned kEventListId = 4097;
inline constexpr unsigned kRepeatEditId = 4010;

using Kind = skin::ControlKind;

inline constexpr skin::ControlRow kControls[] = {
    {ControlIdOf(kManagerOk), kManagerOk, Kind::Button, 9},
    {ControlIdOf(kManagerCancel), kManagerCancel, Kind::Button, 10},
    {ControlIdOf(kManagerClose), kManagerClose, Kind::Button, 11},
    {ControlIdOf(kManagerNew), kManagerNew, Kind::Button, 7},
    {ControlIdOf(kManagerDelete), kManagerDelete, Kind::Button, 8},
    {kMacroListId, kManagerMacroList, Kind::List, 1},
    {ControlIdOf(kManagerRecord), kManagerRecord, Kind::Button, 3},
    {ControlIdOf(kManagerDelays), kManagerDelays, Kind::LatchingButton, 4},
    {ControlIdOf(kManagerRepeat), kManagerRepeat, Kind::LatchingButton, 5},
    {kRepeatEditId, kManagerRepeatCount, Kind::Field, 6},
    {kEventListId, kManagerEventList, Kind::List, 2},
};

}  // namespace option::macro_manager
