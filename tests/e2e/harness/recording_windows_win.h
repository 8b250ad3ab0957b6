// Windows of any class the tests make to stand in for other applications
// (media players, scrollable documents): created on one thread with a
// message loop, each recording the messages other programs send or post it.
#pragma once

#include <windows.h>

#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/no_copy.h"
#include "tests/e2e/harness/harness_win.h"

namespace e2e {

struct WindowSpec {
    std::string className;  // "ScrollBar" makes the system's scroll bar (not recorded)
    std::string title;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    int x = 0, y = 0, width = 200, height = 150;
    int id = 0;  // child id
};

class RecordingWindows : NoCopy {
  public:
    RecordingWindows();
    ~RecordingWindows();

    // Null when the window could not be made.
    HWND Create(const WindowSpec& spec);
    // Messages of interest received by `hwnd` (WM_COMMAND, WM_APPCOMMAND,
    // WM_HSCROLL, keyboard messages, button clicks, WM_USER and up).
    std::vector<Received> Messages(HWND hwnd) const;
    int Count(HWND hwnd, UINT message) const;
    bool WaitFor(HWND hwnd, UINT message, int count = 1,
                 std::chrono::milliseconds timeout = kPatience) const;
    void Clear();

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Run(HANDLE ready);
    HWND CreateHere(const WindowSpec& spec);

    std::thread thread_;
    HWND control_ = nullptr;
    std::vector<HWND> created_;
    mutable std::mutex mutex_;
    std::map<HWND, std::vector<Received>> received_;
};

}  // namespace e2e
