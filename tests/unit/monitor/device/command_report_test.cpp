#include "monitor/device/command_report.h"

#include <gtest/gtest.h>

#include <utility>

namespace device {
namespace {

TEST(CommandReport, ChecksumIsComplementOfByteSum) {
    EXPECT_EQ(MakeCommand(0x02, 0x01, 0x00),
              (CommandReport{0x02, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFC}));
    EXPECT_EQ(MakeCommand(0x01, 0x88, 0x00),
              (CommandReport{0x01, 0x88, 0x00, 0x00, 0x00, 0x00, 0x00, 0x76}));
    EXPECT_EQ(MakeCommand(0x0C, 0x05, 0x80),
              (CommandReport{0x0C, 0x05, 0x80, 0x00, 0x00, 0x00, 0x00, 0x6E}));
    // 0x0F + 0x50 + 0x80 = 0xDF.
    EXPECT_EQ(MakeCommand(0x0F, 80, 0x80)[7], 0x20);
    // The sum wraps at 256: 0xFF + 0xFF + 0x02 = 0x200 -> 0x00.
    EXPECT_EQ(MakeCommand(0xFF, 0xFF, 0x02)[7], 0xFF);
}

TEST(CommandReport, ChecksumValidationRejectsAnyChangedByte) {
    CommandReport r = MakeCommand(0x03, 0x02, 0x04);
    EXPECT_TRUE(ChecksumValid(r));
    for (std::size_t i = 0; i < r.size(); ++i) {
        CommandReport bad = r;
        bad[i] ^= 0x10;
        EXPECT_FALSE(ChecksumValid(bad)) << "byte " << i;
    }
}

TEST(CommandReport, ReportIntervalForEveryPollingRate) {
    // Polling rate index, report interval in ms: a rate out of range is sent
    // as the default.
    const std::pair<int, int> intervals[] = {{0, 8}, {1, 4},  {2, 2},   {3, 1},
                                             {4, 2}, {-1, 2}, {1000, 2}};
    for (const auto& [rate, ms] : intervals) EXPECT_EQ(ReportIntervalMs(rate), ms) << rate;
}

}  // namespace
}  // namespace device
