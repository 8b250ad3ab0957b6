#include "option/skin/button_behaviour_win.h"

#include "option/skin/skin_accessible_win.h"

namespace skin {
namespace {

// The enabled window of this thread whose client area lies under `screen`,
// other than `self`; null for another program's window, a frame or a border.
HWND ClientWindowAt(POINT screen, HWND self) {
    HWND target = WindowFromPoint(screen);
    if (target == nullptr || target == self || !IsWindowEnabled(target) ||
        GetWindowThreadProcessId(target, nullptr) != GetCurrentThreadId())
        return nullptr;
    const LRESULT hit = SendMessageA(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    return hit == HTCLIENT ? target : nullptr;
}

// A latched button is checked, a latched tab selected, a latched push button
// pressed.
long LatchedState(long role) {
    switch (role) {
        case ROLE_SYSTEM_CHECKBUTTON:
        case ROLE_SYSTEM_RADIOBUTTON:
            return STATE_SYSTEM_CHECKED;
        case ROLE_SYSTEM_PAGETAB:
            return STATE_SYSTEM_SELECTED;
        default:
            return STATE_SYSTEM_PRESSED;
    }
}

}  // namespace

HWND OwnerOrParent(HWND hwnd) {
    HWND owner = GetWindow(hwnd, GW_OWNER);
    return owner != nullptr ? owner : GetParent(hwnd);
}

bool LeftButtonDown() {
    return (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
}

void ForwardPress(HWND self, UINT keys, POINT at) {
    POINT screen = at;
    ClientToScreen(self, &screen);
    ReleaseCapture();
    HWND target = ClientWindowAt(screen, self);
    if (target == nullptr)
        return;
    POINT local = screen;
    ScreenToClient(target, &local);
    SendMessageA(target, WM_LBUTTONDOWN, keys, MAKELPARAM(local.x, local.y));
}

void SetLatch(HWND button, bool& latched, bool value) {
    if (value == latched)
        return;
    latched = value;
    if (button != nullptr) {
        InvalidateRect(button, nullptr, FALSE);
        NotifyStateChanged(button);
    }
}

LRESULT AnswerForButton(HWND button, WPARAM flags, AccessibleFacts facts, bool latched) {
    if (latched)
        facts.state |= LatchedState(facts.role);
    return AnswerAccessible(button, flags, facts);
}

}  // namespace skin
