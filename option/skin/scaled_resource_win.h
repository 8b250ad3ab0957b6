// Pictures built into the program, drawn once per skin set scale.
#pragma once

#include <windows.h>

namespace skin {

// Loads resource `id` (IMAGE_BITMAP or IMAGE_ICON, at its own size, with
// `flags`) as drawn for a window at `percent`: the set nearest at or above,
// then each smaller one. Null when none loads. The caller owns the handle
// unless `flags` has LR_SHARED.
HANDLE LoadScaledImage(UINT id, int percent, UINT type, UINT flags);

}  // namespace skin
