// The Apply road with the real Monitor and the virtual mouse: a profile
// chosen in Option reaches the shared block, the files and the mouse, and
// OK and Apply come back only when the upload is over.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "common/settings/settings_block.h"
#include "tests/e2e/device/virtual_mouse_session_win.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/option/option_driver_win.h"

namespace {

using namespace std::chrono_literals;
using e2e::OptionDriver;
using e2e::VirtualMouseSession;

constexpr int kKeyProfile1 = 5, kKeyApply = 13;

class ApplyRoad : public ::testing::Test {
  protected:
    void TearDown() override { e2e::EndMonitor(monitor_); }
    void StartMonitor() {
        ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe")));
        ASSERT_TRUE(e2e::WaitUntil([] { return FindWindowA(nullptr, e2e::kMonitorTitle); }));
    }
    static bool HasRecord(const std::vector<std::string>& records, const std::string& prefix) {
        return std::any_of(records.begin(), records.end(),
                           [&](const std::string& r) { return r.rfind(prefix, 0) == 0; });
    }

    e2e::ProgramFolder folder_;
    e2e::Program monitor_;
};

TEST_F(ApplyRoad, AChosenProfileReachesBlockFilesAndMouse) {
    VirtualMouseSession mouse(folder_);
    ASSERT_TRUE(mouse.Running());
    StartMonitor();
    // Monitor's start-up upload is over when profile 5's key map has come.
    ASSERT_TRUE(e2e::WaitUntil([&] { return HasRecord(mouse.Log(), "FEATURE 0D 05 80"); }, 60s));
    OptionDriver option(folder_);
    ASSERT_TRUE(option.Start());
    ASSERT_TRUE(e2e::WaitUntil([&] { return option.ApplyReady(); }));

    const std::size_t before = mouse.Log().size();
    option.Click(kKeyProfile1 + 2);
    option.Click(kKeyApply);
    ASSERT_TRUE(option.Process().WaitForDebugText("COptionDlg Apply 0 published 1 pending 1\n"));
    // OK and Apply come back once Monitor answers, after the last transfer.
    ASSERT_TRUE(e2e::WaitUntil([&] { return option.ApplyReady(); }, 60s));
    const auto log = mouse.Log();
    const auto sent = VirtualMouseSession::Commands(
        std::vector<std::string>(log.begin() + static_cast<std::ptrdiff_t>(before), log.end()));
    EXPECT_TRUE(HasRecord(sent, "02 03 00")) << "profile 3 selected on the mouse before the answer";

    auto block = std::make_unique<settings::SettingsBlock>();
    ASSERT_TRUE(e2e::ReadSharedBlock(*block));
    EXPECT_EQ(block->currentProfile, 2);
    EXPECT_EQ(folder_.ReadIni("config.ini", "Setting", "CurrentProfile"), "2");
    EXPECT_TRUE(folder_.Exists("config\\Default4.gmp"));
    EXPECT_EQ(mouse.Dump()[1], "selected_profile 3");

    // Unplugging the mouse closes Option; an Option opened without the mouse
    // gets Monitor's answer at once.
    ASSERT_EQ(mouse.Command("/unplug"), 0);
    ASSERT_TRUE(option.WaitGone());
    ASSERT_TRUE(
        e2e::WaitUntil([&] { return folder_.ReadIni("config.ini", "Setting", "Device") == "0"; }));
    OptionDriver unplugged(folder_);
    ASSERT_TRUE(unplugged.Start());
    unplugged.Click(kKeyProfile1 + 1);
    unplugged.Click(kKeyApply);
    ASSERT_TRUE(unplugged.Process().WaitForDebugText("COptionDlg Apply 0 published 1 pending 1\n"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return unplugged.ApplyReady(); }, 5s));
    EXPECT_EQ(folder_.ReadIni("config.ini", "Setting", "CurrentProfile"), "1");
}

}  // namespace
