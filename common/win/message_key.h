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

// Would both rows match one message? The dispatcher takes the first matching
// row, so an overlap silently shadows the later handler.
bool RowsOverlap(const MessageKey& a, const MessageKey& b);

// Index pairs of overlapping rows in one table.
std::vector<std::pair<std::size_t, std::size_t>> FindOverlaps(std::span<const MessageKey> rows);

}  // namespace win
