#include "option/skin/button_pos.h"

#include <cstring>

namespace skin {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

template <std::size_t N>
void CopyCut(char (&dest)[N], std::string_view text) {
    const std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(dest, text.data(), n);
    dest[n] = '\0';
}

// Reads one "%d" the way scanf does: leading white space, an optional sign,
// at least one digit. Saturates instead of overflowing. Returns false when no
// number starts at `s`.
bool ReadInt(std::string_view& s, std::int32_t& out) {
    std::size_t i = 0;
    while (i < s.size() && IsSpace(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    if (i >= s.size() || s[i] < '0' || s[i] > '9')
        return false;
    std::int64_t value = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        if (value < 0x80000000LL)
            value = value * 10 + (s[i] - '0');
        ++i;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        value = INT32_MAX;
    if (value < INT32_MIN)
        value = INT32_MIN;
    out = static_cast<std::int32_t>(value);
    s.remove_prefix(i);
    return true;
}

// The "%d,%d,%d,%d" pattern: stops at the first field that does not match;
// the fields not reached keep their zero.
void ReadFourInts(std::string_view s, std::int32_t* fields) {
    for (int k = 0; k < 4; ++k) {
        if (k > 0) {
            if (s.empty() || s.front() != ',')
                return;
            s.remove_prefix(1);
        }
        if (!ReadInt(s, fields[k]))
            return;
    }
}

}  // namespace

int ParseButtonPos(std::string_view value, ButtonPos& pos) {
    std::memset(&pos, 0, sizeof pos);
    const std::size_t firstComma = value.find(',');
    std::string_view rest = value;
    if (firstComma != std::string_view::npos) {
        CopyCut(pos.name, value.substr(0, firstComma));
        rest = value.substr(firstComma + 1);
    }
    std::int32_t fields[4] = {0, 0, 0, 0};
    ReadFourInts(rest, fields);
    pos.rect.left = fields[0];
    pos.rect.top = fields[1];
    // Width and height become right and bottom; wrap like the 32-bit sum would
    // without tripping over signed overflow.
    pos.rect.right = static_cast<std::int32_t>(static_cast<std::uint32_t>(fields[2]) +
                                               static_cast<std::uint32_t>(fields[0]));
    pos.rect.bottom = static_cast<std::int32_t>(static_cast<std::uint32_t>(fields[3]) +
                                                static_cast<std::uint32_t>(fields[1]));
    const std::size_t lastComma = rest.rfind(',');
    const std::string_view caption =
        lastComma == std::string_view::npos ? rest : rest.substr(lastComma + 1);
    CopyCut(pos.caption, Trim(caption));
    return 1;
}

void SetCaption(ButtonPos& pos, std::string_view text) {
    std::size_t n = text.size() < sizeof pos.caption ? text.size() : sizeof pos.caption - 1;
    // A UTF-8 continuation byte (10xxxxxx) at the cut: the cut moves back to
    // the start of its character.
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    CopyCut(pos.caption, text.substr(0, n));
}

}  // namespace skin
