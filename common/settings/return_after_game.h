// The per-profile choice to go back to the previous profile when the game
// that switched to the profile ends. The profile record has no room for it,
// so it is kept beside the record: in config.ini as [Setting]
// ReturnAfterGame0..4, and in an exported profile file as [Setting]
// ReturnAfterGame. 1 means on; anything else (a missing key too) is off, which
// keeps the old behaviour for settings written before the choice existed.
#pragma once

#include <array>

#include "common/settings/settings_files.h"

namespace settings {

using ReturnAfterGame = std::array<bool, kProfileCount>;

inline constexpr const char* kReturnAfterGameKey = "ReturnAfterGame";

// "ReturnAfterGame<n>".
std::string ReturnAfterGameKey(int profile);

// All five choices from config.ini; all off when it cannot be read.
ReturnAfterGame ReadReturnAfterGame(SettingsFiles& files);
// Rewrites the five keys of config.ini; false when the write failed.
bool WriteReturnAfterGame(SettingsFiles& files, const ReturnAfterGame& choices);

// One profile's choice inside a profile file (export and import).
bool ReadProfileReturnAfterGame(IniFile& file);
bool WriteProfileReturnAfterGame(IniFile& file, bool on);

}  // namespace settings
