// Automatic profile switching: the program owning the foreground window is
// compared with each profile's game program (file name and extension only).
#pragma once

#include <string>
#include <string_view>

#include "common/settings/settings_block.h"

namespace runtime {

// Executable file name of the process that owns the foreground window.
class ForegroundQuery {
  public:
    virtual ~ForegroundQuery() = default;
    // False when there is no foreground window or its process is not found.
    virtual bool ForegroundExeName(std::string& name) = 0;
    // Whether any process runs whose executable file name is exeName (case
    // ignored).
    virtual bool ProcessRunning(std::string_view exeName) = 0;
};

// A GameFile value reduced to what is compared: trimmed of white space, with
// drive and directory removed. Empty when nothing is left.
std::string GameFileName(std::string_view gameFile);

// The lowest profile whose game program has the file name exeName (case
// ignored), or -1.
int MatchGameProfile(const settings::SettingsBlock& block, std::string_view exeName);

// One poll: the profile to switch to, or -1 when nothing changes (no match,
// the match is already current, or the foreground is unknown). `exe`, when
// given, receives the matched executable name in lower case.
int PollGameProfile(const settings::SettingsBlock& block, ForegroundQuery& foreground,
                    std::string* exe = nullptr);

// File names compared as Windows compares them.
bool SameFileNameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace runtime
