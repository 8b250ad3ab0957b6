// The program folder's own files as a damaged or hand-edited disk may leave
// them: one input serves as config.ini (settings, the OSD record) and as
// config\sequence.dat (the macro store), since one INI text can hold the
// sections of both. Both are read from the text in memory, as the file
// readers read an open file (the file plumbing around them does not depend
// on the bytes). Loading must not fault, and what was loaded must survive a
// save and a load unchanged: the OSD record byte for byte, every macro
// record, the settings that Monitor's own small writes leave alone.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "common/settings/ini_engine.h"
#include "common/settings/osd_settings.h"
#include "common/settings/settings_block.h"
#include "common/settings/settings_files.h"
#include "monitor/runtime/osd_notices.h"
#include "option/model/dialogs/macro_store.h"
#include "tests/fuzz/support/fuzz_check.h"
#include "tests/fuzz/support/scratch_record.h"
#include "tests/unit/common/settings/memory_store.h"

namespace {

constexpr const char* kFolder = "C:\\prog\\";

// What a load after the save of `saved` reads: the saved file's text, parsed.
settings::IniDocument Reloaded(const settings::IniDocument& saved) {
    return settings::IniDocument::Parse(saved.Serialize());
}

void CheckOsdRecordSurvivesSave(settings::IniDocument& config) {
    settings::OsdSettings loaded{};
    settings::ResetOsdSettings(loaded);
    if (!settings::ReadOsdSettings(*settings::IniFileOver(config), loaded))
        return;
    const runtime::OsdOptions options = runtime::OsdOptionsFromRecord(&loaded, sizeof loaded);
    FUZZ_CHECK(options.showProfile == loaded.showProfile);
    settings::IniDocument saved = config;
    FUZZ_CHECK(settings::WriteOsdSettings(*settings::IniFileOver(saved), loaded));
    settings::IniDocument reloaded = Reloaded(saved);
    settings::OsdSettings back{};
    FUZZ_CHECK(settings::ReadOsdSettings(*settings::IniFileOver(reloaded), back));
    FUZZ_CHECK(std::memcmp(&loaded, &back, sizeof loaded) == 0);
}

// Monitor's load of a folder whose profile files are missing (a profile
// file itself is the profile_file target's input): config.ini's values and
// fresh profiles.
void LoadBlock(settings::IniDocument& config, settings::SettingsBlock& block) {
    settings::ResetBlock(block);
    settings::ReadConfigValues(*settings::IniFileOver(config), block);
    for (int n = 0; n < settings::kProfileCount; ++n)
        settings::FillDefaultProfile(block.profiles[n], n, settings::DefaultsFor::Monitor);
    if (!settings::IsValidProfileIndex(block.currentProfile))
        return;
    // Monitor's single-key writers keep the rest of the file as it was.
    settings::IniDocument saved = config;
    const auto file = settings::IniFileOver(saved);
    FUZZ_CHECK(settings::WriteDevice(*file, true));
    FUZZ_CHECK(settings::WriteMacroOsd(*file, 13, block.profiles[0].MacroKeyInfo[0].macroName));
    settings::IniDocument reloaded = Reloaded(saved);
    settings::SettingsBlock* back = &fuzz::ScratchRecord<settings::SettingsBlock, 1>();
    std::memset(back, 0, sizeof *back);
    settings::ReadConfigValues(*settings::IniFileOver(reloaded), *back);
    FUZZ_CHECK(back->currentProfile == block.currentProfile);
    FUZZ_CHECK(back->mouseType == block.mouseType);
}

void CheckMacrosSurviveSave(settings::IniDocument& sequence, const settings::SettingsBlock& block) {
    // The stores never touch their files here: they only read open files
    // and give the text a save writes.
    testing_files::MemoryStore noFiles;
    settings::EngineIniFileSystem engine(noFiles);
    option::MacroFileStore store(engine, kFolder);
    store.ReadMacros(*settings::IniFileOver(sequence));
    store.MergeFromProfiles(block, option::MacroMerge::ButtonsWin);
    settings::IniDocument saved = settings::IniDocument::Parse(store.FileText());
    option::MacroFileStore back(engine, kFolder);
    back.ReadMacros(*settings::IniFileOver(saved));
    FUZZ_CHECK(back.Count() == store.Count());
    for (int i = 0; i < store.Count(); ++i) {
        const option::MacroRecord* a = store.MacroAt(i);
        const option::MacroRecord* b = back.MacroAt(i);
        FUZZ_CHECK(a != nullptr && b != nullptr);
        FUZZ_CHECK(std::memcmp(a, b, sizeof *a) == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    settings::IniDocument files = settings::IniDocument::Parse(text);
    const std::string rewritten = files.Serialize();
    FUZZ_CHECK(settings::IniDocument::Parse(rewritten).Serialize() == rewritten);

    (void)settings::ReadFirmwareVersion(*settings::IniFileOver(files));
    CheckOsdRecordSurvivesSave(files);
    settings::SettingsBlock* block = &fuzz::ScratchRecord<settings::SettingsBlock>();
    std::memset(block, 0, sizeof *block);
    LoadBlock(files, *block);
    CheckMacrosSurviveSave(files, *block);
    return 0;
}
