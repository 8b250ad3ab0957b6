#include "option/skin/focus_mark_win.h"

#include "common/win/dpi_win.h"
#include "common/win/scoped_win.h"
#include "option/skin/keyboard_nav_win.h"

namespace skin {
namespace {

// The bright accent the menus mark the current choice with: it stands out on
// the dark plates and on the lit button pictures alike.
constexpr COLORREF kFocusAccent = RGB(68, 191, 255);
constexpr int kThickness = 2;
constexpr int kInset = 2;
constexpr int kCornerDiameter = 6;

}  // namespace

void DrawFocusMark(HDC dc, const RECT& bounds, UINT dpi) {
    const int thickness = win::ScaleForDpi(kThickness, dpi);
    const int inset = win::ScaleForDpi(kInset, dpi);
    const int corner = win::ScaleForDpi(kCornerDiameter, dpi);
    RECT r = bounds;
    InflateRect(&r, -inset, -inset);
    if (r.right - r.left <= thickness || r.bottom - r.top <= thickness)
        r = bounds;
    const win::ScopedGdi<HPEN> pen(CreatePen(PS_INSIDEFRAME, thickness, kFocusAccent));
    const win::ScopedSelect usePen(dc, pen.Get());
    const win::ScopedSelect hollow(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, r.left, r.top, r.right, r.bottom, corner, corner);
}

bool ShowsFocusMark(HWND control) {
    if (control == nullptr || GetFocus() != control)
        return false;
    return FocusCuesShown(GetAncestor(control, GA_ROOT));
}

void DrawFocusMarkIfFocused(HWND control, HDC dc) {
    if (!ShowsFocusMark(control))
        return;
    RECT client{};
    GetClientRect(control, &client);
    DrawFocusMark(dc, client, win::DpiForWindow(control));
}

}  // namespace skin
