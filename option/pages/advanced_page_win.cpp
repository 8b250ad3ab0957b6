#include "option/pages/advanced_page_win.h"

#include <cstdlib>
#include <string>

#include "option/dialogs/option_dialogs_win.h"
#include "option/model/session/option_session.h"
#include "option/pages/page_controls_win.h"
#include "option/pages/page_window_win.h"

namespace option {
namespace {

constexpr const char* kSkinFile = "skin_advance_expand.ini";
constexpr const char* const kKeys[] = {"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10",
                                       "11", "12", "13", "14", "15", "16", "17", "18", "19", "20",
                                       "21", "22", "23", "24", "25", "26", "27", "28", "29", "30"};
constexpr int kFirstSlider = kSliderOtgSpeed;
constexpr int kCpiPerLevel = 100;

constexpr int SliderOfKey(int key) {
    switch (key) {
        case kAdvCpiX:
            return kSliderCpiX;
        case kAdvCpiY:
            return kSliderCpiY;
        case kAdvSensX:
            return kSliderSensitivityX;
        case kAdvSensY:
            return kSliderSensitivityY;
        case kAdvSpeed:
            return kSliderPointerSpeed;
        case kAdvTrailsLength:
            return kSliderTrails;
        case kAdvWheel:
            return kSliderWheelLines;
        case kAdvRepeat:
            return kSliderOtgSpeed;
        default:
            return 0;
    }
}

// Buttons that keep a pressed look: all but the swatches and restore defaults.
constexpr bool IsLatchingKey(int key) {
    return (key >= kAdvRate1 && key < kAdvLed1) || key == kAdvSeparateCpi || key == kAdvLinkSens ||
           key == kAdvAccel || key == kAdvTrails || key == kAdvScrollLines ||
           key == kAdvScrollPage || key == kAdvScrollCheck;
}

class DpiColorDialog final : public ColorDialog {
  public:
    explicit DpiColorDialog(HWND owner) : owner_(owner) {}
    bool PickColor(std::uint32_t& color) override { return RunDpiColorDialog(owner_, color); }

  private:
    HWND owner_;
};

}  // namespace

std::span<const win::MessageRow<CAdvancedPage>> CAdvancedPage::MessageMap() {
    static constexpr win::MessageRow<CAdvancedPage> own[] = {
        win::OnMessage<WM_PAINT, &CAdvancedPage::OnPaint>(),
        win::OnMessage<WM_ERASEBKGND, &CAdvancedPage::OnEraseBkgnd>(),
        win::OnMessage<WM_LBUTTONDOWN, &CAdvancedPage::OnLButtonDown>(),
        win::OnMessage<WM_KEYDOWN, &CAdvancedPage::OnKeyDown>(),
        win::OnMessage<skin::kMsgSliderValue, &CAdvancedPage::OnSlider>(),
        win::OnCommandRange<&CAdvancedPage::OnClick>(ControlId(kAdvRate1), ControlId(kAdvDefaults)),
    };
    static constexpr auto rows = win::JoinRows(HostRows(), std::to_array(own));
    static_assert(win::NoRowShadowed(rows), "a row of this table is shadowed by an earlier one");
    return rows;
}

bool CAdvancedPage::Create(HWND parent, const RECT& area) {
    HWND page = CreatePageWindow(parent, area);
    if (page == nullptr || !Subclass(page))
        return false;
    SkinPage(page, area, surface_, kSkinFile, kKeys,
             [this](std::size_t, const char* key, const skin::ButtonPos& pos,
                    const skin::SkinSheets& sheets) { BuildControl(std::atoi(key), pos, sheets); });
    return true;
}

void CAdvancedPage::BuildControl(int key, const skin::ButtonPos& pos,
                                 const skin::SkinSheets& sheets) {
    HWND self = Hwnd();
    const UINT id = static_cast<UINT>(ControlId(key));
    if (const int slider = SliderOfKey(key); slider != 0) {
        const SliderRange range = AdvancedSliderRange(slider);
        skin::SliderTrack& made = sliders_[static_cast<std::size_t>(slider - kFirstSlider)];
        MakePageSlider(made, self, slider, range.minimum, range.maximum, pos, sheets);
        // The plates beside the CPI sliders show levels of 100 CPI.
        if (slider == kSliderCpiX || slider == kSliderCpiY)
            made.SetValueUnit(skin::ValueUnit{kCpiPerLevel, "CPI"});
    } else if (key == kAdvCpiXLabel || key == kAdvCpiYLabel) {
        MakeValuePlate(key == kAdvCpiXLabel ? cpiXLabel_ : cpiYLabel_, self, id, pos);
    } else if (key >= kAdvLed1 && key < kAdvLed1 + 4) {
        skin::CColorSwatchButton& swatch = swatches_[static_cast<std::size_t>(key - kAdvLed1)];
        swatch.CreateFromPos(self, pos, id, sheets);
        swatch.SetTag(key);
    } else if (key > 0 && key < kAdvKeyCount) {
        skin::CSkinButton& button = buttons_[static_cast<std::size_t>(key)];
        button.CreateFromPos(self, pos, id, sheets);
        button.SetTag(key);
        button.SetLatchingMode(IsLatchingKey(key));
    }
}

void CAdvancedPage::Refresh() {
    if (const settings::ProfileRecord* profile = host_.Session().CurrentProfile())
        Show(AdvancedViewOf(*profile));
}

void CAdvancedPage::Show(const AdvancedView& v) {
    auto latch = [this](int key, bool on) {
        ShowLatched(buttons_[static_cast<std::size_t>(key)], on);
    };
    for (int i = 0; i < kPollingRateCount; ++i) latch(kAdvRate1 + i, v.pollingRate == i);
    for (int i = 0; i < kCpiLevelsShown; ++i) latch(kAdvLevel1 + i, v.level == i);
    latch(kAdvSeparateCpi, v.separateCpi);
    latch(kAdvLinkSens, v.linkSensitivity);
    latch(kAdvAccel, v.acceleration);
    latch(kAdvTrails, v.trails);
    latch(kAdvScrollLines, !v.pageScroll);
    latch(kAdvScrollPage, v.pageScroll);
    latch(kAdvScrollCheck, v.pageScroll);

    auto slider = [this](int id) -> skin::SliderTrack& {
        return sliders_[static_cast<std::size_t>(id - kFirstSlider)];
    };
    ShowSliderValue(slider(kSliderOtgSpeed), v.otgSpeed);
    ShowSliderValue(slider(kSliderSensitivityX), v.sensitivityX);
    ShowSliderValue(slider(kSliderSensitivityY), v.sensitivityY);
    ShowSliderValue(slider(kSliderPointerSpeed), v.pointerSpeed);
    ShowSliderValue(slider(kSliderWheelLines), v.wheelLines);
    ShowSliderValue(slider(kSliderTrails), v.trailsLength);
    ShowSliderValue(slider(kSliderCpiX), v.cpiX);
    ShowSliderValue(slider(kSliderCpiY), v.cpiY);
    ShowNumber(cpiXLabel_, v.cpiX * kCpiPerLevel);
    ShowNumber(cpiYLabel_, v.cpiY * kCpiPerLevel);

    for (std::size_t i = 0; i < swatches_.size(); ++i) {
        skin::CColorSwatchButton& swatch = swatches_[i];
        if (swatch.Hwnd() != nullptr && swatch.SwatchColor() != v.ledColors[i])
            swatch.SetSwatchColor(v.ledColors[i]);
    }
}

LRESULT CAdvancedPage::OnPaint() {
    surface_.Paint(Hwnd());
    return 0;
}

LRESULT CAdvancedPage::OnLButtonDown(UINT, POINT at) {
    skin::DragByBody(Hwnd(), at, true);
    return CallDefault();
}

LRESULT CAdvancedPage::OnKeyDown(UINT key, UINT) {
    return ClosesPage(key) ? 0 : CallDefault();
}

LRESULT CAdvancedPage::OnSlider(win::WParam<int> position, win::LParam<int> id) {
    settings::ProfileRecord* profile = host_.Session().CurrentProfile();
    if (profile == nullptr)
        return 0;
    MoveAdvancedSlider(*profile, id.value, position.value);
    Show(AdvancedViewOf(*profile));
    return 0;
}

void CAdvancedPage::EditLed(int led) {
    settings::ProfileRecord* profile = host_.Session().CurrentProfile();
    if (profile == nullptr)
        return;
    DpiColorDialog dialog(GetParent(Hwnd()));
    // The colour goes to the profile the dialog was opened for; a profile
    // switch on the mouse while it was open has made another one current,
    // and the page shows that one.
    if (EditLedColor(*profile, led, dialog))
        Refresh();
}

LRESULT CAdvancedPage::OnClick(UINT id, UINT code) {
    if (code != BN_CLICKED)
        return 0;
    const int key = static_cast<int>(id) - ControlId(0);
    if (key == kAdvDefaults) {
        if (AskResetDefaults(GetParent(Hwnd())))
            host_.RestoreDefaults();
        return 0;
    }
    if (key >= kAdvLed1 && key < kAdvLed1 + 4) {
        EditLed(key - kAdvLed1);
        return 0;
    }
    settings::ProfileRecord* profile = host_.Session().CurrentProfile();
    if (profile == nullptr)
        return 0;
    const bool checked = buttons_[static_cast<std::size_t>(key)].Latched();
    bool levelChanged = false;
    if (key >= kAdvRate1 && key < kAdvRate1 + kPollingRateCount) {
        ChoosePollingRate(*profile, key - kAdvRate1);
    } else if (key >= kAdvLevel1 && key < kAdvLevel1 + kCpiLevelsShown) {
        ChooseCpiLevel(*profile, key - kAdvLevel1);
        levelChanged = true;
    } else {
        switch (key) {
            case kAdvSeparateCpi:
                SetAdvancedCheck(*profile, AdvancedCheck::SeparateCpi, checked);
                break;
            case kAdvLinkSens:
                SetAdvancedCheck(*profile, AdvancedCheck::LinkSensitivity, checked);
                break;
            case kAdvAccel:
                SetAdvancedCheck(*profile, AdvancedCheck::Acceleration, checked);
                break;
            case kAdvTrails:
                SetAdvancedCheck(*profile, AdvancedCheck::Trails, checked);
                break;
            case kAdvScrollLines:
            case kAdvScrollPage:
                SetAdvancedCheck(*profile, AdvancedCheck::PageScroll, key == kAdvScrollPage);
                break;
            case kAdvScrollCheck:
                SetAdvancedCheck(*profile, AdvancedCheck::PageScroll, checked);
                break;
            default:
                break;
        }
    }
    Show(AdvancedViewOf(*profile));
    // The lighting page shows the colour of the level being edited.
    if (levelChanged)
        host_.RefreshPages();
    return 0;
}

}  // namespace option
