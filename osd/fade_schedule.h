// The life of a notice on the screen: fully visible for the hold time, then
// fading to nothing. The window asks after each timer tick what to show and
// when to look again; once the notice is gone no timer is left running.
#pragma once

#include <cstdint>

namespace osd {

inline constexpr int kFadeMs = 400;
// About 30 frames a second: smooth enough for a fade, cheap enough to ignore.
inline constexpr int kFadeStepMs = 33;
inline constexpr std::uint8_t kOpaque = 255;

struct FadeFrame {
    std::uint8_t alpha = kOpaque;
    bool finished = false;
    // Milliseconds until the picture changes next; 0 once finished.
    int nextTickMs = 0;
};

// The frame elapsedMs after the notice was shown (negative counts as 0).
FadeFrame FadeAt(std::int64_t elapsedMs, int holdMs);

}  // namespace osd
