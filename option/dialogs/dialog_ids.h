// The control ids of the skinned dialogs of the button page, and what such a
// dialog is made from.
#pragma once

#include <span>

#include "option/skin/control_table.h"

namespace option {

// What a skinned dialog is made from: its title (none when null), its skin
// description file and the control table of that file's keys.
struct DialogSkin {
    const char* title;
    const char* file;
    std::span<const skin::ControlRow> controls;
};

// Buttons of a dialog get 1200 + their skin key: apart from IDOK and
// IDCANCEL, which the dialog manager sends for Enter and Esc, and from the
// menu commands 1001..1004 of the media player's menu.
inline constexpr unsigned kDialogButtonBase = 1200;
constexpr unsigned DialogButtonId(int key) {
    return kDialogButtonBase + static_cast<unsigned>(key);
}

// The edit fields of a dialog get 4010, 4020, ...: field `n` of its own,
// counted from 0.
constexpr unsigned PlateFieldId(int n) {
    return 4010 + 10 * static_cast<unsigned>(n);
}

}  // namespace option
