// Control tables written in parts: a run of controls alike but for their
// place in a row (levels, profiles, a colour grid) is one call, not a row
// each.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

#include "option/skin/control_table.h"

namespace option {

// `N` controls of the same kind, arrow group and row width, with skin keys
// from `firstKey` and window ids from `firstId` counting up together, and
// walked by Tab one after the other from `firstTab` (none of them when it is
// skin::kNoTab).
template <std::size_t N>
consteval std::array<skin::ControlRow, N> RowRun(int firstId, int firstKey, skin::ControlKind kind,
                                                 int firstTab = skin::kNoTab, int group = 0,
                                                 int columns = 1) {
    std::array<skin::ControlRow, N> rows{};
    for (std::size_t i = 0; i < N; ++i) {
        const int step = static_cast<int>(i);
        const int tab = firstTab == skin::kNoTab ? skin::kNoTab : firstTab + step;
        rows[i] = {firstId + step, firstKey + step, kind, tab, group, columns};
    }
    return rows;
}

// Rows written out one by one, as a part of a table.
template <std::size_t N>
consteval std::array<skin::ControlRow, N> Rows(const skin::ControlRow (&rows)[N]) {
    return std::to_array(rows);
}

// One control table out of its parts, in their order.
template <std::size_t... N>
consteval std::array<skin::ControlRow, (N + ...)> JoinControlRows(
    const std::array<skin::ControlRow, N>&... parts) {
    std::array<skin::ControlRow, (N + ...)> rows{};
    std::size_t next = 0;
    ((std::copy(parts.begin(), parts.end(), rows.begin() + next), next += N), ...);
    return rows;
}

}  // namespace option
