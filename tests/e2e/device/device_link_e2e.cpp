// Monitor with the virtual mouse: the start-up upload, removal and arrival.
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

class DeviceLinkE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.AddTestProgram("Option.exe", "Option.exe"));
        ASSERT_TRUE(mouse_.Running()) << "the virtual mouse did not start (or one already ran)";
    }
    void TearDown() override { e2e::EndMonitor(monitor_); }
    void StartMonitor() {
        ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe")));
        ASSERT_TRUE(e2e::WaitUntil([] { return FindWindowA(nullptr, kMonitorTitle) != nullptr; }));
    }
    long VirtualMouse(const std::string& args) { return mouse_.Command(args); }
    std::vector<std::string> Log() const { return mouse_.Log(); }
    std::vector<std::string> LogAfter(const std::string& marker) const {
        return mouse_.LogAfter(marker);
    }
    static int CountPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
        return VirtualMouseSession::CountPrefix(lines, prefix);
    }
    static bool UploadDone(const std::vector<std::string>& lines) {
        return VirtualMouseSession::FullUploadDone(lines);
    }
    static bool ExchangeBlock(settings::SettingsBlock& block, bool write) {
        return write ? e2e::WriteSharedBlock(block) : e2e::ReadSharedBlock(block);
    }

    ProgramFolder folder_;
    VirtualMouseSession mouse_{folder_};
    Program monitor_;
};

TEST_F(DeviceLinkE2E, StartUpWithTheMouseUploadsEverythingInOrder) {
    StartMonitor();
    ASSERT_TRUE(e2e::WaitUntil([&] { return UploadDone(Log()); })) << folder_.ReadText("vm.log");
    std::vector<std::string> features;
    for (const std::string& l : Log())
        if (l.rfind("FEATURE", 0) == 0)
            features.push_back(l.substr(8, 8));
    ASSERT_EQ(features.size(), 26u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(features[i], "01 88 00") << i;
    EXPECT_EQ(features[5].substr(0, 3), "02 ");
    EXPECT_EQ(features[6], "03 01 02");
    EXPECT_EQ(features[11].substr(0, 6), "04 01 ");
    EXPECT_EQ(features[16], "0C 01 80");
    EXPECT_EQ(features[21], "0D 01 80");
    EXPECT_EQ(features[25], "0D 05 80");
    EXPECT_EQ(folder_.ReadIni("config.ini", "Setting", "Device"), "1");
    // Exactly one start-up upload: a second one would be queued as the first
    // ended and its first transfer goes out as its worker picks it up, well
    // within the window.
    e2e::ObserveFor(500ms);
    EXPECT_EQ(CountPrefix(Log(), "FEATURE 01 88"), 5);
}

TEST_F(DeviceLinkE2E, RemovalAndArrivalFollowThePlugAndUploadAgainOnce) {
    StartMonitor();
    ASSERT_TRUE(e2e::WaitUntil([&] { return UploadDone(Log()); }));
    EXPECT_EQ(VirtualMouse("/unplug"), 0);
    ASSERT_TRUE(
        e2e::WaitUntil([&] { return folder_.ReadIni("config.ini", "Setting", "Device") == "0"; }));

    EXPECT_EQ(VirtualMouse("/plug"), 0);
    ASSERT_TRUE(
        e2e::WaitUntil([&] { return folder_.ReadIni("config.ini", "Setting", "Device") == "1"; }));
    // A repeated arrival notice is ignored: one full upload follows the plug.
    PostMessageA(FindWindowA(nullptr, kMonitorTitle), 1326, 1, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return UploadDone(LogAfter("PLUG")); }))
        << folder_.ReadText("vm.log");
    // A second upload would have begun within the window after the first ended
    // (its first transfer leads it, see above).
    e2e::ObserveFor(500ms);
    const auto after = LogAfter("PLUG");
    EXPECT_EQ(CountPrefix(after, "OPEN_FEATURE"), 1);
    EXPECT_EQ(CountPrefix(after, "OPEN_REPORT"), 1);
    EXPECT_EQ(CountPrefix(after, "FEATURE 01 88"), 5);
    EXPECT_EQ(CountPrefix(after, "FEATURE 0D 05 80"), 1);
}

// The road of one Apply: Option publishes a block with one changed button of
// profile 3, Monitor uploads the settings of all profiles and only that key
// map, then answers Option with 1256.
TEST_F(DeviceLinkE2E, ApplyUploadsWhatChangedThenAnswersOption) {
    StartMonitor();
    ASSERT_TRUE(e2e::WaitUntil([&] { return UploadDone(Log()); }));
    e2e::StandInWindow option(kOptionTitle);
    auto block = std::make_unique<settings::SettingsBlock>();
    ASSERT_TRUE(ExchangeBlock(*block, false));
    settings::ClearChanges(*block);
    block->profiles[2].CpiStep = 3;
    block->profiles[2].MacroKeyInfo[3].actionCode = 57;  // Ctrl+A, a built-in macro
    settings::MarkButtonChanged(*block, 2, 3);
    ASSERT_TRUE(ExchangeBlock(*block, true));
    const std::size_t before = Log().size();
    PostMessageA(FindWindowA(nullptr, kMonitorTitle), 1224, 0, 0);

    ASSERT_TRUE(option.WaitFor(1256)) << "Option was not told that the upload is done";
    const auto all = Log();
    ASSERT_GT(all.size(), before);
    const std::vector<std::string> after(all.begin() + static_cast<std::ptrdiff_t>(before),
                                         all.end());
    std::vector<std::string> features;
    for (const std::string& l : after)
        if (l.rfind("FEATURE", 0) == 0)
            features.push_back(l.substr(8, 8));
    // 5 begin, no selection, 5 + 5 settings, 5 parameter blocks, one key map, one macro.
    ASSERT_EQ(features.size(), 22u) << folder_.ReadText("vm.log");
    EXPECT_EQ(features[5], "03 01 02");
    EXPECT_EQ(features[12], "04 03 04");
    EXPECT_EQ(features[20], "0D 03 80");
    EXPECT_EQ(features[21], "0F 24 80");  // slot 2 * 16 + 3 + 1 = 36
    // 1256 came after the last chunk of the macro block.
    EXPECT_EQ(CountPrefix(after, "OUTPUT"), 14);
    EXPECT_EQ(option.Count(1256), 1);
}

TEST_F(DeviceLinkE2E, RemovalDuringTheUploadStopsItAtTheNextPause) {
    StartMonitor();
    // Unplug once the parameter blocks are under way.
    ASSERT_TRUE(e2e::WaitUntil([&] { return CountPrefix(Log(), "FEATURE 0C 01 80") == 1; }));
    EXPECT_EQ(VirtualMouse("/unplug"), 0);
    ASSERT_TRUE(
        e2e::WaitUntil([&] { return folder_.ReadIni("config.ini", "Setting", "Device") == "0"; }));
    // Plugged again at once: the aborted job must not carry on with the old
    // sequence; the arrival's full upload starts from the beginning.
    EXPECT_EQ(VirtualMouse("/plug"), 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return UploadDone(LogAfter("PLUG")); }))
        << folder_.ReadText("vm.log");
    const auto after = LogAfter("PLUG");
    std::vector<std::string> features;
    for (const std::string& l : after)
        if (l.rfind("FEATURE", 0) == 0)
            features.push_back(l.substr(8, 8));
    ASSERT_GE(features.size(), 6u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(features[i], "01 88 00") << "after the plug, record " << i;
    EXPECT_EQ(CountPrefix(Log(), "FEATURE 0D 01 80"), 1)
        << "the aborted upload reached the key maps";
}

}  // namespace
}  // namespace e2e
