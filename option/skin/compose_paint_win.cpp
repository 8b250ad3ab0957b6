#include "option/skin/compose_paint_win.h"

#include <vector>

#include "common/win/scoped_win.h"
#include "option/skin/offscreen_canvas_win.h"
#include "option/skin/skin_messages.h"

namespace skin {
namespace {

// Draws the visible controls of `parent`, whose client area's top-left is at
// `origin` in `dc`, and their own controls, into `dc`; lists those that did
// not draw themselves.
void DrawControlsInto(HWND parent, HDC dc, POINT origin, std::vector<HWND>& undrawn) {
    HWND top = GetWindow(parent, GW_CHILD);
    if (top == nullptr)
        return;
    for (HWND c = GetWindow(top, GW_HWNDLAST); c != nullptr; c = GetWindow(c, GW_HWNDPREV)) {
        if (!IsWindowVisible(c))
            continue;
        POINT at{0, 0};
        MapWindowPoints(c, parent, &at, 1);
        at.x += origin.x;
        at.y += origin.y;
        RECT client{};
        GetClientRect(c, &client);
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, at.x, at.y, at.x + client.right, at.y + client.bottom);
        win::ScopedGdi<HRGN> shape(CreateRectRgn(0, 0, 0, 0));
        if (shape && GetWindowRgn(c, shape.Get()) != ERROR) {
            // The shape is in window coordinates; these controls have no frame.
            OffsetRgn(shape.Get(), at.x, at.y);
            ExtSelectClipRgn(dc, shape.Get(), RGN_AND);
        }
        SetViewportOrgEx(dc, at.x, at.y, nullptr);
        const bool answered = SendMessageA(c, kMsgPaintInto, reinterpret_cast<WPARAM>(dc), 0) != 0;
        RestoreDC(dc, saved);
        if (answered)
            DrawControlsInto(c, dc, at, undrawn);
        else
            undrawn.push_back(c);
    }
}

}  // namespace

void PaintWithControls(HWND window, const std::function<void(HDC)>& paintOwn) {
    RECT client{};
    GetClientRect(window, &client);
    // The window's own paint session only marks it painted: its DC leaves
    // the controls out, and they are drawn here too.
    { const win::ScopedPaint session(window); }
    const win::ScopedWindowDc screenDc(window, win::DcArea::ClientOverChildren);
    const HDC screen = screenDc.Get();
    if (screen == nullptr)
        return;
    {
        const OffscreenCanvas canvas(screen, client.right, client.bottom);
        paintOwn(canvas.Dc());
        std::vector<HWND> undrawn;
        DrawControlsInto(window, canvas.Dc(), POINT{0, 0}, undrawn);
        canvas.CopyTo(screen);
        // All marked painted in one call, then those that were not drawn
        // (with their own controls) left to paint themselves.
        RedrawWindow(window, nullptr, nullptr,
                     RDW_VALIDATE | RDW_NOERASE | RDW_NOFRAME | RDW_ALLCHILDREN);
        for (HWND c : undrawn)
            RedrawWindow(c, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

}  // namespace skin
