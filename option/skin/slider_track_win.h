// A slider track with its draggable thumb; a click on the track moves the
// thumb there, the arrows step it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/skin/accessible_text.h"
#include "option/skin/hover_hint_win.h"
#include "option/skin/keyboard_control_win.h"
#include "option/skin/skin_messages.h"
#include "option/skin/slider_thumb_win.h"

namespace skin {

class SliderTrack : public HintedControl<SliderTrack, KeyboardControl<SliderTrack>> {
  public:
    SliderTrack() = default;
    ~SliderTrack() override;

    // Learns the thumb's size from its picture (0 when it cannot be loaded),
    // creates the track at `track` (parent client coordinates) and its thumb.
    int Create(const std::string& thumbFile, const RECT& track, HWND parent, UINT id);
    void SetTrackImage(const RECT& r, HBITMAP sheet);
    void SetRange(int minimum, int maximum);
    void SetRounding(bool rounding);
    void SetPos(int value);
    void SetHint(const std::string& text) { hint_ = text; }
    // How a screen reader hears the position (the unit the window shows).
    void SetValueUnit(ValueUnit unit) { unit_ = std::move(unit); }

    int Pos() const { return static_cast<int>(thumb_.Pos()); }
    SliderThumb& Thumb() { return thumb_; }
    const RECT& Track() const { return track_; }

    static std::span<const win::MessageRow<SliderTrack>> MessageMap();

  private:
    friend class win::WindowImpl<SliderTrack>;  // the shared groups of rows
    LRESULT OnLButtonUp(UINT keys, POINT at);
    LRESULT OnThumbValue(win::WParam<WPARAM> value);
    LRESULT OnPaint();
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnKeyDown(UINT key, UINT data);
    LRESULT OnGetObject(WPARAM flags, LONG objectId);

    UINT id_ = 0;
    win::ScopedGdi<HBITMAP> trackImage_;
    int thumbWidth_ = 0;
    int thumbHeight_ = 0;
    std::string thumbFile_;
    RECT track_{0, 0, 0, 0};
    HWND parent_ = nullptr;
    int minimum_ = 0;
    int maximum_ = 10;
    bool rounding_ = false;
    SliderThumb thumb_;
    ValueUnit unit_;
};

}  // namespace skin
