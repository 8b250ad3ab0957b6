#include "korrin/korrin_core.h"

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

TEST(CaptureLog, RunsFiveMinutesFromTheArrival) {
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
}

std::size_t Count(const std::vector<std::string>& lines, const std::string& part) {
    return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const auto& l) {
        return l.find(part) != std::string::npos;
    }));
}

// A vendor collection streaming at 1 kHz for the whole capture, and a busy
// library besides: the head stays, repeated reports become summaries, no
// collection takes more than its share, the end is kept, and the file never
// passes its limit.
TEST(CaptureLog, StreamsAreSummarisedAndCappedAndHeadAndEndAreKept) {
    fake::MemorySink sink;
    std::uint64_t now = 1000;
    CaptureLog log(sink, [&] { return now; });
    ASSERT_TRUE(log.Start(true, "capture"));
    log.Line("interface A usage page FF00");
    const std::uint8_t report[] = {0x07, 0x01, 0x02};
    for (int i = 0; i < 2500; ++i, ++now) log.Report("input A", report, "not an event");
    log.Report("input A", report, "event 40000103");
    log.Line("command channel: sent");
    // The first report in full, a summary a second, the event in full, and the
    // rest of the run told before the next line.
    EXPECT_EQ(Count(sink.captured, "input A [3] 07 01 02 : not an event"), 1u);
    EXPECT_EQ(Count(sink.captured, "more like it"), 3u);
    EXPECT_EQ(Count(sink.captured,
                    "input A: 1000 more like it from 1.001 s to 2.000 s, the last "
                    "[3] 07 01 02 : not an event"),
              1u);
    EXPECT_EQ(Count(sink.captured, "input A [3] 07 01 02 : event 40000103"), 1u);
    EXPECT_NE(sink.captured.back().find("command channel: sent"), std::string::npos);
    EXPECT_LT(Count(sink.lines, "input A"), 10u) << "nor is the debugger flooded";

    // Reports that differ every time run into the collection's share.
    for (int i = 0; i < 20000; ++i) log.Report("input B", report, "event " + std::to_string(i));
    EXPECT_EQ(Count(sink.captured, "input B: its reports have taken their share"), 1u);
    EXPECT_LT(Count(sink.captured, "input B [3]"), 20000u);

    // The library goes on far beyond the limit; the capture keeps recording.
    const std::string line(1000, 'x');
    for (int i = 0; i < 3000; ++i) log.Line(line + std::to_string(i));
    log.Line("the newest line");
    EXPECT_TRUE(log.Recording());
    now += kCaptureMs;
    EXPECT_FALSE(log.Recording());

    std::size_t bytes = 0;
    for (const std::string& l : sink.captured) bytes += l.size() + 2;
    EXPECT_LE(bytes, kCaptureMaxBytes);
    EXPECT_GT(bytes, kCaptureMaxBytes - kCaptureTailBytes / 2);
    EXPECT_EQ(sink.captured[0], "capture");
    EXPECT_NE(sink.captured[2].find("interface A usage page FF00"), std::string::npos);
    EXPECT_EQ(Count(sink.captured, "left out here to keep the head and the end"), 1u);
    EXPECT_EQ(Count(sink.captured, "reports beyond its share of the capture, counted only"), 1u);
    // The newest line, then the count of what went beyond the share, then the close.
    ASSERT_GE(sink.captured.size(), 3u);
    EXPECT_NE(sink.captured[sink.captured.size() - 3].find("the newest line"), std::string::npos);
    EXPECT_EQ(sink.captured.back(), "capture ended: 5 minutes recorded");
    // What the device report quotes: the latest lines, never the reports.
    const auto recent = log.Recent();
    ASSERT_EQ(recent.size(), kRecentLines);
    EXPECT_NE(recent.back().find("the newest line"), std::string::npos);
}

}  // namespace
}  // namespace korrin
