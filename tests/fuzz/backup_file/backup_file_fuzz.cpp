// A backup file as a user imports it with "Import all": the bytes go through
// our INI engine and the backup reader. Beyond the sanitizers' faults it
// checks that a rejected file leaves what it was read into untouched, that
// an accepted one holds only values the rest of the system can use, and that
// it reads back the same after it is written again.
#include <cstdint>
#include <cstring>
#include <string>

#include "option/model/session/settings_backup.h"
#include "tests/fuzz/support/fuzz_check.h"

namespace {

bool SameMacros(const std::vector<option::MacroRecord>& a,
                const std::vector<option::MacroRecord>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    option::SettingsBackup backup;
    backup.block->currentProfile = 4;
    backup.macros.resize(1);
    const option::BackupProblem problem = option::ParseBackup(text, backup);
    if (problem.part != option::BackupPart::None) {
        FUZZ_CHECK(backup.block->currentProfile == 4);
        FUZZ_CHECK(backup.macros.size() == 1);
        FUZZ_CHECK(problem.part != option::BackupPart::Profile ||
                   (problem.profile >= 0 && problem.profile < settings::kProfileCount));
        return 0;
    }
    FUZZ_CHECK(settings::IsValidProfileIndex(backup.block->currentProfile));
    for (const option::MacroRecord& macro : backup.macros) {
        FUZZ_CHECK(macro.eventCount >= 0 && macro.eventCount <= settings::kMaxMacroEvents);
        FUZZ_CHECK(macro.name[option::kMacroNameSize - 1] == '\0');
    }

    option::SettingsBackup again;
    FUZZ_CHECK(option::ParseBackup(option::FormatBackup(backup), again).part ==
               option::BackupPart::None);
    FUZZ_CHECK(again.block->currentProfile == backup.block->currentProfile);
    FUZZ_CHECK(std::memcmp(&again.osd, &backup.osd, sizeof backup.osd) == 0);
    FUZZ_CHECK(SameMacros(again.macros, backup.macros));
    FUZZ_CHECK(again.returnAfterGame == backup.returnAfterGame);
    for (int n = 0; n < settings::kProfileCount; ++n) {
        FUZZ_CHECK(std::memcmp(again.block->profiles[n].MacroKeyInfo,
                               backup.block->profiles[n].MacroKeyInfo,
                               sizeof backup.block->profiles[n].MacroKeyInfo) == 0);
    }
    return 0;
}
