#include "tests/e2e/harness/wait_until_win.h"

#include <windows.h>

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD kPollMs = 20;

void DispatchPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Sleeps at most `kPollMs`, waking early when a message for this thread arrives.
void Nap() {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        DispatchPending();
        if (condition())
            return true;
        if (Clock::now() >= deadline)
            return false;
        Nap();
    }
}

void ObserveFor(std::chrono::milliseconds window) {
    const auto end = Clock::now() + window;
    do {
        DispatchPending();
        Nap();
    } while (Clock::now() < end);
    DispatchPending();
}

std::int64_t NowMicroseconds() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<std::int64_t>(now.QuadPart / frequency * 1000000 +
                                     now.QuadPart % frequency * 1000000 / frequency);
}

}  // namespace e2e
