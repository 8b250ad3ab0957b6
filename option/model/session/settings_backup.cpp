#include "option/model/session/settings_backup.h"

#include <cstring>

#include "common/settings/ini_engine.h"
#include "common/settings/settings_files.h"
#include "option/model/dialogs/macro_store.h"
#include "option/model/session/profile_transfer.h"

namespace option {
namespace {

constexpr const char* kBackupSection = "Backup";
constexpr const char* kVersionKey = "Version";
constexpr const char* kOsdSection = "OSDSetting";
constexpr const char* kMacroSection = "Macros";
constexpr const char* kMacroCountKey = "number";
// Never a value a key can hold: a lookup answering it found no key.
constexpr const char* kAbsent = "\x01";

std::string ProfileSection(int n) {
    return "Profile" + std::to_string(n);
}

// One section of the backup seen as a profile file: the profile code reads
// and writes its keys in section "Setting", which lands in `section`.
class SectionAsFile final : public settings::IniFile {
  public:
    SectionAsFile(settings::IniDocument& doc, std::string section)
        : doc_(doc), section_(std::move(section)) {}
    std::int32_t GetInt(const char*, const char* key, std::int32_t defaultValue) override {
        return doc_.GetInt(section_.c_str(), key, defaultValue);
    }
    std::string GetString(const char*, const char* key, const char* defaultValue) override {
        return doc_.GetString(section_.c_str(), key, defaultValue);
    }
    bool GetStruct(const char*, const char* key, void* data, std::size_t size) override {
        return doc_.GetStruct(section_.c_str(), key, data, size);
    }
    bool WriteString(const char*, const char* key, const char* value) override {
        doc_.SetString(section_.c_str(), key, value);
        return true;
    }
    bool WriteStruct(const char*, const char* key, const void* data, std::size_t size) override {
        doc_.SetString(section_.c_str(), key, settings::EncodeStruct(data, size).c_str());
        return true;
    }
    bool Flush() override { return true; }

  private:
    settings::IniDocument& doc_;
    std::string section_;
};

void SetInt(settings::IniDocument& doc, const char* section, const char* key, int value) {
    doc.SetString(section, key, std::to_string(value).c_str());
}

// A decimal number as the saver writes it: optional '-', then digits.
bool IsNumber(const std::string& text) {
    std::size_t i = text.size() > 1 && text[0] == '-' ? 1 : 0;
    if (i == text.size() || text.size() - i > 10)
        return false;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

bool HasNumber(const settings::IniDocument& doc, const char* section, const char* key) {
    return IsNumber(doc.GetString(section, key, kAbsent));
}

bool HasKey(const settings::IniDocument& doc, const char* section, const char* key) {
    return doc.GetString(section, key, kAbsent) != kAbsent;
}

bool ProfileKeysIntact(const settings::IniDocument& doc, const std::string& section) {
    std::vector<std::byte> scratch;
    for (const settings::ProfileField& field : settings::ProfileFields()) {
        for (int i = 0; i < field.count; ++i) {
            const std::string key = settings::FieldKey(field, i);
            switch (field.type) {
                case settings::FieldType::String:
                    if (!HasKey(doc, section.c_str(), key.c_str()))
                        return false;
                    break;
                case settings::FieldType::Int:
                case settings::FieldType::Byte:
                    if (!HasNumber(doc, section.c_str(), key.c_str()))
                        return false;
                    break;
                case settings::FieldType::Struct:
                    scratch.resize(field.size);
                    if (!doc.GetStruct(section.c_str(), key.c_str(), scratch.data(), field.size))
                        return false;
                    break;
            }
        }
    }
    const std::string choice =
        doc.GetString(section.c_str(), settings::kReturnAfterGameKey, kAbsent);
    return choice == "0" || choice == "1";
}

bool ReadGeneral(const settings::IniDocument& doc, settings::SettingsBlock& block) {
    const char* section = settings::kSettingSection;
    for (const char* key : {"CurrentProfile", "MouseType", "MouseColor"}) {
        if (!HasNumber(doc, section, key))
            return false;
    }
    block.currentProfile = doc.GetInt(section, "CurrentProfile", -1);
    block.mouseType = doc.GetInt(section, "MouseType", -1);
    block.mouseColor = doc.GetInt(section, "MouseColor", -1);
    return settings::IsValidProfileIndex(block.currentProfile);
}

bool ReadMacros(const settings::IniDocument& doc, std::vector<MacroRecord>& macros) {
    if (!HasNumber(doc, kMacroSection, kMacroCountKey))
        return false;
    const int count = doc.GetInt(kMacroSection, kMacroCountKey, -1);
    if (count < 0 || count > kMaxLoadedMacros)
        return false;
    macros.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        MacroRecord& record = macros[static_cast<std::size_t>(i)];
        if (!doc.GetStruct(kMacroSection, std::to_string(i).c_str(), &record, sizeof record))
            return false;
        if (record.eventCount < 0 || record.eventCount > settings::kMaxMacroEvents)
            return false;
        record.name[kMacroNameSize - 1] = '\0';
    }
    return true;
}

}  // namespace

SettingsBackup::SettingsBackup() : block(std::make_unique<settings::SettingsBlock>()) {
    std::memset(block.get(), 0, sizeof(settings::SettingsBlock));
}

std::string FormatBackup(const SettingsBackup& backup) {
    settings::IniDocument doc;
    SetInt(doc, kBackupSection, kVersionKey, kBackupVersion);
    const settings::SettingsBlock& block = *backup.block;
    SetInt(doc, settings::kSettingSection, "CurrentProfile", block.currentProfile);
    SetInt(doc, settings::kSettingSection, "MouseType", block.mouseType);
    SetInt(doc, settings::kSettingSection, "MouseColor", block.mouseColor);
    for (int n = 0; n < settings::kProfileCount; ++n) {
        SectionAsFile file(doc, ProfileSection(n));
        settings::WriteProfile(file, block.profiles[n]);
        settings::WriteProfileReturnAfterGame(file,
                                              backup.returnAfterGame[static_cast<std::size_t>(n)]);
    }
    doc.SetString(kOsdSection, settings::kOsdKey,
                  settings::EncodeStruct(&backup.osd, sizeof backup.osd).c_str());
    SetInt(doc, kMacroSection, kMacroCountKey, static_cast<int>(backup.macros.size()));
    for (std::size_t i = 0; i < backup.macros.size(); ++i) {
        doc.SetString(kMacroSection, std::to_string(i).c_str(),
                      settings::EncodeStruct(&backup.macros[i], sizeof(MacroRecord)).c_str());
    }
    return doc.Serialize();
}

BackupProblem ParseBackup(const std::string& text, SettingsBackup& out) {
    settings::IniDocument doc = settings::IniDocument::Parse(text);
    if (doc.GetString(kBackupSection, kVersionKey, kAbsent) != std::to_string(kBackupVersion))
        return {BackupPart::Version};

    SettingsBackup incoming;
    if (!ReadGeneral(doc, *incoming.block))
        return {BackupPart::General};
    for (int n = 0; n < settings::kProfileCount; ++n) {
        const std::string section = ProfileSection(n);
        if (!ProfileKeysIntact(doc, section))
            return {BackupPart::Profile, n};
        SectionAsFile file(doc, section);
        settings::ReadProfile(file, incoming.block->profiles[n]);
        // Values out of their range would reach the mouse: the same repair a
        // single imported profile gets.
        settings::SanitizeProfile(incoming.block->profiles[n]);
        incoming.returnAfterGame[static_cast<std::size_t>(n)] =
            settings::ReadProfileReturnAfterGame(file);
    }
    if (!doc.GetStruct(kOsdSection, settings::kOsdKey, &incoming.osd, sizeof incoming.osd))
        return {BackupPart::Notices};
    if (!ReadMacros(doc, incoming.macros))
        return {BackupPart::Macros};

    std::swap(out.block, incoming.block);
    out.osd = incoming.osd;
    out.macros = std::move(incoming.macros);
    out.returnAfterGame = incoming.returnAfterGame;
    return {};
}

}  // namespace option

namespace option {

bool WriteBackupFile(settings::TextFileStore& store, const std::string& path,
                     const std::string& text) {
    const std::string temp = path + ".~new";
    if (!store.WriteAll(temp, text) || !store.Rename(temp, path)) {
        store.Remove(temp);
        return false;
    }
    return true;
}

}  // namespace option
