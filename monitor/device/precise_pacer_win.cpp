#include "monitor/device/precise_pacer_win.h"

#include <mmsystem.h>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace device {

namespace {
constexpr std::int64_t kYieldBelowUs = 2000;
}  // namespace

PrecisePacer::PrecisePacer(Timer timer) {
    QueryPerformanceFrequency(&frequency_);
    if (timer == Timer::Automatic)
        timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                        TIMER_ALL_ACCESS);
    if (timer_ == nullptr)
        periodRaised_ = timeBeginPeriod(1) == TIMERR_NOERROR;
}

PrecisePacer::~PrecisePacer() {
    if (timer_ != nullptr)
        CloseHandle(timer_);
    if (periodRaised_)
        timeEndPeriod(1);
}

std::int64_t PrecisePacer::NowMicros() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const std::int64_t ticks = now.QuadPart;
    const std::int64_t freq = frequency_.QuadPart;
    return ticks / freq * 1'000'000 + ticks % freq * 1'000'000 / freq;
}

void PrecisePacer::SleepMicros(std::int64_t micros) {
    if (micros <= 0)
        return;
    // Wake-ups come up to a few ms late: sleep short of the deadline and
    // yield through the last stretch (the caller loops until its deadline).
    if (micros <= kYieldBelowUs) {
        Sleep(0);
        return;
    }
    micros -= kYieldBelowUs;
    if (timer_ != nullptr) {
        LARGE_INTEGER due;
        due.QuadPart = -micros * 10;  // relative, in 100 ns units
        if (SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE) &&
            WaitForSingleObject(timer_, INFINITE) == WAIT_OBJECT_0)
            return;
    }
    // Sleep resolution is 1 ms at best: sleep whole milliseconds while more
    // than one remains, and yield for the last fraction.
    if (micros >= 1000)
        Sleep(static_cast<DWORD>(micros / 1000));
    else
        Sleep(0);
}

}  // namespace device
