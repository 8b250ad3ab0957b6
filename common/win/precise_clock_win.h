// The one precise clock of the programs: performance-counter time in
// microseconds, and waits that end at their deadline, never before it.
//
// A wait sleeps through the system's interval delay in 100 ns units where it
// exists (under Wine it is microsecond-precise; on Windows it follows the
// timer resolution, which TimerResolution raises to 1 ms), else through
// Sleep; its last spin window is spent polling the counter, yielding between
// polls (unless told to busy-poll) so that the other threads still run.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/win/scoped_win.h"  // TimerResolution

namespace win {

class PreciseClock {
  public:
    // Waking from a sleep costs about half a millisecond under load; the last
    // millisecond is therefore polled (measured by the runtime benchmark).
    static constexpr std::int64_t kDefaultSpinWindowUs = 1000;

    enum class SleepMethod {
        IntervalDelay,      // the interval delay where the system has it, else Sleep
        WholeMilliseconds,  // always Sleep in whole milliseconds
    };

    explicit PreciseClock(std::int64_t spinWindowUs = kDefaultSpinWindowUs,
                          bool yieldWhileSpinning = true,
                          SleepMethod method = SleepMethod::IntervalDelay);

    std::int64_t NowUs() const;
    void SleepUntilUs(std::int64_t deadlineUs) const;
    void SleepForUs(std::int64_t us) const { SleepUntilUs(NowUs() + us); }

  private:
    using DelayFunction = LONG(WINAPI*)(BOOLEAN alertable, const LARGE_INTEGER* interval);
    void SleepFor(std::int64_t us) const;

    LONGLONG frequency_ = 1;
    std::int64_t spinWindowUs_;
    bool yield_;
    DelayFunction delay_ = nullptr;
};

}  // namespace win
