#include "common/win/dpi_win.h"

#include "common/win/scoped_win.h"

namespace win {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

GetDpiForWindowFn GetDpiForWindowEntry() {
    // Looked up once: the function is missing before Windows 10 1607 and in older Wine.
    static const auto entry = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    return entry;
}

}  // namespace

UINT SystemDpi() {
    const ScopedWindowDc screen(nullptr);
    const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSX)
                                            : static_cast<int>(kBaseDpi);
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

UINT DpiForWindow(HWND window) {
    if (const auto entry = GetDpiForWindowEntry(); entry != nullptr && window != nullptr) {
        if (const UINT dpi = entry(window); dpi != 0)
            return dpi;
    }
    return SystemDpi();
}

}  // namespace win
