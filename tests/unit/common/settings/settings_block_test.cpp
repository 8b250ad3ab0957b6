#include "common/settings/settings_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "common/settings/profile_table.h"

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

TEST(FillDefaults, EveryProfileGetsItsRowsFreshValuesAndNothingElse) {
    auto block = Filled(0x5A);
    FillDefaults(*block, DefaultsFor::Monitor);
    EXPECT_EQ(block->currentProfile, 0);
    for (int n = 0; n < kProfileCount; ++n) {
        SCOPED_TRACE(n);
        ProfileRecord p = block->profiles[n];
        EXPECT_STREQ(p.ProFileName, ("Default" + std::to_string(n + 1)).c_str());
        std::memset(p.ProFileName, 0, sizeof p.ProFileName);
        auto* bytes = reinterpret_cast<unsigned char*>(&p);
        for (const ProfileField& f : ProfileFields()) {
            if (f.type != FieldType::Int && f.type != FieldType::Byte)
                continue;
            for (int i = 0; i < f.count; ++i)
                EXPECT_EQ(FieldNumber(p, f, i), FreshNumber(f, i, DefaultsFor::Monitor))
                    << FieldKey(f, i);
            std::memset(bytes + f.offset, 0, f.size * static_cast<std::size_t>(f.count));
        }
        for (int b = 0; b < kButtonCount; ++b) {
            EXPECT_EQ(p.MacroKeyInfo[b].buttonIndex, b);
            EXPECT_EQ(p.MacroKeyInfo[b].actionCode, kDefaultButtonActions[b]);
            p.MacroKeyInfo[b].buttonIndex = p.MacroKeyInfo[b].actionCode = 0;
        }
        // Every other byte, old fill and reserved alike, is 0.
        for (std::size_t i = 0; i < sizeof p; ++i) ASSERT_EQ(bytes[i], 0) << i;
    }
}

// Each numeric row keeps the values it accepts and replaces the others, in
// its own element only: with its fresh value, or for colours by clearing the
// bits above 0x00FFFFFF.
TEST(SanitizeProfile, EveryRowKeepsItsRangeAndRepairsTheRest) {
    ProfileRecord fresh;
    FillDefaultProfile(fresh, 1, DefaultsFor::Option);
    for (const ProfileField& f : ProfileFields()) {
        if (f.valid == Valid::Any)
            continue;
        const std::int64_t widest = f.type == FieldType::Byte ? 0xFF : 0x7FFFFFFF;
        for (int i = 0; i < f.count; ++i) {
            const std::int64_t repaired = FreshNumber(f, i, DefaultsFor::Option);
            std::vector<std::pair<std::int64_t, std::int64_t>> cases;  // stored, expected
            if (f.valid == Valid::LowBits) {
                cases = {{0xFF123456, 0x123456}, {0xABCDEF, 0xABCDEF}, {-1, 0xFFFFFF}};
            } else {
                cases = {{f.low - 1, repaired}, {f.low, f.low}, {f.high, f.high}};
                if (f.high < widest)
                    cases.push_back({f.high + 1, repaired});
            }
            const std::size_t offset = f.offset + f.size * static_cast<std::size_t>(i);
            for (const auto& [stored, expected] : cases) {
                SCOPED_TRACE(FieldKey(f, i) + " " + std::to_string(stored));
                ProfileRecord p = fresh;
                auto* bytes = reinterpret_cast<unsigned char*>(&p);
                const auto raw = static_cast<std::uint32_t>(stored);
                std::memcpy(bytes + offset, &raw, f.size);
                SanitizeProfile(p);
                EXPECT_EQ(FieldNumber(p, f, i), expected);
                std::memcpy(bytes + offset, reinterpret_cast<const unsigned char*>(&fresh) + offset,
                            f.size);
                EXPECT_EQ(std::memcmp(&p, &fresh, sizeof p), 0) << "another field changed";
            }
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
    // A byte row and a colour row: dpibyDpiIndicator7 at 1011, LedDPIColor0 at 1016.
    EXPECT_EQ(bytes[p2 + 1011], 6);
    EXPECT_EQ(IntAt(*block, p2 + 1016), 0xFF0000);
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
