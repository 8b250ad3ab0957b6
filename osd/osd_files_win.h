// What the display program reads from the program folder: the texts Monitor
// leaves in config.ini, the profile names and the OSD settings record.
//
// Monitor and Option rewrite these files whole (a copy, changed, put in the
// file's place) under each file's rewrite lock. Every read here takes the
// same lock, so it comes after a rewrite in progress, never between its copy
// and its swap, and a writer never finds the file held open by us when it
// swaps. Should the lock not come within its time-out (a writer hung), the
// read goes ahead anyway: the swap is a single rename, so the file is whole.
#pragma once

#include <optional>
#include <string>

#include "common/settings/ini_file_win.h"
#include "common/settings/osd_settings.h"

namespace osd {

struct MacroInfo {
    int number = -1;
    std::string name;
};

class OsdFiles {
  public:
    explicit OsdFiles(std::string programFolder) : files_(std::move(programFolder)) {}

    // [Setting] ProFileName of config\Default<index>.gmp; "" when missing.
    std::string ProfileName(int index);
    // [OSDData] Message of config.ini.
    std::string Message();
    // [MacroOSD] Number and MacroName of config.ini.
    MacroInfo Macro();
    // [OSDSetting] config; nothing when missing or damaged.
    std::optional<settings::OsdSettings> Record();

  private:
    settings::SystemSettingsFiles files_;
};

}  // namespace osd
