// Monitor's window hears of sleep and wake-up and of its session's changes
// (lock, unlock, the console taken away and given back). Both registrations
// are looked up at run time, so that a system without them still runs
// Monitor (it then hears only the broadcast power messages), and are undone
// when the window shuts down.
#pragma once

#include <windows.h>

#include "common/win/scoped_win.h"

namespace monitor {

struct SuspendResumeTraits {
    static HANDLE Empty() { return nullptr; }
    static bool Close(HANDLE registration);
};

struct SessionRegistrationTraits {
    static HWND Empty() { return nullptr; }
    static bool Close(HWND window);
};

class SessionNotices {
  public:
    SessionNotices() = default;
    SessionNotices(const SessionNotices&) = delete;
    SessionNotices& operator=(const SessionNotices&) = delete;

    // Registers `window` for both kinds of notice, each where the system has it.
    void Register(HWND window);
    // Undoes both registrations; also done on destruction.
    void Unregister();
    bool HearsSessions() const { return session_.Valid(); }

    // Whether this process runs in the session that has the console (the
    // keyboard, screen and mouse of the computer). True when the system
    // cannot tell.
    static bool AtConsole();

  private:
    win::ScopedModule wtsapi_;
    // After the module: undone before the module goes.
    win::ScopedOwner<HWND, SessionRegistrationTraits> session_;
    win::ScopedOwner<HANDLE, SuspendResumeTraits> suspendResume_;
};

}  // namespace monitor
