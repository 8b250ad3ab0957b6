// The virtual mouse's record of everything the library did to it, one line
// per record: "<sequence> <microseconds> <KIND>[ <hex bytes>]".
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vmouse {

std::string FormatLogLine(std::uint64_t sequence, std::int64_t micros, const char* kind,
                          std::span<const std::uint8_t> bytes = {});

}  // namespace vmouse
