// The advanced settings page ("skin_advance_expand.ini"): report rate, CPI
// levels, sensitivity, the system pointer settings, auto-repeat pace and the
// LED colours of the current profile. What each control shows and stores
// is AdvancedViewOf and the edits of advanced_fields.h; this window only
// turns slider messages and clicks into those calls and shows the result.
#pragma once

#include <windows.h>

#include <array>

#include "common/win/window.h"
#include "option/model/pages/advanced_fields.h"
#include "option/pages/advanced_page_controls.h"
#include "option/pages/page_controls_win.h"
#include "option/pages/page_host.h"
#include "option/pages/skinned_page_win.h"
#include "option/skin/color_swatch_button_win.h"
#include "option/skin/skin_button_set_win.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_label_win.h"
#include "option/skin/slider_track_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {

class CAdvancedPage : public SkinnedPage<CAdvancedPage> {
  public:
    explicit CAdvancedPage(PageHost& host);

    // Every control from the current profile.
    void Refresh() override;

    static std::span<const win::MessageRow<CAdvancedPage>> MessageMap();

  private:
    friend class SkinnedPage<CAdvancedPage>;

    void BuildControl(const skin::ControlRow& row, const skin::ButtonPos& pos,
                      const skin::SkinSheets& sheets);
    void Show(const AdvancedView& view);
    void EditLed(int led);

    LRESULT OnSlider(win::WParam<int> position, win::LParam<int> id);
    LRESULT OnClick(UINT id, UINT code);

    PageHost& host_;
    skin::SkinButtonSet<advanced_page::kControls> buttons_;
    std::array<skin::CColorSwatchButton, 4> swatches_;
    PageSliders<8, kSliderOtgSpeed> sliders_;
    skin::CSkinLabel cpiXLabel_;
    skin::CSkinLabel cpiYLabel_;
};

}  // namespace option
