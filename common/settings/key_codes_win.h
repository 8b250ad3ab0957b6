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

}  // namespace settings
