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
#include "option/pages/option_page.h"
#include "option/pages/page_host.h"
#include "option/skin/color_swatch_button_win.h"
#include "option/skin/skin_button_win.h"
#include "option/skin/skin_label_win.h"
#include "option/skin/slider_track_win.h"
#include "option/skin/skin_host_win.h"
#include "option/skin/skin_loader_win.h"

namespace option {

// Keys of skin_advance_expand.ini; a control's id is 1000 + key, a slider's
// id is its slider id (201..208).
enum AdvancedKey : int {
    kAdvRate1 = 1,       // .. 4: PollingRate 0..3
    kAdvLevel1 = 5,      // .. 8: CpiStep 0..3
    kAdvLed1 = 9,        // .. 12: LedDPIColor 0..3
    kAdvCpiX = 13,       // slider 207
    kAdvCpiXLabel = 14,  //
    kAdvCpiY = 15,       // slider 208
    kAdvCpiYLabel = 16,
    kAdvSeparateCpi = 17,
    kAdvSensX = 18,  // slider 202
    kAdvSensY = 19,  // slider 203
    kAdvLinkSens = 20,
    kAdvSpeed = 21,  // slider 204
    kAdvAccel = 22,
    kAdvTrailsLength = 23,  // slider 206
    kAdvTrails = 24,
    kAdvScrollLines = 25,
    kAdvScrollPage = 26,
    kAdvWheel = 27,  // slider 205
    kAdvScrollCheck = 28,
    kAdvRepeat = 29,  // slider 201
    kAdvDefaults = 30,
    kAdvKeyCount = 31,
};

class CAdvancedPage : public skin::SkinHost<CAdvancedPage>, public OptionPage {
  public:
    explicit CAdvancedPage(PageHost& host) : host_(host) {}

    bool Create(HWND parent, const RECT& area) override;
    HWND Window() const override { return Hwnd(); }
    // Every control from the current profile.
    void Refresh() override;

    static std::span<const win::MessageRow<CAdvancedPage>> MessageMap();

  private:
    void BuildControl(int key, const skin::ButtonPos& pos, const skin::SkinSheets& sheets);
    void Show(const AdvancedView& view);
    void EditLed(int led);

    LRESULT OnPaint();
    LRESULT OnEraseBkgnd() { return 1; }
    LRESULT OnLButtonDown(UINT keys, POINT at);
    LRESULT OnKeyDown(UINT key, UINT data);
    LRESULT OnSlider(win::WParam<int> position, win::LParam<int> id);
    LRESULT OnClick(UINT id, UINT code);

    PageHost& host_;
    skin::SkinSurface surface_;
    std::array<skin::CSkinButton, kAdvKeyCount> buttons_;  // by key; only button keys are made
    std::array<skin::CColorSwatchButton, 4> swatches_;
    std::array<skin::SliderTrack, 8> sliders_;  // by slider id - 201
    skin::CSkinLabel cpiXLabel_;
    skin::CSkinLabel cpiYLabel_;
};

}  // namespace option
