// The button page's dialogs under Wine, each opened on an owner window and
// driven with real clicks and keystrokes: what the entry point gives back on
// OK and on cancel, keys that neither close a dialog nor reach other
// programs, the key capture hook gone on every way out, and the refusals.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <utility>

#include "common/settings/ini_engine.h"
#include "common/settings/key_codes_win.h"
#include "option/dialogs/dialog_parts_win.h"
#include "option/dialogs/macro_manager_dlg_win.h"
#include "option/dialogs/option_dialogs_win.h"
#include "option/key_capture_hook_win.h"
#include "option/option_globals_win.h"
#include "option/model/dialogs/dialog_values.h"
#include "option/model/dialogs/macro_store.h"
#include "option/skin/keyboard_nav_win.h"
#include "option/skin/skin_hint_win.h"
#include "option/skin/skin_loader_win.h"
#include "tests/e2e/harness/wait_until_win.h"
#include "tests/unit/common/settings/memory_store.h"
#include "tests/support/program_folder_win.h"
#include "tests/win/option/dialogs/dialog_driver_win.h"

namespace {

using namespace dialogtest;
using e2e::WaitUntil;

// Skins and strings of the built program folder.
class ProgramFolderEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        const std::string folder = testsupport::DistFolder();
        ASSERT_FALSE(folder.empty()) << "MOUSE_DIST names the program folder";
        skin::SetSkinFolder(folder + "skins\\");
        option::Globals().language.Reset(LoadLibraryA((folder + "lan.dll").c_str()));
        ASSERT_NE(option::Globals().language.Handle(), nullptr);
        skin::RegisterSkinMessages();
    }
    void TearDown() override { option::Globals().language.Unload(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ProgramFolderEnvironment);

std::string NameOfKey(unsigned virtualKey) {
    return option::CaptureKey(virtualKey, settings::CurrentKeyboardLayout()).name;
}
std::uint8_t CodeOfKey(unsigned virtualKey) {
    return option::CaptureKey(virtualKey, settings::CurrentKeyboardLayout()).keyCode;
}

bool TextBecomes(HWND window, const std::string& text) {
    return WaitUntil([&] { return TextOf(window) == text; });
}

// A notice box (a system dialog) that `dialog` opened, once shown.
HWND WaitForNotice(HWND dialog, const char* caption) {
    const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    HWND found = nullptr;
    WaitUntil([&] {
        found = FindThreadWindow(thread, caption, dialog);
        return found != nullptr;
    });
    return found;
}

// Selects the whole text of the focused edit field and types over it.
void Retype(const std::string& text) {
    Tap(VK_END);
    KeyDown(VK_SHIFT);
    Tap(VK_HOME);
    KeyUp(VK_SHIFT);
    Type(text);
}

constexpr int kFieldKey = 4010;
// A dialog's button of skin key `key`.
constexpr int Button(int key) {
    return static_cast<int>(option::DialogButtonId(key));
}

// The dialog shows, centred on its owner.
void ExpectShownCentred(const DialogRun& run, HWND dialog) {
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(CentredOn(dialog, run.Owner()));
}

// Runs the shortcut dialog on `key` and `toggles`; the dialog once it shows.
HWND StartShortcutDialog(DialogRun& run, std::uint8_t& key, option::ShortcutToggles& toggles) {
    return run.Show([&](HWND owner) { return option::RunShortcutDialog(owner, key, toggles); },
                    "K.VANE Shortcut Dialog");
}

TEST(ShortcutDialog, CapturesTheKeyShowsWhatIsStoredAndTogglesTheModifiers) {
    std::uint8_t key = CodeOfKey('A');
    option::ShortcutToggles toggles{false, true, false, false, false};
    DialogRun run;
    HWND dialog = StartShortcutDialog(run, key, toggles);
    ASSERT_NO_FATAL_FAILURE(ExpectShownCentred(run, dialog));
    HWND field = Item(dialog, kFieldKey);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(TextOf(field), "A");
    EXPECT_TRUE(option::KeyHookInstalled());

    // Shift alone becomes the key; Print Screen has no device code and is
    // not shown; Enter is a key like others and closes nothing. (Tab and Esc
    // are left to the dialog: the keyboard end-to-end test walks them.)
    Tap(VK_LSHIFT);
    EXPECT_TRUE(TextBecomes(field, NameOfKey(VK_LSHIFT)));
    Tap(VK_SNAPSHOT);
    Tap(VK_RETURN);
    EXPECT_TRUE(TextBecomes(field, NameOfKey(VK_RETURN)));
    Tap('B');
    EXPECT_TRUE(TextBecomes(field, "B"));
    EXPECT_TRUE(IsWindow(dialog));

    // The plain-key toggle disables the others but keeps their look.
    HWND plain = Item(dialog, Button(5));
    HWND ctrl = Item(dialog, Button(6));
    HWND shift = Item(dialog, Button(7));
    Click(plain);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(ctrl); }));
    EXPECT_FALSE(IsWindowEnabled(shift));
    Screenshot(dialog, "shortcut_plain_key");
    Click(plain);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(ctrl); }));
    Click(shift);
    Screenshot(dialog, "shortcut");

    Click(Item(dialog, Button(2)));  // OK
    ASSERT_TRUE(run.WaitFinished());
    EXPECT_TRUE(run.Result());
    EXPECT_EQ(key, CodeOfKey('B'));
    EXPECT_EQ(toggles, (option::ShortcutToggles{false, true, true, false, false}));
    EXPECT_FALSE(option::KeyHookInstalled());
}

TEST(ShortcutDialog, KeysAloneSetTheTogglesWithoutChangingTheKey) {
    std::uint8_t key = CodeOfKey('A');
    option::ShortcutToggles toggles{false, false, false, false, false};
    DialogRun run;
    run.Start([&](HWND owner) {
        // The keys' walk runs on the dialog's thread, as Option installs it.
        skin::InstallKeyboard();
        const bool done = option::RunShortcutDialog(owner, key, toggles);
        skin::UninstallKeyboard();
        return done;
    });
    HWND dialog = run.WaitForDialog("K.VANE Shortcut Dialog");
    ASSERT_NE(dialog, nullptr);
    HWND field = Item(dialog, kFieldKey);
    const auto focusBecomes = [&](HWND control) {
        return WaitUntil([&] { return FocusOfThreadOf(dialog) == control; });
    };
    const auto shiftTab = [] {
        KeyDown(VK_LSHIFT);
        Tap(VK_TAB);
        KeyUp(VK_LSHIFT);
    };
    ASSERT_TRUE(focusBecomes(field));

    // Off the key field the capture ends, so Space presses the Ctrl toggle.
    Tap(VK_TAB);
    ASSERT_TRUE(focusBecomes(Item(dialog, Button(5))));
    EXPECT_TRUE(WaitUntil([] { return !option::KeyHookInstalled(); }));
    Tap(VK_RIGHT);
    ASSERT_TRUE(focusBecomes(Item(dialog, Button(6))));
    Tap(VK_SPACE);

    // Shift+Tab into and out of the field never becomes the key.
    shiftTab();
    ASSERT_TRUE(focusBecomes(Item(dialog, Button(5))));
    shiftTab();
    ASSERT_TRUE(focusBecomes(field));
    EXPECT_TRUE(WaitUntil([] { return option::KeyHookInstalled(); }));
    Tap('B');
    EXPECT_TRUE(TextBecomes(field, "B"));
    shiftTab();
    ASSERT_TRUE(focusBecomes(Item(dialog, Button(4))));
    EXPECT_EQ(TextOf(field), "B");
    shiftTab();
    shiftTab();
    ASSERT_TRUE(focusBecomes(Item(dialog, Button(2))));
    Tap(VK_SPACE);  // OK
    ASSERT_TRUE(run.WaitFinished());
    EXPECT_TRUE(run.Result());
    EXPECT_EQ(key, CodeOfKey('B'));
    EXPECT_EQ(toggles, (option::ShortcutToggles{false, true, false, false, false}));
}

TEST(ShortcutDialog, CancelAndCloseChangeNothingAndEndTheCapture) {
    for (int button : {Button(3), Button(4)}) {
        std::uint8_t key = CodeOfKey('C');
        option::ShortcutToggles toggles{true, false, false, false, false};
        DialogRun run;
        HWND dialog = StartShortcutDialog(run, key, toggles);
        ASSERT_NE(dialog, nullptr);
        Tap('D');
        ASSERT_TRUE(TextBecomes(Item(dialog, kFieldKey), "D"));
        Click(Item(dialog, button));
        ASSERT_TRUE(run.WaitFinished());
        EXPECT_FALSE(run.Result()) << button;
        EXPECT_EQ(key, CodeOfKey('C'));
        EXPECT_EQ(toggles, (option::ShortcutToggles{true, false, false, false, false}));
        EXPECT_FALSE(option::KeyHookInstalled()) << button;
    }
}

TEST(FireDialog, KeyAndNumbersAsTheUserSetsThem) {
    option::FireSetting fire;  // a button without a fire action: 0 and 2
    DialogRun run;
    HWND dialog = run.Show([&](HWND owner) { return option::RunFireDialog(owner, fire); },
                           "FireClick Dialog");
    ASSERT_NO_FATAL_FAILURE(ExpectShownCentred(run, dialog));
    HWND keyField = Item(dialog, kFieldKey);
    HWND fieldB = Item(dialog, 4020);
    HWND fieldA = Item(dialog, 4030);
    EXPECT_EQ(TextOf(fieldA), "0");
    EXPECT_EQ(TextOf(fieldB), "2");
    EXPECT_EQ(TextOf(keyField), "");
    EXPECT_TRUE(option::KeyHookInstalled());

    // Print Screen would be stored as nothing: the field does not show it.
    Tap(VK_SNAPSHOT);
    Tap('K');
    EXPECT_TRUE(TextBecomes(keyField, "K"));

    // B typed as 0 and left becomes 1; A typed as 300 becomes 255. The
    // capture ends while a number field has the focus.
    Click(fieldB);
    EXPECT_TRUE(WaitUntil([] { return !option::KeyHookInstalled(); }));
    Retype("0");
    Click(fieldA);
    EXPECT_TRUE(TextBecomes(fieldB, "1"));
    Retype("300");
    // Enter and Esc in a number field close nothing.
    Tap(VK_RETURN);
    Tap(VK_ESCAPE);
    Click(keyField);
    EXPECT_TRUE(TextBecomes(fieldA, "255"));
    EXPECT_TRUE(WaitUntil([] { return option::KeyHookInstalled(); }));
    EXPECT_TRUE(IsWindow(dialog));

    // Ctrl held while A is pressed and released: the key released last decides.
    KeyDown(VK_LCONTROL);
    Tap('A');
    KeyUp(VK_LCONTROL);
    EXPECT_TRUE(TextBecomes(keyField, NameOfKey(VK_LCONTROL)));
    Screenshot(dialog, "fire");

    Click(Item(dialog, Button(1)));  // OK
    ASSERT_TRUE(run.WaitFinished());
    EXPECT_TRUE(run.Result());
    EXPECT_EQ(fire.valueA, 255);
    EXPECT_EQ(fire.valueB, 1);
    EXPECT_EQ(fire.keyCode, CodeOfKey(VK_LCONTROL));
    EXPECT_FALSE(option::KeyHookInstalled());
}

TEST(FireDialog, CancelLeavesTheSettingAndEndsTheCapture) {
    for (int button : {Button(2), Button(3)}) {
        option::FireSetting fire{12, CodeOfKey('Q'), 34};
        DialogRun run;
        HWND dialog = run.Show([&](HWND owner) { return option::RunFireDialog(owner, fire); },
                               "FireClick Dialog");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(TextOf(Item(dialog, 4030)), "12");
        EXPECT_EQ(TextOf(Item(dialog, 4020)), "34");
        EXPECT_EQ(TextOf(Item(dialog, kFieldKey)), "Q");
        Tap('W');
        ASSERT_TRUE(TextBecomes(Item(dialog, kFieldKey), "W"));
        Click(Item(dialog, button));
        ASSERT_TRUE(run.WaitFinished());
        EXPECT_FALSE(run.Result());
        EXPECT_EQ(fire.valueA, 12);
        EXPECT_EQ(fire.valueB, 34);
        EXPECT_EQ(fire.keyCode, CodeOfKey('Q'));
        EXPECT_FALSE(option::KeyHookInstalled()) << button;
    }
}

// An existing program in a fresh folder, for the file dialogs.
std::string MakeProgram(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        std::string(temp) + "dialogs_test_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::ofstream(folder + name) << "MZ";
    return folder + name;
}

// The system's file-open dialog that `owner` opened, once shown.
HWND WaitForFileDialog(HWND owner) {
    const DWORD thread = GetWindowThreadProcessId(owner, nullptr);
    HWND files = nullptr;
    WaitUntil([&] {
        files = FindThreadWindow(thread, "Open", owner);
        return files != nullptr;
    });
    return files;
}

// Types a name into the file dialog's name box and presses its Open button.
void EnterFileName(HWND files, const std::string& name) {
    HWND box = GetDlgItem(files, 1148);
    ASSERT_NE(box, nullptr);
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (HWND edit = FindWindowExA(box, nullptr, "Edit", nullptr))
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageA(files, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(files, IDOK)));
}

struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchOwned(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<OwnedSearch*>(param);
    if (IsWindowVisible(hwnd) && GetWindow(hwnd, GW_OWNER) == s->owner) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A visible window owned by `owner` (a message box of a system dialog).
HWND WaitForOwned(HWND owner) {
    OwnedSearch search{owner, nullptr};
    WaitUntil([&] {
        EnumWindows(&MatchOwned, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

// The notice for a too long path: it names both lengths; the dialog stays.
void ExpectPathRefused(HWND dialog, std::size_t length, std::size_t longest) {
    HWND notice = WaitForNotice(dialog, "Path too long");
    ASSERT_NE(notice, nullptr);
    std::string text;
    for (HWND child = GetWindow(notice, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        text += TextOf(child) + "\n";
    EXPECT_NE(text.find(std::to_string(length)), std::string::npos) << text;
    EXPECT_NE(text.find(std::to_string(longest)), std::string::npos) << text;
    Screenshot(notice, "path_too_long");
    PostMessageA(notice, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(notice, IDOK)));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(notice); }));
    EXPECT_TRUE(IsWindowVisible(dialog));
}

// Types `tooLong` over the text of `field`, presses Enter and Esc there as a
// user might, then the OK button of skin key `okKey`: the dialog refuses the
// path with a notice that names its length and the longest one taken.
void EnterTooLongPath(HWND dialog, HWND field, int okKey, const std::string& tooLong,
                      std::size_t longest) {
    Click(field);
    Retype(tooLong);
    ASSERT_TRUE(TextBecomes(field, tooLong));
    Tap(VK_RETURN);
    Tap(VK_ESCAPE);
    Click(Item(dialog, Button(okKey)));
    ExpectPathRefused(dialog, tooLong.size(), longest);
}

TEST(LaunchProgramDialog, TypedOrChosenPathsAndTooLongOnesRefused) {
    const std::string program = MakeProgram("tool.exe");
    std::string path;
    DialogRun run;
    HWND dialog = run.Show([&](HWND owner) { return option::RunLaunchProgramDialog(owner, path); },
                           "Launch Program Dialog");
    ASSERT_NO_FATAL_FAILURE(ExpectShownCentred(run, dialog));
    HWND field = Item(dialog, kFieldKey);
    EXPECT_EQ(TextOf(field), "");
    ASSERT_TRUE(WaitUntil([&] { return ReadyForInput(dialog); }));

    // Longer than the record's 261 characters: refused, not cut.
    const std::string tooLong = "C:\\" + std::string(300, 'p') + ".exe";
    ASSERT_NO_FATAL_FAILURE(EnterTooLongPath(dialog, field, 3, tooLong, option::kMaxProgramPath));

    // Browse: a file that does not exist is not taken; an existing one is.
    Click(Item(dialog, Button(2)));
    HWND files = WaitForFileDialog(dialog);
    ASSERT_NE(files, nullptr);
    const std::string folder = program.substr(0, program.rfind('\\') + 1);
    EnterFileName(files, folder + "missing.exe");
    HWND missing = WaitForOwned(files);
    ASSERT_NE(missing, nullptr) << "the file must exist";
    PostMessageA(missing, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(missing, IDOK)));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(missing); }));
    EXPECT_EQ(TextOf(field), tooLong);
    EnterFileName(files, program);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(files); }));
    EXPECT_TRUE(TextBecomes(field, program));
    Screenshot(dialog, "launch_program");

    // Wine without a window manager sometimes routes the first real click
    // after the system file dialog to the owner below; the OK button itself
    // is what is tested here, so the press and release go to it directly.
    ASSERT_TRUE(WaitUntil([&] { return ReadyForInput(dialog); }));
    PressDirectly(Item(dialog, Button(3)));
    ASSERT_TRUE(run.WaitFinished());
    EXPECT_TRUE(run.Result());
    EXPECT_EQ(path, program);
}

TEST(LaunchProgramDialog, CancelKeepsThePath) {
    std::string path = "C:\\Games\\old.exe";
    DialogRun run;
    HWND dialog = run.Show([&](HWND owner) { return option::RunLaunchProgramDialog(owner, path); },
                           "Launch Program Dialog");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(Item(dialog, kFieldKey)), path);
    Click(Item(dialog, kFieldKey));
    Type("x");
    Click(Item(dialog, Button(4)));
    ASSERT_TRUE(run.WaitFinished());
    EXPECT_FALSE(run.Result());
    EXPECT_EQ(path, "C:\\Games\\old.exe");
}

TEST(ProfileDialog, NameAndGameProgramInTheirOwnFields) {
    option::ProfileFields fields{"Gamer", "C:\\old\\game.exe"};
    DialogRun run;
    HWND dialog = run.Show([&](HWND owner) { return option::RunProfileDialog(owner, fields); },
                           "Profile Dialog");
    ASSERT_NO_FATAL_FAILURE(ExpectShownCentred(run, dialog));
    HWND name = Item(dialog, 4010);
    HWND game = Item(dialog, 4020);
    ASSERT_NE(name, nullptr);
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(TextOf(name), "Gamer");
    EXPECT_EQ(TextOf(game), "C:\\old\\game.exe");

    // The name takes at most 20 characters.
    Click(name);
    Retype("Tournament profile 2026");
    EXPECT_TRUE(TextBecomes(name, "Tournament profile 2"));

    // A game program longer than the record's field is refused whole.
    const std::string tooLong = "D:\\" + std::string(520, 'g') + ".exe";
    ASSERT_NO_FATAL_FAILURE(EnterTooLongPath(dialog, game, 4, tooLong, option::kMaxGameFileChars));

    Click(game);
    Retype("D:\\Games\\arena.exe");
    ASSERT_TRUE(TextBecomes(game, "D:\\Games\\arena.exe"));
    Screenshot(dialog, "profile");
    Click(Item(dialog, Button(4)));
    ASSERT_TRUE(run.WaitFinished());
    EXPECT_TRUE(run.Result());
    EXPECT_EQ(fields.name, "Tournament profile 2");
    EXPECT_EQ(fields.gameFile, "D:\\Games\\arena.exe");
}

TEST(ProfileDialog, CancelAndCloseKeepTheFields) {
    for (int button : {Button(5), Button(6)}) {
        option::ProfileFields fields{"Keep", "C:\\keep.exe"};
        DialogRun run;
        HWND dialog = run.Show([&](HWND owner) { return option::RunProfileDialog(owner, fields); },
                               "Profile Dialog");
        ASSERT_NE(dialog, nullptr);
        Click(Item(dialog, 4010));
        Retype("Other");
        ASSERT_TRUE(TextBecomes(Item(dialog, 4010), "Other"));
        Click(Item(dialog, button));
        ASSERT_TRUE(run.WaitFinished());
        EXPECT_FALSE(run.Result());
        EXPECT_EQ(fields.name, "Keep");
        EXPECT_EQ(fields.gameFile, "C:\\keep.exe");
    }
}

TEST(PlayerDialog, MenuChoosesOfferedPlayersAndUnknownIndexesSurviveOk) {
    std::int32_t player = 2;
    DialogRun run;
    HWND dialog = run.Show([&](HWND owner) { return option::RunPlayerDialog(owner, player); },
                           "Media Player Dialog");
    ASSERT_NO_FATAL_FAILURE(ExpectShownCentred(run, dialog));
    HWND selector = Item(dialog, Button(1));
    EXPECT_EQ(TextOf(selector), "Real Player");  // shown though the menu cannot choose it
    Tap(VK_RETURN);
    Tap(VK_ESCAPE);

    Click(selector);
    const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        menu = FindWindowA("#32768", nullptr);
        return menu != nullptr && IsWindowVisible(menu) &&
               GetWindowThreadProcessId(menu, nullptr) == thread;
    }));
    // Shown is not yet painted: the menu paints on the dialog's thread.
    WaitUntil([&] {
        return !GetUpdateRect(menu, nullptr, FALSE) &&
               SendMessageTimeoutA(menu, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr) != 0;
    });
    Screenshot(GetDesktopWindow(), "player_menu");
    HMENU items = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
    ASSERT_EQ(GetMenuItemCount(items), 3) << "Windows Media player, iTunes, Winamp";
    RECT item{};
    ASSERT_TRUE(GetMenuItemRect(nullptr, items, 1, &item));
    ClickAt({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    EXPECT_TRUE(TextBecomes(selector, "iTunes"));
    Screenshot(dialog, "player");
    Click(Item(dialog, Button(2)));
    ASSERT_TRUE(run.WaitFinished());
    EXPECT_TRUE(run.Result());
    EXPECT_EQ(player, 1);

    // An index no player has shows an empty face and comes back unchanged.
    player = 9;
    DialogRun second;
    dialog = second.Show([&](HWND owner) { return option::RunPlayerDialog(owner, player); },
                         "Media Player Dialog");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(Item(dialog, Button(1))), "");
    Click(Item(dialog, Button(2)));
    ASSERT_TRUE(second.WaitFinished());
    EXPECT_TRUE(second.Result());
    EXPECT_EQ(player, 9);
}

TEST(PlayerDialog, CancelKeepsThePlayer) {
    for (int button : {Button(3), Button(4)}) {
        std::int32_t player = 3;
        DialogRun run;
        HWND dialog = run.Show([&](HWND owner) { return option::RunPlayerDialog(owner, player); },
                               "Media Player Dialog");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(TextOf(Item(dialog, Button(1))), "Winamp");
        Click(Item(dialog, button));
        ASSERT_TRUE(run.WaitFinished());
        EXPECT_FALSE(run.Result());
        EXPECT_EQ(player, 3);
    }
}

// The repeat count is corrected when the user is done with it (the field
// loses the focus, or OK), never under the caret while it is typed.
TEST(MacroManager, TheRepeatCountIsCorrectedOnLeavingNotWhileTyped) {
    testing_files::MemoryStore files;
    settings::EngineIniFileSystem engine(files);
    option::MacroFileStore store(engine, "C:\\Prog\\");
    store.AddNamed("Burst").repeatValue = 1;
    DialogRun run;
    run.Start([&](HWND owner) {
        option::RunMacroManager(owner, store, "Burst");
        return true;
    });
    HWND dialog = run.WaitForDialog(option::kMacroManagerTitle);
    ASSERT_NE(dialog, nullptr);
    HWND field = Item(dialog, option::macro_manager::kRepeatEditId);
    ASSERT_TRUE(TextBecomes(field, "1"));

    // Backspace empties the field and it stays empty for the next digits.
    Click(field);
    Tap(VK_END);
    Tap(VK_BACK);
    Type("25");
    EXPECT_TRUE(WaitUntil([&] { return TextOf(field).size() >= 2; }));
    EXPECT_EQ(TextOf(field), "25");

    // Leaving the field corrects it: 0 becomes 1.
    Retype("0");
    Click(Item(dialog, option::macro_manager::kEventListId));
    EXPECT_TRUE(TextBecomes(field, "1"));
    Screenshot(dialog, "macro_manager_repeat");

    // OK takes a count still being typed, capped, also when the field keeps
    // the focus (a click on OK moves it; the command alone does not).
    Click(field);
    Retype("99999");
    ASSERT_TRUE(TextBecomes(field, "99999"));
    HWND ok = Item(dialog, static_cast<int>(option::macro_manager::ControlIdOf(1)));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(ok), BN_CLICKED),
                 reinterpret_cast<LPARAM>(ok));
    ASSERT_TRUE(run.WaitFinished());
    ASSERT_EQ(store.Count(), 1);
    EXPECT_EQ(store.MacroAt(0)->repeatValue, 65535);
}

// A count typed and then left by a click on another macro belongs to the
// macro it was typed for: the list reports the new selection before the
// field's notice that it lost the focus.
TEST(MacroManager, ACountTypedStaysWithItsMacroWhenAnotherIsChosen) {
    testing_files::MemoryStore files;
    settings::EngineIniFileSystem engine(files);
    option::MacroFileStore store(engine, "C:\\Prog\\");
    store.AddNamed("Burst").repeatValue = 2;
    store.AddNamed("Other").repeatValue = 5;
    DialogRun run;
    HWND dialog =
        run.Show([&](HWND owner) { return option::RunMacroManager(owner, store, "Burst"); },
                 option::kMacroManagerTitle);
    ASSERT_NE(dialog, nullptr);
    HWND field = Item(dialog, option::macro_manager::kRepeatEditId);
    ASSERT_TRUE(TextBecomes(field, "2"));
    Click(field);
    Retype("42");
    ASSERT_TRUE(TextBecomes(field, "42"));

    HWND list = Item(dialog, option::macro_manager::kMacroListId);
    RECT item{};
    ASSERT_NE(SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item)), LB_ERR);
    POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(list, &at);
    ClickAt(at);
    EXPECT_TRUE(TextBecomes(field, "5"));

    HWND ok = Item(dialog, static_cast<int>(option::macro_manager::ControlIdOf(1)));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(ok), BN_CLICKED),
                 reinterpret_cast<LPARAM>(ok));
    ASSERT_TRUE(run.WaitFinished());
    EXPECT_TRUE(run.Result());
    EXPECT_EQ(store.MacroAt(0)->repeatValue, 42);
    EXPECT_EQ(store.MacroAt(1)->repeatValue, 5);
}

// When Monitor closes Option with a dialog open, Option's main window sends
// each dialog it owns WM_CLOSE: that must cancel the dialog, or Option never
// ends and the key capture outlives it.
TEST(ButtonPageDialogs, ClosingTheWindowCancelsThem) {
    std::uint8_t key = CodeOfKey('C');
    option::ShortcutToggles toggles{true, false, false, false, false};
    option::FireSetting fire{5, CodeOfKey('F'), 7};
    std::string path = "C:\\keep.exe";
    option::ProfileFields fields{"Keep", "C:\\keep.exe"};
    std::int32_t player = 1;
    const std::pair<const char*, std::function<bool(HWND)>> dialogs[] = {
        {"K.VANE Shortcut Dialog",
         [&](HWND owner) { return option::RunShortcutDialog(owner, key, toggles); }},
        {"FireClick Dialog", [&](HWND owner) { return option::RunFireDialog(owner, fire); }},
        {"Launch Program Dialog",
         [&](HWND owner) { return option::RunLaunchProgramDialog(owner, path); }},
        {"Profile Dialog", [&](HWND owner) { return option::RunProfileDialog(owner, fields); }},
        {"Media Player Dialog", [&](HWND owner) { return option::RunPlayerDialog(owner, player); }},
    };
    for (const auto& [title, runDialog] : dialogs) {
        DialogRun run;
        HWND dialog = run.Show(runDialog, title);
        ASSERT_NE(dialog, nullptr) << title;
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        ASSERT_TRUE(run.WaitFinished()) << title;
        EXPECT_FALSE(run.Result()) << title;
        EXPECT_FALSE(option::KeyHookInstalled()) << title;
    }
    EXPECT_EQ(key, CodeOfKey('C'));
    EXPECT_EQ(fire.keyCode, CodeOfKey('F'));
    EXPECT_EQ(path, "C:\\keep.exe");
    EXPECT_EQ(fields.name, "Keep");
    EXPECT_EQ(player, 1);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
