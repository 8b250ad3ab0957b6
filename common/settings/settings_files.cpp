#include "common/settings/settings_files.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace settings {

namespace {

constexpr ProfileField Row(const char* key, FieldType type, std::size_t offset, std::size_t size,
                           int count) {
    return ProfileField{key, type, offset, size / static_cast<std::size_t>(count), count};
}

// A row of `n` keys spread evenly over the member `name`.
#define FIELDS(name, type, n) \
    Row(#name, FieldType::type, offsetof(ProfileRecord, name), sizeof(ProfileRecord::name), n)
#define FIELD(name, type) FIELDS(name, type, 1)

// Rows in the loader's order.
constexpr std::array<ProfileField, 38> kFields = {{
    FIELD(ProFileName, String),                  // 0
    FIELD(GameFile, String),                     // 1
    FIELD(DbleClickSpeed, Int),                  // 2
    FIELD(ScrollWheelSpeed, Int),                // 3
    FIELD(ScrollWheelFlag, Int),                 // 4
    FIELD(MouseSpeed, Int),                      // 5
    FIELD(Acceleration, Int),                    // 6
    FIELD(AccelerationFlag, Int),                // 7
    FIELD(MouseTrails, Int),                     // 8
    FIELD(bMouseTrails, Int),                    // 9
    FIELD(TiltSpeed, Int),                       // 10
    FIELD(PollingRate, Int),                     // 11
    FIELD(MediaOption, Int),                     // 12
    FIELD(Orientation, Int),                     // 13
    FIELD(XYSynchronous, Int),                   // 14
    FIELD(Sensitivity_X, Int),                   // 15
    FIELD(Sensitivity_Y, Int),                   // 16
    FIELD(Cpi_X, Int),                           // 17
    FIELD(Cpi_Y, Int),                           // 18
    FIELD(XYCpiFlag, Int),                       // 19
    FIELDS(LedDPIColor, Int, 4),                 // 20
    FIELDS(CpiLevel_X, Int, 5),                  // 21
    FIELDS(CpiLevel_Y, Int, 5),                  // 22
    FIELD(CpiStep, Int),                         // 23
    FIELD(ColorFlag, Int),                       // 24
    FIELD(LightSwitch, Int),                     // 25
    FIELD(LightType, Int),                       // 26
    FIELD(ColorChangeMode, Int),                 // 27
    FIELD(OTGSpeed, Int),                        // 28
    FIELD(HeartBFlag, Int),                      // 29
    FIELD(HeartBSpeed, Int),                     // 30
    FIELDS(dpiStepFlag, Byte, 8),                // 31
    FIELDS(dpibyDpiIndicator, Byte, 10),         // 32
    FIELDS(ColorOptions, Int, 8),                // 33
    FIELDS(ColorType, Int, 8),                   // 34
    FIELDS(ClCustom, Int, 8),                    // 35
    FIELD(DpiIndicationType, Byte),              // 36
    FIELDS(MacroKeyInfo, Struct, kButtonCount),  // 37
}};

#undef FIELD
#undef FIELDS

// Every byte of the record has a key except the two reserved ones.
constexpr std::size_t StoredBytes() {
    std::size_t total = 0;
    for (const ProfileField& f : kFields) total += f.size * static_cast<std::size_t>(f.count);
    return total;
}
static_assert(StoredBytes() == sizeof(ProfileRecord) - sizeof(ProfileRecord::reserved908) -
                                   sizeof(ProfileRecord::reserved1015));

// The saver differs from the loader only in where PollingRate, MediaOption
// and the LED DPI colours fall.
constexpr std::array<int, 38> kSaveOrder = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 12, 11,
                                            20, 13, 14, 15, 16, 17, 18, 19, 21, 22, 23, 24, 25,
                                            26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37};

unsigned char* At(ProfileRecord& p, std::size_t offset) {
    return reinterpret_cast<unsigned char*>(&p) + offset;
}
const unsigned char* At(const ProfileRecord& p, std::size_t offset) {
    return reinterpret_cast<const unsigned char*>(&p) + offset;
}

void ReadField(IniFile& file, const ProfileField& f, ProfileRecord& p) {
    for (int i = 0; i < f.count; ++i) {
        const std::string key = FieldKey(f, i);
        unsigned char* dst = At(p, f.offset + f.size * static_cast<std::size_t>(i));
        switch (f.type) {
            case FieldType::String: {
                const std::string text = file.GetString(kSettingSection, key.c_str(), "");
                const std::size_t n = std::min(text.size(), f.size - 1);
                std::memset(dst, 0, f.size);
                std::memcpy(dst, text.data(), n);
                break;
            }
            case FieldType::Int: {
                const std::int32_t v = file.GetInt(kSettingSection, key.c_str(), -1);
                std::memcpy(dst, &v, sizeof v);
                break;
            }
            case FieldType::Byte:
                *dst = static_cast<unsigned char>(file.GetInt(kSettingSection, key.c_str(), -1));
                break;
            case FieldType::Struct: {
                // A scratch record: a value that fails its checks must not leave
                // half-decoded bytes behind.
                ButtonAssignment info;
                if (!file.GetStruct(kSettingSection, key.c_str(), &info, sizeof info)) {
                    std::memset(&info, 0, sizeof info);
                    info.buttonIndex = static_cast<std::uint8_t>(i);
                }
                std::memcpy(dst, &info, sizeof info);
                break;
            }
        }
    }
}

bool WriteField(IniFile& file, const ProfileField& f, const ProfileRecord& p) {
    bool ok = true;
    for (int i = 0; i < f.count; ++i) {
        const std::string key = FieldKey(f, i);
        const unsigned char* src = At(p, f.offset + f.size * static_cast<std::size_t>(i));
        switch (f.type) {
            case FieldType::String: {
                // Never read past the field even when it lacks its NUL.
                std::size_t n = 0;
                while (n < f.size - 1 && src[n] != 0) ++n;
                const std::string text(reinterpret_cast<const char*>(src), n);
                ok = file.WriteString(kSettingSection, key.c_str(), text.c_str()) && ok;
                break;
            }
            case FieldType::Int: {
                std::int32_t v;
                std::memcpy(&v, src, sizeof v);
                ok =
                    file.WriteString(kSettingSection, key.c_str(), std::to_string(v).c_str()) && ok;
                break;
            }
            case FieldType::Byte:
                ok = file.WriteString(kSettingSection, key.c_str(),
                                      std::to_string(static_cast<int>(*src)).c_str()) &&
                     ok;
                break;
            case FieldType::Struct:
                ok = file.WriteStruct(kSettingSection, key.c_str(), src, f.size) && ok;
                break;
        }
    }
    return ok;
}

bool WriteInt(IniFile& file, const char* section, const char* key, int value) {
    return file.WriteString(section, key, std::to_string(value).c_str());
}

}  // namespace

std::span<const ProfileField> ProfileFields() {
    return kFields;
}
std::span<const int> ProfileSaveOrder() {
    return kSaveOrder;
}

std::string FieldKey(const ProfileField& field, int index) {
    if (field.count == 1)
        return field.key;
    return std::string(field.key) + std::to_string(index);
}

std::string SettingsFiles::ProfilePath(int n) const {
    return folder_ + "config\\Default" + std::to_string(n) + ".gmp";
}

void ReadProfile(IniFile& file, ProfileRecord& profile) {
    std::memset(&profile, 0, sizeof profile);
    for (const ProfileField& f : kFields) ReadField(file, f, profile);
}

bool WriteProfile(IniFile& file, const ProfileRecord& profile) {
    bool ok = true;
    for (int index : kSaveOrder) {
        ok = WriteField(file, kFields[static_cast<std::size_t>(index)], profile) && ok;
    }
    return ok;
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

bool LoadAll(SettingsFiles& files, MouseRegistry* registry, SettingsBlock& block, DefaultsFor who) {
    if (files.Folder().empty())
        return false;
    ResetBlock(block);
    {
        std::unique_ptr<IniFile> config = files.Files().Open(files.ConfigPath());
        if (config) {
            block.currentProfile = config->GetInt(kSettingSection, "CurrentProfile", -1);
            block.mouseType = config->GetInt(kSettingSection, "MouseType", -1);
            block.mouseColor = config->GetInt(kSettingSection, "MouseColor", -1);
        } else {
            block.currentProfile = block.mouseType = block.mouseColor = -1;
        }
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

bool WriteDevice(SettingsFiles& files, int state) {
    return RewriteIniFile(files.Files(), files.ConfigPath(), [&](IniFile& f) {
        return WriteInt(f, kSettingSection, "Device", state);
    });
}

int ReadFirmwareVersion(SettingsFiles& files) {
    std::unique_ptr<IniFile> config = files.Files().Open(files.ConfigPath());
    if (!config)
        return kDefaultFirmwareVersion;
    return config->GetInt(kSettingSection, "FWVersion", kDefaultFirmwareVersion);
}

bool WriteMacroOsd(SettingsFiles& files, int button, const char* macroName) {
    int number = button;
    if (number == 13)
        number = 3;
    if (number == 14)
        number = 4;
    return RewriteIniFile(files.Files(), files.ConfigPath(), [&](IniFile& f) {
        bool ok = WriteInt(f, "MacroOSD", "Number", number);
        return f.WriteString("MacroOSD", "MacroName", macroName ? macroName : "") && ok;
    });
}

bool WriteOsdMessage(SettingsFiles& files, const char* message) {
    return RewriteIniFile(files.Files(), files.ConfigPath(), [&](IniFile& f) {
        return f.WriteString("OSDData", "Message", message ? message : "");
    });
}

}  // namespace settings
