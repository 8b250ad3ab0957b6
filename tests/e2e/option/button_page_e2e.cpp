// The button assignment page with the real Monitor and the virtual mouse, as
// a user works it: a button is clicked, an item of its skinned menu chosen by
// keyboard, Apply pressed; what the mouse receives is checked against the
// device encoder. A macro comes from the store Option finds at start. Also the
// click and reset warnings and the support page.
// One start of the programs serves every check.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <cctype>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "common/settings/key_codes_win.h"
#include "common/settings/ini_file_win.h"
#include "common/settings/settings_block.h"
#include "common/settings/settings_files.h"
#include "common/text_format.h"
#include "common/trace_points.h"
#include "common/utf8_text.h"
#include "common/win/scoped_win.h"
#include "monitor/device/device_blocks.h"
#include "option/macro_file_system_win.h"
#include "option/model/dialogs/macro_store.h"
#include "option/model/session/profile_transfer.h"
#include "tests/e2e/device/virtual_mouse_session_win.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/option/option_driver_win.h"
#include "tools/SkinGallery/gallery_window_win.h"

namespace {

using namespace std::chrono_literals;
using e2e::OptionDriver;
using e2e::VirtualMouseSession;

constexpr int kKeyApply = 13, kKeyPage1 = 25, kKeyReset = 31;
constexpr int kFirstAssignButtonId = 30001;
constexpr int kWarningOk = 1001, kWarningCancel = 1002;
constexpr int kManualButtonId = 1001;
// The dialogs: titles, buttons (1200 + skin key) and fields.
constexpr const char* kShortcutTitle = "K.VANE Shortcut Dialog";
constexpr const char* kFireTitle = "FireClick Dialog";
constexpr const char* kLaunchTitle = "Launch Program Dialog";
constexpr int kShortcutOk = 1202, kShortcutCtrlToggle = 1206;
constexpr int kFireOk = 1201, kLaunchOk = 1203;
constexpr int kKeyFieldId = 4010, kPathFieldId = 4010, kFireFieldA = 4030, kFireFieldB = 4020;

// Whether `process` has loaded the themed controls library: the side-by-side
// copy, whose folder names the common controls assembly.
bool LoadedThemedControls(DWORD process) {
    // Fails as INVALID_HANDLE_VALUE, as CreateFile does.
    const win::ScopedFileHandle modules(
        CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, process));
    if (!modules)
        return false;
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    for (BOOL more = Module32First(modules.Get(), &module); more;
         more = Module32Next(modules.Get(), &module)) {
        std::string path = module.szExePath;
        for (char& c : path) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (path.find("common-controls") != std::string::npos &&
            path.find("comctl32.dll") != std::string::npos) {
            return true;
        }
    }
    return false;
}

using e2e::Painted;

// The screen area of `windows` together, into the artefacts folder.
void ShootTogether(const std::vector<HWND>& windows, const std::string& name) {
    const std::string folder = e2e::ArtifactsFolder();
    if (folder.empty() || windows.empty())
        return;
    RECT all{};
    for (HWND w : windows) {
        RECT r{};
        GetWindowRect(w, &r);
        UnionRect(&all, &all, &r);
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP shot = CreateCompatibleBitmap(screen, all.right - all.left, all.bottom - all.top);
    HGDIOBJ old = SelectObject(memory, shot);
    BitBlt(memory, 0, 0, all.right - all.left, all.bottom - all.top, screen, all.left, all.top,
           SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(gallery::SaveBitmap(shot, folder + name + ".bmp")) << name;
    DeleteObject(shot);
}

// The macro store Option starts on, written by the store's own code: one
// macro whose name is longer than a button's field, with delays and a repeat.
constexpr const char* kMacroName = "Reload and switch weapon";
bool WriteMacroStore(const e2e::ProgramFolder& folder, const std::string& name,
                     option::MacroRecord& written) {
    option::MacroFileSystem files;
    option::MacroFileStore store(files.Files(), folder.Path());
    option::MacroRecord& macro = store.AddNamed(name);
    const auto press = static_cast<std::uint8_t>(settings::KeyState::Press);
    const auto release = static_cast<std::uint8_t>(settings::KeyState::Release);
    const settings::MacroEvent events[] = {
        {0x15, press, 50}, {0x15, release, 120}, {0x1E, press, 0}, {0x1E, release, 30}};
    macro.repeatValue = 3;
    macro.eventCount = static_cast<std::int32_t>(std::size(events));
    std::memcpy(macro.events, events, sizeof events);
    written = macro;
    return store.Save();
}

std::string Hex(const device::DataBlock& map, int button) {
    char text[32];
    std::snprintf(text, sizeof text, "key %d %02X %02X %02X %02X", button, map[4 * button],
                  map[4 * button + 1], map[4 * button + 2], map[4 * button + 3]);
    return text;
}

bool HasLineStarting(const std::vector<std::string>& lines, const std::string& prefix) {
    for (const std::string& line : lines) {
        if (line.rfind(prefix, 0) == 0)
            return true;
    }
    return false;
}

// Does `lines` hold lines starting with each of `run`, one after the other?
bool HasRun(const std::vector<std::string>& lines, const std::vector<std::string>& run) {
    for (std::size_t i = 0; i + run.size() <= lines.size(); ++i) {
        std::size_t k = 0;
        while (k < run.size() && lines[i + k].rfind(run[k], 0) == 0) ++k;
        if (k == run.size())
            return true;
    }
    return false;
}

class ButtonPageRoad : public ::testing::Test {
  protected:
    // The program folder's name (UTF-8; empty: one of the harness's) and the
    // stored macro's.
    explicit ButtonPageRoad(const std::string& folderName = "",
                            const std::string& macroName = kMacroName)
        : folder_(folderName), macroName_(macroName) {}
    void TearDown() override { e2e::EndMonitor(monitor_); }

    std::vector<HWND> Menus() const {
        DWORD pid = 0;
        GetWindowThreadProcessId(option_.Window(), &pid);
        return e2e::VisibleWindowsOf(pid, "#32768");
    }
    // Waits until `count` menu windows are open and painted.
    bool WaitForMenus(std::size_t count) const {
        return e2e::WaitUntil([&] {
            const auto menus = Menus();
            if (menus.size() != count)
                return false;
            for (HWND m : menus) {
                if (!Painted(m))
                    return false;
            }
            return true;
        });
    }
    HWND Page(int index) const { return GetDlgItem(option_.Window(), 2000 + index); }
    // A click on the page's button of entry 0..15; its menu opens.
    void OpenMenu(int entry) const {
        HWND button = GetDlgItem(Page(0), kFirstAssignButtonId + entry);
        ASSERT_NE(button, nullptr) << entry;
        PostMessageA(button, BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitForMenus(1)) << "the menu of entry " << entry;
    }
    // Keys reach the menu loop of Option's thread through the menu window.
    void MenuKeys(std::initializer_list<UINT> keys) const {
        const auto menus = Menus();
        ASSERT_FALSE(menus.empty());
        for (UINT key : keys) {
            PostMessageA(menus.front(), WM_KEYDOWN, key, 1);
            PostMessageA(menus.front(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
        }
    }
    // Chooses item `item` of top-level item `submenu` (-1: of the top menu).
    void Choose(int entry, int submenu, int item, const std::string& handled) {
        OpenMenu(entry);
        for (int i = 0; i <= (submenu >= 0 ? submenu : item); ++i) MenuKeys({VK_DOWN});
        if (submenu >= 0) {
            MenuKeys({VK_RIGHT});
            ASSERT_TRUE(WaitForMenus(2));
            for (int i = 0; i < item; ++i) MenuKeys({VK_DOWN});
        }
        MenuKeys({VK_RETURN});
        ASSERT_TRUE(option_.Process().WaitForDebugText(handled)) << handled << Texts();
    }

    // A dialog of Option's found by its title, once shown and painted.
    static HWND WaitForTitled(const char* title) {
        HWND found = nullptr;
        e2e::WaitUntil([&] {
            found = FindWindowA(nullptr, title);
            return found != nullptr && Painted(found);
        });
        return found;
    }
    static std::string FieldText(HWND dialog, int id) {
        char text[512] = {};
        DWORD_PTR copied = 0;
        SendMessageTimeoutA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof text,
                            reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied);
        return text;
    }
    static void SetFieldText(HWND dialog, int id, const std::string& text) {
        DWORD_PTR done = 0;
        SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000, &done);
    }
    // A key pressed and released on the keyboard, as the capture hook sees it.
    static void PressKey(WORD virtualKey) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = virtualKey;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
    }
    // A click on a dialog's button; the dialog then closes.
    static void Press(HWND dialog, int id) {
        PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
        EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(dialog); })) << id;
    }
    static void ShootWhenPainted(HWND window, const std::string& name) {
        EXPECT_TRUE(e2e::WaitUntil([&] { return Painted(window); })) << name;
        const std::string folder = e2e::ArtifactsFolder();
        if (!folder.empty()) {
            EXPECT_TRUE(gallery::SaveWindowShot(window, folder + name + ".bmp")) << name;
        }
    }

    // Monitor has uploaded to the mouse; Option shows the button page, with
    // one macro in its store.
    void StartOptionWithAStoredMacro(const VirtualMouseSession& mouse) {
        ASSERT_TRUE(WriteMacroStore(folder_, macroName_, stored_));
        ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe")));
        ASSERT_TRUE(
            e2e::WaitUntil([&] { return VirtualMouseSession::FullUploadDone(mouse.Log()); }, 60s));
        ASSERT_TRUE(option_.Start());
        ASSERT_TRUE(e2e::WaitUntil([&] { return option_.ApplyReady() && Painted(Page(0)); }));
        EXPECT_TRUE(option_.Screenshot("button_page"));
    }

    // The menu and each of its five submenus, opened and closed by keyboard.
    void WalkTheMenuByKeyboard() {
        OpenMenu(2);
        ShootTogether({option_.Window(), Menus().front()}, "button_menu");
        for (int sub = 0; sub < 5; ++sub) {
            MenuKeys({VK_DOWN, VK_RIGHT});
            ASSERT_TRUE(WaitForMenus(2)) << sub;
            auto windows = Menus();
            windows.push_back(option_.Window());
            ShootTogether(windows, "button_menu_sub" + std::to_string(sub + 1));
            MenuKeys({VK_LEFT});
            ASSERT_TRUE(WaitForMenus(1)) << sub;
        }
        MenuKeys({VK_ESCAPE});
        ASSERT_TRUE(e2e::WaitUntil([&] { return Menus().empty(); }));
    }

    void ChooseFromTheMenu() {
        // Button 3 (entry 2): the first media key; entry 3: the first editing
        // shortcut, which the mouse plays as a macro.
        Choose(2, 1, 0, text::Format(trace::kButtonCommandOutcome, 1025u, 2, 0));
        Choose(3, 3, 0, text::Format(trace::kButtonCommandOutcome, 1050u, 3, 0));
        EXPECT_EQ(option_.Process().CountDebugText(text::Format(trace::kButtonCommand, 1050u, 3)),
                  1)
            << "one choice, one command";
        // Entry 5: the store's macro, below the macro manager and the separator.
        Choose(5, 0, 1, text::Format(trace::kButtonCommandOutcome, 1100u, 5, 0));
    }

    void AssignThroughTheDialogs() {
        // Through the dialogs: a key combination on entry 4, a fire setting on
        // entry 10, a program to launch on entry 11.
        Choose(4, -1, 13, text::Format(trace::kButtonCommand, 1005u, 4));
        HWND shortcutDialog = WaitForTitled(kShortcutTitle);
        ASSERT_NE(shortcutDialog, nullptr);
        PressKey('A');
        ASSERT_TRUE(e2e::WaitUntil([&] { return FieldText(shortcutDialog, kKeyFieldId) == "A"; }))
            << FieldText(shortcutDialog, kKeyFieldId);
        // Sent, so that the toggle has latched before the picture is taken.
        SendMessageTimeoutA(GetDlgItem(shortcutDialog, kShortcutCtrlToggle), BM_CLICK, 0, 0,
                            SMTO_ABORTIFHUNG, 5000, nullptr);
        ShootWhenPainted(shortcutDialog, "shortcut_dialog");
        Press(shortcutDialog, kShortcutOk);
        ASSERT_TRUE(option_.Process().WaitForDebugText(
            text::Format(trace::kButtonCommandOutcome, 1005u, 4, 0)));

        Choose(10, -1, 12, text::Format(trace::kButtonCommand, 1021u, 10));
        HWND fire = WaitForTitled(kFireTitle);
        ASSERT_NE(fire, nullptr);
        PressKey('B');
        ASSERT_TRUE(e2e::WaitUntil([&] { return FieldText(fire, kKeyFieldId) == "B"; }));
        SetFieldText(fire, kFireFieldA, "7");
        SetFieldText(fire, kFireFieldB, "3");
        ShootWhenPainted(fire, "fire_dialog");
        Press(fire, kFireOk);
        ASSERT_TRUE(option_.Process().WaitForDebugText(
            text::Format(trace::kButtonCommandOutcome, 1021u, 10, 0)));

        ASSERT_TRUE(folder_.AddTestProgram("standin_program.exe", "Target Program.exe"));
        AssignLaunch(folder_.File("Target Program.exe"));
    }

    // Entry 11 launches `program`, named in the launch dialog.
    void AssignLaunch(const std::string& program) {
        program_ = program;
        Choose(11, -1, 15, text::Format(trace::kButtonCommand, 1017u, 11));
        HWND launch = WaitForTitled(kLaunchTitle);
        ASSERT_NE(launch, nullptr);
        SetFieldText(launch, kPathFieldId, program_);
        ShootWhenPainted(launch, "launch_program_dialog");
        Press(launch, kLaunchOk);
        ASSERT_TRUE(option_.Process().WaitForDebugText(
            text::Format(trace::kButtonCommandOutcome, 1017u, 11, 0)));
    }

    // Entry 0 holds the only left click: right click is refused with the notice.
    void RefuseTheLastLeftClick() {
        Choose(0, -1, 6, text::Format(trace::kButtonCommand, 1002u, 0));
        HWND notice = option_.WaitForDialog(kWarningOk);
        ASSERT_NE(notice, nullptr);
        ShootWhenPainted(notice, "click_warning");
        PostMessageA(notice, WM_COMMAND, MAKEWPARAM(kWarningOk, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(notice, kWarningOk)));
        ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(notice); }));
        ASSERT_TRUE(option_.Process().WaitForDebugText(
            text::Format(trace::kButtonCommandOutcome, 1002u, 0, 1)));
    }

    void KeepTheResetWarningOpenOnEnterAndEsc() {
        // The reset warning sits over the main window; Enter leaves it open,
        // Esc cancels it (had either confirmed it, Option would reset).
        option_.Click(kKeyReset);
        HWND reset = option_.WaitForDialog(kWarningCancel);
        ASSERT_NE(reset, nullptr);
        ShootWhenPainted(reset, "reset_warning");
        RECT main{}, own{};
        GetWindowRect(option_.Window(), &main);
        GetWindowRect(reset, &own);
        EXPECT_NEAR((own.left + own.right) / 2, (main.left + main.right) / 2, 1);
        EXPECT_NEAR((own.top + own.bottom) / 2, (main.top + main.bottom) / 2, 1);
        for (UINT key : {VK_RETURN, VK_ESCAPE}) {
            PostMessageA(reset, WM_KEYDOWN, key, 1);
            PostMessageA(reset, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
        }
        PostMessageA(reset, WM_COMMAND, MAKEWPARAM(kWarningCancel, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(reset, kWarningCancel)));
        ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(reset); }));
    }

    // The support page: versions, and the missing manual said aloud.
    void SayTheManualIsMissing() {
        option_.Click(kKeyPage1 + 3);
        ASSERT_TRUE(e2e::WaitUntil([&] { return option_.PageVisible(3) && Painted(Page(3)); }));
        EXPECT_TRUE(option_.Screenshot("support_page"));
        PostMessageA(GetDlgItem(Page(3), kManualButtonId), BM_CLICK, 0, 0);
        ASSERT_TRUE(option_.Process().WaitForDebugText(trace::kSupportManualMissing));
        HWND missing = option_.WaitForDialog(IDOK);
        ASSERT_NE(missing, nullptr);
        DWORD process = 0;
        GetWindowThreadProcessId(missing, &process);
        EXPECT_TRUE(LoadedThemedControls(process)) << "the message box is not themed";
        ShootWhenPainted(missing, "manual_missing");
        ASSERT_TRUE(option_.Answer(IDOK));
    }

    // Apply: the mouse gets the key map the device encoder makes of the
    // profile Option published.
    void ApplyAndRead(settings::SettingsBlock& block) {
        option_.Click(kKeyApply);
        ASSERT_TRUE(option_.Process().WaitForDebugText(text::Format(trace::kOptionApply, 0, 1, 1)));
        ASSERT_TRUE(e2e::WaitUntil([&] { return option_.ApplyReady(); }, 60s));
        EXPECT_EQ(option_.Process().CountDebugText(text::Format(trace::kOptionApply, 1, 1, 1)), 0)
            << "the reset warning was confirmed by a key";
        ASSERT_TRUE(e2e::ReadSharedBlock(block));
    }

    void CheckTheRecords(const settings::ProfileRecord& profile) {
        EXPECT_EQ(profile.MacroKeyInfo[0].actionCode, 1) << "the last left click stays";
        EXPECT_EQ(profile.MacroKeyInfo[2].actionCode, 25);
        EXPECT_EQ(profile.MacroKeyInfo[3].actionCode, 48);
        // The dialogs' values, as the records hold them and the mouse has them.
        const settings::ButtonAssignment& combo = profile.MacroKeyInfo[4];
        EXPECT_EQ(combo.actionCode, settings::action::kKeyCombination);
        EXPECT_EQ(combo.eventCount, 1);
        EXPECT_EQ(combo.events[0].keyCode, settings::KeyCodeFromVirtualKey('A').value);
        EXPECT_EQ(combo.events[0].state, settings::modifier::kCtrl);
        const settings::ButtonAssignment& fired = profile.MacroKeyInfo[10];
        EXPECT_EQ(fired.actionCode, settings::action::kFire);
        EXPECT_EQ(fired.events[0].keyCode, settings::KeyCodeFromVirtualKey('B').value);
        EXPECT_EQ(fired.fireValueA, 7);
        EXPECT_EQ(fired.fireValueB, 3);
        const settings::ButtonAssignment& launcher = profile.MacroKeyInfo[11];
        EXPECT_EQ(launcher.actionCode, settings::action::kLaunchProgram);
        EXPECT_STREQ(launcher.programPath, program_.c_str());
        // The store's macro, its name cut to the button's field.
        const settings::ButtonAssignment& macroEntry = profile.MacroKeyInfo[5];
        EXPECT_EQ(macroEntry.actionCode, settings::action::kMacro);
        EXPECT_EQ(
            std::string(macroEntry.macroName,
                        strnlen(macroEntry.macroName, sizeof macroEntry.macroName)),
            macroName_.substr(0, text::Utf8FitLength(macroName_, sizeof macroEntry.macroName - 1)));
        EXPECT_EQ(macroEntry.repeatCount, stored_.repeatValue);
        ASSERT_EQ(macroEntry.eventCount, stored_.eventCount);
        EXPECT_EQ(
            std::memcmp(macroEntry.events, stored_.events,
                        static_cast<std::size_t>(stored_.eventCount) * sizeof stored_.events[0]),
            0);
    }

    // `keyMap`: the one the encoder makes of `profile`, which the mouse has.
    void CheckTheMouse(const VirtualMouseSession& mouse, const settings::ProfileRecord& profile,
                       int p, device::DataBlock& keyMap) {
        auto staging = std::make_unique<device::MacroStaging>();
        device::BuildKeyMapAndMacros(profile, p, keyMap, *staging);
        // The fixed shortcut is played as a macro: its keys pressed in order and
        // released in reverse.
        const auto shortcut = device::ShortcutKeys(48);
        ASSERT_FALSE(shortcut.empty());
        std::vector<std::string> macro{"macro " + std::to_string(device::MacroSlot(p, 3)) +
                                       " repeat 1 events " + std::to_string(2 * shortcut.size())};
        char text[32];
        for (std::uint8_t key : shortcut) {
            std::snprintf(text, sizeof text, "  press %02X", key);
            macro.push_back(text);
        }
        for (auto key = shortcut.rbegin(); key != shortcut.rend(); ++key) {
            std::snprintf(text, sizeof text, "  release %02X", *key);
            macro.push_back(text);
        }
        // The recorded macro goes as the encoder's block has it: repeat, then a
        // state byte and a key per event.
        const int slot = device::MacroSlot(p, 5);
        ASSERT_TRUE(staging->IsStaged(slot));
        const device::DataBlock& sent = staging->Block(slot);
        std::vector<std::string> recorded{"macro " + std::to_string(slot) + " repeat " +
                                          std::to_string((sent[0] << 8) | sent[1]) + " events " +
                                          std::to_string(stored_.eventCount)};
        for (int j = 0; j < stored_.eventCount; ++j) {
            const std::uint8_t state = sent[2 + 2 * j];
            std::snprintf(text, sizeof text, "  %s %02X state %02X",
                          (state & 0x80) ? "release" : "press", sent[3 + 2 * j], state);
            recorded.push_back(text);
        }
        std::vector<std::string> dump;
        EXPECT_TRUE(e2e::WaitUntil([&] {
            dump = mouse.Dump();
            const auto keys = VirtualMouseSession::ProfileSection(dump, p + 1);
            for (int button : {2, 3, 4, 5, 10, 11}) {
                if (!HasLineStarting(keys, Hex(keyMap, button)))
                    return false;
            }
            return HasRun(dump, macro) && HasRun(dump, recorded);
        })) << Hex(keyMap, 2)
            << " / " << Hex(keyMap, 3) << " / " << Hex(keyMap, 5) << " / " << macro.front() << " / "
            << recorded.front() << "\n"
            << [&] {
                   std::string all;
                   for (const std::string& l : dump) all += l + "\n";
                   return all;
               }();
    }

    // The mouse's launch button starts the program the dialog named; the
    // mouse reports the launch number its key map gave the button.
    void LaunchFromTheMouse(const VirtualMouseSession& mouse, const device::DataBlock& keyMap) {
        ASSERT_EQ(mouse.Command("/event launch:" + std::to_string(keyMap[4 * 11 + 3])), 0);
        EXPECT_TRUE(e2e::WaitUntil([&] { return !folder_.ReadText("started.log").empty(); }));
        EXPECT_EQ(folder_.ReadText("started.log"), "started Target Program.exe []\n");
    }

    // Option's debug texts, for a failure's message.
    std::string Texts() {
        std::string all;
        for (const std::string& t : option_.Process().DebugTexts()) all += t;
        return all;
    }

    e2e::ProgramFolder folder_;
    std::string macroName_;
    e2e::Program monitor_;
    OptionDriver option_{folder_};
    option::MacroRecord stored_{};
    std::string program_;  // the program the launch dialog names
};

TEST_F(ButtonPageRoad, MenuChoicesReachTheMouseAndTheLastLeftClickStays) {
    // The support page tells the user when the manual is missing.
    folder_.Remove("User Manual.pdf");
    VirtualMouseSession mouse(folder_);
    ASSERT_TRUE(mouse.Running());
    ASSERT_NO_FATAL_FAILURE(StartOptionWithAStoredMacro(mouse));
    ASSERT_NO_FATAL_FAILURE(WalkTheMenuByKeyboard());
    ASSERT_NO_FATAL_FAILURE(ChooseFromTheMenu());
    ASSERT_NO_FATAL_FAILURE(AssignThroughTheDialogs());
    ASSERT_NO_FATAL_FAILURE(RefuseTheLastLeftClick());
    ASSERT_NO_FATAL_FAILURE(KeepTheResetWarningOpenOnEnterAndEsc());
    ASSERT_NO_FATAL_FAILURE(SayTheManualIsMissing());

    auto block = std::make_unique<settings::SettingsBlock>();
    ASSERT_NO_FATAL_FAILURE(ApplyAndRead(*block));
    const int p = block->currentProfile;
    ASSERT_NO_FATAL_FAILURE(CheckTheRecords(block->profiles[p]));
    device::DataBlock keyMap{};
    ASSERT_NO_FATAL_FAILURE(CheckTheMouse(mouse, block->profiles[p], p, keyMap));
    ASSERT_NO_FATAL_FAILURE(LaunchFromTheMouse(mouse, keyMap));
}

// Names in any script, from the program folder to a launched program: the
// programs run under the UTF-8 code page, files of earlier versions in the
// legacy one still load, and names survive a profile's export and import.
constexpr const char* kAnyScriptFolder =
    "Zo\xC3\xAB \xC3\x9Cnal \xE5\xBC\xA0\xE4\xBC\x9F \xE2\x9C\x93";
// Longer than a button's field: it is cut there on a character boundary.
constexpr const char* kAnyScriptMacro =
    "\xD0\x9C\xD0\xB0\xD0\xBA\xD1\x80\xD0\xBE\xD1\x81 \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";
constexpr const char* kAnyScriptProfile =
    "\xD0\x9F\xD1\x80\xD0\xBE\xD1\x84\xD0\xB8\xD0\xBB\xD1\x8C "
    "\xE5\xBC\xA0\xE4\xBC\x9F";
// The launched program's folder: Greek, Cyrillic, Japanese and Korean.
constexpr const char* kFourScripts =
    "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC "
    "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9 "
    "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4";

class AnyScriptRoad : public ButtonPageRoad {
  protected:
    AnyScriptRoad() : ButtonPageRoad(kAnyScriptFolder, kAnyScriptMacro) {}

    // The profile files as the programs write them, profile 1 named in two
    // scripts; profile 5's file then as an earlier version left it, its name
    // "Zoë Ünal" in code page 1252.
    void WriteProfiles() {
        settings::SystemSettingsFiles files(folder_.Path());
        auto block = std::make_unique<settings::SettingsBlock>();
        ASSERT_TRUE(settings::LoadAll(files, nullptr, *block, settings::DefaultsFor::Option));
        settings::CopyField(block->profiles[0].ProFileName, kAnyScriptProfile);
        ASSERT_TRUE(settings::SaveAll(files, nullptr, *block));
        std::string legacy = folder_.ReadText("config\\Default4.gmp");
        const std::size_t name = legacy.find("ProFileName=");
        ASSERT_NE(name, std::string::npos);
        const std::size_t end = legacy.find('\r', name);
        legacy.replace(name, end - name, "ProFileName=Zo\xEB \xDCnal");
        std::ofstream(folder_.File("config\\Default4.gmp"), std::ios::binary) << legacy;
    }
};

TEST_F(AnyScriptRoad, AFolderProfilesMacroAndLaunchedProgramNamedInAnyScript) {
    constexpr int kKeyImport = 2, kKeyExport = 3, kKeyProfile1 = 5;
    ASSERT_NO_FATAL_FAILURE(WriteProfiles());
    ASSERT_TRUE(CreateDirectoryA(folder_.File(kFourScripts).c_str(), nullptr));
    const std::string tool = folder_.File(std::string(kFourScripts) + "\\tool.exe");
    ASSERT_TRUE(folder_.AddTestProgram("standin_program.exe", tool.substr(folder_.Path().size())));

    VirtualMouseSession mouse(folder_);
    ASSERT_TRUE(mouse.Running());
    ASSERT_NO_FATAL_FAILURE(StartOptionWithAStoredMacro(mouse));
    EXPECT_EQ(monitor_.CountDebugText(trace::kTextModeUtf8), 1);
    EXPECT_EQ(option_.Process().CountDebugText(trace::kTextModeUtf8), 1);

    // The store's macro on entry 5, the program on entry 11.
    Choose(5, 0, 1, text::Format(trace::kButtonCommandOutcome, 1100u, 5, 0));
    ASSERT_NO_FATAL_FAILURE(AssignLaunch(tool));
    auto block = std::make_unique<settings::SettingsBlock>();
    ASSERT_NO_FATAL_FAILURE(ApplyAndRead(*block));
    ASSERT_EQ(block->currentProfile, 0);
    EXPECT_STREQ(block->profiles[4].ProFileName, "Zo\xC3\xAB \xC3\x9Cnal") << "the legacy name";
    const settings::ProfileRecord saved = block->profiles[0];
    EXPECT_STREQ(saved.ProFileName, kAnyScriptProfile);
    EXPECT_STREQ(saved.MacroKeyInfo[11].programPath, tool.c_str());
    EXPECT_EQ(saved.MacroKeyInfo[5].actionCode, settings::action::kMacro);
    EXPECT_EQ(std::string(saved.MacroKeyInfo[5].macroName),
              std::string(kAnyScriptMacro)
                  .substr(0, text::Utf8FitLength(kAnyScriptMacro,
                                                 sizeof saved.MacroKeyInfo[5].macroName - 1)));

    // Exported under a name in two scripts, imported into profile 2: the
    // names and the program come back whole.
    const std::string exported = folder_.File("\xD0\x9F\xD1\x80\xD0\xBE\xD1\x84 \xE2\x9C\x93.gmp");
    option_.Click(kKeyExport);
    ASSERT_TRUE(option_.ChooseFile(exported));
    ASSERT_TRUE(option_.Process().WaitForDebugText(text::Format(trace::kOptionExport, 1)));
    option_.Click(kKeyProfile1 + 1);
    option_.Click(kKeyImport);
    ASSERT_TRUE(option_.ChooseFile(exported));
    ASSERT_TRUE(option_.Process().WaitForDebugText(
        text::Format(trace::kOptionImport, static_cast<int>(option::ImportResult::Copied))));
    option_.Click(kKeyApply);
    ASSERT_TRUE(option_.Process().WaitForDebugText(text::Format(trace::kOptionApply, 0, 1, 1), 2));
    ASSERT_TRUE(e2e::WaitUntil([&] { return option_.ApplyReady(); }, 60s));
    ASSERT_TRUE(e2e::ReadSharedBlock(*block));
    ASSERT_EQ(block->currentProfile, 1);
    const settings::ProfileRecord& imported = block->profiles[1];
    EXPECT_STREQ(imported.ProFileName, saved.ProFileName);
    EXPECT_STREQ(imported.MacroKeyInfo[5].macroName, saved.MacroKeyInfo[5].macroName);
    EXPECT_STREQ(imported.MacroKeyInfo[11].programPath, tool.c_str());

    // The mouse has the imported profile's key map, and its launch button
    // starts the program in the folder of four scripts.
    auto staging = std::make_unique<device::MacroStaging>();
    device::DataBlock keyMap{};
    device::BuildKeyMapAndMacros(imported, 1, keyMap, *staging);
    EXPECT_TRUE(e2e::WaitUntil([&] {
        const auto keys = VirtualMouseSession::ProfileSection(mouse.Dump(), 2);
        return HasLineStarting(keys, Hex(keyMap, 5)) && HasLineStarting(keys, Hex(keyMap, 11));
    })) << Hex(keyMap, 5)
        << " / " << Hex(keyMap, 11);
    ASSERT_EQ(mouse.Command("/event launch:" + std::to_string(keyMap[4 * 11 + 3])), 0);
    const std::string started = std::string(kFourScripts) + "\\started.log";
    EXPECT_TRUE(e2e::WaitUntil([&] { return !folder_.ReadText(started).empty(); }));
    EXPECT_EQ(folder_.ReadText(started), "started tool.exe []\n");
}

}  // namespace
