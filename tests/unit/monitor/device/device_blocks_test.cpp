#include "monitor/device/device_blocks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace device {
namespace {

using settings::ButtonAssignment;
using settings::ProfileRecord;

std::unique_ptr<ProfileRecord> FreshProfile(int index) {
    auto p = std::make_unique<ProfileRecord>();
    std::memset(p.get(), 0, sizeof(ProfileRecord));
    settings::FillDefaultProfile(*p, index, settings::DefaultsFor::Monitor);
    return p;
}

ButtonAssignment Blank(int button, std::uint8_t action) {
    ButtonAssignment b;
    std::memset(&b, 0, sizeof b);
    b.buttonIndex = static_cast<std::uint8_t>(button);
    b.actionCode = action;
    return b;
}

// A fresh Monitor profile: lighting level 2 in mode 2, sensitivity 10/10,
// CPI 4/15/30/60 and LED slots on palette entries 18, 0, 11, 31, 0, 0.
TEST(ProfileParameterBlock, FreshProfileWorkedByHand) {
    // clang-format off
    const DataBlock expected = {
        255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,      //
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,      //
        46, 16, 66, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,   //
        15, 6, 10, 10, 25, 25, 4, 2, 3, 3, 100, 100, 1, 192, 240, 3,
        1, 1, 100, 0, 3, 14, 29, 59, 80, 100, 20, 20, 3, 14, 29, 59,
        80, 100, 20, 20, 15, 0, 255, 0, 0x28, 0xC8, 0xFF, 0xFF, 0, 0, 0x19, 0xC8,
        0x00, 0xAA, 0x00, 0xD2, 0xFF, 0, 0, 0xFF, 0, 0, 160, 160, 160, 255, 255, 255,
    };
    // clang-format on
    auto p = FreshProfile(0);
    EXPECT_EQ(BuildProfileParameterBlock(*p), expected);
}

TEST(ProfileParameterBlock, LightingBytes) {
    auto p = FreshProfile(0);
    auto lighting = [&](int lightSwitch, int lightType) {
        p->LightSwitch = lightSwitch;
        p->LightType = lightType;
        const DataBlock b = BuildProfileParameterBlock(*p);
        return std::array<int, 3>{b[71], b[72], b[73]};
    };
    // Off whatever the type says.
    EXPECT_EQ(lighting(0, 0), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(lighting(0, 3), (std::array<int, 3>{0, 0, 0}));
    // Breathing mode: level from LightSwitch.
    EXPECT_EQ(lighting(1, 0), (std::array<int, 3>{1, 3, 3}));
    EXPECT_EQ(lighting(2, 0), (std::array<int, 3>{1, 7, 3}));
    EXPECT_EQ(lighting(3, 0), (std::array<int, 3>{1, 10, 3}));
    // Second mode: level from LightType.
    EXPECT_EQ(lighting(1, 1), (std::array<int, 3>{2, 1, 3}));
    EXPECT_EQ(lighting(3, 2), (std::array<int, 3>{2, 3, 3}));
    EXPECT_EQ(lighting(1, 3), (std::array<int, 3>{2, 5, 3}));
    // Levels outside 1..3 keep the template's byte 72 (1).
    EXPECT_EQ(lighting(5, 0), (std::array<int, 3>{1, 1, 3}));
    EXPECT_EQ(lighting(-1, 0), (std::array<int, 3>{1, 1, 3}));
    EXPECT_EQ(lighting(1, 7), (std::array<int, 3>{2, 1, 3}));
}

TEST(ProfileParameterBlock, SensitivityCpiAndColoursAreReplaced) {
    auto p = FreshProfile(0);
    p->Sensitivity_X = 26;  // 260 cut to 8 bits: 4
    p->Sensitivity_Y = 1;
    p->CpiLevel_X[0] = 0;  // 0 - 1 cut to 8 bits: 255
    p->CpiLevel_X[3] = 57;
    p->CpiLevel_X[4] = 99;  // stage 5 is not sent
    p->CpiLevel_Y[1] = 2;
    p->CpiLevel_Y[4] = 99;
    p->ColorType[0] = 1;
    p->ClCustom[0] = 0x00112233;
    p->ColorType[1] = 2;  // neither palette nor custom: template bytes stay
    p->ColorType[2] = 0;
    p->ColorOptions[2] = 32;
    p->ColorType[3] = 0;
    p->ColorOptions[3] = 40;  // outside the palette: template bytes stay
    p->ColorType[6] = 1;      // slots 6 and 7 are not sent
    p->ClCustom[6] = 0x00ABCDEF;
    const DataBlock b = BuildProfileParameterBlock(*p);
    EXPECT_EQ(b[74], 4);
    EXPECT_EQ(b[75], 10);
    EXPECT_EQ(b[84], 255);
    EXPECT_EQ(b[87], 56);
    EXPECT_EQ(b[88], 80);
    EXPECT_EQ(b[89], 100);
    EXPECT_EQ(b[93], 1);
    EXPECT_EQ(b[96], 80);
    EXPECT_EQ(b[97], 100);
    EXPECT_EQ((std::array<int, 3>{b[104], b[105], b[106]}), (std::array<int, 3>{0x33, 0x22, 0x11}));
    EXPECT_EQ((std::array<int, 3>{b[107], b[108], b[109]}), (std::array<int, 3>{0, 255, 0}));
    // Palette 32 is 0x4600C8.
    EXPECT_EQ((std::array<int, 3>{b[110], b[111], b[112]}), (std::array<int, 3>{0xC8, 0x00, 0x46}));
    EXPECT_EQ((std::array<int, 3>{b[113], b[114], b[115]}), (std::array<int, 3>{0, 255, 255}));
    EXPECT_EQ(b[122], 160);
    EXPECT_EQ(b[127], 255);
}

TEST(KeyMap, FreshProfileWorkedByHand) {
    DataBlock expected{};
    // clang-format off
    const std::uint8_t entries[16][4] = {
        {1, 0, 0xF0, 0}, {1, 0, 0xF1, 0}, {1, 0, 0xF2, 0}, {1, 0, 0xF4, 0},
        {1, 0, 0xF3, 0}, {7, 0, 3, 0},    {0, 0, 0, 0},    {7, 0, 2, 0},
        {0, 0, 0, 0},    {0, 0, 0, 0},    {0, 0, 0, 0},    {0, 0, 0, 0},
        {0, 0, 0, 0},    {0, 0, 0, 0},    {4, 0, 1, 0},    {4, 0, 2, 0},
    };
    // clang-format on
    for (int b = 0; b < 16; ++b)
        for (int i = 0; i < 4; ++i) expected[4 * b + i] = entries[b][i];

    auto p = FreshProfile(1);
    DataBlock keyMap;
    keyMap.fill(0xEE);  // stale contents must be cleared
    MacroStaging staging;
    BuildKeyMapAndMacros(*p, 1, keyMap, staging);
    EXPECT_EQ(keyMap, expected);
    for (int slot = 1; slot <= 80; ++slot) EXPECT_FALSE(staging.IsStaged(slot));
}

TEST(KeyMap, RecordDependentBytes) {
    ButtonAssignment combo = Blank(0, 5);
    combo.events[0].keyCode = 0x06;                                                  // C
    combo.events[0].state = settings::modifier::kCtrl | settings::modifier::kShift;  // 0x06
    EXPECT_EQ(DeviceEntry(combo, 0, 10), (KeyMapEntry{0, 0x03, 0x06, 0}));

    ButtonAssignment plain = Blank(0, 5);
    plain.events[0].keyCode = 0x29;
    plain.events[0].state = settings::modifier::kPlainKey;
    EXPECT_EQ(DeviceEntry(plain, 0, 10), (KeyMapEntry{0, 0x00, 0x29, 0}));

    ButtonAssignment fire = Blank(0, 21);
    fire.fireValueA = 0x1234;
    fire.fireValueB = 9;
    EXPECT_EQ(DeviceEntry(fire, 0, 10), (KeyMapEntry{10, 0xF0, 4, 0x34}));
    fire.fireValueB = 4;
    EXPECT_EQ(DeviceEntry(fire, 0, 10), (KeyMapEntry{10, 0xF0, 2, 0x34}));
    fire.fireValueB = 600;  // 300 cut to 8 bits
    EXPECT_EQ(DeviceEntry(fire, 0, 10), (KeyMapEntry{10, 0xF0, 44, 0x34}));

    EXPECT_EQ(DeviceEntry(Blank(0, 22), 0, 10), (KeyMapEntry{10, 0, 5, 5}));
    EXPECT_EQ(DeviceEntry(Blank(0, 22), 0, 7), (KeyMapEntry{10, 0, 3, 3}));
    EXPECT_EQ(DeviceEntry(Blank(3, 17), 3, 10), (KeyMapEntry{6, 0, 0, 4}));

    ButtonAssignment macro = Blank(0, 16);
    macro.eventCount = 7;
    EXPECT_EQ(DeviceEntry(macro, 0, 10), (KeyMapEntry{9, 0, 0, 7}));
    macro.eventCount = 300;  // damaged record: the block holds 40 at most
    EXPECT_EQ(DeviceEntry(macro, 0, 10), (KeyMapEntry{9, 0, 0, 40}));
}

TEST(KeyMap, FixedTableEntries) {
    // clang-format off
    const std::pair<std::uint8_t, KeyMapEntry> rows[] = {
        {4, {10, 0xF0, 50, 2}}, {6, {0, 0, 0, 0}},       {11, {4, 0, 3, 0}},
        {12, {4, 0, 4, 0}},     {14, {7, 0, 1, 0}},      {80, {10, 0xF0, 50, 3}},
        {81, {5, 0, 1, 0}},     {83, {5, 0, 3, 0}},      {25, {3, 0, 0x83, 0x01}},
        {27, {3, 0, 0xB5, 0x00}}, {31, {3, 0, 0xE9, 0x00}}, {35, {3, 0, 0x2A, 0x02}},
        {42, {3, 0, 0x21, 0x02}}, {48, {9, 0, 0, 4}},    {85, {9, 0, 0, 4}},
        // No device entry.
        {18, {0, 0, 0, 0}},     {20, {0, 0, 0, 0}},      {23, {0, 0, 0, 0}},
        {24, {0, 0, 0, 0}},     {43, {0, 0, 0, 0}},      {44, {0, 0, 0, 0}},
        {59, {0, 0, 0, 0}},     {86, {0, 0, 0, 0}},      {255, {0, 0, 0, 0}},
    };
    // clang-format on
    for (const auto& [code, entry] : rows) {
        EXPECT_EQ(DeviceEntry(Blank(0, code), 0, 10), entry) << "action " << int(code);
    }
}

// The mouse plays a fixed shortcut's built-in macro with as many events as b3
// says: four for a modifier and a key, six for two modifiers and a key.
TEST(KeyMap, FixedShortcutsCarryTheirEventCount) {
    auto p = FreshProfile(0);
    p->MacroKeyInfo[0] = Blank(0, 48);  // Ctrl+C
    p->MacroKeyInfo[1] = Blank(1, 56);  // Ctrl+Shift+S
    p->MacroKeyInfo[3] = Blank(3, 67);  // Alt+Space+X
    p->MacroKeyInfo[4] = Blank(4, 68);  // Alt+Space+N
    p->MacroKeyInfo[5] = Blank(5, 85);  // GUI+L
    DataBlock keyMap{};
    MacroStaging staging;
    BuildKeyMapAndMacros(*p, 1, keyMap, staging);
    auto entry = [&](int b) {
        return std::array<int, 4>{keyMap[4 * b], keyMap[4 * b + 1], keyMap[4 * b + 2],
                                  keyMap[4 * b + 3]};
    };
    // Profile 1: slot = 16 + button + 1.
    EXPECT_EQ(entry(0), (std::array<int, 4>{0x09, 0x00, 0x11, 0x04}));
    EXPECT_EQ(entry(1), (std::array<int, 4>{0x09, 0x00, 0x12, 0x06}));
    EXPECT_EQ(entry(3), (std::array<int, 4>{0x09, 0x00, 0x14, 0x06}));
    EXPECT_EQ(entry(4), (std::array<int, 4>{0x09, 0x00, 0x15, 0x06}));
    EXPECT_EQ(entry(5), (std::array<int, 4>{0x09, 0x00, 0x16, 0x04}));
    // Each count matches the release events actually staged in its block.
    for (int b : {0, 1, 3, 4, 5}) {
        const DataBlock& macro = staging.Block(16 + b + 1);
        int events = 0;
        for (std::size_t at = 2; at + 1 < macro.size() && macro[at] != 0; at += 2) ++events;
        EXPECT_EQ(events, entry(b)[3]) << "button " << b;
    }
}

TEST(KeyMap, MacroSlotsAreStagedAndButton12Skipped) {
    auto p = FreshProfile(2);
    p->MacroKeyInfo[2] = Blank(2, 16);
    p->MacroKeyInfo[2].eventCount = 2;
    p->MacroKeyInfo[2].repeatCount = 3;
    p->MacroKeyInfo[2].events[0] = {0x04, 1, 0};
    p->MacroKeyInfo[2].events[1] = {0x04, 2, 0};
    p->MacroKeyInfo[9] = Blank(9, 56);
    p->MacroKeyInfo[12] = Blank(12, 16);
    p->MacroKeyInfo[12].eventCount = 1;

    DataBlock keyMap{};
    MacroStaging staging;
    BuildKeyMapAndMacros(*p, 2, keyMap, staging);
    // Slot = profile * 16 + button + 1.
    EXPECT_EQ((std::array<int, 4>{keyMap[8], keyMap[9], keyMap[10], keyMap[11]}),
              (std::array<int, 4>{9, 0, 35, 2}));
    EXPECT_EQ((std::array<int, 4>{keyMap[36], keyMap[37], keyMap[38], keyMap[39]}),
              (std::array<int, 4>{9, 0, 42, 6}));
    EXPECT_EQ((std::array<int, 4>{keyMap[48], keyMap[49], keyMap[50], keyMap[51]}),
              (std::array<int, 4>{0, 0, 0, 0}));
    for (int i = 64; i < 128; ++i) EXPECT_EQ(keyMap[i], 0);
    for (int slot = 1; slot <= 80; ++slot) {
        EXPECT_EQ(staging.IsStaged(slot), slot == 35 || slot == 42) << "slot " << slot;
    }
    EXPECT_EQ(staging.Block(35)[0], 0);
    EXPECT_EQ(staging.Block(35)[1], 3);
    EXPECT_EQ(staging.Block(35)[2], 0x01);
    EXPECT_EQ(staging.Block(35)[4], 0x81);
    EXPECT_EQ(staging.Block(42)[1], 1);

    staging.Clear();
    EXPECT_FALSE(staging.IsStaged(35));
    EXPECT_EQ(staging.Block(35)[1], 0);
}

TEST(MacroBlock, StateByteWrapsBeforeFlagBits) {
    EXPECT_EQ(MacroStateByte(1, 0), 0x01);
    EXPECT_EQ(MacroStateByte(2, 0), 0x81);
    EXPECT_EQ(MacroStateByte(1, 20), 0x03);
    EXPECT_EQ(MacroStateByte(2, 20), 0x83);
    EXPECT_EQ(MacroStateByte(1, 100), 0x0B);
    EXPECT_EQ(MacroStateByte(2, 100), 0x8B);
    EXPECT_EQ(MacroStateByte(1, 19), 0x01);  // 1.9 truncates to 1
    EXPECT_EQ(MacroStateByte(1, 2550), 0xFF);
    EXPECT_EQ(MacroStateByte(2, 2550), 0xFF);
    EXPECT_EQ(MacroStateByte(1, 2560), 0x01);  // 256 wraps to 0
    EXPECT_EQ(MacroStateByte(2, 2560), 0x81);
    EXPECT_EQ(MacroStateByte(2, 2580), 0x83);
    EXPECT_EQ(MacroStateByte(1, 65535), 0x99);  // 6553 & 0xFF = 153
    EXPECT_EQ(MacroStateByte(0, 0), 0x81);      // any state but press counts as release
}

TEST(MacroBlock, FortyEventsFillBytes2To81) {
    ButtonAssignment info = Blank(0, 16);
    info.repeatCount = 0x0102;
    info.eventCount = 40;
    for (int j = 0; j < 40; ++j) {
        info.events[j].keyCode = static_cast<std::uint8_t>(0x04 + j);
        info.events[j].state = (j % 2 == 0) ? 1 : 2;
        info.events[j].delayMs = 30;
    }
    const DataBlock b = BuildRecordedMacroBlock(info);
    EXPECT_EQ(b[0], 0x01);
    EXPECT_EQ(b[1], 0x02);
    EXPECT_EQ(b[2], 0x03);  // 30 ms press
    EXPECT_EQ(b[3], 0x04);
    EXPECT_EQ(b[4], 0x83);  // 30 ms release
    EXPECT_EQ(b[5], 0x05);
    EXPECT_EQ(b[80], 0x83);
    EXPECT_EQ(b[81], 0x04 + 39);
    for (int i = 82; i < 128; ++i) EXPECT_EQ(b[i], 0) << "byte " << i;

    // A damaged count beyond 40 is cut so the block never overflows.
    info.eventCount = 200;
    EXPECT_EQ(BuildRecordedMacroBlock(info), b);

    // Count 0: header only.
    info.eventCount = 0;
    DataBlock header{};
    header[0] = 0x01;
    header[1] = 0x02;
    EXPECT_EQ(BuildRecordedMacroBlock(info), header);
}

TEST(MacroBlock, FixedShortcutsPressInOrderReleaseInReverse) {
    auto block = [](std::uint8_t action) { return BuildShortcutMacroBlock(ShortcutKeys(action)); };
    auto prefix = [](const DataBlock& b, std::size_t n) {
        return std::vector<int>(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(n));
    };
    // Ctrl+C
    EXPECT_EQ(prefix(block(48), 12),
              (std::vector<int>{0, 1, 1, 0xE0, 1, 0x06, 0x81, 0x06, 0x81, 0xE0, 0, 0}));
    // Ctrl+Shift+S
    EXPECT_EQ(prefix(block(56), 16), (std::vector<int>{0, 1, 1, 0xE0, 1, 0xE1, 1, 0x16, 0x81, 0x16,
                                                       0x81, 0xE1, 0x81, 0xE0, 0, 0}));
    // Alt+F4
    EXPECT_EQ(prefix(block(64), 10),
              (std::vector<int>{0, 1, 1, 0xE2, 1, 0x3D, 0x81, 0x3D, 0x81, 0xE2}));
    // Alt+Space+X and Alt+Space+N
    EXPECT_EQ(prefix(block(67), 14), (std::vector<int>{0, 1, 1, 0xE2, 1, 0x2C, 1, 0x1B, 0x81, 0x1B,
                                                       0x81, 0x2C, 0x81, 0xE2}));
    EXPECT_EQ(prefix(block(68), 14), (std::vector<int>{0, 1, 1, 0xE2, 1, 0x2C, 1, 0x11, 0x81, 0x11,
                                                       0x81, 0x2C, 0x81, 0xE2}));
    // GUI+R, Alt+Tab, GUI+L, Ctrl+Z
    EXPECT_EQ(prefix(block(70), 10),
              (std::vector<int>{0, 1, 1, 0xE3, 1, 0x15, 0x81, 0x15, 0x81, 0xE3}));
    EXPECT_EQ(prefix(block(84), 10),
              (std::vector<int>{0, 1, 1, 0xE2, 1, 0x2B, 0x81, 0x2B, 0x81, 0xE2}));
    EXPECT_EQ(prefix(block(85), 10),
              (std::vector<int>{0, 1, 1, 0xE3, 1, 0x0F, 0x81, 0x0F, 0x81, 0xE3}));
    EXPECT_EQ(prefix(block(58), 10),
              (std::vector<int>{0, 1, 1, 0xE0, 1, 0x1D, 0x81, 0x1D, 0x81, 0xE0}));

    // Event counts: 6 for 56, 67, 68; 4 for the others.
    for (int code : {48, 49, 50, 51, 52, 53, 54, 55, 57, 58, 64, 65, 66, 69, 70, 84, 85})
        EXPECT_EQ(ShortcutKeys(static_cast<std::uint8_t>(code)).size(), 2u) << code;
    for (int code : {56, 67, 68})
        EXPECT_EQ(ShortcutKeys(static_cast<std::uint8_t>(code)).size(), 3u);
    for (int code : {47, 59, 63, 71, 83, 86})
        EXPECT_TRUE(ShortcutKeys(static_cast<std::uint8_t>(code)).empty());
}

}  // namespace
}  // namespace device
