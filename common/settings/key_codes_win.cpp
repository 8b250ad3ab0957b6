#include "common/settings/key_codes_win.h"

namespace settings {

unsigned SystemKeyboardLayout::VirtualKeyToScanCode(unsigned virtualKey) const {
    return MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
}

unsigned SystemKeyboardLayout::ScanCodeToVirtualKey(unsigned scanCode) const {
    return MapVirtualKeyA(scanCode, MAPVK_VSC_TO_VK_EX);
}

const KeyboardLayout& CurrentKeyboardLayout() {
    static const SystemKeyboardLayout layout;
    return layout;
}

}  // namespace settings
