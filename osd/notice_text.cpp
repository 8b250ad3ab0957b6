#include "osd/notice_text.h"

#include "common/utf8_text.h"

#include <algorithm>

namespace osd {

namespace {

constexpr int kProfileCount = 5;
constexpr int kMaxMacroNumber = 99;
constexpr std::string_view kCpiPrefix = "CPI:";

}  // namespace

std::string Summary(const Notice& notice) {
    std::string line = notice.caption;
    if (!notice.badge.empty())
        line += " " + notice.badge;
    return line + ": " + notice.body;
}

std::string CleanText(std::string_view text, std::size_t maxLength) {
    if (maxLength == 0)
        return {};
    std::string clean;
    clean.reserve(std::min(text.size(), maxLength));
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        clean += (byte < 0x20 || byte == 0x7F) ? ' ' : c;
    }
    const std::size_t first = clean.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    clean = clean.substr(first, clean.find_last_not_of(' ') - first + 1);
    if (clean.size() > maxLength) {
        // Cut between characters: half a character would show as a box.
        clean.resize(text::Utf8FitLength(clean, maxLength));
        clean.resize(clean.find_last_not_of(' ') + 1);
    }
    return clean;
}

std::optional<Notice> ProfileNotice(std::uint32_t lParam, std::string_view profileName) {
    const std::uint32_t index = lParam >> 16;
    if (index >= kProfileCount)
        return std::nullopt;
    const std::string number = std::to_string(index + 1);
    std::string name = CleanText(profileName);
    if (name.empty())
        name = "Profile " + number;
    return Notice{"PROFILE", number, std::move(name)};
}

std::optional<Notice> TextNotice(std::string_view message) {
    std::string text = CleanText(message);
    if (text.empty())
        return std::nullopt;
    if (text.starts_with(kCpiPrefix)) {
        std::string value = CleanText(std::string_view(text).substr(kCpiPrefix.size()));
        if (!value.empty())
            return Notice{"CPI", "", std::move(value)};
    }
    return Notice{"NOTICE", "", std::move(text)};
}

std::optional<Notice> MacroNotice(int number, std::string_view macroName) {
    std::string name = CleanText(macroName);
    if (name.empty())
        name = "Macro";
    std::string badge;
    if (number >= 0 && number <= kMaxMacroNumber)
        badge = std::to_string(number);
    return Notice{"MACRO", std::move(badge), std::move(name)};
}

}  // namespace osd
