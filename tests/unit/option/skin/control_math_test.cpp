#include "option/skin/control_math.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace skin {
namespace {

TEST(TrackClick, TwoHundredPixelTrackWithRangeZeroToTen) {
    // Track from 40 to 240 in the parent.
    EXPECT_DOUBLE_EQ(TrackClickValue(140, 40, 240, 0, 10), 5.0);
    char trace[32];
    std::snprintf(trace, sizeof trace, "%f", TrackClickValue(140, 40, 240, 0, 10));
    EXPECT_STREQ(trace, "5.000000");
    const double at199 = TrackClickValue(239, 40, 240, 0, 10);
    EXPECT_DOUBLE_EQ(at199, 9.95);
    EXPECT_EQ(RoundAndClamp(at199, false, 0, 10), 9);
    EXPECT_EQ(RoundAndClamp(at199, true, 0, 10), 10);
}

TEST(TrackClick, OutsideTheTrackClampsToTheEnds) {
    EXPECT_EQ(RoundAndClamp(TrackClickValue(10, 40, 240, 0, 10), false, 0, 10), 0);
    EXPECT_EQ(RoundAndClamp(TrackClickValue(500, 40, 240, 0, 10), true, 0, 10), 10);
    // A negative range: left of the track is still the minimum with rounding.
    EXPECT_EQ(RoundAndClamp(TrackClickValue(35, 40, 240, -5, 5), true, -5, 5), -5);
    EXPECT_EQ(RoundAndClamp(-4.6, true, -5, 5), -5);
    EXPECT_EQ(RoundAndClamp(-4.6, false, -5, 5), -4);
}

TEST(TrackClick, EmptyTrackAndHugeValuesAreSafe) {
    EXPECT_DOUBLE_EQ(TrackClickValue(50, 40, 40, 3, 10), 3.0);
    EXPECT_EQ(RoundAndClamp(1e30, true, 0, 10), 10);
    EXPECT_EQ(RoundAndClamp(-1e30, false, 0, 10), 0);
}

TEST(Thumb, PositionFollowsValueAndClampsUnsigned) {
    // Track 200 wide, thumb 10 wide: 190 pixels of travel.
    EXPECT_EQ(ThumbX(0, 0, 10, 0, 200, 10), 0);
    EXPECT_EQ(ThumbX(5, 0, 10, 0, 200, 10), 95);
    EXPECT_EQ(ThumbX(10, 0, 10, 0, 200, 10), 190);
    EXPECT_EQ(ClampUnsigned(25, 0, 10), 10u);
    EXPECT_EQ(ThumbX(ClampUnsigned(25, 0, 10), 0, 10, 0, 200, 10), 190);
    // A negative value seen unsigned is above the maximum.
    EXPECT_EQ(ClampUnsigned(static_cast<std::uint32_t>(-1), 0, 10), 10u);
    EXPECT_EQ(ClampUnsigned(2, 5, 10), 5u);
    // Empty range and a thumb wider than its track stay at the left bound.
    EXPECT_EQ(ThumbX(7, 7, 7, 3, 200, 10), 3);
    EXPECT_EQ(ThumbX(5, 0, 10, 0, 8, 10), 0);
}

TEST(Thumb, DragAndReleaseValues) {
    EXPECT_EQ(ThumbDragValue(95, 0, 10, 0, 200, 10), 5);
    EXPECT_EQ(ThumbDragValue(94, 0, 10, 0, 200, 10), 4);
    EXPECT_EQ(ThumbDragValue(190, 0, 10, 0, 200, 10), 10);
    EXPECT_DOUBLE_EQ(ThumbReleaseValue(94, 0, 10, 0, 200, 10), 940.0 / 190.0);
    EXPECT_EQ(RoundAndClamp(ThumbReleaseValue(94, 0, 10, 0, 200, 10), true, 0, 10), 5);
    EXPECT_EQ(ThumbDragValue(50, 0, 10, 0, 10, 10), 0);  // no travel
    EXPECT_EQ(ClampThumbLeft(-20, 0, 200, 10), 0);
    EXPECT_EQ(ClampThumbLeft(195, 0, 200, 10), 190);
    EXPECT_EQ(ClampThumbLeft(100, 0, 200, 10), 100);
}

// Keys move a slider by steps and stop at its ends, also from a value that
// lies outside the range (a slider shown before its range was set).
TEST(SliderKeys, StepsPagesAndEndsStayInRange) {
    EXPECT_EQ(SliderValueAfter(SliderMove::StepUp, 3, 0, 10), 4);
    EXPECT_EQ(SliderValueAfter(SliderMove::StepDown, 0, 0, 10), 0);
    EXPECT_EQ(SliderValueAfter(SliderMove::PageUp, 3, 0, 10), 10);
    EXPECT_EQ(SliderValueAfter(SliderMove::PageDown, 15, 1, 20), 5);
    EXPECT_EQ(SliderValueAfter(SliderMove::ToMinimum, 7, 2, 9), 2);
    EXPECT_EQ(SliderValueAfter(SliderMove::ToMaximum, 7, 2, 9), 9);
    EXPECT_EQ(SliderValueAfter(SliderMove::StepUp, INT_MAX, 0, INT_MAX), INT_MAX);
    EXPECT_EQ(SliderValueAfter(SliderMove::StepDown, 50, 0, 10), 10);
}

// The group of a control: its run between the marks with the run's columns;
// a control outside every group, or a table whose group is never closed,
// has none.
TEST(ArrowGroups, RunBetweenTheMarks) {
    constexpr int table[] = {7,         GroupStart(), 1, 2, kGroupEnd, 8, GroupStart(3), 3, 4, 5, 6,
                             kGroupEnd, GroupStart(), 9};
    const GroupRun row = GroupHolding(table, 2);
    EXPECT_EQ(std::make_pair(row.first, row.count), std::make_pair(std::size_t{2}, std::size_t{2}));
    EXPECT_EQ(row.columns, 1);
    const GroupRun grid = GroupHolding(table, 5);
    EXPECT_EQ(std::make_pair(grid.first, grid.count),
              std::make_pair(std::size_t{7}, std::size_t{4}));
    EXPECT_EQ(grid.columns, 3);
    EXPECT_EQ(GroupHolding(table, 8).count, 0u);
    EXPECT_EQ(GroupHolding(table, 9).count, 0u);
}

TEST(FillBar, WidthAndValue) {
    EXPECT_EQ(FillWidth(0, 0, 10, 150), 0);
    EXPECT_EQ(FillWidth(5, 0, 10, 150), 75);
    EXPECT_EQ(FillWidth(10, 0, 10, 150), 150);
    EXPECT_EQ(FillWidth(20, 0, 10, 150), 150);
    EXPECT_EQ(FillWidth(3, 3, 3, 150), 0);
    // Bar from 20 to 170 in the parent.
    EXPECT_EQ(FillValue(95, 20, 170, 0, 10), 5);
    EXPECT_EQ(FillValue(5, 20, 170, 0, 10), 0);
    EXPECT_EQ(FillValue(400, 20, 170, 0, 10), 10);
    EXPECT_EQ(FillValue(95, 20, 170, 1, 7), 4);
    EXPECT_EQ(FillValue(95, 20, 20, 1, 7), 1);
}

// A skin may put a control anywhere: bounds at the ends of the int range give
// the value the formulas give, never an overflow.
TEST(SkinPlacedControls, BoundsAtTheEndsOfTheIntRange) {
    EXPECT_DOUBLE_EQ(TrackClickValue(INT_MAX, INT_MIN, INT_MAX, 0, 10), 10.0);
    EXPECT_DOUBLE_EQ(TrackClickValue(INT_MIN, -2, INT_MAX, 0, 1),
                     (double(INT_MIN) + 2) / (double(INT_MAX) + 2));
    EXPECT_EQ(ClampThumbLeft(INT_MAX, 0, INT_MAX, 10), INT_MAX - 10);
    EXPECT_EQ(ClampThumbLeft(-2, INT_MIN, INT_MAX, INT_MAX), -2);
    EXPECT_EQ(FillValue(INT_MAX, INT_MIN, INT_MAX, 0, 100), 100);
    EXPECT_EQ(FillValue(0, INT_MIN, INT_MAX, 0, 100), 50);
    // Travel and range both near 2^32: the products exceed 64 bits.
    EXPECT_EQ(FillValue(INT_MAX, INT_MIN, INT_MAX, INT_MIN, INT_MAX), INT_MAX);
    EXPECT_EQ(FillValue(0, INT_MIN, INT_MAX, INT_MIN, INT_MAX), 0);
    EXPECT_EQ(ThumbDragValue(INT_MAX, 0, UINT32_MAX, INT_MIN, INT_MAX, 0), UINT32_MAX);
    EXPECT_EQ(ThumbDragValue(-1, 0, UINT32_MAX, INT_MIN, INT_MAX, 0), 2147483647);
    EXPECT_EQ(ThumbX(UINT32_MAX, 0, UINT32_MAX, INT_MIN, INT_MAX, 0), INT_MAX);
    EXPECT_EQ(ThumbX(UINT32_MAX / 2, 0, UINT32_MAX, INT_MIN, INT_MAX, 0), -1);
}

TEST(Spin, TextLimitAndSign) {
    EXPECT_EQ(SpinTextLimit(-5, 5), 2);
    EXPECT_EQ(SpinTextLimit(0, 10), 2);
    EXPECT_EQ(SpinTextLimit(0, 9), 1);
    EXPECT_EQ(SpinTextLimit(1, 32000), 5);
    EXPECT_EQ(SpinTextLimit(-100, -1), 2);
}

TEST(Spin, StepFiftyUpAndDown) {
    auto up = SpinUp(100, 50, 0, 500);
    EXPECT_TRUE(up.changed);
    EXPECT_EQ(up.value, 150);
    EXPECT_EQ(SpinUp(500, 50, 0, 500).value, 500);  // stays at a maximum that is a multiple
    EXPECT_FALSE(SpinUp(600, 50, 0, 500).changed);  // text above the maximum: nothing
    EXPECT_EQ(SpinDown(100, 50, 0, 500).value, 50);
    EXPECT_EQ(SpinDown(0, 50, 0, 500).value, 0);
    EXPECT_FALSE(SpinDown(-1, 50, 0, 500).changed);
    // An odd value snaps to the step.
    EXPECT_EQ(SpinUp(120, 50, 0, 500).value, 150);
    EXPECT_EQ(SpinDown(120, 50, 0, 500).value, 50);
    // Range ends that are not multiples of the step are never passed.
    EXPECT_EQ(SpinUp(230, 50, 0, 230).value, 230);  // 250 after rounding
    EXPECT_EQ(SpinUp(180, 50, 0, 230).value, 230);
    EXPECT_EQ(SpinDown(0, 50, -20, 230).value, 0);
}

TEST(Spin, SmallRangesStepOne) {
    EXPECT_EQ(SpinUp(4, 1, -5, 5).value, 5);
    EXPECT_EQ(SpinUp(5, 1, -5, 5).value, 5);
    EXPECT_EQ(SpinDown(-5, 1, -5, 5).value, -5);
    EXPECT_EQ(SpinDown(0, 1, -5, 5).value, -1);
    EXPECT_EQ(SpinUp(10, 1, 0, 10).value, 10);
    EXPECT_EQ(SpinUp(3, 0, 0, 10).value, 4);  // a zero step counts as one
}

TEST(Spin, CommitReadsRoundsAndClamps) {
    auto c = SpinCommitText("  -3xyz", 1, -5, 5);
    EXPECT_EQ(c.value, -3);
    EXPECT_FALSE(c.rewriteText);
    c = SpinCommitText("", 1, 0, 10);
    EXPECT_EQ(c.value, 0);
    EXPECT_FALSE(c.rewriteText);
    c = SpinCommitText("77", 1, 0, 10);
    EXPECT_EQ(c.value, 10);
    EXPECT_TRUE(c.rewriteText);
    c = SpinCommitText("120", 50, 0, 500);
    EXPECT_EQ(c.value, 100);
    EXPECT_TRUE(c.rewriteText);
    c = SpinCommitText("-9", 1, -5, 5);
    EXPECT_EQ(c.value, -5);
    EXPECT_TRUE(c.rewriteText);
    EXPECT_EQ(SpinCommitText("99999999999", 1, 0, 10).value, 10);
}

TEST(Spin, EnterDropsLeadingJunk) {
    auto e = SpinEnterText("ab7", 7, 0, 10);
    EXPECT_EQ(e.value, 7);
    EXPECT_TRUE(e.rewriteText);  // the text was not "7"
    e = SpinEnterText("7", 7, 0, 10);
    EXPECT_FALSE(e.rewriteText);
    e = SpinEnterText("7", 3, 0, 10);
    EXPECT_TRUE(e.rewriteText);  // the stored value differed
    e = SpinEnterText("x-4", 0, -5, 5);
    EXPECT_EQ(e.value, -4);
    e = SpinEnterText("0", 0, 0, 10);  // no character of the set: empty text reads 0
    EXPECT_EQ(e.value, 0);
    EXPECT_FALSE(e.rewriteText);
    EXPECT_EQ(SpinEnterText("50", 0, 0, 10).value, 10);
}

TEST(NumericEdit, FilterKeepsLeadingRun) {
    EXPECT_EQ(NumericPrefix("12a3", false), "12");
    EXPECT_EQ(NumericPrefix("-12", false), "");
    EXPECT_EQ(NumericPrefix("-12+3x", true), "-12+3");
    EXPECT_EQ(NumericPrefix("", true), "");
    EXPECT_EQ(NumericPrefix("0099", false), "0099");
}

TEST(NumericEdit, KeyFilter) {
    for (unsigned vk = '0'; vk <= '9'; ++vk) EXPECT_TRUE(NumericKeyAllowed(vk));
    for (unsigned vk = 0x60; vk <= 0x69; ++vk) EXPECT_TRUE(NumericKeyAllowed(vk));
    for (unsigned vk : {0x08u, 0x0Du, 0x23u, 0x24u, 0x25u, 0x27u, 0x2Eu, 0xBBu, 0xBDu})
        EXPECT_TRUE(NumericKeyAllowed(vk)) << vk;
    // Up and Down arrows, letters, keypad minus, space and Tab are swallowed.
    for (unsigned vk : {0x26u, 0x28u, 0x41u, 0x5Au, 0x6Du, 0x6Bu, 0x20u, 0x09u, 0x2Fu, 0x3Au})
        EXPECT_FALSE(NumericKeyAllowed(vk)) << vk;
}

TEST(ButtonImageChoice, LatchingMode) {
    using B = ButtonImage;
    for (int bits = 0; bits < 16; ++bits) {
        const bool latched = bits & 1, hover = bits & 2, selected = bits & 4, disabled = bits & 8;
        const B got = ChooseButtonImage(true, latched, hover, selected, disabled);
        const B want = disabled ? B::Disabled : latched ? B::Down : hover ? B::Over : B::Normal;
        EXPECT_EQ(got, want) << bits;
    }
}

TEST(ButtonImageChoice, PushMode) {
    using B = ButtonImage;
    for (int bits = 0; bits < 16; ++bits) {
        const bool latched = bits & 1, hover = bits & 2, selected = bits & 4, disabled = bits & 8;
        const B got = ChooseButtonImage(false, latched, hover, selected, disabled);
        B want = B::Normal;
        if (latched && !disabled)
            want = B::Down;
        else if (selected)
            want = B::Down;
        else if (hover)
            want = B::Over;
        else if (disabled)
            want = B::Disabled;
        EXPECT_EQ(got, want) << bits;
    }
    // A hovered disabled push button shows Over: the hover wins in push mode.
    EXPECT_EQ(ChooseButtonImage(false, false, true, false, true), B::Over);
}

TEST(ButtonImageChoice, ShapedButton) {
    using B = ButtonImage;
    using S = RgnState;
    EXPECT_EQ(ChooseRgnImage(false, S::Normal, true).image, B::Normal);
    EXPECT_EQ(ChooseRgnImage(false, S::Over, true).image, B::Over);
    EXPECT_EQ(ChooseRgnImage(false, S::Down, true).image, B::Down);
    auto p = ChooseRgnImage(false, S::Disabled, true);  // enabled again: back to normal
    EXPECT_EQ(p.state, S::Normal);
    EXPECT_EQ(p.image, B::Normal);
    p = ChooseRgnImage(false, S::Over, false);
    EXPECT_EQ(p.state, S::Disabled);
    EXPECT_EQ(p.image, B::Disabled);
    EXPECT_EQ(ChooseRgnImage(true, S::Over, true).image, B::Down);
    EXPECT_EQ(ChooseRgnImage(true, S::Normal, false).image, B::Down);
    EXPECT_EQ(ChooseRgnImage(false, static_cast<S>(7), true).image, B::Normal);
}

TEST(Menu, LeftSeparatorRightIsFortyThreePixelsHigh) {
    int height = 0;
    for (unsigned id : {1001u, 0u, 1002u}) height += MeasureMenuItem(id, 16, 133).height;
    EXPECT_EQ(height, 19 + 5 + 19);
    EXPECT_EQ(MeasureMenuItem(1, 16, 133).height, 0);
    EXPECT_EQ(MeasureMenuItem(1001, 16, 133).width, 133);
}

TEST(Menu, WidthGrowsEightPixelsPerCharacterPlusMargins) {
    EXPECT_EQ(WidenMenu(133, 20, 0, 0), 160);
    EXPECT_EQ(WidenMenu(133, 20, 4, 6), 170);
    EXPECT_EQ(WidenMenu(133, 10, 4, 6), 133);  // never shrinks
    EXPECT_EQ(WidenMenu(0, 0, 0, 0), 0);
}

TEST(ColorPickerPoint, PickAreaFollowsTheScaleOfTheStrip) {
    // At 150 % the area runs from 9 to 296 and 9 to 30, grown by 5.
    EXPECT_TRUE(PickerPoint(4, 4, 150).hit);
    EXPECT_FALSE(PickerPoint(3, 10, 150).hit);
    const PickPoint p = PickerPoint(400, 100, 150);
    EXPECT_FALSE(p.hit);
    const PickPoint q = PickerPoint(300, 34, 150);
    EXPECT_TRUE(q.hit);
    EXPECT_EQ(q.x, 296);
    EXPECT_EQ(q.y, 30);
    EXPECT_EQ(q.markerX, 287);
}

TEST(SliderScale, AThumbLetGoWhereAValuePutItKeepsThatValueAtEveryScale) {
    // Page sliders at 100 % (264-pixel track, 12-pixel thumb) and at 150 %
    // (396 and 18 pixels): while a range has no more steps than the thumb has
    // pixels to travel, every value put on the track reads back unchanged.
    for (const auto& [track, thumb] : {std::pair{264, 12}, std::pair{396, 18}}) {
        for (const auto& [minimum, maximum] : {std::pair<std::uint32_t, std::uint32_t>{0, 3},
                                               {1, 20},
                                               {0, 10},
                                               {0, 255},
                                               {100, 400}}) {
            if (maximum - minimum > static_cast<std::uint32_t>(track - thumb))
                continue;
            for (std::uint32_t v = minimum; v <= maximum; ++v) {
                const int left = ThumbX(v, minimum, maximum, 40, 40 + track, thumb);
                const double back =
                    ThumbReleaseValue(left, minimum, maximum, 40, 40 + track, thumb);
                ASSERT_EQ(
                    RoundAndClamp(back, true, static_cast<int>(minimum), static_cast<int>(maximum)),
                    static_cast<int>(v))
                    << track << ": " << v << " of " << minimum << ".." << maximum;
            }
        }
    }
}

TEST(ColorPickerPoint, GrownAreaAndClamping) {
    auto p = PickerPoint(3, 3);
    EXPECT_TRUE(p.hit);
    EXPECT_EQ(p.markerX, 0);
    EXPECT_EQ(p.markerY, 0);
    EXPECT_FALSE(PickerPoint(2, 10).hit);
    EXPECT_FALSE(PickerPoint(10, 23).hit);
    p = PickerPoint(199, 22);
    EXPECT_TRUE(p.hit);
    EXPECT_EQ(p.x, 197);
    EXPECT_EQ(p.y, 20);
    EXPECT_EQ(p.markerX, 191);
    EXPECT_EQ(p.markerY, 14);
    p = PickerPoint(71, 13);
    EXPECT_EQ(p.markerX, 65);
    EXPECT_EQ(p.markerY, 7);
}

TEST(ColorPickerPoint, KeysMoveThePickPointWithinTheStripsArea) {
    // At 150 % the area is 9..296 by 9..30; a large step is 15 pixels.
    const PickBounds area = PickerBounds(150);
    EXPECT_EQ(MovePick({9, 20}, PickMove::Right, 1, area).x, 10);
    EXPECT_EQ(MovePick({9, 20}, PickMove::Left, 1, area).x, 9);
    EXPECT_EQ(MovePick({290, 20}, PickMove::Right, LargePickStep(150), area).x, 296);
    EXPECT_EQ(MovePick({100, 29}, PickMove::Down, 1, area).y, 30);
    EXPECT_EQ(MovePick({100, 30}, PickMove::Down, 1, area).y, 30);
    EXPECT_EQ(MovePick({100, 20}, PickMove::Up, LargePickStep(150), area).y, 9);
    const PickSpot end = MovePick({100, 20}, PickMove::RowEnd, 1, area);
    EXPECT_EQ(end.x, 296);
    EXPECT_EQ(end.y, 20);
    EXPECT_EQ(MovePick(end, PickMove::RowStart, 1, area).x, 9);
    EXPECT_EQ(LargePickStep(100), 10);
    // Every point the keys reach is one a click takes as it is.
    const PickPoint click = PickerPoint(end.x, end.y, 150);
    EXPECT_TRUE(click.hit);
    EXPECT_EQ(click.x, end.x);
    EXPECT_EQ(click.y, end.y);
}

TEST(Hint, CaseInsensitiveComparison) {
    HintString() = "Create Custom Color";
    EXPECT_TRUE(SameHint("create custom COLOR"));
    EXPECT_FALSE(SameHint("Create Custom Colour"));
    HintString().clear();
    EXPECT_TRUE(SameHint(""));
}

}  // namespace
}  // namespace skin
