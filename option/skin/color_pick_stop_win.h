// A colour spectrum that is part of a window's own picture (the window picks
// the colour under a click itself) made a stop of the keyboard: a child laid
// over the spectrum that lets the mouse through to its parent, and that
// moves a pick point with the keys and clicks the parent there, so the
// parent picks exactly what a click at that point picks.
#pragma once

#include <windows.h>

#include <cstdint>

#include "option/skin/color_pick_control_win.h"

namespace skin {

class CSpectrumStop : public SpectrumControl<CSpectrumStop> {
  public:
    // Over `r` (parent client coordinates) of `parent`, whose picture is
    // `surface`'s background; the pick point starts in the middle.
    bool Create(HWND parent, const RECT& r, UINT id, const SkinSurface& surface);
    // The parent's colour now, which a screen reader reads as the value.
    void ShowColor(std::uint32_t color) { color_ = color & 0x00FFFFFFu; }

    static std::span<const win::MessageRow<CSpectrumStop>> MessageMap();

  private:
    friend class SpectrumControl<CSpectrumStop>;
    PickBounds KeyPickArea() const;
    PickSpot KeyPickSpot() const { return spot_; }
    void PickByKeys(PickSpot at);
    std::uint32_t SpokenColor() const { return color_; }

    // The mouse passes through to the parent, which picks on its clicks.
    LRESULT OnNcHitTest() { return HTTRANSPARENT; }
    LRESULT OnPaint();

    RECT rect_{};
    const SkinSurface* surface_ = nullptr;
    PickSpot spot_{0, 0};  // client coordinates of the stop
    std::uint32_t color_ = 0;
};

}  // namespace skin
