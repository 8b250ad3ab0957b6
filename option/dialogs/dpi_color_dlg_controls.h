// The CPI level colour dialog's controls (skin_dpi_color.ini), made in key
// order; Tab walks the spectrum, red, green and blue, then OK, Cancel and the
// close button.
#pragma once

#include "lan/string_ids.h"
#include "option/model/dialogs/dpi_color_fields.h"
#include "option/skin/control_table.h"

namespace option::dpi_color_dialog {

enum Key : int {
    kKeyOk = 1,
    kKeyCancel = 2,
    kKeySwatch = 3,
    kKeySpectrum = 4,
    kKeyClose = 5,
    kKeyRed = 6,  // .. 8: spin boxes kSpinRed..
};
// The buttons (and the spectrum's stop) have 1000 + their key.
constexpr int ButtonId(int key) {
    return 1000 + key;
}

using Kind = skin::ControlKind;

inline constexpr skin::ControlRow kControls[] = {
    {ButtonId(kKeyOk), kKeyOk, Kind::Button, 5},
    {ButtonId(kKeyCancel), kKeyCancel, Kind::Button, 6},
    {ButtonId(kKeySwatch), kKeySwatch, Kind::Area},
    {ButtonId(kKeySpectrum), kKeySpectrum, Kind::Spectrum, 1, 0, 1, lan::kColorSpectrum},
    {ButtonId(kKeyClose), kKeyClose, Kind::Button, 7},
    {kSpinRed, kKeyRed, Kind::SpinBox, 2},
    {kSpinRed + 1, kKeyRed + 1, Kind::SpinBox, 3},
    {kSpinRed + 2, kKeyRed + 2, Kind::SpinBox, 4},
};

}  // namespace option::dpi_color_dialog
