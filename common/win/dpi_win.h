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

// How far the process follows display scales, from the best the system
// offers down to what every supported system knows.
enum class DpiAwareness { PerMonitorV2, PerMonitor, System, None };

// Makes the process DPI aware where the manifest was not honoured (a host
// that ignores it, or a system that reads only the older key): per-monitor
// v2, then per-monitor, then system awareness, each looked up at run time.
// Call before the first window is created. Returns what is in force.
DpiAwareness BecomeDpiAware();

// A length in 96-DPI pixels at the given DPI, rounded to the nearest pixel.
inline int ScaleForDpi(int value, UINT dpi) {
    return MulDiv(value, static_cast<int>(dpi), kBaseDpi);
}

// The scale in percent (100 at 96 DPI, 150 at 144 DPI).
inline int ScalePercent(UINT dpi) {
    return MulDiv(100, static_cast<int>(dpi), kBaseDpi);
}

}  // namespace win
