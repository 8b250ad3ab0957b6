#include "option/model/pages/assignment_command.h"

#include "option/model/pages/assignment_menu.h"

namespace option {

namespace {

// Runs the dialog of a command that needs one and writes its result into
// `entry`; false when the user cancelled or the value was refused.
bool AssignThroughDialog(settings::ButtonAssignment& entry, unsigned command,
                         AssignmentDialogs& dialogs) {
    switch (command) {
        case command::kShortcut: {
            std::uint8_t key = entry.events[0].keyCode;
            ShortcutToggles toggles = TogglesFromFlags(entry.events[0].state);
            if (!dialogs.EditShortcut(key, toggles))
                return false;
            AssignShortcut(entry, key, toggles);
            return true;
        }
        case command::kFire: {
            FireSetting fire = FireSettingOf(entry);
            if (!dialogs.EditFire(fire))
                return false;
            AssignFire(entry, fire);
            return true;
        }
        case command::kLaunchProgram: {
            std::string path(LaunchPathOf(entry));
            if (!dialogs.EditLaunchPath(path))
                return false;
            if (!AssignLaunchProgram(entry, path)) {
                dialogs.ShowPathTooLong();
                return false;
            }
            return true;
        }
        default:
            AssignPlainAction(entry, ActionForCommand(command));
            return true;
    }
}

}  // namespace

AssignmentOutcome HandleAssignmentCommand(settings::SettingsBlock& block, int selected,
                                          unsigned command, std::span<const MacroForButton> macros,
                                          AssignmentDialogs& dialogs) {
    // A dialog below runs a message loop, in which a profile switch on the
    // mouse may change the current profile: the entry and its change flag
    // both belong to the profile the command was given for.
    const int index = block.currentProfile;
    settings::ProfileRecord* profile = settings::CurrentProfile(block);
    if (profile == nullptr || selected < 0 || selected >= settings::kButtonCount ||
        command > command::kLastAssignment)
        return AssignmentOutcome::Unchanged;

    // The player is a setting of the profile, not of the button.
    if (command == command::kMediaPlayer) {
        std::int32_t player = profile->MediaOption;
        if (!dialogs.ChoosePlayer(player))
            return AssignmentOutcome::Cancelled;
        profile->MediaOption = player;
        return AssignmentOutcome::SettingChanged;
    }

    // The macro manager counts as "no action" here, so the last left-click
    // button does not open it either.
    if (!KeepsLeftClick(*profile, selected, ActionForCommand(command))) {
        dialogs.ShowClickWarning();
        return AssignmentOutcome::LeftClickKept;
    }
    if (command == command::kMacroManager) {
        dialogs.RunMacroManager();
        return AssignmentOutcome::Unchanged;
    }

    settings::ButtonAssignment& entry = profile->MacroKeyInfo[selected];
    if (command >= command::kFirstMacro) {
        const std::size_t k = command - command::kFirstMacro;
        if (k >= macros.size())
            return AssignmentOutcome::Unchanged;
        AssignMacro(entry, macros[k]);
    } else {
        // Work on a copy so that a cancelled dialog leaves the record whole.
        settings::ButtonAssignment changed = entry;
        if (!AssignThroughDialog(changed, command, dialogs))
            return AssignmentOutcome::Cancelled;
        entry = changed;
    }
    settings::MarkButtonChanged(block, index, selected);
    return AssignmentOutcome::Assigned;
}

}  // namespace option
