// Values shown and read back by the small dialogs of the button page: the
// fire dialog's two numbers, the media player's name, the shortcut dialog's
// toggle buttons.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/settings/key_codes.h"
#include "option/model/pages/button_assignment.h"

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

// The key field of the shortcut and fire dialogs: the device key code that
// will be stored and the name of that code, never of a key that cannot be
// sent. A captured key without a device code leaves both as they were.
struct KeyField {
    std::uint8_t keyCode = 0;
    std::string name;
};
KeyField KeyFieldOf(std::uint8_t keyCode, const settings::KeyboardLayout& layout);
// True when the field changed.
bool TakeCapturedKey(KeyField& field, unsigned virtualKey, const settings::KeyboardLayout& layout);

// Does a path typed or chosen by the user fit a record's text field of
// `maxChars` characters whole? A cut path would name some other program.
bool PathFits(std::string_view path, std::size_t maxChars);
// The notice for a path that does not fit: `text` with "%1" replaced by the
// path's length and "%2" by the longest that fits.
std::string PathTooLongText(std::string_view text, std::size_t length, std::size_t maxChars);

}  // namespace option
