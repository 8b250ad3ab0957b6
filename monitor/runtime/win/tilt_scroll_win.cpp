#include "monitor/runtime/win/tilt_scroll_win.h"

#include <windows.h>

namespace runtime {

namespace {

HWND H(WindowHandle w) {
    return reinterpret_cast<HWND>(w);
}
WindowHandle W(HWND h) {
    return reinterpret_cast<WindowHandle>(h);
}

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    reinterpret_cast<std::vector<WindowHandle>*>(param)->push_back(W(child));
    return TRUE;
}

}  // namespace

ScreenPoint WindowSystemWin::CursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return {static_cast<int>(p.x), static_cast<int>(p.y)};
}

void WindowSystemWin::SetCursorPos(ScreenPoint p) {
    ::SetCursorPos(p.x, p.y);
}

WindowHandle WindowSystemWin::WindowFromPoint(ScreenPoint p) {
    return W(::WindowFromPoint(POINT{p.x, p.y}));
}

WindowHandle WindowSystemWin::ChildFromPoint(WindowHandle parent, ScreenPoint p) {
    POINT client{p.x, p.y};
    ScreenToClient(H(parent), &client);
    return W(ChildWindowFromPoint(H(parent), client));
}

std::string WindowSystemWin::ClassName(WindowHandle w) {
    char name[260] = {};
    if (w == 0 || GetClassNameA(H(w), name, sizeof name) <= 0)
        return {};
    return name;
}

WindowHandle WindowSystemWin::Parent(WindowHandle w) {
    return W(GetParent(H(w)));
}

WindowHandle WindowSystemWin::FirstChild(WindowHandle w) {
    return W(GetWindow(H(w), GW_CHILD));
}

WindowHandle WindowSystemWin::NextSibling(WindowHandle w) {
    return W(GetWindow(H(w), GW_HWNDNEXT));
}

WindowHandle WindowSystemWin::PreviousSibling(WindowHandle w) {
    return W(GetWindow(H(w), GW_HWNDPREV));
}

ScreenRect WindowSystemWin::WindowRect(WindowHandle w) {
    RECT r{};
    GetWindowRect(H(w), &r);
    return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
            static_cast<int>(r.bottom)};
}

std::uint32_t WindowSystemWin::Style(WindowHandle w) {
    return static_cast<std::uint32_t>(GetWindowLongPtrA(H(w), GWL_STYLE));
}

WindowHandle WindowSystemWin::Desktop() {
    return W(GetDesktopWindow());
}

std::vector<WindowHandle> WindowSystemWin::Descendants(WindowHandle w) {
    std::vector<WindowHandle> children;
    if (w != 0)
        EnumChildWindows(H(w), &CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

void WindowSystemWin::Post(WindowHandle w, unsigned message, std::uintptr_t wParam,
                           std::intptr_t lParam) {
    PostMessageA(H(w), message, wParam, lParam);
}

bool WindowSystemWin::ButtonsSwapped() {
    return GetSystemMetrics(SM_SWAPBUTTON) != 0;
}

}  // namespace runtime
