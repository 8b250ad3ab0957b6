// The data blocks sent to the mouse: profile parameters, key map and macros,
// each computed from a profile record of the settings block.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "common/settings/settings_block.h"
#include "monitor/device/command_report.h"

namespace device {

inline constexpr int kPaletteSize = 33;
// The mouse's own colour palette, 0x00BBGGRR.
extern const std::array<std::uint32_t, kPaletteSize> kDevicePalette;

inline constexpr int kLedSlotsSent = 6;
inline constexpr int kMacroSlotCount = settings::kProfileCount * settings::kButtonCount;  // 80
// The mouse has no key map entry for this button; its record is never sent.
inline constexpr int kSkippedButton = 12;
inline constexpr std::uint8_t kMacroDeviceType = 9;

// Byte offsets inside the profile parameter block.
namespace param {
inline constexpr std::size_t kLightMode = 71;
inline constexpr std::size_t kLightLevel = 72;
inline constexpr std::size_t kLightEnable = 73;
inline constexpr std::size_t kSensitivityX = 74;
inline constexpr std::size_t kSensitivityY = 75;
inline constexpr std::size_t kCpiX = 84;
inline constexpr std::size_t kCpiY = 92;
inline constexpr std::size_t kDpiMask = 100;
inline constexpr std::size_t kLedSlots = 104;
inline constexpr int kCpiStagesSent = 4;
}  // namespace param

// The firmware's template before any replacement.
extern const DataBlock kProfileParameterTemplate;

DataBlock BuildProfileParameterBlock(const settings::ProfileRecord& profile);

// Device bytes of one button: type, b1, b2, b3.
using KeyMapEntry = std::array<std::uint8_t, 4>;

// Entry from the action code alone, with the record-dependent bytes filled in.
// For the macro type (9) b2 is left 0: the slot is set when the profile's key
// map is built. `button` is the button's position 0..15.
KeyMapEntry DeviceEntry(const settings::ButtonAssignment& info, int button, std::int32_t otgSpeed);

// Keys of a fixed shortcut (modifiers first, in press order), or an empty span
// when the action code is not a fixed shortcut.
std::span<const std::uint8_t> ShortcutKeys(std::uint8_t actionCode);

// State byte of a macro event: delay / 10 cut to 8 bits, then the press or
// release bits.
std::uint8_t MacroStateByte(std::uint8_t state, std::uint16_t delayMs);

// Macro block of a recorded macro (action 16): never more than 40 events.
DataBlock BuildRecordedMacroBlock(const settings::ButtonAssignment& info);
// Macro block of a fixed shortcut: keys pressed in order, released in reverse.
DataBlock BuildShortcutMacroBlock(std::span<const std::uint8_t> keys);

// Macro slot of button b of profile n: 1..80.
inline int MacroSlot(int profileIndex, int button) {
    return profileIndex * settings::kButtonCount + button + 1;
}

// The 80 macro blocks and their staged flags, indexed by slot - 1.
struct MacroStaging {
    std::array<DataBlock, kMacroSlotCount> blocks{};
    std::array<std::uint8_t, kMacroSlotCount> staged{};

    void Clear();
    bool IsStaged(int slot) const {
        return slot >= 1 && slot <= kMacroSlotCount && staged[slot - 1];
    }
    const DataBlock& Block(int slot) const { return blocks[slot - 1]; }
};

// Clears `keyMap`, fills the entries of buttons 0..15 (12 skipped) of profile
// `profileIndex` and stages a macro block for every button of the macro type.
void BuildKeyMapAndMacros(const settings::ProfileRecord& profile, int profileIndex,
                          DataBlock& keyMap, MacroStaging& staging);

}  // namespace device
