#include "common/win/message_key.h"

namespace win {

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
