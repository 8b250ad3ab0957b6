// Win32 adapters of the runtime seams: synthesised input, the clock, window
// timers and the debugger output.
#pragma once

#include <windows.h>

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

// Performance counter time. Waits sleep through the system's interval delay
// in 100 ns units where it exists (under Wine it is a microsecond-precise
// sleep), else through Sleep; the last spinWindowUs of a wait can be spent
// polling the counter instead. BeginPrecise raises the system timer
// resolution to 1 ms until the matching EndPrecise.
class ClockWin final : public Clock {
public:
    // Waking from a sleep costs about half a millisecond under load; the last
    // millisecond is therefore polled, yielding between polls so the other
    // threads still run (measured by the runtime benchmark).
    static constexpr std::int64_t kDefaultSpinWindowUs = 1000;
    explicit ClockWin(std::int64_t spinWindowUs = kDefaultSpinWindowUs,
                      bool yieldWhileSpinning = true);
    std::int64_t NowUs() override;
    void SleepUntilUs(std::int64_t deadlineUs) override;
    void BeginPrecise() override;
    void EndPrecise() override;

private:
    using DelayFunction = LONG(WINAPI*)(BOOLEAN alertable, const LARGE_INTEGER* interval);
    void SleepFor(std::int64_t us);

    LONGLONG frequency_ = 1;
    std::int64_t spinWindowUs_;
    bool yield_;
    DelayFunction delay_ = nullptr;
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
