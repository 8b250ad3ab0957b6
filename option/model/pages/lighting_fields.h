// The lighting page free of the platform: its two colour tables, what every
// control shows for a profile, and what each edit writes. Per-level edits go
// to the slot of the profile's CPI level (its `CpiStep`, shown clamped to
// 0..3); a preset index outside 0..32 is taken as preset 0 and is never used
// to read past a table. The record keeps what it holds until the user edits.
#pragma once

#include <array>
#include <cstdint>

#include "common/settings/settings_block.h"
#include "option/model/pages/color_bytes.h"

namespace option {

inline constexpr int kPresetColorCount = 33;
inline constexpr int kLightLevelCount = 4;  // LightSwitch and LightType 0..3

// Slider ids of the page.
enum LightingSlider : int {
    kSliderLightSwitch = 200,
    kSliderLightType = 201,
    kSliderRed = 202,
    kSliderGreen = 203,
    kSliderBlue = 204,
};

// What a preset index stands for on the sliders and the swatch, and the
// colour of the round preview; both 0x00BBGGRR.
extern const std::array<std::uint32_t, kPresetColorCount> kPresetColors;
extern const std::array<std::uint32_t, kPresetColorCount> kPreviewColors;

int ShownPreset(std::int32_t colorOptions);
// The slot of the level being edited: 0..3.
int LightingSlot(const settings::ProfileRecord& profile);

// The colour display of the level: its custom colour when `ColorType` is 1,
// otherwise the preset table's entry for its preset index.
std::uint32_t DisplayedColor(const settings::ProfileRecord& profile);

struct LightingView {
    bool lightingOn;   // ColorFlag
    int lightSwitch;   // 0..3
    int lightType;     // 0..3
    bool customColor;  // ColorType of the slot is 1
    int preset;        // 0..32, the highlighted preset button
    std::uint32_t previewColor;

    bool operator==(const LightingView&) const = default;
};
LightingView LightingViewOf(const settings::ProfileRecord& profile);

// The page's edits. The colour on the R/G/B sliders, their labels and the
// swatch is the page's own state: a colour slider changes one byte of it and
// of the slot's custom colour; the colour display refresh replaces it.
class LightingFields {
  public:
    std::uint32_t ShownColor() const { return shown_; }

    // Colour display refresh: the sliders show the level's displayed colour.
    void RefreshColor(const settings::ProfileRecord& profile) { shown_ = DisplayedColor(profile); }

    // Slider message; unknown ids change nothing.
    void MoveSlider(settings::ProfileRecord& profile, int id, int position);
    // The colour spectrum's pick becomes the slot's custom colour.
    void PickColor(settings::ProfileRecord& profile, std::uint32_t color);
    // Preset button `index` 0..32 and colour-type button 0 (preset) or 1
    // (custom): both refresh the colour display. Other values are ignored.
    void ChoosePreset(settings::ProfileRecord& profile, int index);
    void ChooseColorType(settings::ProfileRecord& profile, int type);

  private:
    std::uint32_t shown_ = 0;
};

void SetLightingOn(settings::ProfileRecord& profile, bool on);
// Buttons 0..3 of the switch and type rows (others are ignored).
void ChooseLightSwitch(settings::ProfileRecord& profile, int value);
void ChooseLightType(settings::ProfileRecord& profile, int value);

}  // namespace option
