// A choice among a row of latching buttons, stored as the index of the one
// pressed.
#pragma once

#include <cstdint>

namespace option {

// Stores `index` into `field` when it names one of `count` buttons; any other
// index leaves the record as it was.
constexpr void StoreRowChoice(std::int32_t& field, int index, int count) {
    if (index >= 0 && index < count)
        field = index;
}

}  // namespace option
