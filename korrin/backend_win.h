// The two ways the library reaches a mouse: the HID interfaces of real
// hardware, or a running virtual mouse. Each keeps its own open channels, and
// each may be called from several threads: transfers never wait behind an
// open or a close.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "korrin/hid_device.h"

namespace korrin {

class Backend {
  public:
    virtual ~Backend() = default;
    virtual void SetIds(std::uint16_t vendorId, std::uint16_t productId) = 0;
    virtual bool Present() = 0;
    virtual bool OpenFeature() = 0;
    virtual void CloseFeature() = 0;
    virtual bool OpenReport() = 0;
    virtual void CloseReport() = 0;
    virtual int SetFeature(const unsigned char* data, int length) = 0;
    virtual int Write(const unsigned char* data, int length) = 0;
    virtual int GetFeature(unsigned char* data, int length) = 0;
    virtual int Read(unsigned char* data, int length) = 0;
    // Plain text, CRLF lines: what the backend knows of the mouse and its
    // channels; empty when it knows nothing.
    virtual std::string Report() = 0;
};

// Real hardware: the platform-free HidDevice over the system's HID functions.
class HidBackend : public Backend {
  public:
    HidBackend();
    void SetIds(std::uint16_t vendorId, std::uint16_t productId) override;
    bool Present() override;
    bool OpenFeature() override;
    void CloseFeature() override;
    bool OpenReport() override;
    void CloseReport() override;
    int SetFeature(const unsigned char* data, int length) override;
    int Write(const unsigned char* data, int length) override;
    int GetFeature(unsigned char* data, int length) override;
    int Read(unsigned char* data, int length) override;
    std::string Report() override;

    HidDevice& Device() { return device_; }

  private:
    HidDevice device_;
};

// A running virtual mouse, reached by WM_COPYDATA.
class VirtualBackend : public Backend {
  public:
    // The virtual mouse's window, or nullptr when none runs.
    static HWND Find();
    // One request; 0 when no virtual mouse answers.
    static LRESULT Request(HWND window, std::uint32_t op, const void* payload, std::uint32_t size);

    void SetIds(std::uint16_t vendorId, std::uint16_t productId) override;
    bool Present() override;
    bool OpenFeature() override;
    void CloseFeature() override;
    bool OpenReport() override;
    void CloseReport() override;
    int SetFeature(const unsigned char* data, int length) override;
    int Write(const unsigned char* data, int length) override;
    int GetFeature(unsigned char* data, int length) override;
    int Read(unsigned char* data, int length) override;
    std::string Report() override;
    // True when a channel is open on the virtual mouse and `path` is the
    // device path it announces itself by. Safe from any thread.
    bool OwnsPath(const std::string& path);

  private:
    LRESULT Send(std::uint32_t op, const void* payload = nullptr, std::uint32_t size = 0);
    std::atomic<std::uint16_t> vendorId_{0};
    std::atomic<std::uint16_t> productId_{0};
    std::atomic<bool> featureOpen_{false};
    std::atomic<bool> reportOpen_{false};
};

}  // namespace korrin
