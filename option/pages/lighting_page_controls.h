// The lighting page's controls (skin_color_control.ini), made in key order.
// Tab walks the left column (light on, switch levels and slider, type levels
// and slider), then the right one (preset and custom, the preset colour grid
// row by row, the colour spectrum, the red, green and blue sliders).
#pragma once

#include "lan/string_ids.h"
#include "option/control_row_runs.h"
#include "option/model/pages/lighting_fields.h"
#include "option/pages/page_host.h"
#include "option/skin/control_table.h"

namespace option {

// Keys of skin_color_control.ini; a control's id is 1000 + key, a slider's
// id is its slider id (200..204).
enum LightingKey : int {
    kLightOn = 1,
    kLightSwitch0 = 2,  // .. 5
    kLightType0 = 6,    // .. 9
    kLightPreset = 10,
    kLightCustom = 11,
    kLightColor0 = 12,  // .. 44: presets 0..32
    kLightSwitchSlider = 45,
    kLightTypeSlider = 46,
    kLightRedSlider = 47,  // .. 49
    kLightRedLabel = 50,   // .. 52
    kLightSpectrum = 53,
    kLightSwatch = 54,
    kLightPreview = 55,
    kLightKeyCount = 56,
};

// The preset colour grid is this many wide.
inline constexpr int kColorGridColumns = 11;

namespace lighting_page {

using Kind = skin::ControlKind;

inline constexpr auto kControls = JoinControlRows(
    Rows({{ControlId(kLightOn), kLightOn, Kind::LatchingButton, 1}}),
    RowRun<4>(ControlId(kLightSwitch0), kLightSwitch0, Kind::LatchingButton, 2, 1),
    RowRun<4>(ControlId(kLightType0), kLightType0, Kind::LatchingButton, 7, 2),
    Rows({
        {ControlId(kLightPreset), kLightPreset, Kind::LatchingButton, 12, 3},
        {ControlId(kLightCustom), kLightCustom, Kind::LatchingButton, 13, 3},
    }),
    RowRun<kPresetColorCount>(ControlId(kLightColor0), kLightColor0, Kind::LatchingButton, 14, 4,
                              kColorGridColumns),
    Rows({
        {kSliderLightSwitch, kLightSwitchSlider, Kind::Slider, 6},
        {kSliderLightType, kLightTypeSlider, Kind::Slider, 11},
    }),
    RowRun<3>(kSliderRed, kLightRedSlider, Kind::Slider, 48),
    RowRun<3>(ControlId(kLightRedLabel), kLightRedLabel, Kind::Label),
    Rows({
        {ControlId(kLightSpectrum), kLightSpectrum, Kind::Spectrum, 47, 0, 1, lan::kColorSpectrum},
        {ControlId(kLightSwatch), kLightSwatch, Kind::Area},
        {ControlId(kLightPreview), kLightPreview, Kind::Area},
    }));

}  // namespace lighting_page
}  // namespace option
