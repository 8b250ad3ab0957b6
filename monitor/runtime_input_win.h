// Win32 adapters of the runtime seams: synthesised input, the clock, window
// timers and the debugger output.
#pragma once

#include <windows.h>

#include "monitor/runtime_ports.h"

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

// Performance counter time. Waits sleep in 1 ms steps while far from the
// deadline and yield for the last stretch, so a wait overshoots its deadline
// by well under a millisecond when the system is not loaded. BeginPrecise
// raises the system timer resolution to 1 ms until the matching EndPrecise.
class ClockWin final : public Clock {
public:
    ClockWin();
    std::int64_t NowUs() override;
    void SleepUntilUs(std::int64_t deadlineUs) override;
    void BeginPrecise() override;
    void EndPrecise() override;

private:
    LONGLONG frequency_ = 1;
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
