#include "monitor/runtime/win/runtime_input_win.h"

#include <mmsystem.h>

namespace runtime {

namespace {

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

ClockWin::ClockWin(std::int64_t spinWindowUs, bool yieldWhileSpinning)
    : spinWindowUs_(spinWindowUs < 0 ? 0 : spinWindowUs), yield_(yieldWhileSpinning) {
    LARGE_INTEGER f;
    if (QueryPerformanceFrequency(&f) && f.QuadPart > 0) frequency_ = f.QuadPart;
    if (const HMODULE ntdll = GetModuleHandleA("ntdll.dll")) {
        delay_ = reinterpret_cast<DelayFunction>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "NtDelayExecution")));
    }
}

std::int64_t ClockWin::NowUs() {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    const LONGLONG seconds = c.QuadPart / frequency_;
    const LONGLONG rest = c.QuadPart % frequency_;
    return seconds * 1000000 + rest * 1000000 / frequency_;
}

void ClockWin::SleepFor(std::int64_t us) {
    if (delay_ != nullptr) {
        LARGE_INTEGER interval;
        interval.QuadPart = -us * 10;  // negative: relative, in 100 ns units
        delay_(FALSE, &interval);
        return;
    }
    const std::int64_t ms = us / 1000;
    Sleep(static_cast<DWORD>(ms < 1 ? 1 : ms));
}

void ClockWin::SleepUntilUs(std::int64_t deadlineUs) {
    for (;;) {
        const std::int64_t remaining = deadlineUs - NowUs();
        if (remaining <= 0) return;
        if (remaining > spinWindowUs_) {
            SleepFor(remaining - spinWindowUs_);
        } else if (yield_ && !SwitchToThread()) {
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
