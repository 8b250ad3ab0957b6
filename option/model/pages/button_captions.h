// The captions of the 16 buttons of the button assignment page: the mouse
// button's number and what the button does.
#pragma once

#include <optional>
#include <string>

#include "common/settings/key_codes.h"
#include "common/settings/settings_block.h"

namespace option {

// Texts of lan.dll's string table by id; the Win32 side loads them, tests
// give their own table.
class StringSource {
  public:
    virtual ~StringSource() = default;
    // "" for an id the table does not hold.
    virtual std::string Text(unsigned id) const = 0;
};

// Number printed on the button of entry 0..15; entries the mouse has no
// physical button for show 0.
int ButtonNumber(int entry);

// String id of the label of an action code, for the actions whose label is a
// fixed text (not 5, 16 or 17); nothing for codes without a label.
std::optional<unsigned> ActionLabelId(int actionCode);

// Display name of a stored device key code as the current layout plays it
// back ("" for a code outside the key table).
std::string KeyCodeName(unsigned keyCode, const settings::KeyboardLayout& layout);

// "Ctrl+Shift+A" for a key combination; "" while the entry holds no event.
std::string ShortcutText(const settings::ButtonAssignment& entry,
                         const settings::KeyboardLayout& layout);

// File name and extension of a program path, without its folder.
std::string ProgramFileName(const char* path, std::size_t capacity);

// What the button does, as shown after its number.
std::string ActionText(const settings::ButtonAssignment& entry, const StringSource& strings,
                       const settings::KeyboardLayout& layout);

// "<number>. <text>" for entry 0..15.
std::string ButtonCaption(int entry, const settings::ButtonAssignment& info,
                          const StringSource& strings, const settings::KeyboardLayout& layout);

}  // namespace option
