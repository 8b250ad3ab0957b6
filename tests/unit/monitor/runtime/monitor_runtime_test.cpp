#include "monitor/runtime/monitor_runtime.h"
#include "monitor/runtime/coalescing_osd_channel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/protocol.h"
#include "tests/unit/monitor/runtime/runtime_fakes.h"

namespace runtime::test {
namespace {

// Logs every duty asked of the window, in order. A change of the block runs
// under the window's block lock, so no other duty may be asked for during one.
class FakeHost : public MonitorHost {
  public:
    FakeHost() { settings::FillDefaults(block, settings::DefaultsFor::Monitor); }
    const settings::SettingsBlock& Block() override { return block; }
    void ChangeBlock(const std::function<void(settings::SettingsBlock&)>& change) override {
        EXPECT_FALSE(changing) << "block changes do not nest";
        changing = true;
        change(block);
        changing = false;
        ++changes;
    }
    bool Connected() override { return connected; }
    void ConnectionEvent(bool arrived) override { Log(arrived ? "arrived" : "removed"); }
    void PublishBlock() override { Log("publish " + std::to_string(block.currentProfile)); }
    bool PostUploadJob(protocol::UploadJob job) override {
        Log("job " + std::to_string(static_cast<int>(job)));
        return true;
    }
    void WriteRegistryAndApply() override { Log("apply"); }
    bool PostToOption(unsigned message) override {
        Log("option " + std::to_string(message));
        return optionExists;
    }
    void PostOpenOption() override { Log("open option"); }
    bool PostPlayMacro() override {
        Log("1648");
        return macroPostWorks;
    }
    void Launch(const char* path) override { Log(std::string("launch ") + path); }

    void Log(const std::string& s) {
        EXPECT_FALSE(changing) << s << " asked for while the block lock is held";
        log.push_back(s);
    }
    settings::SettingsBlock block;
    bool changing = false;
    int changes = 0;
    bool connected = true;
    bool optionExists = true;
    bool macroPostWorks = true;
    std::vector<std::string> log;
};

class FakeOsd : public OsdChannel {
  public:
    std::uintptr_t FindOsdWindow() override { return window; }
    void PostToOsd(std::uintptr_t w, unsigned m, std::uintptr_t wp, std::intptr_t lp) override {
        posts.push_back(std::to_string(w) + " " + std::to_string(m) + " " + std::to_string(wp) +
                        " " + std::to_string(lp));
    }
    void WriteConfig(const char* section, const char* key, const char* value) override {
        writes.push_back(std::string(section) + "/" + key + "=" + value);
    }
    std::uintptr_t window = 0;
    std::vector<std::string> posts;
    std::vector<std::string> writes;
};

class StrictMedia : public MediaHost {
  public:
    std::optional<std::string> ReadRegistryString(const RegistryPath&, const char*) override {
        ADD_FAILURE() << "registry read";
        return std::nullopt;
    }
    std::string ExpandEnvironment(const std::string& t) override { return t; }
    std::uintptr_t FindTopWindow(const char*, const char*) override { return 0; }
    void BringToForeground(std::uintptr_t) override { ADD_FAILURE(); }
    void Run(const std::string&) override { ADD_FAILURE(); }
    void PostAppCommand(int command) override { appCommands.push_back(command); }
    bool SendMessageTo(std::uintptr_t, unsigned, std::uintptr_t, std::intptr_t) override {
        ADD_FAILURE();
        return false;
    }
    void PostMessageTo(std::uintptr_t, unsigned, std::uintptr_t, std::intptr_t) override {
        ADD_FAILURE();
    }
    std::vector<int> appCommands;
};

class NoWindows : public WindowSystem {
  public:
    ScreenPoint CursorPos() override { return {10, 10}; }
    void SetCursorPos(ScreenPoint) override { ADD_FAILURE(); }
    WindowHandle WindowFromPoint(ScreenPoint) override {
        ++lookups;
        return 0;
    }
    WindowHandle ChildFromPoint(WindowHandle, ScreenPoint) override { return 0; }
    std::string ClassName(WindowHandle) override { return {}; }
    WindowHandle Parent(WindowHandle) override { return 0; }
    WindowHandle FirstChild(WindowHandle) override { return 0; }
    WindowHandle NextSibling(WindowHandle) override { return 0; }
    WindowHandle PreviousSibling(WindowHandle) override { return 0; }
    ScreenRect WindowRect(WindowHandle) override { return {}; }
    std::uint32_t Style(WindowHandle) override { return 0; }
    WindowHandle Desktop() override { return 1; }
    std::vector<WindowHandle> Descendants(WindowHandle) override { return {}; }
    void Post(WindowHandle, unsigned, std::uintptr_t, std::intptr_t) override { ADD_FAILURE(); }
    bool ButtonsSwapped() override { return false; }
    int lookups = 0;
};

class FakeForeground : public ForegroundQuery {
  public:
    bool ForegroundExeName(std::string& name) override {
        ++polls;
        name = exe;
        return !exe.empty();
    }
    bool ProcessRunning(std::string_view name) override {
        return std::find(running.begin(), running.end(), name) != running.end();
    }
    std::string exe;
    std::vector<std::string> running;
    int polls = 0;
};

class MonitorRuntimeTest : public ::testing::Test {
  protected:
    FakeHost host;
    FakeClock clock;
    RecordingInput input{clock};
    TableKeys keys;
    FakeTimers timers{clock};
    RecordingDebug debug;
    FakeOsd osd;
    StrictMedia media;
    NoWindows windows;
    FakeForeground foreground;
    MonitorRuntime runtime{
        {host, input, clock, keys, timers, debug, osd, media, windows, foreground}};

    settings::ProfileRecord& Current() { return host.block.profiles[host.block.currentProfile]; }
    settings::ButtonAssignment& ButtonRecord(int button) {
        return Current().MacroKeyInfo[button - 1];
    }
    void ShowAll() {
        OsdOptions o;
        o.showProfile = o.showMacro = o.showCpi = 1;
        runtime.Notices().SetOptions(o);
        osd.window = 77;
    }
};

TEST_F(MonitorRuntimeTest, ProfileSwitchFromTheMouseRunsTheWholeSequence) {
    ShowAll();
    runtime.OnDeviceEvent(0x7003, 3);
    EXPECT_EQ(host.block.currentProfile, 2);
    EXPECT_EQ(host.changes, 1);
    const std::vector<std::string> expected = {"publish 2", "job 3", "apply", "option 1255"};
    EXPECT_EQ(host.log, expected);
    // The notice waits for job 3 to have told the mouse.
    EXPECT_TRUE(osd.posts.empty());
    runtime.OnProfileSelected(2);
    ASSERT_EQ(osd.posts.size(), 1u);
    EXPECT_EQ(osd.posts[0], "77 1324 40 131072");
    // The profile is never written to config.ini from here.
    EXPECT_TRUE(osd.writes.empty());
}

TEST_F(MonitorRuntimeTest, ProfileNoticeNeedsTheOptionAndTheWindow) {
    runtime.OnProfileSelected(1);
    EXPECT_TRUE(osd.posts.empty());  // option off
    OsdOptions o;
    o.showProfile = 1;
    runtime.Notices().SetOptions(o);
    runtime.OnProfileSelected(1);  // no display window
    EXPECT_TRUE(osd.posts.empty());
}

TEST_F(MonitorRuntimeTest, CpiChangeIsTakenOverAndShownTimesNinety) {
    ShowAll();
    Current().CpiLevel_X[2] = 8;
    runtime.OnDeviceEvent(0x0701, 3);
    EXPECT_EQ(Current().CpiStep, 2);
    const std::vector<std::string> expected = {"publish 0", "option 1257"};
    EXPECT_EQ(host.log, expected);
    ASSERT_EQ(debug.lines.size(), 1u);
    EXPECT_EQ(debug.lines[0], "Show OSD 77\n");
    ASSERT_EQ(osd.writes.size(), 1u);
    EXPECT_EQ(osd.writes[0], "OSDData/Message=CPI: 720");
    ASSERT_EQ(osd.posts.size(), 1u);
    EXPECT_EQ(osd.posts[0], "77 1324 50 0");
}

TEST_F(MonitorRuntimeTest, CpiStageWithoutALevelShowsNoNoticeInsteadOfReadingPastTheLevels) {
    ShowAll();
    runtime.OnDeviceEvent(0x0700, 7);  // stage 6 of 8: the record keeps five levels
    EXPECT_EQ(Current().CpiStep, 6);
    EXPECT_TRUE(osd.writes.empty());
    EXPECT_TRUE(osd.posts.empty());
    EXPECT_EQ(host.log.back(), "option 1257");
}

TEST_F(MonitorRuntimeTest, PollingAndSensitivityTakeover) {
    runtime.OnDeviceEvent(0x0500, 1);
    EXPECT_EQ(Current().PollingRate, 3);
    runtime.OnDeviceEvent(0x0500, 8);
    EXPECT_EQ(Current().PollingRate, 0);
    runtime.OnDeviceEvent(0x0500, 3);  // ignored by the dispatcher
    EXPECT_EQ(Current().PollingRate, 0);
    EXPECT_EQ(host.log.size(), 4u);
    runtime.OnDeviceEvent(0xC000, 0x0C07);
    EXPECT_EQ(Current().Sensitivity_X, 7);
    EXPECT_EQ(Current().Sensitivity_Y, 12);
    EXPECT_EQ(debug.lines.back(), "Show OSD 0\n");
    EXPECT_EQ(host.log.back(), "option 1257");
    // One axis in range is taken on its own; the other keeps its value.
    const std::size_t before = host.log.size();
    runtime.OnDeviceEvent(0xC000, 0x1503);
    EXPECT_EQ(Current().Sensitivity_X, 3);
    EXPECT_EQ(Current().Sensitivity_Y, 12);
    runtime.OnDeviceEvent(0xC000, 0x1400);
    EXPECT_EQ(Current().Sensitivity_X, 3);
    EXPECT_EQ(Current().Sensitivity_Y, 20);
    EXPECT_GT(host.log.size(), before);
    EXPECT_EQ(host.log.back(), "option 1257");
    // The CPI notice belongs to CPI changes only.
    EXPECT_TRUE(osd.writes.empty());
}

TEST_F(MonitorRuntimeTest, EveryActionNeedsAValidCurrentProfile) {
    host.block.currentProfile = -1;
    runtime.OnDeviceEvent(0x0701, 1);
    runtime.OnDeviceEvent(0x4000, 1);
    runtime.OnDeviceEvent(0x6001, 0);
    runtime.OnDeviceEvent(0x1000, 1);
    runtime.OnDeviceEvent(0xF000, 33);
    EXPECT_TRUE(host.log.empty());
    EXPECT_TRUE(input.events.empty());
    EXPECT_EQ(windows.lookups, 0);
}

TEST_F(MonitorRuntimeTest, LaunchRunsOnlyProgramButtonsOnPress) {
    ButtonRecord(3).actionCode = settings::action::kLaunchProgram;
    settings::CopyField(ButtonRecord(3).programPath, "C:\\Games\\run.exe");
    runtime.OnDeviceEvent(0x6003, 0x0100);  // release
    EXPECT_TRUE(host.log.empty());
    runtime.OnDeviceEvent(0x6003, 0);
    ASSERT_EQ(host.log.size(), 1u);
    EXPECT_EQ(host.log[0], "launch C:\\Games\\run.exe");
    ButtonRecord(4).actionCode = settings::action::kMacro;
    settings::CopyField(ButtonRecord(4).programPath, "x.exe");
    runtime.OnDeviceEvent(0x6004, 0);
    EXPECT_EQ(host.log.size(), 1u);
}

TEST_F(MonitorRuntimeTest, LaunchPathFillingTheWholeFieldIsNotReadPastItsEnd) {
    auto& r = ButtonRecord(2);
    r.actionCode = settings::action::kLaunchProgram;
    std::memset(r.programPath, 'x', sizeof r.programPath);  // no terminator
    runtime.LaunchProgram(2);
    ASSERT_EQ(host.log.size(), 1u);
    EXPECT_EQ(host.log[0].size(), std::string("launch ").size() + sizeof r.programPath);
}

TEST_F(MonitorRuntimeTest, KeyCombinationButtonPressAndRelease) {
    auto& r = ButtonRecord(5);
    r.actionCode = settings::action::kKeyCombination;
    r.events[0] = {4, settings::modifier::kCtrl, 0};
    runtime.OnDeviceEvent(0x4000, 5);
    runtime.OnDeviceEvent(0x4000, 0x0105);
    EXPECT_EQ(input.Keys(), "down:17 down:65 up:65 up:17");
    EXPECT_FALSE(timers.Active(protocol::kTimerKeyRepeat));
}

TEST_F(MonitorRuntimeTest, RemovalWhileACombinationIsHeldReleasesIt) {
    auto& r = ButtonRecord(5);
    r.actionCode = settings::action::kKeyCombination;
    r.events[0] = {4, settings::modifier::kShift, 0};
    runtime.OnDeviceEvent(0x5000, 5);
    runtime.OnConnectionMessage(0);
    EXPECT_EQ(input.Keys(), "down:16 down:65 up:65 up:16");
    EXPECT_FALSE(timers.Active(protocol::kTimerKeyRepeat));
    EXPECT_EQ(host.log.back(), "removed");
}

// A release lets go of what its press put down, whatever the button's record
// says by then; a removal lets go of every combination still held.
TEST_F(MonitorRuntimeTest, ReleaseLetsGoOfWhatThePressPutDownAcrossAProfileSwitch) {
    for (int p = 0; p < 2; ++p) {
        auto& r = host.block.profiles[p].MacroKeyInfo[4];
        r.actionCode = settings::action::kKeyCombination;
        r.events[0] = {static_cast<std::uint8_t>(4 + p), settings::modifier::kCtrl, 0};
    }
    host.block.currentProfile = 0;
    runtime.OnDeviceEvent(0x4000, 5);
    runtime.OnDeviceEvent(0x7001, 2);  // profile 2: button 5 is Ctrl+B there
    runtime.OnDeviceEvent(0x4000, 0x0105);
    EXPECT_EQ(input.Keys(), "down:17 down:65 up:65 up:17");
    input.events.clear();

    // Two buttons held, then the mouse goes away: both come up.
    auto& other = ButtonRecord(6);
    other.actionCode = settings::action::kKeyCombination;
    other.events[0] = {6, settings::modifier::kShift, 0};
    runtime.OnDeviceEvent(0x4000, 5);
    runtime.OnDeviceEvent(0x5000, 6);
    runtime.OnConnectionMessage(0);
    EXPECT_EQ(input.Keys(), "down:17 down:66 down:16 down:67 up:66 up:17 up:67 up:16");
    EXPECT_EQ(clock.precise(), 0);
    input.events.clear();
    runtime.OnDeviceEvent(0x4000, 0x0105);
    runtime.OnDeviceEvent(0x5000, 0x0106);
    EXPECT_EQ(input.Keys(), "up:66 up:17 up:67 up:16")
        << "late releases repeat the key-ups of the record, as before";
}

TEST_F(MonitorRuntimeTest, MacroButtonQueuesPlaybackAndGivesTheMacroNotice) {
    ShowAll();
    auto& r = ButtonRecord(14);  // button index 13
    r.actionCode = settings::action::kMacro;
    settings::CopyField(r.macroName, "Combo");
    r.events[0] = {4, 1, 5};
    r.eventCount = 1;
    runtime.OnDeviceEvent(0x4000, 14);
    EXPECT_EQ(host.log.back(), "1648");
    const std::vector<std::string> writes = {"MacroOSD/Number=3", "MacroOSD/MacroName=Combo"};
    EXPECT_EQ(osd.writes, writes);
    EXPECT_EQ(osd.posts.back(), "77 1324 70 0");
    // The same press on the quiet category gives no notice; the macro is
    // still queued, so it stops instead of starting again.
    osd.posts.clear();
    runtime.OnDeviceEvent(0x5000, 14);
    EXPECT_TRUE(osd.posts.empty());
    EXPECT_TRUE(runtime.Macro().Busy());
    runtime.PlayQueuedMacro();
    EXPECT_TRUE(input.events.empty());
}

TEST_F(MonitorRuntimeTest, FailedMacroPostDoesNotBlockTheNextStart) {
    auto& r = ButtonRecord(6);
    r.actionCode = settings::action::kMacro;
    r.events[0] = {4, 1, 5};
    r.eventCount = 1;
    host.macroPostWorks = false;
    runtime.OnDeviceEvent(0x4000, 6);
    EXPECT_FALSE(runtime.Macro().Busy());
    host.macroPostWorks = true;
    runtime.OnDeviceEvent(0x4000, 6);
    runtime.PlayQueuedMacro();
    EXPECT_EQ(input.Keys(), "down:65");
}

TEST_F(MonitorRuntimeTest, MacroNoticeOnlyForMacroButtons) {
    ShowAll();
    ButtonRecord(2).actionCode = settings::action::kKeyCombination;
    runtime.OnDeviceEvent(0x4000, 2);
    EXPECT_TRUE(osd.writes.empty());
}

TEST_F(MonitorRuntimeTest, MediaKeysGoToTheSelectedPlayerAndVolumeRepeats) {
    Current().MediaOption = 0;
    runtime.OnDeviceEvent(0xF000, 33);
    runtime.OnDeviceEvent(0xF000, 0x0133);  // release does nothing
    runtime.OnDeviceEvent(0xF000, 35);
    EXPECT_EQ(media.appCommands, (std::vector<int>{11, 14}));
    runtime.OnDeviceEvent(0xF000, 37);
    EXPECT_EQ(input.Keys(), "extdown:173 extup:173");
    runtime.OnDeviceEvent(0xF000, 38);
    EXPECT_TRUE(timers.Active(protocol::kTimerVolumeRepeat));
    runtime.OnVolumeTimer();
    runtime.OnDeviceEvent(0xF000, 0x0126);
    EXPECT_FALSE(timers.Active(protocol::kTimerVolumeRepeat));
    EXPECT_EQ(input.events.size(), 6u);
}

TEST_F(MonitorRuntimeTest, OpenOptionAndConnectionEvents) {
    runtime.OnDeviceEvent(0xA000, 0);
    runtime.OnConnectionMessage(1);
    runtime.OnConnectionMessage(7);
    const std::vector<std::string> expected = {"open option", "arrived"};
    EXPECT_EQ(host.log, expected);
}

TEST_F(MonitorRuntimeTest, GameWatchSwitchesToTheLowestMatchingProfileOnly) {
    settings::CopyField(host.block.profiles[3].GameFile, "  D:\\Games\\QUAKE.EXE ");
    settings::CopyField(host.block.profiles[4].GameFile, "quake.exe");
    foreground.exe = "Quake.exe";
    runtime.OnGameWatchTimer();
    EXPECT_EQ(host.block.currentProfile, 3);
    EXPECT_EQ(host.log.front(), "publish 3");
    host.log.clear();
    // Same game again: already current, nothing happens; leaving does not switch back.
    runtime.OnGameWatchTimer();
    foreground.exe = "explorer.exe";
    runtime.OnGameWatchTimer();
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(host.block.currentProfile, 3);
}

TEST_F(MonitorRuntimeTest, GameEndingSwitchesBackOnlyWhenAskedAndNotOverruled) {
    settings::CopyField(host.block.profiles[2].GameFile, "C:\\Games\\Race.exe");
    runtime.GameReturns().SetChoices({false, false, true, false, false});
    host.block.currentProfile = 1;
    foreground.exe = "race.exe";
    foreground.running = {"race.exe"};
    runtime.OnGameWatchTimer();
    ASSERT_EQ(host.block.currentProfile, 2);
    // In the background the game still runs: the game's profile stays.
    foreground.exe = "explorer.exe";
    runtime.OnGameWatchTimer();
    EXPECT_EQ(host.block.currentProfile, 2);
    // The game ends: back to the profile from before, shown as a switch.
    foreground.running.clear();
    host.log.clear();
    runtime.OnGameWatchTimer();
    EXPECT_EQ(host.block.currentProfile, 1);
    EXPECT_EQ(host.log.front(), "publish 1");
    runtime.OnGameWatchTimer();
    EXPECT_EQ(host.block.currentProfile, 1);

    // A profile button pressed while the game runs wins over the return.
    foreground.exe = "race.exe";
    foreground.running = {"race.exe"};
    runtime.OnGameWatchTimer();
    ASSERT_EQ(host.block.currentProfile, 2);
    runtime.SwitchProfile(2);
    foreground.exe = "explorer.exe";
    foreground.running.clear();
    runtime.OnGameWatchTimer();
    EXPECT_EQ(host.block.currentProfile, 2);

    // Without the choice the game's profile stays after the game.
    runtime.GameReturns().SetChoices({});
    runtime.SwitchProfile(0);
    foreground.exe = "race.exe";
    runtime.OnGameWatchTimer();
    ASSERT_EQ(host.block.currentProfile, 2);
    foreground.exe = "explorer.exe";
    runtime.OnGameWatchTimer();
    EXPECT_EQ(host.block.currentProfile, 2);
}

TEST_F(MonitorRuntimeTest, GameWatchDoesNothingWhileDisconnected) {
    settings::CopyField(host.block.profiles[2].GameFile, "game.exe");
    foreground.exe = "game.exe";
    host.connected = false;
    runtime.OnGameWatchTimer();
    EXPECT_EQ(foreground.polls, 0);
    EXPECT_EQ(host.block.currentProfile, 0);
}

TEST_F(MonitorRuntimeTest, ShutdownReleasesKeysAndStopsTheMacro) {
    auto& r = ButtonRecord(5);
    r.actionCode = settings::action::kKeyCombination;
    r.events[0] = {4, settings::modifier::kPlainKey, 0};
    runtime.OnDeviceEvent(0x4000, 5);
    runtime.Shutdown();
    EXPECT_EQ(input.Keys(), "down:65 up:65");
    EXPECT_FALSE(timers.Active(protocol::kTimerKeyRepeat));
}

// A burst of CPI changes with the display program running: config.ini is
// rewritten once with the last text, and the display program told once, after
// the write. Without a way to defer, everything happens at once as before.
TEST(CoalescingOsdChannelTest, BurstOfNoticesEndsInOneWriteThenOneNotice) {
    class OrderedOsd : public OsdChannel {
      public:
        std::uintptr_t FindOsdWindow() override { return 77; }
        void PostToOsd(std::uintptr_t, unsigned m, std::uintptr_t, std::intptr_t) override {
            log.push_back("post " + std::to_string(m));
        }
        void WriteConfig(const char* section, const char* key, const char* value) override {
            log.push_back(std::string(section) + "/" + key + "=" + value);
        }
        std::vector<std::string> log;
    } inner;
    int scheduled = 0;
    CoalescingOsdChannel channel(inner, [&] { return ++scheduled > 0; });
    OsdNotices notices(channel);
    OsdOptions o;
    o.showCpi = o.showProfile = 1;
    notices.SetOptions(o);
    settings::SettingsBlock block;
    settings::FillDefaults(block, settings::DefaultsFor::Monitor);
    for (int i = 0; i < 200; ++i) {
        block.profiles[0].CpiStep = i % 3;
        notices.Cpi(block.profiles[0]);
    }
    EXPECT_TRUE(inner.log.empty());
    EXPECT_EQ(scheduled, 1);
    channel.Flush();
    const std::string last =
        "OSDData/Message=CPI: " + std::to_string(block.profiles[0].CpiLevel_X[199 % 3] * 90);
    ASSERT_EQ(inner.log.size(), 2u);
    EXPECT_EQ(inner.log[0], last);
    EXPECT_EQ(inner.log[1].rfind("post ", 0), 0u);
    // Nothing held back: a notice goes straight through.
    inner.log.clear();
    notices.Profile(2);
    EXPECT_EQ(inner.log.size(), 1u);

    CoalescingOsdChannel immediate(inner, nullptr);
    inner.log.clear();
    immediate.WriteConfig("OSDData", "Message", "x");
    immediate.PostToOsd(77, 5, 0, 0);
    EXPECT_EQ(inner.log, (std::vector<std::string>{"OSDData/Message=x", "post 5"}));
}

TEST(OsdOptionsTest, ReadFromTheRecordAndForwardedOnSettingsChange) {
    unsigned char record[348] = {};
    const std::int32_t one = 1;
    const std::int32_t first = -2;
    const std::int32_t second = 0x1234FFFE;
    std::memcpy(record + 8, &one, 4);
    std::memcpy(record + 24, &one, 4);
    std::memcpy(record + 32, &first, 4);
    std::memcpy(record + 36, &second, 4);
    const OsdOptions o = OsdOptionsFromRecord(record, sizeof record);
    EXPECT_EQ(o.showProfile, 1);
    EXPECT_EQ(o.showMacro, 0);
    EXPECT_EQ(o.showCpi, 1);
    FakeOsd osd;
    OsdNotices notices(osd);
    notices.SetOptions(o);
    notices.SettingsChanged();
    EXPECT_TRUE(osd.posts.empty());  // no display window
    osd.window = 5;
    notices.SettingsChanged();
    const std::intptr_t expected = static_cast<std::int32_t>(0xFFFEFFFEu);
    EXPECT_EQ(osd.posts.at(0), "5 1326 0 " + std::to_string(expected));
    EXPECT_EQ(OsdOptionsFromRecord(record, 20).showProfile, 0);
}

TEST(OsdOptionsTest, AppletTextIsStoredAlwaysAndShownOnlyWhenConnected) {
    FakeOsd osd;
    osd.window = 9;
    OsdNotices notices(osd);
    notices.AppletText("2 new mails", false);
    EXPECT_EQ(osd.writes.at(0), "OSDData/Message=2 new mails");
    EXPECT_TRUE(osd.posts.empty());
    notices.AppletText("3 new mails", true);
    EXPECT_EQ(osd.posts.at(0), "9 1324 50 0");
}

}  // namespace
}  // namespace runtime::test
