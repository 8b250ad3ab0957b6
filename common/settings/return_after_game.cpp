#include "common/settings/return_after_game.h"

#include <memory>

namespace settings {

std::string ReturnAfterGameKey(int profile) {
    return kReturnAfterGameKey + std::to_string(profile);
}

ReturnAfterGame ReadReturnAfterGame(SettingsFiles& files) {
    ReturnAfterGame choices{};
    std::unique_ptr<IniFile> config = files.Files().Open(files.ConfigPath());
    if (!config)
        return choices;
    for (int n = 0; n < kProfileCount; ++n) {
        choices[static_cast<std::size_t>(n)] =
            config->GetInt(kSettingSection, ReturnAfterGameKey(n).c_str(), -1) == 1;
    }
    return choices;
}

bool WriteReturnAfterGame(SettingsFiles& files, const ReturnAfterGame& choices) {
    return UpdateIniFile(files.Files(), files.ConfigPath(), [&](IniFile& f) {
        bool ok = true;
        for (int n = 0; n < kProfileCount; ++n) {
            ok = f.WriteString(kSettingSection, ReturnAfterGameKey(n).c_str(),
                               choices[static_cast<std::size_t>(n)] ? "1" : "0") &&
                 ok;
        }
        return ok;
    });
}

bool ReadProfileReturnAfterGame(IniFile& file) {
    return file.GetInt(kSettingSection, kReturnAfterGameKey, -1) == 1;
}

bool WriteProfileReturnAfterGame(IniFile& file, bool on) {
    return file.WriteString(kSettingSection, kReturnAfterGameKey, on ? "1" : "0");
}

}  // namespace settings
