// Values shown and read back by the small dialogs of the button page: the
// fire dialog's two numbers, the media player's name, the shortcut dialog's
// toggle buttons.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "option/pages/model/button_assignment.h"

namespace option {

// The fire dialog's numbers as typed (digits only, up to three), brought into
// the range the mouse takes: A 0..255, B 1..255. Empty or unreadable text
// counts as 0 before the range is applied.
struct FireNumbers {
    std::int32_t valueA;
    std::int32_t valueB;
};
FireNumbers FireNumbersFromText(std::string_view textA, std::string_view textB);

// What the fire dialog's number fields show for a stored value: A when it is
// not negative, B when it is positive, else nothing.
std::string FireFieldTextA(std::int32_t valueA);
std::string FireFieldTextB(std::int32_t valueB);

// Name of media player 0..3 on the selector's face; "" for other indexes.
std::string_view PlayerName(std::int32_t index);

// Look of the shortcut dialog's five toggle buttons.
struct ToggleButtons {
    std::array<bool, 5> latched;
    std::array<bool, 5> enabled;
};
// The plain-key toggle disables the four modifiers but keeps their look.
ToggleButtons ToggleButtonStates(const ShortcutToggles& toggles);

}  // namespace option
