#include "option/model/session/profile_transfer.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/settings/ini_file.h"
#include "common/settings/return_after_game.h"

namespace option {
namespace {

using settings::ProfileRecord;

bool WriteFreshProfileFile(settings::IniFileSystem& fs, const std::string& path,
                           const ProfileRecord& profile, const bool* returnAfterGame = nullptr) {
    return settings::WriteFreshIniFile(fs, path, [&](settings::IniFile& file) {
        bool ok = settings::WriteProfile(file, profile);
        if (returnAfterGame != nullptr)
            ok = settings::WriteProfileReturnAfterGame(file, *returnAfterGame) && ok;
        return ok;
    });
}

}  // namespace

bool SamePathIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

ImportResult ImportProfile(settings::SettingsFiles& files, const std::string& chosen,
                           settings::SettingsBlock& block, int index, bool* returnAfterGame) {
    if (!settings::IsValidProfileIndex(index))
        return ImportResult::NoProfile;
    settings::IniFileSystem& fs = files.Files();
    if (!fs.CanOpen(chosen))
        return ImportResult::Unreadable;

    const std::string own = files.ProfilePath(index);
    ImportResult result = ImportResult::ReloadedOwn;
    if (!SamePathIgnoringCase(chosen, own)) {
        // Read through the settings engine and written back whole: the own
        // file then holds only what a profile holds, and a failed write
        // leaves the old file in place.
        auto incoming = std::make_unique<ProfileRecord>();
        std::memset(incoming.get(), 0, sizeof(ProfileRecord));
        if (!settings::LoadProfileFile(fs, chosen, *incoming))
            return ImportResult::Unreadable;
        settings::SanitizeProfile(*incoming);
        if (returnAfterGame != nullptr) {
            if (std::unique_ptr<settings::IniFile> file = fs.Open(chosen))
                *returnAfterGame = settings::ReadProfileReturnAfterGame(*file);
        }
        result = settings::SaveProfileFile(fs, own, *incoming) ? ImportResult::Copied
                                                               : ImportResult::CopyFailed;
    }
    auto loaded = std::make_unique<ProfileRecord>();
    std::memset(loaded.get(), 0, sizeof(ProfileRecord));
    if (settings::LoadProfileFile(fs, own, *loaded)) {
        settings::SanitizeProfile(*loaded);
        block.profiles[index] = *loaded;
        settings::MarkProfileButtonsChanged(block, index);
    }
    return result;
}

bool ExportProfile(settings::SettingsFiles& files, const std::string& path,
                   const settings::SettingsBlock& block, int index, bool returnAfterGame) {
    if (!settings::IsValidProfileIndex(index))
        return false;
    return WriteFreshProfileFile(files.Files(), path, block.profiles[index], &returnAfterGame);
}

std::string FirmwareVersionText(int value) {
    if (value < 100 || value > 500)
        return "N/A";
    char text[16];
    std::snprintf(text, sizeof text, "%d.%02d", value / 100, value % 100);
    return text;
}

}  // namespace option
