#include "korrin/device_watch_win.h"

#include <dbt.h>
extern "C" {
#include <hidsdi.h>
}

#include "korrin/virtual_device_protocol.h"

namespace korrin {

namespace {

constexpr const char* kWatchClass = "KorrinDeviceWatch";
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 500;
// Hardware enumeration is slower than a window lookup: every fourth poll, and
// at once on a device notification.
constexpr unsigned kHardwarePollEvery = 4;

void RegisterWith(HWND virtualMouse, HWND watch, std::uint32_t op) {
    const std::uint64_t handle = reinterpret_cast<std::uintptr_t>(watch);
    VirtualBackend::Request(virtualMouse, op, &handle, sizeof handle);
}

}  // namespace

bool DeviceWatch::Start(HWND client, UINT eventMessage, UINT arrivalMessage, std::uint16_t vendorId,
                        std::uint16_t productId) {
    Stop();
    client_ = client;
    eventMessage_ = eventMessage;
    arrivalMessage_ = arrivalMessage;
    hid_.SetIds(vendorId, productId);
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (ready_ == nullptr)
        return false;
    thread_ = CreateThread(nullptr, 0, &DeviceWatch::ThreadMain, this, 0, &threadId_);
    if (thread_ == nullptr) {
        CloseHandle(ready_);
        ready_ = nullptr;
        return false;
    }
    HANDLE both[2] = {ready_, thread_};
    WaitForMultipleObjects(2, both, FALSE, INFINITE);
    CloseHandle(ready_);
    ready_ = nullptr;
    return window_ != nullptr;
}

void DeviceWatch::Stop() {
    if (thread_ == nullptr)
        return;
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
    threadId_ = 0;
}

DWORD WINAPI DeviceWatch::ThreadMain(void* self) {
    static_cast<DeviceWatch*>(self)->Run();
    return 0;
}

LRESULT CALLBACK DeviceWatch::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<DeviceWatch*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self != nullptr)
        return self->Handle(msg, wParam, lParam);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void DeviceWatch::Run() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DeviceWatch::WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWatchClass;
    RegisterClassA(&wc);  // fails harmlessly when already registered
    window_ = CreateWindowExA(0, kWatchClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
    if (window_ == nullptr) {
        SetEvent(ready_);
        return;
    }
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    DEV_BROADCAST_DEVICEINTERFACE_A filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    HidD_GetHidGuid(&filter.dbcc_classguid);
    notify_ = RegisterDeviceNotificationA(window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);

    virtualMouse_ = VirtualBackend::Find();
    if (virtualMouse_ != nullptr)
        RegisterWith(virtualMouse_, window_, vdev::kOpRegister);
    tracker_.Reset(CurrentPresence(true));
    if (virtualMouse_ == nullptr && hardwarePresent_)
        StartEventRead();
    SetTimer(window_, kPollTimer, kPollMs, nullptr);
    SetEvent(ready_);

    for (;;) {
        HANDLE waits[1] = {readOverlapped_.hEvent};
        const DWORD count = readPending_ ? 1 : 0;
        const DWORD r = MsgWaitForMultipleObjects(count, waits, FALSE, INFINITE, QS_ALLINPUT);
        if (count == 1 && r == WAIT_OBJECT_0) {
            OnEventReadDone();
            continue;
        }
        MSG msg;
        bool quit = false;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                break;
            }
            DispatchMessageA(&msg);
        }
        if (quit)
            break;
    }

    KillTimer(window_, kPollTimer);
    StopEventRead();
    if (virtualMouse_ != nullptr && IsWindow(virtualMouse_))
        RegisterWith(virtualMouse_, window_, vdev::kOpUnregister);
    virtualMouse_ = nullptr;
    if (notify_ != nullptr)
        UnregisterDeviceNotification(notify_);
    notify_ = nullptr;
    DestroyWindow(window_);
    window_ = nullptr;
}

LRESULT DeviceWatch::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_TIMER:
            if (wParam == kPollTimer)
                Evaluate(++ticks_ % kHardwarePollEvery == 0);
            return 0;
        case WM_DEVICECHANGE:
            if (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE)
                Evaluate(true);
            return TRUE;
        case vdev::kNoticePresence:
            Evaluate(false);
            return 0;
        case vdev::kNoticeEvent: {
            // Events of a virtual mouse that is no longer the active one are stale.
            if (virtualMouse_ == nullptr || !tracker_.Present())
                return 0;
            const std::uint32_t code = (static_cast<std::uint32_t>(wParam & 0xFFFF) << 16) |
                                       static_cast<std::uint32_t>(lParam & 0xFFFF);
            const EventParams p = EventMessageParams(code);
            PostMessageA(client_, eventMessage_, p.wParam, p.lParam);
            return 0;
        }
        default:
            return DefWindowProcA(window_, msg, wParam, lParam);
    }
}

bool DeviceWatch::CurrentPresence(bool refreshHardware) {
    if (virtualMouse_ != nullptr)
        return VirtualBackend::Request(virtualMouse_, vdev::kOpQueryPlugged, nullptr, 0) == 1;
    if (refreshHardware)
        hardwarePresent_ = hid_.Present();
    return hardwarePresent_;
}

void DeviceWatch::Evaluate(bool refreshHardware) {
    const HWND found = VirtualBackend::Find();
    if (found != virtualMouse_) {
        virtualMouse_ = found;
        if (found != nullptr) {
            RegisterWith(found, window_, vdev::kOpRegister);
            StopEventRead();
        } else {
            refreshHardware = true;
        }
    }
    const bool present = CurrentPresence(refreshHardware);
    if (virtualMouse_ == nullptr) {
        if (present && !readPending_)
            StartEventRead();
        if (!present)
            StopEventRead();
    }
    if (const auto change = tracker_.Update(present))
        PostMessageA(client_, arrivalMessage_, static_cast<WPARAM>(*change), 0);
}

void DeviceWatch::StartEventRead() {
    if (readPending_)
        return;
    if (eventDevice_ == INVALID_HANDLE_VALUE) {
        std::uint16_t length = 0;
        eventDevice_ = hid_.OpenEventInterface(length);
        if (eventDevice_ == INVALID_HANDLE_VALUE)
            return;
        readBuffer_.assign(length, 0);
    }
    if (readOverlapped_.hEvent == nullptr)
        readOverlapped_.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (readOverlapped_.hEvent == nullptr)
        return;
    ResetEvent(readOverlapped_.hEvent);
    DWORD got = 0;
    if (ReadFile(eventDevice_, readBuffer_.data(), static_cast<DWORD>(readBuffer_.size()), &got,
                 &readOverlapped_) ||
        GetLastError() == ERROR_IO_PENDING) {
        readPending_ = true;  // completion (immediate or later) signals the event
    } else {
        CloseHandle(eventDevice_);
        eventDevice_ = INVALID_HANDLE_VALUE;
    }
}

void DeviceWatch::StopEventRead() {
    if (eventDevice_ != INVALID_HANDLE_VALUE) {
        if (readPending_) {
            CancelIo(eventDevice_);
            DWORD got = 0;
            GetOverlappedResult(eventDevice_, &readOverlapped_, &got, TRUE);
        }
        CloseHandle(eventDevice_);
        eventDevice_ = INVALID_HANDLE_VALUE;
    }
    readPending_ = false;
    if (readOverlapped_.hEvent != nullptr)
        CloseHandle(readOverlapped_.hEvent);
    readOverlapped_ = OVERLAPPED{};
}

void DeviceWatch::OnEventReadDone() {
    DWORD got = 0;
    readPending_ = false;
    if (!GetOverlappedResult(eventDevice_, &readOverlapped_, &got, FALSE)) {
        // The interface went away; the next poll reopens it if the mouse is back.
        StopEventRead();
        return;
    }
    const auto code = DecodeEventReport({readBuffer_.data(), got});
    if (code && tracker_.Present()) {
        const EventParams p = EventMessageParams(*code);
        PostMessageA(client_, eventMessage_, p.wParam, p.lParam);
    }
    StartEventRead();
}

}  // namespace korrin
