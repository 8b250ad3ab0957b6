// The support page's controls (skin_support_control.ini): the manual
// button, then the diagnostics report button, walked in that order.
#pragma once

#include "option/skin/control_table.h"

namespace option {

inline constexpr unsigned kManualButtonId = 1001;
inline constexpr unsigned kReportButtonId = 1002;

namespace support_page {

using Kind = skin::ControlKind;

inline constexpr skin::ControlRow kControls[] = {
    {kManualButtonId, 1, Kind::Button, 1},
    {kReportButtonId, 2, Kind::Button, 2},
};

}  // namespace support_page
}  // namespace option
