#include <cstdio>
#include <string>

#include "korrin/backend_win.h"
#include "korrin/hid_system_win.h"
#include "korrin/virtual_device_protocol.h"
#include "korrin/virtual_report.h"

namespace korrin {

namespace {

// How the capture names this path, in place of a device path.
const std::string kVirtualPath =
    std::string("virtual mouse (window class ") + vdev::kWindowClass + ")";

bool Opened(const char* role, LRESULT result) {
    Diagnostics().Line(std::string(role) + " channel: " + kVirtualPath +
                       (result == 1 ? ", opened" : ", not plugged"));
    return result == 1;
}

// Sends one report as `op` and records it with its outcome and time.
int SendReport(Role role, const char* what, std::uint32_t op, const unsigned char* data,
               int length) {
    const std::uint64_t began = GetTickCount64();
    const LRESULT result = VirtualBackend::Request(VirtualBackend::Find(), op, data,
                                                   static_cast<std::uint32_t>(length));
    const std::span<const std::uint8_t> bytes{data, static_cast<std::size_t>(length)};
    Diagnostics().Sent(role, std::string(what) + " to " + kVirtualPath, bytes, bytes,
                       std::string(result == 1 ? "sent" : "failed") + ", " +
                           std::to_string(GetTickCount64() - began) + " ms");
    return static_cast<int>(result);
}

}  // namespace

HWND VirtualBackend::Find() {
    return FindWindowA(vdev::kWindowClass, nullptr);
}

LRESULT VirtualBackend::Request(HWND window, std::uint32_t op, const void* payload,
                                std::uint32_t size) {
    if (window == nullptr)
        return 0;
    COPYDATASTRUCT cds;
    cds.dwData = op;
    cds.cbData = size;
    cds.lpData = const_cast<void*>(payload);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds),
                             SMTO_ABORTIFHUNG, vdev::kRequestTimeoutMs, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

LRESULT VirtualBackend::Send(std::uint32_t op, const void* payload, std::uint32_t size) {
    return Request(Find(), op, payload, size);
}

void VirtualBackend::SetIds(std::uint16_t vendorId, std::uint16_t productId) {
    vendorId_ = vendorId;
    productId_ = productId;
    const std::uint16_t ids[2] = {vendorId, productId};
    Send(vdev::kOpSetVidPid, ids, sizeof ids);
}

bool VirtualBackend::Present() {
    return Send(vdev::kOpQueryPlugged) == 1;
}
bool VirtualBackend::OpenFeature() {
    featureOpen_ = Opened("feature", Send(vdev::kOpOpenFeature));
    return featureOpen_;
}
void VirtualBackend::CloseFeature() {
    featureOpen_ = false;
    Send(vdev::kOpCloseFeature);
}
bool VirtualBackend::OpenReport() {
    reportOpen_ = Opened("output", Send(vdev::kOpOpenReport));
    return reportOpen_;
}
void VirtualBackend::CloseReport() {
    reportOpen_ = false;
    Send(vdev::kOpCloseReport);
}

bool VirtualBackend::OwnsPath(const std::string& path) {
    if (!featureOpen_ && !reportOpen_)
        return false;
    char own[160];
    std::snprintf(own, sizeof own, vdev::kDevicePathFormat, vendorId_.load(), productId_.load());
    return lstrcmpiA(own, path.c_str()) == 0;
}

int VirtualBackend::SetFeature(const unsigned char* data, int length) {
    if (data == nullptr || length <= 0)
        return 0;
    return SendReport(Role::Command, "feature report", vdev::kOpSetFeature, data, length);
}

int VirtualBackend::Write(const unsigned char* data, int length) {
    if (data == nullptr || length <= 0)
        return 0;
    return SendReport(Role::Chunk, "output report", vdev::kOpWrite, data, length);
}

int VirtualBackend::GetFeature(unsigned char*, int) {
    return static_cast<int>(Send(vdev::kOpGetFeature));
}
int VirtualBackend::Read(unsigned char*, int) {
    return static_cast<int>(Send(vdev::kOpRead));
}

}  // namespace korrin

namespace korrin {

std::string VirtualBackend::Report() {
    char ids[64];
    std::snprintf(ids, sizeof ids, "vid %04X pid %04X", vendorId_.load(), productId_.load());
    std::string channels = kVirtualPath + " for " + ids + "\r\n";
    channels += Present() ? "plugged\r\n" : "unplugged\r\n";
    channels += "command channel: " + kVirtualPath + ", feature reports of 8 bytes\r\n";
    channels += "chunk channel: " + kVirtualPath + ", output reports of 64 bytes\r\n";
    // The virtual mouse's report reads back, like a real mouse's, into the
    // layout it stands for; the description frames its events as a real
    // mouse's.
    return VirtualMouseReport(DescriptionInUse(), vendorId_.load(), productId_.load(), channels);
}

}  // namespace korrin
