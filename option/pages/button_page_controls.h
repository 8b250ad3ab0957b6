// The button assignment page's controls (skin_main_control.ini): one
// button per mouse button entry, made in entry order; Tab walks them row by
// row, left to right.
#pragma once

#include "option/skin/control_table.h"

namespace option {

// Control id of the button of entry i: apart from the menu's commands
// (1001..4000), which arrive at the page too.
inline constexpr unsigned kFirstAssignButtonId = 30001;
// The button of skin key k (entry k - 1).
constexpr int AssignButtonId(int key) {
    return static_cast<int>(kFirstAssignButtonId) + key - 1;
}

namespace button_page {

using Kind = skin::ControlKind;

inline constexpr skin::ControlRow kControls[] = {
    {AssignButtonId(1), 1, Kind::Button, 1},    {AssignButtonId(2), 2, Kind::Button, 2},
    {AssignButtonId(3), 3, Kind::Button, 3},    {AssignButtonId(4), 4, Kind::Button, 5},
    {AssignButtonId(5), 5, Kind::Button, 7},    {AssignButtonId(6), 6, Kind::Button, 11},
    {AssignButtonId(7), 7, Kind::Button, 12},   {AssignButtonId(8), 8, Kind::Button, 13},
    {AssignButtonId(9), 9, Kind::Button, 14},   {AssignButtonId(10), 10, Kind::Button, 15},
    {AssignButtonId(11), 11, Kind::Button, 9},  {AssignButtonId(12), 12, Kind::Button, 4},
    {AssignButtonId(13), 13, Kind::Button, 6},  {AssignButtonId(14), 14, Kind::Button, 8},
    {AssignButtonId(15), 15, Kind::Button, 10}, {AssignButtonId(16), 16, Kind::Button, 16},
};

}  // namespace button_page
}  // namespace option
