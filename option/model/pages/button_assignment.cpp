#include "option/model/pages/button_assignment.h"

#include <algorithm>
#include <cstring>

#include "common/utf8_text.h"
#include "option/model/pages/button_captions.h"

namespace option {

namespace {

struct CommandRun {
    unsigned first;
    unsigned last;
    std::uint8_t firstAction;
};

constexpr std::array<CommandRun, 8> kCommandRuns = {{
    {1001, 1015, 1},
    {1017, 1044, 17},
    {1050, 1060, 48},
    {1061, 1067, 64},
    {1090, 1090, 83},
    {1091, 1091, 81},
    {1092, 1092, 82},
    {1093, 1093, 80},
}};

void ClearPayload(settings::ButtonAssignment& entry) {
    entry.eventCount = 0;
    std::memset(entry.events, 0, sizeof entry.events);
    std::memset(entry.macroName, 0, sizeof entry.macroName);
}

}  // namespace

std::uint8_t ActionForCommand(unsigned command) {
    if (command >= 1100 && command <= 4000)
        return settings::action::kMacro;
    for (const CommandRun& run : kCommandRuns) {
        if (command >= run.first && command <= run.last)
            return static_cast<std::uint8_t>(run.firstAction + (command - run.first));
    }
    return settings::action::kNone;
}

bool KeepsLeftClick(const settings::ProfileRecord& profile, int entry, std::uint8_t action) {
    for (int i = 0; i < settings::kButtonCount; ++i) {
        const std::uint8_t code = i == entry ? action : profile.MacroKeyInfo[i].actionCode;
        if (code == settings::action::kLeftClick)
            return true;
    }
    return false;
}

std::uint8_t ModifierFlags(const ShortcutToggles& toggles) {
    if (toggles[0])
        return settings::modifier::kPlainKey;
    std::uint8_t flags = 0;
    for (std::size_t i = 1; i < toggles.size(); ++i) {
        if (toggles[i])
            flags = static_cast<std::uint8_t>(flags | (1u << i));
    }
    return flags;
}

ShortcutToggles TogglesFromFlags(std::uint8_t flags) {
    ShortcutToggles toggles{};
    for (std::size_t i = 0; i < toggles.size(); ++i) toggles[i] = (flags >> i) & 1u;
    return toggles;
}

void AssignPlainAction(settings::ButtonAssignment& entry, std::uint8_t action) {
    entry.actionCode = action;
    ClearPayload(entry);
}

void AssignShortcut(settings::ButtonAssignment& entry, std::uint8_t keyCode,
                    const ShortcutToggles& toggles) {
    ClearPayload(entry);
    entry.actionCode = settings::action::kKeyCombination;
    entry.eventCount = 1;
    entry.events[0].keyCode = keyCode;
    entry.events[0].state = ModifierFlags(toggles);
}

FireSetting FireSettingOf(const settings::ButtonAssignment& entry) {
    FireSetting fire;
    fire.keyCode = entry.events[0].keyCode;
    if (entry.actionCode == settings::action::kFire) {
        fire.valueA = entry.fireValueA;
        fire.valueB = entry.fireValueB;
    }
    return fire;
}

void AssignFire(settings::ButtonAssignment& entry, const FireSetting& fire) {
    ClearPayload(entry);
    entry.actionCode = settings::action::kFire;
    entry.eventCount = 1;
    entry.fireValueA = fire.valueA;
    entry.fireValueB = fire.valueB;
    entry.events[0].keyCode = fire.keyCode;
}

bool AssignLaunchProgram(settings::ButtonAssignment& entry, std::string_view path) {
    if (path.size() > kMaxProgramPath || path.find('\0') != std::string_view::npos)
        return false;
    std::memset(entry.programPath, 0, sizeof entry.programPath);
    std::memcpy(entry.programPath, path.data(), path.size());
    entry.actionCode = settings::action::kLaunchProgram;
    ClearPayload(entry);
    return true;
}

std::string_view LaunchPathOf(const settings::ButtonAssignment& entry) {
    if (entry.actionCode != settings::action::kLaunchProgram)
        return {};
    return {entry.programPath, strnlen(entry.programPath, sizeof entry.programPath)};
}

void AssignMacro(settings::ButtonAssignment& entry, const MacroForButton& macro) {
    ClearPayload(entry);
    entry.actionCode = settings::action::kMacro;
    const std::size_t name = text::Utf8FitLength(macro.name, sizeof entry.macroName - 1);
    std::memcpy(entry.macroName, macro.name.data(), name);
    const std::size_t events =
        std::min<std::size_t>({macro.eventCount & 0xFFFFu, macro.events.size(),
                               static_cast<std::size_t>(settings::kMaxMacroEvents)});
    std::copy_n(macro.events.begin(), events, entry.events);
    entry.eventCount = static_cast<std::uint16_t>(events);
    entry.repeatCount = macro.repeatCount;
}

CapturedKey CaptureKey(unsigned virtualKey, const settings::KeyboardLayout& layout) {
    const settings::KeyLookup code = settings::KeyCodeFromVirtualKey(virtualKey, layout);
    if (!code.found || code.value == 0 || code.value > 0xFF)
        return {};
    return {true, static_cast<std::uint8_t>(code.value), KeyCodeName(code.value, layout)};
}

}  // namespace option
