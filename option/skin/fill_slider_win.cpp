#include "option/skin/fill_slider_win.h"

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

std::span<const win::MessageRow<CFillSlider>> CFillSlider::MessageMap() {
    static constexpr win::MessageRow<CFillSlider> own[] = {
        win::OnMessage<WM_SETFOCUS, &CFillSlider::OnFocusCue, CFillSlider>(),
        win::OnMessage<WM_GETOBJECT, &CFillSlider::OnGetObject>(),
    };
    static constexpr auto rows = win::Checked(
        win::JoinRows(PaintedRows(), DragRows(), PressLostRows(), KeyRows(), std::to_array(own)));
    return rows;
}

CFillSlider::~CFillSlider() = default;

bool CFillSlider::Create(const RECT& r, HWND parent, UINT id) {
    rect_ = r;
    parent_ = parent;
    id_ = id;
    minimum_ = 0;
    maximum_ = 10;
    position_ = 0;
    enabled_ = true;
    return CreateChild(*this, "SkinFillSlider", WS_CHILD | WS_VISIBLE | WS_TABSTOP, r, parent, id);
}

void CFillSlider::SetImages(const RECT& r, HBITMAP emptySheet, HBITMAP fullSheet) {
    empty_.Reset(CutImage(Hwnd(), emptySheet, r));
    full_.Reset(CutImage(Hwnd(), fullSheet, r));
    RepaintIfMade(Hwnd());
}

void CFillSlider::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

void CFillSlider::SetPos(int value) {
    position_ = std::clamp(value, minimum_, std::max(minimum_, maximum_));
    RepaintIfMade(Hwnd());
}

LRESULT CFillSlider::OnPaint() {
    const win::ScopedPaint paint(Hwnd());
    const HDC dc = paint.Get();
    const int w = rect_.right - rect_.left;
    const int h = rect_.bottom - rect_.top;
    {
        const OffscreenCanvas canvas(dc, w, h);
        BlitImage(canvas.Dc(), empty_.Get(), w, h);
        BlitImage(canvas.Dc(), full_.Get(), FillWidth(position_, minimum_, maximum_, w), h);
        canvas.CopyTo(dc);
    }
    DrawFocusMarkIfFocused(Hwnd(), dc);
    return 0;
}

LRESULT CFillSlider::OnKeyDown(UINT key, UINT) {
    const std::optional<SliderMove> move = SliderMoveOf(key);
    if (!move || !enabled_)
        return CallDefault();
    position_ = SliderValueAfter(*move, position_, minimum_, maximum_);
    PostMessageA(parent_, kMsgFillValue, static_cast<WPARAM>(position_), static_cast<LPARAM>(id_));
    InvalidateRect(Hwnd(), nullptr, FALSE);
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, Hwnd(), OBJID_CLIENT, CHILDID_SELF);
    return 0;
}

LRESULT CFillSlider::OnGetObject(WPARAM flags, LONG objectId) {
    if (objectId != OBJID_CLIENT)
        return CallDefault();
    return AnswerAccessible(Hwnd(), flags,
                            SliderFacts(hint_, position_, minimum_, maximum_, ValueUnit{}));
}

void CFillSlider::Follow(POINT at) {
    POINT p = at;
    MapWindowPoints(Hwnd(), parent_, &p, 1);
    position_ = FillValue(p.x, rect_.left, rect_.right, minimum_, maximum_);
    PostMessageA(parent_, kMsgFillValue, static_cast<WPARAM>(position_), static_cast<LPARAM>(id_));
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

LRESULT CFillSlider::OnLButtonDown() {
    if (enabled_) {
        SetCapture(Hwnd());
        dragging_ = true;
    }
    return CallDefault();
}

LRESULT CFillSlider::OnMouseMove(UINT, POINT at) {
    if (dragging_)
        Follow(at);
    if (!hint_.empty())
        PublishHintIfNew(Hwnd(), hint_);
    return CallDefault();
}

LRESULT CFillSlider::OnLButtonUp(UINT, POINT at) {
    const bool wasDragging = dragging_;
    dragging_ = false;
    if (wasDragging)
        Follow(at);
    const LRESULT result = CallDefault();
    if (wasDragging)
        ReleaseCapture();
    return result;
}

LRESULT CFillSlider::OnCaptureChanged() {
    if (dragging_) {
        dragging_ = false;
        InvalidateRect(Hwnd(), nullptr, FALSE);
    }
    return CallDefault();
}

LRESULT CFillSlider::OnKillFocus() {
    dragging_ = false;
    InvalidateRect(Hwnd(), nullptr, FALSE);
    return CallDefault();
}

}  // namespace skin
