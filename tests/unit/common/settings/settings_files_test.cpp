#include "common/settings/settings_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "common/settings/osd_settings.h"
#include "tests/unit/common/settings/memory_store.h"
#include "tests/unit/common/settings/profile_samples.h"
#include "tests/unit/common/settings/rewrite_lock_doubles.h"

namespace settings {
namespace {

constexpr const char* kFolder = "C:\\Prog\\";
constexpr const char* kConfig = "C:\\Prog\\config.ini";

std::string ProfileFile(int n) {
    return "C:\\Prog\\config\\Default" + std::to_string(n) + ".gmp";
}

struct Fixture {
    testing_files::MemoryStore store;
    EngineIniFileSystem engine{store};
    SettingsFiles files{engine, kFolder};
};

std::unique_ptr<SettingsBlock> NewBlock(std::uint8_t fill = 0) {
    auto b = std::make_unique<SettingsBlock>();
    std::memset(b.get(), fill, sizeof *b);
    return b;
}

// Keys of a file in the order they appear.
std::vector<std::string> KeysOf(const std::string& text) {
    std::vector<std::string> keys;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        const std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line[0] != '[')
            keys.push_back(line.substr(0, line.find('=')));
        pos = end + 2;
    }
    return keys;
}

std::vector<std::string> Expand(std::initializer_list<std::pair<const char*, int>> groups) {
    std::vector<std::string> keys;
    for (const auto& [key, count] : groups) {
        if (count == 1) {
            keys.emplace_back(key);
        } else {
            for (int i = 0; i < count; ++i) keys.push_back(key + std::to_string(i));
        }
    }
    return keys;
}

const std::vector<std::string> kLoaderOrder = Expand({
    {"ProFileName", 1},        {"GameFile", 1},      {"DbleClickSpeed", 1}, {"ScrollWheelSpeed", 1},
    {"ScrollWheelFlag", 1},    {"MouseSpeed", 1},    {"Acceleration", 1},   {"AccelerationFlag", 1},
    {"MouseTrails", 1},        {"bMouseTrails", 1},  {"TiltSpeed", 1},      {"PollingRate", 1},
    {"MediaOption", 1},        {"Orientation", 1},   {"XYSynchronous", 1},  {"Sensitivity_X", 1},
    {"Sensitivity_Y", 1},      {"Cpi_X", 1},         {"Cpi_Y", 1},          {"XYCpiFlag", 1},
    {"LedDPIColor", 4},        {"CpiLevel_X", 5},    {"CpiLevel_Y", 5},     {"CpiStep", 1},
    {"ColorFlag", 1},          {"LightSwitch", 1},   {"LightType", 1},      {"ColorChangeMode", 1},
    {"OTGSpeed", 1},           {"HeartBFlag", 1},    {"HeartBSpeed", 1},    {"dpiStepFlag", 8},
    {"dpibyDpiIndicator", 10}, {"ColorOptions", 8},  {"ColorType", 8},      {"ClCustom", 8},
    {"DpiIndicationType", 1},  {"MacroKeyInfo", 16},
});

const std::vector<std::string> kSaverOrder = Expand({
    {"ProFileName", 1},        {"GameFile", 1},      {"DbleClickSpeed", 1}, {"ScrollWheelSpeed", 1},
    {"ScrollWheelFlag", 1},    {"MouseSpeed", 1},    {"Acceleration", 1},   {"AccelerationFlag", 1},
    {"MouseTrails", 1},        {"bMouseTrails", 1},  {"TiltSpeed", 1},      {"MediaOption", 1},
    {"PollingRate", 1},        {"LedDPIColor", 4},   {"Orientation", 1},    {"XYSynchronous", 1},
    {"Sensitivity_X", 1},      {"Sensitivity_Y", 1}, {"Cpi_X", 1},          {"Cpi_Y", 1},
    {"XYCpiFlag", 1},          {"CpiLevel_X", 5},    {"CpiLevel_Y", 5},     {"CpiStep", 1},
    {"ColorFlag", 1},          {"LightSwitch", 1},   {"LightType", 1},      {"ColorChangeMode", 1},
    {"OTGSpeed", 1},           {"HeartBFlag", 1},    {"HeartBSpeed", 1},    {"dpiStepFlag", 8},
    {"dpibyDpiIndicator", 10}, {"ColorOptions", 8},  {"ColorType", 8},      {"ClCustom", 8},
    {"DpiIndicationType", 1},  {"MacroKeyInfo", 16},
});

// Records which keys are read, in order, and answers from an engine file.
class RecordingFile final : public IniFile {
  public:
    explicit RecordingFile(IniFile& inner) : inner_(inner) {}
    std::vector<std::string> keys;
    std::int32_t GetInt(const char* s, const char* k, std::int32_t d) override {
        keys.emplace_back(k);
        EXPECT_EQ(d, -1) << k;
        return inner_.GetInt(s, k, d);
    }
    std::string GetString(const char* s, const char* k, const char* d) override {
        keys.emplace_back(k);
        EXPECT_STREQ(d, "") << k;
        return inner_.GetString(s, k, d);
    }
    bool GetStruct(const char* s, const char* k, void* data, std::size_t size) override {
        keys.emplace_back(k);
        EXPECT_EQ(size, 460u) << k;
        return inner_.GetStruct(s, k, data, size);
    }
    bool WriteString(const char*, const char* k, const char*) override {
        ADD_FAILURE() << "unexpected write of " << k;
        return false;
    }
    bool WriteStruct(const char*, const char* k, const void*, std::size_t) override {
        ADD_FAILURE() << "unexpected write of " << k;
        return false;
    }
    bool Flush() override { return true; }

  private:
    IniFile& inner_;
};

TEST(ProfileFile, KeysAreReadAndWrittenInTheirOwnOrders) {
    Fixture f;
    auto p = std::make_unique<ProfileRecord>();
    FillDefaultProfile(*p, 0, DefaultsFor::Option);
    ASSERT_TRUE(SaveProfileFile(f.engine, ProfileFile(0), *p));
    EXPECT_EQ(KeysOf(f.store.files[ProfileFile(0)]), kSaverOrder);

    std::unique_ptr<IniFile> file = f.engine.Open(ProfileFile(0));
    RecordingFile recording(*file);
    ReadProfile(recording, *p);
    EXPECT_EQ(recording.keys, kLoaderOrder);
}

TEST(ProfileFile, RandomRecordsRoundTripByteForByte) {
    Fixture f;
    std::mt19937 rng(1208);
    auto written = std::make_unique<ProfileRecord>();
    auto read = std::make_unique<ProfileRecord>();
    for (int round = 0; round < 150; ++round) {
        samples::RandomProfile(rng, *written);
        // Alternate between a new file and overwriting the previous one.
        if (round % 2 == 0)
            f.store.files.clear();
        ASSERT_TRUE(SaveProfileFile(f.engine, ProfileFile(1), *written));
        std::memset(read.get(), 0x5A, sizeof *read);
        ASSERT_TRUE(LoadProfileFile(f.engine, ProfileFile(1), *read));
        ASSERT_EQ(std::memcmp(read.get(), written.get(), sizeof *read), 0) << round;
    }
}

TEST(ProfileFile, KnownValuesAndTheirText) {
    Fixture f;
    auto p = std::make_unique<ProfileRecord>();
    FillDefaultProfile(*p, 2, DefaultsFor::Option);
    p->dpiStepFlag[0] = 0xFF;
    p->ClCustom[1] = 0xFFFFFFFF;
    p->MacroKeyInfo[0].actionCode = 5;
    ASSERT_TRUE(SaveProfileFile(f.engine, ProfileFile(2), *p));
    const std::string text = f.store.files[ProfileFile(2)];
    EXPECT_EQ(text.rfind("[Setting]\r\nProFileName=Default3\r\nGameFile=\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\ndpiStepFlag0=255\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nClCustom1=-1\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nLedDPIColor0=16711680\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nMacroKeyInfo0=0005" + std::string(916, '0') + "05\r\n"),
              std::string::npos);
}

TEST(ProfileFile, MissingKeysGiveMinusOneAndEmptyTexts) {
    Fixture f;
    f.store.files[ProfileFile(0)] = "[Setting]\r\nTiltSpeed=6\r\n";
    auto p = std::make_unique<ProfileRecord>();
    ASSERT_TRUE(LoadProfileFile(f.engine, ProfileFile(0), *p));
    EXPECT_EQ(p->TiltSpeed, 6);
    EXPECT_EQ(p->ProFileName[0], '\0');
    EXPECT_EQ(p->DbleClickSpeed, -1);
    EXPECT_EQ(p->ClCustom[7], 0xFFFFFFFFu);
    for (auto b : p->dpibyDpiIndicator) EXPECT_EQ(b, 0xFF);
    EXPECT_EQ(p->DpiIndicationType, 0xFF);
    EXPECT_EQ(p->reserved908, 0);
    EXPECT_EQ(p->reserved1015, 0);
    for (int b = 0; b < kButtonCount; ++b) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&p->MacroKeyInfo[b]);
        EXPECT_EQ(bytes[0], b);
        for (std::size_t i = 1; i < sizeof(ButtonAssignment); ++i) ASSERT_EQ(bytes[i], 0) << b;
    }
}

TEST(ProfileFile, BadButtonValuesGiveAnEmptyRecordOfThatButtonOnly) {
    Fixture f;
    auto p = std::make_unique<ProfileRecord>();
    FillDefaultProfile(*p, 0, DefaultsFor::Option);
    for (auto& info : p->MacroKeyInfo) info.fireValueA = 77;
    ASSERT_TRUE(SaveProfileFile(f.engine, ProfileFile(0), *p));
    std::string& text = f.store.files[ProfileFile(0)];
    // Button 3: wrong checksum. Button 4: one byte short. Button 5: not hex.
    auto value = [&](int b) {
        const std::string key = "MacroKeyInfo" + std::to_string(b) + "=";
        return text.find(key) + key.size();
    };
    text[value(3) + 920] = text[value(3) + 920] == '0' ? '1' : '0';
    text.erase(value(4), 2);
    text[value(5) + 10] = '#';
    auto back = std::make_unique<ProfileRecord>();
    ASSERT_TRUE(LoadProfileFile(f.engine, ProfileFile(0), *back));
    for (int b = 0; b < kButtonCount; ++b) {
        const bool damaged = b >= 3 && b <= 5;
        EXPECT_EQ(back->MacroKeyInfo[b].buttonIndex, b);
        EXPECT_EQ(back->MacroKeyInfo[b].fireValueA, damaged ? 0 : 77) << b;
        EXPECT_EQ(back->MacroKeyInfo[b].actionCode, damaged ? 0 : p->MacroKeyInfo[b].actionCode);
    }
    EXPECT_STREQ(back->ProFileName, "Default1");
}

TEST(ProfileFile, LongTextsAreCutToTheirFields) {
    Fixture f;
    f.store.files[ProfileFile(0)] = "[Setting]\r\nProFileName=" + std::string(400, 'n') +
                                    "\r\nGameFile=" + std::string(3000, 'g') +
                                    "\r\nMouseSpeed=4\r\n";
    auto p = std::make_unique<ProfileRecord>();
    ASSERT_TRUE(LoadProfileFile(f.engine, ProfileFile(0), *p));
    EXPECT_EQ(FieldLength(p->ProFileName), 249u);
    EXPECT_EQ(FieldLength(p->GameFile), 501u);
    EXPECT_EQ(p->MouseSpeed, 4);
}

TEST(ProfileFile, TruncatedAndGarbageFilesNeverCorruptOtherFields) {
    Fixture f;
    auto p = std::make_unique<ProfileRecord>();
    FillDefaultProfile(*p, 0, DefaultsFor::Option);
    ASSERT_TRUE(SaveProfileFile(f.engine, ProfileFile(0), *p));
    const std::string full = f.store.files[ProfileFile(0)];
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> byte(0, 255);
    auto back = std::make_unique<ProfileRecord>();
    for (std::size_t cut = 0; cut < full.size(); cut += 97) {
        f.store.files[ProfileFile(0)] = full.substr(0, cut);
        ASSERT_TRUE(LoadProfileFile(f.engine, ProfileFile(0), *back));
        // Every field either came through whole or holds its missing value.
        EXPECT_TRUE(back->MouseSpeed == 10 || back->MouseSpeed == -1);
        EXPECT_TRUE(back->HeartBSpeed == 20 || back->HeartBSpeed == -1);
        for (int b = 0; b < kButtonCount; ++b) {
            EXPECT_EQ(back->MacroKeyInfo[b].buttonIndex, b);
            EXPECT_TRUE(back->MacroKeyInfo[b].actionCode == kDefaultButtonActions[b] ||
                        back->MacroKeyInfo[b].actionCode == 0);
        }
    }
    for (int round = 0; round < 50; ++round) {
        std::string junk(2000, '\0');
        for (char& c : junk) c = static_cast<char>(byte(rng));
        // Garbage in the middle of an intact file.
        f.store.files[ProfileFile(0)] =
            full.substr(0, full.size() / 2) + "\r\n" + junk + "\r\n[Setting]\r\n";
        ASSERT_TRUE(LoadProfileFile(f.engine, ProfileFile(0), *back));
        EXPECT_STREQ(back->ProFileName, "Default1");
        EXPECT_EQ(back->DbleClickSpeed, 500);
    }
}

TEST(LoadAll, MissingConfigAndProfilesGiveMinusOnesAndDefaults) {
    Fixture f;
    auto block = NewBlock(0x33);
    ASSERT_TRUE(LoadAll(f.files, nullptr, *block, DefaultsFor::Monitor));
    EXPECT_EQ(block->currentProfile, -1);
    EXPECT_EQ(block->mouseType, -1);
    EXPECT_EQ(block->mouseColor, -1);
    EXPECT_EQ(ReadFirmwareVersion(f.files), 100);
    for (int n = 0; n < kProfileCount; ++n) {
        ProfileRecord expected;
        FillDefaultProfile(expected, n, DefaultsFor::Monitor);
        EXPECT_EQ(std::memcmp(&block->profiles[n], &expected, sizeof expected), 0) << n;
    }
    for (int i = 0; i < kChangeFlagCount; ++i) EXPECT_EQ(ChangeFlag(*block, i), 0);
}

TEST(LoadAll, OneMissingProfileFileGetsItsOwnDefaults) {
    Fixture f;
    auto block = NewBlock();
    std::mt19937 rng(11);
    for (auto& p : block->profiles) samples::RandomProfile(rng, p);
    block->currentProfile = 1;
    ASSERT_TRUE(SaveAll(f.files, nullptr, *block));
    f.store.files.erase(ProfileFile(2));
    auto loaded = NewBlock(0x44);
    ASSERT_TRUE(LoadAll(f.files, nullptr, *loaded, DefaultsFor::Option));
    ProfileRecord expected;
    FillDefaultProfile(expected, 2, DefaultsFor::Option);
    EXPECT_EQ(std::memcmp(&loaded->profiles[2], &expected, sizeof expected), 0);
    for (int n : {0, 1, 3, 4}) {
        EXPECT_EQ(std::memcmp(&loaded->profiles[n], &block->profiles[n], sizeof expected), 0);
    }
}

// Registry double that counts every access.
class CountingRegistry final : public MouseRegistry {
  public:
    int opens = 0;
    std::unique_ptr<RegistryKey> Open(MouseRegistryKey, bool) override {
        ++opens;
        return nullptr;
    }
};

TEST(LoadAll, CurrentProfileOutOfRangeReadsNoRegistry) {
    Fixture f;
    auto saved = NewBlock();
    std::mt19937 rng(17);
    for (auto& p : saved->profiles) samples::RandomProfile(rng, p);
    ASSERT_TRUE(SaveAll(f.files, nullptr, *saved));
    f.store.files[kConfig] = "[Setting]\r\nCurrentProfile=7\r\nMouseType=3\r\nMouseColor=4\r\n";
    CountingRegistry registry;
    auto block = NewBlock();
    ASSERT_TRUE(LoadAll(f.files, &registry, *block, DefaultsFor::Monitor));
    EXPECT_EQ(block->currentProfile, 7);
    EXPECT_EQ(block->mouseType, 3);
    EXPECT_EQ(block->mouseColor, 4);
    EXPECT_EQ(registry.opens, 0);
    EXPECT_EQ(std::memcmp(block->profiles, saved->profiles, sizeof saved->profiles), 0);
    // In range, the registry is consulted.
    f.store.files[kConfig] = "[Setting]\r\nCurrentProfile=4\r\n";
    ASSERT_TRUE(LoadAll(f.files, &registry, *block, DefaultsFor::Monitor));
    EXPECT_EQ(registry.opens, 1);
    ASSERT_TRUE(SaveAll(f.files, &registry, *block));
    EXPECT_EQ(registry.opens, 2);
    block->currentProfile = -1;
    ASSERT_TRUE(SaveAll(f.files, &registry, *block));
    EXPECT_EQ(registry.opens, 2);
}

TEST(SaveAll, KeepsOtherConfigKeysAndWritesTheThreeValues) {
    Fixture f;
    EXPECT_EQ(ReadLanguage(f.files), "");
    f.store.files[kConfig] =
        "[Setting]\r\nFWVersion=112\r\nDevice=1\r\nLanguage=de-AT\r\n[OSDSetting]\r\nconfig=00\r\n";
    auto block = NewBlock();
    FillDefaults(*block, DefaultsFor::Option);
    block->mouseType = 2;
    block->mouseColor = 9;
    ASSERT_TRUE(SaveAll(f.files, nullptr, *block));
    EXPECT_EQ(f.store.files[kConfig],
              "[Setting]\r\nFWVersion=112\r\nDevice=1\r\nLanguage=de-AT\r\nCurrentProfile=0\r\n"
              "MouseType=2\r\nMouseColor=9\r\n[OSDSetting]\r\nconfig=00\r\n");
    EXPECT_EQ(ReadFirmwareVersion(f.files), 112);
    EXPECT_EQ(ReadLanguage(f.files), "de-AT");
    ASSERT_TRUE(WriteDevice(f.files, 0));
    EXPECT_NE(f.store.files[kConfig].find("\r\nDevice=0\r\n"), std::string::npos);
    ASSERT_TRUE(WriteLanguage(f.files, ""));
    EXPECT_EQ(ReadLanguage(f.files), "");
    // Only the six files remain: no temporary copies are left behind.
    EXPECT_EQ(f.store.files.size(), 6u);
}

TEST(SaveAll, RewritesOnlyChangedFilesAndLeavesWhatAFullRewriteWould) {
    Fixture f;
    f.store.files[kConfig] = "[Setting]\r\nFWVersion=112\r\n";
    auto block = NewBlock();
    FillDefaults(*block, DefaultsFor::Option);
    ASSERT_TRUE(SaveAll(f.files, nullptr, *block));
    const int changes = f.store.changes;
    ASSERT_TRUE(SaveAll(f.files, nullptr, *block));
    EXPECT_EQ(f.store.changes, changes) << "a save of unchanged values wrote";

    block->profiles[3].Cpi_X += 1;
    block->currentProfile = 3;
    Fixture full;  // the same save with every file rewritten
    full.store.files = f.store.files;
    ASSERT_TRUE(RewriteIniFile(full.engine, kConfig, [&](IniFile& file) {
        return file.WriteString(kSettingSection, "CurrentProfile", "3") &&
               file.WriteString(kSettingSection, "MouseType",
                                std::to_string(block->mouseType).c_str()) &&
               file.WriteString(kSettingSection, "MouseColor",
                                std::to_string(block->mouseColor).c_str());
    }));
    for (int n = 0; n < kProfileCount; ++n) {
        ASSERT_TRUE(RewriteIniFile(full.engine, ProfileFile(n), [&](IniFile& file) {
            return WriteProfile(file, block->profiles[n]);
        }));
    }
    ASSERT_TRUE(SaveAll(f.files, nullptr, *block));
    EXPECT_EQ(f.store.files, full.store.files);
    // config.ini and Default3.gmp only: a copy, its write and the replace each.
    EXPECT_EQ(f.store.changes - changes, 6);
}

TEST(SaveAll, ReadOnlyConfigFolderFailsAndLeavesTheProfilesWhole) {
    Fixture f;
    auto before = NewBlock();
    FillDefaults(*before, DefaultsFor::Option);
    ASSERT_TRUE(SaveAll(f.files, nullptr, *before));
    const auto old = f.store.files;

    auto after = NewBlock();
    std::mt19937 rng(21);
    for (auto& p : after->profiles) samples::RandomProfile(rng, p);
    after->currentProfile = 2;
    f.store.readOnlyFolders.push_back("C:\\Prog\\config\\");
    EXPECT_FALSE(SaveAll(f.files, nullptr, *after));
    for (int n = 0; n < kProfileCount; ++n)
        EXPECT_EQ(f.store.files[ProfileFile(n)], old.at(ProfileFile(n)));
    EXPECT_NE(f.store.files[kConfig].find("CurrentProfile=2"), std::string::npos);

    f.store.readOnlyFolders.push_back(kFolder);
    EXPECT_FALSE(WriteDevice(f.files, 1));
    EXPECT_EQ(f.store.files[kConfig].find("Device"), std::string::npos);
    EXPECT_EQ(f.store.files.size(), 6u);
}

TEST(SaveAll, CrashAtAnyPointLeavesEachFileOldOrNew) {
    auto oldBlock = NewBlock();
    FillDefaults(*oldBlock, DefaultsFor::Option);
    auto newBlock = NewBlock();
    std::mt19937 rng(8);
    for (auto& p : newBlock->profiles) samples::RandomProfile(rng, p);
    newBlock->currentProfile = 4;

    Fixture reference;
    ASSERT_TRUE(SaveAll(reference.files, nullptr, *oldBlock));
    const auto oldFiles = reference.store.files;
    ASSERT_TRUE(SaveAll(reference.files, nullptr, *newBlock));
    const auto newFiles = reference.store.files;

    int mixedStates = 0;
    for (int crash = 0; crash <= 20; ++crash) {
        Fixture f;
        f.store.files = oldFiles;
        f.store.crashAfter = crash;
        const bool ok = SaveAll(f.files, nullptr, *newBlock);
        int newer = 0;
        for (const auto& [path, text] : oldFiles) {
            const std::string& now = f.store.files[path];
            ASSERT_TRUE(now == text || now == newFiles.at(path)) << crash << " " << path;
            newer += now == newFiles.at(path) ? 1 : 0;
        }
        EXPECT_EQ(ok, newer == 6) << crash;
        mixedStates += (newer > 0 && newer < 6) ? 1 : 0;
        // Whatever survived loads without trouble.
        auto loaded = NewBlock();
        f.store.crashAfter = -1;
        f.store.crashed = false;
        ASSERT_TRUE(LoadAll(f.files, nullptr, *loaded, DefaultsFor::Option));
    }
    EXPECT_GT(mixedStates, 0);
}

TEST(OsdRecord, SaveLoadResetAndDamage) {
    Fixture f;
    OsdSettings record;
    std::memset(&record, 0x11, sizeof record);
    ResetOsdSettings(record);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    for (std::size_t i = 0; i < 40; ++i) ASSERT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(record.text40[0], '\0');
    EXPECT_EQ(record.text40[1], 0x11);
    EXPECT_EQ(record.text144[0], '\0');
    EXPECT_EQ(record.text144[99], 0x11);
    EXPECT_EQ(record.text244[0], '\0');
    EXPECT_EQ(record.text244[1], 0x11);
    EXPECT_EQ(record.value140, 110);
    EXPECT_EQ(record.value344, 5);

    // Missing value: the record stays as it was.
    OsdSettings loaded;
    std::memset(&loaded, 0, sizeof loaded);
    EXPECT_FALSE(LoadOsdSettings(f.files, loaded));
    for (std::size_t i = 0; i < sizeof loaded; ++i) {
        ASSERT_EQ(reinterpret_cast<unsigned char*>(&loaded)[i], 0);
    }

    ASSERT_TRUE(SaveOsdSettings(f.files, record));
    const std::string text = f.store.files[kConfig];
    EXPECT_EQ(text.rfind("[OSDSetting]\r\nconfig=", 0), 0u);
    EXPECT_EQ(text.size(), std::string("[OSDSetting]\r\nconfig=\r\n").size() + 2 * 348 + 2);
    ASSERT_TRUE(LoadOsdSettings(f.files, loaded));
    EXPECT_EQ(std::memcmp(&loaded, &record, sizeof record), 0);

    // A damaged value leaves the record alone, even though decoding starts.
    std::string& damaged = f.store.files[kConfig];
    damaged[damaged.size() - 3] = damaged[damaged.size() - 3] == 'F' ? 'E' : 'F';
    OsdSettings kept;
    std::memset(&kept, 0x66, sizeof kept);
    EXPECT_FALSE(LoadOsdSettings(f.files, kept));
    for (std::size_t i = 0; i < sizeof kept; ++i) {
        ASSERT_EQ(reinterpret_cast<unsigned char*>(&kept)[i], 0x66) << i;
    }
}

TEST(MonitorWriters, MacroAndMessageValues) {
    Fixture f;
    ASSERT_TRUE(WriteMacroOsd(f.files, 13, "Burst"));
    EXPECT_EQ(f.store.files[kConfig], "[MacroOSD]\r\nNumber=3\r\nMacroName=Burst\r\n");
    ASSERT_TRUE(WriteMacroOsd(f.files, 14, ""));
    ASSERT_TRUE(WriteMacroOsd(f.files, 9, "Nine"));
    ASSERT_TRUE(WriteOsdMessage(f.files, "CPI: 1600"));
    EXPECT_EQ(f.store.files[kConfig],
              "[MacroOSD]\r\nNumber=9\r\nMacroName=Nine\r\n[OSDData]\r\nMessage=CPI: 1600\r\n");
}

// Each writer of Monitor and Option replaces config.ini or a profile file
// only while it holds that very file's lock.
TEST(SettingsWriters, ReplaceEachFileOnlyUnderItsOwnLock) {
    testing_files::MemoryStore store;
    std::vector<std::string> log;
    testing_files::RecordingRewriteLock lock(log);
    class CheckingStore final : public settings::TextFileStore {
      public:
        CheckingStore(testing_files::MemoryStore& inner, testing_files::RecordingRewriteLock& lock)
            : inner_(inner), lock_(lock) {}
        int replaced = 0;
        bool ReadAll(const std::string& p, std::string& b) override { return inner_.ReadAll(p, b); }
        bool WriteAll(const std::string& p, const std::string& b) override {
            return inner_.WriteAll(p, b);
        }
        bool Exists(const std::string& p) override { return inner_.Exists(p); }
        bool Rename(const std::string& from, const std::string& to) override {
            EXPECT_EQ(lock_.held.count(to), 1u) << to << " replaced without its lock";
            ++replaced;
            return inner_.Rename(from, to);
        }
        void Remove(const std::string& p) override { inner_.Remove(p); }

      private:
        testing_files::MemoryStore& inner_;
        testing_files::RecordingRewriteLock& lock_;
    } checking(store, lock);
    EngineIniFileSystem engine(checking, lock);
    SettingsFiles files(engine, kFolder);

    auto block = NewBlock();
    FillDefaults(*block, DefaultsFor::Option);
    ASSERT_TRUE(SaveAll(files, nullptr, *block));
    ASSERT_TRUE(WriteDevice(files, 1));
    ASSERT_TRUE(WriteMacroOsd(files, 2, "m"));
    ASSERT_TRUE(WriteOsdMessage(files, "CPI: 90"));
    OsdSettings osd;
    std::memset(&osd, 0, sizeof osd);
    ASSERT_TRUE(SaveOsdSettings(files, osd));
    EXPECT_EQ(checking.replaced, 10);
    EXPECT_EQ(lock.acquired, 10);
    EXPECT_TRUE(lock.held.empty());
}

}  // namespace
}  // namespace settings
