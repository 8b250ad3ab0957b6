// Monitor's binding of the HID access library korrin.dll: the eleven exports,
// resolved by name from the program folder. Without the library, or with one
// that lacks an export, there is no device link and every call is skipped.
// The diagnostics exports are optional: an older library without them still
// binds, and the diagnostics say they are not available.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "common/win/scoped_win.h"

namespace device {

inline constexpr std::uint16_t kVendorId = 0x04D9;
inline constexpr std::uint16_t kProductId = 0xAD50;
inline constexpr const char* kLibraryName = "korrin.dll";

class DeviceLink {
  public:
    DeviceLink() = default;
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Loads <folder>korrin.dll and resolves every export; false (and nothing
    // kept loaded) when any of them is missing.
    bool Bind(const std::string& programFolder);
    bool IsBound() const { return module_.Valid(); }

    // Start-up: select the mouse, register `window` for the event (kMsgDeviceEvent) and
    // arrival (kMsgDeviceArrival) messages, open both channels. True when the report channel
    // opened, i.e. the mouse is present.
    bool OpenAtStartup(HWND window);
    // Arrival: reopen both channels.
    bool Reopen();
    // Removal: close both channels.
    void CloseChannels();
    // Shut-down: channels, device monitor, then the library.
    void Shutdown();

    // One 8-byte command report.
    void SendCommand(std::span<const std::uint8_t, 8> report);
    // One 64-byte data chunk; the library's result.
    int WriteChunk(std::span<const std::uint8_t, 64> chunk);

    // Diagnostics (window thread).
    bool CanCapture() const { return startCapture_ != nullptr && getCaptureState_ != nullptr; }
    // Starts a capture of the reports exchanged with the mouse; true when
    // recording.
    bool StartCapture();
    bool Capturing();
    // The last capture file's full path; empty when there is none.
    std::string CapturePath();
    // The library's description of the mouse's interfaces and the channels
    // it chose (CRLF lines); empty when nothing is known or not available.
    std::string DeviceReport();
    // Forgets the channel the library remembered for the mouse; false when
    // it could not, or the library cannot.
    bool ForgetChannels();

  private:
    using SetVidPidFn = int(__stdcall*)(int, int);
    using OpenDevMonitorFn = int(__stdcall*)(HWND, UINT, UINT);
    using VoidFn = int(__stdcall*)();
    using SetFeatureFn = int(__stdcall*)(unsigned char*, int);
    using WriteUsbFn = int(__stdcall*)(unsigned char*, int);
    using GetFeatureFn = int(__stdcall*)(unsigned char*, int);
    using ReadUsbFn = int(__stdcall*)(unsigned char*, int);
    using TextFn = int(__stdcall*)(char*, int);

    void Unbind();

    win::ScopedModule module_;
    SetVidPidFn setVidPid_ = nullptr;
    OpenDevMonitorFn openDevMonitor_ = nullptr;
    VoidFn closeDevMonitor_ = nullptr;
    VoidFn openFeatureDevice_ = nullptr;
    VoidFn closeFeatureDevice_ = nullptr;
    VoidFn openReportDevice_ = nullptr;
    VoidFn closeReportDevice_ = nullptr;
    SetFeatureFn setFeature_ = nullptr;
    WriteUsbFn writeUsb_ = nullptr;
    GetFeatureFn getFeature_ = nullptr;
    ReadUsbFn readUsb_ = nullptr;
    VoidFn startCapture_ = nullptr;
    VoidFn getCaptureState_ = nullptr;
    TextFn getCapturePath_ = nullptr;
    TextFn getDeviceReport_ = nullptr;
    VoidFn forgetChannels_ = nullptr;
};

}  // namespace device
