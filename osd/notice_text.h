// What a notice says, composed from what Monitor hands over: a short caption
// in capitals, an optional badge (a number) beside it and the body text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace osd {

// Longest body shown; the applets hand over at most 150 characters.
inline constexpr std::size_t kMaxBodyLength = 150;

struct Notice {
    std::string caption;  // "PROFILE", "MACRO", "CPI", "NOTICE"
    std::string badge;    // "3", or empty
    std::string body;

    bool operator==(const Notice&) const = default;
};

// One line naming the whole notice ("PROFILE 3: Gaming", "CPI: 720"); the
// notice window carries it as its text, for tools and tests.
std::string Summary(const Notice& notice);

// Control characters become blanks, blanks at either end go, and the text is
// cut to maxLength bytes.
std::string CleanText(std::string_view text, std::size_t maxLength = kMaxBodyLength);

// The profile index travels in the high word of lParam; 0..4 is a profile,
// anything else shows nothing. An empty name shows as "Profile <n>".
std::optional<Notice> ProfileNotice(std::uint32_t lParam, std::string_view profileName);
// [OSDData] Message: "CPI: <n>" from Monitor, any text from the applets.
// Nothing is shown for an empty text.
std::optional<Notice> TextNotice(std::string_view message);
// [MacroOSD] Number and MacroName. A number outside 0..99 (missing or
// damaged) leaves the badge empty; an empty name shows as "Macro".
std::optional<Notice> MacroNotice(int number, std::string_view macroName);

}  // namespace osd
