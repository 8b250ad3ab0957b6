// Display scale of a window, for everything that is drawn in code.
#pragma once

#include <windows.h>

namespace win {

constexpr UINT kBaseDpi = 96;

// The DPI a window is shown at: the per-window value where the system keeps
// one (Windows 10 1607 and later), otherwise the system DPI.
UINT DpiForWindow(HWND window);

// The system DPI (what a window of a system-aware program is drawn at).
UINT SystemDpi();

// A length in 96-DPI pixels at the given DPI, rounded to the nearest pixel.
inline int ScaleForDpi(int value, UINT dpi) {
    return MulDiv(value, static_cast<int>(dpi), kBaseDpi);
}

// The scale in percent (100 at 96 DPI, 150 at 144 DPI).
inline int ScalePercent(UINT dpi) {
    return MulDiv(100, static_cast<int>(dpi), kBaseDpi);
}

}  // namespace win
