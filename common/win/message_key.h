// The routing part of a message-map row, free of Win32 types so that the
// tables can be checked for overlapping rows by plain code.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace win {

inline constexpr std::uint32_t kAnyCode = 0xFFFFFFFFu;

struct MessageKey {
    std::uint32_t message = 0;  // 0 for a registered message (see registeredName)
    std::uint32_t code = 0;     // notification code, for rows routed by control
    std::uint32_t idFirst = 0;  // control or command id range, inclusive
    std::uint32_t idLast = 0;
    bool byControl = false;  // WM_COMMAND / WM_NOTIFY rows: code and id matter
    const char* registeredName = nullptr;
};

namespace detail {

constexpr bool SameText(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

constexpr bool SameMessage(const MessageKey& a, const MessageKey& b) {
    if (a.registeredName != nullptr || b.registeredName != nullptr) {
        return a.registeredName != nullptr && b.registeredName != nullptr &&
               SameText(a.registeredName, b.registeredName);
    }
    return a.message == b.message;
}

}  // namespace detail

// Would both rows match one message? The dispatcher takes the first matching
// row, so an overlap silently shadows the later handler. Usable at compile
// time, where every table is checked (see NoRowShadowed in message_map.h).
constexpr bool RowsOverlap(const MessageKey& a, const MessageKey& b) {
    if (!detail::SameMessage(a, b))
        return false;
    if (!a.byControl || !b.byControl)
        return true;
    const bool codesMeet = a.code == kAnyCode || b.code == kAnyCode || a.code == b.code;
    return codesMeet && a.idFirst <= b.idLast && b.idFirst <= a.idLast;
}

// Index pairs of overlapping rows in one table.
std::vector<std::pair<std::size_t, std::size_t>> FindOverlaps(std::span<const MessageKey> rows);

}  // namespace win
