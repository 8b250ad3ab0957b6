// The library's watch thread: a message-only window on a worker thread that
// notices the mouse arriving and leaving (device notifications, a poll, and a
// virtual mouse's notices), reads the input reports of real hardware, and
// posts the client's event and arrival messages. Presence changes are posted
// once each. Real hardware counts as present when its command channel opens
// (the probe, run at start-up, on the system's arrival notice and while the
// mouse is absent); while it is present a poll only checks that it is still
// listed, and a removal is posted after two failed checks in a row.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <optional>
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
    // Presence as last told to the client (false when the watch is stopped).
    bool KnownPresent() const { return running_ && known_; }

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool Setup();
    void Teardown();
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    enum class Check {
        None,   // no hardware check this time
        Poll,   // still listed (a probe while the mouse is absent)
        Probe,  // the command channel opens
    };
    std::optional<bool> CurrentPresence(Check check, bool& certain);
    void Evaluate(Check check);
    void KeepReading(bool present);
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
    PresenceCheck presence_;
    std::atomic<bool> known_{false};
    std::atomic<bool> running_{false};
    Backoff readerBackoff_;
    bool readerCapturing_ = false;
    HidDevice hid_;
    std::vector<CollectionInfo> collections_;
    InputReader reader_;
};

}  // namespace korrin
