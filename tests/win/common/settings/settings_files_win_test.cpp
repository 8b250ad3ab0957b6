// The settings adapters under Wine: the system's profile functions against the
// shared case list and against our engine, the registry values and system
// parameters of the pointer settings, and the system keyboard layout.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <thread>

#include "common/settings/ini_engine.h"
#include "common/settings/ini_file_win.h"
#include "common/settings/ini_rewrite_lock_win.h"
#include "common/settings/key_codes_win.h"
#include "common/settings/mouse_registry_win.h"
#include "common/settings/osd_settings.h"
#include "common/settings/settings_files.h"
#include "tests/unit/common/settings/ini_cases.h"
#include "tests/unit/common/settings/mouse_registry_cases.h"
#include "tests/unit/common/settings/profile_samples.h"

namespace settings {
namespace {

namespace fs = std::filesystem;

std::string WithSlash(const fs::path& p) {
    return p.string() + "\\";
}

// The system's own reader, and the adapter's reads from one parse of the file.
TEST(SystemProfileFunctions, ReadCasesBehaveAsListed) {
    for (IniReads reads : {IniReads::System, IniReads::Parsed}) {
        SCOPED_TRACE(reads == IniReads::System ? "system reader" : "parsed");
        SystemIniFileSystem system(reads);
        const fs::path folder = ini_cases::FreshFolder("a-sys-read");
        int i = 0;
        for (const auto& c : ini_cases::kReadCases) ini_cases::RunReadCase(system, folder, c, i++);
        ini_cases::RunLongValueCase(system, folder);
    }
}

TEST(SystemProfileFunctions, WriteCasesBehaveAsListed) {
    SystemIniFileSystem system;
    const fs::path folder = ini_cases::FreshFolder("a-sys-write");
    int i = 0;
    for (const auto& c : ini_cases::kWriteCases) ini_cases::RunWriteCase(system, folder, c, i++);
}

// The engine compiled for Windows runs the same cases in the same process.
TEST(EngineOnWindows, ReadAndWriteCasesBehaveAsListed) {
    DiskIniFileSystem engine;
    const fs::path folder = ini_cases::FreshFolder("a-eng-cases");
    int i = 0;
    for (const auto& c : ini_cases::kReadCases) ini_cases::RunReadCase(engine, folder, c, i++);
    i = 0;
    for (const auto& c : ini_cases::kWriteCases) ini_cases::RunWriteCase(engine, folder, c, i++);
    ini_cases::RunLongValueCase(engine, folder);
}

// Files written by one side read identically through the other, and both
// sides write the same bytes.
TEST(EngineOnWindows, ProfilesCrossBetweenSystemAndEngine) {
    SystemIniFileSystem system;
    DiskIniFileSystem engine;
    const fs::path folder = ini_cases::FreshFolder("a-cross");
    std::mt19937 rng(20261208);
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        auto written = std::make_unique<ProfileRecord>();
        samples::RandomProfile(rng, *written);
        const std::string bySystem = (folder / "system.gmp").string();
        const std::string byEngine = (folder / "engine.gmp").string();
        ASSERT_TRUE(SaveProfileFile(system, bySystem, *written));
        ASSERT_TRUE(SaveProfileFile(engine, byEngine, *written));
        EXPECT_EQ(ini_cases::ReadBytes(bySystem), ini_cases::ReadBytes(byEngine));

        auto a = std::make_unique<ProfileRecord>();
        auto b = std::make_unique<ProfileRecord>();
        ASSERT_TRUE(LoadProfileFile(engine, bySystem, *a));
        ASSERT_TRUE(LoadProfileFile(system, byEngine, *b));
        EXPECT_EQ(std::memcmp(a.get(), written.get(), sizeof *a), 0);
        EXPECT_EQ(std::memcmp(b.get(), written.get(), sizeof *b), 0);
    }
}

TEST(SystemSettingsFiles, SaveAllLoadAllAndTheAtomicSwap) {
    const fs::path folder = ini_cases::FreshFolder("a-files");
    fs::create_directories(folder / "config");
    SystemSettingsFiles files(WithSlash(folder));
    auto block = std::make_unique<SettingsBlock>();
    std::memset(block.get(), 0, sizeof *block);
    std::mt19937 rng(7);
    for (auto& p : block->profiles) samples::RandomProfile(rng, p);
    block->currentProfile = 3;
    block->mouseType = 12;
    block->mouseColor = -5;
    ASSERT_TRUE(WriteDevice(files, 1));
    ASSERT_TRUE(SaveAll(files, nullptr, *block));

    auto loaded = std::make_unique<SettingsBlock>();
    ASSERT_TRUE(LoadAll(files, nullptr, *loaded, DefaultsFor::Monitor));
    EXPECT_EQ(loaded->currentProfile, 3);
    EXPECT_EQ(loaded->mouseType, 12);
    EXPECT_EQ(loaded->mouseColor, -5);
    EXPECT_EQ(std::memcmp(loaded->profiles, block->profiles, sizeof block->profiles), 0);
    // Device survived the rewrite of config.ini, and no temporary file is left.
    EXPECT_EQ(GetPrivateProfileIntA("Setting", "Device", -1, files.Files().ConfigPath().c_str()),
              1);
    int entries = 0;
    for (const auto& e : fs::directory_iterator(folder)) entries += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(entries, 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "config"), fs::directory_iterator()),
              5);
}

// The display program and Option read config.ini whenever they like; a file
// they hold open for a moment must not make Monitor's writes get lost.
TEST(SystemSettingsFiles, WritesLandWhileAnotherReaderKeepsOpeningTheFile) {
    const fs::path folder = ini_cases::FreshFolder("a-busy");
    SystemSettingsFiles files(WithSlash(folder));
    ASSERT_TRUE(WriteDevice(files, 0));
    const std::string config = files.Files().ConfigPath();
    std::atomic<bool> stop{false};
    std::thread reader([&] {
        char value[16];
        while (!stop.load()) {
            GetPrivateProfileStringA("Setting", "Device", "", value, sizeof value, config.c_str());
        }
    });
    int failed = 0;
    for (int i = 1; i <= 40; ++i) failed += WriteDevice(files, i % 2) ? 0 : 1;
    stop.store(true);
    reader.join();
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(GetPrivateProfileIntA("Setting", "Device", -1, config.c_str()), 0);
    int entries = 0;
    for (const auto& e : fs::directory_iterator(folder)) entries += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(entries, 1) << "a temporary file was left behind";
}

TEST(SystemSettingsFiles, UnwritableConfigFolderFailsAndKeepsConfigIni) {
    const fs::path folder = ini_cases::FreshFolder("a-ro");
    // A file where the config folder should be: nothing can be created inside.
    ini_cases::WriteBytes(folder / "config", "not a folder");
    ini_cases::WriteBytes(folder / "config.ini", "[Setting]\r\nCurrentProfile=2\r\n");
    SystemSettingsFiles files(WithSlash(folder));
    auto block = std::make_unique<SettingsBlock>();
    FillDefaults(*block, DefaultsFor::Option);
    EXPECT_FALSE(SaveAll(files, nullptr, *block));
    // config.ini was rewritten whole; it is the new file, not a mix.
    EXPECT_EQ(ini_cases::ReadBytes(folder / "config.ini"),
              "[Setting]\r\nCurrentProfile=0\r\nMouseType=0\r\nMouseColor=0\r\n");
    EXPECT_EQ(ini_cases::ReadBytes(folder / "config"), "not a folder");
}

TEST(SystemSettingsFiles, OsdRecordSurvivesAndDamageLeavesItAlone) {
    const fs::path folder = ini_cases::FreshFolder("a-osd");
    SystemSettingsFiles files(WithSlash(folder));
    OsdSettings saved;
    std::memset(&saved, 0x3C, sizeof saved);
    ResetOsdSettings(saved);
    ASSERT_TRUE(SaveOsdSettings(files, saved));
    OsdSettings loaded;
    std::memset(&loaded, 0, sizeof loaded);
    ASSERT_TRUE(LoadOsdSettings(files, loaded));
    EXPECT_EQ(std::memcmp(&loaded, &saved, sizeof saved), 0);
    EXPECT_EQ(loaded.value140, 110);
    EXPECT_EQ(loaded.value344, 5);

    // Flip the checksum: the system decodes the bytes before it fails, the
    // record must still be untouched.
    std::string text = ini_cases::ReadBytes(folder / "config.ini");
    const std::size_t end = text.find("\r\n", text.find("config="));
    text[end - 1] = text[end - 1] == '0' ? '1' : '0';
    ini_cases::WriteBytes(folder / "config.ini", text);
    OsdSettings kept;
    std::memset(&kept, 0x77, sizeof kept);
    EXPECT_FALSE(LoadOsdSettings(files, kept));
    for (std::size_t i = 0; i < sizeof kept; ++i) {
        ASSERT_EQ(reinterpret_cast<unsigned char*>(&kept)[i], 0x77) << i;
    }
}

// ---------------------------------------------------------------------------
// Several processes rewriting config.ini at once.

constexpr int kWriterRounds = 150;
constexpr int kWriterKeys = 4;
constexpr const char* kWriterGoEvent = "GamingMouseTest.IniWriters.Go";
constexpr const char* kWriterReadySemaphore = "GamingMouseTest.IniWriters.Ready";

// Round r writes key <prefix><r % kWriterKeys> = r; the last round that wrote
// a key is the value it must end with.
std::string WriterKey(const std::string& prefix, int key) {
    return prefix + std::to_string(key);
}
int LastRoundOfKey(int key) {
    int last = -1;
    for (int r = 0; r < kWriterRounds; ++r) last = r % kWriterKeys == key ? r : last;
    return last;
}

// Not run on its own: the body of the writer processes that the test below
// starts (this program again, with the file and the key prefix in the
// environment).
TEST(ConfigIniWriters, DISABLED_WriterProcess) {
    const char* config = std::getenv("INI_WRITER_CONFIG");
    const char* prefix = std::getenv("INI_WRITER_PREFIX");
    ASSERT_NE(config, nullptr);
    ASSERT_NE(prefix, nullptr);
    HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, kWriterReadySemaphore);
    HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, kWriterGoEvent);
    ASSERT_NE(ready, nullptr);
    ASSERT_NE(go, nullptr);
    ReleaseSemaphore(ready, 1, nullptr);
    ASSERT_EQ(WaitForSingleObject(go, 60000), WAIT_OBJECT_0);
    SystemIniFileSystem system;
    for (int r = 0; r < kWriterRounds; ++r) {
        const std::string key = WriterKey(prefix, r % kWriterKeys);
        ASSERT_TRUE(RewriteIniFile(system, config,
                                   [&](IniFile& f) {
                                       return f.WriteString("Writers", key.c_str(),
                                                            std::to_string(r).c_str());
                                   }))
            << "round " << r;
    }
    CloseHandle(go);
    CloseHandle(ready);
}

HANDLE StartWriter(const std::string& config, const char* prefix) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    SetEnvironmentVariableA("INI_WRITER_CONFIG", config.c_str());
    SetEnvironmentVariableA("INI_WRITER_PREFIX", prefix);
    std::string line = std::string("\"") + self +
                       "\" --gtest_filter=ConfigIniWriters.DISABLED_WriterProcess"
                       " --gtest_also_run_disabled_tests";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return nullptr;
    }
    CloseHandle(info.hThread);
    return info.hProcess;
}

// Two processes rewrite config.ini in a loop, each its own keys, both at once
// (each its own profile-function cache, as Monitor and Option have): every
// key of both ends with its last value.
TEST(ConfigIniWriters, TwoProcessesKeepEachOthersKeys) {
    const fs::path folder = ini_cases::FreshFolder("a-writers");
    const std::string config = (folder / "config.ini").string();
    ini_cases::WriteBytes(folder / "config.ini", "[Setting]\r\nCurrentProfile=2\r\n");
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, kWriterGoEvent);
    HANDLE ready = CreateSemaphoreA(nullptr, 0, 2, kWriterReadySemaphore);
    ASSERT_NE(go, nullptr);
    ASSERT_NE(ready, nullptr);
    HANDLE writers[2] = {StartWriter(config, "Monitor"), StartWriter(config, "Option")};
    ASSERT_NE(writers[0], nullptr);
    ASSERT_NE(writers[1], nullptr);
    for (int i = 0; i < 2; ++i) ASSERT_EQ(WaitForSingleObject(ready, 60000), WAIT_OBJECT_0);
    SetEvent(go);
    for (HANDLE writer : writers) {
        EXPECT_EQ(WaitForSingleObject(writer, 120000), WAIT_OBJECT_0);
        DWORD code = 1;
        GetExitCodeProcess(writer, &code);
        EXPECT_EQ(code, 0u) << "a writer failed a rewrite";
        CloseHandle(writer);
    }
    CloseHandle(ready);
    CloseHandle(go);

    const IniDocument doc = IniDocument::Parse(ini_cases::ReadBytes(folder / "config.ini"));
    EXPECT_EQ(doc.GetInt("Setting", "CurrentProfile", -1), 2);
    for (const char* prefix : {"Monitor", "Option"}) {
        for (int key = 0; key < kWriterKeys; ++key) {
            EXPECT_EQ(doc.GetInt("Writers", WriterKey(prefix, key).c_str(), -1),
                      LastRoundOfKey(key))
                << WriterKey(prefix, key);
        }
    }
    int entries = 0;
    for (const auto& e : fs::directory_iterator(folder)) entries += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(entries, 1) << "a temporary file was left behind";
}

// A writer that holds the lock past the time-out makes the next write fail
// (reported, file unchanged); one that died holding it leaves it abandoned,
// which the next writer takes.
TEST(ConfigIniWriters, HeldLockFailsTheWriteAndAnAbandonedOneIsTaken) {
    const fs::path folder = ini_cases::FreshFolder("a-lock");
    const std::string config = (folder / "config.ini").string();
    ini_cases::WriteBytes(folder / "config.ini", "[Setting]\r\nDevice=0\r\n");
    SystemSettingsFiles files(WithSlash(folder));
    NamedMutexIniRewriteLock lock;

    std::atomic<bool> holding{false};
    std::atomic<bool> release{false};
    // Another spelling of the same path: the lock must be the same.
    std::string otherSpelling = config;
    for (char& c : otherSpelling) c = c == '\\' ? '/' : static_cast<char>(std::tolower(c));
    std::thread holder([&] {
        auto hold = lock.Acquire(otherSpelling);
        holding.store(hold != nullptr);
        while (hold && !release.load()) Sleep(10);
    });
    while (!holding.load() && !release.load()) Sleep(10);
    ASSERT_TRUE(holding.load());
    const DWORD start = GetTickCount();
    EXPECT_FALSE(WriteDevice(files, 1));
    EXPECT_GE(GetTickCount() - start, kIniRewriteLockTimeoutMs - 500);
    release.store(true);
    holder.join();
    EXPECT_EQ(ini_cases::ReadBytes(folder / "config.ini"), "[Setting]\r\nDevice=0\r\n");

    // The hold is dropped without being given back, as by a process that died.
    std::thread dying([&] { lock.Acquire(config).release(); });
    dying.join();
    EXPECT_TRUE(WriteDevice(files, 1));
    EXPECT_EQ(GetPrivateProfileIntA("Setting", "Device", -1, config.c_str()), 1);
}

// ---------------------------------------------------------------------------

std::string RegText(const char* key, const char* value) {
    char buffer[80] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueA(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS) {
        return "<missing>";
    }
    return buffer;
}

void SetRegText(const char* key, const char* value, const char* text) {
    HKEY h;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(h, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(std::strlen(text) + 1));
    RegCloseKey(h);
}

constexpr const char* kMouse = "Control Panel\\Mouse";
constexpr const char* kDesktop = "Control Panel\\Desktop";

// Keeps the prefix's pointer settings as they were before a test.
class RegistryGuard {
  public:
    RegistryGuard() {
        for (const char* v : kMouseValues) saved_.push_back(RegText(kMouse, v));
        wheel_ = RegText(kDesktop, "WheelScrollLines");
    }
    ~RegistryGuard() {
        for (std::size_t i = 0; i < std::size(kMouseValues); ++i) {
            if (saved_[i] != "<missing>")
                SetRegText(kMouse, kMouseValues[i], saved_[i].c_str());
        }
        if (wheel_ != "<missing>")
            SetRegText(kDesktop, "WheelScrollLines", wheel_.c_str());
    }

  private:
    static constexpr const char* kMouseValues[] = {"DoubleClickSpeed", "MouseSensitivity",
                                                   "MouseTrails",      "MouseSpeed",
                                                   "MouseThreshold1",  "MouseThreshold2"};
    std::vector<std::string> saved_;
    std::string wheel_;
};

ProfileRecord PointerProfile() {
    ProfileRecord p;
    FillDefaultProfile(p, 0, DefaultsFor::Monitor);
    return p;
}

TEST(SystemMouseRegistryAdapter, WritesTheTextsAndReadsThemBack) {
    RegistryGuard guard;
    SystemMouseRegistry registry;
    for (const registry_cases::RoundTrip& c : registry_cases::kRoundTrips) {
        SCOPED_TRACE(c.name);
        ProfileRecord p = PointerProfile();
        registry_cases::Put(c.written, p);
        ASSERT_EQ(WriteRegistryFromProfile(registry, p), 1);
        for (std::size_t i = 0; i < registry_cases::kValues.size(); ++i) {
            const std::string path = registry_cases::kValues[i];
            const std::size_t slash = path.find('\\');
            const std::string key = "Control Panel\\" + path.substr(0, slash);
            EXPECT_EQ(RegText(key.c_str(), path.substr(slash + 1).c_str()), c.texts[i]) << path;
        }
        ProfileRecord back = PointerProfile();
        ASSERT_EQ(ReadRegistryIntoProfile(registry, back), 1);
        EXPECT_EQ(registry_cases::Take(back), c.readBack);
    }
}

TEST(SystemMouseApply, ZeroesAccelerationAndSetsTheSystemValues) {
    RegistryGuard guard;
    SystemMouseRegistry registry;
    SetRegText(kMouse, "MouseSpeed", "1");
    SetRegText(kMouse, "MouseThreshold1", "6");
    SetRegText(kMouse, "MouseThreshold2", "0");
    std::unique_ptr<RegistryKey> mouseKey = registry.Open(MouseRegistryKey::Mouse, false);
    ASSERT_NE(mouseKey, nullptr);

    Win32SystemMouse system(nullptr);
    ProfileRecord p = PointerProfile();
    registry_cases::Put({640, p.MouseSpeed, 1, 0, 0, 8, 0, 9}, p);
    ApplySystemMouseSettings(p, system, mouseKey.get());

    EXPECT_EQ(p.Acceleration, 0);
    EXPECT_EQ(RegText(kMouse, "MouseSpeed"), "0");
    EXPECT_EQ(RegText(kMouse, "MouseThreshold1"), "0");
    EXPECT_EQ(RegText(kMouse, "MouseThreshold2"), "0");
    int mouse[3] = {-1, -1, -1};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETMOUSE, 0, mouse, 0));
    EXPECT_EQ(mouse[0], 0);
    EXPECT_EQ(mouse[1], 0);
    EXPECT_EQ(mouse[2], 0);
    UINT lines = 0;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
    EXPECT_EQ(lines, 9u);
    UINT trails = 0;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETMOUSETRAILS, 0, &trails, 0));
    EXPECT_EQ(trails, 4u);
    EXPECT_EQ(GetDoubleClickTime(), 640u);

    // Acceleration on uses the registry's row as it stands.
    SetRegText(kMouse, "MouseSpeed", "2");
    SetRegText(kMouse, "MouseThreshold1", "4");
    SetRegText(kMouse, "MouseThreshold2", "9");
    p.AccelerationFlag = 1;
    p.Acceleration = 15;
    p.bMouseTrails = 0;
    p.ScrollWheelFlag = 1;
    ApplySystemMouseSettings(p, system, mouseKey.get());
    EXPECT_EQ(p.Acceleration, 15);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETMOUSE, 0, mouse, 0));
    EXPECT_EQ(mouse[0], 4);
    EXPECT_EQ(mouse[1], 9);
    EXPECT_EQ(mouse[2], 2);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
    EXPECT_EQ(lines, WHEEL_PAGESCROLL);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETMOUSETRAILS, 0, &trails, 0));
    EXPECT_EQ(trails, 0u);
}

// ---------------------------------------------------------------------------

TEST(SystemKeyboardLayoutAdapter, RoundTripsEveryLayoutKeyOnTheInstalledLayout) {
    const KeyboardLayout& layout = CurrentKeyboardLayout();
    EXPECT_EQ(layout.VirtualKeyToScanCode('A'), 0x1Eu);
    int checked = 0;
    for (const KeyCodeRow& row : KeyCodeTable()) {
        const KeyLookup vk = VirtualKeyFromKeyCode(row.keyCode, layout);
        ASSERT_TRUE(vk.found);
        const KeyLookup code = KeyCodeFromVirtualKey(vk.value, layout);
        // Mouse buttons and Print Screen round-trip by the table alone.
        EXPECT_TRUE(code.found);
        EXPECT_EQ(code.value, row.keyCode) << std::hex << unsigned(row.keyCode);
        ++checked;
    }
    EXPECT_EQ(checked, 109);
}

}  // namespace
}  // namespace settings
