// Win32 adapters of the runtime seams: synthesised input, the clock, window
// timers and the debugger output.
#pragma once

#include <windows.h>

#include "common/win/precise_clock_win.h"
#include "monitor/runtime/runtime_ports.h"

namespace runtime {

// keybd_event / mouse_event, as the system's own input.
class InputSinkWin final : public InputSink {
  public:
    void KeyDown(std::uint8_t virtualKey) override;
    void KeyUp(std::uint8_t virtualKey) override;
    void ExtendedKeyDown(std::uint8_t virtualKey) override;
    void ExtendedKeyUp(std::uint8_t virtualKey) override;
    void MouseButton(std::uint32_t flags, std::uint32_t data) override;
};

// The runtime's clock: the programs' precise clock. BeginPrecise raises the
// system timer resolution to 1 ms and the calling thread's priority until the
// matching EndPrecise (on the same thread).
class ClockWin final : public Clock {
  public:
    static constexpr std::int64_t kDefaultSpinWindowUs = win::PreciseClock::kDefaultSpinWindowUs;
    explicit ClockWin(std::int64_t spinWindowUs = kDefaultSpinWindowUs,
                      bool yieldWhileSpinning = true)
        : clock_(spinWindowUs, yieldWhileSpinning) {}
    std::int64_t NowUs() override { return clock_.NowUs(); }
    void SleepUntilUs(std::int64_t deadlineUs) override { clock_.SleepUntilUs(deadlineUs); }
    void BeginPrecise() override;
    void EndPrecise() override;

  private:
    win::PreciseClock clock_;
};

class TimerControlWin final : public TimerControl {
  public:
    explicit TimerControlWin(HWND window) : window_(window) {}
    void SetWindow(HWND window) { window_ = window; }
    void StartTimer(unsigned id, unsigned periodMs) override;
    void StopTimer(unsigned id) override;

  private:
    HWND window_;
};

class DebugOutputWin final : public DebugOutput {
  public:
    void Write(const char* text) override { OutputDebugStringA(text); }
};

}  // namespace runtime
