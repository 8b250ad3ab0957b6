// A button's record made to hold a macro, as the tests of every layer set
// one up: the macro action and its events, played `repeat` times.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "common/settings/settings_block.h"

namespace testsupport {

inline void SetMacro(settings::ButtonAssignment& button,
                     std::initializer_list<settings::MacroEvent> events, int repeat = 1) {
    button.actionCode = settings::action::kMacro;
    button.repeatCount = repeat;
    button.eventCount = static_cast<std::uint16_t>(events.size());
    std::copy(events.begin(), events.end(), button.events);
}

}  // namespace testsupport
