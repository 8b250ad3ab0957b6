// A worker thread with its own message queue. Start returns only after the
// queue exists, so a message posted right after start is never lost.
//
// Thread messages go to the handler; messages addressed to windows created on
// the thread are dispatched to them. Optional hooks let a thread own windows
// and other objects for its whole life: `setup` runs on the thread before
// Start returns (its result is Start's), `teardown` runs on the thread after
// the loop has ended, and `waitables` / `signalled` let the loop wait on
// objects (transfers under way) besides its queue.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "common/win/scoped_win.h"

namespace win {

class WorkerThread {
  public:
    using Handler = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

    struct Hooks {
        // On the new thread, before Start returns; false ends the thread and
        // makes Start report false. Teardown runs whenever setup ran.
        std::function<bool()> setup;
        std::function<void()> teardown;
        // Asked before every wait: objects to wait on besides the queue (at
        // most MAXIMUM_WAIT_OBJECTS - 1). `signalled` runs on the thread when
        // one of them is set; it must consume what set it.
        std::function<std::vector<HANDLE>()> waitables;
        std::function<void()> signalled;
    };

    WorkerThread() = default;
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    bool Start(Handler handler, Hooks hooks = {});
    bool Post(UINT message, WPARAM wParam, LPARAM lParam) const;
    // Ends the message loop and waits for the thread without time-out.
    void Stop();
    bool Running() const { return thread_.Valid(); }
    DWORD Id() const { return id_; }

  private:
    static DWORD WINAPI Main(void* self);
    void Loop();

    Handler handler_;
    Hooks hooks_;
    ScopedHandle thread_;
    ScopedHandle ready_;
    bool setupOk_ = false;
    DWORD id_ = 0;
};

}  // namespace win
