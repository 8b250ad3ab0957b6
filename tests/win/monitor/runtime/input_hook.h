// Records synthesised input through low-level keyboard and mouse hooks that
// run on their own thread (the hooks are called through that thread's
// message loop). Installed last, so it sees events first and passes them on.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

#include "tests/e2e/harness/wait_until_win.h"

namespace runtime::test {

struct HookedEvent {
    bool keyboard;
    WPARAM message;  // WM_KEYDOWN, WM_LBUTTONUP, ...
    DWORD code;      // virtual key, or mouseData for mouse events
    DWORD scanCode;
    DWORD flags;
    std::int64_t us;  // performance counter time when the hook saw it
};

class InputHook {
  public:
    InputHook();
    ~InputHook();
    bool Installed() const { return installed_; }
    // Waits until at least count events arrived or the time-out passed; the
    // events so far either way.
    std::vector<HookedEvent> WaitFor(std::size_t count,
                                     std::chrono::milliseconds timeout = e2e::kPatience);
    std::vector<HookedEvent> Events();
    void Clear();

  private:
    static DWORD WINAPI ThreadMain(LPVOID self);
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam);
    void Add(const HookedEvent& e);

    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE ready_ = nullptr;
    bool installed_ = false;
    std::mutex mutex_;
    std::vector<HookedEvent> events_;
};

}  // namespace runtime::test
