// Time for the upload thread: the programs' precise clock, with the system
// timer resolution raised to 1 ms for the life of the object so that sleeps
// end close to their deadline on Windows too.
#pragma once

#include "common/win/precise_clock_win.h"
#include "monitor/device/upload_sequence.h"

namespace device {

class PrecisePacer : public Pacer {
  public:
    using SleepMethod = win::PreciseClock::SleepMethod;
    explicit PrecisePacer(SleepMethod method = SleepMethod::IntervalDelay)
        : clock_(win::PreciseClock::kDefaultSpinWindowUs, true, method) {}

    std::int64_t NowMicros() override { return clock_.NowUs(); }
    void SleepMicros(std::int64_t micros) override { clock_.SleepForUs(micros); }

  private:
    win::TimerResolution resolution_;
    win::PreciseClock clock_;
};

}  // namespace device
