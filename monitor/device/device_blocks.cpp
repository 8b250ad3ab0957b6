#include "monitor/device/device_blocks.h"

#include <algorithm>
#include <optional>

namespace device {

namespace {

constexpr std::uint8_t kLeftCtrl = 224;
constexpr std::uint8_t kLeftShift = 225;
constexpr std::uint8_t kLeftAlt = 226;
constexpr std::uint8_t kLeftGui = 227;
constexpr std::uint8_t kKeyA = 4;
constexpr std::uint8_t Letter(char c) {
    return static_cast<std::uint8_t>(kKeyA + (c - 'A'));
}
constexpr std::uint8_t kKeySpace = 44;
constexpr std::uint8_t kKeyTab = 43;
constexpr std::uint8_t kKeyF4 = 61;

struct Shortcut {
    std::uint8_t action;
    std::uint8_t count;
    std::uint8_t keys[3];
};

constexpr Shortcut kShortcuts[] = {
    {48, 2, {kLeftCtrl, Letter('C')}},
    {49, 2, {kLeftCtrl, Letter('X')}},
    {50, 2, {kLeftCtrl, Letter('N')}},
    {51, 2, {kLeftCtrl, Letter('O')}},
    {52, 2, {kLeftCtrl, Letter('V')}},
    {53, 2, {kLeftCtrl, Letter('P')}},
    {54, 2, {kLeftCtrl, Letter('Y')}},
    {55, 2, {kLeftCtrl, Letter('S')}},
    {56, 3, {kLeftCtrl, kLeftShift, Letter('S')}},
    {57, 2, {kLeftCtrl, Letter('A')}},
    {58, 2, {kLeftCtrl, Letter('Z')}},
    {64, 2, {kLeftAlt, kKeyF4}},
    {65, 2, {kLeftCtrl, Letter('F')}},
    {66, 2, {kLeftCtrl, Letter('E')}},
    {67, 3, {kLeftAlt, kKeySpace, Letter('X')}},
    {68, 3, {kLeftAlt, kKeySpace, Letter('N')}},
    {69, 2, {kLeftGui, Letter('D')}},
    {70, 2, {kLeftGui, Letter('R')}},
    {84, 2, {kLeftAlt, kKeyTab}},
    {85, 2, {kLeftGui, Letter('L')}},
};

// Consumer-control usages of action codes 25..42.
constexpr std::uint16_t kConsumerUsages[] = {
    0x0183, 0x00B6, 0x00B5, 0x00CD, 0x00B7, 0x00E2, 0x00E9, 0x00EA, 0x0192,
    0x018A, 0x022A, 0x0225, 0x0224, 0x0226, 0x0194, 0x0227, 0x0223, 0x0221,
};
constexpr std::uint8_t kFirstConsumerAction = 25;
constexpr std::uint8_t kLastConsumerAction = 42;

// The action-code table: device bytes before the record-dependent ones.
std::optional<KeyMapEntry> TableEntry(std::uint8_t code) {
    switch (code) {
        case 0:
            return KeyMapEntry{0, 0, 0, 0};
        case 1:
            return KeyMapEntry{1, 0, 0xF0, 0};
        case 2:
            return KeyMapEntry{1, 0, 0xF1, 0};
        case 3:
            return KeyMapEntry{1, 0, 0xF2, 0};
        case 4:
            return KeyMapEntry{10, 0xF0, 50, 2};
        case 5:
            return KeyMapEntry{0, 0, 0, 0};
        case 6:
            return KeyMapEntry{0, 0, 0, 0};
        case 7:
            return KeyMapEntry{1, 0, 0xF4, 0};
        case 8:
            return KeyMapEntry{1, 0, 0xF3, 0};
        case 9:
            return KeyMapEntry{4, 0, 1, 0};
        case 10:
            return KeyMapEntry{4, 0, 2, 0};
        case 11:
            return KeyMapEntry{4, 0, 3, 0};
        case 12:
            return KeyMapEntry{4, 0, 4, 0};
        case 13:
            return KeyMapEntry{7, 0, 3, 0};
        case 14:
            return KeyMapEntry{7, 0, 1, 0};
        case 15:
            return KeyMapEntry{7, 0, 2, 0};
        case 16:
            return KeyMapEntry{kMacroDeviceType, 0, 0, 0};
        case 17:
            return KeyMapEntry{6, 0, 0, 0};
        case 21:
            return KeyMapEntry{10, 0xF0, 0, 0};
        case 22:
            return KeyMapEntry{10, 0, 0, 0};
        case 80:
            return KeyMapEntry{10, 0xF0, 50, 3};
        case 81:
            return KeyMapEntry{5, 0, 1, 0};
        case 82:
            return KeyMapEntry{5, 0, 2, 0};
        case 83:
            return KeyMapEntry{5, 0, 3, 0};
        default:
            break;
    }
    if (code >= kFirstConsumerAction && code <= kLastConsumerAction) {
        const std::uint16_t usage = kConsumerUsages[code - kFirstConsumerAction];
        return KeyMapEntry{3, 0, static_cast<std::uint8_t>(usage & 0xFF),
                           static_cast<std::uint8_t>(usage >> 8)};
    }
    // b3 tells the mouse how many events its built-in macro holds: every key
    // of the combination goes down, then up.
    if (const auto keys = ShortcutKeys(code); !keys.empty())
        return KeyMapEntry{kMacroDeviceType, 0, 0, static_cast<std::uint8_t>(2 * keys.size())};
    return std::nullopt;
}

std::uint8_t Low8(std::int64_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

// An event count the block can hold: a damaged record may claim more than 40.
int UsableEventCount(const settings::ButtonAssignment& info) {
    return std::min<int>(info.eventCount, settings::kMaxMacroEvents);
}

void PutRgb(DataBlock& block, std::size_t offset, std::uint32_t bgr) {
    block[offset] = static_cast<std::uint8_t>(bgr & 0xFF);
    block[offset + 1] = static_cast<std::uint8_t>((bgr >> 8) & 0xFF);
    block[offset + 2] = static_cast<std::uint8_t>((bgr >> 16) & 0xFF);
}

// The light level byte of settings 1 to 3: a steady light's brightness, a
// breathing light's pace. Any other setting keeps the template's byte.
constexpr std::array<std::uint8_t, 3> kSteadyLevels = {3, 7, 10};
constexpr std::array<std::uint8_t, 3> kBreathingLevels = {1, 3, 5};

void SetLightLevel(DataBlock& block, int setting, const std::array<std::uint8_t, 3>& levels) {
    if (setting >= 1 && setting <= static_cast<int>(levels.size()))
        block[param::kLightLevel] = levels[static_cast<std::size_t>(setting - 1)];
}

}  // namespace

const std::array<std::uint32_t, kPaletteSize> kDevicePalette = {
    0x0000FF, 0x0025FB, 0x004DFE, 0x006EE6, 0x4187C3, 0x41BEFF, 0x0AF0FF, 0x00FFFF, 0x00FFC8,
    0x00FAA5, 0x0AFA89, 0x00C819, 0x03A811, 0x017D0B, 0x73D20F, 0xB9FF00, 0xC8C80F, 0xDCDC6E,
    0xFFC828, 0xF0A01E, 0xFA6464, 0xF58264, 0xF07828, 0xD27828, 0xFF3205, 0xBE3050, 0xF03264,
    0xFF37A0, 0xE16496, 0xD732A0, 0xF537B4, 0xD200AA, 0x4600C8,
};

// clang-format off
const DataBlock kProfileParameterTemplate = {
    255, 255, 0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,
    0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,
    0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,
    46,  16,  66,  0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,
    15,  6,   10,  10,  25,  25,  4,   2,   1,   2,   100, 100, 1,   192, 240, 3,
    1,   1,   100, 0,   16,  24,  40,  60,  80,  100, 20,  20,  16,  24,  40,  60,
    80,  100, 20,  20,  4,   0,   255, 0,   255, 0,   0,   0,   255, 0,   0,   0,
    255, 0,   255, 255, 255, 0,   255, 0,   160, 160, 160, 160, 160, 255, 255, 255,
};
// clang-format on

DataBlock BuildProfileParameterBlock(const settings::ProfileRecord& profile) {
    DataBlock block = kProfileParameterTemplate;

    if (profile.LightSwitch == 0) {
        block[param::kLightMode] = 0;
        block[param::kLightLevel] = 0;
        block[param::kLightEnable] = 0;
    } else {
        block[param::kLightEnable] = 3;
        if (profile.LightType == 0) {
            block[param::kLightMode] = 1;
            SetLightLevel(block, profile.LightSwitch, kSteadyLevels);
        } else {
            block[param::kLightMode] = 2;
            SetLightLevel(block, profile.LightType, kBreathingLevels);
        }
    }

    block[param::kSensitivityX] = Low8(std::int64_t{profile.Sensitivity_X} * 10);
    block[param::kSensitivityY] = Low8(std::int64_t{profile.Sensitivity_Y} * 10);

    for (int i = 0; i < param::kCpiStagesSent; ++i) {
        block[param::kCpiX + i] = Low8(std::int64_t{profile.CpiLevel_X[i]} - 1);
        block[param::kCpiY + i] = Low8(std::int64_t{profile.CpiLevel_Y[i]} - 1);
    }

    block[param::kDpiMask] = 0x0F;

    for (int i = 0; i < kLedSlotsSent; ++i) {
        const std::size_t offset = param::kLedSlots + 3 * static_cast<std::size_t>(i);
        if (profile.ColorType[i] == 0) {
            // A palette index outside the palette keeps the template colour
            // rather than reading past the table.
            const std::int32_t index = profile.ColorOptions[i];
            if (index >= 0 && index < kPaletteSize)
                PutRgb(block, offset, kDevicePalette[index]);
        } else if (profile.ColorType[i] == 1) {
            PutRgb(block, offset, profile.ClCustom[i]);
        }
    }
    return block;
}

std::span<const std::uint8_t> ShortcutKeys(std::uint8_t actionCode) {
    for (const Shortcut& s : kShortcuts) {
        if (s.action == actionCode)
            return {s.keys, s.count};
    }
    return {};
}

KeyMapEntry DeviceEntry(const settings::ButtonAssignment& info, int button, std::int32_t otgSpeed) {
    const auto found = TableEntry(info.actionCode);
    if (!found)
        return KeyMapEntry{0, 0, 0, 0};
    KeyMapEntry entry = *found;
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&info);
    switch (info.actionCode) {
        case settings::action::kKeyCombination:
            entry[1] = static_cast<std::uint8_t>(raw[settings::kComboModifierOffset] >> 1);
            entry[2] = raw[settings::kComboKeyOffset];
            break;
        case settings::action::kMacro:
            entry[3] = Low8(UsableEventCount(info));
            break;
        case settings::action::kLaunchProgram:
            entry[3] = Low8(button + 1);
            break;
        case settings::action::kFire:
            entry[2] = info.fireValueB > 4 ? Low8(info.fireValueB / 2) : 2;
            entry[3] = Low8(info.fireValueA);
            break;
        case settings::action::kOtgRepeat:
            entry[2] = Low8(otgSpeed / 2);
            entry[3] = Low8(otgSpeed / 2);
            break;
        default:
            break;
    }
    return entry;
}

std::uint8_t MacroStateByte(std::uint8_t state, std::uint16_t delayMs) {
    const auto tenths = static_cast<std::uint8_t>((delayMs / 10) & 0xFF);
    const std::uint8_t bits =
        state == static_cast<std::uint8_t>(settings::KeyState::Press) ? 0x01 : 0x81;
    return static_cast<std::uint8_t>(tenths | bits);
}

DataBlock BuildRecordedMacroBlock(const settings::ButtonAssignment& info) {
    DataBlock block{};
    block[0] = Low8(info.repeatCount >> 8);
    block[1] = Low8(info.repeatCount);
    const int count = UsableEventCount(info);
    for (int j = 0; j < count; ++j) {
        const settings::MacroEvent& e = info.events[j];
        block[2 + 2 * j] = MacroStateByte(e.state, e.delayMs);
        block[3 + 2 * j] = e.keyCode;
    }
    return block;
}

DataBlock BuildShortcutMacroBlock(std::span<const std::uint8_t> keys) {
    DataBlock block{};
    block[0] = 0x00;
    block[1] = 0x01;
    std::size_t at = 2;
    for (std::uint8_t key : keys) {
        block[at++] = 0x01;
        block[at++] = key;
    }
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        block[at++] = 0x81;
        block[at++] = *it;
    }
    return block;
}

void MacroStaging::Clear() {
    for (auto& b : blocks) b.fill(0);
    staged.fill(0);
}

void BuildKeyMapAndMacros(const settings::ProfileRecord& profile, int profileIndex,
                          DataBlock& keyMap, MacroStaging& staging) {
    keyMap.fill(0);
    for (int b = 0; b < settings::kButtonCount; ++b) {
        if (b == kSkippedButton)
            continue;
        const settings::ButtonAssignment& info = profile.MacroKeyInfo[b];
        KeyMapEntry entry = DeviceEntry(info, b, profile.OTGSpeed);
        if (entry[0] == kMacroDeviceType) {
            const int slot = MacroSlot(profileIndex, b);
            entry[2] = static_cast<std::uint8_t>(slot);
            staging.blocks[slot - 1] = info.actionCode == settings::action::kMacro
                                           ? BuildRecordedMacroBlock(info)
                                           : BuildShortcutMacroBlock(ShortcutKeys(info.actionCode));
            staging.staged[slot - 1] = 1;
        }
        for (int i = 0; i < 4; ++i) keyMap[4 * b + i] = entry[i];
    }
}

}  // namespace device
