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
    // The focused control by the ids from `self` down to it: a control of a
    // page may share its id with one of the window.
    std::vector<int> focusPath;
    HWND focused = GetFocus();
    for (HWND w = focused; w != nullptr && w != self && IsChild(self, w); w = GetParent(w))
        focusPath.insert(focusPath.begin(), GetDlgCtrlID(w));
    SendMessageA(self, WM_SETREDRAW, FALSE, 0);
    rebuild();
    if (suggested != nullptr) {
        // The system's rectangle is the old window scaled; the set's own size
        // is exact, so only the place is taken from it.
        SetWindowPos(self, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    HWND again = focusPath.empty() ? nullptr : self;
    for (int id : focusPath) again = again != nullptr ? GetDlgItem(again, id) : nullptr;
    if (again != nullptr)
        SetFocus(again);
    SendMessageA(self, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(self, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

}  // namespace skin
