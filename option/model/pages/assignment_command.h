// The button assignment page's answer to a menu command: which dialog it
// opens and what the chosen values write into the selected button's record of
// the current profile.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "common/settings/settings_block.h"
#include "option/model/pages/button_assignment.h"

namespace option {

// The modal dialogs the command handler opens; the Win32 side runs the skinned
// dialogs, tests script the user's answers. Each Edit returns true on OK and
// leaves its arguments as the user set them.
class AssignmentDialogs {
  public:
    virtual ~AssignmentDialogs() = default;
    virtual void ShowClickWarning() = 0;
    virtual bool EditShortcut(std::uint8_t& keyCode, ShortcutToggles& toggles) = 0;
    virtual bool EditFire(FireSetting& fire) = 0;
    virtual bool EditLaunchPath(std::string& path) = 0;
    // The chosen path does not fit the record; nothing was stored.
    virtual void ShowPathTooLong() = 0;
    virtual bool ChoosePlayer(std::int32_t& player) = 0;
    // Runs the macro manager; saving or reloading the store is its own affair.
    virtual void RunMacroManager() = 0;
};

enum class AssignmentOutcome {
    Assigned,        // the button's record changed and its change flag is set
    LeftClickKept,   // refused: it would take away the last left click
    Cancelled,       // a dialog was cancelled, or its value refused
    SettingChanged,  // the profile's media player changed
    Unchanged,       // nothing to assign (macro manager, unknown macro)
};

// Command `command` for button `selected` of the current profile.
AssignmentOutcome HandleAssignmentCommand(settings::SettingsBlock& block, int selected,
                                          unsigned command, std::span<const MacroForButton> macros,
                                          AssignmentDialogs& dialogs);

}  // namespace option
