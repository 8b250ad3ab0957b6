#include "option/model/pages/lighting_fields.h"

#include <gtest/gtest.h>

#include <cstring>

#include "option/model/pages/advanced_fields.h"
#include "option/model/dialogs/dpi_color_fields.h"
#include "tests/support/default_profile.h"

namespace option {
namespace {

using testsupport::OptionDefaultProfile;

bool SameBytesExceptCustom(settings::ProfileRecord a, settings::ProfileRecord b) {
    std::memset(a.ClCustom, 0, sizeof a.ClCustom);
    std::memset(b.ClCustom, 0, sizeof b.ClCustom);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(LightingTables, BothTablesHoldTheirColoursAtEveryEnd) {
    EXPECT_EQ(kPresetColors[0], 0x0000FFu);
    EXPECT_EQ(kPresetColors[18], 0xFFD900u);
    EXPECT_EQ(kPresetColors[32], 0x4600C8u);
    EXPECT_EQ(kPreviewColors[0], 0x0117B7u);
    EXPECT_EQ(kPreviewColors[18], 0xFFC32Au);
    EXPECT_EQ(kPreviewColors[32], 0x2500F0u);
}

TEST(LightingColourDisplay, FollowsTheColourTypeOfTheEditedLevel) {
    settings::ProfileRecord p = OptionDefaultProfile();
    p.CpiStep = 1;
    p.ColorOptions[1] = 24;
    p.ClCustom[1] = 0x00112233;
    p.ColorType[1] = 1;
    EXPECT_EQ(DisplayedColor(p), 0x00112233u);
    p.ColorType[1] = 0;
    EXPECT_EQ(DisplayedColor(p), kPresetColors[24]);
    p.ColorType[1] = 7;
    EXPECT_EQ(DisplayedColor(p), kPresetColors[24]) << "only 1 means custom";

    LightingFields fields;
    fields.ChooseColorType(p, 1);
    EXPECT_EQ(p.ColorType[1], 1);
    EXPECT_EQ(fields.ShownColor(), 0x00112233u);
    fields.ChoosePreset(p, 5);
    EXPECT_EQ(p.ColorOptions[1], 5);
    EXPECT_EQ(fields.ShownColor(), 0x00112233u) << "a custom level keeps showing its own colour";
    fields.ChooseColorType(p, 0);
    EXPECT_EQ(fields.ShownColor(), kPresetColors[5]);
    fields.ChoosePreset(p, 33);
    fields.ChooseColorType(p, 2);
    EXPECT_EQ(p.ColorOptions[1], 5);
    EXPECT_EQ(p.ColorType[1], 0);
}

TEST(LightingColourDisplay, SlidersOfAPresetLevelChangeOnlyTheCustomColour) {
    settings::ProfileRecord p = OptionDefaultProfile();
    p.CpiStep = 2;
    p.ColorType[2] = 0;
    p.ColorOptions[2] = 11;  // 0x00FF00
    p.ClCustom[2] = 0x00445566;
    LightingFields fields;
    fields.RefreshColor(p);
    EXPECT_EQ(fields.ShownColor(), 0x0000FF00u);
    const settings::ProfileRecord before = p;

    fields.MoveSlider(p, kSliderRed, 0x80);
    EXPECT_EQ(p.ClCustom[2], 0x00445580u);
    EXPECT_EQ(fields.ShownColor(), 0x0000FF80u);
    fields.MoveSlider(p, kSliderBlue, 300);
    EXPECT_EQ(p.ClCustom[2], 0x00FF5580u);
    fields.MoveSlider(p, kSliderGreen, 0);
    EXPECT_EQ(p.ClCustom[2], 0x00FF0080u);
    EXPECT_EQ(p.ColorType[2], 0);
    EXPECT_TRUE(SameBytesExceptCustom(p, before));
    EXPECT_EQ(p.ClCustom[1], before.ClCustom[1]);

    fields.PickColor(p, 0xAA010203);
    EXPECT_EQ(p.ClCustom[2], 0x00010203u);
    EXPECT_EQ(fields.ShownColor(), 0x00010203u);
}

TEST(LightingLevels, ChangingTheLevelMovesEveryPerLevelEditToItsSlot) {
    settings::ProfileRecord p = OptionDefaultProfile();
    LightingFields fields;
    ChooseCpiLevel(p, 3);
    fields.ChoosePreset(p, 9);
    fields.ChooseColorType(p, 0);
    fields.MoveSlider(p, kSliderRed, 1);
    EXPECT_EQ(p.ColorOptions[3], 9);
    EXPECT_EQ(p.ColorType[3], 0);
    EXPECT_EQ(ChannelOf(p.ClCustom[3], Channel::Red), 1);
    ChooseCpiLevel(p, 0);
    fields.ChoosePreset(p, 30);
    EXPECT_EQ(p.ColorOptions[0], 30);
    EXPECT_EQ(p.ColorOptions[3], 9);
}

TEST(LightingOutOfRange, StoredValuesAreShownClampedAndNeverReadPastATable) {
    settings::ProfileRecord p = OptionDefaultProfile();
    p.CpiStep = 7;
    p.ColorOptions[3] = 40;
    p.ColorType[3] = 0;
    p.LightSwitch = 9;
    p.LightType = -2;
    LightingView v = LightingViewOf(p);
    EXPECT_EQ(v.preset, 0);
    EXPECT_EQ(v.previewColor, kPreviewColors[0]) << "ColorOptions 40 paints entry 0";
    EXPECT_EQ(DisplayedColor(p), kPresetColors[0]);
    EXPECT_EQ(v.lightSwitch, 3);
    EXPECT_EQ(v.lightType, 0);
    p.ColorOptions[3] = -1;
    EXPECT_EQ(LightingViewOf(p).previewColor, kPreviewColors[0]);

    // Edits of the level shown go to slot 3; CpiStep stays as stored.
    LightingFields fields;
    fields.MoveSlider(p, kSliderGreen, 7);
    EXPECT_EQ(ChannelOf(p.ClCustom[3], Channel::Green), 7);
    EXPECT_EQ(p.CpiStep, 7);
    EXPECT_EQ(p.ColorOptions[3], -1);
    fields.MoveSlider(p, kSliderLightSwitch, 2);
    fields.MoveSlider(p, kSliderLightType, 12);
    EXPECT_EQ(p.LightSwitch, 2);
    EXPECT_EQ(p.LightType, 3);
}

TEST(LightingView, EveryControlFollowsTheProfileShown) {
    settings::ProfileRecord a = OptionDefaultProfile();
    settings::ProfileRecord b = OptionDefaultProfile();
    b.ColorFlag = 0;
    b.LightSwitch = 0;
    b.LightType = 3;
    b.ColorType[0] = 0;
    b.ColorOptions[0] = 4;
    const LightingView va = LightingViewOf(a);
    const LightingView vb = LightingViewOf(b);
    EXPECT_NE(va.lightingOn, vb.lightingOn);
    EXPECT_NE(va.lightSwitch, vb.lightSwitch);
    EXPECT_NE(va.lightType, vb.lightType);
    EXPECT_NE(va.customColor, vb.customColor);
    EXPECT_NE(va.preset, vb.preset);
    EXPECT_NE(va.previewColor, vb.previewColor);
}

TEST(DpiColourSpins, EachSpinBoxReplacesOneByte) {
    EXPECT_EQ(ColorAfterSpin(0x00FFFFFF, kSpinGreen, 0), 0x00FF00FFu);
    EXPECT_EQ(ColorAfterSpin(0x00000000, kSpinRed, 255), 0x000000FFu);
    EXPECT_EQ(ColorAfterSpin(0x00000000, kSpinBlue, 0x12), 0x00120000u);
    EXPECT_EQ(ColorAfterSpin(0x00123456, 403, 9), 0x00123456u) << "other ids are ignored";
    EXPECT_EQ(ColorAfterSpin(0xFF000000, kSpinRed, 1), 0x00000001u) << "the top byte stays 0";
}

}  // namespace
}  // namespace option
