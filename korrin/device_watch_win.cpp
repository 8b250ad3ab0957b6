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
    : hid_(WindowsHid(), Diagnostics(), RememberedChoices()),
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
    running_ = thread_.Start(nullptr, std::move(hooks));
    return running_;
}

void DeviceWatch::Stop() {
    running_ = false;
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
    bool certain = false;
    presence_.Reset(CurrentPresence(Check::Probe, certain).value_or(false));
    known_ = presence_.Present();
    if (virtualMouse_ == nullptr && hardwarePresent_)
        KeepReading(true);
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
            if (wParam == kPollTimer) {
                // A mouse missed once is checked again at the next tick.
                const bool missed = presence_.Present() && !hardwarePresent_;
                Evaluate(++ticks_ % kHardwarePollEvery == 0 || missed ? Check::Poll : Check::None);
            }
            return 0;
        case WM_DEVICECHANGE:
            if (wParam == DBT_DEVICEARRIVAL)
                Evaluate(Check::Probe);
            else if (wParam == DBT_DEVICEREMOVECOMPLETE)
                Evaluate(Check::Poll);
            return TRUE;
        case vdev::kNoticePresence:
            Evaluate(Check::None);
            return 0;
        case vdev::kNoticeEvent: {
            // Events of a virtual mouse that is no longer the active one are stale.
            if (virtualMouse_ == nullptr || !presence_.Present())
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

std::optional<bool> DeviceWatch::CurrentPresence(Check check, bool& certain) {
    certain = false;
    if (virtualMouse_ != nullptr) {
        // A virtual mouse says whether it is plugged; no need to ask twice.
        certain = true;
        return VirtualBackend::Request(virtualMouse_, vdev::kOpQueryPlugged, nullptr, 0) == 1;
    }
    if (check == Check::None)
        return std::nullopt;
    // The read/write probe only when the mouse may have arrived; a mouse in
    // use is only looked for in the listing, which opens nothing another
    // program could be refused for.
    if (check == Check::Probe || !presence_.Present())
        hardwarePresent_ = hid_.Probe(&collections_);
    else
        hardwarePresent_ = hid_.Listed(&collections_);
    return hardwarePresent_;
}

void DeviceWatch::Evaluate(Check check) {
    const HWND found = VirtualBackend::Find();
    if (found != virtualMouse_) {
        virtualMouse_ = found;
        if (found != nullptr) {
            RegisterWith(found, window_, vdev::kOpRegister);
            reader_.Stop();
        } else {
            check = Check::Probe;
        }
    }
    bool certain = false;
    const std::optional<bool> present = CurrentPresence(check, certain);
    if (virtualMouse_ == nullptr)
        KeepReading(hardwarePresent_);
    if (!present)
        return;
    if (const auto change = presence_.Update(*present, certain)) {
        known_ = *change == 1;
        if (*change == 1)
            Diagnostics().Arrived();
        PostMessageA(client_, arrivalMessage_, static_cast<WPARAM>(*change), 0);
    }
}

void DeviceWatch::KeepReading(bool present) {
    if (!present) {
        reader_.Stop();
        return;
    }
    // A capture started or ended: the collections read for it change.
    const bool capturing = Diagnostics().Recording();
    const bool stale = reader_.Running() && capturing != readerCapturing_;
    if (reader_.Running() && !reader_.Lost() && !stale)
        return;
    // A reader that keeps failing is restarted ever more slowly.
    if (reader_.Took())
        readerBackoff_.Worked();
    const std::uint64_t now = WindowsHid().NowMs();
    if (!stale && !readerBackoff_.Due(now))
        return;
    readerBackoff_.Failed(now);
    StartReading();
}

void DeviceWatch::StartReading() {
    readerCapturing_ = Diagnostics().Recording();
    reader_.Start(collections_);
}

void DeviceWatch::PostEvent(std::uint32_t code) {
    // Only a mouse the client knows to be present sends it events.
    if (!presence_.Present())
        return;
    const EventParams p = EventMessageParams(code);
    PostMessageA(client_, eventMessage_, p.wParam, p.lParam);
}

}  // namespace korrin
