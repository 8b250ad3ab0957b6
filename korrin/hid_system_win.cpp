#include "common/win/wide_text_win.h"
#include "korrin/hid_system_win.h"

#include <windows.h>

// clang-format off
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}
#include <winioctl.h>
#include <hidclass.h>
#include <setupapi.h>
#include <cfgmgr32.h>
#include <dbt.h>
// clang-format on

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

#include "common/win/scoped_win.h"
#include "korrin/report_caps.h"

namespace korrin {

namespace {

class PreparsedData {
  public:
    explicit PreparsedData(HANDLE device) {
        if (!HidD_GetPreparsedData(device, &data_))
            data_ = nullptr;
    }
    ~PreparsedData() {
        if (data_ != nullptr)
            HidD_FreePreparsedData(data_);
    }
    PreparsedData(const PreparsedData&) = delete;
    PreparsedData& operator=(const PreparsedData&) = delete;
    PHIDP_PREPARSED_DATA Get() const { return data_; }

  private:
    PHIDP_PREPARSED_DATA data_ = nullptr;
};

// The caps of one kind (value or button) of one report type, in the
// system's order.
template <typename Caps, typename Getter>
std::vector<Caps> CapsOf(PHIDP_PREPARSED_DATA data, HIDP_REPORT_TYPE type, USHORT count,
                         Getter get) {
    std::vector<Caps> caps(count);
    USHORT n = count;
    if (count == 0 || get(type, caps.data(), &n, data) != HIDP_STATUS_SUCCESS)
        return {};
    caps.resize(std::min<std::size_t>(n, caps.size()));
    return caps;
}

// What value and button caps have alike.
template <typename Caps>
ReportCap CommonCap(const Caps& c, ReportType type) {
    ReportCap cap;
    cap.type = type;
    cap.reportId = c.ReportID;
    cap.usagePage = c.UsagePage;
    cap.isRange = c.IsRange != FALSE;
    cap.usageMin = c.IsRange ? c.Range.UsageMin : c.NotRange.Usage;
    cap.usageMax = c.IsRange ? c.Range.UsageMax : c.NotRange.Usage;
    cap.isAlias = c.IsAlias != FALSE;
    return cap;
}

// Every value and button cap of one report type, as the system gives them.
void AddCaps(PHIDP_PREPARSED_DATA data, HIDP_REPORT_TYPE type, ReportType ours, USHORT valueCaps,
             USHORT buttonCaps, std::vector<ReportCap>& out) {
    for (const HIDP_VALUE_CAPS& c :
         CapsOf<HIDP_VALUE_CAPS>(data, type, valueCaps, HidP_GetValueCaps)) {
        ReportCap cap = CommonCap(c, ours);
        cap.bitSize = c.BitSize;
        cap.reportCount = c.ReportCount;
        out.push_back(cap);
    }
    for (const HIDP_BUTTON_CAPS& c :
         CapsOf<HIDP_BUTTON_CAPS>(data, type, buttonCaps, HidP_GetButtonCaps)) {
        ReportCap cap = CommonCap(c, ours);
        // One bit per usage.
        cap.button = true;
        cap.bitSize = 1;
        cap.reportCount = static_cast<std::uint16_t>(cap.usageMax - cap.usageMin + 1);
        out.push_back(cap);
    }
}

// A string the device gives in UTF-16 (product, manufacturer), as UTF-8.
template <typename Getter>
std::string DeviceString(HANDLE device, Getter get) {
    // The USB limit for a string descriptor is 126 characters.
    wchar_t text[128] = {};
    if (!get(device, text, sizeof text - sizeof(wchar_t)))
        return {};
    return win::Narrow(text, CP_UTF8);
}

// The hardware ids of a REG_MULTI_SZ list, "; " between them.
std::string JoinedIds(const char* ids) {
    std::string out;
    for (const char* id = ids; *id != '\0'; id += std::strlen(id) + 1) {
        if (!out.empty())
            out += "; ";
        out += id;
    }
    return out;
}

// "HID_DEVICE_UP:FF00_U:0001" among a collection's hardware ids names its usage.
std::optional<Usage> UsageFromHardwareIds(const char* ids) {
    for (const char* id = ids; *id != '\0'; id += std::strlen(id) + 1) {
        unsigned page = 0, usage = 0;
        const char* up = std::strstr(id, "UP:");
        if (up != nullptr && std::sscanf(up, "UP:%4x_U:%4x", &page, &usage) == 2)
            return Usage{static_cast<std::uint16_t>(page), static_cast<std::uint16_t>(usage)};
    }
    return std::nullopt;
}

class WinHidHandle final : public HidHandle {
  public:
    explicit WinHidHandle(HANDLE file) : file_(file) {
        io_ = std::make_unique<Io>();
        io_->done.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        abort_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    }
    ~WinHidHandle() override {
        const bool pending = pending_;
        file_.Reset();  // closing the last handle cancels what is still under way
        if (pending && WaitForSingleObject(io_->done.Get(), 200) != WAIT_OBJECT_0)
            io_.release();  // the system may still write into it: never freed
    }
    bool Valid() const { return file_.Valid() && io_->done.Valid() && abort_.Valid(); }

    bool Begin(TransferKind kind, std::vector<std::uint8_t> report) override {
        if (pending_ || report.empty())
            return false;
        io_->buffer = std::move(report);
        io_->received = 0;
        ResetEvent(io_->done.Get());
        io_->overlapped = OVERLAPPED{};
        io_->overlapped.hEvent = io_->done.Get();
        auto* data = io_->buffer.data();
        const auto size = static_cast<DWORD>(io_->buffer.size());
        BOOL ok = FALSE;
        switch (kind) {
            case TransferKind::SetFeature:
                // What HidD_SetFeature does, but overlapped, so it can time out.
                ok = DeviceIoControl(file_.Get(), IOCTL_HID_SET_FEATURE, data, size, nullptr, 0,
                                     nullptr, &io_->overlapped);
                break;
            case TransferKind::SetOutput:
                // What HidD_SetOutputReport does, likewise.
                ok = DeviceIoControl(file_.Get(), IOCTL_HID_SET_OUTPUT_REPORT, data, size, nullptr,
                                     0, nullptr, &io_->overlapped);
                break;
            case TransferKind::GetFeature:
                ok = DeviceIoControl(file_.Get(), IOCTL_HID_GET_FEATURE, data, size, data, size,
                                     nullptr, &io_->overlapped);
                break;
            case TransferKind::Output:
                ok = WriteFile(file_.Get(), data, size, nullptr, &io_->overlapped);
                break;
            case TransferKind::Input:
                ok = ReadFile(file_.Get(), data, size, nullptr, &io_->overlapped);
                break;
        }
        if (!ok && GetLastError() != ERROR_IO_PENDING) {
            error_ = GetLastError();
            return false;
        }
        pending_ = true;  // done or not, the event tells
        return true;
    }

    WaitResult Wait(std::uint32_t timeoutMs, bool abortable) override {
        const HANDLE waits[2] = {io_->done.Get(), abort_.Get()};
        const DWORD r = WaitForMultipleObjects(abortable ? 2 : 1, waits, FALSE, timeoutMs);
        if (r == WAIT_OBJECT_0)
            return WaitResult::Done;
        return r == WAIT_OBJECT_0 + 1 ? WaitResult::Aborted : WaitResult::TimedOut;
    }

    void Cancel() override {
        // Only this transfer: CancelIo would take every transfer the calling
        // thread began on the file, and none begun on another thread.
        if (pending_)
            CancelIoEx(file_.Get(), &io_->overlapped);
    }

    std::optional<std::size_t> Finish() override {
        DWORD moved = 0;
        const BOOL ok = GetOverlappedResult(file_.Get(), &io_->overlapped, &moved, FALSE);
        if (!ok && GetLastError() == ERROR_IO_INCOMPLETE)
            return std::nullopt;
        pending_ = false;
        if (!ok) {
            error_ = GetLastError();
            return std::nullopt;
        }
        io_->received = moved;
        return moved;
    }

    std::span<const std::uint8_t> Received() const override {
        return {io_->buffer.data(), std::min<std::size_t>(io_->received, io_->buffer.size())};
    }

    std::uint32_t Error() const override { return error_; }

    void Abort() override { SetEvent(abort_.Get()); }

    HANDLE File() const { return file_.Get(); }

    std::uintptr_t Waitable() const override {
        return reinterpret_cast<std::uintptr_t>(io_->done.Get());
    }

  private:
    // What the system may still touch while a transfer is under way.
    struct Io {
        OVERLAPPED overlapped{};
        win::ScopedHandle done;
        std::vector<std::uint8_t> buffer;
        std::size_t received = 0;
    };
    win::ScopedFileHandle file_;
    std::unique_ptr<Io> io_;
    win::ScopedHandle abort_;
    bool pending_ = false;
    DWORD error_ = 0;
};

// Which path each handle notice was asked for: the notice names only the
// registration, and its handle may be closed by the time it comes.
class NoticeRegistry {
  public:
    void SetWindow(HWND window) {
        std::lock_guard<std::mutex> guard(lock_);
        window_ = window;
    }
    HWND Window() {
        std::lock_guard<std::mutex> guard(lock_);
        return window_;
    }
    void Add(HDEVNOTIFY notify, const std::string& path) {
        std::lock_guard<std::mutex> guard(lock_);
        paths_[notify] = path;
    }
    void Remove(HDEVNOTIFY notify) {
        std::lock_guard<std::mutex> guard(lock_);
        paths_.erase(notify);
    }
    std::string PathOf(HDEVNOTIFY notify) {
        std::lock_guard<std::mutex> guard(lock_);
        const auto it = paths_.find(notify);
        return it == paths_.end() ? std::string() : it->second;
    }

  private:
    std::mutex lock_;
    HWND window_ = nullptr;
    std::map<HDEVNOTIFY, std::string> paths_;
};

NoticeRegistry& Notices() {
    static NoticeRegistry registry;
    return registry;
}

class WinRemovalNotice final : public RemovalNotice {
  public:
    WinRemovalNotice(HDEVNOTIFY notify, const std::string& path) : notify_(notify) {
        Notices().Add(notify, path);
    }
    ~WinRemovalNotice() override { Notices().Remove(notify_.Get()); }

  private:
    win::ScopedDeviceNotify notify_;
};

std::string Narrow(const wchar_t* text) {
    return win::Narrow(text, CP_ACP);
}

// What the physical device of a HID interface is known by: its container id
// (every function of one device shares it), else the USB device above the
// collection and its interface. Empty when the system says neither (Wine,
// other buses): the path stands in then.
std::string DeviceKeyOf(HDEVINFO set, SP_DEVINFO_DATA& node) {
    static const DEVPROPKEY kContainerId = {
        {0x8c7ed206, 0x3f8a, 0x4827, {0xb3, 0xab, 0xae, 0x9e, 0x1f, 0xae, 0xfc, 0x6c}}, 2};
    // The container of devices that are part of the computer itself.
    static const GUID kNoContainer = {
        0x00000000, 0x0000, 0x0000, {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff}};
    DEVPROPTYPE type = 0;
    GUID container{};
    if (SetupDiGetDevicePropertyW(set, &node, &kContainerId, &type,
                                  reinterpret_cast<BYTE*>(&container), sizeof container, nullptr,
                                  0) &&
        type == DEVPROP_TYPE_GUID && !IsEqualGUID(container, kNoContainer) &&
        !IsEqualGUID(container, GUID{})) {
        char text[64];
        std::snprintf(
            text, sizeof text, "container {%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
            static_cast<unsigned long>(container.Data1), container.Data2, container.Data3,
            container.Data4[0], container.Data4[1], container.Data4[2], container.Data4[3],
            container.Data4[4], container.Data4[5], container.Data4[6], container.Data4[7]);
        return text;
    }
    DEVINST at = node.DevInst;
    for (int level = 0; level < 3; ++level) {
        DEVINST parent = 0;
        if (CM_Get_Parent(&parent, at, 0) != CR_SUCCESS)
            return {};
        wchar_t id[MAX_DEVICE_ID_LEN] = {};
        if (CM_Get_Device_IDW(parent, id, MAX_DEVICE_ID_LEN, 0) != CR_SUCCESS)
            return {};
        std::string text = Narrow(id);
        std::string upper = text;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        // A composite device's interface sits between the collection and the
        // device: go one further up.
        if (upper.rfind("USB\\", 0) == 0 && upper.find("&MI_") == std::string::npos)
            return "parent " + text;
        at = parent;
    }
    return {};
}

class WinHidSystem final : public HidSystem {
  public:
    std::vector<InterfaceEntry> Interfaces() override {
        std::vector<InterfaceEntry> entries;
        GUID hidGuid;
        HidD_GetHidGuid(&hidGuid);
        const win::ScopedDeviceInfoSet owned(SetupDiGetClassDevsA(
            &hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
        if (!owned)
            return entries;
        const HDEVINFO set = owned.Get();
        SP_DEVICE_INTERFACE_DATA itf;
        itf.cbSize = sizeof itf;
        for (DWORD i = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &hidGuid, i, &itf); ++i) {
            DWORD needed = 0;
            SetupDiGetDeviceInterfaceDetailA(set, &itf, nullptr, 0, &needed, nullptr);
            if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A))
                continue;
            std::vector<char> storage(needed);
            auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(storage.data());
            detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
            SP_DEVINFO_DATA node{};
            node.cbSize = sizeof node;
            if (!SetupDiGetDeviceInterfaceDetailA(set, &itf, detail, needed, nullptr, &node))
                continue;
            InterfaceEntry entry{detail->DevicePath, std::nullopt, DeviceKeyOf(set, node), {}};
            // The collection's hardware ids, read without opening it.
            char ids[1024] = {};
            if (SetupDiGetDeviceRegistryPropertyA(set, &node, SPDRP_HARDWAREID, nullptr,
                                                  reinterpret_cast<BYTE*>(ids), sizeof ids - 2,
                                                  nullptr)) {
                entry.usage = UsageFromHardwareIds(ids);
                entry.hardwareIds = JoinedIds(ids);
            }
            entries.push_back(std::move(entry));
        }
        return entries;
    }

    std::optional<CollectionInfo> Describe(const std::string& path) override {
        // No access rights are needed to read the capabilities, and asking for
        // none works on collections that the system keeps open (mouse input).
        win::ScopedFileHandle device(CreateFileA(path.c_str(), 0,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                 OPEN_EXISTING, 0, nullptr));
        if (!device)
            return std::nullopt;
        CollectionInfo info;
        info.path = path;
        HIDD_ATTRIBUTES attributes{};
        attributes.Size = sizeof attributes;
        if (HidD_GetAttributes(device.Get(), &attributes)) {
            info.vendorId = attributes.VendorID;
            info.productId = attributes.ProductID;
            info.version = attributes.VersionNumber;
        }
        info.product = DeviceString(device.Get(), HidD_GetProductString);
        info.manufacturer = DeviceString(device.Get(), HidD_GetManufacturerString);
        const PreparsedData data(device.Get());
        HIDP_CAPS caps;
        if (data.Get() == nullptr || HidP_GetCaps(data.Get(), &caps) != HIDP_STATUS_SUCCESS)
            return std::nullopt;
        info.usagePage = caps.UsagePage;
        info.usage = caps.Usage;
        AddCaps(data.Get(), HidP_Input, ReportType::Input, caps.NumberInputValueCaps,
                caps.NumberInputButtonCaps, info.caps);
        AddCaps(data.Get(), HidP_Output, ReportType::Output, caps.NumberOutputValueCaps,
                caps.NumberOutputButtonCaps, info.caps);
        AddCaps(data.Get(), HidP_Feature, ReportType::Feature, caps.NumberFeatureValueCaps,
                caps.NumberFeatureButtonCaps, info.caps);
        info.input = {caps.InputReportByteLength,
                      DeclaredLengths(info.caps, ReportType::Input, caps.InputReportByteLength)};
        info.output = {caps.OutputReportByteLength,
                       DeclaredLengths(info.caps, ReportType::Output, caps.OutputReportByteLength)};
        info.feature = {
            caps.FeatureReportByteLength,
            DeclaredLengths(info.caps, ReportType::Feature, caps.FeatureReportByteLength)};
        return info;
    }

    OpenResult Open(const std::string& path, Access access) override {
        const DWORD rights = access == Access::ReadWrite ? GENERIC_READ | GENERIC_WRITE
                             : access == Access::Read    ? GENERIC_READ
                                                         : 0;
        HANDLE file = CreateFileA(path.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return {nullptr, GetLastError()};
        auto handle = std::make_unique<WinHidHandle>(file);
        if (!handle->Valid())
            return {nullptr, GetLastError()};
        return {std::move(handle), 0};
    }

    std::unique_ptr<RemovalNotice> WatchRemoval(HidHandle& handle,
                                                const std::string& path) override {
        const HWND window = Notices().Window();
        if (window == nullptr)
            return nullptr;
        // Every handle of this system is one of ours.
        DEV_BROADCAST_HANDLE filter{};
        filter.dbch_size = sizeof filter;
        filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
        filter.dbch_handle = static_cast<WinHidHandle&>(handle).File();
        const HDEVNOTIFY notify =
            RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
        if (notify == nullptr)
            return nullptr;
        return std::make_unique<WinRemovalNotice>(notify, path);
    }

    std::uint64_t NowMs() override { return GetTickCount64(); }
};

}  // namespace

HidSystem& WindowsHid() {
    static WinHidSystem system;
    return system;
}

void SetRemovalWindow(HWND window) {
    Notices().SetWindow(window);
}

std::string PathOfRemovalNotice(HDEVNOTIFY notify) {
    return Notices().PathOf(notify);
}

std::string NarrowText(const wchar_t* text) {
    return Narrow(text);
}

}  // namespace korrin
