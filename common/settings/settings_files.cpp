#include "common/settings/settings_files.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "common/settings/ini_engine.h"

namespace settings {

namespace {

unsigned char* At(ProfileRecord& p, std::size_t offset) {
    return reinterpret_cast<unsigned char*>(&p) + offset;
}
const unsigned char* At(const ProfileRecord& p, std::size_t offset) {
    return reinterpret_cast<const unsigned char*>(&p) + offset;
}

// Every key of the record, named once: a profile is read and written whole,
// two hundred keys at a time.
class RecordKeys {
  public:
    RecordKeys() {
        for (const ProfileField& f : ProfileFields()) {
            first_.push_back(keys_.size());
            for (int i = 0; i < f.count; ++i) keys_.push_back(FieldKey(f, i));
        }
    }
    // Element `index` of the row `field` of ProfileFields().
    const char* Of(std::size_t field, int index) const {
        return keys_[first_[field] + static_cast<std::size_t>(index)].c_str();
    }

  private:
    std::vector<std::string> keys_;
    std::vector<std::size_t> first_;
};

const RecordKeys& Keys() {
    static const RecordKeys keys;
    return keys;
}

// `row` is f's place in ProfileFields().
void ReadField(IniSection& section, std::size_t row, ProfileRecord& p) {
    const ProfileField& f = ProfileFields()[row];
    for (int i = 0; i < f.count; ++i) {
        const char* const key = Keys().Of(row, i);
        unsigned char* dst = At(p, f.offset + f.size * static_cast<std::size_t>(i));
        switch (f.type) {
            case FieldType::String: {
                const std::string text = section.GetString(key, "");
                const std::size_t n = std::min(text.size(), f.size - 1);
                std::memset(dst, 0, f.size);
                std::memcpy(dst, text.data(), n);
                break;
            }
            case FieldType::Int: {
                const std::int32_t v = section.GetInt(key, -1);
                std::memcpy(dst, &v, sizeof v);
                break;
            }
            case FieldType::Byte:
                *dst = static_cast<unsigned char>(section.GetInt(key, -1));
                break;
            case FieldType::Struct: {
                // A scratch record: a value that fails its checks must not leave
                // half-decoded bytes behind.
                ButtonAssignment info;
                if (!section.GetStruct(key, &info, sizeof info)) {
                    std::memset(&info, 0, sizeof info);
                    info.buttonIndex = static_cast<std::uint8_t>(i);
                }
                std::memcpy(dst, &info, sizeof info);
                break;
            }
        }
    }
}

bool WriteField(IniSection& section, std::size_t row, const ProfileRecord& p) {
    const ProfileField& f = ProfileFields()[row];
    bool ok = true;
    for (int i = 0; i < f.count; ++i) {
        const char* const key = Keys().Of(row, i);
        const unsigned char* src = At(p, f.offset + f.size * static_cast<std::size_t>(i));
        switch (f.type) {
            case FieldType::String: {
                // Never read past the field even when it lacks its NUL.
                std::size_t n = 0;
                while (n < f.size - 1 && src[n] != 0) ++n;
                const std::string text(reinterpret_cast<const char*>(src), n);
                ok = section.WriteString(key, text.c_str()) && ok;
                break;
            }
            case FieldType::Int: {
                std::int32_t v;
                std::memcpy(&v, src, sizeof v);
                ok = section.WriteString(key, std::to_string(v).c_str()) && ok;
                break;
            }
            case FieldType::Byte:
                ok = section.WriteString(key, std::to_string(static_cast<int>(*src)).c_str()) && ok;
                break;
            case FieldType::Struct:
                ok = section.WriteStruct(key, src, f.size) && ok;
                break;
        }
    }
    return ok;
}

bool WriteInt(IniFile& file, const char* section, const char* key, int value) {
    return file.WriteString(section, key, std::to_string(value).c_str());
}

}  // namespace

std::string SettingsFiles::ProfilePath(int n) const {
    return paths::JoinPath(folder_, "config\\Default" + std::to_string(n) + ".gmp");
}

void ReadProfile(IniFile& file, ProfileRecord& profile) {
    std::memset(&profile, 0, sizeof profile);
    const std::unique_ptr<IniSection> section = file.Section(kSettingSection);
    for (std::size_t row = 0; row < ProfileFields().size(); ++row)
        ReadField(*section, row, profile);
}

bool WriteProfile(IniFile& file, const ProfileRecord& profile) {
    bool ok = true;
    const std::unique_ptr<IniSection> section = file.Section(kSettingSection);
    for (int row : ProfileSaveOrder())
        ok = WriteField(*section, static_cast<std::size_t>(row), profile) && ok;
    return ok;
}

void ParseProfile(const std::string& text, ProfileRecord& profile) {
    IniDocument doc = IniDocument::Parse(text);
    ReadProfile(*IniFileOver(doc), profile);
}

std::string ProfileText(const ProfileRecord& profile) {
    IniDocument doc;
    // Every key of the record, its value at most twice the record's bytes
    // (the struct encoding) and a name of a few dozen characters.
    std::size_t keys = 0;
    for (const ProfileField& f : ProfileFields()) keys += static_cast<std::size_t>(f.count);
    doc.Reserve(keys, 2 * sizeof profile + 32 * keys);
    WriteProfile(*IniFileOver(doc), profile);
    return doc.Serialize();
}

bool LoadProfileFile(IniFileSystem& files, const std::string& path, ProfileRecord& profile) {
    if (!files.CanOpen(path))
        return false;
    std::unique_ptr<IniFile> file = files.Open(path);
    if (!file)
        return false;
    ReadProfile(*file, profile);
    return true;
}

bool SaveProfileFile(IniFileSystem& files, const std::string& path, const ProfileRecord& profile) {
    return UpdateIniFile(files, path, [&](IniFile& f) { return WriteProfile(f, profile); });
}

void ReadConfigValues(IniFile& config, SettingsBlock& block) {
    block.currentProfile = config.GetInt(kSettingSection, "CurrentProfile", -1);
    block.mouseType = config.GetInt(kSettingSection, "MouseType", -1);
    block.mouseColor = config.GetInt(kSettingSection, "MouseColor", -1);
}

bool LoadAll(SettingsFiles& files, MouseRegistry* registry, SettingsBlock& block, DefaultsFor who) {
    if (files.Folder().empty())
        return false;
    ResetBlock(block);
    {
        std::unique_ptr<IniFile> config = files.Files().Open(files.ConfigPath());
        if (config)
            ReadConfigValues(*config, block);
        else
            block.currentProfile = block.mouseType = block.mouseColor = -1;
    }
    for (int n = 0; n < kProfileCount; ++n) {
        if (!LoadProfileFile(files.Files(), files.ProfilePath(n), block.profiles[n])) {
            FillDefaultProfile(block.profiles[n], n, who);
        }
    }
    ProfileRecord* current = CurrentProfile(block);
    if (current != nullptr && registry != nullptr)
        ReadRegistryIntoProfile(*registry, *current);
    return true;
}

bool SaveAll(SettingsFiles& files, MouseRegistry* registry, const SettingsBlock& block) {
    const ProfileRecord* current = CurrentProfile(block);
    if (current != nullptr && registry != nullptr)
        WriteRegistryFromProfile(*registry, *current);
    bool ok = UpdateIniFile(files.Files(), files.ConfigPath(), [&](IniFile& f) {
        bool written = WriteInt(f, kSettingSection, "CurrentProfile", block.currentProfile);
        written = WriteInt(f, kSettingSection, "MouseType", block.mouseType) && written;
        written = WriteInt(f, kSettingSection, "MouseColor", block.mouseColor) && written;
        return written;
    });
    for (int n = 0; n < kProfileCount; ++n) {
        ok = SaveProfileFile(files.Files(), files.ProfilePath(n), block.profiles[n]) && ok;
    }
    return ok;
}

bool WriteDevice(SettingsFiles& files, bool connected) {
    return RewriteIniFile(files.Files(), files.ConfigPath(),
                          [&](IniFile& f) { return WriteDevice(f, connected); });
}

bool WriteDevice(IniFile& config, bool connected) {
    return WriteInt(config, kSettingSection, "Device", connected ? 1 : 0);
}

int ReadFirmwareVersion(SettingsFiles& files) {
    std::unique_ptr<IniFile> config = files.Files().Open(files.ConfigPath());
    if (!config)
        return kDefaultFirmwareVersion;
    return ReadFirmwareVersion(*config);
}

int ReadFirmwareVersion(IniFile& config) {
    return config.GetInt(kSettingSection, "FWVersion", kDefaultFirmwareVersion);
}

std::string ReadLanguage(SettingsFiles& files) {
    std::unique_ptr<IniFile> config = files.Files().Open(files.ConfigPath());
    if (!config)
        return {};
    return config->GetString(kSettingSection, kLanguageKey, "");
}

bool WriteLanguage(SettingsFiles& files, const std::string& locale) {
    return RewriteIniFile(files.Files(), files.ConfigPath(), [&](IniFile& f) {
        return f.WriteString(kSettingSection, kLanguageKey, locale.c_str());
    });
}

bool WriteMacroOsd(SettingsFiles& files, int button, const char* macroName) {
    return RewriteIniFile(files.Files(), files.ConfigPath(),
                          [&](IniFile& f) { return WriteMacroOsd(f, button, macroName); });
}

bool WriteMacroOsd(IniFile& config, int button, const char* macroName) {
    int number = button;
    if (number == 13)
        number = 3;
    if (number == 14)
        number = 4;
    const bool ok = WriteInt(config, "MacroOSD", "Number", number);
    return config.WriteString("MacroOSD", "MacroName", macroName ? macroName : "") && ok;
}

bool WriteOsdMessage(SettingsFiles& files, const char* message) {
    return RewriteIniFile(files.Files(), files.ConfigPath(), [&](IniFile& f) {
        return f.WriteString("OSDData", "Message", message ? message : "");
    });
}

}  // namespace settings
