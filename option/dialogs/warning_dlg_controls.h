// The warnings' controls: OK (key "1") and the two Cancel buttons (keys "2"
// and "3"), walked in that order.
#pragma once

#include "option/skin/control_table.h"

namespace option::warning_dialog {

// Control ids of the three buttons: 1000 + key, as on the main window.
inline constexpr unsigned kWarningOkId = 1001;
inline constexpr unsigned kWarningCancelId = 1002;
inline constexpr unsigned kWarningCloseId = 1003;

using Kind = skin::ControlKind;

inline constexpr skin::ControlRow kControls[] = {
    {kWarningOkId, 1, Kind::Button, 1},
    {kWarningCancelId, 2, Kind::Button, 2},
    {kWarningCloseId, 3, Kind::Button, 3},
};

}  // namespace option::warning_dialog
