// The lighting page's controls (skin_color_control.ini), made in key order.
// Tab walks the left column (light on, switch levels and slider, type levels
// and slider), then the right one (preset and custom, the preset colour grid
// row by row, the colour spectrum, the red, green and blue sliders).
#pragma once

#include "lan/string_ids.h"
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

inline constexpr skin::ControlRow kControls[] = {
    {ControlId(kLightOn), kLightOn, Kind::LatchingButton, 1},
    {ControlId(kLightSwitch0), kLightSwitch0, Kind::LatchingButton, 2, 1},
    {ControlId(kLightSwitch0 + 1), kLightSwitch0 + 1, Kind::LatchingButton, 3, 1},
    {ControlId(kLightSwitch0 + 2), kLightSwitch0 + 2, Kind::LatchingButton, 4, 1},
    {ControlId(kLightSwitch0 + 3), kLightSwitch0 + 3, Kind::LatchingButton, 5, 1},
    {ControlId(kLightType0), kLightType0, Kind::LatchingButton, 7, 2},
    {ControlId(kLightType0 + 1), kLightType0 + 1, Kind::LatchingButton, 8, 2},
    {ControlId(kLightType0 + 2), kLightType0 + 2, Kind::LatchingButton, 9, 2},
    {ControlId(kLightType0 + 3), kLightType0 + 3, Kind::LatchingButton, 10, 2},
    {ControlId(kLightPreset), kLightPreset, Kind::LatchingButton, 12, 3},
    {ControlId(kLightCustom), kLightCustom, Kind::LatchingButton, 13, 3},
    {ControlId(kLightColor0), kLightColor0, Kind::LatchingButton, 14, 4, kColorGridColumns},
    {ControlId(kLightColor0 + 1), kLightColor0 + 1, Kind::LatchingButton, 15, 4, kColorGridColumns},
    {ControlId(kLightColor0 + 2), kLightColor0 + 2, Kind::LatchingButton, 16, 4, kColorGridColumns},
    {ControlId(kLightColor0 + 3), kLightColor0 + 3, Kind::LatchingButton, 17, 4, kColorGridColumns},
    {ControlId(kLightColor0 + 4), kLightColor0 + 4, Kind::LatchingButton, 18, 4, kColorGridColumns},
    {ControlId(kLightColor0 + 5), kLightColor0 + 5, Kind::LatchingButton, 19, 4, kColorGridColumns},
    {ControlId(kLightColor0 + 6), kLightColor0 + 6, Kind::LatchingButton, 20, 4, kColorGridColumns},
    {ControlId(kLightColor0 + 7), kLightColor0 + 7, Kind::LatchingButton, 21, 4, kColorGridColumns},
    {ControlId(kLightColor0 + 8), kLightColor0 + 8, Kind::LatchingButton, 22, 4, kColorGridColumns},
    {ControlId(kLightColor0 + 9), kLightColor0 + 9, Kind::LatchingButton, 23, 4, kColorGridColumns},
    {ControlId(kLightColor0 + 10), kLightColor0 + 10, Kind::LatchingButton, 24, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 11), kLightColor0 + 11, Kind::LatchingButton, 25, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 12), kLightColor0 + 12, Kind::LatchingButton, 26, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 13), kLightColor0 + 13, Kind::LatchingButton, 27, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 14), kLightColor0 + 14, Kind::LatchingButton, 28, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 15), kLightColor0 + 15, Kind::LatchingButton, 29, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 16), kLightColor0 + 16, Kind::LatchingButton, 30, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 17), kLightColor0 + 17, Kind::LatchingButton, 31, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 18), kLightColor0 + 18, Kind::LatchingButton, 32, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 19), kLightColor0 + 19, Kind::LatchingButton, 33, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 20), kLightColor0 + 20, Kind::LatchingButton, 34, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 21), kLightColor0 + 21, Kind::LatchingButton, 35, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 22), kLightColor0 + 22, Kind::LatchingButton, 36, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 23), kLightColor0 + 23, Kind::LatchingButton, 37, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 24), kLightColor0 + 24, Kind::LatchingButton, 38, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 25), kLightColor0 + 25, Kind::LatchingButton, 39, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 26), kLightColor0 + 26, Kind::LatchingButton, 40, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 27), kLightColor0 + 27, Kind::LatchingButton, 41, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 28), kLightColor0 + 28, Kind::LatchingButton, 42, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 29), kLightColor0 + 29, Kind::LatchingButton, 43, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 30), kLightColor0 + 30, Kind::LatchingButton, 44, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 31), kLightColor0 + 31, Kind::LatchingButton, 45, 4,
     kColorGridColumns},
    {ControlId(kLightColor0 + 32), kLightColor0 + 32, Kind::LatchingButton, 46, 4,
     kColorGridColumns},
    {kSliderLightSwitch, kLightSwitchSlider, Kind::Slider, 6},
    {kSliderLightType, kLightTypeSlider, Kind::Slider, 11},
    {kSliderRed, kLightRedSlider, Kind::Slider, 48},
    {kSliderGreen, kLightRedSlider + 1, Kind::Slider, 49},
    {kSliderBlue, kLightRedSlider + 2, Kind::Slider, 50},
    {ControlId(kLightRedLabel), kLightRedLabel, Kind::Label},
    {ControlId(kLightRedLabel + 1), kLightRedLabel + 1, Kind::Label},
    {ControlId(kLightRedLabel + 2), kLightRedLabel + 2, Kind::Label},
    {ControlId(kLightSpectrum), kLightSpectrum, Kind::Spectrum, 47, 0, 1, lan::kColorSpectrum},
    {ControlId(kLightSwatch), kLightSwatch, Kind::Area},
    {ControlId(kLightPreview), kLightPreview, Kind::Area},
};

}  // namespace lighting_page
}  // namespace option
