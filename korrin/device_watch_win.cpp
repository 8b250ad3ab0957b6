#include "korrin/device_watch_win.h"

#include <dbt.h>

#include <cstddef>
#include <cstdio>
#include <cwchar>
#include <string>
extern "C" {
#include <hidsdi.h>
}

#include "korrin/hid_system_win.h"
#include "korrin/virtual_device_protocol.h"

namespace korrin {

namespace {

constexpr const wchar_t* kWatchClassW = L"KorrinDeviceWatch";
// Posted from a sending thread: a stale handle worked again once reopened.
constexpr UINT kNoticeReplugged = WM_APP + 1;
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

DeviceWatch::DeviceWatch(HidDevice& hid, VirtualBackend& virtualMouse)
    : hid_(hid),
      virtualBackend_(virtualMouse),
      presence_(hid, [this](int arrived) { Tell(arrived); }),
      reader_(
          WindowsHid(), Diagnostics(), [this](std::uint32_t code) { PostEvent(code); },
          Timeouts{}.cancelGraceMs, DescriptionInUse().description.event) {}

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
    auto* self = reinterpret_cast<DeviceWatch*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr)
        return self->Handle(msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool DeviceWatch::Setup() {
    instance_ = ThisModule();
    WNDCLASSW wc{};
    wc.lpfnWndProc = &DeviceWatch::WindowProc;
    wc.hInstance = instance_;
    wc.lpszClassName = kWatchClassW;
    RegisterClassW(&wc);  // fails harmlessly when a second watch has it already
    window_ = CreateWindowExW(0, kWatchClassW, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_,
                              nullptr);
    if (window_ == nullptr)
        return false;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    HidD_GetHidGuid(&filter.dbcc_classguid);
    notify_.Reset(RegisterDeviceNotificationW(window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
    // Every channel and reader opened from now on asks for its handle notices here.
    SetRemovalWindow(window_);
    const HWND watch = window_;
    hid_.SetReplugHandler([watch] { PostMessageW(watch, kNoticeReplugged, 0, 0); });

    virtualMouse_ = VirtualBackend::Find();
    if (virtualMouse_ != nullptr) {
        RegisterWith(virtualMouse_, window_, vdev::kOpRegister);
        presence_.Reset(VirtualBackend::Request(virtualMouse_, vdev::kOpQueryPlugged, nullptr, 0) ==
                        1);
    } else {
        presence_.Start();
        if (presence_.HardwarePresent())
            KeepReading(true);
    }
    known_ = presence_.Present();
    SetTimer(window_, kPollTimer, kPollMs, nullptr);
    return true;
}

void DeviceWatch::Teardown() {
    reader_.Stop();
    hid_.SetReplugHandler(nullptr);
    SetRemovalWindow(nullptr);
    if (window_ != nullptr) {
        KillTimer(window_, kPollTimer);
        if (virtualMouse_ != nullptr && IsWindow(virtualMouse_))
            RegisterWith(virtualMouse_, window_, vdev::kOpUnregister);
    }
    virtualMouse_ = nullptr;
    notify_.Reset();
    if (window_ != nullptr)
        DestroyWindow(window_);
    window_ = nullptr;
    // Fails while another watch still has a window of the class.
    UnregisterClassW(kWatchClassW, instance_);
}

LRESULT DeviceWatch::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_TIMER:
            if (wParam == kPollTimer) {
                // A mouse missed once is checked again at the next tick.
                const bool missed = presence_.Present() && !presence_.HardwarePresent();
                Evaluate(++ticks_ % kHardwarePollEvery == 0 || missed ? Check::Poll : Check::None);
            }
            return 0;
        case WM_DEVICECHANGE:
            return OnDeviceChange(wParam, lParam);
        case kNoticeReplugged:
            presence_.Replugged();
            return 0;
        case WM_COPYDATA:
            return OnVirtualReport(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        default:
            return DefWindowProcW(window_, msg, wParam, lParam);
    }
}

LRESULT DeviceWatch::OnDeviceChange(WPARAM wParam, LPARAM lParam) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    if (header == nullptr || header->dbch_size < sizeof(DEV_BROADCAST_HDR))
        return TRUE;
    if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
        if (wParam == DBT_DEVICEARRIVAL) {
            Evaluate(Check::Probe);
        } else if (wParam == DBT_DEVICEREMOVECOMPLETE) {
            // The name is terminated within the size the header states.
            const auto* itf = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(lParam);
            const std::size_t room =
                header->dbch_size > offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name)
                    ? (header->dbch_size - offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name)) /
                          sizeof(wchar_t)
                    : 0;
            const std::wstring name(itf->dbcc_name, wcsnlen(itf->dbcc_name, room));
            OnInterfaceRemoved(NarrowText(name.c_str()));
        }
        return TRUE;
    }
    if (header->dbch_devicetype != DBT_DEVTYP_HANDLE ||
        header->dbch_size < sizeof(DEV_BROADCAST_HANDLE))
        return TRUE;
    const auto* notice = reinterpret_cast<const DEV_BROADCAST_HANDLE*>(lParam);
    const std::string path = PathOfRemovalNotice(notice->dbch_hdevnotify);
    if (path.empty())
        return TRUE;
    switch (wParam) {
        case DBT_DEVICEQUERYREMOVE:
            // Nothing of ours may keep the device: the reads end, the channels
            // close, and all say yes.
            removing_ = true;
            reader_.Stop();
            presence_.QueryRemove(path);
            break;
        case DBT_DEVICEQUERYREMOVEFAILED:
            removing_ = false;
            presence_.RemoveCancelled(path);
            KeepReading(presence_.HardwarePresent());
            break;
        case DBT_DEVICEREMOVEPENDING:
        case DBT_DEVICEREMOVECOMPLETE:
            removing_ = false;
            reader_.Stop();
            presence_.RemoveComplete(path);
            break;
        default:
            break;
    }
    return TRUE;
}

void DeviceWatch::OnInterfaceRemoved(const std::string& path) {
    const bool ours =
        virtualMouse_ != nullptr ? virtualBackend_.OwnsPath(path) : hid_.OwnsPath(path);
    Diagnostics().Line("removal notice for " + path +
                       (ours ? ": a channel of ours, the mouse has gone" : ": checked"));
    if (virtualMouse_ == nullptr) {
        presence_.InterfaceRemoved(path);
        KeepReading(presence_.HardwarePresent());
        return;
    }
    if (ours)
        presence_.RemovedForSure();
    else
        Evaluate(Check::None);
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
    if (virtualMouse_ != nullptr) {
        // A virtual mouse says whether it is plugged; no need to ask twice.
        presence_.Seen(
            VirtualBackend::Request(virtualMouse_, vdev::kOpQueryPlugged, nullptr, 0) == 1, true);
        return;
    }
    if (check == Check::Probe)
        presence_.InterfaceArrived();
    else if (check == Check::Poll)
        presence_.Poll();
    KeepReading(presence_.HardwarePresent());
}

void DeviceWatch::Tell(int arrived) {
    known_ = arrived == 1;
    if (arrived == 1)
        Diagnostics().Arrived();
    // Every change of presence the client hears of, for the device report.
    Diagnostics().Line(arrived == 1 ? "presence: arrival told to the client"
                                    : "presence: removal told to the client");
    PostMessageW(client_, arrivalMessage_, static_cast<WPARAM>(arrived), 0);
}

void DeviceWatch::KeepReading(bool present) {
    if (!present) {
        reader_.Stop();
        return;
    }
    if (removing_)
        return;
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
    reader_.Start(presence_.Collections());
}

LRESULT DeviceWatch::OnVirtualReport(const COPYDATASTRUCT& data) {
    // Another process's memory: only what the structure says it holds.
    if (data.dwData != vdev::kNoticeEventReport || data.lpData == nullptr || data.cbData == 0 ||
        data.cbData > kLargestVirtualReport)
        return FALSE;
    const std::span<const std::uint8_t> report{static_cast<const std::uint8_t*>(data.lpData),
                                               data.cbData};
    const auto code = DecodeEvent(DescriptionInUse().description.event, report);
    char outcome[32] = "not an event";
    if (code)
        std::snprintf(outcome, sizeof outcome, "event %08X", static_cast<unsigned>(*code));
    Diagnostics().Report("input virtual mouse", report, outcome);
    // Events of a virtual mouse that is no longer the active one are stale.
    if (code && virtualMouse_ != nullptr)
        PostEvent(*code);
    return TRUE;
}

void DeviceWatch::PostEvent(std::uint32_t code) {
    // Only a mouse the client knows to be present sends it events.
    if (!presence_.Present())
        return;
    const EventParams p = EventMessageParams(code);
    PostMessageW(client_, eventMessage_, p.wParam, p.lParam);
}

}  // namespace korrin
