// Import and export of single profiles as .gmp files the user picks. A file
// chosen for import is user input: whatever it holds, the profile that comes
// out of it is one the rest of the system can use.
#pragma once

#include <string>

#include "common/settings/settings_block.h"
#include "common/settings/settings_files.h"

namespace option {

enum class ImportResult {
    NoProfile,    // the profile index is outside 0..4: nothing done
    Unreadable,   // the chosen file cannot be opened: nothing done
    ReloadedOwn,  // the chosen file is the profile's own file: reloaded
    Copied,       // the chosen file replaced the profile's own file
    CopyFailed,   // the profile's own file could not be replaced; reloaded as it was
};

// Paths compared as Windows compares them: letter case does not matter.
bool SamePathIgnoringCase(const std::string& a, const std::string& b);

// Imports `chosen` into profile `index` of `block`: the profile's own file is
// replaced (through a temporary file in its folder, so a failure keeps the
// old file) by the chosen profile, which is then read back into the block;
// the profile's 16 button change flags are raised. `returnAfterGame`, when
// given, receives the chosen file's return-after-game choice (off when absent).
ImportResult ImportProfile(settings::SettingsFiles& files, const std::string& chosen,
                           settings::SettingsBlock& block, int index,
                           bool* returnAfterGame = nullptr);

// Writes profile `index` of `block` to `path` as a new file that replaces
// any file of that name in one step (an existing file survives a failed
// write), with the profile's return-after-game choice beside its keys. False
// when the index is outside 0..4 or the write failed.
bool ExportProfile(settings::SettingsFiles& files, const std::string& path,
                   const settings::SettingsBlock& block, int index, bool returnAfterGame = false);

// The firmware version as the support page shows it: 100..500 as "1.00"..
// "5.00", anything else "N/A".
std::string FirmwareVersionText(int value);

}  // namespace option
