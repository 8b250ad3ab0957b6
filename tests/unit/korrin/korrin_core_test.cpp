#include "korrin/korrin_core.h"
#include "korrin/report_extent.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "korrin/capture_log.h"
#include "tests/unit/korrin/fake_hid.h"

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

TEST(ReportExtents, FromWhereTheLastFieldEndsNotFromSummedSizes) {
    auto field = [](std::uint8_t id, FieldKind kind, std::uint16_t bits, std::uint16_t count,
                    std::optional<std::uint32_t> at) {
        FieldCaps f;
        f.reportId = id;
        f.kind = kind;
        f.bitSize = bits;
        f.reportCount = count;
        f.bitPosition = at;
        return f;
    };
    FieldCaps alias = field(1, FieldKind::Value, 8, 8, 0);
    alias.alias = true;
    FieldCaps keys = field(3, FieldKind::ButtonArray, 0, 6, std::nullopt);
    keys.usageCount = 101;  // a key array names every key, in six 8-bit slots
    FieldCaps modifiers = field(3, FieldKind::Buttons, 1, 8, 0);
    modifiers.range = true;
    modifiers.usageCount = 8;
    const std::vector<FieldCaps> caps = {
        // Id 1: eight bytes, and an alias of them counted once.
        alias, field(1, FieldKind::Value, 8, 8, 0),
        // Id 2: two bytes 62 bytes apart, padding between them.
        field(2, FieldKind::Value, 8, 1, 0), field(2, FieldKind::Value, 8, 1, 504),
        // Id 3: eight modifier bits, and the key array by its slots.
        modifiers, keys,
        // Id 4: a field the adapter could not locate, after one it could.
        field(4, FieldKind::Value, 16, 4, 8), field(4, FieldKind::Value, 8, 2, std::nullopt)};
    const std::vector<ReportLength> expected = {{1, 9}, {2, 65}, {3, 8}, {4, 11}};
    EXPECT_EQ(ReportExtents(caps, 70),
              (std::vector<ReportLength>{{1, 9}, {2, 70}, {3, 8}, {4, 11}}))
        << "the longest id is given the buffer the system states";
    EXPECT_EQ(ReportExtents(caps, 65), expected);
    EXPECT_EQ(ReportExtents({}, 9), (std::vector<ReportLength>{{0, 9}}));
}

TEST(PresenceCheck, OneMissedCheckIsNoRemovalTwoInARowAre) {
    PresenceCheck p;
    p.Reset(true);
    EXPECT_FALSE(p.Update(true));
    EXPECT_FALSE(p.Update(false)) << "one failed check costs the user nothing";
    EXPECT_FALSE(p.Update(true));
    EXPECT_FALSE(p.Update(false)) << "the count starts again after a check that saw it";
    EXPECT_EQ(p.Update(false), 0);
    EXPECT_FALSE(p.Present());
    EXPECT_FALSE(p.Update(false));
    // An arrival is told at once, and only once.
    EXPECT_EQ(p.Update(true), 1);
    EXPECT_FALSE(p.Update(true));
    // A certain removal (a virtual mouse unplugged) needs no second check.
    EXPECT_EQ(p.Update(false, true), 0);
}

TEST(CaptureLog, RunsFiveMinutesFromTheArrivalAndStopsAtItsCapWithOneClosingLine) {
    fake::MemorySink sink;
    std::uint64_t now = 1000;
    CaptureLog log(sink, [&] { return now; });
    EXPECT_EQ(log.LastPath(), "");
    log.Line("before any capture");
    EXPECT_TRUE(sink.captured.empty());

    // Asked for while the mouse is absent: recording until 5 minutes after it arrives.
    ASSERT_TRUE(log.Start(false, "capture"));
    EXPECT_EQ(log.LastPath(), sink.CapturePath());
    now += 2 * kCaptureMs;
    EXPECT_TRUE(log.Recording());
    log.Arrived();
    now += kCaptureMs - 1;
    EXPECT_TRUE(log.Recording());
    now += 1;
    EXPECT_FALSE(log.Recording());
    EXPECT_EQ(sink.captured.back(), "capture ended: 5 minutes recorded");
    EXPECT_FALSE(sink.fileOpen);

    // A busy device: lines until the cap, then one closing line and nothing more.
    ASSERT_TRUE(log.Start(true, "capture"));
    const std::string line(1000, 'x');
    for (int i = 0; i < 3000; ++i) log.Line(line);
    std::size_t bytes = 0;
    for (const std::string& l : sink.captured) bytes += l.size() + 2;
    EXPECT_LE(bytes, kCaptureMaxBytes);
    EXPECT_GT(bytes, kCaptureMaxBytes - 2 * line.size());
    EXPECT_EQ(sink.captured.back(), "capture stopped: it reached its limit of 2 MB");
    EXPECT_EQ(std::count(sink.captured.begin(), sink.captured.end(), sink.captured.back()), 1);
    EXPECT_FALSE(log.Recording());
    EXPECT_EQ(std::count(sink.lines.begin(), sink.lines.end(), sink.captured.back()), 1)
        << "told to the debugger too";
}

}  // namespace
}  // namespace korrin
