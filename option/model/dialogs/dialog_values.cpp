#include "option/model/dialogs/dialog_values.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "option/model/pages/button_captions.h"

namespace option {

namespace {

// Leading blanks skipped, decimal digits up to the first other character;
// saturates rather than overflowing on long input.
std::int32_t ParseNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    std::int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), 1'000'000);
    return static_cast<std::int32_t>(value);
}

}  // namespace

FireNumbers FireNumbersFromText(std::string_view textA, std::string_view textB) {
    return {std::clamp(ParseNumber(textA), 0, 255), std::clamp(ParseNumber(textB), 1, 255)};
}

std::string FireFieldTextA(std::int32_t valueA) {
    return valueA >= 0 ? std::to_string(valueA) : std::string();
}

std::string FireFieldTextB(std::int32_t valueB) {
    return valueB > 0 ? std::to_string(valueB) : std::string();
}

std::string_view PlayerName(std::int32_t index) {
    switch (index) {
        case 0:
            return "Windows Media player";
        case 1:
            return "iTunes";
        case 2:
            return "Real Player";
        case 3:
            return "Winamp";
        default:
            return "";
    }
}

ToggleButtons ToggleButtonStates(const ShortcutToggles& toggles) {
    ToggleButtons buttons{};
    buttons.latched = toggles;
    buttons.enabled.fill(!toggles[0]);
    buttons.enabled[0] = true;
    return buttons;
}

KeyField KeyFieldOf(std::uint8_t keyCode, const settings::KeyboardLayout& layout) {
    return {keyCode, KeyCodeName(keyCode, layout)};
}

bool TakeCapturedKey(KeyField& field, unsigned virtualKey, const settings::KeyboardLayout& layout) {
    CapturedKey key = CaptureKey(virtualKey, layout);
    if (!key.found || (key.keyCode == field.keyCode && key.name == field.name))
        return false;
    field.keyCode = key.keyCode;
    field.name = std::move(key.name);
    return true;
}

bool PathFits(std::string_view path, std::size_t maxChars) {
    return path.size() <= maxChars && path.find('\0') == std::string_view::npos;
}

std::string PathTooLongText(std::string_view text, std::size_t length, std::size_t maxChars) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            out += std::to_string(text[i + 1] == '1' ? length : maxChars);
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace option
