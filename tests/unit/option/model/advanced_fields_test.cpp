#include "option/model/pages/advanced_fields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <optional>

#include "tests/support/default_profile.h"

namespace option {
namespace {

using testsupport::OptionDefaultProfile;

bool SameBytes(const settings::ProfileRecord& a, const settings::ProfileRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// One scripted answer; opening it twice or unscripted fails the test.
class ScriptedColorDialog final : public ColorDialog {
  public:
    explicit ScriptedColorDialog(std::optional<std::uint32_t> answer) : answer_(answer) {}
    bool PickColor(std::uint32_t& color) override {
        EXPECT_FALSE(seed.has_value()) << "the dialog opened twice";
        seed = color;
        if (!answer_) {
            color = 0x123456;  // what a cancelled dialog did meanwhile must not count
            return false;
        }
        color = *answer_;
        return true;
    }
    std::optional<std::uint32_t> seed;

  private:
    std::optional<std::uint32_t> answer_;
};

TEST(PointerSpeedTable, PositionsStoreTheTableAndStoredValuesShowTheirPosition) {
    const std::int32_t stored[] = {1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20};
    for (int position = 1; position <= 11; ++position) {
        EXPECT_EQ(PointerSpeedFromPosition(position), stored[position - 1]) << position;
        EXPECT_EQ(PositionFromPointerSpeed(stored[position - 1]), position) << position;
    }
    EXPECT_EQ(PointerSpeedFromPosition(6), 10);
    EXPECT_EQ(PointerSpeedFromPosition(0), 10);
    EXPECT_EQ(PointerSpeedFromPosition(12), 10);
    // The odd values between two positions, and the ones outside the range.
    EXPECT_EQ(PositionFromPointerSpeed(0), 1);
    EXPECT_EQ(PositionFromPointerSpeed(3), 3);
    EXPECT_EQ(PositionFromPointerSpeed(7), 5);
    EXPECT_EQ(PositionFromPointerSpeed(9), 6);
    EXPECT_EQ(PositionFromPointerSpeed(10), 6);
    EXPECT_EQ(PositionFromPointerSpeed(11), 7);
    EXPECT_EQ(PositionFromPointerSpeed(19), 11);
    EXPECT_EQ(PositionFromPointerSpeed(21), 6);
    EXPECT_EQ(PositionFromPointerSpeed(-1), 6);
}

TEST(AdvancedSliders, EachSliderStoresItsFieldWithinItsRange) {
    settings::ProfileRecord p = OptionDefaultProfile();
    p.XYSynchronous = 0;
    MoveAdvancedSlider(p, kSliderOtgSpeed, 255);
    MoveAdvancedSlider(p, kSliderPointerSpeed, 6);
    MoveAdvancedSlider(p, kSliderWheelLines, 7);
    MoveAdvancedSlider(p, kSliderTrails, 99);
    MoveAdvancedSlider(p, kSliderSensitivityX, 0);
    EXPECT_EQ(p.OTGSpeed, 255);
    EXPECT_EQ(p.MouseSpeed, 10);
    EXPECT_EQ(p.ScrollWheelSpeed, 7);
    EXPECT_EQ(p.MouseTrails, 7) << "a position past the range is the maximum";
    EXPECT_EQ(p.Sensitivity_X, 1);
    EXPECT_EQ(p.Sensitivity_Y, 10) << "not linked";

    const settings::ProfileRecord before = p;
    MoveAdvancedSlider(p, 209, 5);
    MoveAdvancedSlider(p, 200, 5);
    EXPECT_TRUE(SameBytes(p, before)) << "ids of no slider change nothing";
}

TEST(AdvancedSliders, CpiSlidersMoveBothAxesOnlyWhileLinked) {
    settings::ProfileRecord p = OptionDefaultProfile();
    p.CpiStep = 2;
    p.XYCpiFlag = 0;
    // The level edited (2) after each slider move: {X, Y}.
    auto level2 = [&] { return std::pair{p.CpiLevel_X[2], p.CpiLevel_Y[2]}; };
    MoveAdvancedSlider(p, kSliderCpiX, 50);
    EXPECT_EQ(level2(), std::pair(50, 50));
    MoveAdvancedSlider(p, kSliderCpiY, 160);
    EXPECT_EQ(level2(), std::pair(160, 160));
    const AdvancedView linked = AdvancedViewOf(p);
    EXPECT_EQ(linked.cpiX * 100, 16000) << "the label shows 16000";

    p.XYCpiFlag = 1;
    MoveAdvancedSlider(p, kSliderCpiX, 1);
    EXPECT_EQ(level2(), std::pair(1, 160));
    MoveAdvancedSlider(p, kSliderCpiY, 20);
    EXPECT_EQ(level2(), std::pair(1, 20));
    EXPECT_EQ(AdvancedViewOf(p).cpiX * 100, 100) << "the label shows 100";
    EXPECT_EQ(p.CpiLevel_X[1], 15) << "other levels stay";

    // Linking again makes Y follow X at once, on the edited level only.
    SetAdvancedCheck(p, AdvancedCheck::SeparateCpi, false);
    EXPECT_EQ(p.XYCpiFlag, 0);
    EXPECT_EQ(p.CpiLevel_Y[2], 1);
    SetAdvancedCheck(p, AdvancedCheck::SeparateCpi, true);
    EXPECT_EQ(p.XYCpiFlag, 1);
    EXPECT_EQ(p.CpiLevel_Y[2], 1);
}

TEST(AdvancedSliders, SensitivityLinkCopiesXToYOnlyWhenTurnedOn) {
    settings::ProfileRecord p = OptionDefaultProfile();
    SetAdvancedCheck(p, AdvancedCheck::LinkSensitivity, false);
    MoveAdvancedSlider(p, kSliderSensitivityX, 3);
    MoveAdvancedSlider(p, kSliderSensitivityY, 8);
    EXPECT_EQ(p.Sensitivity_X, 3);
    EXPECT_EQ(p.Sensitivity_Y, 8);
    SetAdvancedCheck(p, AdvancedCheck::LinkSensitivity, false);
    EXPECT_EQ(p.Sensitivity_Y, 8) << "turning it off copies nothing";

    SetAdvancedCheck(p, AdvancedCheck::LinkSensitivity, true);
    EXPECT_EQ(p.XYSynchronous, 1);
    EXPECT_EQ(p.Sensitivity_Y, 3);
    MoveAdvancedSlider(p, kSliderSensitivityY, 11);
    EXPECT_EQ(p.Sensitivity_X, 11);
    EXPECT_EQ(AdvancedViewOf(p).sensitivityX, 11);
}

TEST(AdvancedClicks, LevelButtonsChangeNoValueAndOtherChecksStoreTheirFlags) {
    settings::ProfileRecord p = OptionDefaultProfile();
    const settings::ProfileRecord before = p;
    ChooseCpiLevel(p, 3);
    EXPECT_EQ(p.CpiStep, 3);
    const AdvancedView view = AdvancedViewOf(p);
    EXPECT_EQ(view.level, 3);
    EXPECT_EQ(view.cpiX, 60);
    ChooseCpiLevel(p, 4);
    ChooseCpiLevel(p, -1);
    EXPECT_EQ(p.CpiStep, 3);
    p.CpiStep = before.CpiStep;
    EXPECT_TRUE(SameBytes(p, before)) << "switching levels changed a value";

    SetAdvancedCheck(p, AdvancedCheck::Acceleration, true);
    EXPECT_EQ(p.AccelerationFlag, 1);
    EXPECT_EQ(p.Acceleration, 8);
    SetAdvancedCheck(p, AdvancedCheck::Acceleration, false);
    EXPECT_EQ(p.Acceleration, 0);
    SetAdvancedCheck(p, AdvancedCheck::Trails, true);
    SetAdvancedCheck(p, AdvancedCheck::PageScroll, true);
    ChoosePollingRate(p, 3);
    ChoosePollingRate(p, 4);
    EXPECT_EQ(p.bMouseTrails, 1);
    EXPECT_EQ(p.ScrollWheelFlag, 1);
    EXPECT_EQ(p.PollingRate, 3);
}

TEST(AdvancedView, EveryControlFollowsTheProfileShown) {
    // Two profiles that differ in every field the page shows: a refresh
    // from one to the other changes every control.
    settings::ProfileRecord a = OptionDefaultProfile();
    settings::ProfileRecord b = OptionDefaultProfile();
    b.PollingRate = 0;
    b.CpiStep = 1;
    b.CpiLevel_X[1] = 70;
    b.CpiLevel_Y[1] = 80;
    b.XYCpiFlag = 1;
    b.Sensitivity_X = 2;
    b.Sensitivity_Y = 5;
    b.XYSynchronous = 0;
    b.MouseSpeed = 20;
    b.AccelerationFlag = 1;
    b.MouseTrails = 7;
    b.bMouseTrails = 1;
    b.ScrollWheelSpeed = 9;
    b.ScrollWheelFlag = 1;
    b.OTGSpeed = 200;
    for (auto& c : b.LedDPIColor) c ^= 0x0000FFu;
    const AdvancedView va = AdvancedViewOf(a);
    const AdvancedView vb = AdvancedViewOf(b);
    EXPECT_NE(va.pollingRate, vb.pollingRate);
    EXPECT_NE(va.level, vb.level);
    EXPECT_NE(va.cpiX, vb.cpiX);
    EXPECT_NE(va.cpiY, vb.cpiY);
    EXPECT_NE(va.separateCpi, vb.separateCpi);
    EXPECT_NE(va.sensitivityX, vb.sensitivityX);
    EXPECT_NE(va.sensitivityY, vb.sensitivityY);
    EXPECT_NE(va.linkSensitivity, vb.linkSensitivity);
    EXPECT_NE(va.pointerSpeed, vb.pointerSpeed);
    EXPECT_NE(va.acceleration, vb.acceleration);
    EXPECT_NE(va.trailsLength, vb.trailsLength);
    EXPECT_NE(va.trails, vb.trails);
    EXPECT_NE(va.wheelLines, vb.wheelLines);
    EXPECT_NE(va.pageScroll, vb.pageScroll);
    EXPECT_NE(va.otgSpeed, vb.otgSpeed);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_NE(va.ledColors[i], vb.ledColors[i]) << i;
    EXPECT_EQ(vb.cpiX, 70);
    EXPECT_EQ(vb.cpiY, 80);
}

TEST(AdvancedOutOfRange, StoredValuesAreShownClampedAndNeverIndexPastTheLevels) {
    settings::ProfileRecord p = OptionDefaultProfile();
    p.CpiStep = 7;
    p.PollingRate = 9;
    p.MouseSpeed = 0;
    p.CpiLevel_X[3] = 500;
    p.Sensitivity_X = -4;
    p.MouseTrails = 0;
    p.OTGSpeed = 1000;
    AdvancedView v = AdvancedViewOf(p);
    EXPECT_EQ(v.level, 3);
    EXPECT_EQ(v.pollingRate, 3);
    EXPECT_EQ(v.pointerSpeed, 1);
    EXPECT_EQ(v.cpiX, 160);
    EXPECT_EQ(v.sensitivityX, 1);
    EXPECT_EQ(v.trailsLength, 2);
    EXPECT_EQ(v.otgSpeed, 255);
    p.CpiStep = -1;
    EXPECT_EQ(AdvancedViewOf(p).level, 0);

    // With CpiStep 5 the Y slider would land on CpiStep itself (the field
    // after CpiLevel_Y[4]); it edits the level shown instead.
    p.CpiStep = 5;
    p.XYCpiFlag = 0;
    const settings::ProfileRecord before = p;
    MoveAdvancedSlider(p, kSliderCpiY, 33);
    EXPECT_EQ(p.CpiStep, 5) << "the record keeps what it holds";
    EXPECT_EQ(p.CpiLevel_Y[3], 33);
    EXPECT_EQ(p.CpiLevel_X[3], 33);
    EXPECT_EQ(p.CpiLevel_Y[4], before.CpiLevel_Y[4]);
    EXPECT_EQ(p.PollingRate, 9);
    EXPECT_EQ(p.MouseSpeed, 0);
}

TEST(LedSwatches, ThePickerOpensOnTheStoredColourAndOnlyOkStores) {
    settings::ProfileRecord p = OptionDefaultProfile();
    p.LedDPIColor[2] = 0x00ABCDEF;
    const settings::ProfileRecord before = p;
    ScriptedColorDialog cancelled(std::nullopt);
    EXPECT_FALSE(EditLedColor(p, 2, cancelled));
    EXPECT_EQ(cancelled.seed, 0x00ABCDEFu);
    EXPECT_TRUE(SameBytes(p, before)) << "cancel changed the record";

    ScriptedColorDialog ok(0xFF102030u);
    EXPECT_TRUE(EditLedColor(p, 2, ok));
    EXPECT_EQ(ok.seed, 0x00ABCDEFu);
    EXPECT_EQ(p.LedDPIColor[2], 0x00102030u) << "the top byte stays 0";
    EXPECT_EQ(p.LedDPIColor[1], before.LedDPIColor[1]);

    ScriptedColorDialog never(0u);
    EXPECT_FALSE(EditLedColor(p, 4, never));
    EXPECT_FALSE(never.seed.has_value()) << "no fifth swatch";
}

}  // namespace
}  // namespace option
