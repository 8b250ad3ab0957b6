// What the virtual mouse's firmware makes of the transfers it receives: the
// configuration per profile, the macro slots and the selected profile, plus
// counts of anything malformed. Platform-free so it can be tested natively.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vmouse {

inline constexpr int kProfiles = 5;
inline constexpr int kButtons = 16;
inline constexpr int kMacroSlots = 80;
inline constexpr int kLedSlots = 6;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct ProfileState {
    int reportIntervalMs = -1;  // -1: never set
    int dpiStage = -1;
    bool parametersSet = false;
    std::array<int, 4> cpiX{};  // in units of 100 CPI (device byte + 1)
    std::array<int, 4> cpiY{};
    int sensitivityX = 0;  // as sent (value x 10)
    int sensitivityY = 0;
    std::array<int, 3> lighting{};  // bytes 71, 72, 73
    std::array<Rgb, kLedSlots> leds{};
    std::array<std::uint8_t, 128> parameterBlock{};
    bool keyMapSet = false;
    std::array<std::array<std::uint8_t, 4>, kButtons> keys{};
};

struct MacroEventState {
    std::uint8_t stateByte;
    std::uint8_t key;
};

struct MacroSlotState {
    bool set = false;
    int repeat = 0;
    std::vector<MacroEventState> events;  // up to the first all-zero pair
};

struct Counters {
    int beginConfiguration = 0;
    int badChecksum = 0;
    int unknownCommand = 0;
    int unexpectedChunk = 0;
    int incompleteBlock = 0;
    int badArgument = 0;
};

class VirtualFirmware {
  public:
    // One command report (8 bytes). False when it was rejected.
    bool OnFeature(std::span<const std::uint8_t> report);
    // One 64-byte data chunk. False when no block was announced.
    bool OnChunk(std::span<const std::uint8_t> chunk);
    void Reset();

    int SelectedProfile() const { return selected_; }  // 1..5, 0 = never selected
    const ProfileState& Profile(int number) const { return profiles_[number - 1]; }
    const MacroSlotState& Macro(int slot) const { return macros_[slot - 1]; }
    const Counters& Count() const { return counters_; }

    // Stable text form of the whole state (see README.md).
    std::string Dump() const;

  private:
    void Complete();

    int selected_ = 0;
    std::array<ProfileState, kProfiles> profiles_{};
    std::array<MacroSlotState, kMacroSlots> macros_{};
    Counters counters_{};
    // The block being received: command code, its target, bytes so far.
    std::uint8_t pendingCode_ = 0;
    int pendingTarget_ = 0;
    std::vector<std::uint8_t> pending_;
};

// One line of text for a key map entry, e.g. "01 00 F0 00 click left".
std::string DescribeKey(const std::array<std::uint8_t, 4>& entry);

}  // namespace vmouse
