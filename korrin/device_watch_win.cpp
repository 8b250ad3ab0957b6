#include "korrin/device_watch_win.h"

#include <dbt.h>
extern "C" {
#include <hidsdi.h>
}

#include "korrin/hid_system_win.h"
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

// The module the watch window's procedure lives in: this library, so that
// the class goes away with it and a reloaded library registers its own.
HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

}  // namespace

DeviceWatch::DeviceWatch()
    : hid_(WindowsHid(), Diagnostics()),
      reader_(WindowsHid(), Diagnostics(), [this](std::uint32_t code) { PostEvent(code); }) {}

DeviceWatch::~DeviceWatch() = default;

bool DeviceWatch::Start(HWND client, UINT eventMessage, UINT arrivalMessage, std::uint16_t vendorId,
                        std::uint16_t productId) {
    Stop();
    client_ = client;
    eventMessage_ = eventMessage;
    arrivalMessage_ = arrivalMessage;
    hid_.SetIds(vendorId, productId);
    win::WorkerThread::Hooks hooks;
    hooks.setup = [this] { return Setup(); };
    hooks.teardown = [this] { Teardown(); };
    hooks.waitables = [this] {
        std::vector<HANDLE> waits;
        for (std::uintptr_t w : reader_.Waitables()) waits.push_back(reinterpret_cast<HANDLE>(w));
        return waits;
    };
    hooks.signalled = [this] { reader_.Service(); };
    return thread_.Start(nullptr, std::move(hooks));
}

void DeviceWatch::Stop() {
    thread_.Stop();
}

LRESULT CALLBACK DeviceWatch::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<DeviceWatch*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self != nullptr)
        return self->Handle(msg, wParam, lParam);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool DeviceWatch::Setup() {
    instance_ = ThisModule();
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DeviceWatch::WindowProc;
    wc.hInstance = instance_;
    wc.lpszClassName = kWatchClass;
    RegisterClassA(&wc);  // fails harmlessly when a second watch has it already
    window_ = CreateWindowExA(0, kWatchClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_,
                              nullptr);
    if (window_ == nullptr)
        return false;
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
        StartReading();
    SetTimer(window_, kPollTimer, kPollMs, nullptr);
    return true;
}

void DeviceWatch::Teardown() {
    reader_.Stop();
    if (window_ != nullptr) {
        KillTimer(window_, kPollTimer);
        if (virtualMouse_ != nullptr && IsWindow(virtualMouse_))
            RegisterWith(virtualMouse_, window_, vdev::kOpUnregister);
    }
    virtualMouse_ = nullptr;
    if (notify_ != nullptr)
        UnregisterDeviceNotification(notify_);
    notify_ = nullptr;
    if (window_ != nullptr)
        DestroyWindow(window_);
    window_ = nullptr;
    // Fails while another watch still has a window of the class.
    UnregisterClassA(kWatchClass, instance_);
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
        hardwarePresent_ = hid_.Usable(&collections_);
    return hardwarePresent_;
}

void DeviceWatch::Evaluate(bool refreshHardware) {
    const HWND found = VirtualBackend::Find();
    if (found != virtualMouse_) {
        virtualMouse_ = found;
        if (found != nullptr) {
            RegisterWith(found, window_, vdev::kOpRegister);
            reader_.Stop();
        } else {
            refreshHardware = true;
        }
    }
    const bool present = CurrentPresence(refreshHardware);
    if (virtualMouse_ == nullptr) {
        if (present && (!reader_.Running() || reader_.Lost()))
            StartReading();
        if (!present)
            reader_.Stop();
    }
    if (const auto change = tracker_.Update(present))
        PostMessageA(client_, arrivalMessage_, static_cast<WPARAM>(*change), 0);
}

void DeviceWatch::StartReading() {
    reader_.Start(collections_);
}

void DeviceWatch::PostEvent(std::uint32_t code) {
    // Only a mouse the client knows to be present sends it events.
    if (!tracker_.Present())
        return;
    const EventParams p = EventMessageParams(code);
    PostMessageA(client_, eventMessage_, p.wParam, p.lParam);
}

}  // namespace korrin
