#include "option/skin/dpi_reskin_win.h"

#include <vector>

namespace skin {

void DestroyChildren(HWND parent) {
    // Collected first: destroying a child changes the sibling chain walked.
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    for (HWND child : children) DestroyWindow(child);
}

void Reskin(HWND self, const RECT* suggested, const std::function<void()>& rebuild) {
    HWND focused = GetFocus();
    const int focusedId = focused != nullptr && IsChild(self, focused) ? GetDlgCtrlID(focused) : 0;
    SendMessageA(self, WM_SETREDRAW, FALSE, 0);
    rebuild();
    if (suggested != nullptr) {
        // The system's rectangle is the old window scaled; the set's own size
        // is exact, so only the place is taken from it.
        SetWindowPos(self, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (HWND again = focusedId != 0 ? GetDlgItem(self, focusedId) : nullptr)
        SetFocus(again);
    SendMessageA(self, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(self, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

}  // namespace skin
