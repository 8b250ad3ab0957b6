// Colours are 0x00BBGGRR throughout; the pages and the colour dialog edit
// them one byte (channel) at a time.
#pragma once

#include <cstdint>

namespace option {

enum class Channel : int { Red = 0, Green = 1, Blue = 2 };

constexpr int ChannelOf(std::uint32_t color, Channel channel) {
    return static_cast<int>((color >> (8 * static_cast<int>(channel))) & 0xFFu);
}

// `color` with one channel replaced by `value` (brought into 0..255); the top
// byte is always 0, as the mouse and the files expect.
constexpr std::uint32_t WithChannel(std::uint32_t color, Channel channel, int value) {
    const int shift = 8 * static_cast<int>(channel);
    const std::uint32_t byte = static_cast<std::uint32_t>(value < 0     ? 0
                                                          : value > 255 ? 255
                                                                        : value);
    return ((color & ~(0xFFu << shift)) | (byte << shift)) & 0x00FFFFFFu;
}

}  // namespace option
