// Window messages by which the skinned controls report to their windows,
// with what wParam and lParam carry. A handler names the ones it reads, e.g.
// OnSlider(win::WParam<int> value, win::LParam<int> id).
#pragma once

namespace skin {

inline constexpr unsigned kMsgSliderValue = 1094;  // value, control id
inline constexpr unsigned kMsgFillValue = 1104;    // value, control id
inline constexpr unsigned kMsgSpinValue = 1114;    // value, control id
inline constexpr unsigned kMsgEditEnter = 1116;    // 13, 0
inline constexpr unsigned kMsgColorPicked = 1119;  // 0, 0
inline constexpr unsigned kMsgButtonHover = 1124;  // hover, tag
inline constexpr unsigned kMsgHint = 1125;         // to the main window: hover (or 1), 0
// To a control (PaintWithControls): draw your client area into the DC, its
// origin at your top-left; answer 1 when drawn (the default answer is 0).
inline constexpr unsigned kMsgPaintInto = 0x8100;  // HDC, 0
// To a control, from its window as the skin is put on: the word to draw over
// the state images and the hint that goes with it; answer 1 when taken.
inline constexpr unsigned kMsgTakeCaption = 0x8101;  // 0, const ControlCaption*

inline constexpr const char* kEditKillFocusName = "BitmapEdit_KillFocus";
inline constexpr const char* kEditChangeName = "BitmapEdit_Change";

inline constexpr unsigned kSpinEditId = 401;
inline constexpr int kRgnButtonDefaultTag = 342;

}  // namespace skin
