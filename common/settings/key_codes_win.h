// The keyboard layout of the calling thread, for the key code conversions.
#pragma once

#include <windows.h>

#include "common/settings/key_codes.h"

namespace settings {

class SystemKeyboardLayout final : public KeyboardLayout {
  public:
    unsigned VirtualKeyToScanCode(unsigned virtualKey) const override;
    unsigned ScanCodeToVirtualKey(unsigned scanCode) const override;
};

// One shared instance; it holds no state.
const KeyboardLayout& CurrentKeyboardLayout();

// The conversions on the calling thread's layout.
inline KeyLookup KeyCodeFromVirtualKey(unsigned virtualKey) {
    return KeyCodeFromVirtualKey(virtualKey, CurrentKeyboardLayout());
}
inline KeyLookup VirtualKeyFromKeyCode(unsigned keyCode) {
    return VirtualKeyFromKeyCode(keyCode, CurrentKeyboardLayout());
}

}  // namespace settings
