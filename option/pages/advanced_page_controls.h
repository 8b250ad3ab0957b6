// The advanced settings page's controls (skin_advance_expand.ini), made in
// key order. Tab walks the left column (report rate, CPI levels, LED
// colours, CPI X and Y, separate CPI, sensitivity X and Y, linked
// sensitivity), the right one (pointer speed, acceleration, trails and their
// length, wheel choices and lines, auto-repeat pace), then restore defaults.
// The report rates, the CPI levels, the LED colours and the wheel choices
// are each a group.
#pragma once

#include "option/control_row_runs.h"
#include "option/model/pages/advanced_fields.h"
#include "option/pages/page_host.h"
#include "option/skin/control_table.h"

namespace option {

// Keys of skin_advance_expand.ini; a control's id is 1000 + key, a slider's
// id is its slider id (201..208).
enum AdvancedKey : int {
    kAdvRate1 = 1,       // .. 4: PollingRate 0..3
    kAdvLevel1 = 5,      // .. 8: CpiStep 0..3
    kAdvLed1 = 9,        // .. 12: LedDPIColor 0..3
    kAdvCpiX = 13,       // slider 207
    kAdvCpiXLabel = 14,  //
    kAdvCpiY = 15,       // slider 208
    kAdvCpiYLabel = 16,
    kAdvSeparateCpi = 17,
    kAdvSensX = 18,  // slider 202
    kAdvSensY = 19,  // slider 203
    kAdvLinkSens = 20,
    kAdvSpeed = 21,  // slider 204
    kAdvAccel = 22,
    kAdvTrailsLength = 23,  // slider 206
    kAdvTrails = 24,
    kAdvScrollLines = 25,
    kAdvScrollPage = 26,
    kAdvWheel = 27,  // slider 205
    kAdvScrollCheck = 28,
    kAdvRepeat = 29,  // slider 201
    kAdvDefaults = 30,
    kAdvKeyCount = 31,
};

namespace advanced_page {

using Kind = skin::ControlKind;

inline constexpr auto kControls =
    JoinControlRows(RowRun<4>(ControlId(kAdvRate1), kAdvRate1, Kind::LatchingButton, 1, 1),
                    RowRun<4>(ControlId(kAdvLevel1), kAdvLevel1, Kind::LatchingButton, 5, 2),
                    RowRun<4>(ControlId(kAdvLed1), kAdvLed1, Kind::Swatch, 9, 3),
                    Rows({
                        {kSliderCpiX, kAdvCpiX, Kind::Slider, 13},
                        {ControlId(kAdvCpiXLabel), kAdvCpiXLabel, Kind::Label},
                        {kSliderCpiY, kAdvCpiY, Kind::Slider, 14},
                        {ControlId(kAdvCpiYLabel), kAdvCpiYLabel, Kind::Label},
                        {ControlId(kAdvSeparateCpi), kAdvSeparateCpi, Kind::LatchingButton, 15},
                        {kSliderSensitivityX, kAdvSensX, Kind::Slider, 16},
                        {kSliderSensitivityY, kAdvSensY, Kind::Slider, 17},
                        {ControlId(kAdvLinkSens), kAdvLinkSens, Kind::LatchingButton, 18},
                        {kSliderPointerSpeed, kAdvSpeed, Kind::Slider, 19},
                        {ControlId(kAdvAccel), kAdvAccel, Kind::LatchingButton, 20},
                        {kSliderTrails, kAdvTrailsLength, Kind::Slider, 22},
                        {ControlId(kAdvTrails), kAdvTrails, Kind::LatchingButton, 21},
                        {ControlId(kAdvScrollLines), kAdvScrollLines, Kind::LatchingButton, 23, 4},
                        {ControlId(kAdvScrollPage), kAdvScrollPage, Kind::LatchingButton, 24, 4},
                        {kSliderWheelLines, kAdvWheel, Kind::Slider, 25},
                        {ControlId(kAdvScrollCheck), kAdvScrollCheck, Kind::LatchingButton, 26},
                        {kSliderOtgSpeed, kAdvRepeat, Kind::Slider, 27},
                        {ControlId(kAdvDefaults), kAdvDefaults, Kind::Button, 28},
                    }));

}  // namespace advanced_page
}  // namespace option
