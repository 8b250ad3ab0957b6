// What an assignment command writes into a button's record: the action code
// of each command, the left-click check, and the fields of each kind of
// assignment.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "common/settings/key_codes.h"
#include "common/settings/settings_block.h"

namespace option {

// Action code of an assignment command; 0 for the macro manager and for
// commands without an action.
std::uint8_t ActionForCommand(unsigned command);

// Would the profile still have a left-click button with entry `entry` given
// `action`? The last left click must not be taken away.
bool KeepsLeftClick(const settings::ProfileRecord& profile, int entry, std::uint8_t action);

// Toggles of the shortcut dialog: plain key, Ctrl, Shift, Alt, Win.
using ShortcutToggles = std::array<bool, 5>;

// Byte 39 of a shortcut: the plain key alone, or the held modifiers.
std::uint8_t ModifierFlags(const ShortcutToggles& toggles);
ShortcutToggles TogglesFromFlags(std::uint8_t flags);

// A plain action: everything but the program path is cleared.
void AssignPlainAction(settings::ButtonAssignment& entry, std::uint8_t action);

// A key combination; the previous macro's events do not survive in the payload.
void AssignShortcut(settings::ButtonAssignment& entry, std::uint8_t keyCode,
                    const ShortcutToggles& toggles);

struct FireSetting {
    std::int32_t valueA = 0;
    std::uint8_t keyCode = 0;
    std::int32_t valueB = 2;
};
// The dialog's starting values: the stored ones for a fire button, else defaults.
FireSetting FireSettingOf(const settings::ButtonAssignment& entry);
void AssignFire(settings::ButtonAssignment& entry, const FireSetting& fire);

// Longest program path the record holds (one byte is the NUL).
inline constexpr std::size_t kMaxProgramPath = sizeof(settings::ButtonAssignment::programPath) - 1;
// False, record unchanged, for a path too long to store whole: a cut path
// would start some other program.
bool AssignLaunchProgram(settings::ButtonAssignment& entry, std::string_view path);
// The dialog starts on the stored path only for a button that launches one.
std::string_view LaunchPathOf(const settings::ButtonAssignment& entry);

// A macro of the store as a button takes it.
struct MacroForButton {
    std::string_view name;
    std::uint32_t eventCount = 0;
    std::span<const settings::MacroEvent> events;
    std::int32_t repeatCount = 0;
};
// The name is cut to the 20-byte field; at most 40 events are taken.
void AssignMacro(settings::ButtonAssignment& entry, const MacroForButton& macro);

// A key captured by the fire or shortcut dialog: the device key code stored
// and the name of the key that code plays back, so what is shown is what is
// sent. Keys without a device code are refused (found false).
struct CapturedKey {
    bool found = false;
    std::uint8_t keyCode = 0;
    std::string name;
};
CapturedKey CaptureKey(unsigned virtualKey, const settings::KeyboardLayout& layout);

}  // namespace option
