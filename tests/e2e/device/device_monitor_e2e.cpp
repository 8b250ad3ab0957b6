// Monitor's side of the device link as the mouse and the shell see it: the
// configuration the mouse ends up with, the change flags of an Apply, the
// tray icon, and a missing or incomplete device library.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/settings/settings_block.h"
#include "tests/e2e/device/virtual_mouse_session_win.h"
#include "tests/e2e/harness/harness_win.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

class MonitorWithMouse : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(folder_.AddTestProgram("Option.exe", "Option.exe")); }
    void TearDown() override { e2e::EndMonitor(monitor_); }
    void StartMonitor() {
        ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe")));
        ASSERT_TRUE(e2e::WaitUntil([] { return FindWindowA(nullptr, kMonitorTitle) != nullptr; }));
    }
    // Starts Monitor, lets its start-up upload finish and reads the block it
    // then publishes.
    void StartAndReadBlock(VirtualMouseSession& mouse, settings::SettingsBlock& block) {
        ASSERT_NO_FATAL_FAILURE(StartMonitor());
        ASSERT_TRUE(e2e::WaitUntil([&] { return FullUploadDone(mouse.Log()); }));
        ASSERT_TRUE(e2e::ReadSharedBlock(block));
    }
    HWND MonitorWindow() const { return FindWindowA(nullptr, kMonitorTitle); }
    std::string DeviceKey() const { return folder_.ReadIni("config.ini", "Setting", "Device"); }
    static bool FullUploadDone(const std::vector<std::string>& records) {
        return VirtualMouseSession::FullUploadDone(records);
    }
    // Publishes `block` as Option would and waits for the answer to 1224.
    std::vector<std::string> ApplyAndCollect(const settings::SettingsBlock& block,
                                             VirtualMouseSession& mouse) {
        e2e::StandInWindow option(kOptionTitle);
        EXPECT_TRUE(e2e::WriteSharedBlock(block));
        const std::size_t before = mouse.Log().size();
        PostMessageA(MonitorWindow(), 1224, 0, 0);
        EXPECT_TRUE(option.WaitFor(1256)) << "Option was not told that the upload is done";
        const auto all = mouse.Log();
        return std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(before),
                                        all.end());
    }

    ProgramFolder folder_;
    Program monitor_;
};

// Key map entries worked out from the action table for the default
// assignment of buttons 0..15 (button 12 is never sent).
const char* const kDefaultKeys[16] = {"01 00 F0 00", "01 00 F1 00", "01 00 F2 00", "01 00 F4 00",
                                      "01 00 F3 00", "07 00 03 00", "00 00 00 00", "07 00 02 00",
                                      "00 00 00 00", "00 00 00 00", "00 00 00 00", "00 00 00 00",
                                      "00 00 00 00", "00 00 00 00", "04 00 01 00", "04 00 02 00"};

TEST_F(MonitorWithMouse, AFreshInstallLeavesTheMouseWithTheDefaultConfiguration) {
    VirtualMouseSession mouse(folder_);
    ASSERT_TRUE(mouse.Running());
    StartMonitor();
    ASSERT_TRUE(e2e::WaitUntil([&] { return FullUploadDone(mouse.Log()); }));
    const auto dump = mouse.Dump();
    ASSERT_FALSE(dump.empty());
    EXPECT_EQ(dump[1], "selected_profile 1");
    for (int n = 1; n <= 5; ++n) {
        SCOPED_TRACE("profile " + std::to_string(n));
        const auto section = VirtualMouseSession::ProfileSection(dump, n);
        ASSERT_GE(section.size(), 7u + 16u);
        EXPECT_EQ(section[0], "report_interval_ms 2");  // PollingRate 2 = 500 Hz
        EXPECT_EQ(section[1], "dpi_stage 1");
        EXPECT_EQ(section[2], "cpi_x 400 1500 3000 6000");
        EXPECT_EQ(section[3], "cpi_y 400 1500 3000 6000");
        EXPECT_EQ(section[4], "sensitivity 100 100");
        for (int b = 0; b < 16; ++b) {
            const std::string prefix = "key " + std::to_string(b) + " " + kDefaultKeys[b];
            EXPECT_EQ(section[7 + static_cast<std::size_t>(b)].rfind(prefix, 0), 0u)
                << section[7 + static_cast<std::size_t>(b)];
        }
    }
}

TEST_F(MonitorWithMouse, SettingFlagZeroSendsTheButtonsOfProfileFiveAndFlagTenTheSelection) {
    VirtualMouseSession mouse(folder_);
    auto block = std::make_unique<settings::SettingsBlock>();
    ASSERT_NO_FATAL_FAILURE(StartAndReadBlock(mouse, *block));

    settings::ClearChanges(*block);
    block->settingChangeFlags[0] = 1;
    auto sent = VirtualMouseSession::Commands(ApplyAndCollect(*block, mouse));
    EXPECT_EQ(VirtualMouseSession::CountPrefix(sent, "0D "), 1);
    EXPECT_EQ(VirtualMouseSession::CountPrefix(sent, "0D 05 80"), 1) << "profile 5's key map";
    EXPECT_EQ(VirtualMouseSession::CountPrefix(sent, "02 "), 0) << "no selection without flag 10";

    settings::ClearChanges(*block);
    block->currentProfile = 3;
    block->settingChangeFlags[10] = 1;
    sent = VirtualMouseSession::Commands(ApplyAndCollect(*block, mouse));
    ASSERT_GE(sent.size(), 6u);
    EXPECT_EQ(sent[5], "02 04 00") << "select profile 4 right after the five begin commands";
    EXPECT_EQ(VirtualMouseSession::CountPrefix(sent, "0D "), 0);
    EXPECT_EQ(mouse.Dump()[1], "selected_profile 4");
}

TEST_F(MonitorWithMouse, ReloadedBlockIsWhatTheNextArrivalUploads) {
    VirtualMouseSession mouse(folder_);
    auto block = std::make_unique<settings::SettingsBlock>();
    ASSERT_NO_FATAL_FAILURE(StartAndReadBlock(mouse, *block));
    block->profiles[1].CpiLevel_X[0] = 8;
    block->profiles[1].CpiLevel_Y[0] = 9;
    ASSERT_TRUE(e2e::WriteSharedBlock(*block));
    // The start-up upload is over (above): any command report from here on
    // would be an upload set off by 1226. SendMessage returns once 1226 is
    // handled; an upload job it posted would begin within the window.
    const int before = VirtualMouseSession::CountPrefix(mouse.Log(), "FEATURE");
    SendMessageA(MonitorWindow(), 1226, 0, 0);
    e2e::ObserveFor(500ms);
    const auto after = mouse.Log();
    EXPECT_EQ(VirtualMouseSession::CountPrefix(after, "FEATURE"), before)
        << "1226 must not upload; last record: " << after.back();

    EXPECT_EQ(mouse.Command("/unplug"), 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return DeviceKey() == "0"; }));
    EXPECT_EQ(mouse.Command("/plug"), 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return FullUploadDone(mouse.LogAfter("PLUG")); }));
    const auto section = VirtualMouseSession::ProfileSection(mouse.Dump(), 2);
    ASSERT_GE(section.size(), 4u);
    EXPECT_EQ(section[2], "cpi_x 800 1500 3000 6000");
    EXPECT_EQ(section[3], "cpi_y 900 1500 3000 6000");
}

TEST_F(MonitorWithMouse, TrayIconExistsExactlyWhileTheMouseIsConnected) {
    VirtualMouseSession mouse(folder_);
    StartMonitor();
    const HWND monitor = MonitorWindow();
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::TrayIconShown(monitor); }));
    EXPECT_TRUE(e2e::WaitUntil([&] { return DeviceKey() == "1"; }));

    EXPECT_EQ(mouse.Command("/unplug"), 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return DeviceKey() == "0"; }));
    EXPECT_FALSE(e2e::TrayIconShown(monitor));

    EXPECT_EQ(mouse.Command("/plug"), 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return DeviceKey() == "1"; }));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::TrayIconShown(monitor); }));

    PostMessageA(monitor, WM_COMMAND, 6002, 0);
    EXPECT_EQ(monitor_.WaitExit(), 0);
    EXPECT_FALSE(e2e::TrayIconShown(monitor)) << "the icon outlived Monitor";
}

TEST_F(MonitorWithMouse, WithoutTheDeviceLibraryMonitorRunsUnconnected) {
    VirtualMouseSession mouse(folder_);
    ASSERT_TRUE(folder_.Remove("korrin.dll"));
    StartMonitor();
    e2e::StandInWindow option(kOptionTitle);
    PostMessageA(MonitorWindow(), 1224, 0, 0);
    EXPECT_TRUE(option.WaitFor(1256)) << "an Apply without a device is answered at once";
    EXPECT_TRUE(e2e::WaitUntil([&] { return DeviceKey() == "0"; }));
    // Answered and recorded as unconnected: a wrong start of the link would
    // show within the window.
    e2e::ObserveFor(500ms);
    EXPECT_EQ(DeviceKey(), "0");
    EXPECT_FALSE(e2e::TrayIconShown(MonitorWindow()));
    EXPECT_EQ(VirtualMouseSession::CountPrefix(mouse.Log(), "FEATURE"), 0);
    EXPECT_EQ(VirtualMouseSession::CountPrefix(mouse.Log(), "SET_VIDPID"), 0);
}

TEST_F(MonitorWithMouse, ALibraryMissingAnExportIsNotUsedAtAll) {
    ASSERT_TRUE(folder_.Remove("korrin.dll"));
    ASSERT_TRUE(folder_.AddTestProgram("korrin_partial.dll", "korrin.dll"));
    StartMonitor();
    e2e::StandInWindow option(kOptionTitle);
    PostMessageA(MonitorWindow(), 1224, 0, 0);
    EXPECT_TRUE(option.WaitFor(1256));
    EXPECT_TRUE(e2e::WaitUntil([&] { return DeviceKey() == "0"; }));
    // Recorded as unconnected; a wrongly bound library would turn it to 1.
    e2e::ObserveFor(500ms);
    EXPECT_EQ(DeviceKey(), "0") << "its Open_ReportDevice says present, but it must not be bound";
    EXPECT_FALSE(e2e::TrayIconShown(MonitorWindow()));
}

}  // namespace
}  // namespace e2e
