#include "osd/display_options.h"

#include <algorithm>

namespace osd {

DisplayOptions DecodeDisplayOptions(std::int16_t first, std::uint16_t second) {
    DisplayOptions options;
    if (first >= static_cast<int>(Placement::BottomCentre) &&
        first <= static_cast<int>(Placement::BottomRight)) {
        options.placement = static_cast<Placement>(first);
    }
    if (second != 0)
        options.holdMs = std::clamp<int>(second, kMinHoldMs, kMaxHoldMs);
    return options;
}

DisplayOptions DisplayOptionsFromMessage(std::uint32_t lParam) {
    return DecodeDisplayOptions(static_cast<std::int16_t>(lParam >> 16),
                                static_cast<std::uint16_t>(lParam & 0xFFFF));
}

DisplayOptions DisplayOptionsFromRecord(const settings::OsdSettings& record) {
    return DecodeDisplayOptions(static_cast<std::int16_t>(record.displayValue1 & 0xFFFF),
                                static_cast<std::uint16_t>(record.displayValue2 & 0xFFFF));
}

}  // namespace osd
