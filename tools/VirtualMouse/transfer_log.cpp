#include "tools/VirtualMouse/transfer_log.h"

#include <cstdio>

namespace vmouse {

std::string FormatLogLine(std::uint64_t sequence, std::int64_t micros, const char* kind,
                          std::span<const std::uint8_t> bytes) {
    char head[64];
    std::snprintf(head, sizeof head, "%llu %lld ", static_cast<unsigned long long>(sequence),
                  static_cast<long long>(micros));
    std::string line = head;
    line += kind;
    static const char kHex[] = "0123456789ABCDEF";
    for (std::uint8_t b : bytes) {
        line += ' ';
        line += kHex[b >> 4];
        line += kHex[b & 15];
    }
    return line;
}

}  // namespace vmouse
