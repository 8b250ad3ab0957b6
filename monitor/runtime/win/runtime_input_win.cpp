#include "monitor/runtime/win/runtime_input_win.h"

#include <memory>

#include "common/win/playback_priority_win.h"
#include "common/win/scoped_win.h"
#include "monitor/runtime/win/held_input_win.h"

namespace runtime {

namespace {

BYTE ScanCode(std::uint8_t virtualKey) {
    return static_cast<BYTE>(MapVirtualKeyA(virtualKey, 0));
}

// Precise stretches nest and run on more than one thread (the macro thread
// plays, the window thread repeats keys); each thread's timer resolution and
// priority are raised by its own outermost stretch and restored when that
// ends.
struct PreciseStretch {
    win::TimerResolution resolution;
    win::ScopedPlaybackPriority priority;
};
// Plain values only: a thread-local object with a destructor makes the
// runtime delete a thread key at exit, and under winpthreads that waits for
// ever when a thread ended inside its own thread-local destructors, so
// Monitor never exited. A stretch still open when its thread ends is
// released by the system with the thread.
struct StretchState {
    int depth;
    PreciseStretch* owners;
};
thread_local StretchState tlsStretch{0, nullptr};

}  // namespace

void InputSinkWin::KeyDown(std::uint8_t virtualKey) {
    ProcessHeldInput().Key(virtualKey, false, true);
    keybd_event(virtualKey, ScanCode(virtualKey), 0, 0);
}

void InputSinkWin::KeyUp(std::uint8_t virtualKey) {
    keybd_event(virtualKey, ScanCode(virtualKey), KEYEVENTF_KEYUP, 0);
    ProcessHeldInput().Key(virtualKey, false, false);
}

void InputSinkWin::ExtendedKeyDown(std::uint8_t virtualKey) {
    ProcessHeldInput().Key(virtualKey, true, true);
    keybd_event(virtualKey, 0, KEYEVENTF_EXTENDEDKEY, 0);
}

void InputSinkWin::ExtendedKeyUp(std::uint8_t virtualKey) {
    keybd_event(virtualKey, 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
    ProcessHeldInput().Key(virtualKey, true, false);
}

void InputSinkWin::MouseButton(std::uint32_t flags, std::uint32_t data) {
    ProcessHeldInput().MouseButtons(flags, data);
    mouse_event(flags, 0, 0, data, static_cast<ULONG_PTR>(GetMessageExtraInfo()));
}

void ClockWin::BeginPrecise() {
    if (tlsStretch.depth++ == 0)
        tlsStretch.owners = std::make_unique<PreciseStretch>().release();
}

void ClockWin::EndPrecise() {
    if (tlsStretch.depth > 0 && --tlsStretch.depth == 0) {
        // Restored in the reverse order of raising: priority, then resolution.
        std::unique_ptr<PreciseStretch>(tlsStretch.owners).reset();
        tlsStretch.owners = nullptr;
    }
}

void TimerControlWin::StartTimer(unsigned id, unsigned periodMs) {
    SetTimer(window_, id, periodMs, nullptr);
}

void TimerControlWin::StopTimer(unsigned id) {
    KillTimer(window_, id);
}

}  // namespace runtime
