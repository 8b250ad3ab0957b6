#include "option/skin/slider_track_win.h"

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
#include "option/skin/skin_loader_win.h"
#include "option/skin/skin_messages.h"
#include "option/skin/skin_hint_win.h"
#include "option/skin/hover_hint_win.h"

namespace skin {

std::span<const win::MessageRow<SliderTrack>> SliderTrack::MessageMap() {
    static constexpr win::MessageRow<SliderTrack> own[] = {
        win::OnMessage<WM_LBUTTONUP, &SliderTrack::OnLButtonUp>(),
        win::OnMessage<kMsgSliderValue, &SliderTrack::OnThumbValue>(),
        win::OnMessage<WM_GETOBJECT, &SliderTrack::OnGetObject>(),
    };
    static constexpr auto rows = win::Checked(
        win::JoinRows(HintRows(), PaintedRows(), KeyRows(), FocusCueRows(), std::to_array(own)));
    return rows;
}

SliderTrack::~SliderTrack() = default;

int SliderTrack::Create(const std::string& thumbFile, const RECT& track, HWND parent, UINT id) {
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

void SliderTrack::SetTrackImage(const RECT& r, HBITMAP sheet) {
    trackImage_.Reset(CutImage(Hwnd(), sheet, r));
    RepaintIfMade(Hwnd());
}

void SliderTrack::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    thumb_.SetRange(static_cast<std::uint32_t>(minimum), static_cast<std::uint32_t>(maximum));
}

void SliderTrack::SetRounding(bool rounding) {
    rounding_ = rounding;
    thumb_.SetRounding(rounding);
}

void SliderTrack::SetPos(int value) {
    thumb_.SetPos(static_cast<std::uint32_t>(value));
    RepaintIfMade(Hwnd());
}

LRESULT SliderTrack::OnLButtonUp(UINT, POINT at) {
    POINT p = at;
    MapWindowPoints(Hwnd(), parent_, &p, 1);
    const double raw = TrackClickValue(p.x, track_.left, track_.right, minimum_, maximum_);
    win::DebugText(trace::kSliderClicked, raw);
    const int value = RoundAndClamp(raw, rounding_, minimum_, maximum_);
    thumb_.SetPos(static_cast<std::uint32_t>(value));
    PostMessageA(parent_, kMsgSliderValue, static_cast<WPARAM>(value), static_cast<LPARAM>(id_));
    return CallDefault();
}

LRESULT SliderTrack::OnThumbValue(win::WParam<WPARAM> value) {
    PostMessageA(parent_, kMsgSliderValue, value.value, static_cast<LPARAM>(id_));
    return 0;
}

LRESULT SliderTrack::OnPaint() {
    const win::ScopedPaint paint(Hwnd());
    const HDC dc = paint.Get();
    BlitImage(dc, trackImage_.Get(), track_.right - track_.left, track_.bottom - track_.top);
    DrawFocusMarkIfFocused(Hwnd(), dc);
    return 0;
}

// A key moves the thumb and reports the value as a drag does.
LRESULT SliderTrack::OnKeyDown(UINT key, UINT) {
    const std::optional<SliderMove> move = SliderMoveOf(key);
    if (!move)
        return CallDefault();
    const int value = SliderValueAfter(*move, Pos(), minimum_, maximum_);
    SetPos(value);
    PostMessageA(parent_, kMsgSliderValue, static_cast<WPARAM>(value), static_cast<LPARAM>(id_));
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, Hwnd(), OBJID_CLIENT, CHILDID_SELF);
    return 0;
}

LRESULT SliderTrack::OnGetObject(WPARAM flags, LONG objectId) {
    if (objectId != OBJID_CLIENT)
        return CallDefault();
    return AnswerAccessible(Hwnd(), flags, SliderFacts(hint_, Pos(), minimum_, maximum_, unit_));
}

}  // namespace skin
