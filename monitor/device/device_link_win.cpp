#include "monitor/device/device_link_win.h"

#include <algorithm>
#include <cstring>

#include "common/protocol.h"
#include "common/win/wide_text_win.h"

namespace device {

namespace {

// The device report lists every interface with its report ids and caps, and
// the library's recent lines: tens of KB for any mouse; the capture path is a
// file path.
constexpr int kDeviceReportMax = 256 * 1024;
constexpr int kPathMax = 1024;

template <class Fn>
bool Resolve(HMODULE module, const char* name, Fn& out) {
    out = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return out != nullptr;
}

}  // namespace

DeviceLink::~DeviceLink() {
    Unbind();
}

bool DeviceLink::Bind(const std::string& programFolder) {
    Unbind();
    const std::string path = programFolder + kLibraryName;
    HMODULE module = LoadLibraryW(win::Wide(path).c_str());
    if (module == nullptr)
        return false;
    const bool all =
        Resolve(module, "Set_VIDPID", setVidPid_) &&
        Resolve(module, "Open_DevMonitor", openDevMonitor_) &&
        Resolve(module, "Close_DevMonitor", closeDevMonitor_) &&
        Resolve(module, "Open_FeatureDevice", openFeatureDevice_) &&
        Resolve(module, "Close_FeatureDevice", closeFeatureDevice_) &&
        Resolve(module, "Open_ReportDevice", openReportDevice_) &&
        Resolve(module, "Close_ReportDevice", closeReportDevice_) &&
        Resolve(module, "SetFeature", setFeature_) && Resolve(module, "WriteUSB", writeUsb_) &&
        Resolve(module, "GetFeature", getFeature_) && Resolve(module, "ReadUSB", readUsb_);
    module_.Reset(module);
    if (!all) {
        Unbind();
        return false;
    }
    Resolve(module, "Start_Capture", startCapture_);
    Resolve(module, "Get_CaptureState", getCaptureState_);
    Resolve(module, "Get_CapturePath", getCapturePath_);
    Resolve(module, "Get_DeviceReport", getDeviceReport_);
    Resolve(module, "Forget_Channels", forgetChannels_);
    return true;
}

void DeviceLink::Unbind() {
    module_.Reset();
    setVidPid_ = nullptr;
    openDevMonitor_ = nullptr;
    closeDevMonitor_ = nullptr;
    openFeatureDevice_ = nullptr;
    closeFeatureDevice_ = nullptr;
    openReportDevice_ = nullptr;
    closeReportDevice_ = nullptr;
    setFeature_ = nullptr;
    writeUsb_ = nullptr;
    getFeature_ = nullptr;
    readUsb_ = nullptr;
    startCapture_ = nullptr;
    getCaptureState_ = nullptr;
    getCapturePath_ = nullptr;
    getDeviceReport_ = nullptr;
    forgetChannels_ = nullptr;
}

bool DeviceLink::OpenAtStartup(HWND window) {
    if (!IsBound())
        return false;
    setVidPid_(kVendorId, kProductId);
    openDevMonitor_(window, protocol::kMsgDeviceEvent, protocol::kMsgDeviceArrival);
    openFeatureDevice_();
    return openReportDevice_() != 0;
}

bool DeviceLink::Reopen() {
    if (!IsBound())
        return false;
    openFeatureDevice_();
    return openReportDevice_() != 0;
}

void DeviceLink::CloseChannels() {
    if (!IsBound())
        return;
    closeFeatureDevice_();
    closeReportDevice_();
}

void DeviceLink::Shutdown() {
    if (!IsBound())
        return;
    closeFeatureDevice_();
    closeReportDevice_();
    closeDevMonitor_();
    Unbind();
}

void DeviceLink::SendCommand(std::span<const std::uint8_t, 8> report) {
    if (!IsBound())
        return;
    unsigned char copy[8];
    for (std::size_t i = 0; i < 8; ++i) copy[i] = report[i];
    setFeature_(copy, 8);
}

int DeviceLink::WriteChunk(std::span<const std::uint8_t, 64> chunk) {
    if (!IsBound())
        return 0;
    unsigned char copy[64];
    for (std::size_t i = 0; i < 64; ++i) copy[i] = chunk[i];
    return writeUsb_(copy, 64);
}

}  // namespace device

namespace device {

namespace {

// A text export: the length it returns, cut to what the buffer holds.
std::string TextFrom(int(__stdcall* fn)(char*, int), int capacity) {
    if (fn == nullptr)
        return {};
    std::string text(static_cast<std::size_t>(capacity) + 1, '\0');
    const int length = fn(text.data(), capacity);
    if (length <= 0)
        return {};
    text.resize(std::min(static_cast<std::size_t>(length), std::strlen(text.c_str())));
    return text;
}

}  // namespace

bool DeviceLink::StartCapture() {
    return startCapture_ != nullptr && startCapture_() == 1;
}

bool DeviceLink::Capturing() {
    return getCaptureState_ != nullptr && getCaptureState_() == 1;
}

std::string DeviceLink::CapturePath() {
    return TextFrom(getCapturePath_, kPathMax);
}

std::string DeviceLink::DeviceReport() {
    return TextFrom(getDeviceReport_, kDeviceReportMax);
}

bool DeviceLink::ForgetChannels() {
    if (forgetChannels_ == nullptr)
        return false;
    // The choices are kept per mouse: a process that has not opened the
    // mouse (Monitor.exe /forget-channels) names it first.
    setVidPid_(kVendorId, kProductId);
    return forgetChannels_() == 1;
}

}  // namespace device
