#include "common/win/precise_clock_win.h"

namespace win {

PreciseClock::PreciseClock(std::int64_t spinWindowUs, bool yieldWhileSpinning, SleepMethod method)
    : spinWindowUs_(spinWindowUs < 0 ? 0 : spinWindowUs), yield_(yieldWhileSpinning) {
    LARGE_INTEGER f;
    if (QueryPerformanceFrequency(&f) && f.QuadPart > 0)
        frequency_ = f.QuadPart;
    if (method != SleepMethod::IntervalDelay)
        return;
    if (const HMODULE ntdll = GetModuleHandleA("ntdll.dll")) {
        delay_ = reinterpret_cast<DelayFunction>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "NtDelayExecution")));
    }
}

std::int64_t PreciseClock::NowUs() const {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    const LONGLONG seconds = c.QuadPart / frequency_;
    const LONGLONG rest = c.QuadPart % frequency_;
    return seconds * 1000000 + rest * 1000000 / frequency_;
}

void PreciseClock::SleepFor(std::int64_t us) const {
    if (delay_ != nullptr) {
        LARGE_INTEGER interval;
        interval.QuadPart = -us * 10;  // negative: relative, in 100 ns units
        delay_(FALSE, &interval);
        return;
    }
    const std::int64_t ms = us / 1000;
    Sleep(static_cast<DWORD>(ms < 1 ? 1 : ms));
}

void PreciseClock::SleepUntilUs(std::int64_t deadlineUs) const {
    for (;;) {
        const std::int64_t remaining = deadlineUs - NowUs();
        if (remaining <= 0)
            return;
        if (remaining > spinWindowUs_) {
            SleepFor(remaining - spinWindowUs_);
        } else if (yield_ && !SwitchToThread()) {
            Sleep(0);
        }
    }
}

}  // namespace win
