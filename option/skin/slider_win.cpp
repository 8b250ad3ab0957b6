#include "option/skin/slider_win.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "common/trace_points.h"
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
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_loader_win.h"

namespace skin {
namespace {

AccessibleFacts SliderFacts(const std::string& name, int position, int minimum, int maximum,
                            const ValueUnit& unit) {
    AccessibleFacts facts;
    facts.name = name;
    facts.role = ROLE_SYSTEM_SLIDER;
    facts.value = ValueText(position, unit);
    facts.description = RangeText(minimum, maximum, unit);
    return facts;
}

}  // namespace

// ---- CPHSlider -----------------------------------------------------------------

std::span<const win::MessageRow<CPHSlider>> CPHSlider::MessageMap() {
    static constexpr win::MessageRow<CPHSlider> rows[] = {
        win::OnMessage<WM_LBUTTONDOWN, &CPHSlider::OnLButtonDown>(),
        win::OnMessage<WM_MOUSEMOVE, &CPHSlider::OnMouseMove>(),
        win::OnMessage<WM_LBUTTONUP, &CPHSlider::OnLButtonUp>(),
        win::OnMessage<WM_PAINT, &CPHSlider::OnPaint>(),
        win::OnMessage<WM_ERASEBKGND, &CPHSlider::OnEraseBkgnd>(),
    };
    static_assert(win::NoRowShadowed(rows), "a row of this table is shadowed by an earlier one");
    return rows;
}

CPHSlider::~CPHSlider() = default;

int CPHSlider::Create(const std::string& pictureFile, int x, int y, int rightBound, int bottomBound,
                      HWND parent, UINT id, bool shape) {
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

void CPHSlider::SetRange(std::uint32_t minimum, std::uint32_t maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

void CPHSlider::SetPos(std::uint32_t value) {
    position_ = ClampUnsigned(value, minimum_, maximum_);
    if (Hwnd() == nullptr)
        return;
    const int x = ThumbX(position_, minimum_, maximum_, leftBound_, rightBound_, width_);
    MoveWindow(Hwnd(), x, topPos_, width_, height_, TRUE);
}

RECT CPHSlider::RectInParent() const {
    RECT r;
    GetWindowRect(Hwnd(), &r);
    MapWindowPoints(nullptr, GetParent(Hwnd()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void CPHSlider::Report(std::uint32_t value) {
    if (parent_ != nullptr)
        PostMessageA(parent_, kMsgSliderValue, value, static_cast<LPARAM>(id_));
}

LRESULT CPHSlider::OnLButtonDown(UINT, POINT at) {
    if (draggable_) {
        SetCapture(Hwnd());
        grab_ = at;
        dragging_ = true;
    }
    return CallDefault();
}

LRESULT CPHSlider::OnMouseMove(UINT, POINT at) {
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

LRESULT CPHSlider::OnLButtonUp() {
    if (dragging_) {
        dragging_ = false;
        ReleaseCapture();
        const RECT r = RectInParent();
        const double raw =
            ThumbReleaseValue(r.left, minimum_, maximum_, leftBound_, rightBound_, width_);
        win::DebugText("CPHSlider=%f\n", raw);
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

LRESULT CPHSlider::OnPaint() {
    const win::ScopedPaint paint(Hwnd());
    const HDC dc = paint.Get();
    {
        const OffscreenCanvas canvas(dc, width_, height_);
        BlitImage(canvas.Dc(), picture_.Get(), width_, height_);
        canvas.CopyTo(dc);
    }
    return 0;
}

// ---- CclickHSlider -------------------------------------------------------------

std::span<const win::MessageRow<CclickHSlider>> CclickHSlider::MessageMap() {
    static constexpr win::MessageRow<CclickHSlider> rows[] = {
        win::OnMessage<WM_LBUTTONUP, &CclickHSlider::OnLButtonUp>(),
        win::OnMessage<kMsgSliderValue, &CclickHSlider::OnThumbValue>(),
        win::OnMessage<WM_MOUSEMOVE, &CclickHSlider::OnMouseMove>(),
        win::OnMessage<WM_MOUSELEAVE, &CclickHSlider::OnMouseLeave>(),
        win::OnMessage<WM_PAINT, &CclickHSlider::OnPaint>(),
        win::OnMessage<WM_ERASEBKGND, &CclickHSlider::OnEraseBkgnd>(),
        win::OnMessage<WM_KILLFOCUS, &CclickHSlider::OnFocusCue, CclickHSlider>(),
        win::OnMessage<WM_GETDLGCODE, &CclickHSlider::OnGetDlgCode, CclickHSlider>(),
        win::OnMessage<WM_KEYDOWN, &CclickHSlider::OnKeyDown>(),
        win::OnMessage<WM_SETFOCUS, &CclickHSlider::OnFocusCue, CclickHSlider>(),
        win::OnMessage<WM_GETOBJECT, &CclickHSlider::OnGetObject>(),
    };
    static_assert(win::NoRowShadowed(rows), "a row of this table is shadowed by an earlier one");
    return rows;
}

CclickHSlider::~CclickHSlider() = default;

int CclickHSlider::Create(const std::string& thumbFile, const RECT& track, HWND parent, UINT id) {
    const win::ScopedGdi<HBITMAP> probe(LoadBitmapFile(thumbFile));
    if (!probe)
        return 0;
    const SIZE size = BitmapSize(probe.Get());
    thumbWidth_ = size.cx;
    thumbHeight_ = size.cy;
    thumbFile_ = thumbFile;
    track_ = track;
    parent_ = parent;
    id_ = id;
    if (!CreateChild(*this, "SkinSliderTrack", WS_CHILD | WS_VISIBLE, track, parent, id))
        return 0;
    if (!thumb_.Create(thumbFile, 0, 0, track.right - track.left, track.bottom - track.top, Hwnd(),
                       id, true)) {
        return 0;
    }
    thumb_.SetRange(static_cast<std::uint32_t>(minimum_), static_cast<std::uint32_t>(maximum_));
    thumb_.SetPos(0);
    thumb_.SetDraggable(true);
    return 1;
}

void CclickHSlider::SetTrackImage(const RECT& r, HBITMAP sheet) {
    trackImage_.Reset(CutImage(Hwnd(), sheet, r));
    if (Hwnd() != nullptr)
        InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CclickHSlider::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    thumb_.SetRange(static_cast<std::uint32_t>(minimum), static_cast<std::uint32_t>(maximum));
}

void CclickHSlider::SetRounding(bool rounding) {
    rounding_ = rounding;
    thumb_.SetRounding(rounding);
}

void CclickHSlider::SetPos(int value) {
    thumb_.SetPos(static_cast<std::uint32_t>(value));
    if (Hwnd() != nullptr)
        InvalidateRect(Hwnd(), nullptr, FALSE);
}

LRESULT CclickHSlider::OnLButtonUp(UINT, POINT at) {
    POINT p = at;
    MapWindowPoints(Hwnd(), parent_, &p, 1);
    const double raw = TrackClickValue(p.x, track_.left, track_.right, minimum_, maximum_);
    win::DebugText(trace::kSliderClicked, raw);
    const int value = RoundAndClamp(raw, rounding_, minimum_, maximum_);
    thumb_.SetPos(static_cast<std::uint32_t>(value));
    PostMessageA(parent_, kMsgSliderValue, static_cast<WPARAM>(value), static_cast<LPARAM>(id_));
    return CallDefault();
}

LRESULT CclickHSlider::OnThumbValue(win::WParam<WPARAM> value) {
    PostMessageA(parent_, kMsgSliderValue, value.value, static_cast<LPARAM>(id_));
    return 0;
}

LRESULT CclickHSlider::OnMouseMove() {
    hover_.Moved(Hwnd(), hint_);
    return CallDefault();
}

LRESULT CclickHSlider::OnMouseLeave() {
    hover_.Left();
    return 0;
}

LRESULT CclickHSlider::OnPaint() {
    const win::ScopedPaint paint(Hwnd());
    const HDC dc = paint.Get();
    BlitImage(dc, trackImage_.Get(), track_.right - track_.left, track_.bottom - track_.top);
    DrawFocusMarkIfFocused(Hwnd(), dc);
    return 0;
}

// A key moves the thumb and reports the value as a drag does.
LRESULT CclickHSlider::OnKeyDown(UINT key, UINT) {
    const std::optional<SliderMove> move = SliderMoveOf(key);
    if (!move)
        return CallDefault();
    const int value = SliderValueAfter(*move, Pos(), minimum_, maximum_);
    SetPos(value);
    PostMessageA(parent_, kMsgSliderValue, static_cast<WPARAM>(value), static_cast<LPARAM>(id_));
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, Hwnd(), OBJID_CLIENT, CHILDID_SELF);
    return 0;
}

LRESULT CclickHSlider::OnGetObject(WPARAM flags, LONG objectId) {
    if (objectId != OBJID_CLIENT)
        return CallDefault();
    return AnswerAccessible(Hwnd(), flags, SliderFacts(hint_, Pos(), minimum_, maximum_, unit_));
}

// ---- CFillSlider ---------------------------------------------------------------

std::span<const win::MessageRow<CFillSlider>> CFillSlider::MessageMap() {
    static constexpr win::MessageRow<CFillSlider> rows[] = {
        win::OnMessage<WM_PAINT, &CFillSlider::OnPaint>(),
        win::OnMessage<WM_ERASEBKGND, &CFillSlider::OnEraseBkgnd>(),
        win::OnMessage<WM_LBUTTONDOWN, &CFillSlider::OnLButtonDown>(),
        win::OnMessage<WM_MOUSEMOVE, &CFillSlider::OnMouseMove>(),
        win::OnMessage<WM_LBUTTONUP, &CFillSlider::OnLButtonUp>(),
        win::OnMessage<WM_CAPTURECHANGED, &CFillSlider::OnCaptureChanged>(),
        win::OnMessage<WM_KILLFOCUS, &CFillSlider::OnKillFocus>(),
        win::OnMessage<WM_GETDLGCODE, &CFillSlider::OnGetDlgCode, CFillSlider>(),
        win::OnMessage<WM_KEYDOWN, &CFillSlider::OnKeyDown>(),
        win::OnMessage<WM_SETFOCUS, &CFillSlider::OnFocusCue, CFillSlider>(),
        win::OnMessage<WM_GETOBJECT, &CFillSlider::OnGetObject>(),
    };
    static_assert(win::NoRowShadowed(rows), "a row of this table is shadowed by an earlier one");
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
    if (Hwnd() != nullptr)
        InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CFillSlider::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

void CFillSlider::SetPos(int value) {
    position_ = std::clamp(value, minimum_, std::max(minimum_, maximum_));
    if (Hwnd() != nullptr)
        InvalidateRect(Hwnd(), nullptr, FALSE);
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
