// The small platform-free pieces of the HID access library: recognising the
// mouse's device paths, framing reports, decoding the event input report, and
// turning presence changes into arrival and removal notices without repeats.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace korrin {

// True when a device path or hardware id ("HID\VID_04D9&PID_AD50&MI_01",
// "\\?\hid#vid_04d9&pid_ad50&mi_01#...") names this vendor and product.
bool MatchesDevice(std::string_view path, std::uint16_t vendorId, std::uint16_t productId);
// True when the text names some vendor id at all ("vid_XXXX").
bool NamesSomeDevice(std::string_view path);

// A report buffer of exactly `reportLength` bytes: report id, payload, zero
// fill. Empty when the payload does not fit.
std::vector<std::uint8_t> FrameReport(std::uint8_t reportId, std::span<const std::uint8_t> payload,
                                      std::size_t reportLength);

// The built-in event input report (see EventFormat for the others): byte 0
// report id, byte 1 kEventTag, bytes 2..5 the 32-bit event code, most
// significant byte first. Anything else is no event.
inline constexpr std::uint8_t kEventTag = 0xE7;
inline constexpr std::size_t kEventReportMinLength = 6;
std::optional<std::uint32_t> DecodeEventReport(std::span<const std::uint8_t> report);
std::vector<std::uint8_t> EncodeEventReport(std::uint32_t code, std::size_t reportLength);

// Message parameters of an event: category (high 16 bits) and data (low 16).
struct EventParams {
    std::uintptr_t wParam;
    std::intptr_t lParam;
};
EventParams EventMessageParams(std::uint32_t code);

// Presence as last told to the client. Only a change is reported, and a
// removal only once the mouse has been missed by two checks in a row: one
// failed check (a sharing violation while another tool opens the mouse, an
// enumeration caught mid-change) costs the user nothing.
class PresenceCheck {
  public:
    // The state the client already knows (it opened the device itself).
    void Reset(bool present);
    // 1 (arrived) or 0 (removed) when the state told to the client changes.
    // `certain` takes a miss at its word (a virtual mouse says it is unplugged).
    std::optional<int> Update(bool seen, bool certain = false);
    bool Present() const { return present_; }

    static constexpr int kMissesForRemoval = 2;

  private:
    bool present_ = false;
    int misses_ = 0;
};

// Waits between restarts of something that keeps failing: 1 s, doubling up
// to a minute, back to 1 s once it has worked.
class Backoff {
  public:
    bool Due(std::uint64_t nowMs) const { return nowMs >= nextMs_; }
    void Failed(std::uint64_t nowMs);
    void Worked() { delayMs_ = kFirstMs; }

    static constexpr std::uint64_t kFirstMs = 1000;
    static constexpr std::uint64_t kLongestMs = 60000;

  private:
    std::uint64_t delayMs_ = kFirstMs;
    std::uint64_t nextMs_ = 0;
};

}  // namespace korrin
