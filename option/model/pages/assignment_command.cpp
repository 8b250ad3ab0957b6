#include "option/model/pages/assignment_command.h"

#include "option/model/pages/assignment_menu.h"

namespace option {

namespace {

// What the user answered in the dialog of a command that has one.
struct DialogAnswer {
    std::uint8_t key = 0;
    ShortcutToggles toggles{};
    FireSetting fire{};
    std::string path;
};

// Runs the dialog of a command that needs one, starting from `entry`; false
// when the user cancelled.
bool AskThroughDialog(const settings::ButtonAssignment& entry, unsigned command,
                      AssignmentDialogs& dialogs, DialogAnswer& answer) {
    switch (command) {
        case command::kShortcut:
            answer.key = entry.events[0].keyCode;
            answer.toggles = TogglesFromFlags(entry.events[0].state);
            return dialogs.EditShortcut(answer.key, answer.toggles);
        case command::kFire:
            answer.fire = FireSettingOf(entry);
            return dialogs.EditFire(answer.fire);
        case command::kLaunchProgram:
            answer.path = std::string(LaunchPathOf(entry));
            return dialogs.EditLaunchPath(answer.path);
        default:
            return true;
    }
}

// Writes the command with its dialog's answer into `entry`; false when the
// value was refused.
bool WriteAnswer(settings::ButtonAssignment& entry, unsigned command, const DialogAnswer& answer,
                 AssignmentDialogs& dialogs) {
    switch (command) {
        case command::kShortcut:
            AssignShortcut(entry, answer.key, answer.toggles);
            return true;
        case command::kFire:
            AssignFire(entry, answer.fire);
            return true;
        case command::kLaunchProgram:
            if (!AssignLaunchProgram(entry, answer.path)) {
                dialogs.ShowPathTooLong();
                return false;
            }
            return true;
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
        DialogAnswer answer;
        if (!AskThroughDialog(entry, command, dialogs, answer))
            return AssignmentOutcome::Cancelled;
        // The record may have been read again while the dialog was open (a
        // profile switch brings Monitor's copy): the answer is written into
        // the record as it is now, and only if that still keeps a left click.
        if (!KeepsLeftClick(*profile, selected, ActionForCommand(command))) {
            dialogs.ShowClickWarning();
            return AssignmentOutcome::LeftClickKept;
        }
        // Written on a copy, so that a refused value leaves the record whole.
        settings::ButtonAssignment changed = entry;
        if (!WriteAnswer(changed, command, answer, dialogs))
            return AssignmentOutcome::Cancelled;
        entry = changed;
    }
    settings::MarkButtonChanged(block, index, selected);
    return AssignmentOutcome::Assigned;
}

}  // namespace option
