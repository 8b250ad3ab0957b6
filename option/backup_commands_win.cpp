#include "option/backup_commands_win.h"

#include <string>

#include "common/settings/ini_engine.h"
#include "common/settings/utf8_file_store.h"
#include "common/trace_points.h"
#include "common/win/program_folder_win.h"
#include "common/win/text_mode_win.h"
#include "lan/string_ids.h"
#include "option/file_dialog_win.h"
#include "option/option_dlg_win.h"
#include "option/skin/themed_controls_win.h"

namespace option {

namespace {

constexpr const char* kBackupFilter = "Gaming Mouse Backup(*.gmb)\0*.gmb\0\0";

// The file dialog for a backup, titled by the command that opens it.
struct BackupChoice : FileChoice {
    explicit BackupChoice(unsigned titleId)
        : FileChoice{kBackupFilter, "gmb"}, title_(LanString(titleId)) {
        title = title_.c_str();
    }
    std::string title_;
};

std::string WithArgument(std::string text, const std::string& argument) {
    const std::size_t mark = text.find("%1");
    if (mark != std::string::npos)
        text.replace(mark, 2, argument);
    return text;
}

std::string PartName(const BackupProblem& problem) {
    switch (problem.part) {
        case BackupPart::Version:
            return LanString(lan::kBackupPartVersion);
        case BackupPart::General:
            return LanString(lan::kBackupPartGeneral);
        case BackupPart::Profile:
            return WithArgument(LanString(lan::kBackupPartProfile),
                                std::to_string(problem.profile + 1));
        case BackupPart::Notices:
            return LanString(lan::kBackupPartNotices);
        case BackupPart::Macros:
        case BackupPart::None:
            break;
    }
    return LanString(lan::kBackupPartMacros);
}

void Tell(HWND owner, const std::string& text) {
    skin::ThemedMessageBox(owner, text, LanString(lan::kBackupCaption).c_str(),
                           MB_OK | MB_ICONWARNING);
}

}  // namespace

void ExportAllSettings(HWND owner, OptionSession& session) {
    std::string path;
    if (!AskFilePath(owner, FileDialog::Save, BackupChoice(lan::kExportAll), path))
        return;
    settings::DiskTextFileStore disk;
    const bool ok = WriteBackupFile(disk, path, session.BackupText());
    win::DebugText(trace::kOptionExportAll, ok ? 1 : 0);
    if (!ok)
        Tell(owner, LanString(lan::kBackupWriteFailed));
}

bool ImportAllSettings(HWND owner, OptionSession& session) {
    std::string path;
    if (!AskFilePath(owner, FileDialog::Open, BackupChoice(lan::kImportAll), path))
        return false;
    settings::DiskTextFileStore disk;
    // A backup of an earlier version holds names in the legacy code page.
    const win::SystemLegacyCodePage legacy;
    settings::Utf8FileStore utf8(disk, legacy);
    std::string text;
    if (!utf8.ReadAll(path, text)) {
        win::DebugText("COptionDlg ImportAll unreadable\n");
        Tell(owner, LanString(lan::kBackupUnreadable));
        return false;
    }
    const BackupProblem problem = session.RestoreBackup(text);
    win::DebugText(trace::kOptionImportAll, static_cast<int>(problem.part));
    if (problem.part != BackupPart::None) {
        Tell(owner, WithArgument(LanString(lan::kBackupDamaged), PartName(problem)));
        return false;
    }
    return true;
}

}  // namespace option
