// The lighting page ("skin_color_control.ini"): lighting switches and, for
// the CPI level being edited, its preset or custom colour. What each control
// shows and stores is LightingViewOf and lighting_fields.h; this window turns
// slider messages, picks and clicks into those calls and paints the result.
#pragma once

#include <windows.h>

#include <array>

#include "common/win/window.h"
#include "option/model/pages/lighting_fields.h"
#include "option/pages/lighting_page_controls.h"
#include "option/pages/page_controls_win.h"
#include "option/pages/page_host.h"
#include "option/pages/skinned_page_win.h"
#include "option/skin/color_picker_win.h"
#include "option/skin/skin_button_set_win.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_label_win.h"
#include "option/skin/slider_track_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {

class CLightingPage : public SkinnedPage<CLightingPage> {
  public:
    explicit CLightingPage(PageHost& host);

    // The colour display of the level, then every control.
    void Refresh() override;

    static std::span<const win::MessageRow<CLightingPage>> MessageMap();

  private:
    friend class SkinnedPage<CLightingPage>;

    void BuildControl(const skin::ControlRow& row, const skin::ButtonPos& pos,
                      const skin::SkinSheets& sheets);
    void Show(const settings::ProfileRecord& profile);
    // The swatch and preview of the level's colours, over the skin.
    void PaintOver(HDC dc) const;

    LRESULT OnSlider(win::WParam<int> position, win::LParam<int> id);
    LRESULT OnColorPicked();
    LRESULT OnClick(UINT id, UINT code);

    PageHost& host_;
    LightingFields fields_;
    skin::SkinButtonSet<lighting_page::kControls> buttons_;
    PageSliders<5, kSliderLightSwitch> sliders_;
    std::array<skin::CSkinLabel, 3> labels_;  // red, green, blue
    skin::CColorPicker spectrum_;
    RECT swatch_{};
    RECT preview_{};
    std::uint32_t swatchColor_ = 0;
    std::uint32_t previewColor_ = 0;
};

}  // namespace option
