#include "common/settings/settings_block.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace settings {

namespace {

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
