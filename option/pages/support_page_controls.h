// The support page's controls (skin_support_control.ini): the manual
// button, the diagnostics report button, the button that forgets the
// remembered channel and the one that chooses the language, walked in that
// order.
#pragma once

#include "option/skin/control_table.h"

namespace option {

inline constexpr unsigned kManualButtonId = 1001;
inline constexpr unsigned kReportButtonId = 1002;
inline constexpr unsigned kForgetButtonId = 1003;
inline constexpr unsigned kLanguageButtonId = 1004;

namespace support_page {

using Kind = skin::ControlKind;

inline constexpr skin::ControlRow kControls[] = {
    {kManualButtonId, 1, Kind::Button, 1},
    {kReportButtonId, 2, Kind::Button, 2},
    {kForgetButtonId, 3, Kind::Button, 3},
    {kLanguageButtonId, 4, Kind::Button, 4},
};

}  // namespace support_page
}  // namespace option
