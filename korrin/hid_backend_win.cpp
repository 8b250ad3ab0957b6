#include <windows.h>

extern "C" {
#include <hidsdi.h>
}
#include <setupapi.h>

#include <algorithm>
#include <vector>

#include "korrin/backend_win.h"

namespace korrin {

namespace {

constexpr DWORD kWriteTimeoutMs = 1000;
constexpr DWORD kReadTimeoutMs = 100;
constexpr std::uint8_t kReportId = 0;

bool ReadCaps(const std::string& path, InterfaceCaps& out) {
    // No access rights are needed to read the capabilities, and asking for
    // none works on interfaces that the system keeps open (mouse input).
    HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    PHIDP_PREPARSED_DATA data = nullptr;
    bool ok = false;
    if (HidD_GetPreparsedData(h, &data)) {
        HIDP_CAPS caps;
        if (HidP_GetCaps(data, &caps) == HIDP_STATUS_SUCCESS) {
            out.usagePage = caps.UsagePage;
            out.usage = caps.Usage;
            out.inputLength = caps.InputReportByteLength;
            out.outputLength = caps.OutputReportByteLength;
            out.featureLength = caps.FeatureReportByteLength;
            ok = true;
        }
        HidD_FreePreparsedData(data);
    }
    CloseHandle(h);
    return ok;
}

HANDLE OpenPath(const std::string& path, DWORD flags) {
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags, nullptr);
}

void CloseHandleIfOpen(HANDLE& h) {
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
}

// One overlapped transfer with a time limit; bytes moved, or -1.
long Overlapped(HANDLE h, bool write, void* buffer, DWORD length, DWORD timeoutMs) {
    OVERLAPPED ov{};
    ov.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (ov.hEvent == nullptr)
        return -1;
    DWORD moved = 0;
    BOOL ok = write ? WriteFile(h, buffer, length, &moved, &ov)
                    : ReadFile(h, buffer, length, &moved, &ov);
    if (!ok && GetLastError() == ERROR_IO_PENDING) {
        if (WaitForSingleObject(ov.hEvent, timeoutMs) != WAIT_OBJECT_0)
            CancelIo(h);
        ok = GetOverlappedResult(h, &ov, &moved, TRUE);
    }
    CloseHandle(ov.hEvent);
    return ok ? static_cast<long>(moved) : -1;
}

}  // namespace

HidBackend::~HidBackend() {
    CloseFeature();
    CloseReport();
}

void HidBackend::SetIds(std::uint16_t vendorId, std::uint16_t productId) {
    vendorId_ = vendorId;
    productId_ = productId;
}

std::vector<HidBackend::Interface> HidBackend::Enumerate() const {
    std::vector<Interface> found;
    GUID hidGuid;
    HidD_GetHidGuid(&hidGuid);
    HDEVINFO set =
        SetupDiGetClassDevsA(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return found;
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
        if (!SetupDiGetDeviceInterfaceDetailA(set, &itf, detail, needed, nullptr, nullptr))
            continue;
        Interface entry;
        entry.path = detail->DevicePath;
        if (!MatchesDevice(entry.path, vendorId_, productId_))
            continue;
        if (!ReadCaps(entry.path, entry.caps))
            continue;
        found.push_back(entry);
    }
    SetupDiDestroyDeviceInfoList(set);
    return found;
}

bool HidBackend::Present() {
    return !Enumerate().empty();
}

bool HidBackend::OpenFeature() {
    CloseFeature();
    for (const Interface& itf : Enumerate()) {
        if (!RolesFor(itf.caps).feature)
            continue;
        feature_ = OpenPath(itf.path, 0);
        if (feature_ == INVALID_HANDLE_VALUE)
            continue;
        featureLength_ = itf.caps.featureLength;
        return true;
    }
    return false;
}

void HidBackend::CloseFeature() {
    CloseHandleIfOpen(feature_);
}

bool HidBackend::OpenReport() {
    CloseReport();
    for (const Interface& itf : Enumerate()) {
        if (!RolesFor(itf.caps).output)
            continue;
        report_ = OpenPath(itf.path, FILE_FLAG_OVERLAPPED);
        if (report_ == INVALID_HANDLE_VALUE)
            continue;
        outputLength_ = itf.caps.outputLength;
        inputLength_ = itf.caps.inputLength;
        return true;
    }
    return false;
}

void HidBackend::CloseReport() {
    CloseHandleIfOpen(report_);
}

int HidBackend::SetFeature(const unsigned char* data, int length) {
    if (feature_ == INVALID_HANDLE_VALUE || data == nullptr || length <= 0)
        return 0;
    auto frame = FrameReport(kReportId, {data, static_cast<std::size_t>(length)}, featureLength_);
    if (frame.empty())
        return 0;
    return HidD_SetFeature(feature_, frame.data(), static_cast<ULONG>(frame.size())) ? 1 : 0;
}

int HidBackend::GetFeature(unsigned char* data, int length) {
    if (feature_ == INVALID_HANDLE_VALUE || data == nullptr || length <= 0)
        return 0;
    std::vector<std::uint8_t> frame(featureLength_, 0);
    if (frame.size() < 2 ||
        !HidD_GetFeature(feature_, frame.data(), static_cast<ULONG>(frame.size())))
        return 0;
    const std::size_t n = std::min(frame.size() - 1, static_cast<std::size_t>(length));
    std::copy_n(frame.begin() + 1, n, data);
    return 1;
}

int HidBackend::Write(const unsigned char* data, int length) {
    if (report_ == INVALID_HANDLE_VALUE || data == nullptr || length <= 0)
        return 0;
    auto frame = FrameReport(kReportId, {data, static_cast<std::size_t>(length)}, outputLength_);
    if (frame.empty())
        return 0;
    const long moved =
        Overlapped(report_, true, frame.data(), static_cast<DWORD>(frame.size()), kWriteTimeoutMs);
    return moved == static_cast<long>(frame.size()) ? 1 : 0;
}

int HidBackend::Read(unsigned char* data, int length) {
    if (report_ == INVALID_HANDLE_VALUE || data == nullptr || length <= 0 || inputLength_ < 2)
        return 0;
    std::vector<std::uint8_t> frame(inputLength_, 0);
    const long moved =
        Overlapped(report_, false, frame.data(), static_cast<DWORD>(frame.size()), kReadTimeoutMs);
    if (moved <= 1)
        return 0;
    const std::size_t n =
        std::min(static_cast<std::size_t>(moved) - 1, static_cast<std::size_t>(length));
    std::copy_n(frame.begin() + 1, n, data);
    return 1;
}

HANDLE HidBackend::OpenEventInterface(std::uint16_t& inputLength) const {
    for (const Interface& itf : Enumerate()) {
        if (!RolesFor(itf.caps).events)
            continue;
        HANDLE h = OpenPath(itf.path, FILE_FLAG_OVERLAPPED);
        if (h == INVALID_HANDLE_VALUE)
            continue;
        inputLength = itf.caps.inputLength;
        return h;
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace korrin
