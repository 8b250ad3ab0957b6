#include "tools/VirtualMouse/virtual_firmware.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "tools/VirtualMouse/transfer_log.h"

namespace vmouse {
namespace {

std::vector<std::uint8_t> Cmd(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    std::vector<std::uint8_t> r{a, b, c, 0, 0, 0, 0, 0};
    r[7] = static_cast<std::uint8_t>(0xFF - ((a + b + c) & 0xFF));
    return r;
}

// A 128-byte block, zero but for the given (offset, value) pairs.
std::vector<std::uint8_t> BlockWith(
    std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes) {
    std::vector<std::uint8_t> block(128, 0);
    for (const auto& [offset, value] : bytes) block[offset] = value;
    return block;
}

void SendBlock(VirtualFirmware& fw, std::uint8_t code, std::uint8_t target,
               const std::vector<std::uint8_t>& block) {
    ASSERT_TRUE(fw.OnFeature(Cmd(code, target, 0x80)));
    ASSERT_TRUE(fw.OnChunk({block.data(), 64}));
    ASSERT_TRUE(fw.OnChunk({block.data() + 64, 64}));
}

TEST(VirtualFirmware, CommandsSetProfileValues) {
    VirtualFirmware fw;
    const std::vector<std::uint8_t> example{0x02, 0x01, 0, 0, 0, 0, 0, 0xFC};
    EXPECT_TRUE(fw.OnFeature(example));
    EXPECT_EQ(fw.SelectedProfile(), 1);
    EXPECT_TRUE(fw.OnFeature(Cmd(0x01, 0x88, 0)));
    EXPECT_TRUE(fw.OnFeature(Cmd(0x03, 4, 8)));
    EXPECT_TRUE(fw.OnFeature(Cmd(0x04, 5, 3)));
    EXPECT_EQ(fw.Count().beginConfiguration, 1);
    EXPECT_EQ(fw.Profile(4).reportIntervalMs, 8);
    EXPECT_EQ(fw.Profile(5).dpiStage, 3);
    EXPECT_EQ(fw.Profile(1).reportIntervalMs, -1);
}

TEST(VirtualFirmware, MalformedTransfersAreCountedAndIgnored) {
    VirtualFirmware fw;
    auto bad = Cmd(0x02, 3, 0);
    bad[7] ^= 1;
    EXPECT_FALSE(fw.OnFeature(bad));
    EXPECT_EQ(fw.Count().badChecksum, 1);
    EXPECT_EQ(fw.SelectedProfile(), 0);

    EXPECT_FALSE(fw.OnFeature(Cmd(0x02, 6, 0)));      // no profile 6
    EXPECT_FALSE(fw.OnFeature(Cmd(0x0F, 81, 0x80)));  // no slot 81
    EXPECT_FALSE(fw.OnFeature(Cmd(0x0C, 1, 0x40)));   // wrong block length
    EXPECT_EQ(fw.Count().badArgument, 3);
    EXPECT_FALSE(fw.OnFeature(Cmd(0x55, 1, 0)));
    EXPECT_EQ(fw.Count().unknownCommand, 1);
    EXPECT_FALSE(fw.OnFeature(std::vector<std::uint8_t>(7, 0)));

    std::vector<std::uint8_t> chunk(64, 1);
    EXPECT_FALSE(fw.OnChunk(chunk));
    EXPECT_EQ(fw.Count().unexpectedChunk, 1);

    // A command in the middle of a block drops the half block.
    EXPECT_TRUE(fw.OnFeature(Cmd(0x0D, 2, 0x80)));
    EXPECT_TRUE(fw.OnChunk(chunk));
    EXPECT_TRUE(fw.OnFeature(Cmd(0x01, 0x88, 0)));
    EXPECT_EQ(fw.Count().incompleteBlock, 1);
    EXPECT_FALSE(fw.Profile(2).keyMapSet);
    EXPECT_FALSE(fw.OnChunk(chunk));
}

TEST(VirtualFirmware, ParameterKeyMapAndMacroBlocksAreDecoded) {
    VirtualFirmware fw;
    const std::vector<std::uint8_t> params = BlockWith({{71, 1},
                                                        {72, 7},
                                                        {73, 3},
                                                        {74, 100},
                                                        {75, 120},
                                                        {84, 3},
                                                        {87, 159},
                                                        {92, 14},
                                                        {104, 0x28},
                                                        {105, 0xC8},
                                                        {106, 0xFF},
                                                        {121, 0x42}});
    SendBlock(fw, 0x0C, 3, params);
    const ProfileState& p = fw.Profile(3);
    ASSERT_TRUE(p.parametersSet);
    EXPECT_EQ(p.lighting, (std::array<int, 3>{1, 7, 3}));
    EXPECT_EQ(p.sensitivityX, 100);
    EXPECT_EQ(p.sensitivityY, 120);
    EXPECT_EQ(p.cpiX[0], 4);
    EXPECT_EQ(p.cpiX[3], 160);
    EXPECT_EQ(p.cpiY[0], 15);
    EXPECT_EQ(p.leds[0], (Rgb{0x28, 0xC8, 0xFF}));
    EXPECT_EQ(p.leds[5], (Rgb{0, 0, 0x42}));

    const std::vector<std::uint8_t> keys =
        BlockWith({{0, 1}, {2, 0xF0}, {60, 9}, {62, 16}, {63, 2}});
    SendBlock(fw, 0x0D, 1, keys);
    EXPECT_EQ(fw.Profile(1).keys[0], (std::array<std::uint8_t, 4>{1, 0, 0xF0, 0}));
    EXPECT_EQ(fw.Profile(1).keys[15], (std::array<std::uint8_t, 4>{9, 0, 16, 2}));

    const std::vector<std::uint8_t> macro =
        BlockWith({{0, 0x01}, {1, 0x02}, {2, 0x05}, {3, 0x04}, {4, 0x81}, {5, 0x04}});
    SendBlock(fw, 0x0F, 16, macro);
    const MacroSlotState& m = fw.Macro(16);
    ASSERT_TRUE(m.set);
    EXPECT_EQ(m.repeat, 0x0102);
    ASSERT_EQ(m.events.size(), 2u);
    EXPECT_EQ(m.events[0].stateByte, 0x05);
    EXPECT_EQ(m.events[1].stateByte, 0x81);

    // A full macro: 63 pairs fit after the header.
    std::vector<std::uint8_t> full(128, 0x81);
    SendBlock(fw, 0x0F, 80, full);
    EXPECT_EQ(fw.Macro(80).events.size(), 63u);
}

TEST(VirtualFirmware, DumpIsStableText) {
    VirtualFirmware fw;
    fw.OnFeature(Cmd(0x02, 2, 0));
    fw.OnFeature(Cmd(0x03, 1, 2));
    const std::vector<std::uint8_t> params = BlockWith({{84, 3}, {104, 0xFF}});
    SendBlock(fw, 0x0C, 1, params);
    const std::vector<std::uint8_t> macro = BlockWith({{1, 1}, {2, 0x01}, {3, 0xE0}});
    SendBlock(fw, 0x0F, 3, macro);
    const std::string dump = fw.Dump();
    const std::string expectedHead =
        "selected_profile 2\n"
        "begin_configuration 0\n"
        "errors checksum 0 unknown 0 argument 0 chunk 0 incomplete 0\n"
        "profile 1\n"
        "  report_interval_ms 2\n"
        "  dpi_stage -\n"
        "  cpi_x 400 100 100 100\n"
        "  cpi_y 100 100 100 100\n"
        "  sensitivity 0 0\n"
        "  lighting 0 0 0\n"
        "  leds FF0000 000000 000000 000000 000000 000000\n"
        "  keys -\n"
        "profile 2\n"
        "  report_interval_ms -\n"
        "  dpi_stage -\n"
        "  parameters -\n"
        "  keys -\n";
    EXPECT_EQ(dump.substr(0, expectedHead.size()), expectedHead);
    const std::string expectedTail = "macro 3 repeat 1 events 1\n  press E0 state 01\n";
    ASSERT_GE(dump.size(), expectedTail.size());
    EXPECT_EQ(dump.substr(dump.size() - expectedTail.size()), expectedTail);

    fw.Reset();
    EXPECT_EQ(fw.SelectedProfile(), 0);
    EXPECT_FALSE(fw.Macro(3).set);
}

TEST(DescribeKey, NamesEveryDeviceType) {
    EXPECT_EQ(DescribeKey({0, 0, 0, 0}), "00 00 00 00 none");
    EXPECT_EQ(DescribeKey({0, 0x03, 0x06, 0}), "00 03 06 00 key 06 mods Ctrl+Shift");
    EXPECT_EQ(DescribeKey({1, 0, 0xF4, 0}), "01 00 F4 00 click back");
    EXPECT_EQ(DescribeKey({3, 0, 0x83, 0x01}), "03 00 83 01 consumer 0183");
    EXPECT_EQ(DescribeKey({4, 0, 2, 0}), "04 00 02 00 dpi function 2");
    EXPECT_EQ(DescribeKey({6, 0, 0, 4}), "06 00 00 04 launch program 4");
    EXPECT_EQ(DescribeKey({7, 0, 3, 0}), "07 00 03 00 profile function 3");
    EXPECT_EQ(DescribeKey({9, 0, 35, 2}), "09 00 23 02 macro slot 35 events 2");
    EXPECT_EQ(DescribeKey({10, 0xF0, 50, 3}), "0A F0 32 03 repeat click 50 3");
    EXPECT_EQ(DescribeKey({0x20, 0, 0, 0}), "20 00 00 00 unknown");
}

TEST(TransferLog, LineFormat) {
    const std::uint8_t bytes[] = {0x02, 0x01, 0xFC};
    EXPECT_EQ(FormatLogLine(7, 123456, "FEATURE", bytes), "7 123456 FEATURE 02 01 FC");
    EXPECT_EQ(FormatLogLine(1, 0, "PLUG"), "1 0 PLUG");
}

}  // namespace
}  // namespace vmouse
