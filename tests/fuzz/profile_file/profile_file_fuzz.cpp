// A .gmp profile file as a user imports it: the bytes go through our INI
// engine, the profile loader and the import's sanitising into the block.
// Beyond the sanitizers' faults it checks that the imported profile is one
// the rest of the system can use, that our engine rewrites a file it has
// written to the same bytes, and that no number or button record of the
// imported profile changes when it is exported and loaded again.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "common/settings/ini_engine.h"
#include "common/settings/settings_block.h"
#include "common/settings/settings_files.h"
#include "option/model/session/profile_transfer.h"
#include "tests/fuzz/support/fuzz_check.h"
#include "tests/fuzz/support/profile_checks.h"
#include "tests/fuzz/support/scratch_record.h"
#include "tests/unit/settings_files/memory_store.h"

namespace {

constexpr const char* kFolder = "C:\\prog\\";
constexpr const char* kChosen = "C:\\downloads\\shared.gmp";

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

    testing_files::MemoryStore store;
    store.files[kChosen] = text;
    settings::EngineIniFileSystem engine(store);
    settings::SettingsFiles files(engine, kFolder);

    settings::SettingsBlock* block = &fuzz::ScratchRecord<settings::SettingsBlock>();
    settings::FillDefaults(*block, settings::DefaultsFor::Option);
    const int index = static_cast<int>(size % settings::kProfileCount);
    block->currentProfile = index;
    const option::ImportResult result =
        option::ImportProfile(files, kChosen, *block, block->currentProfile);
    FUZZ_CHECK(result == option::ImportResult::Copied);
    const settings::ProfileRecord& imported = block->profiles[index];
    fuzz::CheckUsableProfile(imported);
    FUZZ_CHECK(settings::ButtonGroupChanged(*block, index));

    CheckEngineRewritesStably(store.files[files.ProfilePath(index)]);

    // Export writes what a later import reads back.
    const std::string exported = "C:\\downloads\\exported.gmp";
    FUZZ_CHECK(option::ExportProfile(files, exported, *block, block->currentProfile));
    settings::ProfileRecord* back = &fuzz::ScratchRecord<settings::ProfileRecord>();
    FUZZ_CHECK(settings::LoadProfileFile(engine, exported, *back));
    CheckSameNumbersAndButtons(imported, *back);
    return 0;
}
