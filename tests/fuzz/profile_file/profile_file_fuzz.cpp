// A .gmp profile file as a user imports it: the bytes go through our INI
// engine, the profile reader and the import's sanitising, all in memory (the
// file plumbing around them does not depend on the bytes). Beyond the
// sanitizers' faults it checks that the imported profile is one the rest of
// the system can use and that no number or button record of it changes when
// it is written and read again. That the engine's rewrite of any text is
// stable is the config_files target's check; it is left out here, where it
// would double the work of every run.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    settings::IniDocument doc = settings::IniDocument::Parse(text);
    (void)settings::ParseProfileInt(text);

    settings::ProfileRecord& imported = fuzz::ScratchRecord<settings::ProfileRecord>();
    settings::ReadProfile(*settings::IniFileOver(doc), imported);
    settings::SanitizeProfile(imported);
    fuzz::CheckUsableProfile(imported);

    // What is saved (the profile's own file, an export) reads back the same.
    settings::IniDocument written = settings::IniDocument::Parse(settings::ProfileText(imported));
    settings::ProfileRecord& back = fuzz::ScratchRecord<settings::ProfileRecord, 1>();
    settings::ReadProfile(*settings::IniFileOver(written), back);
    CheckSameNumbersAndButtons(imported, back);
    return 0;
}
