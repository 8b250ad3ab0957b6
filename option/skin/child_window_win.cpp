#include "option/skin/child_window_win.h"

namespace skin {

win::WindowSpec ChildSpec(const char* className, DWORD style, const RECT& r, HWND parent, UINT id) {
    return win::WindowSpec{
        .className = className,
        .style = style,
        .x = r.left,
        .y = r.top,
        .width = r.right - r.left,
        .height = r.bottom - r.top,
        .parent = parent,
        .menuOrId = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
        .cursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)),
    };
}

bool CreateChild(win::Window& window, const char* className, DWORD style, const RECT& r,
                 HWND parent, UINT id) {
    return window.Create(ChildSpec(className, style, r, parent, id));
}

bool CreateAttached(const char* systemClass, DWORD style, const RECT& r, HWND parent, UINT id,
                    const std::function<bool(HWND)>& attach) {
    HWND child = CreateWindowExA(0, systemClass, "", style | WS_CHILD, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
    if (child == nullptr)
        return false;
    if (!attach(child)) {
        DestroyWindow(child);
        return false;
    }
    return true;
}

bool HasFrame(HWND window) {
    constexpr LONG_PTR kFrame = WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL;
    constexpr LONG_PTR kExFrame =
        WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME;
    return (GetWindowLongPtrA(window, GWL_STYLE) & kFrame) != 0 ||
           (GetWindowLongPtrA(window, GWL_EXSTYLE) & kExFrame) != 0;
}

void RepaintIfMade(HWND window) {
    // A null window would invalidate the whole screen.
    if (window != nullptr)
        InvalidateRect(window, nullptr, FALSE);
}

}  // namespace skin
