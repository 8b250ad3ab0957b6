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

template <class T>
void KeepInRange(T& value, T low, T high, T fallback) {
    if (value < low || value > high)
        value = fallback;
}

template <std::size_t N>
void Terminate(char (&field)[N]) {
    field[N - 1] = '\0';
}

// A file that does not exist yet in `path`'s folder: its temporary copy is
// an empty file there, which is what a profile written afresh starts from.
bool AbsentSibling(settings::IniFileSystem& fs, const std::string& path, std::string& absent) {
    absent = path + ".~new";
    for (int attempt = 0; attempt < 8 && fs.CanOpen(absent); ++attempt) absent += '~';
    return !fs.CanOpen(absent);
}

bool WriteFreshProfileFile(settings::IniFileSystem& fs, const std::string& path,
                           const ProfileRecord& profile, const bool* returnAfterGame = nullptr) {
    std::string absent;
    std::string temp;
    if (!AbsentSibling(fs, path, absent) || !fs.CreateTempCopy(absent, temp))
        return false;
    bool ok = false;
    {
        std::unique_ptr<settings::IniFile> file = fs.Open(temp);
        if (file) {
            ok = settings::WriteProfile(*file, profile);
            if (returnAfterGame != nullptr)
                ok = settings::WriteProfileReturnAfterGame(*file, *returnAfterGame) && ok;
            ok = file->Flush() && ok;
        }
    }
    if (!ok || !fs.Replace(temp, path)) {
        fs.Remove(temp);
        return false;
    }
    return true;
}

}  // namespace

void SanitizeProfile(ProfileRecord& p, int index) {
    auto defaults = std::make_unique<ProfileRecord>();
    settings::FillDefaultProfile(*defaults, index, settings::DefaultsFor::Option);
    const ProfileRecord& d = *defaults;

    Terminate(p.ProFileName);
    Terminate(p.GameFile);
    // Counts, speeds and levels: a missing key reads as -1, which none of
    // them can use.
    constexpr std::int32_t kAny = 0x7FFFFFFF;
    for (auto field :
         {&ProfileRecord::DbleClickSpeed, &ProfileRecord::ScrollWheelSpeed,
          &ProfileRecord::MouseSpeed, &ProfileRecord::TiltSpeed, &ProfileRecord::Sensitivity_X,
          &ProfileRecord::Sensitivity_Y, &ProfileRecord::Cpi_X, &ProfileRecord::Cpi_Y,
          &ProfileRecord::ColorFlag, &ProfileRecord::ColorChangeMode, &ProfileRecord::OTGSpeed,
          &ProfileRecord::HeartBSpeed}) {
        KeepInRange(p.*field, 0, kAny, d.*field);
    }
    // Colours are 0x00BBGGRR.
    for (std::uint32_t& c : p.ClCustom) c &= 0x00FFFFFFu;
    for (std::uint32_t& c : p.LedDPIColor) c &= 0x00FFFFFFu;
    KeepInRange(p.ScrollWheelFlag, 0, 1, d.ScrollWheelFlag);
    KeepInRange(p.Acceleration, 0, 19, d.Acceleration);
    KeepInRange(p.AccelerationFlag, 0, 1, d.AccelerationFlag);
    KeepInRange(p.MouseTrails, 2, 7, d.MouseTrails);
    KeepInRange(p.bMouseTrails, 0, 1, d.bMouseTrails);
    KeepInRange(p.MediaOption, 0, 3, d.MediaOption);
    KeepInRange(p.Orientation, 0, 1, d.Orientation);
    KeepInRange(p.XYSynchronous, 0, 1, d.XYSynchronous);
    KeepInRange(p.XYCpiFlag, 0, 1, d.XYCpiFlag);
    for (int i = 0; i < 5; ++i) {
        // The mouse is sent level - 1 in one byte.
        KeepInRange(p.CpiLevel_X[i], 1, 256, d.CpiLevel_X[i]);
        KeepInRange(p.CpiLevel_Y[i], 1, 256, d.CpiLevel_Y[i]);
    }
    KeepInRange(p.CpiStep, 0, 4, d.CpiStep);
    KeepInRange(p.LightSwitch, 0, 3, d.LightSwitch);
    KeepInRange(p.LightType, 0, 3, d.LightType);
    for (int i = 0; i < 8; ++i) {
        KeepInRange(p.ColorOptions[i], 0, 32, d.ColorOptions[i]);
        KeepInRange(p.ColorType[i], 0, 1, d.ColorType[i]);
        KeepInRange<std::uint8_t>(p.dpiStepFlag[i], 0, 1, d.dpiStepFlag[i]);
    }
    KeepInRange(p.PollingRate, 0, 3, d.PollingRate);
    KeepInRange(p.HeartBFlag, 0, 1, d.HeartBFlag);
    p.reserved908 = 0;
    p.reserved1015 = 0;
    for (int b = 0; b < settings::kButtonCount; ++b) {
        settings::ButtonAssignment& info = p.MacroKeyInfo[b];
        info.buttonIndex = static_cast<std::uint8_t>(b);
        info.eventCount = std::min<std::uint16_t>(info.eventCount, settings::kMaxMacroEvents);
        Terminate(info.macroName);
        Terminate(info.programPath);
    }
}

bool SamePathIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

ImportResult ImportProfile(settings::SettingsFiles& files, const std::string& chosen,
                           settings::SettingsBlock& block, bool* returnAfterGame) {
    const int index = block.currentProfile;
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
        SanitizeProfile(*incoming, index);
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
        SanitizeProfile(*loaded, index);
        block.profiles[index] = *loaded;
        settings::MarkProfileButtonsChanged(block, index);
    }
    return result;
}

bool ExportProfile(settings::SettingsFiles& files, const std::string& path,
                   const settings::SettingsBlock& block, bool returnAfterGame) {
    const settings::ProfileRecord* current = settings::CurrentProfile(block);
    if (current == nullptr)
        return false;
    return WriteFreshProfileFile(files.Files(), path, *current, &returnAfterGame);
}

std::string FirmwareVersionText(int value) {
    if (value < 100 || value > 500)
        return "N/A";
    char text[16];
    std::snprintf(text, sizeof text, "%d.%02d", value / 100, value % 100);
    return text;
}

}  // namespace option
