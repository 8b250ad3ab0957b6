// A .gmp profile file as a user imports it: the bytes go through our INI
// engine, the profile reader and the import's sanitising, all in memory (the
// file plumbing around them does not depend on the bytes). Beyond the
// sanitizers' faults it checks that the imported profile is one the rest of
// the system can use, that our engine rewrites a file it has written to the
// same bytes, and that no number or button record of the imported profile
// changes when it is written and read again.
#include <cstdint>
#include <cstring>
#include <string>

#include "common/settings/ini_engine.h"
#include "common/settings/settings_files.h"
#include "tests/fuzz/support/fuzz_check.h"
#include "tests/fuzz/support/profile_checks.h"
#include "tests/fuzz/support/scratch_record.h"

namespace {

// Ints, bytes and button records keep their value through a save and a load;
// texts may lose enclosing quotes and outer blanks, as the system's own
// profile functions do, so they are left out here.
void CheckSameNumbersAndButtons(const settings::ProfileRecord& a,
                                const settings::ProfileRecord& b) {
    const auto* pa = reinterpret_cast<const std::uint8_t*>(&a);
    const auto* pb = reinterpret_cast<const std::uint8_t*>(&b);
    for (const settings::ProfileField& f : settings::ProfileFields()) {
        if (f.type == settings::FieldType::String)
            continue;
        const std::size_t length = f.size * static_cast<std::size_t>(f.count);
        FUZZ_CHECK(std::memcmp(pa + f.offset, pb + f.offset, length) == 0);
    }
}

void CheckEngineRewritesStably(const std::string& text) {
    const std::string once = settings::IniDocument::Parse(text).Serialize();
    FUZZ_CHECK(settings::IniDocument::Parse(once).Serialize() == once);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckEngineRewritesStably(text);
    (void)settings::ParseProfileInt(text);

    settings::ProfileRecord& imported = fuzz::ScratchRecord<settings::ProfileRecord>();
    settings::ParseProfile(text, imported);
    settings::SanitizeProfile(imported);
    fuzz::CheckUsableProfile(imported);

    // What is saved (the profile's own file, an export) reads back the same.
    const std::string written = settings::ProfileText(imported);
    CheckEngineRewritesStably(written);
    settings::ProfileRecord& back = fuzz::ScratchRecord<settings::ProfileRecord, 1>();
    settings::ParseProfile(written, back);
    CheckSameNumbersAndButtons(imported, back);
    return 0;
}
