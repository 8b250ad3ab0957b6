// config.ini and the five profile files: the loader both programs share,
// Option's saver, Monitor's single-key writers and the profile file import
// and export use. Every save that changes a file rewrites it whole through a
// temporary copy, so an interrupted save leaves the old file or the new one,
// never a mix; a file that already holds what a save would write is left alone.
#pragma once

#include <cstddef>
#include <string>

#include "common/path_join.h"
#include "common/settings/ini_file.h"
#include "common/settings/mouse_registry.h"
#include "common/settings/profile_table.h"
#include "common/settings/settings_block.h"

namespace settings {

inline constexpr const char* kConfigFileName = "config.ini";
inline constexpr const char* kSettingSection = "Setting";
inline constexpr const char* kLanguageKey = "Language";
inline constexpr int kDefaultFirmwareVersion = 100;

// The files of one program folder (with its trailing backslash).
class SettingsFiles {
  public:
    SettingsFiles(IniFileSystem& files, std::string programFolder)
        : files_(files), folder_(std::move(programFolder)) {}
    IniFileSystem& Files() { return files_; }
    const std::string& Folder() const { return folder_; }
    std::string ConfigPath() const { return paths::JoinPath(folder_, kConfigFileName); }
    // "config\Default<n>.gmp".
    std::string ProfilePath(int n) const;

  private:
    IniFileSystem& files_;
    std::string folder_;
};

// A profile from an open file: missing keys give -1 (0xFF in byte fields) and
// "", a bad button value an empty record of that button. Bytes that no key
// stores are 0.
void ReadProfile(IniFile& file, ProfileRecord& profile);
// Writes every key in the saver's order; false when a write failed.
bool WriteProfile(IniFile& file, const ProfileRecord& profile);
// The same for a profile file's text in memory: what ReadProfile reads from
// the file holding `text`, and the text of a file WriteProfile writes afresh.
void ParseProfile(const std::string& text, ProfileRecord& profile);
std::string ProfileText(const ProfileRecord& profile);

// A profile from the file at path; false (profile untouched) when it cannot
// be opened. Import uses it as well as the loader.
bool LoadProfileFile(IniFileSystem& files, const std::string& path, ProfileRecord& profile);
// Writes a profile file whole; false (old file unchanged) on failure.
bool SaveProfileFile(IniFileSystem& files, const std::string& path, const ProfileRecord& profile);

// config.ini's CurrentProfile, MouseType and MouseColor (-1 when missing).
void ReadConfigValues(IniFile& config, SettingsBlock& block);

// Load all: resets the block, reads CurrentProfile, MouseType, MouseColor,
// each profile from its file (defaults for a missing file) and, when the
// current index is 0..4 and registry is given, the registry's pointer values
// into the current profile. False only when the folder is unusable (no path).
bool LoadAll(SettingsFiles& files, MouseRegistry* registry, SettingsBlock& block, DefaultsFor who);

// Save all: the registry from the current profile (when 0..4 and registry is
// given), then CurrentProfile, MouseType, MouseColor, then every profile file.
// False when any file could not be written; each file is then old or new.
bool SaveAll(SettingsFiles& files, MouseRegistry* registry, const SettingsBlock& block);

// Monitor's connection state as [Setting] Device (1 connected, 0 not), in
// config.ini or in an open config file.
bool WriteDevice(SettingsFiles& files, bool connected);
bool WriteDevice(IniFile& config, bool connected);
// [Setting] FWVersion, 100 when missing.
int ReadFirmwareVersion(SettingsFiles& files);
int ReadFirmwareVersion(IniFile& config);
// [Setting] Language: the locale name of the language the programs show,
// "" (also when missing) to follow Windows' display language. It lives only
// in the file: both programs read it when they need it.
std::string ReadLanguage(SettingsFiles& files);
bool WriteLanguage(SettingsFiles& files, const std::string& locale);

// The display program's exchange values: [MacroOSD] Number (the button, with
// 13 written as 3 and 14 as 4) and MacroName, and [OSDData] Message.
bool WriteMacroOsd(SettingsFiles& files, int button, const char* macroName);
bool WriteMacroOsd(IniFile& config, int button, const char* macroName);
bool WriteOsdMessage(SettingsFiles& files, const char* message);

}  // namespace settings
