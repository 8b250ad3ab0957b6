// What every part of the system may assume of a profile that came in through
// import: the promises of SanitizeProfile, checked row by row of the field table.
#pragma once

#include "common/settings/profile_table.h"
#include "common/settings/settings_block.h"
#include "tests/fuzz/support/fuzz_check.h"

namespace fuzz {

inline void CheckUsableProfile(const settings::ProfileRecord& p) {
    FUZZ_CHECK(settings::FieldLength(p.ProFileName) < sizeof p.ProFileName);
    FUZZ_CHECK(settings::FieldLength(p.GameFile) < sizeof p.GameFile);
    for (const settings::ProfileField& f : settings::ProfileFields()) {
        if (f.type != settings::FieldType::Int && f.type != settings::FieldType::Byte)
            continue;
        for (int i = 0; i < f.count; ++i)
            FUZZ_CHECK(settings::ValidNumber(f, settings::FieldNumber(p, f, i)));
    }
    for (int b = 0; b < settings::kButtonCount; ++b) {
        const settings::ButtonAssignment& info = p.MacroKeyInfo[b];
        FUZZ_CHECK(info.buttonIndex == b);
        FUZZ_CHECK(info.eventCount <= settings::kMaxMacroEvents);
        FUZZ_CHECK(settings::FieldLength(info.macroName) < sizeof info.macroName);
        FUZZ_CHECK(settings::FieldLength(info.programPath) < sizeof info.programPath);
    }
}

}  // namespace fuzz
