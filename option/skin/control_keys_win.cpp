#include "option/skin/control_keys_win.h"

namespace skin {

std::optional<SliderMove> SliderMoveOf(UINT key) {
    switch (key) {
        case VK_LEFT:
        case VK_DOWN:
            return SliderMove::StepDown;
        case VK_RIGHT:
        case VK_UP:
            return SliderMove::StepUp;
        case VK_NEXT:
            return SliderMove::PageDown;
        case VK_PRIOR:
            return SliderMove::PageUp;
        case VK_HOME:
            return SliderMove::ToMinimum;
        case VK_END:
            return SliderMove::ToMaximum;
        default:
            return std::nullopt;
    }
}

void DropTypedCharacter(HWND control) {
    MSG typed;
    PeekMessageA(&typed, control, WM_CHAR, WM_CHAR, PM_REMOVE);
}

bool TakePressKey(HWND control, UINT key) {
    if (key != VK_SPACE && key != VK_RETURN)
        return false;
    DropTypedCharacter(control);
    return true;
}

void PressByKeyboard(HWND control, bool latchingMode, bool& latched) {
    if (latchingMode) {
        latched = !latched;
        InvalidateRect(control, nullptr, FALSE);
    }
    SendClick(control);
}

void SendClick(HWND control) {
    HWND parent = GetParent(control);
    if (parent == nullptr || !IsWindowEnabled(control))
        return;
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

}  // namespace skin
