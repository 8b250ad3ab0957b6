#include "common/settings/osd_settings.h"

#include <cstring>

namespace settings {

bool LoadOsdSettings(SettingsFiles& files, OsdSettings& record) {
    std::unique_ptr<IniFile> config = files.Files().Open(files.ConfigPath());
    return config && ReadOsdSettings(*config, record);
}

bool ReadOsdSettings(IniFile& config, OsdSettings& record) {
    // Decoding may write part of a damaged value before its checksum fails.
    OsdSettings scratch;
    if (!config.GetStruct(kOsdSection, kOsdKey, &scratch, sizeof scratch))
        return false;
    std::memcpy(&record, &scratch, sizeof record);
    return true;
}

bool SaveOsdSettings(SettingsFiles& files, const OsdSettings& record) {
    return UpdateIniFile(files.Files(), files.ConfigPath(),
                         [&](IniFile& f) { return WriteOsdSettings(f, record); });
}

bool WriteOsdSettings(IniFile& config, const OsdSettings& record) {
    return config.WriteStruct(kOsdSection, kOsdKey, &record, sizeof record);
}

void ResetOsdSettings(OsdSettings& r) {
    r.option0 = r.option4 = r.showProfile = r.showMacro = 0;
    r.option16 = r.option20 = r.showCpi = r.option28 = 0;
    r.displayValue1 = r.displayValue2 = 0;
    r.text40[0] = '\0';
    r.text144[0] = '\0';
    r.text244[0] = '\0';
    r.value140 = 110;
    r.value344 = 5;
}

}  // namespace settings
