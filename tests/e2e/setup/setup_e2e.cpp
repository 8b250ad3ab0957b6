// The setup program end to end, in a Wine prefix of its own: a silent
// install, the installed programs at work with the virtual mouse, the
// Start-menu entry's "1" answered by the running Monitor, an upgrade in place
// that keeps the user's settings, a silent removal that keeps them too, and
// an installation over them that keeps them and the choice about the Run key,
// a removal that takes the settings too, and last a fresh install in another
// language than Windows' that hands that language to the programs.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/settings/ini_file_win.h"
#include "common/settings/settings_block.h"
#include "common/settings/settings_files.h"
#include "tests/e2e/device/virtual_mouse_session_win.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/support/artifacts_folder_win.h"
#include "tests/support/file_bytes.h"
#include "tools/SkinGallery/gallery_window_win.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr const char* kProduct = "Professional Gaming Optical Mouse";
constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ProfessionalGamingOpticalMouse";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kOsdTitle = "Professional Gaming Optical Mouse OSD";
// Where setup and uninstaller remember the setup's language (a LANGID).
constexpr const char* kLanguageValue = "Installer Language";

// What the setup puts in the program folder besides the user's settings.
const std::vector<std::string> kPrograms = {"Monitor.exe", "Option.exe", "korrin.dll", "lan.dll",
                                            "User Manual.pdf"};
const std::vector<std::string> kSettingsFiles = {"config\\Default0.gmp", "config\\Default1.gmp",
                                                 "config\\Default2.gmp", "config\\Default3.gmp",
                                                 "config\\Default4.gmp", "config\\sequence.dat"};

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

using testsupport::FileBytes;

// The names in a folder, without "." and "..".
std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.insert(name);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

bool KeyExists(const char* key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

// A value of the current user's registry as text ("<missing>" when absent;
// a DWORD as its decimal number).
std::string RegValue(const char* key, const char* name) {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, data,
                     &size) != ERROR_SUCCESS) {
        return "<missing>";
    }
    if (type == REG_DWORD) {
        DWORD number = 0;
        std::memcpy(&number, data, sizeof number);
        return std::to_string(number);
    }
    return data;
}

struct ShortcutInfo {
    std::string target;
    std::string arguments;
};

bool ReadShortcut(const std::string& path, ShortcutInfo& info) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
        return false;
    }
    bool ok = false;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        char target[MAX_PATH] = {};
        char arguments[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(wide, STGM_READ)) &&
            SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) &&
            SUCCEEDED(link->GetArguments(arguments, MAX_PATH))) {
            info = {target, arguments};
            ok = true;
        }
        file->Release();
    }
    link->Release();
    return ok;
}

// Runs a program to its end; its exit code, or -1 when it did not end in time.
long RunToEnd(const std::string& commandLine, std::chrono::milliseconds timeout = 120s) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return -1;
    }
    CloseHandle(info.hThread);
    long code = -1;
    if (WaitForSingleObject(info.hProcess, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0) {
        DWORD exit = 0;
        GetExitCodeProcess(info.hProcess, &exit);
        code = static_cast<long>(exit);
    }
    CloseHandle(info.hProcess);
    return code;
}

// A path in double quotes, as command lines and the Run value carry it.
std::string Quoted(const std::string& path) {
    std::string quoted = "\"";
    quoted += path;
    quoted += '"';
    return quoted;
}

struct ClassSearch {
    const char* name;
    bool found;
};

BOOL CALLBACK FindVisibleOfClass(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ClassSearch*>(param);
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    if (std::strcmp(name, search->name) == 0 && IsWindowVisible(child))
        search->found = true;
    return TRUE;
}

// Whether a window shows a control of `className`.
bool ShowsControl(HWND window, const char* className) {
    ClassSearch search{className, false};
    EnumChildWindows(window, &FindVisibleOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The visible top-level dialog window of a process.
HWND TopWindowOf(DWORD process) {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w != nullptr;
         w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == process && IsWindowVisible(w))
            return w;
    }
    return nullptr;
}

// The setup's pages as the user meets them, kept with the artefacts (the user
// manual shows them). NSIS names the button ids: 1 Next, 2 Cancel.
struct Wizard {
    HANDLE process = nullptr;
    HWND window = nullptr;

    static constexpr int kNext = 1;
    static constexpr int kCancel = 2;

    bool Start(const std::string& setup) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        std::string line = Quoted(setup);
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &info)) {
            return false;
        }
        CloseHandle(info.hThread);
        process = info.hProcess;
        // First the language dialog (a drop-down list of the languages),
        // answered with the one it proposes: Windows' own.
        const bool asked = e2e::WaitUntil([&] {
            window = TopWindowOf(GetProcessId(process));
            return window != nullptr && ShowsControl(window, "ComboBox");
        });
        if (!asked)
            return false;
        Shot("setup_language_dialog");
        Press(window, IDOK);
        // Its title is the product's name and " Setup", and a page's subtitle.
        const std::string title = std::string(kProduct) + " Setup";
        return e2e::WaitUntil([&] {
            window = TopWindowOf(GetProcessId(process));
            char text[256] = {};
            GetWindowTextA(window, text, sizeof text);
            return window != nullptr && std::string(text).rfind(title, 0) == 0;
        });
    }
    ~Wizard() {
        if (process != nullptr) {
            if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0)
                TerminateProcess(process, 1);
            CloseHandle(process);
        }
    }
    void Press(HWND dialog, int id) const {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    // A visible control of `className` on the current page.
    bool Shows(const char* className) const { return ShowsControl(window, className); }
    void Shot(const std::string& name) const {
        const std::string folder = testsupport::ArtifactsFolder("setup");
        if (!folder.empty()) {
            RedrawWindow(window, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            EXPECT_TRUE(gallery::SaveWindowShot(window, folder + name + ".bmp")) << name;
        }
    }
    // Cancel, and yes to the question whether to quit.
    bool Cancel() const {
        Press(window, kCancel);
        HWND question = nullptr;
        const DWORD id = GetProcessId(process);
        const bool asked = e2e::WaitUntil([&] {
            question = nullptr;
            for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w != nullptr;
                 w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == id && w != window && GetDlgItem(w, IDYES) != nullptr)
                    question = w;
            }
            return question != nullptr;
        });
        if (asked)
            Press(question, IDYES);
        return asked && WaitForSingleObject(process, 30000) == WAIT_OBJECT_0;
    }
};

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class SetupProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        setup_ = e2e::EnvOr("MOUSE_SETUP", "");
        dist_ = e2e::DistFolder();
        ASSERT_TRUE(Exists(setup_)) << "no setup program at '" << setup_ << "'";
        folder_ = ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\" + kProduct + "\\";
        menu_ = ShellFolder(CSIDL_PROGRAMS) + "\\" + kProduct + "\\";
        shipped_ = kPrograms;
        // The display program goes with the others once the build makes it.
        if (Exists(dist_ + "VantorOSD.exe"))
            shipped_.push_back("VantorOSD.exe");
        ASSERT_FALSE(Exists(folder_)) << "the prefix is not fresh";
    }
    void TearDown() override { CoUninitialize(); }

    std::string Installed(const std::string& name) const { return folder_ + name; }
    std::string Ini(const char* section, const char* key) const {
        char value[256];
        GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value,
                                 Installed("config.ini").c_str());
        return value;
    }
    std::map<std::string, std::string> SettingsBytes() const {
        std::map<std::string, std::string> bytes;
        for (const auto& name : kSettingsFiles) bytes[name] = FileBytes(Installed(name));
        return bytes;
    }
    bool MonitorRunning() const { return FindWindowA(nullptr, e2e::kMonitorTitle) != nullptr; }
    bool OptionRunning() const { return FindWindowA(nullptr, e2e::kOptionTitle) != nullptr; }

    // A setting changed as Option's Apply saves it: profile 4 current, with a
    // name of its own, and a macro store.
    void ChangeSettings() {
        settings::SystemSettingsFiles files(folder_);
        auto block = std::make_unique<settings::SettingsBlock>();
        ASSERT_TRUE(settings::LoadAll(files, nullptr, *block, settings::DefaultsFor::Option));
        block->currentProfile = 3;
        std::snprintf(block->profiles[3].ProFileName, sizeof block->profiles[3].ProFileName, "%s",
                      "Kept over upgrades");
        ASSERT_TRUE(settings::SaveAll(files, nullptr, *block));
        ASSERT_TRUE(WritePrivateProfileStringA("Macros", "number", "0",
                                               Installed("config\\sequence.dat").c_str()));
    }

    std::string setup_;
    std::string dist_;
    std::string folder_;
    std::string menu_;
    std::vector<std::string> shipped_;
};

TEST_F(SetupProgram, InstallsRunsUpgradesInPlaceAndUninstallsKeepingTheSettings) {
    std::printf("[ figures  ] setup program: %lld bytes\n",
                static_cast<long long>(FileBytes(setup_).size()));

    // The interactive setup: the folder page, then the page that offers the
    // start with Windows; cancelled, it leaves nothing behind.
    {
        Wizard wizard;
        ASSERT_TRUE(wizard.Start(setup_)) << "the setup's window did not appear";
        EXPECT_TRUE(e2e::WaitUntil([&] { return wizard.Shows("Edit"); }));
        wizard.Shot("setup_folder_page");
        wizard.Press(wizard.window, Wizard::kNext);
        EXPECT_TRUE(e2e::WaitUntil([&] { return wizard.Shows("SysTreeView32"); }))
            << "no page with the start with Windows";
        wizard.Shot("setup_components_page");
        ASSERT_TRUE(wizard.Cancel()) << "the setup did not end on Cancel";
        EXPECT_FALSE(Exists(folder_));
        EXPECT_FALSE(KeyExists(kUninstallKey));
    }

    // Silent install.
    auto start = Clock::now();
    ASSERT_EQ(RunToEnd(Quoted(setup_) + " /S"), 0) << "the silent install failed";
    std::printf("[ figures  ] silent install: %.2f s\n", SecondsSince(start));

    for (const auto& name : shipped_) {
        ASSERT_TRUE(Exists(Installed(name))) << name;
        EXPECT_TRUE(FileBytes(Installed(name)) == FileBytes(dist_ + name)) << name << " differs";
    }
    EXPECT_EQ(FileBytes(Installed("config.ini")), FileBytes(dist_ + "config.ini"));
    // No language chosen: the programs follow Windows' display language.
    EXPECT_EQ(Ini("Setting", "Language"), "<missing>");
    EXPECT_EQ(RegValue(kUninstallKey, kLanguageValue), "<missing>");
    EXPECT_TRUE(Exists(Installed("skins\\skin_config.ini")));
    EXPECT_TRUE(Exists(Installed("skins\\config_mask.bmp")));
    // The sets for larger display scales, and the uninstaller takes them too.
    EXPECT_TRUE(Exists(Installed("skins\\150\\skin_config.ini")));
    EXPECT_TRUE(Exists(Installed("skins\\200\\config_normal.jpg")));
    EXPECT_TRUE(Exists(Installed("Uninstall.exe")));
    // Nothing else: no virtual mouse, no test tool, no stray file.
    std::set<std::string> expected(shipped_.begin(), shipped_.end());
    expected.insert({"config.ini", "config", "skins", "Uninstall.exe"});
    EXPECT_EQ(Names(folder_), expected);

    const std::string monitorPath = Installed("Monitor.exe");
    EXPECT_EQ(RegValue(kRunKey, kProduct), Quoted(monitorPath));
    ShortcutInfo shortcut;
    ASSERT_TRUE(ReadShortcut(menu_ + kProduct + ".lnk", shortcut)) << "no Start-menu entry";
    EXPECT_EQ(shortcut.target, monitorPath);
    EXPECT_EQ(shortcut.arguments, "1");
    EXPECT_EQ(RegValue(kUninstallKey, "DisplayName"), kProduct);
    EXPECT_EQ(RegValue(kUninstallKey, "DisplayVersion"), "1.12.0.0");
    EXPECT_EQ(RegValue(kUninstallKey, "Publisher"), "Professional Gaming Mouse");
    EXPECT_EQ(RegValue(kUninstallKey, "DisplayIcon"), monitorPath + ",0");
    EXPECT_EQ(RegValue(kUninstallKey, "UninstallString"), Quoted(Installed("Uninstall.exe")));
    EXPECT_EQ(RegValue(kUninstallKey, "InstallLocation") + "\\", folder_);
    // The folder holds several megabytes of programs and pictures.
    EXPECT_GT(std::stoi(RegValue(kUninstallKey, "EstimatedSize")), 1000);

    // The installed Monitor with the virtual mouse, copied in as a tester would.
    ASSERT_TRUE(CopyFileA((dist_ + "VirtualMouse.exe").c_str(),
                          Installed("VirtualMouse.exe").c_str(), FALSE));
    e2e::Program mouse;
    ASSERT_TRUE(mouse.Start(Installed("VirtualMouse.exe")));
    ASSERT_TRUE(
        e2e::WaitUntil([] { return FindWindowA(e2e::kVirtualMouseClass, nullptr) != nullptr; }));
    e2e::Program monitor;
    ASSERT_TRUE(monitor.Start(monitorPath));
    ASSERT_TRUE(e2e::WaitUntil([&] { return Ini("Setting", "Device") == "1"; }))
        << "the installed Monitor did not find the mouse";

    // The Start-menu entry while Monitor runs: Option opens through it.
    e2e::Program second;
    ASSERT_TRUE(second.Start(monitorPath, shortcut.arguments));
    EXPECT_EQ(second.WaitExit(), 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return OptionRunning(); })) << "Option did not open";
    EXPECT_EQ(e2e::CountWindowsTitled(e2e::kMonitorTitle), 1);

    ChangeSettings();
    const auto settingsBefore = SettingsBytes();

    // Upgrade in place over the running Monitor and Option.
    start = Clock::now();
    ASSERT_EQ(RunToEnd(Quoted(setup_) + " /S"), 0) << "the upgrade failed";
    std::printf("[ figures  ] silent upgrade over running programs: %.2f s\n", SecondsSince(start));
    EXPECT_EQ(monitor.WaitExit(), 0) << "Monitor was not closed through its tray Exit";
    EXPECT_FALSE(OptionRunning());
    EXPECT_TRUE(e2e::WaitUntil([&] { return MonitorRunning(); })) << "Monitor was not restarted";
    EXPECT_EQ(SettingsBytes(), settingsBefore);
    EXPECT_EQ(Ini("Setting", "CurrentProfile"), "3");
    auto block = std::make_unique<settings::SettingsBlock>();
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ReadSharedBlock(*block); }));
    EXPECT_EQ(block->currentProfile, 3) << "the restarted Monitor did not load the kept settings";
    EXPECT_STREQ(block->profiles[3].ProFileName, "Kept over upgrades");

    // Silent removal: it ends the restarted Monitor and keeps the settings.
    start = Clock::now();
    ASSERT_EQ(RunToEnd(Quoted(Installed("Uninstall.exe")) + " /S"), 0);
    // The uninstaller hands over to a copy of itself in the temporary folder.
    ASSERT_TRUE(e2e::WaitUntil([&] {
        return !KeyExists(kUninstallKey) && !Exists(Installed("Uninstall.exe"));
    })) << "the uninstaller did not finish";
    std::printf("[ figures  ] silent uninstall: %.2f s\n", SecondsSince(start));
    EXPECT_TRUE(e2e::WaitUntil([&] { return !MonitorRunning(); }));
    EXPECT_EQ(FindWindowA(nullptr, kOsdTitle), nullptr);
    for (const auto& name : shipped_) EXPECT_FALSE(Exists(Installed(name))) << name;
    EXPECT_FALSE(Exists(Installed("skins")));
    EXPECT_EQ(RegValue(kRunKey, kProduct), "<missing>");
    EXPECT_FALSE(Exists(menu_)) << "the Start-menu folder stayed";
    EXPECT_EQ(SettingsBytes(), settingsBefore);
    EXPECT_EQ(Ini("Setting", "CurrentProfile"), "3");
    // What is left: the settings and the tester's own virtual mouse.
    EXPECT_EQ(Names(folder_), (std::set<std::string>{"config", "config.ini", "VirtualMouse.exe"}));

    // Installed again over the kept settings: the shipped defaults do not
    // replace them.
    ASSERT_EQ(RunToEnd(Quoted(setup_) + " /S"), 0);
    EXPECT_EQ(Ini("Setting", "CurrentProfile"), "3");
    EXPECT_EQ(SettingsBytes(), settingsBefore);
    EXPECT_EQ(RegValue(kRunKey, kProduct), Quoted(monitorPath));
    // Not starting with Windows (the setup page's box unticked) stays so over
    // an upgrade.
    ASSERT_EQ(RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kProduct), ERROR_SUCCESS);
    ASSERT_EQ(RunToEnd(Quoted(setup_) + " /S"), 0);
    EXPECT_EQ(RegValue(kRunKey, kProduct), "<missing>");
    EXPECT_TRUE(Exists(monitorPath));

    // Removal with the settings: only the tester's virtual mouse stays.
    ASSERT_EQ(RunToEnd(Quoted(Installed("Uninstall.exe")) + " /S /REMOVESETTINGS"), 0);
    const auto onlyTheMouseLeft = [&] {
        const auto names = Names(folder_);
        return names.size() == 1 && names.count("VirtualMouse.exe") == 1;
    };
    EXPECT_TRUE(e2e::WaitUntil(onlyTheMouseLeft))
        << "left behind: " << ::testing::PrintToString(Names(folder_));
    EXPECT_FALSE(KeyExists(kUninstallKey));

    // An unattended install in German on this English Windows: the programs
    // are told the language, the uninstaller and updates remember it, and the
    // manual's Start-menu entry bears its German name.
    ASSERT_NE(PRIMARYLANGID(GetUserDefaultUILanguage()), LANG_GERMAN)
        << "the test wants a Windows whose display language is not German";
    ASSERT_EQ(RunToEnd(Quoted(setup_) + " /S /LANG=1031"), 0);
    EXPECT_EQ(Ini("Setting", "Language"), "de-DE");
    EXPECT_EQ(RegValue(kUninstallKey, kLanguageValue), "1031");
    EXPECT_TRUE(Exists(menu_ + "Benutzerhandbuch.lnk"));
    EXPECT_FALSE(Exists(menu_ + "User Manual.lnk"));
    // The language the settings name is the user's: an update in another
    // language leaves it.
    ASSERT_EQ(RunToEnd(Quoted(setup_) + " /S /LANG=1036"), 0);
    EXPECT_EQ(Ini("Setting", "Language"), "de-DE");
    EXPECT_EQ(Names(menu_),
              (std::set<std::string>{std::string(kProduct) + ".lnk", "Manuel d'utilisation.lnk"}));
    ASSERT_EQ(RunToEnd(Quoted(Installed("Uninstall.exe")) + " /S /REMOVESETTINGS"), 0);
    EXPECT_TRUE(e2e::WaitUntil(onlyTheMouseLeft))
        << "left behind: " << ::testing::PrintToString(Names(folder_));
    EXPECT_FALSE(Exists(menu_)) << "the Start-menu folder stayed";
}

}  // namespace
