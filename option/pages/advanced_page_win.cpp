#include "option/pages/advanced_page_win.h"

#include <cstdlib>
#include <optional>
#include <string>

#include "option/dialogs/option_dialogs_win.h"
#include "option/model/session/option_session.h"
#include "option/pages/page_controls_win.h"

namespace option {
namespace {

constexpr const char* kSkinFile = "skin_advance_expand.ini";
constexpr skin::IdRange kClicks = skin::ClickIds(advanced_page::kControls);
constexpr int kCpiPerLevel = 100;

// The check boxes, each setting one check of the profile as it is latched.
struct CheckBox {
    int key;
    AdvancedCheck check;
};
constexpr CheckBox kCheckBoxes[] = {
    {kAdvSeparateCpi, AdvancedCheck::SeparateCpi}, {kAdvLinkSens, AdvancedCheck::LinkSensitivity},
    {kAdvAccel, AdvancedCheck::Acceleration},      {kAdvTrails, AdvancedCheck::Trails},
    {kAdvScrollCheck, AdvancedCheck::PageScroll},
};

std::optional<AdvancedCheck> CheckOfBox(int key) {
    for (const CheckBox& box : kCheckBoxes) {
        if (box.key == key)
            return box.check;
    }
    return std::nullopt;
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
    static constexpr Row own[] = {
        win::OnCommandRange<&CAdvancedPage::OnClick>(kClicks.first, kClicks.last),
    };
    static constexpr auto rows = Table(SliderRows(), std::to_array(own));
    return rows;
}

CAdvancedPage::CAdvancedPage(PageHost& host)
    : SkinnedPage(kSkinFile, advanced_page::kControls), host_(host) {}

void CAdvancedPage::BuildControl(const skin::ControlRow& row, const skin::ButtonPos& pos,
                                 const skin::SkinSheets& sheets) {
    HWND self = Hwnd();
    const UINT id = static_cast<UINT>(row.id);
    switch (row.kind) {
        case skin::ControlKind::Slider: {
            const SliderRange range = AdvancedSliderRange(row.id);
            skin::SliderTrack& made = sliders_.ById(row.id);
            MakePageSlider(made, self, row.id, range.minimum, range.maximum, pos, sheets);
            // The plates beside the CPI sliders show levels of 100 CPI.
            if (row.id == kSliderCpiX || row.id == kSliderCpiY)
                made.SetValueUnit(skin::ValueUnit{kCpiPerLevel, "CPI"});
            break;
        }
        case skin::ControlKind::Label:
            MakeValuePlate(row.key == kAdvCpiXLabel ? cpiXLabel_ : cpiYLabel_, self, id, pos);
            break;
        case skin::ControlKind::Swatch: {
            skin::CColorSwatchButton& swatch =
                swatches_[static_cast<std::size_t>(row.key - kAdvLed1)];
            swatch.CreateFromPos(self, pos, id, sheets);
            swatch.SetTag(row.key);
            break;
        }
        default:
            buttons_.ByKey(row.key).CreateFromRow(self, row, pos, sheets);
            break;
    }
}

void CAdvancedPage::Refresh() {
    if (const settings::ProfileRecord* profile = host_.Session().CurrentProfile())
        Show(AdvancedViewOf(*profile));
}

void CAdvancedPage::Show(const AdvancedView& v) {
    auto latch = [this](int key, bool on) { ShowLatched(buttons_.ByKey(key), on); };
    for (int i = 0; i < kPollingRateCount; ++i) latch(kAdvRate1 + i, v.pollingRate == i);
    for (int i = 0; i < kCpiLevelsShown; ++i) latch(kAdvLevel1 + i, v.level == i);
    latch(kAdvSeparateCpi, v.separateCpi);
    latch(kAdvLinkSens, v.linkSensitivity);
    latch(kAdvAccel, v.acceleration);
    latch(kAdvTrails, v.trails);
    latch(kAdvScrollLines, !v.pageScroll);
    latch(kAdvScrollPage, v.pageScroll);
    latch(kAdvScrollCheck, v.pageScroll);

    ShowSliderValue(sliders_.ById(kSliderOtgSpeed), v.otgSpeed);
    ShowSliderValue(sliders_.ById(kSliderSensitivityX), v.sensitivityX);
    ShowSliderValue(sliders_.ById(kSliderSensitivityY), v.sensitivityY);
    ShowSliderValue(sliders_.ById(kSliderPointerSpeed), v.pointerSpeed);
    ShowSliderValue(sliders_.ById(kSliderWheelLines), v.wheelLines);
    ShowSliderValue(sliders_.ById(kSliderTrails), v.trailsLength);
    ShowSliderValue(sliders_.ById(kSliderCpiX), v.cpiX);
    ShowSliderValue(sliders_.ById(kSliderCpiY), v.cpiY);
    ShowNumber(cpiXLabel_, v.cpiX * kCpiPerLevel);
    ShowNumber(cpiYLabel_, v.cpiY * kCpiPerLevel);

    for (std::size_t i = 0; i < swatches_.size(); ++i) {
        skin::CColorSwatchButton& swatch = swatches_[i];
        if (swatch.Hwnd() != nullptr && swatch.SwatchColor() != v.ledColors[i])
            swatch.SetSwatchColor(v.ledColors[i]);
    }
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
    const skin::ControlRow* row = skin::RowOfId(advanced_page::kControls, static_cast<int>(id));
    if (row == nullptr)
        return 0;
    const int key = row->key;
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
    const bool checked = skin::IsSkinButton(row->kind) && buttons_.ByKey(key).Latched();
    bool levelChanged = false;
    if (key >= kAdvRate1 && key < kAdvRate1 + kPollingRateCount) {
        ChoosePollingRate(*profile, key - kAdvRate1);
    } else if (key >= kAdvLevel1 && key < kAdvLevel1 + kCpiLevelsShown) {
        ChooseCpiLevel(*profile, key - kAdvLevel1);
        levelChanged = true;
    } else if (key == kAdvScrollLines || key == kAdvScrollPage) {
        SetAdvancedCheck(*profile, AdvancedCheck::PageScroll, key == kAdvScrollPage);
    } else if (const std::optional<AdvancedCheck> check = CheckOfBox(key)) {
        SetAdvancedCheck(*profile, *check, checked);
    }
    Show(AdvancedViewOf(*profile));
    // The lighting page shows the colour of the level being edited.
    if (levelChanged)
        host_.RefreshPages();
    return 0;
}

}  // namespace option
