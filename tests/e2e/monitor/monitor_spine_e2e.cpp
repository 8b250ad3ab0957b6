// Monitor as the other programs see it: one instance, the shared block, the
// answers to Option and the applets, and an orderly exit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

#include "common/settings/mouse_registry_win.h"
#include "common/settings/settings_block.h"
#include "common/text_format.h"
#include "common/trace_points.h"
#include "common/win/scoped_win.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/support/shared_block_win.h"

namespace {

using namespace std::chrono_literals;
using e2e::Program;
using e2e::ProgramFolder;
using e2e::StandInWindow;

constexpr const char* kMonitorTitle = "Professional Gaming Optical Mouse Monitor";
constexpr const char* kOptionTitle = "Professional Gaming Optical Mouse Option";
constexpr const char* kCompanions[] = {
    "Professional Gaming Optical Mouse OSD", "Professional Gaming Optical Mouse Pop3",
    "Professional Gaming Optical Mouse CPU RAM OSD", "Professional Gaming Optical Mouse OSD SKYPE",
    "Professional Gaming Optical Mouse OSD MSN"};

class MonitorSpine : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.AddTestProgram("Option.exe", "Option.exe"));
        // The companions are played by the windows of StartPeers(); the real
        // display program would be a second window of the same title.
        ASSERT_TRUE(folder_.Remove("VantorOSD.exe"));
    }
    void TearDown() override { e2e::EndMonitor(monitor_); }

    // Starts Monitor and waits until its window is up.
    void StartMonitor(const std::string& arguments = "") {
        ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe"), arguments));
        ASSERT_TRUE(e2e::WaitUntil([] { return FindWindowA(nullptr, kMonitorTitle) != nullptr; }))
            << "Monitor's window did not appear";
        // The title exists from the start of window creation; the block is
        // published before creation ends, and a sent message is handled after.
        Send(WM_NULL);
        ASSERT_TRUE(e2e::WaitUntil([] {
            return win::ScopedHandle(
                       OpenFileMappingA(FILE_MAP_READ, FALSE, settings::kSharedSectionName))
                .Valid();
        })) << "Monitor did not publish its block";
    }
    HWND MonitorWindow() const { return FindWindowA(nullptr, kMonitorTitle); }

    // Option and the five companions, as windows that record what they get.
    void StartPeers() {
        for (const char* title : kCompanions)
            peers_.push_back(std::make_unique<StandInWindow>(title));
        peers_.push_back(std::make_unique<StandInWindow>(kOptionTitle));
    }
    // Every peer has handled all that was posted to it so far (posted
    // messages arrive in order, so a marker posted now comes after them).
    void FlushPeers() {
        for (const auto& peer : peers_) {
            PostMessageA(peer->Hwnd(), kMarker, 0, 0);
            EXPECT_TRUE(peer->WaitFor(kMarker, ++markers_[peer.get()]));
        }
    }
    int PeersClosed() const {
        int closed = 0;
        for (const auto& peer : peers_) closed += peer->Count(WM_CLOSE) > 0 ? 1 : 0;
        return closed;
    }

    // Sends a message and waits until Monitor has handled it.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(MonitorWindow(), message, wParam, lParam, SMTO_NORMAL, 10000, &result);
        return static_cast<LRESULT>(result);
    }

    int OptionStarts() const {
        const std::string log = folder_.ReadText("option_started.log");
        int count = 0;
        for (std::size_t at = log.find("started"); at != std::string::npos;
             at = log.find("started", at + 1)) {
            ++count;
        }
        return count;
    }

    static constexpr UINT kMarker = WM_APP + 77;

    ProgramFolder folder_;
    Program monitor_;
    std::vector<std::unique_ptr<StandInWindow>> peers_;  // companions, then Option
    std::map<const StandInWindow*, int> markers_;
};

// The published section itself, for its size.
struct SectionView {
    win::ScopedHandle mapping{OpenFileMappingA(FILE_MAP_READ, FALSE, settings::kSharedSectionName)};
    win::ScopedView view{mapping ? MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0) : nullptr};
    SIZE_T Size() const {
        MEMORY_BASIC_INFORMATION info{};
        VirtualQuery(view.Get(), &info, sizeof info);
        return info.RegionSize;
    }
};

TEST_F(MonitorSpine, SecondInstanceEndsWithoutAWindowAndClosesNothing) {
    StartMonitor();
    StartPeers();
    Program second;
    ASSERT_TRUE(second.Start(folder_.File("Monitor.exe")));
    EXPECT_EQ(second.WaitExit(), 0);
    EXPECT_EQ(e2e::CountWindowsTitled(kMonitorTitle), 1);
    FlushPeers();
    EXPECT_EQ(PeersClosed(), 0) << "the refused instance closed the running one's peers";
    // The second instance has ended; an Option it wrongly started would have
    // written its start within the window.
    e2e::ObserveFor(1500ms);
    EXPECT_EQ(OptionStarts(), 0) << "no '1' on the command line: nothing is opened";
}

// Started at the same moment, exactly one of two Monitors stays.
TEST_F(MonitorSpine, TwoMonitorsStartedTogetherLeaveExactlyOne) {
    StartPeers();
    Program other;
    ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe")));
    ASSERT_TRUE(other.Start(folder_.File("Monitor.exe")));
    ASSERT_TRUE(e2e::WaitUntil([&] { return monitor_.Exited() || other.Exited(); }))
        << "neither Monitor refused to run";
    Program& refused = monitor_.Exited() ? monitor_ : other;
    Program& running = monitor_.Exited() ? other : monitor_;
    EXPECT_EQ(refused.WaitExit(), 0);
    ASSERT_TRUE(e2e::WaitUntil([] { return FindWindowA(nullptr, kMonitorTitle) != nullptr; }));
    Send(WM_NULL);
    EXPECT_EQ(e2e::CountWindowsTitled(kMonitorTitle), 1);
    EXPECT_FALSE(running.Exited());
    FlushPeers();
    EXPECT_EQ(PeersClosed(), 0);

    PostMessageA(MonitorWindow(), WM_COMMAND, 6002, 0);
    EXPECT_EQ(running.WaitExit(), 0);
}

TEST_F(MonitorSpine, SecondInstanceWithOneStartsOptionOfTheProgramFolder) {
    StartMonitor();
    Program second;
    ASSERT_TRUE(second.Start(folder_.File("Monitor.exe"), "1"));
    EXPECT_EQ(second.WaitExit(), 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return OptionStarts() == 1; })) << "Option was not started";
    EXPECT_TRUE(monitor_.WaitForDebugText(trace::kCustomizerAsked));
    EXPECT_TRUE(monitor_.WaitForDebugText(trace::kCustomizerStarted));
    EXPECT_EQ(monitor_.CountDebugText(trace::kCustomizerRestored), 0);
}

TEST_F(MonitorSpine, SecondInstanceWithOneRestoresARunningOption) {
    StartMonitor();
    StandInWindow option(kOptionTitle, /*minimized=*/true);
    ASSERT_TRUE(IsIconic(option.Hwnd()));
    Program second;
    ASSERT_TRUE(second.Start(folder_.File("Monitor.exe"), "1"));
    EXPECT_EQ(second.WaitExit(), 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsIconic(option.Hwnd()); }))
        << "the minimised Option window was not restored";
    EXPECT_TRUE(monitor_.WaitForDebugText(trace::kCustomizerRestored));
    // Monitor chose to restore; a second Option started anyway would have
    // written its start within the window.
    e2e::ObserveFor(1500ms);
    EXPECT_EQ(OptionStarts(), 0) << "a second Option was started";
}

// A Monitor that has taken the single-instance mutex but has not made its
// window yet (it was started a moment earlier, as at logon) still gets the
// request of a second one started with "1".
TEST_F(MonitorSpine, SecondInstanceWithOneWaitsForTheWindowOfAStartingMonitor) {
    win::ScopedHandle starting(CreateMutexA(nullptr, FALSE, kMonitorTitle));
    ASSERT_TRUE(starting.Get() != nullptr);
    // The fixture's Monitor is the second one here; the first is only its mutex.
    ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe"), "1"));
    // The second Monitor has begun its start-up; only now does the window appear.
    ASSERT_TRUE(monitor_.WaitForDebugText(text::Format(trace::kMonitorCommandLine, "1")));
    StandInWindow running(kMonitorTitle);
    EXPECT_TRUE(running.WaitFor(WM_COMMAND))
        << "the open request never reached the running Monitor";
    EXPECT_EQ(monitor_.WaitExit(), 0);
    const auto received = running.All();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].wParam, 6001u);
}

TEST_F(MonitorSpine, FirstInstanceWithOneAndNoMouseDoesNotOpenOption) {
    StartMonitor("1");
    // Start-up has looked for the mouse once it records the device state; an
    // Option it wrongly started would have written its start within the window.
    ASSERT_TRUE(
        e2e::WaitUntil([&] { return folder_.ReadIni("config.ini", "Setting", "Device") == "0"; }));
    e2e::ObserveFor(1500ms);
    EXPECT_EQ(OptionStarts(), 0);
}

// The settings mutex exists and a Monitor window shows that its Monitor runs
// (one that holds no single-instance mutex of ours): the new one leaves
// without touching anything of the running one's.
TEST_F(MonitorSpine, SettingsMutexOfARunningMonitorRefusesQuietly) {
    // Scoped, so that a failed check does not leave it to the next test.
    win::ScopedHandle mutex(CreateMutexA(nullptr, FALSE, settings::kSharedMutexName));
    ASSERT_TRUE(mutex);
    StandInWindow running(kMonitorTitle);
    StartPeers();

    ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe")));
    EXPECT_EQ(monitor_.WaitExit(), 0);
    EXPECT_EQ(e2e::CountWindowsTitled(kMonitorTitle), 1);
    FlushPeers();
    EXPECT_EQ(PeersClosed(), 0) << "a refused start closed the running Monitor's peers";
    PostMessageA(running.Hwnd(), kMarker, 0, 0);
    ASSERT_TRUE(running.WaitFor(kMarker));
    EXPECT_EQ(running.All().size(), 1u) << "the running Monitor was sent something";
    EXPECT_EQ(folder_.ReadIni("config.ini", "Setting", "Device"), "<missing>");
    EXPECT_EQ(OpenFileMappingA(FILE_MAP_READ, FALSE, settings::kSharedSectionName), nullptr)
        << "a refused start must not leave a section behind";
}

// Monitor crashed while Option held the settings mutex and section open: no
// Monitor window comes, so the new Monitor takes both over, publishes into
// the section Option already has, and works as usual.
TEST_F(MonitorSpine, LeftoverSettingsMutexAndSectionAreTakenOver) {
    win::ScopedHandle mutex(CreateMutexA(nullptr, FALSE, settings::kSharedMutexName));
    ASSERT_TRUE(mutex);
    win::ScopedHandle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                 sizeof(settings::SettingsBlock),
                                                 settings::kSharedSectionName));
    ASSERT_TRUE(mapping);
    win::ScopedView view(MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_TRUE(view);
    auto* stale = static_cast<settings::SettingsBlock*>(view.Get());
    std::memset(stale, 0xEE, sizeof *stale);
    StartPeers();
    StandInWindow& option = *peers_.back();

    ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe")));
    auto published = std::make_unique<settings::SettingsBlock>();
    auto readLeftover = [&] {
        // Through the handles the leftover holder kept, as Option would.
        if (WaitForSingleObject(mutex.Get(), 10000) != WAIT_OBJECT_0)
            return false;
        std::memcpy(published.get(), stale, sizeof *published);
        ReleaseMutex(mutex.Get());
        return published->currentProfile == 0;
    };
    ASSERT_TRUE(e2e::WaitUntil(readLeftover)) << "Monitor did not publish into the section";
    EXPECT_EQ(std::string(published->profiles[0].ProFileName), "Default1");
    ASSERT_NE(MonitorWindow(), nullptr);
    EXPECT_TRUE(
        e2e::WaitUntil([&] { return folder_.ReadIni("config.ini", "Setting", "Device") == "0"; }));
    FlushPeers();
    EXPECT_EQ(PeersClosed(), 0) << "the start-up closed Option or a companion";

    // Option's apply through the section it kept is taken and answered.
    published->profiles[0].CpiLevel_X[0] = 33;
    ASSERT_EQ(WaitForSingleObject(mutex.Get(), 10000), WAIT_OBJECT_0);
    std::memcpy(stale, published.get(), sizeof *published);
    ReleaseMutex(mutex.Get());
    PostMessageA(MonitorWindow(), 1224, 0, 0);
    EXPECT_TRUE(option.WaitFor(1256));
    EXPECT_TRUE(monitor_.WaitForDebugText(trace::kUploadDoneByWindow));

    PostMessageA(MonitorWindow(), WM_COMMAND, 6002, 0);
    EXPECT_EQ(monitor_.WaitExit(), 0);
    for (const auto& peer : peers_) EXPECT_TRUE(peer->WaitFor(WM_CLOSE));
}

TEST_F(MonitorSpine, PublishesACompleteDefaultBlockRightAfterStart) {
    // A fresh program folder has no profile files: every profile is fresh, and
    // the current one (profile 1) takes the pointer settings of the registry.
    auto expected = std::make_unique<settings::SettingsBlock>();
    std::memset(expected.get(), 0, sizeof *expected);
    settings::FillDefaults(*expected, settings::DefaultsFor::Monitor);
    settings::SystemMouseRegistry registry;
    settings::ReadRegistryIntoProfile(registry, expected->profiles[0]);

    StartMonitor();
    const SectionView section;
    ASSERT_TRUE(section.view);
    EXPECT_GE(section.Size(), sizeof(settings::SettingsBlock));
    auto published = std::make_unique<settings::SettingsBlock>();
    ASSERT_TRUE(testsupport::ReadSharedBlock(*published));
    EXPECT_EQ(published->currentProfile, 0);
    for (int n = 0; n < settings::kProfileCount; ++n) {
        EXPECT_EQ(std::memcmp(&published->profiles[n], &expected->profiles[n],
                              sizeof(settings::ProfileRecord)),
                  0)
            << "profile " << n << " differs from the defaults";
    }
}

TEST_F(MonitorSpine, EveryApplyIsAnsweredByExactlyOneUploadDone) {
    StartMonitor();
    StandInWindow option(kOptionTitle);
    for (int i = 0; i < 5; ++i) PostMessageA(MonitorWindow(), 1224, i % 2, 0);
    ASSERT_TRUE(option.WaitFor(1256, 5));
    Send(WM_NULL);
    // Five answers came, and WM_NULL was handled after the five Applies: a
    // sixth answer would already be queued here, so the window only lets
    // this thread take it in.
    e2e::ObserveFor(50ms);
    EXPECT_EQ(option.Count(1256), 5);
    EXPECT_TRUE(monitor_.WaitForDebugText(trace::kUploadDoneByWindow, 5));
    for (const auto& r : option.All()) {
        if (r.message == 1256) {
            EXPECT_EQ(r.wParam, 0u);
            EXPECT_EQ(r.lParam, 0);
        }
    }
}

TEST_F(MonitorSpine, ApplyWithoutOptionWindowSaysSo) {
    StartMonitor();
    Send(1224);
    EXPECT_TRUE(monitor_.WaitForDebugText(trace::kUploadDoneNoOption));
    EXPECT_TRUE(monitor_.WaitForDebugText(trace::kUploadDoneByWindow));
}

TEST_F(MonitorSpine, ReloadMessagesLeaveTheSectionToItsWriterAndIgnoredOnesChangeNothing) {
    StartMonitor();
    auto block = std::make_unique<settings::SettingsBlock>();
    ASSERT_TRUE(testsupport::ReadSharedBlock(*block));
    block->profiles[1].CpiLevel_X[0] = 77;
    std::memset(block->reserved, 0x5C, sizeof block->reserved);
    ASSERT_TRUE(testsupport::WriteSharedBlock(*block));
    for (UINT message : {1226u, 1227u, 1274u}) {
        EXPECT_EQ(Send(message), 0) << message;
        auto after = std::make_unique<settings::SettingsBlock>();
        ASSERT_TRUE(testsupport::ReadSharedBlock(*after));
        EXPECT_EQ(std::memcmp(after.get(), block.get(), sizeof *block), 0)
            << "message " << message << " rewrote the shared block";
    }
    EXPECT_NE(MonitorWindow(), nullptr);
}

// This process keeps its own cached copy of the system parameters, so the
// double-click time is asked of a fresh process each time.
int SystemDoubleClickTime() {
    const std::string probe = e2e::TestBinFolder() + "MouseProbe.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = "\"" + probe + "\" doubleclick";
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return -1;
    }
    WaitForSingleObject(info.hProcess, 20000);
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

TEST_F(MonitorSpine, OnlyTheApplyingMessagesSetThePointerSettingsOfTheHandedOverBlock) {
    StartMonitor();
    auto block = std::make_unique<settings::SettingsBlock>();
    ASSERT_TRUE(testsupport::ReadSharedBlock(*block));
    const int current = block->currentProfile;
    ASSERT_GE(current, 0);
    const int before = block->profiles[current].DbleClickSpeed;
    ASSERT_TRUE(e2e::WaitUntil([&] { return SystemDoubleClickTime() == before; }))
        << "start-up did not apply the profile's double-click time";

    block->profiles[current].DbleClickSpeed = before + 111;
    ASSERT_TRUE(testsupport::WriteSharedBlock(*block));
    Send(1226);
    // Send returns once 1226 is handled, and an apply would have set the
    // system value while handling it: nothing to wait for.
    EXPECT_EQ(SystemDoubleClickTime(), before) << "1226 only reloads";

    Send(1227);
    EXPECT_TRUE(e2e::WaitUntil([&] { return SystemDoubleClickTime() == before + 111; }))
        << "1227 did not apply the handed-over double-click time";

    block->profiles[current].DbleClickSpeed = before + 222;
    ASSERT_TRUE(testsupport::WriteSharedBlock(*block));
    Send(1224);
    EXPECT_TRUE(e2e::WaitUntil([&] { return SystemDoubleClickTime() == before + 222; }))
        << "1224 did not apply the handed-over double-click time";
    SetDoubleClickTime(static_cast<UINT>(before));
}

TEST_F(MonitorSpine, CopyDataOnlyAcceptsExactly151Bytes) {
    StartMonitor();
    auto sendText = [&](std::size_t size, char fill, bool terminate) {
        std::vector<char> data(size, fill);
        data[0] = 7;
        if (terminate && size > 10)
            data[10] = '\0';
        COPYDATASTRUCT cds{0, static_cast<DWORD>(size), data.data()};
        DWORD_PTR result = 0;
        SendMessageTimeoutA(MonitorWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds),
                            SMTO_NORMAL, 10000, &result);
        return result;
    };
    EXPECT_EQ(sendText(150, 'a', true), 1u);
    EXPECT_EQ(sendText(152, 'b', true), 1u);
    EXPECT_EQ(folder_.ReadIni("config.ini", "OSDData", "Message"), "<missing>");

    EXPECT_EQ(sendText(151, 'c', true), 1u);
    EXPECT_EQ(folder_.ReadIni("config.ini", "OSDData", "Message"), std::string(9, 'c'));

    EXPECT_EQ(sendText(151, 'd', false), 1u);
    EXPECT_EQ(folder_.ReadIni("config.ini", "OSDData", "Message"), std::string(150, 'd'));

    COPYDATASTRUCT empty{0, 151, nullptr};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(MonitorWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&empty),
                        SMTO_NORMAL, 10000, &result);
    EXPECT_EQ(folder_.ReadIni("config.ini", "OSDData", "Message"), std::string(150, 'd'));
}

TEST_F(MonitorSpine, CopyDataDoesNotNotifyTheDisplayWithoutTheMouse) {
    StartMonitor();
    StandInWindow osd(kCompanions[0]);
    std::vector<char> data(151, 0);
    std::memcpy(data.data() + 1, "hello", 5);
    COPYDATASTRUCT cds{0, 151, data.data()};
    SendMessageA(MonitorWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
    EXPECT_TRUE(e2e::WaitUntil([&] {
        return folder_.ReadIni("config.ini", "OSDData", "Message") == "hello";
    })) << folder_.ReadIni("config.ini", "OSDData", "Message");
    // The text is handled (the message was sent, so a notice it wrongly set
    // off is already queued here); the window lets this thread take it in.
    e2e::ObserveFor(100ms);
    EXPECT_EQ(osd.Count(1324), 0);
}

TEST_F(MonitorSpine, ExitClosesEveryPeerAndEndsWithCodeZero) {
    StartMonitor();
    StandInWindow option(kOptionTitle);
    std::vector<std::unique_ptr<StandInWindow>> companions;
    for (const char* title : kCompanions)
        companions.push_back(std::make_unique<StandInWindow>(title));
    PostMessageA(MonitorWindow(), WM_COMMAND, 6002, 0);
    EXPECT_EQ(monitor_.WaitExit(), 0);
    EXPECT_TRUE(option.WaitFor(WM_CLOSE));
    for (const auto& companion : companions) EXPECT_TRUE(companion->WaitFor(WM_CLOSE));
    EXPECT_EQ(FindWindowA(nullptr, kMonitorTitle), nullptr);
    EXPECT_EQ(OpenFileMappingA(FILE_MAP_READ, FALSE, settings::kSharedSectionName), nullptr);
    EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, settings::kSharedMutexName), nullptr);
}

TEST_F(MonitorSpine, DeviceStateIsWrittenAtStart) {
    StartMonitor();
    EXPECT_TRUE(
        e2e::WaitUntil([&] { return folder_.ReadIni("config.ini", "Setting", "Device") == "0"; }));
}

}  // namespace
