#include "common/settings/settings_block.h"

#include <algorithm>
#include <iterator>

#include <cstdio>
#include <cstring>

namespace settings {

namespace {

constexpr std::int32_t kDefaultCpiLevels[5] = {4, 15, 30, 60, 160};
constexpr std::int32_t kDefaultColorOptions[8] = {18, 0, 11, 31, 0, 0, 0, 0};
constexpr std::uint32_t kDefaultCustomColors[8] = {0x000000, 0xFFD900, 0x0000FF, 0x00FF00,
                                                   0xFF00FF, 0xFFFF00, 0x00FFFF, 0xFFFFFF};
constexpr std::uint8_t kDefaultDpiStepFlags[8] = {1, 1, 1, 1, 0, 0, 0, 0};
constexpr std::uint8_t kDefaultDpiIndicators[10] = {1, 2, 3, 4, 4, 5, 5, 6, 6, 0};
constexpr std::uint32_t kDefaultLedDpiColors[4] = {0xFF0000, 0x00FF00, 0xFF00FF, 0x0000FF};

// Each flag table is written through its own member: one loop over both
// would run past the end of the first array.
void FillChangeFlags(SettingsBlock& block, std::int32_t value) {
    std::fill(std::begin(block.buttonChangeFlags), std::end(block.buttonChangeFlags), value);
    std::fill(std::begin(block.settingChangeFlags), std::end(block.settingChangeFlags), value);
}

}  // namespace

void ResetBlock(SettingsBlock& block) {
    block.currentProfile = -1;
    block.mouseType = 0;
    std::memset(block.profiles, 0, sizeof block.profiles);
    ClearChanges(block);
}

void FillDefaultButton(ButtonAssignment& info, int button) {
    std::memset(&info, 0, sizeof info);
    info.buttonIndex = static_cast<std::uint8_t>(button);
    if (button >= 0 && button < kButtonCount)
        info.actionCode = kDefaultButtonActions[button];
}

void FillDefaultProfile(ProfileRecord& p, int index, DefaultsFor who) {
    std::memset(&p, 0, sizeof p);
    std::snprintf(p.ProFileName, sizeof p.ProFileName, "Default%d", index + 1);
    p.DbleClickSpeed = 500;
    p.ScrollWheelSpeed = 3;
    p.ScrollWheelFlag = 0;
    p.MouseSpeed = 10;
    p.Acceleration = 10;
    p.AccelerationFlag = 0;
    p.MouseTrails = 4;
    p.bMouseTrails = 0;
    p.TiltSpeed = 3;
    p.MediaOption = 0;
    p.Orientation = 0;
    p.XYSynchronous = 1;
    p.Sensitivity_X = 10;
    p.Sensitivity_Y = 10;
    p.Cpi_X = 0;
    p.Cpi_Y = 2;
    p.XYCpiFlag = 0;
    for (int i = 0; i < 5; ++i) {
        p.CpiLevel_X[i] = kDefaultCpiLevels[i];
        p.CpiLevel_Y[i] = kDefaultCpiLevels[i];
    }
    p.CpiStep = 0;
    p.ColorFlag = 1;
    p.LightSwitch = 2;
    p.LightType = 2;
    const std::int32_t colorType = who == DefaultsFor::Option ? 1 : 0;
    for (int i = 0; i < 8; ++i) {
        p.ColorOptions[i] = kDefaultColorOptions[i];
        p.ClCustom[i] = kDefaultCustomColors[i];
        p.ColorType[i] = colorType;
        p.dpiStepFlag[i] = kDefaultDpiStepFlags[i];
    }
    p.PollingRate = 2;
    p.ColorChangeMode = 0;
    p.OTGSpeed = 10;
    p.HeartBFlag = 1;
    p.HeartBSpeed = 20;
    std::memcpy(p.dpibyDpiIndicator, kDefaultDpiIndicators, sizeof kDefaultDpiIndicators);
    p.DpiIndicationType = 1;
    for (int i = 0; i < 4; ++i) p.LedDPIColor[i] = kDefaultLedDpiColors[i];
    for (int b = 0; b < kButtonCount; ++b) FillDefaultButton(p.MacroKeyInfo[b], b);
}

void FillDefaults(SettingsBlock& block, DefaultsFor who) {
    block.currentProfile = 0;
    for (int n = 0; n < kProfileCount; ++n) FillDefaultProfile(block.profiles[n], n, who);
}

void MarkAllChanged(SettingsBlock& block) {
    FillChangeFlags(block, 1);
}

void ClearChanges(SettingsBlock& block) {
    FillChangeFlags(block, 0);
}

// The two flag tables are adjacent arrays of one struct; indexing across them
// goes through the member that actually holds the int so no array is overrun.
std::int32_t ChangeFlag(const SettingsBlock& block, int index) {
    if (index < 0 || index >= kChangeFlagCount)
        return 0;
    if (index < kButtonFlagCount)
        return block.buttonChangeFlags[index];
    return block.settingChangeFlags[index - kButtonFlagCount];
}

void SetChangeFlag(SettingsBlock& block, int index, std::int32_t value) {
    if (index < 0 || index >= kChangeFlagCount)
        return;
    if (index < kButtonFlagCount) {
        block.buttonChangeFlags[index] = value;
    } else {
        block.settingChangeFlags[index - kButtonFlagCount] = value;
    }
}

void MarkButtonChanged(SettingsBlock& block, int profile, int button) {
    if (!IsValidProfileIndex(profile) || button < 0 || button >= kButtonCount)
        return;
    SetChangeFlag(block, kButtonGroupStride * profile + button, 1);
}

void MarkProfileButtonsChanged(SettingsBlock& block, int profile) {
    if (!IsValidProfileIndex(profile))
        return;
    for (int b = 0; b < kButtonGroupSize; ++b) {
        SetChangeFlag(block, kButtonGroupStride * profile + b, 1);
    }
}

bool ButtonGroupChanged(const SettingsBlock& block, int profile) {
    if (!IsValidProfileIndex(profile))
        return false;
    for (int b = 0; b < kButtonGroupSize; ++b) {
        if (ChangeFlag(block, kButtonGroupStride * profile + b) == 1)
            return true;
    }
    return false;
}

bool SelectProfileRequested(const SettingsBlock& block) {
    return block.settingChangeFlags[kSelectProfileFlag] == 1;
}

bool IsValidProfileIndex(int index) {
    return index >= 0 && index < kProfileCount;
}

ProfileRecord* CurrentProfile(SettingsBlock& block) {
    if (!IsValidProfileIndex(block.currentProfile))
        return nullptr;
    return &block.profiles[block.currentProfile];
}

const ProfileRecord* CurrentProfile(const SettingsBlock& block) {
    if (!IsValidProfileIndex(block.currentProfile))
        return nullptr;
    return &block.profiles[block.currentProfile];
}

}  // namespace settings
