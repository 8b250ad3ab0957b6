#include "osd/fade_schedule.h"

#include <algorithm>

namespace osd {

FadeFrame FadeAt(std::int64_t elapsedMs, int holdMs) {
    FadeFrame frame;
    const std::int64_t elapsed = std::max<std::int64_t>(elapsedMs, 0);
    const std::int64_t hold = std::max(holdMs, 0);
    if (elapsed < hold) {
        frame.nextTickMs = static_cast<int>(hold - elapsed);
        return frame;
    }
    const std::int64_t fading = elapsed - hold;
    if (fading >= kFadeMs) {
        frame.alpha = 0;
        frame.finished = true;
        return frame;
    }
    frame.alpha = static_cast<std::uint8_t>(kOpaque * (kFadeMs - fading) / kFadeMs);
    frame.nextTickMs = static_cast<int>(std::min<std::int64_t>(kFadeStepMs, kFadeMs - fading));
    return frame;
}

}  // namespace osd
