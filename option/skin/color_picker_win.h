// The colour picker strip: a spectrum picture with a marker; a click or
// the arrows pick the colour under the marker.
#pragma once

#include <windows.h>

#include <string>

#include "common/win/scoped_win.h"
#include "common/win/window.h"
#include "option/skin/color_pick_control_win.h"
#include "option/skin/hover_hint_win.h"

namespace skin {

// The strip takes the keyboard too: the arrows move the marker and pick
// what a click at the marker's point picks.
class CColorPicker : public SpectrumControl<CColorPicker> {
  public:
    ~CColorPicker() override;

    // Loads the strip and the marker from the program's bitmap resources and
    // creates the window only if both load.
    int Create(UINT stripResource, HWND parent, const RECT& r, UINT id, UINT markerResource);
    COLORREF GetColor() const { return color_; }
    POINT MarkerPos() const { return marker_; }

    static std::span<const win::MessageRow<CColorPicker>> MessageMap();

  private:
    friend class SpectrumControl<CColorPicker>;
    friend class win::WindowImpl<CColorPicker>;  // the shared groups of rows
    PickBounds KeyPickArea() const;
    PickSpot KeyPickSpot() const;
    void PickByKeys(PickSpot at) { ClickAt(Hwnd(), at); }
    std::uint32_t SpokenColor() const { return color_; }

    void Pick(POINT at);
    LRESULT OnPaint();
    LRESULT OnLButtonDown(UINT keys, POINT at);
    LRESULT OnLButtonUp();
    LRESULT OnMouseMove(UINT keys, POINT at);
    LRESULT OnMouseLeave();

    win::ScopedGdi<HBITMAP> strip_;
    win::ScopedGdi<HBITMAP> markerPicture_;
    COLORREF color_ = RGB(255, 0, 0);
    POINT marker_{65, 7};
    bool pressing_ = false;
    std::string hint_ = "Create Custom Color";
    HoverHint hover_;
};

}  // namespace skin
