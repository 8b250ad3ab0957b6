#include "osd/osd_files_win.h"

#include "common/settings/settings_files.h"

namespace osd {

namespace {

// Runs read() on the file at path while its rewrite lock is held (or, when
// the lock does not come in time, without it).
template <class Read>
auto ReadLocked(settings::SettingsFiles& files, const std::string& path, Read read) {
    const std::unique_ptr<settings::IniRewriteLock::Hold> hold = files.Files().LockForRewrite(path);
    const std::unique_ptr<settings::IniFile> file = files.Files().Open(path);
    return read(*file);
}

}  // namespace

std::string OsdFiles::ProfileName(int index) {
    settings::SettingsFiles& files = files_;
    return ReadLocked(files, files.ProfilePath(index), [](settings::IniFile& file) {
        return file.GetString(settings::kSettingSection, "ProFileName", "");
    });
}

std::string OsdFiles::Message() {
    settings::SettingsFiles& files = files_;
    return ReadLocked(files, files.ConfigPath(), [](settings::IniFile& file) {
        return file.GetString("OSDData", "Message", "");
    });
}

MacroInfo OsdFiles::Macro() {
    settings::SettingsFiles& files = files_;
    return ReadLocked(files, files.ConfigPath(), [](settings::IniFile& file) {
        return MacroInfo{file.GetInt("MacroOSD", "Number", -1),
                         file.GetString("MacroOSD", "MacroName", "")};
    });
}

std::optional<settings::OsdSettings> OsdFiles::Record() {
    settings::SettingsFiles& files = files_;
    const auto hold = files.Files().LockForRewrite(files.ConfigPath());
    settings::OsdSettings record{};
    if (!settings::LoadOsdSettings(files, record))
        return std::nullopt;
    return record;
}

}  // namespace osd
