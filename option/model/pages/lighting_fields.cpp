#include "option/model/pages/lighting_fields.h"

#include <algorithm>

#include "option/model/pages/advanced_fields.h"
#include "option/model/pages/row_choice.h"

namespace option {

const std::array<std::uint32_t, kPresetColorCount> kPresetColors = {
    0x0000FF, 0x0025FB, 0x004DFE, 0x006EE6, 0x4187C3, 0x41BEFF, 0x0AF0FF, 0x00FFFF, 0x00FFC8,
    0x00FAA5, 0x0AFA89, 0x00FF00, 0x03A811, 0x017D0B, 0x73D20F, 0xB9FF00, 0xC8C80F, 0xDCDC6E,
    0xFFD900, 0xF0A01E, 0xFA6464, 0xF58264, 0xF07828, 0xD27828, 0xFF0000, 0xBE3050, 0xF03264,
    0xFF37A0, 0xE16496, 0xD732A0, 0xF537B4, 0xFF00FF, 0x4600C8,
};

const std::array<std::uint32_t, kPresetColorCount> kPreviewColors = {
    0x0117B7, 0x0000FF, 0x014DFE, 0x006DE7, 0x4D8EC8, 0x3EBCFD, 0x01F0FF, 0x00FBF9, 0x01FBCA,
    0x00FAA5, 0x0CFA89, 0x00FF00, 0x03A910, 0x017D0B, 0x72D210, 0xBAFF00, 0xCEC70C, 0xDFDA74,
    0xFFC32A, 0xF2A120, 0xF58561, 0xD87727, 0xF04501, 0xFF3305, 0xBB2202, 0xEE2F4D, 0xEF3168,
    0xFE389E, 0xDE6492, 0xD830A1, 0xF637B4, 0xFF00FF, 0x2500F0,
};

int ShownPreset(std::int32_t colorOptions) {
    return colorOptions >= 0 && colorOptions < kPresetColorCount ? colorOptions : 0;
}

int LightingSlot(const settings::ProfileRecord& profile) {
    return ShownLevel(profile.CpiStep);
}

std::uint32_t DisplayedColor(const settings::ProfileRecord& p) {
    const int slot = LightingSlot(p);
    if (p.ColorType[slot] == 1)
        return p.ClCustom[slot] & 0x00FFFFFFu;
    return kPresetColors[static_cast<std::size_t>(ShownPreset(p.ColorOptions[slot]))];
}

LightingView LightingViewOf(const settings::ProfileRecord& p) {
    const int slot = LightingSlot(p);
    LightingView v{};
    v.lightingOn = p.ColorFlag != 0;
    v.lightSwitch = std::clamp<std::int32_t>(p.LightSwitch, 0, kLightLevelCount - 1);
    v.lightType = std::clamp<std::int32_t>(p.LightType, 0, kLightLevelCount - 1);
    v.customColor = p.ColorType[slot] == 1;
    v.preset = ShownPreset(p.ColorOptions[slot]);
    v.previewColor = kPreviewColors[static_cast<std::size_t>(v.preset)];
    return v;
}

void LightingFields::MoveSlider(settings::ProfileRecord& p, int id, int position) {
    const int slot = LightingSlot(p);
    switch (id) {
        case kSliderLightSwitch:
            ChooseLightSwitch(p, std::clamp(position, 0, kLightLevelCount - 1));
            return;
        case kSliderLightType:
            ChooseLightType(p, std::clamp(position, 0, kLightLevelCount - 1));
            return;
        case kSliderRed:
        case kSliderGreen:
        case kSliderBlue: {
            const auto channel = static_cast<Channel>(id - kSliderRed);
            p.ClCustom[slot] = WithChannel(p.ClCustom[slot], channel, position);
            shown_ = WithChannel(shown_, channel, position);
            return;
        }
        default:
            return;
    }
}

void LightingFields::PickColor(settings::ProfileRecord& p, std::uint32_t color) {
    p.ClCustom[LightingSlot(p)] = color & 0x00FFFFFFu;
    shown_ = color & 0x00FFFFFFu;
}

void LightingFields::ChoosePreset(settings::ProfileRecord& p, int index) {
    if (index < 0 || index >= kPresetColorCount)
        return;
    p.ColorOptions[LightingSlot(p)] = index;
    RefreshColor(p);
}

void LightingFields::ChooseColorType(settings::ProfileRecord& p, int type) {
    if (type != 0 && type != 1)
        return;
    p.ColorType[LightingSlot(p)] = type;
    RefreshColor(p);
}

void SetLightingOn(settings::ProfileRecord& p, bool on) {
    p.ColorFlag = on ? 1 : 0;
}

void ChooseLightSwitch(settings::ProfileRecord& p, int value) {
    StoreRowChoice(p.LightSwitch, value, kLightLevelCount);
}

void ChooseLightType(settings::ProfileRecord& p, int value) {
    StoreRowChoice(p.LightType, value, kLightLevelCount);
}

}  // namespace option
