#include "option/skin/slider_thumb_win.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "common/win/program_folder_win.h"
#include "common/win/scoped_win.h"
#include "option/skin/bitmap_facts_win.h"
#include "option/skin/child_window_win.h"
#include "option/skin/control_keys_win.h"
#include "option/skin/control_math.h"
#include "option/skin/focus_mark_win.h"
#include "option/skin/skin_accessible_win.h"
#include "option/skin/offscreen_canvas_win.h"
#include "option/skin/region_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_messages.h"
#include "option/skin/skin_hint_win.h"
#include "option/skin/hover_hint_win.h"

namespace skin {

std::span<const win::MessageRow<SliderThumb>> SliderThumb::MessageMap() {
    static constexpr auto rows = win::Checked(win::JoinRows(DragRows(), PaintedRows()));
    return rows;
}

SliderThumb::~SliderThumb() = default;

int SliderThumb::Create(const std::string& pictureFile, int x, int y, int rightBound,
                        int bottomBound, HWND parent, UINT id, bool shape) {
    HBITMAP picture = LoadBitmapFile(pictureFile);
    if (picture == nullptr)
        return 0;
    picture_.Reset(picture);
    const SIZE size = BitmapSize(picture);
    width_ = size.cx;
    height_ = size.cy;
    id_ = id;
    parent_ = parent;
    leftBound_ = x;
    rightBound_ = rightBound;
    bottomBound_ = bottomBound;
    // Within the track the thumb runs along its vertical middle.
    topPos_ = y + std::max(0, (bottomBound - y - height_) / 2);
    const RECT r{x - width_ / 2, y - height_ / 2, x - width_ / 2 + width_,
                 y - height_ / 2 + height_};
    if (!CreateChild(*this, "SkinSliderThumb", WS_CHILD | WS_VISIBLE | WS_TABSTOP, r, parent, id))
        return 0;
    SetWindowLongPtrA(Hwnd(), GWL_EXSTYLE,
                      GetWindowLongPtrA(Hwnd(), GWL_EXSTYLE) | WS_EX_TRANSPARENT);
    if (shape) {
        // Everything of the colour of the top-left pixel is cut away.
        const COLORREF background = BitmapPixel(picture, 0, 0);
        win::ScopedGdi<HRGN> region(CreateRegionFromMask(picture, background & 0xFFFFFF, 0));
        if (!region)
            region.Reset(CreateRectRgn(0, 0, 0, 0));
        win::GiveWindowRegion(Hwnd(), std::move(region), true);
    }
    return 1;
}

void SliderThumb::SetRange(std::uint32_t minimum, std::uint32_t maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

void SliderThumb::SetPos(std::uint32_t value) {
    position_ = ClampUnsigned(value, minimum_, maximum_);
    if (Hwnd() == nullptr)
        return;
    const int x = ThumbX(position_, minimum_, maximum_, leftBound_, rightBound_, width_);
    MoveWindow(Hwnd(), x, topPos_, width_, height_, TRUE);
}

RECT SliderThumb::RectInParent() const {
    RECT r;
    GetWindowRect(Hwnd(), &r);
    MapWindowPoints(nullptr, GetParent(Hwnd()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void SliderThumb::Report(std::uint32_t value) {
    if (parent_ != nullptr)
        PostMessageA(parent_, kMsgSliderValue, value, static_cast<LPARAM>(id_));
}

LRESULT SliderThumb::OnLButtonDown(UINT, POINT at) {
    if (draggable_) {
        SetCapture(Hwnd());
        grab_ = at;
        dragging_ = true;
    }
    return CallDefault();
}

LRESULT SliderThumb::OnMouseMove(UINT, POINT at) {
    if (dragging_) {
        const RECT r = RectInParent();
        const int left = ClampThumbLeft(r.left + (at.x - grab_.x), leftBound_, rightBound_, width_);
        MoveWindow(Hwnd(), left, topPos_, width_, height_, TRUE);
        // The value where the thumb now stands.
        const std::int64_t v =
            ThumbDragValue(left, minimum_, maximum_, leftBound_, rightBound_, width_);
        position_ = static_cast<std::uint32_t>(
            std::clamp<std::int64_t>(v, minimum_, std::max(minimum_, maximum_)));
        Report(position_);
    }
    return CallDefault();
}

LRESULT SliderThumb::OnLButtonUp() {
    if (dragging_) {
        dragging_ = false;
        ReleaseCapture();
        const RECT r = RectInParent();
        const double raw =
            ThumbReleaseValue(r.left, minimum_, maximum_, leftBound_, rightBound_, width_);
        win::DebugText("SliderThumb=%f\n", raw);
        const std::int64_t lo = minimum_;
        const std::int64_t hi = std::max(minimum_, maximum_);
        const double whole = rounding_ ? std::floor(raw + 0.5) : std::trunc(raw);
        const std::int64_t v = whole <= static_cast<double>(lo) ? lo
                               : whole >= static_cast<double>(hi)
                                   ? hi
                                   : static_cast<std::int64_t>(whole);
        position_ = static_cast<std::uint32_t>(v);
        Report(position_);
        if (rounding_)
            SetPos(position_);
    }
    return CallDefault();
}

LRESULT SliderThumb::OnPaint() {
    const win::ScopedPaint paint(Hwnd());
    const HDC dc = paint.Get();
    {
        const OffscreenCanvas canvas(dc, width_, height_);
        BlitImage(canvas.Dc(), picture_.Get(), width_, height_);
        canvas.CopyTo(dc);
    }
    return 0;
}

}  // namespace skin
