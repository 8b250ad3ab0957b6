// A backup of everything Option keeps: the five profiles, the current
// profile, mouse type and colour, the notice settings, the macro store and
// each profile's return-after-game choice, in one text file of the settings
// engine's format (sections and keys), headed by a version line:
//
//   [Backup]         Version=1
//   [Setting]        CurrentProfile, MouseType, MouseColor
//   [Profile0..4]    the keys of a profile file, and ReturnAfterGame
//   [OSDSetting]     config (the notice record, structure encoding)
//   [Macros]         number, then 0..number-1 (macro records, structure encoding)
//
// Reading checks every part before anything is handed out: a backup is taken
// whole or not at all.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/settings/osd_settings.h"
#include "common/settings/return_after_game.h"
#include "common/settings/settings_block.h"
#include "option/model/dialogs/macro_record.h"

namespace option {

inline constexpr int kBackupVersion = 1;

struct SettingsBackup {
    SettingsBackup();
    std::unique_ptr<settings::SettingsBlock> block;  // change flags all clear
    settings::OsdSettings osd{};
    std::vector<MacroRecord> macros;
    settings::ReturnAfterGame returnAfterGame{};
};

// The part of a backup that is damaged.
enum class BackupPart {
    None,     // the whole file is good
    Version,  // no version line, or a version this program does not know
    General,  // [Setting]
    Profile,  // [Profile<n>], n in BackupProblem::profile
    Notices,  // [OSDSetting]
    Macros,   // [Macros]
};

struct BackupProblem {
    BackupPart part = BackupPart::None;
    int profile = -1;  // 0..4 for BackupPart::Profile
};

std::string FormatBackup(const SettingsBackup& backup);

// Reads a whole backup into `out`. On any damage returns the first damaged
// part and leaves `out` as it was.
BackupProblem ParseBackup(const std::string& text, SettingsBackup& out);

}  // namespace option

namespace settings {
class TextFileStore;
}

namespace option {

// The backup file replaced whole through a temporary file beside it: a
// failed write keeps the file that was there.
bool WriteBackupFile(settings::TextFileStore& store, const std::string& path,
                     const std::string& text);

}  // namespace option
