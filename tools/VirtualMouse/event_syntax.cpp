#include "tools/VirtualMouse/event_syntax.h"

#include <cctype>
#include <charconv>

namespace vmouse {

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::uint32_t> Number(std::string_view s) {
    if (s.empty())
        return std::nullopt;
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s.remove_prefix(2);
        base = 16;
    }
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (ec != std::errc{} || end != s.data() + s.size() || value > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::optional<std::uint32_t> InRange(std::string_view s, std::uint32_t lo, std::uint32_t hi) {
    const auto v = Number(s);
    if (!v || *v < lo || *v > hi)
        return std::nullopt;
    return v;
}

constexpr std::uint32_t Code(std::uint32_t category, std::uint32_t data) {
    return (category << 16) | data;
}

// An event of `category` whose argument is one number from `lo` to `hi`,
// sent in its data with `flags`.
std::optional<std::uint32_t> Numbered(std::string_view arg, std::uint32_t lo, std::uint32_t hi,
                                      std::uint32_t category, std::uint32_t flags = 0) {
    const auto n = InRange(arg, lo, hi);
    if (!n)
        return std::nullopt;
    return Code(category, flags | *n);
}

}  // namespace

std::optional<std::uint32_t> ParseEventSpec(std::string_view raw) {
    const std::string spec = Lower(raw);
    const std::size_t colon = spec.find(':');
    const std::string name = spec.substr(0, colon);
    const std::string arg = colon == std::string::npos ? std::string() : spec.substr(colon + 1);

    if (colon == std::string::npos) {
        if (name == "option")
            return Code(0xA000, 0);
        return Number(name);
    }
    if (name == "press" || name == "release" || name == "press5" || name == "release5") {
        const std::uint32_t category = name.back() == '5' ? 0x5000 : 0x4000;
        const std::uint32_t released = name.rfind("release", 0) == 0 ? 0x0100 : 0;
        return Numbered(arg, 1, 15, category, released);
    }
    if (name == "launch" || name == "launch-release") {
        const auto n = InRange(arg, 1, 15);
        if (!n) {
            return std::nullopt;
        }
        return Code(0x6000 + *n, name == "launch" ? 0 : 0x0100);
    }
    if (name == "cpi")
        return Numbered(arg, 1, 8, 0x0700);
    if (name == "rate") {
        const auto n = Number(arg);
        if (!n || (*n != 1 && *n != 2 && *n != 4 && *n != 8))
            return std::nullopt;
        return Code(0x0500, *n);
    }
    if (name == "sensitivity") {
        const std::size_t comma = arg.find(',');
        if (comma == std::string::npos)
            return std::nullopt;
        const auto x = InRange(std::string_view(arg).substr(0, comma), 1, 20);
        const auto y = InRange(std::string_view(arg).substr(comma + 1), 1, 20);
        if (!x || !y)
            return std::nullopt;
        return Code(0xC000, (*y << 8) | *x);
    }
    if (name == "profile")
        return Numbered(arg, 1, 5, 0x7000);
    if (name == "tilt") {
        if (arg == "right")
            return Code(0x1000, 1);
        if (arg == "left")
            return Code(0x1000, 255);
        return std::nullopt;
    }
    if (name == "media" || name == "media-release")
        return Numbered(arg, 32, 39, 0xF000, name == "media" ? 0 : 0x0100);
    return std::nullopt;
}

std::vector<std::string> NamedEventExamples() {
    return {"press:1",           "release:1",        "press5:4",  "release5:4",
            "launch:5",          "launch-release:5", "cpi:3",     "rate:1",
            "sensitivity:10,12", "profile:2",        "tilt:left", "tilt:right",
            "media:34",          "media-release:34", "option",    "0x40000001"};
}

}  // namespace vmouse
