#include "option/skin/color_pick_stop_win.h"

#include <algorithm>

#include "common/win/scoped_win.h"
#include "option/skin/child_window_win.h"
#include "option/skin/focus_mark_win.h"
#include "option/skin/offscreen_canvas_win.h"

namespace skin {
namespace {

// The pick point as a ring, white round black, readable on every colour.
void DrawPickRing(HDC dc, PickSpot at) {
    const int radius = SkinPixels(5);
    const auto ring = [&](int width, COLORREF color) {
        const win::ScopedGdi<HPEN> pen(CreatePen(PS_SOLID, width, color));
        const win::ScopedSelect usePen(dc, pen.Get());
        const win::ScopedSelect hollow(dc, GetStockObject(NULL_BRUSH));
        Ellipse(dc, at.x - radius, at.y - radius, at.x + radius + 1, at.y + radius + 1);
    };
    ring(SkinPixels(3), RGB(255, 255, 255));
    ring(1, RGB(0, 0, 0));
}

}  // namespace

std::span<const win::MessageRow<CSpectrumStop>> CSpectrumStop::MessageMap() {
    using Rows = std::array<win::MessageRow<CSpectrumStop>, 1>;
    static constexpr auto rows = win::JoinRows(
        Rows{win::OnMessage<WM_NCHITTEST, &CSpectrumStop::OnNcHitTest>()}, SpectrumRows());
    static_assert(win::NoRowShadowed(rows), "a row of this table is shadowed by an earlier one");
    return rows;
}

bool CSpectrumStop::Create(HWND parent, const RECT& r, UINT id, const SkinSurface& surface) {
    rect_ = r;
    surface_ = &surface;
    spot_ = PickSpot{(r.right - r.left) / 2, (r.bottom - r.top) / 2};
    return CreateChild(*this, "SkinSpectrumStop", WS_CHILD | WS_VISIBLE, r, parent, id);
}

PickBounds CSpectrumStop::KeyPickArea() const {
    return PickBounds{0, 0, rect_.right - rect_.left - 1, rect_.bottom - rect_.top - 1};
}

// The parent's picture under the stop, as the parent shows it; while the
// keyboard works it, the pick point and the focus mark over it.
LRESULT CSpectrumStop::OnPaint() {
    const win::ScopedPaint paint(Hwnd());
    const HDC dc = paint.Get();
    const int width = std::max<int>(rect_.right - rect_.left, 1);
    const int height = std::max<int>(rect_.bottom - rect_.top, 1);
    const OffscreenCanvas canvas(dc, width, height);
    if (HBITMAP picture = surface_ != nullptr ? surface_->Background() : nullptr) {
        const win::ScopedDc source(CreateCompatibleDC(dc));
        const win::ScopedSelect keep(source.Get(), picture);
        BitBlt(canvas.Dc(), 0, 0, width, height, source.Get(), rect_.left, rect_.top, SRCCOPY);
    }
    if (ShowsFocusMark(Hwnd())) {
        DrawPickRing(canvas.Dc(), spot_);
        DrawFocusMarkIfFocused(Hwnd(), canvas.Dc());
    }
    canvas.CopyTo(dc);
    return 0;
}

void CSpectrumStop::PickByKeys(PickSpot at) {
    spot_ = at;
    InvalidateRect(Hwnd(), nullptr, FALSE);
    ClickAt(GetParent(Hwnd()), PickSpot{rect_.left + at.x, rect_.top + at.y});
}

}  // namespace skin
