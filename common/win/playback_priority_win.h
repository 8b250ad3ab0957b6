// The calling thread raised for time-critical playback (a macro, a repeating
// key) for the life of the object and put back when it ends: a busy machine
// (a game) otherwise delays the thread's wake-ups by whole scheduler slices.
// Where the system has multimedia class scheduling (avrt.dll, loaded only when
// present) the thread also joins its "Games" task. Create and destroy it on the
// same thread.
#pragma once

#include <windows.h>

#include "common/no_copy.h"
#include "common/win/scoped_win.h"

namespace win {

class ScopedPlaybackPriority : NoCopy {
  public:
    ScopedPlaybackPriority();
    ~ScopedPlaybackPriority();

    // The thread's priority was raised (and will be restored).
    bool Raised() const { return raised_; }
    // The thread joined a multimedia scheduling task.
    bool InMultimediaTask() const { return task_ != nullptr; }

  private:
    using RevertFunction = BOOL(WINAPI*)(HANDLE task);

    int previous_ = THREAD_PRIORITY_NORMAL;
    bool raised_ = false;
    ScopedModule avrt_;
    HANDLE task_ = nullptr;
    RevertFunction revert_ = nullptr;
};

}  // namespace win
