// Synthesised input as every program sees it: low-level keyboard and mouse
// hooks on a thread of their own. Hooks run newest first; ours always passes
// the event on, so it never hides input from a hook installed before it.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/no_copy.h"
#include "tests/e2e/harness/wait_until_win.h"

namespace e2e {

struct InputEvent {
    bool mouse = false;
    UINT message = 0;     // WM_KEYDOWN/WM_KEYUP/WM_SYSKEY*, WM_xBUTTONDOWN/UP, WM_MOUSEMOVE
    DWORD vk = 0;         // keyboard: virtual key as reported
    DWORD scan = 0;       // keyboard: scan code
    DWORD flags = 0;      // LLKHF_* / LLMHF_*
    DWORD mouseData = 0;  // mouse: high word carries the X button
    POINT point{};        // mouse: screen position
    std::int64_t microseconds = 0;  // performance counter when the hook saw it

    bool KeyUp() const { return !mouse && (message == WM_KEYUP || message == WM_SYSKEYUP); }
    bool KeyDown() const { return !mouse && (message == WM_KEYDOWN || message == WM_SYSKEYDOWN); }
};

// Left/right Shift, Ctrl and Alt reported as the side-less keys.
DWORD SidelessKey(DWORD vk);

class InputRecorder : NoCopy {
  public:
    // Installs both hooks; only one recorder may exist at a time.
    InputRecorder();
    ~InputRecorder();

    bool Installed() const { return installed_; }
    std::vector<InputEvent> Events() const;
    std::vector<InputEvent> Keys() const;          // keyboard only
    std::vector<InputEvent> MouseButtons() const;  // mouse without moves and wheel
    void Clear();
    // Waits until `condition` holds for the events so far.
    bool WaitFor(const std::function<bool(const std::vector<InputEvent>&)>& condition,
                 std::chrono::milliseconds timeout = kPatience) const;
    // Called on every recorded event (on the hook thread); keep it short.
    void SetObserver(std::function<void(const InputEvent&)> observer);

  private:
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam);
    void Run(HANDLE ready);
    void Record(const InputEvent& event);

    std::thread thread_;
    DWORD threadId_ = 0;
    bool installed_ = false;
    mutable std::mutex mutex_;
    std::vector<InputEvent> events_;
    std::function<void(const InputEvent&)> observer_;
};

// Down/up of one key in the recorded order: "+41" for a press of 0x41, "-41"
// for its release (side-less modifiers), for compact comparisons.
std::vector<std::string> KeyTrace(const std::vector<InputEvent>& events);

}  // namespace e2e
