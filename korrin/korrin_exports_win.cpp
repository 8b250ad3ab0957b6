// The exports of korrin.dll: the eleven the client binds, and the capture,
// device report and forgetting of the remembered channels that the client may
// use when it finds them. Every channel is opened on the backend that is
// active at that moment: a running virtual mouse, else the hardware.
//
// The library's lock guards which backend holds which channel. It is never
// held during a transfer: a close on the window thread (removal, shut-down)
// must not wait behind a report that the upload thread is sending; the
// backend aborts such a transfer instead.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "common/win/program_folder_win.h"
#include "common/win/wide_text_win.h"
#include "korrin/backend_win.h"
#include "korrin/device_watch_win.h"
#include "korrin/hid_system_win.h"

namespace {

struct Library {
    std::mutex lock;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    korrin::HidBackend hid;
    korrin::VirtualBackend virtualMouse;
    korrin::Backend* feature = nullptr;
    korrin::Backend* report = nullptr;
    korrin::DeviceWatch watch{hid.Device(), virtualMouse};
    std::mutex watchLock;
};

Library& Lib() {
    // Never destroyed: a destructor run while the library is unloaded would
    // wait for the watch thread under the loader lock. Clients close first.
    static Library* library = new Library;
    return *library;
}

korrin::Backend* Holder(korrin::Backend* Library::*which) {
    Library& lib = Lib();
    std::lock_guard<std::mutex> guard(lib.lock);
    return lib.*which;
}

korrin::Backend& Active(Library& lib) {
    korrin::Backend& b = korrin::VirtualBackend::Find() != nullptr
                             ? static_cast<korrin::Backend&>(lib.virtualMouse)
                             : static_cast<korrin::Backend&>(lib.hid);
    b.SetIds(lib.vendorId, lib.productId);
    return b;
}

// The two channels, opened and closed alike: where the library keeps the
// backend that holds each, and the backend's calls for it.
struct ChannelCalls {
    korrin::Backend* Library::*holder;
    bool (korrin::Backend::*open)();
    void (korrin::Backend::*close)();
};
constexpr ChannelCalls kFeatureChannel{&Library::feature, &korrin::Backend::OpenFeature,
                                       &korrin::Backend::CloseFeature};
constexpr ChannelCalls kReportChannel{&Library::report, &korrin::Backend::OpenReport,
                                      &korrin::Backend::CloseReport};

void CloseLocked(Library& lib, const ChannelCalls& channel) {
    korrin::Backend*& holder = lib.*channel.holder;
    if (holder != nullptr)
        (holder->*channel.close)();
    holder = nullptr;
}

int OpenChannel(const ChannelCalls& channel) {
    Library& lib = Lib();
    std::lock_guard<std::mutex> guard(lib.lock);
    CloseLocked(lib, channel);
    korrin::Backend& b = Active(lib);
    const bool opened = (b.*channel.open)();
    // The hardware keeps a channel that had no candidate yet: it is opened at
    // a later send, when its collection has enumerated.
    if (opened || &b == &lib.hid)
        lib.*channel.holder = &b;
    return opened ? 1 : 0;
}

// One transfer on the channel's backend; 0 while the channel is closed.
template <class Data>
int Transfer(const ChannelCalls& channel, int (korrin::Backend::*call)(Data*, int),
             unsigned char* data, int length) {
    korrin::Backend* b = Holder(channel.holder);
    return b != nullptr ? (b->*call)(data, length) : 0;
}

int CloseChannel(const ChannelCalls& channel) {
    Library& lib = Lib();
    std::lock_guard<std::mutex> guard(lib.lock);
    CloseLocked(lib, channel);
    return 1;
}

// Copies `text` into the caller's buffer, cut to size - 1 and always
// terminated; the length written.
int CopyOut(const std::string& text, char* out, int size) {
    if (out == nullptr || size <= 0)
        return 0;
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return static_cast<int>(n);
}

std::string CaptureHeader() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string program = win::Utf8(win::ModulePathWide(nullptr).c_str());
    char header[96];
    std::snprintf(header, sizeof header, "korrin capture started %04u-%02u-%02u %02u:%02u:%02u by ",
                  now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    return header + (program.empty() ? std::string("?") : program);
}

// The device report of the backend in use, split into capture lines.
void CaptureDeviceReport(const std::string& report) {
    std::size_t at = 0;
    while (at < report.size()) {
        const std::size_t end = report.find("\r\n", at);
        korrin::Diagnostics().Quoted(std::string_view(report).substr(
            at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos)
            break;
        at = end + 2;
    }
}

}  // namespace

extern "C" {

int __stdcall Set_VIDPID(int vendorId, int productId) {
    Library& lib = Lib();
    std::lock_guard<std::mutex> guard(lib.lock);
    // A description file naming the ids speaks for the mouse actually there.
    const korrin::DeviceDescription& described = korrin::DescriptionInUse().description;
    lib.vendorId = described.vendorId.value_or(static_cast<std::uint16_t>(vendorId));
    lib.productId = described.productId.value_or(static_cast<std::uint16_t>(productId));
    lib.hid.SetIds(lib.vendorId, lib.productId);
    char text[96];
    std::snprintf(text, sizeof text, "device selected: vid %04X pid %04X%s", lib.vendorId,
                  lib.productId, described.vendorId ? " (from the device description)" : "");
    korrin::Diagnostics().Line(text);
    if (korrin::VirtualBackend::Find() != nullptr)
        lib.virtualMouse.SetIds(lib.vendorId, lib.productId);
    return 1;
}

int __stdcall Open_DevMonitor(HWND window, UINT eventMessage, UINT arrivalMessage) {
    Library& lib = Lib();
    std::uint16_t vendorId, productId;
    {
        std::lock_guard<std::mutex> guard(lib.lock);
        vendorId = lib.vendorId;
        productId = lib.productId;
    }
    std::lock_guard<std::mutex> guard(lib.watchLock);
    return lib.watch.Start(window, eventMessage, arrivalMessage, vendorId, productId) ? 1 : 0;
}

int __stdcall Close_DevMonitor() {
    Library& lib = Lib();
    std::lock_guard<std::mutex> guard(lib.watchLock);
    lib.watch.Stop();
    return 1;
}

int __stdcall Open_FeatureDevice() {
    return OpenChannel(kFeatureChannel);
}

int __stdcall Close_FeatureDevice() {
    return CloseChannel(kFeatureChannel);
}

int __stdcall Open_ReportDevice() {
    return OpenChannel(kReportChannel);
}

int __stdcall Close_ReportDevice() {
    return CloseChannel(kReportChannel);
}

int __stdcall SetFeature(unsigned char* data, int length) {
    return Transfer(kFeatureChannel, &korrin::Backend::SetFeature, data, length);
}

int __stdcall WriteUSB(unsigned char* data, int length) {
    return Transfer(kReportChannel, &korrin::Backend::Write, data, length);
}

int __stdcall GetFeature(unsigned char* data, int length) {
    return Transfer(kFeatureChannel, &korrin::Backend::GetFeature, data, length);
}

int __stdcall ReadUSB(unsigned char* data, int length) {
    return Transfer(kReportChannel, &korrin::Backend::Read, data, length);
}

int __stdcall Start_Capture(void) {
    Library& lib = Lib();
    bool present;
    {
        std::lock_guard<std::mutex> guard(lib.watchLock);
        present = lib.watch.KnownPresent();
    }
    korrin::Backend* b;
    {
        std::lock_guard<std::mutex> guard(lib.lock);
        b = &Active(lib);
    }
    // Outside the lock: a survey must not hold up a close.
    if (!present)
        present = b->Present();  // without the watch, the device is asked itself
    const std::string report = b->Report();
    if (!korrin::Diagnostics().Start(present, CaptureHeader()))
        return 0;
    CaptureDeviceReport(report);
    return 1;
}

int __stdcall Get_CapturePath(char* path, int size) {
    return CopyOut(korrin::Diagnostics().LastPath(), path, size);
}

int __stdcall Get_CaptureState(void) {
    return korrin::Diagnostics().Recording() ? 1 : 0;
}

int __stdcall Forget_Channels(void) {
    // The hardware's choices only: a virtual mouse has no channels to choose.
    return Lib().hid.Device().ForgetChannels() ? 1 : 0;
}

int __stdcall Get_DeviceReport(char* text, int size) {
    Library& lib = Lib();
    korrin::Backend* b;
    {
        std::lock_guard<std::mutex> guard(lib.lock);
        b = &Active(lib);
    }
    const std::string report = b->Report();
    if (report.empty())
        return 0;
    return CopyOut(report, text, size);
}

}  // extern "C"
