// The program folder's own files as a damaged or hand-edited disk may leave
// them: one input serves as config.ini (settings, the OSD record) and as
// config\sequence.dat (the macro store), since one INI text can hold the
// sections of both. Loading must not fault, and what was loaded must survive
// a save and a load unchanged: the OSD record byte for byte, every macro
// record, the settings that Monitor's own small writes leave alone.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

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

void CheckOsdRecordSurvivesSave(settings::SettingsFiles& files) {
    settings::OsdSettings loaded{};
    settings::ResetOsdSettings(loaded);
    if (!settings::LoadOsdSettings(files, loaded))
        return;
    const runtime::OsdOptions options = runtime::OsdOptionsFromRecord(&loaded, sizeof loaded);
    FUZZ_CHECK(options.showProfile == loaded.showProfile);
    FUZZ_CHECK(settings::SaveOsdSettings(files, loaded));
    settings::OsdSettings back{};
    FUZZ_CHECK(settings::LoadOsdSettings(files, back));
    FUZZ_CHECK(std::memcmp(&loaded, &back, sizeof loaded) == 0);
}

// Monitor's load: config.ini's values and defaults for the missing profile
// files (a profile file itself is the profile_file target's input).
void LoadBlock(settings::SettingsFiles& files, settings::SettingsBlock& block) {
    FUZZ_CHECK(settings::LoadAll(files, nullptr, block, settings::DefaultsFor::Monitor));
    if (!settings::IsValidProfileIndex(block.currentProfile))
        return;
    // Monitor's single-key writers keep the rest of the file as it was.
    FUZZ_CHECK(settings::WriteDevice(files, true));
    FUZZ_CHECK(settings::WriteMacroOsd(files, 13, block.profiles[0].MacroKeyInfo[0].macroName));
    settings::SettingsBlock* back = &fuzz::ScratchRecord<settings::SettingsBlock, 1>();
    std::memset(back, 0, sizeof *back);
    FUZZ_CHECK(settings::LoadAll(files, nullptr, *back, settings::DefaultsFor::Monitor));
    FUZZ_CHECK(back->currentProfile == block.currentProfile);
    FUZZ_CHECK(back->mouseType == block.mouseType);
}

void CheckMacrosSurviveSave(settings::IniFileSystem& engine, const settings::SettingsBlock& block) {
    option::MacroFileStore store(engine, kFolder);
    FUZZ_CHECK(store.Load());
    store.MergeFromProfiles(block, option::MacroMerge::ButtonsWin);
    FUZZ_CHECK(store.Save());
    option::MacroFileStore back(engine, kFolder);
    FUZZ_CHECK(back.Load());
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
    const std::string text(reinterpret_cast<const char*>(data), size);
    testing_files::MemoryStore store;
    settings::EngineIniFileSystem engine(store);
    settings::SettingsFiles files(engine, kFolder);
    store.files[files.ConfigPath()] = text;
    store.files[std::string(kFolder) + option::kMacroFileName] = text;

    (void)settings::ReadFirmwareVersion(files);
    CheckOsdRecordSurvivesSave(files);
    settings::SettingsBlock* block = &fuzz::ScratchRecord<settings::SettingsBlock>();
    std::memset(block, 0, sizeof *block);
    LoadBlock(files, *block);
    CheckMacrosSurviveSave(engine, *block);
    return 0;
}
