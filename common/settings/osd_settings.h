// Options of the on-screen notices: a fixed 348-byte record kept whole as
// [OSDSetting] config in config.ini. Each program holds its own copy.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/settings/settings_files.h"

namespace settings {

struct OsdSettings {
    std::int32_t option0;        // not read by either program
    std::int32_t option4;        // not read by either program
    std::int32_t showProfile;    // 1 = show profile notices
    std::int32_t showMacro;      // 1 = show macro notices
    std::int32_t option16;       // not read by either program
    std::int32_t option20;       // not read by either program
    std::int32_t showCpi;        // 1 = show CPI notices
    std::int32_t option28;       // not read by either program
    std::int32_t displayValue1;  // forwarded to the display program
    std::int32_t displayValue2;  // forwarded to the display program
    char text40[100];
    std::int32_t value140;
    char text144[100];
    char text244[100];
    std::int32_t value344;
};
static_assert(sizeof(OsdSettings) == 348);
static_assert(offsetof(OsdSettings, option0) == 0);
static_assert(offsetof(OsdSettings, option4) == 4);
static_assert(offsetof(OsdSettings, showProfile) == 8);
static_assert(offsetof(OsdSettings, showMacro) == 12);
static_assert(offsetof(OsdSettings, option16) == 16);
static_assert(offsetof(OsdSettings, option20) == 20);
static_assert(offsetof(OsdSettings, showCpi) == 24);
static_assert(offsetof(OsdSettings, option28) == 28);
static_assert(offsetof(OsdSettings, displayValue1) == 32);
static_assert(offsetof(OsdSettings, displayValue2) == 36);
static_assert(offsetof(OsdSettings, text40) == 40);
static_assert(offsetof(OsdSettings, value140) == 140);
static_assert(offsetof(OsdSettings, text144) == 144);
static_assert(offsetof(OsdSettings, text244) == 244);
static_assert(offsetof(OsdSettings, value344) == 344);

inline constexpr const char* kOsdSection = "OSDSetting";
inline constexpr const char* kOsdKey = "config";

// Reads the record from config.ini or an open config file; a missing or
// damaged value leaves it as it was (false).
bool LoadOsdSettings(SettingsFiles& files, OsdSettings& record);
bool ReadOsdSettings(IniFile& config, OsdSettings& record);
// Writes the whole record into config.ini (through a temporary copy), or
// into an open config file.
bool SaveOsdSettings(SettingsFiles& files, const OsdSettings& record);
bool WriteOsdSettings(IniFile& config, const OsdSettings& record);
// The defaults: the ten ints 0, the first byte of each text 0 (the rest of a
// text is kept), 110 at offset 140, 5 at offset 344.
void ResetOsdSettings(OsdSettings& record);

}  // namespace settings
