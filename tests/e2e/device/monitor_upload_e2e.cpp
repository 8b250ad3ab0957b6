// Monitor's upload jobs around shut-down and arrival, as the mouse and Option
// see them: an Exit drops the jobs still queued, and the block Monitor
// publishes never carries the change flags of its own uploads.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "common/settings/settings_block.h"
#include "tests/e2e/device/virtual_mouse_session_win.h"
#include "tests/e2e/harness/harness_win.h"

namespace {

using namespace std::chrono_literals;
using e2e::kMonitorTitle;
using e2e::kOptionTitle;
using e2e::VirtualMouseSession;

class MonitorUploads : public ::testing::Test {
  protected:
    void TearDown() override { e2e::EndMonitor(monitor_); }
    void StartMonitor() {
        ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe")));
        ASSERT_TRUE(e2e::WaitUntil([this] { return MonitorWindow() != nullptr; }));
    }
    HWND MonitorWindow() const { return FindWindowA(nullptr, kMonitorTitle); }
    std::string DeviceKey() const { return folder_.ReadIni("config.ini", "Setting", "Device"); }
    // The last key map (profile 5) announced and both of its chunks received.
    static bool FullUploadDone(const std::vector<std::string>& records) {
        const auto last = std::find_if(records.begin(), records.end(), [](const std::string& r) {
            return r.rfind("FEATURE 0D 05 80", 0) == 0;
        });
        if (last == records.end())
            return false;
        const std::vector<std::string> rest(last + 1, records.end());
        return VirtualMouseSession::CountPrefix(rest, "OUTPUT") >= 2;
    }

    e2e::ProgramFolder folder_;
    e2e::Program monitor_;
};

TEST_F(MonitorUploads, ExitWithAppliesQueuedSendsNothingMoreAndAnswersEveryApply) {
    VirtualMouseSession mouse(folder_);
    ASSERT_TRUE(mouse.Running());
    e2e::StandInWindow option(kOptionTitle);
    StartMonitor();
    // The start-up upload (about 7 s) has begun; three Applies queue behind it.
    ASSERT_TRUE(e2e::WaitUntil(
        [&] { return VirtualMouseSession::CountPrefix(mouse.Log(), "FEATURE 01 88") >= 1; }, 30s));
    for (int i = 0; i < 3; ++i) PostMessageA(MonitorWindow(), 1224, 0, 0);
    PostMessageA(MonitorWindow(), WM_COMMAND, 6002, 0);
    const auto exitAsked = std::chrono::steady_clock::now();
    ASSERT_EQ(monitor_.WaitExit(60s), 0);
    const auto took = std::chrono::steady_clock::now() - exitAsked;

    const auto sent = VirtualMouseSession::Commands(mouse.Log());
    // Each queued Apply would begin with five more of these.
    EXPECT_LE(VirtualMouseSession::CountPrefix(sent, "01 88"), 5);
    EXPECT_EQ(VirtualMouseSession::CountPrefix(sent, "0D 05"), 0)
        << "the start-up upload must stop, not run to its end";
    // Running the queue out would take over 20 s; stopping at once, a second
    // or two. The bound leaves room for a loaded machine.
    EXPECT_LT(took, 15s);
    // Option, still open, is not left waiting for any of its Applies.
    EXPECT_TRUE(option.WaitFor(1256, 3, 5s)) << option.Count(1256) << " answers";
}

TEST_F(MonitorUploads, BlockPublishedAfterArrivalAndASwitchOnTheMouseHasNoChangeFlags) {
    VirtualMouseSession mouse(folder_);
    ASSERT_TRUE(mouse.Running());
    StartMonitor();
    ASSERT_TRUE(e2e::WaitUntil([&] { return FullUploadDone(mouse.Log()); }, 30s));

    EXPECT_EQ(mouse.Command("/unplug"), 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return DeviceKey() == "0"; }));
    EXPECT_EQ(mouse.Command("/plug"), 0);
    // The upload after arrival is a full one: every profile's key map.
    ASSERT_TRUE(e2e::WaitUntil([&] { return FullUploadDone(mouse.LogAfter("PLUG")); }, 30s));
    EXPECT_EQ(VirtualMouseSession::CountPrefix(
                  VirtualMouseSession::Commands(mouse.LogAfter("PLUG")), "0D "),
              5);

    // The switch publishes Monitor's block.
    EXPECT_EQ(mouse.Command("/event profile:2"), 0);
    auto block = std::make_unique<settings::SettingsBlock>();
    ASSERT_TRUE(e2e::WaitUntil(
        [&] { return e2e::ReadSharedBlock(*block) && block->currentProfile == 1; }, 20s));
    std::vector<int> set;
    for (int i = 0; i < settings::kChangeFlagCount; ++i) {
        if (settings::ChangeFlag(*block, i) != 0)
            set.push_back(i);
    }
    EXPECT_TRUE(set.empty()) << set.size() << " change flags published, the first " << set[0];
}

}  // namespace
