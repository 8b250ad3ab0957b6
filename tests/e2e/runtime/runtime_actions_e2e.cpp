// Monitor carries out the button actions the virtual mouse reports: key
// combinations, macros, program launch, volume and media keys, profile and
// setting changes, automatic profiles and tilt scrolling. The test plays the
// user's other programs and watches the input with low-level hooks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/text_format.h"
#include "common/trace_points.h"
#include "tests/e2e/harness/input_recorder_win.h"
#include "tests/e2e/harness/recording_windows_win.h"
#include "tests/e2e/runtime/runtime_fixture_win.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using Trace = std::vector<std::string>;

int CountOf(const Trace& trace, const std::string& entry) {
    return static_cast<int>(std::count(trace.begin(), trace.end(), entry));
}

bool Contains(const Trace& trace, const std::string& entry) {
    return CountOf(trace, entry) > 0;
}

std::string Join(const Trace& trace) {
    std::string out;
    for (const std::string& t : trace) out += t + " ";
    return out;
}

// Microseconds of the first event of `trace` equal to `entry` at or after index `from`.
std::int64_t TimeOf(const std::vector<InputEvent>& keys, const std::string& entry,
                    std::size_t from = 0) {
    const Trace trace = KeyTrace(keys);
    for (std::size_t i = from; i < trace.size(); ++i)
        if (trace[i] == entry)
            return keys[i].microseconds;
    return -1;
}

// The display was told the profile notice (1324, wParam 40) of `profileIndex`.
void ExpectProfileNotice(const StandInWindow& osd, int profileIndex) {
    const auto notices = osd.All();
    const auto notice = std::find_if(notices.begin(), notices.end(),
                                     [](const Received& r) { return r.message == 1324; });
    ASSERT_NE(notice, notices.end());
    EXPECT_EQ(notice->wParam, 40u);
    EXPECT_EQ(notice->lParam, profileIndex * 65536);
}

// ---------------------------------------------------------------- key combinations

TEST_F(RuntimeE2E, HeldKeyCombinationPressesRepeatsAndReleasesInReverse) {
    SetKeyCombination(0, 3, kCodeA, settings::modifier::kCtrl | settings::modifier::kShift);
    // Bit 0 means the plain key: the Ctrl bit beside it is ignored.
    SetKeyCombination(0, 5, kCodeB, settings::modifier::kPlainKey | settings::modifier::kCtrl);
    Start();
    InputRecorder input;
    ASSERT_TRUE(input.Installed());

    Inject("press:3");
    ASSERT_TRUE(input.WaitFor([](const auto& e) { return Contains(KeyTrace(e), "+41"); }));
    // Held until the key has repeated twice, however slowly the machine goes.
    ASSERT_TRUE(input.WaitFor([](const auto& e) { return CountOf(KeyTrace(e), "-41") >= 2; }))
        << "a held combination repeats its key: " << Join(KeyTrace(input.Keys()));
    Inject("release:3");
    ASSERT_TRUE(input.WaitFor([](const auto& e) { return Contains(KeyTrace(e), "-11"); }));
    Settle();
    const std::vector<InputEvent> keys = input.Keys();
    const Trace trace = KeyTrace(keys);
    ASSERT_GE(trace.size(), 6u) << Join(trace);
    EXPECT_EQ(Trace(trace.begin(), trace.begin() + 3), (Trace{"+11", "+10", "+41"})) << Join(trace);
    EXPECT_EQ(Trace(trace.end() - 3, trace.end()), (Trace{"-41", "-10", "-11"})) << Join(trace);
    // Between them only repeats of the main key, as up/down pairs.
    const Trace middle(trace.begin() + 3, trace.end() - 3);
    ASSERT_EQ(middle.size() % 2, 0u) << Join(trace);
    for (std::size_t i = 0; i < middle.size(); i += 2) {
        EXPECT_EQ(middle[i], "-41") << Join(trace);
        EXPECT_EQ(middle[i + 1], "+41") << Join(trace);
    }
    EXPECT_GE(middle.size() / 2, 2u) << "a held combination repeats its key: " << Join(trace);
    // The first repeat waits a second after the press.
    const std::int64_t down = TimeOf(keys, "+41");
    const std::int64_t firstRepeat = TimeOf(keys, "-41");
    EXPECT_GE(firstRepeat - down, 900000) << Join(trace);
    for (const InputEvent& e : keys) EXPECT_TRUE(e.flags & LLKHF_INJECTED);

    input.Clear();
    Inject("press:5");
    Inject("release:5");
    ASSERT_TRUE(input.WaitFor([](const auto& e) { return Contains(KeyTrace(e), "-42"); }));
    Settle();
    EXPECT_EQ(KeyTrace(input.Keys()), (Trace{"+42", "-42"}));
}

TEST_F(RuntimeE2E, CombinationOfAModifierAloneIsNeverRepeated) {
    SetKeyCombination(0, 8, kCodeLeftShift, 0);
    Start();
    InputRecorder input;
    ASSERT_TRUE(input.Installed());
    Inject("press:8");
    ASSERT_TRUE(input.WaitFor([](const auto& e) { return Contains(KeyTrace(e), "+10"); }));
    // Held well past the second after which a combination repeats. Nothing
    // marks "a repeat would have come by now", so this is a fixed window.
    ObserveFor(1600ms);
    Inject("release:8");
    ASSERT_TRUE(input.WaitFor([](const auto& e) { return Contains(KeyTrace(e), "-10"); }));
    Settle();
    EXPECT_EQ(KeyTrace(input.Keys()), (Trace{"+10", "-10"}));
    // Sent as the side-less Shift, whatever the layout reports for it.
    EXPECT_EQ(input.Keys().front().vk == VK_SHIFT || input.Keys().front().vk == VK_LSHIFT, true);
}

TEST_F(RuntimeE2E, UnplugWhileACombinationIsHeldReleasesItsKeys) {
    std::optional<InputRecorder> input;
    ASSERT_NO_FATAL_FAILURE(StartHoldingCtrlA(input));
    ASSERT_EQ(VirtualMouse("/unplug"), 0);
    ASSERT_TRUE(input->WaitFor([](const auto& e) { return Contains(KeyTrace(e), "-11"); }))
        << "the held combination was not released: " << Join(KeyTrace(input->Keys()));
    ASSERT_TRUE(
        WaitUntil([&] { return folder_.ReadIni("config.ini", "Setting", "Device") == "0"; }));
    const Trace atRelease = KeyTrace(input->Keys());
    EXPECT_EQ(Trace(atRelease.end() - 2, atRelease.end()), (Trace{"-41", "-11"}))
        << Join(atRelease);
    // No repeats once the mouse is gone (its removal is recorded above). An
    // unplugged mouse sends no marker event, so this is a fixed window of five
    // repeat periods: a repeat that wrongly went on would show in the first.
    ObserveFor(500ms);
    EXPECT_EQ(KeyTrace(input->Keys()).size(), atRelease.size()) << Join(KeyTrace(input->Keys()));
}

// ---------------------------------------------------------------------- macros

TEST_F(RuntimeE2E, MacroPlaysItsRepeatsAndASecondPressStopsItReleasingHeldKeys) {
    SetMacro(0, 6, {{kCodeB, 1, 20}, {kCodeB, 2, 20}}, 2);
    // A minute's hold: the stop, not the macro's own end, must release it.
    SetMacro(
        0, 4,
        {{kCodeLeftShift, 1, 10}, {kCodeA, 1, 60000}, {kCodeA, 2, 10}, {kCodeLeftShift, 2, 10}});
    Start();
    InputRecorder input;
    ASSERT_TRUE(input.Installed());

    Inject("press:6");
    ASSERT_TRUE(input.WaitFor([](const auto& e) { return CountOf(KeyTrace(e), "-42") == 2; }));
    ASSERT_TRUE(monitor_.WaitForDebugText(text::Format(trace::kMacroStep, 1, 0, 2)));
    Settle();
    EXPECT_EQ(KeyTrace(input.Keys()), (Trace{"+42", "-42", "+42", "-42"}));

    input.Clear();
    Inject("press:4");
    // Past the first half second of the long hold: the key auto-repeats.
    ASSERT_TRUE(input.WaitFor([](const auto& e) { return CountOf(KeyTrace(e), "-41") >= 3; }));
    Inject("press:4");
    ASSERT_TRUE(input.WaitFor([](const auto& e) {
        const Trace t = KeyTrace(e);
        return !t.empty() && t.back() == "-10";
    })) << "the macro was not stopped: "
        << Join(KeyTrace(input.Keys()));
    Settle();
    const std::vector<InputEvent> keys = input.Keys();
    const Trace trace = KeyTrace(keys);
    ASSERT_GE(trace.size(), 4u);
    EXPECT_EQ(Trace(trace.begin(), trace.begin() + 2), (Trace{"+10", "+41"})) << Join(trace);
    // Held keys go up in reverse order, 50 ms apart, and nothing follows.
    EXPECT_EQ(Trace(trace.end() - 2, trace.end()), (Trace{"-41", "-10"})) << Join(trace);
    // (The macro's own releases would be 10 ms apart.)
    EXPECT_GE(keys.back().microseconds - keys[keys.size() - 2].microseconds, 40000);
    EXPECT_EQ(CountOf(trace, "-10"), 1) << "the stopped macro must not play its own releases";
    // Nothing follows the release; Settle above proved the presses handled.
    ObserveFor(500ms);
    EXPECT_EQ(input.Keys().size(), keys.size());

    // Stopped means stopped: the next press starts the macro again.
    input.Clear();
    Inject("press:6");
    ASSERT_TRUE(input.WaitFor([](const auto& e) { return CountOf(KeyTrace(e), "-42") == 2; }));
}

// A key held 1.5 s in a macro imitates the keyboard's auto-repeat: half a
// second, then 30 up/down pairs 33 ms apart, then the macro goes on.
TEST_F(RuntimeE2E, LongMacroHoldRepeatsTheKeyLikeTheKeyboard) {
    SetMacro(0, 7, {{kCodeA, 1, 1500}, {kCodeA, 2, 0}, {kCodeB, 1, 0}, {kCodeB, 2, 0}});
    Start();
    InputRecorder input;
    ASSERT_TRUE(input.Installed());
    Inject("press:7");
    ASSERT_TRUE(input.WaitFor([](const auto& e) { return Contains(KeyTrace(e), "-42"); }));
    ASSERT_TRUE(monitor_.WaitForDebugText(text::Format(trace::kMacroStep, 3, 0, 4)));
    const std::vector<InputEvent> keys = input.Keys();
    const Trace trace = KeyTrace(keys);
    ASSERT_EQ(trace.size(), 64u) << Join(trace);
    EXPECT_EQ(trace.front(), "+41");
    for (std::size_t i = 1; i + 3 < trace.size(); i += 2) {
        EXPECT_EQ(trace[i], "-41") << i;
        EXPECT_EQ(trace[i + 1], "+41") << i;
    }
    EXPECT_EQ(Trace(trace.end() - 3, trace.end()), (Trace{"-41", "+42", "-42"}));
    // Delays are minimums: the first pair after 500 ms, the release after 1.5 s.
    EXPECT_GE(keys[1].microseconds - keys[0].microseconds, 495000);
    EXPECT_GE(keys[61].microseconds - keys[0].microseconds, 1495000);
}

TEST_F(RuntimeE2E, MacroNoticeTellsTheDisplayWhichMacroStartedOnlyForTheNoticeCategory) {
    SetMacro(0, 4, {{kCodeB, 1, 5}, {kCodeB, 2, 5}});
    settings::CopyField(Button(0, 4).macroName, "Alpha");
    SetMacro(0, 15, {{kCodeB, 1, 5}, {kCodeB, 2, 5}});
    settings::CopyField(Button(0, 15).macroName, "Omega");
    SetKeyCombination(0, 3, kCodeA, settings::modifier::kPlainKey);
    osd_.showMacro = 1;
    StandInWindow osd(kOsdTitle);
    Start();
    auto played = [&](int n) {
        return monitor_.WaitForDebugText(text::Format(trace::kMacroStep, 1, 0, 2), n);
    };

    Inject("press:4");
    ASSERT_TRUE(osd.WaitFor(1324, 1));
    EXPECT_EQ(osd.All().back().wParam, 70u);
    EXPECT_EQ(folder_.ReadIni("config.ini", "MacroOSD", "Number"), "3");
    EXPECT_EQ(folder_.ReadIni("config.ini", "MacroOSD", "MacroName"), "Alpha");
    ASSERT_TRUE(played(1));

    // The second button category plays the macro without a notice.
    Inject("press5:15");
    ASSERT_TRUE(played(2));
    Inject("press:3");
    Inject("release:3");
    Settle();
    EXPECT_EQ(osd.Count(1324), 1);

    // Slot 14 is reported as number 4.
    Inject("press:15");
    ASSERT_TRUE(osd.WaitFor(1324, 2));
    EXPECT_EQ(folder_.ReadIni("config.ini", "MacroOSD", "Number"), "4");
    EXPECT_EQ(folder_.ReadIni("config.ini", "MacroOSD", "MacroName"), "Omega");
    ASSERT_TRUE(played(3));
}

// --------------------------------------------------------------- program launch

TEST_F(RuntimeE2E, LaunchButtonStartsItsProgramOnPressOnly) {
    ASSERT_TRUE(folder_.AddTestProgram("standin_program.exe", "Target Program.exe"));
    settings::ButtonAssignment& launch = Button(0, 3);
    launch.actionCode = settings::action::kLaunchProgram;
    settings::CopyField(launch.programPath, folder_.File("Target Program.exe").c_str());
    // Another kind of button names a program too, but is not a launch button.
    settings::ButtonAssignment& other = Button(0, 7);
    SetKeyCombination(0, 7, kCodeA, settings::modifier::kPlainKey);
    settings::CopyField(other.programPath, folder_.File("Target Program.exe").c_str());
    Start();

    // Neither a release nor another kind of button launches. The launch that
    // follows them shows when they have been handled; a program they wrongly
    // started would have written its line by the end of the settling window.
    Inject("launch-release:3");
    Inject("launch:7");
    Inject("launch:3");
    Inject("launch-release:3");
    ASSERT_TRUE(WaitUntil([&] { return !folder_.ReadText("started.log").empty(); }))
        << "the launch button started nothing";
    Settle(1500ms);
    EXPECT_EQ(folder_.ReadText("started.log"), "started Target Program.exe []\n");

    // The mouse's own button for the configuration program starts Option.
    ASSERT_TRUE(folder_.AddTestProgram("Option.exe", "Option.exe"));
    Inject("option");
    ASSERT_TRUE(monitor_.WaitForDebugText(trace::kCustomizerStarted));
    EXPECT_TRUE(WaitUntil([&] { return !folder_.ReadText("option_started.log").empty(); }));
}

// Players are started from the path their installation registered.
TEST_F(RuntimeE2E, MediaPlayerButtonStartsTheRegisteredWinamp) {
    constexpr const char* kKey = "SOFTWARE\\Classes\\Winamp.File\\shell\\open\\command";
    HKEY probe = nullptr;
    // Only a tree this test made is removed afterwards.
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Winamp.File", 0, KEY_READ, &probe) ==
        ERROR_SUCCESS) {
        RegCloseKey(probe);
        GTEST_SKIP() << "a Winamp is registered on this machine";
    }
    struct Registration {
        ~Registration() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Winamp.File"); }
        bool Set(const std::string& value) {
            HKEY key = nullptr;
            if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &key, nullptr) != ERROR_SUCCESS)
                return false;
            const bool ok = RegSetValueExA(key, nullptr, 0, REG_SZ,
                                           reinterpret_cast<const BYTE*>(value.c_str()),
                                           static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
            RegCloseKey(key);
            return ok;
        }
    } registration;
    ASSERT_TRUE(folder_.AddTestProgram("standin_program.exe", "player.exe"));
    ASSERT_TRUE(folder_.AddTestProgram("standin_program.exe", "Winamp Player.exe"));
    ASSERT_TRUE(folder_.AddTestProgram("standin_program.exe", "winamp.exe"));
    Profile(0).MediaOption = 3;
    Start();

    // A path that does not name Winamp is not run: the next start below finds
    // the log holding only its own line. The registration may change only
    // once Monitor has handled the press.
    ASSERT_TRUE(registration.Set(folder_.File("player.exe")));
    Inject("media:32");
    ASSERT_TRUE(EventsHandled());

    // Without quotes the whole value is the path, blanks and all.
    ASSERT_TRUE(registration.Set(folder_.File("Winamp Player.exe")));
    Inject("media:32");
    ASSERT_TRUE(WaitUntil([&] { return !folder_.ReadText("started.log").empty(); }));
    Settle(800ms);
    EXPECT_EQ(folder_.ReadText("started.log"), "started Winamp Player.exe []\n");

    // With quotes the path ends at the closing quote; the arguments are dropped.
    std::string quoted = "\"";
    quoted.append(folder_.File("winamp.exe")).append("\" \"%1\"");
    ASSERT_TRUE(registration.Set(quoted));
    Inject("media:32");
    Inject("media-release:32");
    ASSERT_TRUE(WaitUntil(
        [&] { return folder_.ReadText("started.log").find("winamp.exe") != std::string::npos; }));
    Settle(800ms);
    EXPECT_EQ(folder_.ReadText("started.log"),
              "started Winamp Player.exe []\nstarted winamp.exe []\n");
}

// ----------------------------------------------------------------- volume keys

TEST_F(RuntimeE2E, VolumeKeysStepOnPressRepeatWhileHeldAndMuteOnce) {
    Start();
    InputRecorder input;
    ASSERT_TRUE(input.Installed());
    Inject("media:38");
    // Held until the step on press and two repeats have come.
    ASSERT_TRUE(input.WaitFor([](const auto& e) { return CountOf(KeyTrace(e), "+AF") >= 3; }))
        << "one step on press and more every 300 ms: " << Join(KeyTrace(input.Keys()));
    Inject("media-release:38");
    Settle();
    const std::vector<InputEvent> up = input.Keys();
    const Trace trace = KeyTrace(up);
    const int steps = CountOf(trace, "+AF");
    EXPECT_EQ(CountOf(trace, "-AF"), steps) << Join(trace);
    ASSERT_GE(steps, 3) << Join(trace);
    // Never faster than every 300 ms; averaged over the steps, so that one
    // late hook call on a loaded machine does not count as a short gap.
    const std::int64_t first = TimeOf(up, "+AF");
    std::int64_t last = first;
    for (const InputEvent& e : up)
        if (!(e.flags & LLKHF_UP))
            last = e.microseconds;
    EXPECT_GE((last - first) / (steps - 1), 200000) << Join(trace);
    for (const InputEvent& e : up) {
        EXPECT_EQ(e.vk, 0xAFu);
        EXPECT_TRUE(e.flags & LLKHF_EXTENDED);
    }
    // Released (Settle proved the release handled): the repeat has stopped.
    // Three repeat periods for a wrong one to show.
    ObserveFor(900ms);
    EXPECT_EQ(input.Keys().size(), up.size());

    input.Clear();
    Inject("media:39");
    Inject("media-release:39");
    Inject("media:37");
    Inject("media-release:37");
    ASSERT_TRUE(input.WaitFor([](const auto& e) {
        const Trace t = KeyTrace(e);
        return Contains(t, "-AE") && Contains(t, "-AD");
    })) << Join(KeyTrace(input.Keys()));
    // Mute steps once: time for a wrong repeat (300 ms apart) to show.
    Settle(400ms);
    const Trace rest = KeyTrace(input.Keys());
    EXPECT_GE(CountOf(rest, "+AE"), 1) << Join(rest);
    EXPECT_EQ(CountOf(rest, "+AD"), 1) << Join(rest);
    EXPECT_EQ(CountOf(rest, "-AD"), 1) << Join(rest);
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest.back(), "-AD");
}

// -------------------------------------------------- profiles and settings from the mouse

TEST_F(RuntimeE2E, ProfileSwitchedOnTheMouseReachesEveryoneButTheFiles) {
    osd_.showProfile = 1;
    StandInWindow option(kOptionTitle);
    StandInWindow osd(kOsdTitle);
    Start();
    // Let the start-up upload finish so that the selection is the last word.
    ASSERT_TRUE(UploadBegun());
    Inject("profile:3");
    ASSERT_TRUE(option.WaitFor(1255));
    ASSERT_TRUE(osd.WaitFor(1324));
    auto shared = std::make_unique<settings::SettingsBlock>();
    ASSERT_TRUE(ReadShared(*shared));
    EXPECT_EQ(shared->currentProfile, 2);
    ASSERT_NO_FATAL_FAILURE(ExpectProfileNotice(osd, 2));
    ASSERT_TRUE(WaitUntil([&] { return Dump().find("selected_profile 3\n") != std::string::npos; }))
        << Dump();
    EXPECT_EQ(folder_.ReadIni("config.ini", "Setting", "CurrentProfile"), "0");

    // Out of range: nothing changes.
    Inject("0x70000006");
    Settle();
    ASSERT_TRUE(ReadShared(*shared));
    EXPECT_EQ(shared->currentProfile, 2);
    EXPECT_EQ(option.Count(1255), 1);

    // A restart without an Apply in between brings back the profile of the files.
    PostMessageA(MonitorWindow(), WM_COMMAND, 6002, 0);
    ASSERT_EQ(monitor_.WaitExit(), 0);
    Program again;
    ASSERT_TRUE(again.Start(folder_.File("Monitor.exe")));
    ASSERT_TRUE(WaitUntil([&] { return MonitorWindow() != nullptr && ReadShared(*shared); }));
    // The block is published while the window is created; a sent message is
    // handled once creation is over.
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutA(MonitorWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer), 0);
    ASSERT_TRUE(ReadShared(*shared));
    EXPECT_EQ(shared->currentProfile, 0);
    PostMessageA(MonitorWindow(), WM_COMMAND, 6002, 0);
    EXPECT_EQ(again.WaitExit(), 0);
}

TEST_F(RuntimeE2E, ProfileNoticeStaysOffWhenTheDisplayOptionIsOff) {
    StandInWindow option(kOptionTitle);
    StandInWindow osd(kOsdTitle);
    Start();
    Inject("profile:5");
    ASSERT_TRUE(option.WaitFor(1255));
    Settle();
    auto shared = std::make_unique<settings::SettingsBlock>();
    ASSERT_TRUE(ReadShared(*shared));
    EXPECT_EQ(shared->currentProfile, 4);
    EXPECT_EQ(osd.Count(1324), 0);
}

TEST_F(RuntimeE2E, CpiRateAndSensitivityFromTheMouseReachTheBlockAndOption) {
    Profile(0).CpiLevel_X[3] = 8;
    Profile(0).PollingRate = 3;
    osd_.showCpi = 1;
    StandInWindow option(kOptionTitle);
    StandInWindow osd(kOsdTitle);
    Start();
    auto shared = std::make_unique<settings::SettingsBlock>();

    Inject("cpi:4");
    ASSERT_TRUE(option.WaitFor(1257, 1));
    ASSERT_TRUE(ReadShared(*shared));
    EXPECT_EQ(shared->profiles[0].CpiStep, 3);
    ASSERT_TRUE(osd.WaitFor(1324));
    EXPECT_EQ(osd.All().back().wParam, 50u);
    EXPECT_EQ(folder_.ReadIni("config.ini", "OSDData", "Message"), "CPI: 720");

    Inject("rate:2");
    ASSERT_TRUE(option.WaitFor(1257, 2));
    ASSERT_TRUE(ReadShared(*shared));
    EXPECT_EQ(shared->profiles[0].PollingRate, 2);

    Inject("sensitivity:5,7");
    ASSERT_TRUE(option.WaitFor(1257, 3));
    ASSERT_TRUE(ReadShared(*shared));
    EXPECT_EQ(shared->profiles[0].Sensitivity_X, 5);
    EXPECT_EQ(shared->profiles[0].Sensitivity_Y, 7);

    // A polling interval of 3 ms does not exist: nothing changes, nobody is
    // told. Settle's marker event is the one Option hears of after it.
    Inject("0x05000003");
    Settle();
    ASSERT_TRUE(ReadShared(*shared));
    EXPECT_EQ(shared->profiles[0].PollingRate, 2);
    EXPECT_TRUE(option.WaitFor(1257, 4));
    EXPECT_EQ(option.Count(1257), 4) << "only the marker event is answered";
    EXPECT_EQ(osd.Count(1324), 1) << "only the CPI change gives a notice";
    // Other profiles are untouched.
    EXPECT_EQ(shared->profiles[1].CpiStep, Profile(1).CpiStep);
    EXPECT_EQ(shared->currentProfile, 0);
}

// ---------------------------------------------------------------------- media

TEST_F(RuntimeE2E, MediaCommandsGoToThePlayerOfTheCurrentProfile) {
    Profile(0).MediaOption = 3;  // Winamp
    Profile(1).MediaOption = 2;  // Real Player
    Profile(2).MediaOption = 1;  // iTunes
    RecordingWindows windows;
    const HWND winamp = windows.Create({"Winamp v1.x", "Winamp"});
    const HWND real = windows.Create({"GeminiWindowClass", "RealPlayer"});
    ASSERT_NE(winamp, nullptr);
    ASSERT_NE(real, nullptr);
    Start();

    Inject("media:35");
    Inject("media-release:35");
    Inject("media:35");
    Inject("media:33");
    ASSERT_TRUE(windows.WaitFor(winamp, WM_COMMAND, 3));
    Settle();
    std::vector<WPARAM> commands;
    for (const Received& r : windows.Messages(winamp))
        if (r.message == WM_COMMAND)
            commands.push_back(r.wParam);
    EXPECT_EQ(commands, (std::vector<WPARAM>{40045, 40046, 40048}));
    EXPECT_EQ(windows.Count(real, WM_COMMAND), 0);

    Inject("profile:2");
    Inject("media:34");
    ASSERT_TRUE(windows.WaitFor(real, WM_COMMAND, 1));
    EXPECT_EQ(windows.Messages(real).back().wParam, 65740u);

    // iTunes chosen but not running: nothing anywhere.
    Inject("profile:3");
    Inject("media:33");
    Inject("media:35");
    Settle();
    EXPECT_EQ(windows.Count(winamp, WM_COMMAND), 3);
    EXPECT_EQ(windows.Count(real, WM_COMMAND), 1);

    const HWND itunes = windows.Create({"iTunes", "iTunes"});
    ASSERT_NE(itunes, nullptr);
    Inject("media:35");
    ASSERT_TRUE(windows.WaitFor(itunes, WM_KEYUP, 1));
    Inject("media:33");
    ASSERT_TRUE(windows.WaitFor(itunes, WM_KEYUP, 3));
    Settle();
    std::vector<std::pair<UINT, LPARAM>> keys;
    for (const Received& r : windows.Messages(itunes))
        if (r.message == WM_KEYDOWN || r.message == WM_KEYUP)
            keys.push_back({r.message, r.lParam});
    const std::vector<std::pair<UINT, LPARAM>> expected = {
        {WM_KEYDOWN, 0x00390001},
        {WM_KEYUP, static_cast<LPARAM>(0xC0390001u)},
        {WM_KEYDOWN, 0x001D0001},
        {WM_KEYDOWN, 0x014D0001},
        {WM_KEYUP, static_cast<LPARAM>(0xC14D0001u)},
        {WM_KEYUP, static_cast<LPARAM>(0xC01D0001u)}};
    ASSERT_EQ(keys.size(), expected.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].first, expected[i].first) << i;
        // Only the low 32 bits are the message's parameter on either build.
        EXPECT_EQ(static_cast<DWORD>(keys[i].second), static_cast<DWORD>(expected[i].second)) << i;
    }
}

// ------------------------------------------------------------ automatic profiles

class AutomaticProfileE2E : public RuntimeE2E {
  protected:
    // Monitor, started by the test, polls every 100 ms instead of 2 s.
    void SetUp() override {
        RuntimeE2E::SetUp();
        SetEnvironmentVariableA("MOUSE_GAME_WATCH_MS", "100");
    }
    void NameTheGame() {
        ASSERT_TRUE(folder_.AddTestProgram("standin_program.exe", "spacegame.exe"));
        // Two profiles name it; the directory never matters, the case neither.
        settings::CopyField(Profile(2).GameFile, "  C:\\Games\\Space\\SPACEGAME.EXE ");
        settings::CopyField(Profile(3).GameFile, "spacegame.exe");
        settings::CopyField(Profile(1).GameFile, "spacegame");  // no extension: no match
    }
    // Waits until Monitor has finished `count` more polls of the foreground
    // program (it says so in its debug output after each).
    bool PollsPass(int count) {
        auto polls = [this] {
            int n = 0;
            for (const std::string& t : monitor_.DebugTexts())
                n += t == trace::kGameWatchPoll ? 1 : 0;
            return n;
        };
        const int until = polls() + count;
        return WaitUntil([&] { return polls() >= until; }, 15s);
    }
    void StartTheGame() {
        ASSERT_TRUE(game_.Start(folder_.File("spacegame.exe"), "/window"));
        ASSERT_TRUE(WaitUntil([] { return FindWindowA(nullptr, "Stand-in Program") != nullptr; }));
    }
    void TearDown() override {
        if (HWND game = FindWindowA(nullptr, "Stand-in Program"))
            PostMessageA(game, WM_CLOSE, 0, 0);
        game_.WaitExit(10s);
        game_.Kill();
        RuntimeE2E::TearDown();
        SetEnvironmentVariableA("MOUSE_GAME_WATCH_MS", nullptr);
    }
    Program game_;
};

TEST_F(AutomaticProfileE2E, GameInTheForegroundSwitchesToTheLowestProfileNamingIt) {
    NameTheGame();
    StandInWindow option(kOptionTitle);
    Start();
    auto shared = std::make_unique<settings::SettingsBlock>();
    // A program no profile names, in the foreground for two polls: nothing.
    {
        ASSERT_TRUE(folder_.AddTestProgram("standin_program.exe", "editor.exe"));
        Program other;
        ASSERT_TRUE(other.Start(folder_.File("editor.exe"), "/window"));
        ASSERT_TRUE(WaitUntil([] {
            HWND w = FindWindowA(nullptr, "Stand-in Program");
            return w != nullptr && GetForegroundWindow() == w;
        }));
        // Two polls of the foreground program pass and switch nothing.
        ASSERT_TRUE(PollsPass(2)) << "Monitor did not poll the foreground program";
        PostMessageA(FindWindowA(nullptr, "Stand-in Program"), WM_CLOSE, 0, 0);
        ASSERT_EQ(other.WaitExit(), 0);
        ASSERT_TRUE(ReadShared(*shared));
        EXPECT_EQ(shared->currentProfile, 0);
        EXPECT_EQ(option.Count(1255), 0);
    }
    StartTheGame();
    ASSERT_TRUE(WaitUntil([&] { return ReadShared(*shared) && shared->currentProfile == 2; }))
        << "current profile " << shared->currentProfile;
    EXPECT_TRUE(option.WaitFor(1255, 1));
    ASSERT_TRUE(
        WaitUntil([&] { return Dump().find("selected_profile 3\n") != std::string::npos; }));
    // Later polls find the same profile current: nothing more happens.
    ASSERT_TRUE(PollsPass(2));
    EXPECT_EQ(option.Count(1255), 1);
    // Leaving the game does not switch back.
    PostMessageA(FindWindowA(nullptr, "Stand-in Program"), WM_CLOSE, 0, 0);
    game_.WaitExit(10s);
    ASSERT_TRUE(PollsPass(2));
    ASSERT_TRUE(ReadShared(*shared));
    EXPECT_EQ(shared->currentProfile, 2);
}

TEST_F(AutomaticProfileE2E, NothingSwitchesWhileTheMouseIsUnplugged) {
    NameTheGame();
    StandInWindow option(kOptionTitle);
    Start(false);
    StartTheGame();
    // Five polls' time: an unplugged mouse sends no marker event, and Monitor
    // does not poll (or say so) while the mouse is away.
    ObserveFor(500ms);
    auto shared = std::make_unique<settings::SettingsBlock>();
    ASSERT_TRUE(ReadShared(*shared));
    EXPECT_EQ(shared->currentProfile, 0);
    EXPECT_EQ(option.Count(1255), 0);
    // Plugged in: the next poll switches.
    ASSERT_EQ(VirtualMouse("/plug"), 0);
    ASSERT_TRUE(WaitUntil([&] { return ReadShared(*shared) && shared->currentProfile == 2; }))
        << "current profile " << shared->currentProfile;
}

TEST_F(AutomaticProfileE2E, GameEndingGoesBackToThePreviousProfileUnlessTheUserSwitched) {
    NameTheGame();
    StandInWindow option(kOptionTitle);
    Start();
    // The choice of profile 3, as Option's Apply leaves it in config.ini.
    ASSERT_TRUE(WritePrivateProfileStringA("Setting", "ReturnAfterGame2", "1",
                                           folder_.File("config.ini").c_str()));
    SendMessageA(MonitorWindow(), 1224, 0, 0);
    auto shared = std::make_unique<settings::SettingsBlock>();
    auto current = [&] { return ReadShared(*shared) ? shared->currentProfile : -1; };

    StartTheGame();
    ASSERT_TRUE(WaitUntil([&] { return current() == 2; })) << current();
    PostMessageA(FindWindowA(nullptr, "Stand-in Program"), WM_CLOSE, 0, 0);
    ASSERT_EQ(game_.WaitExit(10s), 0);
    ASSERT_TRUE(WaitUntil([&] { return current() == 0; })) << current();
    ASSERT_TRUE(
        WaitUntil([&] { return Dump().find("selected_profile 1\n") != std::string::npos; }));

    // The profile button of the mouse pressed during the game: that choice stays.
    Program again;
    ASSERT_TRUE(again.Start(folder_.File("spacegame.exe"), "/window"));
    ASSERT_TRUE(WaitUntil([&] { return current() == 2; })) << current();
    Inject("profile:2");
    ASSERT_TRUE(WaitUntil([&] { return current() == 1; })) << current();
    PostMessageA(FindWindowA(nullptr, "Stand-in Program"), WM_CLOSE, 0, 0);
    ASSERT_EQ(again.WaitExit(10s), 0);
    // Polls after the game ended leave the user's choice.
    ASSERT_TRUE(PollsPass(2));
    EXPECT_EQ(current(), 1);
}

// ---------------------------------------------------------------- command line

// The message box of a Monitor started with a bad argument or /?, found by
// its owner process.
HWND CommandBox() {
    return FindWindowA("#32770", "Gaming mouse command line");
}

TEST_F(RuntimeE2E, CommandLineSwitchesAppliesAndRefusesThroughTheRunningMonitor) {
    osd_.showProfile = 1;
    StandInWindow osd(kOsdTitle);
    Start();
    ASSERT_TRUE(UploadBegun());

    Program command;
    ASSERT_TRUE(command.Start(folder_.File("Monitor.exe"), "/PROFILE 3"));
    EXPECT_EQ(command.WaitExit(), 0);
    ASSERT_TRUE(WaitUntil([&] { return Dump().find("selected_profile 3\n") != std::string::npos; }))
        << Dump();
    ASSERT_TRUE(osd.WaitFor(1324));
    ASSERT_NO_FATAL_FAILURE(ExpectProfileNotice(osd, 2));

    // A bad argument is named in a box; closing it ends the program with 1.
    Program bad;
    ASSERT_TRUE(bad.Start(folder_.File("Monitor.exe"), "-profile 9"));
    ASSERT_TRUE(WaitUntil([] { return CommandBox() != nullptr; }));
    PostMessageA(CommandBox(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(bad.WaitExit(), 1);
    EXPECT_NE(MonitorWindow(), nullptr);

    // Without the mouse, /apply has nothing to send to: 2.
    ASSERT_EQ(VirtualMouse("/unplug"), 0);
    ASSERT_TRUE(
        WaitUntil([&] { return folder_.ReadIni("config.ini", "Setting", "Device") == "0"; }));
    Program apply;
    ASSERT_TRUE(apply.Start(folder_.File("Monitor.exe"), "-Apply"));
    EXPECT_EQ(apply.WaitExit(), 2);
}

// ------------------------------------------------------------------------ tilt

class TiltE2E : public RuntimeE2E {
  protected:
    // Puts the pointer in the middle of `hwnd`.
    POINT PointAt(HWND hwnd) {
        RECT r;
        GetWindowRect(hwnd, &r);
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        SetCursorPos(p.x, p.y);
        EXPECT_TRUE(WaitUntil([&] {
            POINT now;
            return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
        })) << "the pointer did not move to "
            << p.x << "," << p.y;
        return p;
    }
    std::vector<Received> Of(HWND hwnd, UINT message) {
        std::vector<Received> out;
        for (const Received& r : windows_.Messages(hwnd))
            if (r.message == message)
                out.push_back(r);
        return out;
    }
    // Every WM_HSCROLL `hwnd` got carries `code` and `lParam`, and it got `count`.
    void ExpectScrolls(HWND hwnd, int code, LPARAM lParam, std::size_t count) {
        const std::vector<Received> scrolls = Of(hwnd, WM_HSCROLL);
        for (const Received& r : scrolls) {
            EXPECT_EQ(r.wParam, static_cast<WPARAM>(code));
            EXPECT_EQ(r.lParam, lParam);
        }
        EXPECT_EQ(scrolls.size(), count);
    }
    HWND TopLevel(const char* cls, DWORD style, int x, int y, int w, int h) {
        WindowSpec s{cls, cls, style | WS_VISIBLE | WS_POPUP, WS_EX_TOPMOST};
        s.x = x;
        s.y = y;
        s.width = w;
        s.height = h;
        return windows_.Create(s);
    }
    HWND Child(const char* cls, HWND parent, DWORD style, int x, int y, int w, int h, int id) {
        WindowSpec s{cls, "", style | WS_VISIBLE | WS_CHILD, 0, parent};
        s.x = x;
        s.y = y;
        s.width = w;
        s.height = h;
        s.id = id;
        return windows_.Create(s);
    }
    RecordingWindows windows_;
};

TEST_F(TiltE2E, TiltDrivesTheScrollBarOfTheWindowUnderThePointerTiltSpeedTimes) {
    Profile(0).TiltSpeed = 3;
    const HWND plain = TopLevel("E2ETiltPlain", WS_HSCROLL, 20, 20, 260, 180);
    const HWND host = TopLevel("E2ETiltHost", 0, 320, 20, 300, 230);
    const HWND word = Child("_WwG", host, 0, 0, 0, 280, 180, 1);
    const HWND wordBar = Child("ScrollBar", host, SBS_HORZ, 0, 190, 280, 18, 2);
    const HWND mozilla = TopLevel("MozillaWindowClass", 0, 20, 300, 260, 180);
    const HWND mozillaView = Child("MozillaWindowClass", mozilla, 0, 0, 0, 240, 160, 3);
    const HWND sheetHost = TopLevel("E2ESheetHost", 0, 320, 300, 300, 230);
    const HWND sheet = Child("EXCEL7", sheetHost, 0, 0, 0, 280, 180, 4);
    const HWND sheetBar = Child("ScrollBar", sheetHost, SBS_HORZ, 0, 190, 280, 18, 5);
    const HWND bare = TopLevel("E2ETiltBare", 0, 20, 560, 260, 150);
    for (HWND h :
         {plain, host, word, wordBar, mozilla, mozillaView, sheetHost, sheet, sheetBar, bare})
        ASSERT_NE(h, nullptr);
    Start();

    // Plain window with its own horizontal bar: WM_HSCROLL to it, lParam 0.
    PointAt(plain);
    Inject("tilt:right");
    ASSERT_TRUE(windows_.WaitFor(plain, WM_HSCROLL, 3));
    Settle();
    ExpectScrolls(plain, SB_LINERIGHT, 0, 3);

    // A document window with a scroll bar beside it: to the bar's parent.
    PointAt(word);
    Inject("tilt:left");
    ASSERT_TRUE(windows_.WaitFor(host, WM_HSCROLL, 3));
    Settle();
    ExpectScrolls(host, SB_LINELEFT, reinterpret_cast<LPARAM>(wordBar), 3);
    EXPECT_TRUE(Of(word, WM_HSCROLL).empty());

    // The browser gets arrow keys at its frame.
    PointAt(mozillaView);
    Inject("tilt:right");
    ASSERT_TRUE(windows_.WaitFor(mozilla, WM_KEYUP, 3));
    Settle();
    const auto downs = Of(mozilla, WM_KEYDOWN);
    const auto ups = Of(mozilla, WM_KEYUP);
    ASSERT_EQ(downs.size(), 3u);
    ASSERT_EQ(ups.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(downs[i].wParam, static_cast<WPARAM>(VK_RIGHT));
        EXPECT_EQ(static_cast<DWORD>(downs[i].lParam), 0x014D0001u);
        EXPECT_EQ(static_cast<DWORD>(ups[i].lParam), 0xC14D0001u);
    }

    // The spreadsheet: clicks at the bar's right end, then the pointer returns.
    InputRecorder input;
    ASSERT_TRUE(input.Installed());
    const POINT p = PointAt(sheet);
    Inject("tilt:right");
    ASSERT_TRUE(input.WaitFor([](const std::vector<InputEvent>& e) {
        return std::count_if(e.begin(), e.end(),
                             [](const InputEvent& x) { return x.message == WM_LBUTTONUP; }) >= 3;
    })) << "no clicks";
    Settle();
    RECT bar;
    GetWindowRect(sheetBar, &bar);
    const auto clicks = input.MouseButtons();
    ASSERT_EQ(clicks.size(), 6u);
    for (std::size_t i = 0; i < clicks.size(); ++i) {
        EXPECT_EQ(clicks[i].message, i % 2 == 0 ? WM_LBUTTONDOWN : WM_LBUTTONUP) << i;
        EXPECT_EQ(clicks[i].point.x, bar.right - 5) << i;
        EXPECT_EQ(clicks[i].point.y, bar.top + 5) << i;
    }
    POINT now{};
    ASSERT_TRUE(WaitUntil([&] { return GetCursorPos(&now) && now.x == p.x && now.y == p.y; }))
        << now.x << "," << now.y;
    // The bar itself answers the clicks (one line step and one end per click);
    // Monitor posts nothing to it in this mode.
    const auto fromBar = Of(sheetHost, WM_HSCROLL);
    int steps = 0;
    int ends = 0;
    std::string seen;
    for (const Received& r : fromBar) {
        seen += std::to_string(LOWORD(r.wParam)) + " ";
        EXPECT_EQ(r.lParam, reinterpret_cast<LPARAM>(sheetBar));
        steps += LOWORD(r.wParam) == SB_LINERIGHT ? 1 : 0;
        ends += LOWORD(r.wParam) == SB_ENDSCROLL ? 1 : 0;
    }
    EXPECT_EQ(steps, 3) << seen;
    EXPECT_EQ(ends, 3) << seen;

    // No scroll bar anywhere near, and tilt values other than 1 and 255: nothing.
    PointAt(bare);
    Inject("tilt:left");
    // Handled before the pointer moves on: Monitor looks for the window under
    // the pointer when it handles the event, not when the mouse sends it.
    ASSERT_TRUE(EventsHandled());
    PointAt(plain);
    Inject("0x10000002");
    Settle();
    EXPECT_TRUE(Of(bare, WM_HSCROLL).empty());
    EXPECT_EQ(Of(plain, WM_HSCROLL).size(), 3u);
}

// A drawing view whose bar lies in a panel beside it is found by nearness;
// an ordinary view in the same place is not.
TEST_F(TiltE2E, DrawingViewFindsANearbyBarAndTiltSpeedZeroDoesNothing) {
    Profile(0).TiltSpeed = 2;
    Profile(1).TiltSpeed = 0;
    const HWND host = TopLevel("E2EDrawingHost", 0, 20, 20, 320, 240);
    const HWND view = Child("VISIOG", host, 0, 0, 0, 280, 180, 1);
    const HWND panel = Child("E2EPanel", host, 0, 0, 185, 300, 30, 2);
    const HWND bar = Child("ScrollBar", panel, SBS_HORZ, 10, 0, 280, 18, 3);
    const HWND otherHost = TopLevel("E2EOtherHost", 0, 400, 20, 320, 240);
    const HWND other = Child("E2EPlainView", otherHost, 0, 0, 0, 280, 180, 1);
    const HWND otherPanel = Child("E2EPanel", otherHost, 0, 0, 185, 300, 30, 2);
    const HWND otherBar = Child("ScrollBar", otherPanel, SBS_HORZ, 10, 0, 280, 18, 3);
    for (HWND h : {host, view, panel, bar, otherHost, other, otherPanel, otherBar})
        ASSERT_NE(h, nullptr);
    Start();

    PointAt(view);
    Inject("tilt:right");
    ASSERT_TRUE(windows_.WaitFor(panel, WM_HSCROLL, 2));
    PointAt(other);
    Inject("tilt:right");
    Settle();
    ExpectScrolls(panel, SB_LINERIGHT, reinterpret_cast<LPARAM>(bar), 2);
    EXPECT_TRUE(Of(otherPanel, WM_HSCROLL).empty());
    EXPECT_TRUE(Of(other, WM_HSCROLL).empty());
    EXPECT_TRUE(Of(otherHost, WM_HSCROLL).empty());

    // Profile 2 scrolls zero steps per notch.
    Inject("profile:2");
    PointAt(view);
    Inject("tilt:left");
    Settle();
    EXPECT_EQ(Of(panel, WM_HSCROLL).size(), 2u);
}

}  // namespace
}  // namespace e2e
