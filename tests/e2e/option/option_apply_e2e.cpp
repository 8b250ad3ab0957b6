// The Apply road with the real Monitor and the virtual mouse: a profile
// chosen in Option reaches the shared block, the files and the mouse, and
// OK and Apply come back only when the upload is over.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>

#include "common/settings/osd_settings.h"
#include "common/settings/settings_block.h"
#include "common/text_format.h"
#include "common/trace_points.h"
#include "tests/e2e/device/virtual_mouse_session_win.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/option/option_driver_win.h"

namespace {

using namespace std::chrono_literals;
using e2e::OptionDriver;
using e2e::VirtualMouseSession;

constexpr int kKeyProfile1 = 5, kKeyApply = 13, kKeyReset = 31, kKeyExportAll = 45,
              kKeyImportAll = 46;
constexpr int kResetWarningOk = 1001;

class ApplyRoad : public ::testing::Test {
  protected:
    void TearDown() override { e2e::EndMonitor(monitor_); }
    void StartMonitor() {
        ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe")));
        ASSERT_TRUE(e2e::WaitUntil([] { return FindWindowA(nullptr, e2e::kMonitorTitle); }));
    }
    // Monitor started, its start-up upload over (profile 5's key map has
    // come), and Option open and ready to apply.
    void StartMonitorAndOption(VirtualMouseSession& mouse, OptionDriver& option) {
        ASSERT_TRUE(mouse.Running());
        StartMonitor();
        ASSERT_TRUE(
            e2e::WaitUntil([&] { return HasRecord(mouse.Log(), "FEATURE 0D 05 80"); }, 60s));
        ASSERT_TRUE(option.Start());
        ASSERT_TRUE(e2e::WaitUntil([&] { return option.ApplyReady(); }));
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
    OptionDriver option(folder_);
    ASSERT_NO_FATAL_FAILURE(StartMonitorAndOption(mouse, option));

    const std::size_t before = mouse.Log().size();
    option.Click(kKeyProfile1 + 2);
    option.Click(kKeyApply);
    ASSERT_TRUE(option.Process().WaitForDebugText(text::Format(trace::kOptionApply, 0, 1, 1)));
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
    ASSERT_TRUE(unplugged.Process().WaitForDebugText(text::Format(trace::kOptionApply, 0, 1, 1)));
    EXPECT_TRUE(e2e::WaitUntil([&] { return unplugged.ApplyReady(); }, 5s));
    EXPECT_EQ(folder_.ReadIni("config.ini", "Setting", "CurrentProfile"), "1");
}

// The block as it stands, change flags aside: what a backup must bring back.
std::unique_ptr<settings::SettingsBlock> SharedWithoutFlags() {
    auto block = std::make_unique<settings::SettingsBlock>();
    if (!e2e::ReadSharedBlock(*block))
        return nullptr;
    settings::ClearChanges(*block);
    return block;
}

TEST_F(ApplyRoad, ABackupOfEverythingComesBackWholeAfterAResetAndADamagedOneChangesNothing) {
    // Notice settings and a macro that only the backup can carry.
    settings::OsdSettings osd{};
    osd.showProfile = 1;
    osd.value140 = 77;
    ASSERT_TRUE(WritePrivateProfileStructA("OSDSetting", "config", &osd, sizeof osd,
                                           folder_.File("config.ini").c_str()));
    const std::uint8_t macro[220] = {'k', 'e', 'e', 'p', 0};
    ASSERT_TRUE(WritePrivateProfileStructA("Macros", "0", const_cast<std::uint8_t*>(macro),
                                           sizeof macro,
                                           folder_.File("config\\sequence.dat").c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Macros", "number", "1",
                                           folder_.File("config\\sequence.dat").c_str()));
    VirtualMouseSession mouse(folder_);
    OptionDriver option(folder_);
    ASSERT_NO_FATAL_FAILURE(StartMonitorAndOption(mouse, option));
    option.Click(kKeyProfile1 + 2);
    option.Click(kKeyApply);
    ASSERT_TRUE(e2e::WaitUntil([&] { return option.ApplyReady(); }, 60s));

    const std::string backup = folder_.File("all.gmb");
    option.Click(kKeyExportAll);
    ASSERT_TRUE(option.ChooseFile(backup));
    ASSERT_TRUE(option.Process().WaitForDebugText(text::Format(trace::kOptionExportAll, 1)));
    const auto saved = SharedWithoutFlags();
    ASSERT_NE(saved, nullptr);
    const std::string osdSaved = folder_.ReadIni("config.ini", "OSDSetting", "config");
    const std::string macrosSaved = folder_.ReadText("config\\sequence.dat");

    option.Click(kKeyReset);
    ASSERT_TRUE(option.Answer(kResetWarningOk));
    ASSERT_TRUE(option.Process().WaitForDebugText(text::Format(trace::kOptionApply, 1, 1, 1)));
    ASSERT_TRUE(e2e::WaitUntil([&] { return option.ApplyReady(); }, 60s));
    ASSERT_NE(folder_.ReadIni("config.ini", "OSDSetting", "config"), osdSaved);
    EXPECT_TRUE(e2e::WaitUntil([&] { return mouse.Dump()[1] == "selected_profile 1"; }))
        << mouse.Dump()[1];

    // A damaged part: named in a message, nothing changes.
    std::string damaged = folder_.ReadText("all.gmb");
    const std::size_t at = damaged.find("[Profile3]");
    ASSERT_NE(at, std::string::npos);
    damaged.replace(damaged.find("PollingRate=", at), 12, "PollingRat=");
    std::ofstream(folder_.File("damaged.gmb"), std::ios::binary) << damaged;
    option.Click(kKeyImportAll);
    ASSERT_TRUE(option.ChooseFile(folder_.File("damaged.gmb")));
    ASSERT_TRUE(option.Process().WaitForDebugText(text::Format(trace::kOptionImportAll, 3)));
    ASSERT_TRUE(option.Answer(IDOK));
    EXPECT_EQ(option.Process().CountDebugText(text::Format(trace::kOptionApply, 1, 1, 1)), 1);
    auto block = SharedWithoutFlags();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->currentProfile, 0);

    // The good backup: everything back at once, sent to the mouse as a reset is.
    option.Click(kKeyImportAll);
    ASSERT_TRUE(option.ChooseFile(backup));
    ASSERT_TRUE(option.Process().WaitForDebugText(text::Format(trace::kOptionImportAll, 0)));
    ASSERT_TRUE(option.Process().WaitForDebugText(text::Format(trace::kOptionApply, 1, 1, 1), 2));
    ASSERT_TRUE(e2e::WaitUntil([&] { return option.ApplyReady(); }, 60s));
    block = SharedWithoutFlags();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::memcmp(block.get(), saved.get(), sizeof *block), 0);
    EXPECT_EQ(folder_.ReadIni("config.ini", "OSDSetting", "config"), osdSaved);
    EXPECT_EQ(folder_.ReadText("config\\sequence.dat"), macrosSaved);
    EXPECT_TRUE(e2e::WaitUntil([&] { return mouse.Dump()[1] == "selected_profile 3"; }))
        << mouse.Dump()[1];
}

}  // namespace
