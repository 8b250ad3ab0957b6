#include "option/model/pages/button_captions.h"

#include <array>
#include <cstring>

#include "lan/string_ids.h"

namespace option {

namespace {

// Action codes first..last take consecutive string ids from firstId.
struct LabelRun {
    int first;
    int last;
    unsigned firstId;
};

constexpr std::array<LabelRun, 12> kLabelRuns = {{
    {0, 0, lan::kDisable},  // an unassigned button reads as disabled
    {1, 4, lan::kLeftClick},
    {6, 12, lan::kDisable},
    {13, 15, lan::kProfileCycle},
    {18, 24, lan::kFirstOtherAction},
    {25, 32, lan::kFirstMediaAction},
    {33, 44, lan::kFirstSystemAction},
    {48, 58, lan::kFirstShortcutAction},
    {64, 70, lan::kFirstWindowAction},
    {80, 80, lan::kTripleClick},
    {81, 82, lan::kDeviceFunction1},
    {83, 83, lan::kDeviceFunction3},
}};

// Entry index -> number printed on its button.
constexpr std::array<int, settings::kButtonCount> kButtonNumbers = {1, 2, 3, 4, 5, 0, 0,  0,
                                                                    0, 0, 6, 7, 8, 9, 10, 0};

// The bounded length of a fixed text field that may lack its NUL.
std::string FieldText(const char* field, std::size_t capacity) {
    const void* end = std::memchr(field, '\0', capacity);
    const std::size_t length =
        end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : capacity;
    return std::string(field, length);
}

}  // namespace

int ButtonNumber(int entry) {
    if (entry < 0 || entry >= settings::kButtonCount)
        return 0;
    return kButtonNumbers[static_cast<std::size_t>(entry)];
}

std::optional<unsigned> ActionLabelId(int actionCode) {
    for (const LabelRun& run : kLabelRuns) {
        if (actionCode >= run.first && actionCode <= run.last)
            return run.firstId + static_cast<unsigned>(actionCode - run.first);
    }
    return std::nullopt;
}

std::string KeyCodeName(unsigned keyCode, const settings::KeyboardLayout& layout) {
    const settings::KeyLookup vk = settings::VirtualKeyFromKeyCode(keyCode, layout);
    return vk.found ? settings::KeyName(vk.value) : std::string();
}

std::string ShortcutText(const settings::ButtonAssignment& entry,
                         const settings::KeyboardLayout& layout) {
    if (entry.eventCount == 0)
        return "";
    const std::uint8_t flags = entry.events[0].state;
    std::string text;
    if ((flags & settings::modifier::kPlainKey) == 0) {
        if (flags & settings::modifier::kCtrl)
            text += "Ctrl+";
        if (flags & settings::modifier::kShift)
            text += "Shift+";
        if (flags & settings::modifier::kAlt)
            text += "Alt+";
        if (flags & settings::modifier::kWin)
            text += "Win+";
    }
    return text + KeyCodeName(entry.events[0].keyCode, layout);
}

std::string ProgramFileName(const char* path, std::size_t capacity) {
    const std::string whole = FieldText(path, capacity);
    const std::size_t slash = whole.find_last_of("\\/:");
    return slash == std::string::npos ? whole : whole.substr(slash + 1);
}

std::string ActionText(const settings::ButtonAssignment& entry, const StringSource& strings,
                       const settings::KeyboardLayout& layout) {
    switch (entry.actionCode) {
        case settings::action::kKeyCombination:
            return ShortcutText(entry, layout);
        case settings::action::kMacro:
            return FieldText(entry.macroName, sizeof entry.macroName);
        case settings::action::kLaunchProgram:
            return ProgramFileName(entry.programPath, sizeof entry.programPath);
        default:
            break;
    }
    const std::optional<unsigned> id = ActionLabelId(entry.actionCode);
    return id ? strings.Text(*id) : std::string();
}

std::string ButtonCaption(int entry, const settings::ButtonAssignment& info,
                          const StringSource& strings, const settings::KeyboardLayout& layout) {
    return std::to_string(ButtonNumber(entry)) + ". " + ActionText(info, strings, layout);
}

}  // namespace option
