// Time for the upload thread: the performance counter, and sleeps that end
// close to their deadline. A high-resolution waitable timer is used where the
// system has one; otherwise the timer period is raised to 1 ms for the life of
// the object and restored afterwards.
#pragma once

#include <windows.h>

#include "monitor/device/upload_sequence.h"

namespace device {

class PrecisePacer : public Pacer {
  public:
    enum class Timer {
        Automatic,    // the high-resolution waitable timer where the system has one
        PeriodSleep,  // always the raised timer period and Sleep
    };
    explicit PrecisePacer(Timer timer = Timer::Automatic);
    ~PrecisePacer() override;
    PrecisePacer(const PrecisePacer&) = delete;
    PrecisePacer& operator=(const PrecisePacer&) = delete;

    std::int64_t NowMicros() override;
    void SleepMicros(std::int64_t micros) override;

    bool UsesHighResolutionTimer() const { return timer_ != nullptr; }

  private:
    HANDLE timer_ = nullptr;
    bool periodRaised_ = false;
    LARGE_INTEGER frequency_{};
};

}  // namespace device
