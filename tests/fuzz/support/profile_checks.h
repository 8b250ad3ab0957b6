// What every part of the system may assume of a profile that came in through
// import: the promises of SanitizeProfile, checked field by field.
#pragma once

#include "common/settings/settings_block.h"
#include "tests/fuzz/support/fuzz_check.h"

namespace fuzz {

inline void CheckUsableProfile(const settings::ProfileRecord& p) {
    FUZZ_CHECK(settings::FieldLength(p.ProFileName) < sizeof p.ProFileName);
    FUZZ_CHECK(settings::FieldLength(p.GameFile) < sizeof p.GameFile);
    for (int i = 0; i < 5; ++i) {
        FUZZ_CHECK(p.CpiLevel_X[i] >= 1 && p.CpiLevel_X[i] <= 256);
        FUZZ_CHECK(p.CpiLevel_Y[i] >= 1 && p.CpiLevel_Y[i] <= 256);
    }
    FUZZ_CHECK(p.CpiStep >= 0 && p.CpiStep <= 4);
    FUZZ_CHECK(p.PollingRate >= 0 && p.PollingRate <= 3);
    for (int i = 0; i < 8; ++i) FUZZ_CHECK(p.ColorOptions[i] >= 0 && p.ColorOptions[i] <= 32);
    for (int b = 0; b < settings::kButtonCount; ++b) {
        const settings::ButtonAssignment& info = p.MacroKeyInfo[b];
        FUZZ_CHECK(info.buttonIndex == b);
        FUZZ_CHECK(info.eventCount <= settings::kMaxMacroEvents);
        FUZZ_CHECK(settings::FieldLength(info.macroName) < sizeof info.macroName);
        FUZZ_CHECK(settings::FieldLength(info.programPath) < sizeof info.programPath);
    }
}

}  // namespace fuzz
