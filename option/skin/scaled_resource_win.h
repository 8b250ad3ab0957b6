// Pictures built into the program, drawn once per skin set scale.
#pragma once

#include <windows.h>

namespace skin {

struct ScaledImage {
    HANDLE handle = nullptr;  // null when no scale's picture loads
    int percent = 0;          // the scale the picture was drawn for
};

// Loads resource `id` (IMAGE_BITMAP or IMAGE_ICON, at its own size, with
// `flags`) as drawn for a window at `percent`: the set nearest at or above,
// then each smaller one. The caller owns the handle unless `flags` has
// LR_SHARED.
ScaledImage LoadScaledImage(UINT id, int percent, UINT type, UINT flags);

}  // namespace skin
