#include "common/settings/settings_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace settings {
namespace {

std::unique_ptr<SettingsBlock> Filled(std::uint8_t byte) {
    auto block = std::make_unique<SettingsBlock>();
    std::memset(block.get(), byte, sizeof *block);
    return block;
}

std::int32_t IntAt(const SettingsBlock& block, std::size_t offset) {
    std::int32_t v;
    std::memcpy(&v, reinterpret_cast<const unsigned char*>(&block) + offset, 4);
    return v;
}

TEST(ResetBlock, ClearsProfilesAndFlagsButKeepsColourAndTail) {
    auto block = Filled(0xAB);
    ResetBlock(*block);
    EXPECT_EQ(block->currentProfile, -1);
    EXPECT_EQ(block->mouseType, 0);
    const auto* bytes = reinterpret_cast<const unsigned char*>(block->profiles);
    for (std::size_t i = 0; i < sizeof block->profiles; ++i) ASSERT_EQ(bytes[i], 0) << i;
    for (int i = 0; i < kChangeFlagCount; ++i) EXPECT_EQ(ChangeFlag(*block, i), 0) << i;
    EXPECT_EQ(static_cast<std::uint32_t>(block->mouseColor), 0xABABABABu);
    for (auto b : block->reserved) EXPECT_EQ(b, 0xAB);
}

TEST(FillDefaults, EveryProfileGetsTheFreshValues) {
    auto block = Filled(0x5A);
    FillDefaults(*block, DefaultsFor::Monitor);
    EXPECT_EQ(block->currentProfile, 0);
    for (int n = 0; n < kProfileCount; ++n) {
        const ProfileRecord& p = block->profiles[n];
        SCOPED_TRACE(n);
        EXPECT_STREQ(p.ProFileName, ("Default" + std::to_string(n + 1)).c_str());
        // Nothing of the old bytes survives behind the name's terminator.
        for (std::size_t i = std::strlen(p.ProFileName); i < sizeof p.ProFileName; ++i)
            ASSERT_EQ(p.ProFileName[i], 0);
        EXPECT_EQ(p.GameFile[0], 0);
        EXPECT_EQ(p.DbleClickSpeed, 500);
        EXPECT_EQ(p.ScrollWheelSpeed, 3);
        EXPECT_EQ(p.ScrollWheelFlag, 0);
        EXPECT_EQ(p.MouseSpeed, 10);
        EXPECT_EQ(p.Acceleration, 10);
        EXPECT_EQ(p.AccelerationFlag, 0);
        EXPECT_EQ(p.MouseTrails, 4);
        EXPECT_EQ(p.bMouseTrails, 0);
        EXPECT_EQ(p.TiltSpeed, 3);
        EXPECT_EQ(p.MediaOption, 0);
        EXPECT_EQ(p.Orientation, 0);
        EXPECT_EQ(p.XYSynchronous, 1);
        EXPECT_EQ(p.Sensitivity_X, 10);
        EXPECT_EQ(p.Sensitivity_Y, 10);
        EXPECT_EQ(p.Cpi_X, 0);
        EXPECT_EQ(p.Cpi_Y, 2);
        EXPECT_EQ(p.XYCpiFlag, 0);
        const int cpi[5] = {4, 15, 30, 60, 160};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(p.CpiLevel_X[i], cpi[i]);
            EXPECT_EQ(p.CpiLevel_Y[i], cpi[i]);
        }
        EXPECT_EQ(p.CpiStep, 0);
        EXPECT_EQ(p.ColorFlag, 1);
        EXPECT_EQ(p.LightSwitch, 2);
        EXPECT_EQ(p.LightType, 2);
        const int palette[8] = {18, 0, 11, 31, 0, 0, 0, 0};
        const std::uint32_t custom[8] = {0x000000, 0xFFD900, 0x0000FF, 0x00FF00,
                                         0xFF00FF, 0xFFFF00, 0x00FFFF, 0xFFFFFF};
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(p.ColorOptions[i], palette[i]);
            EXPECT_EQ(p.ClCustom[i], custom[i]);
            EXPECT_EQ(p.ColorType[i], 0);
            EXPECT_EQ(p.dpiStepFlag[i], i < 4 ? 1 : 0);
        }
        EXPECT_EQ(p.reserved908, 0);
        EXPECT_EQ(p.PollingRate, 2);
        EXPECT_EQ(p.ColorChangeMode, 0);
        EXPECT_EQ(p.OTGSpeed, 10);
        EXPECT_EQ(p.HeartBFlag, 1);
        EXPECT_EQ(p.HeartBSpeed, 20);
        const std::uint8_t indicators[10] = {1, 2, 3, 4, 4, 5, 5, 6, 6, 0};
        EXPECT_EQ(std::memcmp(p.dpibyDpiIndicator, indicators, 10), 0);
        EXPECT_EQ(p.DpiIndicationType, 1);
        EXPECT_EQ(p.reserved1015, 0);
        EXPECT_EQ(p.LedDPIColor[0], 0xFF0000u);
        EXPECT_EQ(p.LedDPIColor[1], 0x00FF00u);
        EXPECT_EQ(p.LedDPIColor[2], 0xFF00FFu);
        EXPECT_EQ(p.LedDPIColor[3], 0x0000FFu);
        const int actions[16] = {1, 2, 3, 7, 8, 13, 0, 15, 0, 0, 0, 0, 0, 0, 9, 10};
        for (int b = 0; b < kButtonCount; ++b) {
            const ButtonAssignment& info = p.MacroKeyInfo[b];
            EXPECT_EQ(info.buttonIndex, b);
            EXPECT_EQ(info.actionCode, actions[b]);
            EXPECT_EQ(info.macroName[0], 0);
            EXPECT_EQ(info.eventCount, 0);
            EXPECT_EQ(info.repeatCount, 0);
            EXPECT_EQ(info.programPath[0], 0);
            for (const auto& e : info.events) EXPECT_EQ(e.keyCode | e.state | e.delayMs, 0);
        }
    }
}

TEST(FillDefaults, ColourTypeDependsOnTheProgram) {
    auto block = Filled(0);
    FillDefaults(*block, DefaultsFor::Option);
    for (int n = 0; n < kProfileCount; ++n)
        for (int i = 0; i < 8; ++i) EXPECT_EQ(block->profiles[n].ColorType[i], 1);
}

TEST(FillDefaults, FieldsSitAtTheirBlockOffsets) {
    auto block = Filled(0);
    FillDefaults(*block, DefaultsFor::Monitor);
    // Profile 2 starts at 4 + 2 * 8392; DbleClickSpeed at 752, CpiLevel_X4 at 836.
    const std::size_t p2 = 4 + 2 * 8392;
    EXPECT_EQ(IntAt(*block, p2 + 752), 500);
    EXPECT_EQ(IntAt(*block, p2 + 836), 160);
    // Button 7 of profile 2: action code byte at 1032 + 7 * 460 + 1.
    const auto* bytes = reinterpret_cast<const unsigned char*>(block.get());
    EXPECT_EQ(bytes[p2 + 1032 + 7 * 460 + 0], 7);
    EXPECT_EQ(bytes[p2 + 1032 + 7 * 460 + 1], 15);
}

TEST(ChangeFlags, MarkAllAndClearCoverExactlyTheFlagRange) {
    auto block = Filled(0x11);
    MarkAllChanged(*block);
    for (std::size_t off = 41972; off < 42456; off += 4) EXPECT_EQ(IntAt(*block, off), 1) << off;
    EXPECT_EQ(static_cast<std::uint32_t>(block->mouseColor), 0x11111111u);
    for (auto b : block->reserved) EXPECT_EQ(b, 0x11);
    ClearChanges(*block);
    for (std::size_t off = 41972; off < 42456; off += 4) EXPECT_EQ(IntAt(*block, off), 0) << off;
    for (auto b : block->reserved) EXPECT_EQ(b, 0x11);
}

TEST(ChangeFlags, ButtonOfProfileSetsIntFifteenNPlusB) {
    auto block = Filled(0);
    MarkButtonChanged(*block, 2, 5);
    EXPECT_EQ(IntAt(*block, 41972 + 4 * (15 * 2 + 5)), 1);
    int set = 0;
    for (int i = 0; i < kChangeFlagCount; ++i) set += ChangeFlag(*block, i);
    EXPECT_EQ(set, 1);
    EXPECT_TRUE(ButtonGroupChanged(*block, 2));
    EXPECT_FALSE(ButtonGroupChanged(*block, 1));
    EXPECT_FALSE(ButtonGroupChanged(*block, 3));
}

TEST(ChangeFlags, NeighbouringGroupsShareTheirBoundaryInt) {
    auto block = Filled(0);
    // Button 15 of profile 1 is int 30, the first int of profile 2's group.
    MarkButtonChanged(*block, 1, 15);
    EXPECT_TRUE(ButtonGroupChanged(*block, 1));
    EXPECT_TRUE(ButtonGroupChanged(*block, 2));
    EXPECT_FALSE(ButtonGroupChanged(*block, 0));
}

TEST(ChangeFlags, ProfileFourGroupEndsOnFirstSettingFlag) {
    auto block = Filled(0);
    block->settingChangeFlags[0] = 1;
    EXPECT_TRUE(ButtonGroupChanged(*block, 4));
    for (int n = 0; n < 4; ++n) EXPECT_FALSE(ButtonGroupChanged(*block, n)) << n;
    block->settingChangeFlags[0] = 0;
    block->settingChangeFlags[1] = 1;
    EXPECT_FALSE(ButtonGroupChanged(*block, 4));
}

TEST(ChangeFlags, ImportMarksSixteenIntsFromFifteenN) {
    auto block = Filled(0);
    MarkProfileButtonsChanged(*block, 4);
    for (int i = 0; i < kChangeFlagCount; ++i)
        EXPECT_EQ(ChangeFlag(*block, i), (i >= 60 && i < 76) ? 1 : 0) << i;
    EXPECT_EQ(block->settingChangeFlags[0], 1);
}

TEST(ChangeFlags, SelectProfileIsSettingFlagTen) {
    auto block = Filled(0);
    EXPECT_FALSE(SelectProfileRequested(*block));
    const std::int32_t one = 1;
    std::memcpy(reinterpret_cast<unsigned char*>(block.get()) + 42312, &one, 4);
    EXPECT_TRUE(SelectProfileRequested(*block));
}

TEST(ChangeFlags, OutOfRangeRequestsChangeNothing) {
    auto block = Filled(0);
    MarkButtonChanged(*block, 5, 0);
    MarkButtonChanged(*block, -1, 0);
    MarkButtonChanged(*block, 0, 16);
    MarkProfileButtonsChanged(*block, 5);
    SetChangeFlag(*block, 121, 1);
    SetChangeFlag(*block, -1, 1);
    for (int i = 0; i < kChangeFlagCount; ++i) EXPECT_EQ(ChangeFlag(*block, i), 0);
    for (auto b : block->reserved) EXPECT_EQ(b, 0);
    EXPECT_FALSE(ButtonGroupChanged(*block, 5));
}

TEST(CurrentProfile, RefusesIndicesOutsideZeroToFour) {
    auto block = Filled(0);
    FillDefaults(*block, DefaultsFor::Monitor);
    for (int index : {-1, 5, 7, -2147483647 - 1, 2147483647}) {
        block->currentProfile = index;
        EXPECT_EQ(CurrentProfile(*block), nullptr) << index;
    }
    for (int index = 0; index < 5; ++index) {
        block->currentProfile = index;
        EXPECT_EQ(CurrentProfile(*block), &block->profiles[index]);
    }
    ResetBlock(*block);
    EXPECT_EQ(CurrentProfile(static_cast<const SettingsBlock&>(*block)), nullptr);
}

TEST(CopyField, CutsToTheFieldAndTerminates) {
    char field[5];
    std::memset(field, 'x', sizeof field);
    CopyField(field, "abcdefgh");
    EXPECT_STREQ(field, "abcd");
    CopyField(field, nullptr);
    EXPECT_EQ(FieldLength(field), 0u);
    char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_EQ(FieldLength(unterminated), 3u);
}

}  // namespace
}  // namespace settings
