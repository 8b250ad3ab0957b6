#include "option/skin/color_swatch_button_win.h"

#include "common/win/scoped_win.h"
#include "option/skin/accessible_text.h"
#include "option/skin/arial_font_win.h"
#include "option/skin/bitmap_facts_win.h"
#include "option/skin/button_behaviour_win.h"
#include "option/skin/child_window_win.h"
#include "option/skin/control_keys_win.h"
#include "option/skin/control_math.h"
#include "option/skin/focus_mark_win.h"
#include "option/skin/offscreen_canvas_win.h"
#include "option/skin/region_win.h"
#include "option/skin/skin_accessible_win.h"
#include "option/skin/skin_loader_win.h"
#include "option/skin/themed_controls_win.h"

namespace skin {

void CColorSwatchButton::SetSwatchColor(COLORREF color) {
    swatch_ = color;
    RepaintIfMade(Hwnd());
}

std::string CColorSwatchButton::HintFor(bool hover) const {
    return hover ? Hint() : std::string();
}

std::string CColorSwatchButton::AccessibleValue() const {
    return ColorText(swatch_);
}

void CColorSwatchButton::DrawFace(HDC dc, HBITMAP image, const RECT& client) {
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;
    const OffscreenCanvas canvas(dc, w, h);
    BlitImage(canvas.Dc(), image, w, h);
    const win::ScopedGdi<HBRUSH> brush(CreateSolidBrush(swatch_));
    const RECT block{0, 0, SkinPixels(35), SkinPixels(19)};
    FillRect(canvas.Dc(), &block, brush.Get());
    canvas.CopyTo(dc);
}

}  // namespace skin
