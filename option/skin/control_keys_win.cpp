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

std::optional<PickSpot> PickSpotAfterKey(HWND control, UINT key, PickSpot at,
                                         const PickBounds& bounds, int percent) {
    if (TakePressKey(control, key))
        return at;
    const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const int arrowStep = ctrl ? LargePickStep(percent) : 1;
    switch (key) {
        case VK_LEFT:
            return MovePick(at, PickMove::Left, arrowStep, bounds);
        case VK_RIGHT:
            return MovePick(at, PickMove::Right, arrowStep, bounds);
        case VK_UP:
            return MovePick(at, PickMove::Up, arrowStep, bounds);
        case VK_DOWN:
            return MovePick(at, PickMove::Down, arrowStep, bounds);
        case VK_NEXT:
            return MovePick(at, PickMove::Left, LargePickStep(percent), bounds);
        case VK_PRIOR:
            return MovePick(at, PickMove::Right, LargePickStep(percent), bounds);
        case VK_HOME:
            return MovePick(at, PickMove::RowStart, 1, bounds);
        case VK_END:
            return MovePick(at, PickMove::RowEnd, 1, bounds);
        default:
            return std::nullopt;
    }
}

void ClickAt(HWND window, PickSpot at) {
    const LPARAM point = MAKELPARAM(at.x, at.y);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(window, WM_LBUTTONUP, 0, point);
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
