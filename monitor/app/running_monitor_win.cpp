#include "monitor/app/running_monitor_win.h"

#include "common/protocol.h"

namespace monitor {

namespace {

constexpr DWORD kPollMs = 100;

HWND OtherMonitorWindow(HWND self) {
    // Our own window already carries the title while it is being created.
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, nullptr, protocol::kMonitorTitle)) != nullptr) {
        if (window != self)
            return window;
    }
    return nullptr;
}

HWND WaitForOtherMonitorWindow(HWND self, DWORD waitMs) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (HWND window = OtherMonitorWindow(self))
            return window;
        if (GetTickCount64() - start >= waitMs)
            return nullptr;
        Sleep(kPollMs);
    }
}

}  // namespace

bool OtherMonitorWindowAppears(HWND self, DWORD waitMs) {
    return WaitForOtherMonitorWindow(self, waitMs) != nullptr;
}

HWND RunningMonitorWindow(DWORD waitMs) {
    return WaitForOtherMonitorWindow(nullptr, waitMs);
}

}  // namespace monitor
