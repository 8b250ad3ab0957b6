// The library's watch thread: a message-only window on a worker thread that
// hears the system's device notices (interfaces of the HID class arriving and
// leaving, and handle notices for every channel and reader we hold open),
// polls, hears a virtual mouse's notices, reads the input reports of real
// hardware, and posts the client's event and arrival messages. What the
// notices mean for the client is decided by the platform-free PresenceWatch.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "common/win/scoped_win.h"
#include "common/win/worker_thread_win.h"
#include "korrin/backend_win.h"
#include "korrin/input_reader.h"
#include "korrin/presence_watch.h"

namespace korrin {

class DeviceWatch {
  public:
    // `hid` holds the client's channels: presence is that of the mouse they
    // are open on. `virtualMouse` is asked whether a notice names its channels.
    DeviceWatch(HidDevice& hid, VirtualBackend& virtualMouse);
    ~DeviceWatch();
    // Starts the thread; returns once the watch knows the present state, which
    // is taken as known to the client (no arrival is posted for it).
    bool Start(HWND client, UINT eventMessage, UINT arrivalMessage, std::uint16_t vendorId,
               std::uint16_t productId);
    void Stop();
    bool Running() const { return thread_.Running(); }
    // Presence as last told to the client (false when the watch is stopped).
    bool KnownPresent() const { return running_ && known_; }

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool Setup();
    void Teardown();
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnDeviceChange(WPARAM wParam, LPARAM lParam);
    void OnInterfaceRemoved(const std::string& path);
    enum class Check {
        None,   // no hardware check this time
        Poll,   // still listed (a probe while the mouse is absent)
        Probe,  // the command channel opens
    };
    void Evaluate(Check check);
    void KeepReading(bool present);
    void StartReading();
    // An input report of a virtual mouse, read as the description frames events.
    LRESULT OnVirtualReport(const COPYDATASTRUCT& data);
    void PostEvent(std::uint32_t code);
    void Tell(int arrived);
    // Longer than any input report a HID device may have.
    static constexpr DWORD kLargestVirtualReport = 4096;

    HidDevice& hid_;
    VirtualBackend& virtualBackend_;
    HWND client_ = nullptr;
    UINT eventMessage_ = 0;
    UINT arrivalMessage_ = 0;
    win::WorkerThread thread_;
    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    win::ScopedDeviceNotify notify_;
    HWND virtualMouse_ = nullptr;
    unsigned ticks_ = 0;
    PresenceWatch presence_;
    std::atomic<bool> known_{false};
    std::atomic<bool> running_{false};
    // Between the system's question whether the device may go and its
    // answer: nothing is opened on it meanwhile.
    bool removing_ = false;
    Backoff readerBackoff_;
    bool readerCapturing_ = false;
    InputReader reader_;
};

}  // namespace korrin
