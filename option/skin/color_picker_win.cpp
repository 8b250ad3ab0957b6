#include "option/skin/color_picker_win.h"

#include <algorithm>

#include "common/win/scoped_win.h"
#include "option/skin/arial_font_win.h"
#include "option/skin/bitmap_facts_win.h"
#include "option/skin/child_window_win.h"
#include "option/skin/control_math.h"
#include "option/skin/focus_mark_win.h"
#include "option/skin/offscreen_canvas_win.h"
#include "option/skin/scaled_resource_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_messages.h"
#include "option/skin/skin_hint_win.h"
#include "option/skin/hover_hint_win.h"

namespace skin {

std::span<const win::MessageRow<CColorPicker>> CColorPicker::MessageMap() {
    static constexpr win::MessageRow<CColorPicker> press[] = {
        win::OnMessage<WM_LBUTTONDOWN, &CColorPicker::OnLButtonDown>(),
        win::OnMessage<WM_LBUTTONUP, &CColorPicker::OnLButtonUp>(),
    };
    static constexpr auto rows =
        win::Checked(win::JoinRows(std::to_array(press), HoverRows(), SpectrumRows()));
    return rows;
}

CColorPicker::~CColorPicker() = default;

int CColorPicker::Create(UINT stripResource, HWND parent, const RECT& r, UINT id,
                         UINT markerResource) {
    // The strip and marker are drawn for each scale; the picker paints the
    // one for its set and reads the picked colour from that same picture, so
    // the colour taken is the one under the pointer.
    strip_.Reset(
        static_cast<HBITMAP>(LoadScaledImage(stripResource, SkinScale(), IMAGE_BITMAP, 0)));
    markerPicture_.Reset(
        static_cast<HBITMAP>(LoadScaledImage(markerResource, SkinScale(), IMAGE_BITMAP, 0)));
    if (!strip_ || !markerPicture_)
        return 0;
    return CreateChild(*this, "SkinColorPicker", WS_CHILD | WS_VISIBLE, r, parent, id) ? 1 : 0;
}

LRESULT CColorPicker::OnPaint() {
    const win::ScopedPaint paint(Hwnd());
    const HDC dc = paint.Get();
    const SIZE strip = BitmapSize(strip_.Get());
    const SIZE marker = BitmapSize(markerPicture_.Get());
    RECT client;
    GetClientRect(Hwnd(), &client);
    {
        const OffscreenCanvas canvas(dc, std::max<int>(client.right, 1),
                                     std::max<int>(client.bottom, 1));
        BlitImage(canvas.Dc(), strip_.Get(), strip.cx, strip.cy);
        const win::ScopedDc source(CreateCompatibleDC(dc));
        const win::ScopedSelect keep(source.Get(), markerPicture_.Get());
        GdiTransparentBlt(canvas.Dc(), marker_.x, marker_.y, marker.cx, marker.cy, source.Get(), 0,
                          0, marker.cx, marker.cy, RGB(255, 0, 255));
        DrawFocusMarkIfFocused(Hwnd(), canvas.Dc());
        canvas.CopyTo(dc);
    }
    return 0;
}

void CColorPicker::Pick(POINT at) {
    const PickPoint p = PickerPoint(at.x, at.y, SkinScale());
    if (!p.hit)
        return;
    pressing_ = true;
    marker_ = POINT{p.markerX, p.markerY};
    // The colour as the strip shows it, read from the strip itself so that
    // the marker drawn over it is never taken for a colour.
    const COLORREF c = BitmapPixel(strip_.Get(), p.x, p.y);
    if (c != CLR_INVALID && (c & 0xFFFFFF) != RGB(255, 255, 255)) {
        color_ = c & 0xFFFFFF;
        PostMessageA(GetParent(Hwnd()), kMsgColorPicked, 0, 0);
    }
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

LRESULT CColorPicker::OnLButtonDown(UINT, POINT at) {
    Pick(at);
    return 0;
}

LRESULT CColorPicker::OnLButtonUp() {
    pressing_ = false;
    return 0;
}

LRESULT CColorPicker::OnMouseMove(UINT, POINT at) {
    if (pressing_)
        Pick(at);
    hover_.Moved(Hwnd(), hint_);
    return 0;
}

LRESULT CColorPicker::OnMouseLeave() {
    hover_.Left();
    pressing_ = false;
    PublishHint(Hwnd(), "", 1);
    return 0;
}

// The keys move the pick point from the marker's and click there, so the
// owner sees what a click at that point brings.
PickBounds CColorPicker::KeyPickArea() const {
    return PickerBounds(SkinScale());
}

PickSpot CColorPicker::KeyPickSpot() const {
    const PickBounds area = KeyPickArea();
    return PickSpot{area.left + marker_.x, area.top + marker_.y};
}

}  // namespace skin
