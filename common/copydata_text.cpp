#include "common/copydata_text.h"

#include "common/protocol.h"

namespace protocol {

std::optional<std::string> OsdTextFromCopyData(std::span<const std::byte> data) {
    if (data.size() != kOsdCopyDataSize)
        return std::nullopt;
    std::string text;
    for (std::size_t i = 1; i < data.size(); ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\0')
            break;
        text.push_back(c);
    }
    return text;
}

}  // namespace protocol
