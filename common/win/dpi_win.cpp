#include "common/win/dpi_win.h"

#include "common/win/scoped_win.h"

namespace win {
namespace {

template <typename Fn>
Fn Entry(const wchar_t* module, const char* name) {
    HMODULE loaded = GetModuleHandleW(module);
    if (loaded == nullptr)
        loaded = LoadLibraryW(module);  // shcore.dll is not loaded by default
    if (loaded == nullptr)
        return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(loaded, name)));
}

// DPI_AWARENESS_CONTEXT values and PROCESS_DPI_AWARENESS, spelled out
// because the entries are looked up rather than linked.
using DpiContext = HANDLE;
const DpiContext kContextPerMonitorV2 = reinterpret_cast<DpiContext>(static_cast<INT_PTR>(-4));
const DpiContext kContextPerMonitor = reinterpret_cast<DpiContext>(static_cast<INT_PTR>(-3));
constexpr int kProcessPerMonitorAware = 2;

}  // namespace

DpiAwareness BecomeDpiAware() {
    // A process whose manifest was honoured is already aware: each call
    // below then fails with "access denied" and the manifest's choice stays.
    using SetContextFn = BOOL(WINAPI*)(DpiContext);
    using SetAwarenessFn = HRESULT(WINAPI*)(int);
    using SetAwareFn = BOOL(WINAPI*)();
    if (const auto set = Entry<SetContextFn>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
        if (set(kContextPerMonitorV2))
            return DpiAwareness::PerMonitorV2;
        if (set(kContextPerMonitor))
            return DpiAwareness::PerMonitor;
    }
    if (const auto set = Entry<SetAwarenessFn>(L"shcore.dll", "SetProcessDpiAwareness")) {
        if (SUCCEEDED(set(kProcessPerMonitorAware)))
            return DpiAwareness::PerMonitor;
    }
    if (const auto set = Entry<SetAwareFn>(L"user32.dll", "SetProcessDPIAware")) {
        if (set())
            return DpiAwareness::System;
    }
    return DpiAwareness::None;
}

UINT SystemDpi() {
    using GetDpiForSystemFn = UINT(WINAPI*)();
    // Windows 10 1607 and Wine answer from the settings; a screen DC would
    // first start the display driver, which a program's first window does
    // anyway, but later and on its own thread.
    static const auto entry = Entry<GetDpiForSystemFn>(L"user32.dll", "GetDpiForSystem");
    if (entry != nullptr) {
        if (const UINT dpi = entry(); dpi != 0)
            return dpi;
    }
    const ScopedWindowDc screen(nullptr);
    const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSX)
                                            : static_cast<int>(kBaseDpi);
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

UINT DpiForWindow(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    // Looked up once: the function is missing before Windows 10 1607 and in older Wine.
    static const auto entry = Entry<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (entry != nullptr && window != nullptr) {
        if (const UINT dpi = entry(window); dpi != 0)
            return dpi;
    }
    return SystemDpi();
}

}  // namespace win
