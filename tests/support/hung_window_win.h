// A top-level window whose thread stops pumping messages as soon as the
// window exists, until the test lets it go: a program that hung.
#pragma once

#include <windows.h>

#include <thread>

#include "common/no_copy.h"
#include "common/win/scoped_win.h"

namespace testsupport {

class HungWindow : NoCopy {
  public:
    HungWindow(const char* className, const char* title)
        : className_(className), release_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        win::ScopedHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        thread_ = std::thread([this, className, title, &ready] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = &DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = className;
            RegisterClassA(&wc);
            hwnd_ = CreateWindowA(className, title, WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                  wc.hInstance, nullptr);
            SetEvent(ready.Get());
            WaitForSingleObject(release_.Get(), INFINITE);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            DestroyWindow(hwnd_);
        });
        WaitForSingleObject(ready.Get(), INFINITE);
    }
    ~HungWindow() {
        Release();
        // Other tests of the same program may register the class with their
        // own window procedure.
        UnregisterClassA(className_, GetModuleHandleA(nullptr));
    }

    void Release() {
        SetEvent(release_.Get());
        if (thread_.joinable())
            thread_.join();
    }
    HWND Hwnd() const { return hwnd_; }

  private:
    const char* className_;
    win::ScopedHandle release_;
    HWND hwnd_ = nullptr;
    std::thread thread_;
};

}  // namespace testsupport
