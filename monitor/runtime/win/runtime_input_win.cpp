#include "monitor/runtime/win/runtime_input_win.h"

#include <memory>

#include "common/win/playback_priority_win.h"
#include "common/win/scoped_win.h"

namespace runtime {

namespace {

BYTE ScanCode(std::uint8_t virtualKey) {
    return static_cast<BYTE>(MapVirtualKeyA(virtualKey, 0));
}

// Precise stretches nest and run on more than one thread (the macro thread
// plays, the window thread repeats keys); each thread's priority is raised by
// its own outermost stretch and restored when that ends.
struct PreciseStretch {
    int depth = 0;
    std::unique_ptr<win::TimerResolution> resolution;
    std::unique_ptr<win::ScopedPlaybackPriority> priority;
};
thread_local PreciseStretch tlsStretch;

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

void ClockWin::BeginPrecise() {
    if (tlsStretch.depth++ == 0) {
        tlsStretch.resolution = std::make_unique<win::TimerResolution>();
        tlsStretch.priority = std::make_unique<win::ScopedPlaybackPriority>();
    }
}

void ClockWin::EndPrecise() {
    if (tlsStretch.depth > 0 && --tlsStretch.depth == 0) {
        tlsStretch.priority.reset();
        tlsStretch.resolution.reset();
    }
}

void TimerControlWin::StartTimer(unsigned id, unsigned periodMs) {
    SetTimer(window_, id, periodMs, nullptr);
}

void TimerControlWin::StopTimer(unsigned id) {
    KillTimer(window_, id);
}

}  // namespace runtime
