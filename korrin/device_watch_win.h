// The library's watch thread: a message-only window that notices the mouse
// arriving and leaving (device notifications, a poll, and a virtual mouse's
// notices), reads event reports of real hardware, and posts the client's
// event and arrival messages. Presence changes are posted once each.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "korrin/backend_win.h"
#include "korrin/korrin_core.h"

namespace korrin {

class DeviceWatch {
  public:
    ~DeviceWatch() = default;
    // Starts the thread; returns once the watch knows the present state, which
    // is taken as known to the client (no arrival is posted for it).
    bool Start(HWND client, UINT eventMessage, UINT arrivalMessage, std::uint16_t vendorId,
               std::uint16_t productId);
    void Stop();
    bool Running() const { return thread_ != nullptr; }

  private:
    static DWORD WINAPI ThreadMain(void* self);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Run();
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    bool CurrentPresence(bool refreshHardware);
    void Evaluate(bool refreshHardware);
    void StartEventRead();
    void StopEventRead();
    void OnEventReadDone();

    HWND client_ = nullptr;
    UINT eventMessage_ = 0;
    UINT arrivalMessage_ = 0;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE ready_ = nullptr;
    HWND window_ = nullptr;
    HDEVNOTIFY notify_ = nullptr;
    HWND virtualMouse_ = nullptr;
    bool hardwarePresent_ = false;
    unsigned ticks_ = 0;
    ConnectionTracker tracker_;
    HidBackend hid_;
    HANDLE eventDevice_ = INVALID_HANDLE_VALUE;
    OVERLAPPED readOverlapped_{};
    std::vector<std::uint8_t> readBuffer_;
    bool readPending_ = false;
};

}  // namespace korrin
