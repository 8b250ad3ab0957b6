// The text that an applet hands over with WM_COPYDATA: 151 bytes, byte 0
// not interpreted, a NUL-terminated text in bytes 1..150.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace protocol {

// The text of a 151-byte block, or nothing when the size is not 151. A text
// without a terminator stops at byte 150; nothing past the block is read.
std::optional<std::string> OsdTextFromCopyData(std::span<const std::byte> data);

}  // namespace protocol
