// The display program's decisions: what a notice says, which display values
// it honours, how it fades and where it goes.
#include <gtest/gtest.h>

#include <cstring>

#include "osd/display_options.h"
#include "osd/fade_schedule.h"
#include "osd/notice_text.h"
#include "osd/placement.h"

namespace osd {
namespace {

TEST(OsdNoticeText, ProfileNoticeNamesTheProfileOfTheHighWord) {
    EXPECT_EQ(Summary(*ProfileNotice(2u << 16, "Gaming")), "PROFILE 3: Gaming");
    EXPECT_EQ(Summary(*ProfileNotice(0, "")), "PROFILE 1: Profile 1");
    EXPECT_EQ(Summary(*ProfileNotice((4u << 16) | 0x1234, " \t")), "PROFILE 5: Profile 5");
    // Indices that name no profile show nothing.
    EXPECT_FALSE(ProfileNotice(5u << 16, "x"));
    EXPECT_FALSE(ProfileNotice(0xFFFFu << 16, "x"));
}

TEST(OsdNoticeText, TextNoticeTellsCpiFromOtherTexts) {
    EXPECT_EQ(*TextNotice("CPI: 720"), (Notice{"CPI", "", "720"}));
    EXPECT_EQ(Summary(*TextNotice("  You have 2 new mails\r\n")), "NOTICE: You have 2 new mails");
    EXPECT_EQ(Summary(*TextNotice("CPI:")), "NOTICE: CPI:");
    EXPECT_FALSE(TextNotice(""));
    EXPECT_FALSE(TextNotice(" \n "));
}

TEST(OsdNoticeText, MacroNoticeShowsNumberAndName) {
    EXPECT_EQ(Summary(*MacroNotice(3, "Alpha")), "MACRO 3: Alpha");
    EXPECT_EQ(Summary(*MacroNotice(-1, "")), "MACRO: Macro");
    EXPECT_EQ(Summary(*MacroNotice(100, "Big")), "MACRO: Big");
}

TEST(OsdNoticeText, CleanTextDropsControlsAndCutsLongTexts) {
    EXPECT_EQ(CleanText("a\x01"
                        "b\x7f"
                        "c"),
              "a b c");
    EXPECT_EQ(CleanText(std::string(400, 'x')).size(), kMaxBodyLength);
    // A cut that lands after a blank does not leave it trailing.
    EXPECT_EQ(CleanText("abc def", 4), "abc");
    // A cut never splits a character: "é" is two bytes.
    EXPECT_EQ(CleanText("ab\xC3\xA9", 3), "ab");
    EXPECT_EQ(CleanText("\xE5\xBC\xA0\xE4\xBC\x9F", 5), "\xE5\xBC\xA0");
    EXPECT_EQ(CleanText("abc", 0), "");
}

TEST(OsdDisplayOptions, ValuesDecodeWithDefaultsAndLimits) {
    const DisplayOptions defaults = DisplayOptionsFromMessage(0);
    EXPECT_EQ(defaults.placement, Placement::BottomCentre);
    EXPECT_EQ(defaults.holdMs, kDefaultHoldMs);

    const DisplayOptions topLeft = DisplayOptionsFromMessage((1u << 16) | 2500);
    EXPECT_EQ(topLeft.placement, Placement::TopLeft);
    EXPECT_EQ(topLeft.holdMs, 2500);
    EXPECT_EQ(DisplayOptionsFromMessage(6u << 16).placement, Placement::BottomRight);

    // Hostile values: unknown places and negative ones fall back, times are held.
    EXPECT_EQ(DisplayOptionsFromMessage(7u << 16).placement, Placement::BottomCentre);
    EXPECT_EQ(DisplayOptionsFromMessage(0xFFFF0000u).placement, Placement::BottomCentre);
    EXPECT_EQ(DisplayOptionsFromMessage(0xFFFF).holdMs, kMaxHoldMs);
    EXPECT_EQ(DisplayOptionsFromMessage(1).holdMs, kMinHoldMs);
}

TEST(OsdDisplayOptions, RecordGivesWhatMonitorForwards) {
    settings::OsdSettings record{};
    record.displayValue1 = 0x00010003;  // only the low half travels
    record.displayValue2 = 0x7FFF0BB8;
    const DisplayOptions options = DisplayOptionsFromRecord(record);
    EXPECT_EQ(options.placement, Placement::TopRight);
    EXPECT_EQ(options.holdMs, 3000);
}

TEST(OsdFade, HoldsThenFadesThenEnds) {
    FadeFrame start = FadeAt(0, 1500);
    EXPECT_EQ(start.alpha, kOpaque);
    EXPECT_FALSE(start.finished);
    EXPECT_EQ(start.nextTickMs, 1500);
    EXPECT_EQ(FadeAt(-20, 1500).nextTickMs, 1500);
    EXPECT_EQ(FadeAt(1499, 1500).nextTickMs, 1);

    const FadeFrame early = FadeAt(1500, 1500);
    const FadeFrame half = FadeAt(1500 + kFadeMs / 2, 1500);
    EXPECT_EQ(early.alpha, kOpaque);
    EXPECT_NEAR(half.alpha, kOpaque / 2, 1);
    EXPECT_EQ(half.nextTickMs, kFadeStepMs);
    // The last step lands on the end, not after it.
    EXPECT_EQ(FadeAt(1500 + kFadeMs - 10, 1500).nextTickMs, 10);

    const FadeFrame end = FadeAt(1500 + kFadeMs, 1500);
    EXPECT_TRUE(end.finished);
    EXPECT_EQ(end.alpha, 0);
    EXPECT_EQ(end.nextTickMs, 0);
}

TEST(OsdPlacement, CornersKeepTheMarginOnTheirOwnMonitor) {
    // A second monitor left of the first, with a task bar at its bottom.
    const ScreenRect work{-1920, 0, 0, 1040};
    EXPECT_EQ(PlaceNotice(work, 300, 80, Placement::TopLeft),
              (ScreenRect{-1920 + kEdgeMargin, kEdgeMargin, -1920 + kEdgeMargin + 300,
                          kEdgeMargin + 80}));
    EXPECT_EQ(PlaceNotice(work, 300, 80, Placement::BottomRight),
              (ScreenRect{-kEdgeMargin - 300, 1040 - kEdgeMargin - 80, -kEdgeMargin,
                          1040 - kEdgeMargin}));
    EXPECT_EQ(PlaceNotice(work, 300, 80, Placement::BottomCentre),
              (ScreenRect{-1920 + 810, 1040 - kEdgeMargin - 80, -1920 + 1110, 1040 - kEdgeMargin}));
    EXPECT_EQ(PlaceNotice(work, 300, 80, Placement::Centre),
              (ScreenRect{-1920 + 810, 480, -1920 + 1110, 560}));
    // At 150 % the margin is 72 pixels.
    EXPECT_EQ(PlaceNotice(work, 450, 120, Placement::TopRight, 72),
              (ScreenRect{-72 - 450, 72, -72, 72 + 120}));
}

TEST(OsdPlacement, NoticeLargerThanTheScreenStaysOnIt) {
    const ScreenRect small{0, 0, 200, 60};
    EXPECT_EQ(PlaceNotice(small, 300, 80, Placement::BottomRight), small);
    // Too little room for the full margin: the notice keeps half the room each side.
    EXPECT_EQ(PlaceNotice(ScreenRect{0, 0, 320, 100}, 300, 80, Placement::TopRight),
              (ScreenRect{10, 10, 310, 90}));
}

}  // namespace
}  // namespace osd
