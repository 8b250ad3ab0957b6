#include "option/skin/skin_words.h"

#include <charconv>

namespace skin {
namespace {

// A string table's ids are 16 bits wide.
constexpr unsigned kMaxStringId = 0xFFFF;
// Far above any word of a window, low enough that a font of it can be made.
constexpr int kMaxSize = 400;
// Client coordinates the system keeps in 16 bits.
constexpr int kMaxCoordinate = 32767;
constexpr WordColour kMaxColour = 0xFFFFFF;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

// Splits `value` at commas into trimmed fields; false when there are more
// than `N`. `count` is how many there are.
template <std::size_t N>
bool SplitFields(std::string_view value, std::array<std::string_view, N>& fields,
                 std::size_t& count) {
    for (count = 0; count < N; ++count) {
        const std::size_t comma = value.find(',');
        fields[count] = Trim(value.substr(0, comma));
        if (comma == std::string_view::npos) {
            ++count;
            return true;
        }
        value.remove_prefix(comma + 1);
    }
    return false;
}

bool ReadNumber(std::string_view field, long long low, long long high, long long& out) {
    int base = 10;
    bool negative = false;
    if (!field.empty() && field.front() == '-') {
        negative = true;
        field.remove_prefix(1);
    }
    if (field.size() > 2 && field[0] == '0' && (field[1] == 'x' || field[1] == 'X')) {
        base = 16;
        field.remove_prefix(2);
    }
    if (field.empty())
        return false;
    unsigned long long magnitude = 0;
    const auto [end, error] =
        std::from_chars(field.data(), field.data() + field.size(), magnitude, base);
    if (error != std::errc() || end != field.data() + field.size() || magnitude > 0x7FFFFFFFULL)
        return false;
    const long long value =
        negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    if (value < low || value > high)
        return false;
    out = value;
    return true;
}

template <class T>
bool ReadField(std::string_view field, long long low, long long high, T& out) {
    long long value = 0;
    if (!ReadNumber(field, low, high, value))
        return false;
    out = static_cast<T>(value);
    return true;
}

}  // namespace

WordStyle ParseWordStyle(std::string_view letters) {
    WordStyle style;
    for (const char c : letters) {
        switch (c) {
            case 'b':
                style.bold = true;
                break;
            case 'u':
                style.upper = true;
                break;
            case 's':
                style.spaced = true;
                break;
            case 'w':
                style.wraps = true;
                break;
            case 'l':
                style.align = WordAlign::Left;
                break;
            case 'c':
                style.align = WordAlign::Centre;
                break;
            case 'r':
                style.align = WordAlign::Right;
                break;
            default:
                break;
        }
    }
    return style;
}

int ParseCaptionRow(std::string_view value, CaptionRow& row) {
    std::array<std::string_view, 9> f;
    std::size_t count = 0;
    CaptionRow parsed;
    if (!SplitFields(value, f, count) || count < 8 ||
        (count == 9 && !ReadField(f[8], 0, kMaxCoordinate, parsed.leftInset)) ||
        !ReadField(f[0], 0, kMaxStringId, parsed.textId) ||
        !ReadField(f[1], 0, kMaxStringId, parsed.hintId) ||
        !ReadField(f[2], 1, kMaxSize, parsed.size))
        return 0;
    parsed.style = ParseWordStyle(f[3]);
    for (std::size_t k = 0; k < parsed.colours.size(); ++k) {
        if (!ReadField(f[4 + k], 0, kMaxColour, parsed.colours[k]))
            return 0;
    }
    row = parsed;
    return 1;
}

int ParseTextRow(std::string_view value, TextRow& row) {
    std::array<std::string_view, 8> f;
    std::size_t count = 0;
    TextRow parsed;
    if (!SplitFields(value, f, count) || count != 8 ||
        !ReadField(f[0], -kMaxCoordinate, kMaxCoordinate, parsed.x) ||
        !ReadField(f[1], -kMaxCoordinate, kMaxCoordinate, parsed.y) ||
        !ReadField(f[2], 1, kMaxCoordinate, parsed.width) ||
        !ReadField(f[3], 1, kMaxCoordinate, parsed.height) ||
        !ReadField(f[4], 1, kMaxStringId, parsed.textId) ||
        !ReadField(f[5], 1, kMaxSize, parsed.size) ||
        !ReadField(f[7], 0, kMaxColour, parsed.colour))
        return 0;
    parsed.style = ParseWordStyle(f[6]);
    row = parsed;
    return 1;
}

std::vector<TextRow> ReadTextRows(const std::function<std::string(const char* key)>& read) {
    std::vector<TextRow> rows;
    int absent = 0;
    for (int n = 1; absent < kTextRowGap && n <= kMaxTextRows; ++n) {
        const std::string value = read(std::to_string(n).c_str());
        if (value.empty()) {
            ++absent;
            continue;
        }
        absent = 0;
        TextRow row;
        if (ParseTextRow(value, row) == 1)
            rows.push_back(row);
    }
    return rows;
}

}  // namespace skin
