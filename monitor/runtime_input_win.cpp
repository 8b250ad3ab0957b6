#include "monitor/runtime_input_win.h"

#include <mmsystem.h>

namespace runtime {

namespace {

// Waits longer than this sleep; the rest is spent yielding.
constexpr std::int64_t kSpinWindowUs = 2000;

BYTE ScanCode(std::uint8_t virtualKey) {
    return static_cast<BYTE>(MapVirtualKeyA(virtualKey, 0));
}

}  // namespace

void InputSinkWin::KeyDown(std::uint8_t virtualKey) {
    keybd_event(virtualKey, ScanCode(virtualKey), 0, 0);
}

void InputSinkWin::KeyUp(std::uint8_t virtualKey) {
    keybd_event(virtualKey, ScanCode(virtualKey), KEYEVENTF_KEYUP, 0);
}

void InputSinkWin::ExtendedKeyDown(std::uint8_t virtualKey) {
    keybd_event(virtualKey, 0, KEYEVENTF_EXTENDEDKEY, 0);
}

void InputSinkWin::ExtendedKeyUp(std::uint8_t virtualKey) {
    keybd_event(virtualKey, 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
}

void InputSinkWin::MouseButton(std::uint32_t flags, std::uint32_t data) {
    mouse_event(flags, 0, 0, data, static_cast<ULONG_PTR>(GetMessageExtraInfo()));
}

ClockWin::ClockWin() {
    LARGE_INTEGER f;
    if (QueryPerformanceFrequency(&f) && f.QuadPart > 0) frequency_ = f.QuadPart;
}

std::int64_t ClockWin::NowUs() {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    const LONGLONG seconds = c.QuadPart / frequency_;
    const LONGLONG rest = c.QuadPart % frequency_;
    return seconds * 1000000 + rest * 1000000 / frequency_;
}

void ClockWin::SleepUntilUs(std::int64_t deadlineUs) {
    for (;;) {
        const std::int64_t remaining = deadlineUs - NowUs();
        if (remaining <= 0) return;
        if (remaining >= kSpinWindowUs + 1000) {
            Sleep(static_cast<DWORD>((remaining - kSpinWindowUs) / 1000));
        } else if (!SwitchToThread()) {
            Sleep(0);
        }
    }
}

void ClockWin::BeginPrecise() { timeBeginPeriod(1); }

void ClockWin::EndPrecise() { timeEndPeriod(1); }

void TimerControlWin::StartTimer(unsigned id, unsigned periodMs) {
    SetTimer(window_, id, periodMs, nullptr);
}

void TimerControlWin::StopTimer(unsigned id) { KillTimer(window_, id); }

}  // namespace runtime
