#include "korrin/korrin_core.h"

#include <gtest/gtest.h>

namespace korrin {
namespace {

TEST(MatchesDevice, FindsVendorAndProductInPathsAndHardwareIds) {
    EXPECT_TRUE(MatchesDevice(
        R"(\\?\hid#vid_04d9&pid_ad50&mi_01#7&1a2b&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
        0x04D9, 0xAD50));
    EXPECT_TRUE(MatchesDevice(R"(HID\VID_04D9&PID_AD50&MI_00&Col02)", 0x04D9, 0xAD50));
    EXPECT_TRUE(MatchesDevice("USB\\Vid_04d9&Pid_Ad50", 0x04D9, 0xAD50));
    // Another product of the vendor, another vendor, ids cut short or longer.
    EXPECT_FALSE(MatchesDevice(R"(\\?\hid#vid_04d9&pid_ad51&mi_01#x)", 0x04D9, 0xAD50));
    EXPECT_FALSE(MatchesDevice(R"(\\?\hid#vid_046d&pid_ad50#x)", 0x04D9, 0xAD50));
    EXPECT_FALSE(MatchesDevice(R"(\\?\hid#vid_04d&pid_ad50#x)", 0x04D9, 0xAD50));
    EXPECT_FALSE(MatchesDevice(R"(\\?\hid#vid_04d9&pid_ad500#x)", 0x04D9, 0xAD50));
    EXPECT_FALSE(MatchesDevice(R"(\\?\hid#vid_04d9#x)", 0x04D9, 0xAD50));
    EXPECT_FALSE(MatchesDevice("", 0x04D9, 0xAD50));
    // "pid_" inside a longer word is not the product field.
    EXPECT_FALSE(MatchesDevice(R"(\\?\hid#vid_04d9&xpid_ad50#x)", 0x04D9, 0xAD50));
}

TEST(FrameReport, PrefixesReportIdAndPadsToTheReportLength) {
    const std::uint8_t payload[3] = {0xAA, 0xBB, 0xCC};
    EXPECT_EQ(FrameReport(0, payload, 6), (std::vector<std::uint8_t>{0, 0xAA, 0xBB, 0xCC, 0, 0}));
    EXPECT_EQ(FrameReport(5, payload, 4), (std::vector<std::uint8_t>{5, 0xAA, 0xBB, 0xCC}));
    EXPECT_TRUE(FrameReport(0, payload, 3).empty());
}

TEST(EventReport, RoundTripAndRejection) {
    const auto report = EncodeEventReport(0x40000105, 9);
    ASSERT_EQ(report.size(), 9u);
    EXPECT_EQ(report[1], kEventTag);
    EXPECT_EQ(report[2], 0x40);
    EXPECT_EQ(report[5], 0x05);
    EXPECT_EQ(DecodeEventReport(report), 0x40000105u);

    const std::uint8_t byHand[] = {0x00, 0xE7, 0xA0, 0x00, 0x00, 0x00};
    EXPECT_EQ(DecodeEventReport(byHand), 0xA0000000u);
    const std::uint8_t wrongTag[] = {0x00, 0x01, 0xA0, 0x00, 0x00, 0x00};
    EXPECT_FALSE(DecodeEventReport(wrongTag));
    const std::uint8_t tooShort[] = {0x00, 0xE7, 0xA0, 0x00, 0x00};
    EXPECT_FALSE(DecodeEventReport(tooShort));
}

TEST(EventMessageParams, HighWordInWParamLowWordInLParam) {
    const EventParams p = EventMessageParams(0xF000'0126);
    EXPECT_EQ(p.wParam, 0xF000u);
    EXPECT_EQ(p.lParam, 0x0126);
    const EventParams q = EventMessageParams(0x7F00'0002);
    EXPECT_EQ(q.wParam, 0x7F00u);
    EXPECT_EQ(q.lParam, 2);
    // The data is never sign-extended.
    EXPECT_EQ(EventMessageParams(0x0000'FFFF).lParam, 0xFFFF);
}

TEST(ConnectionTracker, ReportsEachChangeOnce) {
    ConnectionTracker t;
    t.Reset(true);
    EXPECT_FALSE(t.Update(true));
    EXPECT_EQ(t.Update(false), 0);
    EXPECT_FALSE(t.Update(false));
    EXPECT_EQ(t.Update(true), 1);
    EXPECT_FALSE(t.Update(true));
    t.Reset(false);
    EXPECT_EQ(t.Update(true), 1);
}

}  // namespace
}  // namespace korrin
