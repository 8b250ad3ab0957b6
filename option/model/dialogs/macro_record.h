// The macro record that the store keeps and config\sequence.dat holds: a
// fixed 220-byte binary layout written whole as one structure value, so its
// offsets are pinned below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/settings/settings_block.h"

namespace option {

inline constexpr std::size_t kMacroNameSize = 52;
// The longest delay a macro event can carry, in milliseconds.
inline constexpr int kMaxMacroDelayMs = 6350;

struct MacroRecord {
    char name[kMacroNameSize];
    std::int32_t repeatValue;  // 0 = repeat off, else the repeat count
    std::int32_t eventCount;   // 0..kMaxMacroEvents
    settings::MacroEvent events[settings::kMaxMacroEvents];
};
static_assert(sizeof(MacroRecord) == 220);
static_assert(offsetof(MacroRecord, name) == 0);
static_assert(offsetof(MacroRecord, repeatValue) == 52);
static_assert(offsetof(MacroRecord, eventCount) == 56);
static_assert(offsetof(MacroRecord, events) == 60);

// Leading and trailing blanks removed.
std::string TrimBlanks(const std::string& text);
// Case-insensitive equality of two names (ASCII letters).
bool SameNameIgnoringCase(const std::string& a, const std::string& b);
// Copies `name` into a NUL-terminated field of `size` bytes, cutting it to fit.
void CopyName(char* field, std::size_t size, const std::string& name);
// The text of a field that may lack its terminator: never reads past `size`.
std::string NameOf(const char* field, std::size_t size);

}  // namespace option
