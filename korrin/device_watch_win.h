// The library's watch thread: a message-only window on a worker thread that
// notices the mouse arriving and leaving (device notifications, a poll, and a
// virtual mouse's notices), reads the input reports of real hardware, and
// posts the client's event and arrival messages. Presence changes are posted
// once each; real hardware counts as present only when its output channel can
// be opened, which is what the client needs to talk to it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "common/win/worker_thread_win.h"
#include "korrin/backend_win.h"
#include "korrin/input_reader.h"
#include "korrin/korrin_core.h"

namespace korrin {

class DeviceWatch {
  public:
    DeviceWatch();
    ~DeviceWatch();
    // Starts the thread; returns once the watch knows the present state, which
    // is taken as known to the client (no arrival is posted for it).
    bool Start(HWND client, UINT eventMessage, UINT arrivalMessage, std::uint16_t vendorId,
               std::uint16_t productId);
    void Stop();
    bool Running() const { return thread_.Running(); }

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool Setup();
    void Teardown();
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    bool CurrentPresence(bool refreshHardware);
    void Evaluate(bool refreshHardware);
    void StartReading();
    void PostEvent(std::uint32_t code);

    HWND client_ = nullptr;
    UINT eventMessage_ = 0;
    UINT arrivalMessage_ = 0;
    win::WorkerThread thread_;
    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    HDEVNOTIFY notify_ = nullptr;
    HWND virtualMouse_ = nullptr;
    bool hardwarePresent_ = false;
    unsigned ticks_ = 0;
    ConnectionTracker tracker_;
    HidDevice hid_;
    std::vector<CollectionInfo> collections_;
    InputReader reader_;
};

}  // namespace korrin
