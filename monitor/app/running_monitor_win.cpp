#include "monitor/app/running_monitor_win.h"

#include "common/protocol.h"

namespace monitor {

namespace {

constexpr DWORD kPollMs = 100;

bool OtherMonitorWindowExists(HWND self) {
    // Our own window already carries the title while it is being created.
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, nullptr, protocol::kMonitorTitle)) != nullptr) {
        if (window != self)
            return true;
    }
    return false;
}

}  // namespace

bool OtherMonitorWindowAppears(HWND self, DWORD waitMs) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (OtherMonitorWindowExists(self))
            return true;
        if (GetTickCount64() - start >= waitMs)
            return false;
        Sleep(kPollMs);
    }
}

}  // namespace monitor
