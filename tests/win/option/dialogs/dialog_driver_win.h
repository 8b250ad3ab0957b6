// Runs one of Option's modal dialogs on its own thread, over an owner window
// of that thread, and drives it from the test's thread as a user would: real
// mouse clicks on its controls and real keystrokes through the system's
// input queue (so the key capture hook sees them).
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "common/no_copy.h"

namespace dialogtest {

class DialogRun : NoCopy {
  public:
    DialogRun() = default;
    ~DialogRun();

    // Creates the owner window on a new thread and calls `run` with it there;
    // what `run` returns is Result() once Finished().
    void Start(std::function<bool(HWND owner)> run);
    // The dialog window titled `title`, once it is shown (null on time-out).
    HWND WaitForDialog(const char* title);
    // Start, then WaitForDialog.
    HWND Show(std::function<bool(HWND owner)> run, const char* title);
    HWND Owner() const { return owner_.load(); }
    // Waits for `run` to return.
    bool WaitFinished();
    bool Result() const { return result_.load(); }

  private:
    std::thread thread_;
    std::atomic<HWND> owner_{nullptr};
    std::atomic<bool> finished_{false};
    std::atomic<bool> result_{false};
};

// A visible top-level window of `thread` titled `title` (other than `except`).
HWND FindThreadWindow(DWORD thread, const char* title, HWND except = nullptr);

// Mouse: moves onto the middle of `control` (onto `screenPoint`) and clicks.
// The window is visible, enabled and the active foreground window, so real
// input reaches it.
bool ReadyForInput(HWND window);
void Click(HWND control);
// The control holding the keyboard focus in the thread of `window`.
HWND FocusOfThreadOf(HWND window);
// A left press and release posted to the control itself, not through the
// system's input routing.
void PressDirectly(HWND control);
void ClickAt(POINT screenPoint);
// Keyboard: one key down or up; a press and release; text as typed characters.
void KeyDown(WORD virtualKey);
void KeyUp(WORD virtualKey);
void Tap(WORD virtualKey);
void Type(const std::string& text);

std::string TextOf(HWND window);
HWND Item(HWND dialog, int id);
// The centres of both windows' rectangles are within a pixel of each other.
bool CentredOn(HWND window, HWND over);

// Saves the screen area of `window` into the artefacts folder as name.bmp
// (nothing when the run names no artefacts folder).
void Screenshot(HWND window, const std::string& name);

}  // namespace dialogtest
