// Monitor's upload jobs around shut-down and arrival, as the mouse and Option
// see them: an Exit drops the jobs still queued, and the block Monitor
// publishes never carries the change flags of its own uploads. Its log and
// the tray's diagnostics items, as the user finds them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "common/settings/settings_block.h"
#include "monitor/app/diagnostics_win.h"
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

namespace {

// A visible dialog box of the process that owns `window`.
HWND DialogOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return e2e::FindProcessDialog(pid);
}

bool LibraryExports(const std::string& dll, const char* name) {
    HMODULE module = LoadLibraryA(dll.c_str());
    if (module == nullptr)
        return false;
    const bool found = GetProcAddress(module, name) != nullptr;
    FreeLibrary(module);
    return found;
}

}  // namespace

TEST_F(MonitorUploads, LogKeepsTheUploadAndTheTrayItemsRecordForgetAndSaveDiagnostics) {
    VirtualMouseSession mouse(folder_);
    ASSERT_TRUE(mouse.Running());
    StartMonitor();
    ASSERT_TRUE(e2e::WaitUntil([&] { return FullUploadDone(mouse.Log()); }, 30s));
    // The start-up upload is in Monitor's own log with its duration.
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            return folder_.ReadText("logs\\monitor.log").find("upload job 2 completed in ") !=
                   std::string::npos;
        },
        10s))
        << folder_.ReadText("logs\\monitor.log");

    // Record: a library with captures starts one; an older one says it cannot.
    const bool canCapture = LibraryExports(folder_.File("korrin.dll"), "Start_Capture");
    PostMessageA(MonitorWindow(), WM_COMMAND, monitor::kCmdRecordDiagnostics, 0);
    const char* recordLine =
        canCapture ? "capture started" : "the device library cannot record captures";
    EXPECT_TRUE(e2e::WaitUntil([&] {
        return folder_.ReadText("logs\\monitor.log").find(recordLine) != std::string::npos;
    })) << recordLine;

    // Forget: the library forgets the channel it remembered, in its own file.
    PostMessageA(MonitorWindow(), WM_COMMAND, monitor::kCmdForgetChannels, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] {
        return folder_.ReadText("logs\\monitor.log").find("remembered channel forgotten") !=
               std::string::npos;
    })) << folder_.ReadText("logs\\monitor.log");

    // Save: the dialog opens on Monitor's behalf; the name typed in is where
    // the report goes.
    PostMessageA(MonitorWindow(), WM_COMMAND, monitor::kCmdSaveDiagnosticsReport, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] { return (dialog = DialogOf(MonitorWindow())) != nullptr; }));
    const std::string reportPath = folder_.File("report.txt");
    // The file name box: the combo box of the explorer-style dialog, or the
    // plain edit field of the older one.
    HWND name = GetDlgItem(dialog, 1148);
    if (name == nullptr)
        name = GetDlgItem(dialog, 1152);
    ASSERT_NE(name, nullptr);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(reportPath.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    ASSERT_TRUE(e2e::WaitUntil([&] { return folder_.Exists("report.txt"); }));
    std::string report;
    ASSERT_TRUE(e2e::WaitUntil([&] {
        report = folder_.ReadText("report.txt");
        return report.find("== Last capture ==") != std::string::npos;
    }));
    std::size_t at = 0;
    for (const char* section :
         {"== Program ==", "== System ==", "== Mouse ==", "== Interfaces ==",
          "== Chosen channels ==", "== Monitor log ==", "== Last capture =="}) {
        const std::size_t found = report.find(section, at);
        EXPECT_NE(found, std::string::npos) << section << " missing or out of order";
        at = found == std::string::npos ? at : found;
    }
    EXPECT_NE(report.find("Monitor: 1.12.0.0"), std::string::npos);
    EXPECT_NE(report.find("Present: yes"), std::string::npos);
    EXPECT_NE(report.find("upload job 2 completed in "), std::string::npos);
    if (canCapture) {
        // The capture just started is the last one, and it is on disk.
        const std::size_t file = report.find("File: ");
        ASSERT_NE(file, std::string::npos) << report;
        const std::string path =
            report.substr(file + 6, report.find_first_of("\r\n", file) - file - 6);
        EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
    } else {
        EXPECT_NE(report.find("Library diagnostics: not available"), std::string::npos);
    }
}
