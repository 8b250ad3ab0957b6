#include "common/win/message_key.h"

#include <cstring>

namespace win {

namespace {

bool SameMessage(const MessageKey& a, const MessageKey& b) {
    if (a.registeredName != nullptr || b.registeredName != nullptr) {
        return a.registeredName != nullptr && b.registeredName != nullptr &&
               std::strcmp(a.registeredName, b.registeredName) == 0;
    }
    return a.message == b.message;
}

bool CodesMeet(std::uint32_t a, std::uint32_t b) {
    return a == kAnyCode || b == kAnyCode || a == b;
}

bool RangesMeet(const MessageKey& a, const MessageKey& b) {
    return a.idFirst <= b.idLast && b.idFirst <= a.idLast;
}

}  // namespace

bool RowsOverlap(const MessageKey& a, const MessageKey& b) {
    if (!SameMessage(a, b))
        return false;
    if (!a.byControl || !b.byControl)
        return true;
    return CodesMeet(a.code, b.code) && RangesMeet(a, b);
}

std::vector<std::pair<std::size_t, std::size_t>> FindOverlaps(std::span<const MessageKey> rows) {
    std::vector<std::pair<std::size_t, std::size_t>> found;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t j = i + 1; j < rows.size(); ++j) {
            if (RowsOverlap(rows[i], rows[j]))
                found.emplace_back(i, j);
        }
    }
    return found;
}

}  // namespace win
