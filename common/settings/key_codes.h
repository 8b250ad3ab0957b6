// Device key codes (HID keyboard usages, 0xF0..0xF4 for mouse buttons) and
// their conversion to and from Windows virtual keys. Letters, digits,
// punctuation and F-keys go through the keyboard layout's scan codes, so a key
// is stored by its physical position whatever the layout.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace settings {

struct KeyCodeRow {
    std::uint8_t keyCode;
    std::uint8_t virtualKey;
    std::uint8_t scanCode;  // set-1 scan code, 0 = none
};

// The 109 rows, searched first row first.
std::span<const KeyCodeRow> KeyCodeTable();

// The current keyboard layout (Windows: MapVirtualKey).
class KeyboardLayout {
  public:
    virtual ~KeyboardLayout() = default;
    // MAPVK_VK_TO_VSC; 0 when the layout has no such key.
    virtual unsigned VirtualKeyToScanCode(unsigned virtualKey) const = 0;
    // MAPVK_VSC_TO_VK_EX; 0 when the layout has no key at that position.
    virtual unsigned ScanCodeToVirtualKey(unsigned scanCode) const = 0;
};

struct KeyLookup {
    bool found;
    unsigned value;
};

// The device key code of a captured virtual key.
KeyLookup KeyCodeFromVirtualKey(unsigned virtualKey, const KeyboardLayout& layout);
// The virtual key that plays a device key code back on this layout.
KeyLookup VirtualKeyFromKeyCode(unsigned keyCode, const KeyboardLayout& layout);
// Display name of a virtual key; "" for keys without one.
std::string KeyName(unsigned virtualKey);

}  // namespace settings
