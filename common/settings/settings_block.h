// The settings block: one fixed-size image of every setting, shared byte for
// byte between Monitor and Option through a named section. Offsets, widths and
// order are a binary format: they are pinned by static_assert below each record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/utf8_text.h"

namespace settings {

inline constexpr int kProfileCount = 5;
inline constexpr int kButtonCount = 16;
inline constexpr int kMaxMacroEvents = 40;

// Key state of a macro event.
enum class KeyState : std::uint8_t { None = 0, Press = 1, Release = 2 };

struct MacroEvent {
    std::uint8_t keyCode;   // USB HID usage, 240..244 for mouse buttons
    std::uint8_t state;     // KeyState
    std::uint16_t delayMs;  // pause after the event
};
static_assert(sizeof(MacroEvent) == 4);
static_assert(offsetof(MacroEvent, keyCode) == 0);
static_assert(offsetof(MacroEvent, state) == 1);
static_assert(offsetof(MacroEvent, delayMs) == 2);

// Action codes of a button assignment.
namespace action {
inline constexpr std::uint8_t kNone = 0;
inline constexpr std::uint8_t kLeftClick = 1;
inline constexpr std::uint8_t kRightClick = 2;
inline constexpr std::uint8_t kMiddleClick = 3;
inline constexpr std::uint8_t kDoubleClick = 4;
inline constexpr std::uint8_t kKeyCombination = 5;
inline constexpr std::uint8_t kDisable = 6;
inline constexpr std::uint8_t kBack = 7;
inline constexpr std::uint8_t kForward = 8;
inline constexpr std::uint8_t kDpiUp = 9;
inline constexpr std::uint8_t kDpiDown = 10;
inline constexpr std::uint8_t kProfileFunction3 = 13;
inline constexpr std::uint8_t kProfileFunction1 = 14;
inline constexpr std::uint8_t kProfileFunction2 = 15;
inline constexpr std::uint8_t kMacro = 16;
inline constexpr std::uint8_t kLaunchProgram = 17;
inline constexpr std::uint8_t kFire = 21;
inline constexpr std::uint8_t kOtgRepeat = 22;
inline constexpr std::uint8_t kTripleClick = 80;
}  // namespace action

// Modifier flags of a key combination (byte 39 of the record).
namespace modifier {
inline constexpr std::uint8_t kPlainKey = 0x01;
inline constexpr std::uint8_t kCtrl = 0x02;
inline constexpr std::uint8_t kShift = 0x04;
inline constexpr std::uint8_t kAlt = 0x08;
inline constexpr std::uint8_t kWin = 0x10;
}  // namespace modifier

// One button's assignment, stored whole as the binary INI value MacroKeyInfo%d.
struct ButtonAssignment {
    std::uint8_t buttonIndex;
    std::uint8_t actionCode;
    std::uint8_t reserved[2];
    std::int32_t fireValueA;
    std::int32_t fireValueB;
    char macroName[20];
    std::int32_t repeatCount;
    std::uint16_t eventCount;
    // For a key combination events[0].keyCode is the key and events[0].state
    // carries the modifier flags; for fire, events[0].keyCode is the fired key.
    MacroEvent events[kMaxMacroEvents];
    char programPath[262];
};
static_assert(sizeof(ButtonAssignment) == 460);
static_assert(offsetof(ButtonAssignment, buttonIndex) == 0);
static_assert(offsetof(ButtonAssignment, actionCode) == 1);
static_assert(offsetof(ButtonAssignment, reserved) == 2);
static_assert(offsetof(ButtonAssignment, fireValueA) == 4);
static_assert(offsetof(ButtonAssignment, fireValueB) == 8);
static_assert(offsetof(ButtonAssignment, macroName) == 12);
static_assert(offsetof(ButtonAssignment, repeatCount) == 32);
static_assert(offsetof(ButtonAssignment, eventCount) == 36);
static_assert(offsetof(ButtonAssignment, events) == 38);
static_assert(offsetof(ButtonAssignment, programPath) == 198);

// Byte offsets of the key combination fields inside a record.
inline constexpr std::size_t kComboKeyOffset = 38;
inline constexpr std::size_t kComboModifierOffset = 39;

// One profile. Field names are the INI keys that store them.
struct ProfileRecord {
    char ProFileName[250];
    char GameFile[502];
    std::int32_t DbleClickSpeed;
    std::int32_t ScrollWheelSpeed;
    std::int32_t ScrollWheelFlag;
    std::int32_t MouseSpeed;
    std::int32_t Acceleration;
    std::int32_t AccelerationFlag;
    std::int32_t MouseTrails;
    std::int32_t bMouseTrails;
    std::int32_t TiltSpeed;
    std::int32_t MediaOption;
    std::int32_t Orientation;
    std::int32_t XYSynchronous;
    std::int32_t Sensitivity_X;
    std::int32_t Sensitivity_Y;
    std::int32_t Cpi_X;
    std::int32_t Cpi_Y;
    std::int32_t XYCpiFlag;
    std::int32_t CpiLevel_X[5];
    std::int32_t CpiLevel_Y[5];
    std::int32_t CpiStep;
    std::int32_t ColorFlag;
    std::int32_t LightSwitch;
    std::int32_t LightType;
    std::int32_t ColorOptions[8];
    std::int32_t reserved908;
    std::uint32_t ClCustom[8];  // 0x00BBGGRR
    std::int32_t ColorType[8];
    std::int32_t PollingRate;
    std::int32_t ColorChangeMode;
    std::int32_t OTGSpeed;
    std::int32_t HeartBFlag;
    std::int32_t HeartBSpeed;
    std::uint8_t dpiStepFlag[8];
    std::uint8_t dpibyDpiIndicator[10];
    std::uint8_t DpiIndicationType;
    std::uint8_t reserved1015;
    std::uint32_t LedDPIColor[4];  // 0x00BBGGRR
    ButtonAssignment MacroKeyInfo[kButtonCount];
};
static_assert(sizeof(ProfileRecord) == 8392);
static_assert(offsetof(ProfileRecord, ProFileName) == 0);
static_assert(offsetof(ProfileRecord, GameFile) == 250);
static_assert(offsetof(ProfileRecord, DbleClickSpeed) == 752);
static_assert(offsetof(ProfileRecord, ScrollWheelSpeed) == 756);
static_assert(offsetof(ProfileRecord, ScrollWheelFlag) == 760);
static_assert(offsetof(ProfileRecord, MouseSpeed) == 764);
static_assert(offsetof(ProfileRecord, Acceleration) == 768);
static_assert(offsetof(ProfileRecord, AccelerationFlag) == 772);
static_assert(offsetof(ProfileRecord, MouseTrails) == 776);
static_assert(offsetof(ProfileRecord, bMouseTrails) == 780);
static_assert(offsetof(ProfileRecord, TiltSpeed) == 784);
static_assert(offsetof(ProfileRecord, MediaOption) == 788);
static_assert(offsetof(ProfileRecord, Orientation) == 792);
static_assert(offsetof(ProfileRecord, XYSynchronous) == 796);
static_assert(offsetof(ProfileRecord, Sensitivity_X) == 800);
static_assert(offsetof(ProfileRecord, Sensitivity_Y) == 804);
static_assert(offsetof(ProfileRecord, Cpi_X) == 808);
static_assert(offsetof(ProfileRecord, Cpi_Y) == 812);
static_assert(offsetof(ProfileRecord, XYCpiFlag) == 816);
static_assert(offsetof(ProfileRecord, CpiLevel_X) == 820);
static_assert(offsetof(ProfileRecord, CpiLevel_Y) == 840);
static_assert(offsetof(ProfileRecord, CpiStep) == 860);
static_assert(offsetof(ProfileRecord, ColorFlag) == 864);
static_assert(offsetof(ProfileRecord, LightSwitch) == 868);
static_assert(offsetof(ProfileRecord, LightType) == 872);
static_assert(offsetof(ProfileRecord, ColorOptions) == 876);
static_assert(offsetof(ProfileRecord, reserved908) == 908);
static_assert(offsetof(ProfileRecord, ClCustom) == 912);
static_assert(offsetof(ProfileRecord, ColorType) == 944);
static_assert(offsetof(ProfileRecord, PollingRate) == 976);
static_assert(offsetof(ProfileRecord, ColorChangeMode) == 980);
static_assert(offsetof(ProfileRecord, OTGSpeed) == 984);
static_assert(offsetof(ProfileRecord, HeartBFlag) == 988);
static_assert(offsetof(ProfileRecord, HeartBSpeed) == 992);
static_assert(offsetof(ProfileRecord, dpiStepFlag) == 996);
static_assert(offsetof(ProfileRecord, dpibyDpiIndicator) == 1004);
static_assert(offsetof(ProfileRecord, DpiIndicationType) == 1014);
static_assert(offsetof(ProfileRecord, reserved1015) == 1015);
static_assert(offsetof(ProfileRecord, LedDPIColor) == 1016);
static_assert(offsetof(ProfileRecord, MacroKeyInfo) == 1032);

inline constexpr int kButtonFlagCount = 75;
inline constexpr int kSettingFlagCount = 46;
inline constexpr int kButtonGroupStride = 15;  // ints between the groups of two profiles
inline constexpr int kButtonGroupSize = 16;    // so neighbouring groups share one int
inline constexpr int kSelectProfileFlag = 10;  // setting change flag: send the profile selection

struct SettingsBlock {
    std::int32_t currentProfile;
    ProfileRecord profiles[kProfileCount];
    std::int32_t mouseType;
    std::int32_t mouseColor;
    std::int32_t buttonChangeFlags[kButtonFlagCount];
    std::int32_t settingChangeFlags[kSettingFlagCount];
    std::uint8_t reserved[20];
};
static_assert(sizeof(SettingsBlock) == 42476);
static_assert(offsetof(SettingsBlock, currentProfile) == 0);
static_assert(offsetof(SettingsBlock, profiles) == 4);
static_assert(offsetof(SettingsBlock, mouseType) == 41964);
static_assert(offsetof(SettingsBlock, mouseColor) == 41968);
static_assert(offsetof(SettingsBlock, buttonChangeFlags) == 41972);
static_assert(offsetof(SettingsBlock, settingChangeFlags) == 42272);
static_assert(offsetof(SettingsBlock, reserved) == 42456);

inline constexpr std::size_t kSettingsBlockSize = sizeof(SettingsBlock);
inline constexpr std::size_t kChangeFlagsOffset = offsetof(SettingsBlock, buttonChangeFlags);
inline constexpr std::size_t kChangeFlagsEnd = offsetof(SettingsBlock, reserved);
inline constexpr int kChangeFlagCount = int((kChangeFlagsEnd - kChangeFlagsOffset) / 4);
static_assert(kChangeFlagCount == 121);

// ColorType differs between the programs: Option starts every LED slot on its
// custom colour, Monitor on its palette index.
enum class DefaultsFor { Monitor, Option };

inline constexpr std::array<std::uint8_t, kButtonCount> kDefaultButtonActions = {
    1, 2, 3, 7, 8, 13, 0, 15, 0, 0, 0, 0, 0, 0, 9, 10};

// Reset: current profile -1, mouse type 0, every profile byte and every change
// flag 0. Mouse colour and the reserved tail keep their values.
void ResetBlock(SettingsBlock& block);

// A fresh profile n: the defaults of the field table (profile_table.h),
// named "Default<n+1>".
void FillDefaultProfile(ProfileRecord& profile, int index, DefaultsFor who);

// Current profile 0 and all five profiles set to their defaults.
void FillDefaults(SettingsBlock& block, DefaultsFor who);

// A fresh assignment record for button b (name empty, no events).
void FillDefaultButton(ButtonAssignment& info, int button);

void MarkAllChanged(SettingsBlock& block);
void ClearChanges(SettingsBlock& block);

// Change flag int i (0..120) counted from the first button change flag; the
// button and setting tables form one contiguous run of ints.
std::int32_t ChangeFlag(const SettingsBlock& block, int index);
void SetChangeFlag(SettingsBlock& block, int index, std::int32_t value);

// Option's marking of button b of profile n: int 15 * n + b.
void MarkButtonChanged(SettingsBlock& block, int profile, int button);
// Option's marking after importing a profile file into profile n: 16 ints from 15 * n.
void MarkProfileButtonsChanged(SettingsBlock& block, int profile);
// Monitor's test: is any of the 16 ints from 15 * n set? The group of profile 4
// runs into the first setting change flag.
bool ButtonGroupChanged(const SettingsBlock& block, int profile);
bool SelectProfileRequested(const SettingsBlock& block);

// The record of the current profile, or nullptr when the index is outside 0..4.
ProfileRecord* CurrentProfile(SettingsBlock& block);
const ProfileRecord* CurrentProfile(const SettingsBlock& block);
bool IsValidProfileIndex(int index);

// Copies a C string (UTF-8) into a fixed field, always NUL-terminated, cut to
// fit on a character boundary: a name never ends in half a character.
template <std::size_t N>
void CopyField(char (&field)[N], const char* text) {
    std::size_t length = 0;
    if (text != nullptr) {
        while (length + 1 < N && text[length] != '\0') ++length;
        // One byte more tells whether the limit falls inside a character.
        const std::size_t seen = text[length] != '\0' ? length + 1 : length;
        length = text::Utf8FitLength(std::string_view(text, seen), length);
    }
    for (std::size_t i = 0; i < N; ++i) field[i] = i < length ? text[i] : '\0';
}

// Length of a fixed field's text, never reading past the field.
template <std::size_t N>
std::size_t FieldLength(const char (&field)[N]) {
    std::size_t i = 0;
    while (i < N && field[i] != '\0') ++i;
    return i;
}

}  // namespace settings
