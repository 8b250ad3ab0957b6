#include "option/pages/lighting_page_win.h"

#include <cstdlib>
#include <string>

#include "common/win/scoped_win.h"
#include "lan/string_ids.h"
#include "option/option_globals_win.h"
#include "option/model/session/option_session.h"
#include "option/model/pages/advanced_fields.h"
#include "option/pages/page_controls_win.h"
#include "option/skin/skin_resource_ids.h"
#include "option/skin/skin_loader_win.h"

namespace option {
namespace {

constexpr const char* kSkinFile = "skin_color_control.ini";
constexpr skin::IdRange kClicks = skin::ClickIds(lighting_page::kControls);

// The outline lies inside `r` however wide it is, so a thicker outline at a
// larger display scale never grows the ellipse past its rectangle.
void FillEllipse(HDC dc, const RECT& r, COLORREF fill, COLORREF outline) {
    win::ScopedGdi<HBRUSH> brush(CreateSolidBrush(fill));
    win::ScopedGdi<HPEN> pen(CreatePen(PS_INSIDEFRAME, skin::SkinPixels(1), outline));
    win::ScopedSelect keepBrush(dc, brush.Get());
    win::ScopedSelect keepPen(dc, pen.Get());
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
}

}  // namespace

std::span<const win::MessageRow<CLightingPage>> CLightingPage::MessageMap() {
    static constexpr Row own[] = {
        win::OnMessage<skin::kMsgColorPicked, &CLightingPage::OnColorPicked>(),
        win::OnCommandRange<&CLightingPage::OnClick>(kClicks.first, kClicks.last),
    };
    static constexpr auto rows = Table(SliderRows(), std::to_array(own));
    return rows;
}

CLightingPage::CLightingPage(PageHost& host)
    : SkinnedPage(kSkinFile, lighting_page::kControls), host_(host) {}

void CLightingPage::BuildControl(const skin::ControlRow& row, const skin::ButtonPos& pos,
                                 const skin::SkinSheets& sheets) {
    HWND self = Hwnd();
    const RECT r = skin::ToRect(pos.rect);
    const UINT id = static_cast<UINT>(row.id);
    switch (row.kind) {
        case skin::ControlKind::Slider: {
            const bool level = row.id == kSliderLightSwitch || row.id == kSliderLightType;
            MakePageSlider(sliders_.ById(row.id), self, row.id, 0,
                           level ? kLightLevelCount - 1 : 255, pos, sheets);
            break;
        }
        case skin::ControlKind::Label:
            MakeValuePlate(labels_[static_cast<std::size_t>(row.key - kLightRedLabel)], self, id,
                           pos);
            break;
        case skin::ControlKind::Spectrum:
            spectrum_.Create(IDB_SKIN_COLOR_STRIP, self, r, id, IDB_SKIN_COLOR_MARKER);
            spectrum_.SetAccessibleName(pos.caption);
            break;
        case skin::ControlKind::Area:
            (row.key == kLightSwatch ? swatch_ : preview_) = r;
            break;
        default:
            buttons_.ByKey(row.key).CreateFromRow(self, row, pos, sheets);
            break;
    }
}

void CLightingPage::Refresh() {
    if (const settings::ProfileRecord* profile = host_.Session().CurrentProfile()) {
        fields_.RefreshColor(*profile);
        Show(*profile);
    }
}

void CLightingPage::Show(const settings::ProfileRecord& profile) {
    const LightingView v = LightingViewOf(profile);
    auto latch = [this](int key, bool on) { ShowLatched(buttons_.ByKey(key), on); };
    latch(kLightOn, v.lightingOn);
    for (int i = 0; i < kLightLevelCount; ++i) {
        latch(kLightSwitch0 + i, v.lightSwitch == i);
        latch(kLightType0 + i, v.lightType == i);
    }
    latch(kLightPreset, !v.customColor);
    latch(kLightCustom, v.customColor);
    for (int i = 0; i < kPresetColorCount; ++i) latch(kLightColor0 + i, v.preset == i);

    ShowSliderValue(sliders_.ById(kSliderLightSwitch), v.lightSwitch);
    ShowSliderValue(sliders_.ById(kSliderLightType), v.lightType);
    const std::uint32_t shown = fields_.ShownColor();
    for (int c = 0; c < 3; ++c) {
        const int value = ChannelOf(shown, static_cast<Channel>(c));
        ShowSliderValue(sliders_.ById(kSliderRed + c), value);
        ShowNumber(labels_[static_cast<std::size_t>(c)], value);
    }
    if (swatchColor_ != shown) {
        swatchColor_ = shown;
        InvalidateRect(Hwnd(), &swatch_, FALSE);
    }
    if (previewColor_ != v.previewColor) {
        previewColor_ = v.previewColor;
        RECT grown = preview_;
        InflateRect(&grown, skin::SkinPixels(2), skin::SkinPixels(2));
        InvalidateRect(Hwnd(), &grown, FALSE);
    }
}

void CLightingPage::PaintOver(HDC dc) const {
    win::ScopedGdi<HBRUSH> brush(CreateSolidBrush(swatchColor_));
    FillRect(dc, &swatch_, brush.Get());

    // The preview ring: one layout pixel larger with a half-bright outline
    // as wide, then the disc itself in the preview colour.
    const COLORREF c = previewColor_;
    const COLORREF half = RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2);
    RECT grown = preview_;
    InflateRect(&grown, skin::SkinPixels(1), skin::SkinPixels(1));
    FillEllipse(dc, grown, c, half);
    FillEllipse(dc, preview_, c, c);
}

LRESULT CLightingPage::OnSlider(win::WParam<int> position, win::LParam<int> id) {
    settings::ProfileRecord* profile = host_.Session().CurrentProfile();
    if (profile == nullptr)
        return 0;
    fields_.MoveSlider(*profile, id.value, position.value);
    Show(*profile);
    return 0;
}

LRESULT CLightingPage::OnColorPicked() {
    settings::ProfileRecord* profile = host_.Session().CurrentProfile();
    if (profile == nullptr)
        return 0;
    fields_.PickColor(*profile, spectrum_.GetColor());
    Show(*profile);
    return 0;
}

LRESULT CLightingPage::OnClick(UINT id, UINT code) {
    if (code != BN_CLICKED)
        return 0;
    settings::ProfileRecord* profile = host_.Session().CurrentProfile();
    if (profile == nullptr)
        return 0;
    const skin::ControlRow* row = skin::RowOfId(lighting_page::kControls, static_cast<int>(id));
    const int key = row != nullptr ? row->key : skin::kNoSkinKey;
    if (key == kLightOn) {
        SetLightingOn(*profile, buttons_.ByKey(kLightOn).Latched());
    } else if (key >= kLightSwitch0 && key < kLightSwitch0 + kLightLevelCount) {
        ChooseLightSwitch(*profile, key - kLightSwitch0);
    } else if (key >= kLightType0 && key < kLightType0 + kLightLevelCount) {
        ChooseLightType(*profile, key - kLightType0);
    } else if (key == kLightPreset || key == kLightCustom) {
        fields_.ChooseColorType(*profile, key == kLightCustom ? 1 : 0);
    } else if (key >= kLightColor0 && key < kLightColor0 + kPresetColorCount) {
        fields_.ChoosePreset(*profile, key - kLightColor0);
    }
    Show(*profile);
    return 0;
}

}  // namespace option
