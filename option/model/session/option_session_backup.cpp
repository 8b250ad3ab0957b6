// The backup of everything and its restore, beside the rest of the session.
#include "option/model/session/option_session.h"

namespace option {

std::string OptionSession::BackupText() const {
    SettingsBackup backup;
    *backup.block = *edit_;
    settings::ClearChanges(*backup.block);
    backup.osd = osd_;
    backup.macros = macros_.Records();
    backup.returnAfterGame = returnAfterGame_;
    return FormatBackup(backup);
}

BackupProblem OptionSession::RestoreBackup(const std::string& text) {
    SettingsBackup backup;
    const BackupProblem problem = ParseBackup(text, backup);
    if (problem.part != BackupPart::None)
        return problem;
    *edit_ = *backup.block;
    settings::MarkAllChanged(*edit_);
    osd_ = backup.osd;
    macros_.ReplaceAll(backup.macros);
    returnAfterGame_ = backup.returnAfterGame;
    return problem;
}

}  // namespace option
