// The soak: the real Monitor and Option with the virtual mouse under a long
// mixed load — key combinations held and released, macros started and
// stopped, profile switches, CPI, rate and sensitivity changes, tilt and
// launch, sleep and wake-up, lock and unlock, the console lost and regained,
// unplug and plug cycles and an Apply from Option every few seconds —
// and then a burst of device events as fast as they can be posted. At the end
// nothing may be lost: no process died, no key is left down, the mouse holds
// what was last applied, the files hold the shared block, and Monitor's
// handles, GDI and USER objects and private bytes have not grown.
//
// MOUSE_SOAK_SECONDS sets the length of the mixed load (default 45: the short
// form in the test command, some 90 s in all with the start and the checks;
// scripts/soak.sh runs 600); MOUSE_SOAK_CYCLES the number of unplug and plug
// cycles (default: one every 12 s, at least 2, at most 50); MOUSE_SOAK_SEED
// the random stream.
#include <windows.h>
// After windows.h, which they need.
#include <shellapi.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "common/settings/ini_file_win.h"
#include "common/settings/settings_block.h"
#include "common/settings/settings_files.h"
#include "common/win/scoped_win.h"
#include "monitor/device/upload_sequence.h"
#include "tests/e2e/device/virtual_mouse_session_win.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/harness/input_recorder_win.h"
#include "tests/e2e/option/option_driver_win.h"
#include "tools/VirtualMouse/virtual_firmware.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using e2e::VirtualMouseSession;

constexpr UINT kMsgDeviceEvent = 1325;
constexpr UINT kMsgDeviceArrival = 1326;
constexpr UINT kMsgApplyAll = 1224;
constexpr WPARAM kCmdExit = 6002;
constexpr int kKeyProfile1 = 5, kKeyApply = 13;

// Buttons of every profile: two key combinations, two macros, a launch.
constexpr int kComboButtons[] = {4, 5};
constexpr int kMacroButtons[] = {6, 7};
constexpr int kLaunchButton = 8;

// Keys that do nothing in the windows that may have the focus (Option's):
// F5..F9, F11, F12 and the number pad, with Ctrl and Shift only.
constexpr std::uint8_t kComboKeys[5][2] = {
    {0x3E, 0x5D}, {0x3F, 0x5E}, {0x40, 0x5F}, {0x44, 0x60}, {0x45, 0x5A}};
constexpr std::uint8_t kComboModifiers[5][2] = {
    {settings::modifier::kCtrl, settings::modifier::kShift},
    {settings::modifier::kPlainKey, settings::modifier::kCtrl | settings::modifier::kShift},
    {settings::modifier::kShift, 0},
    {settings::modifier::kCtrl, settings::modifier::kPlainKey},
    {0, settings::modifier::kShift}};
constexpr std::uint8_t kMacroKeys[] = {0x3E, 0x3F, 0x40, 0x44, 0x45, 0x59, 0x5B, 0x62};

int EnvInt(const char* name, int fallback) {
    const std::string value = e2e::EnvOr(name, "");
    return value.empty() ? fallback : std::atoi(value.c_str());
}

std::uint32_t Code(std::uint32_t category, std::uint32_t data) {
    return (category << 16) | data;
}

// The profiles the soak starts from, written to the program folder's files
// before Monitor starts: each profile has its own keys, so a profile switch
// between a press and its release shows up as a stuck key.
void SoakAssignments(settings::SettingsBlock& block, const std::string& launchPath) {
    std::mt19937 rng(99);
    for (int p = 0; p < settings::kProfileCount; ++p) {
        settings::ProfileRecord& profile = block.profiles[p];
        for (int i = 0; i < 2; ++i) {
            settings::ButtonAssignment& b = profile.MacroKeyInfo[kComboButtons[i] - 1];
            b.actionCode = settings::action::kKeyCombination;
            b.eventCount = 1;
            b.events[0] = {kComboKeys[p][i], kComboModifiers[p][i], 0};
        }
        for (int i = 0; i < 2; ++i) {
            settings::ButtonAssignment& b = profile.MacroKeyInfo[kMacroButtons[i] - 1];
            b.actionCode = settings::action::kMacro;
            settings::CopyField(b.macroName, "Soak");
            b.repeatCount = 1 + static_cast<int>(rng() % 3);
            const int pairs = 2 + static_cast<int>(rng() % 5);
            b.eventCount = static_cast<std::uint16_t>(pairs * 2);
            for (int e = 0; e < pairs; ++e) {
                const std::uint8_t key = kMacroKeys[rng() % std::size(kMacroKeys)];
                b.events[2 * e] = {key, 1, static_cast<std::uint16_t>(5 + rng() % 60)};
                b.events[2 * e + 1] = {key, 2, static_cast<std::uint16_t>(5 + rng() % 60)};
            }
        }
        settings::ButtonAssignment& launch = profile.MacroKeyInfo[kLaunchButton - 1];
        launch.actionCode = settings::action::kLaunchProgram;
        settings::CopyField(launch.programPath, launchPath.c_str());
    }
}

// Monitor started as a plain process (no debugger in between, so its timing
// is its own), with the handle the resource figures are read through.
class PlainProcess {
  public:
    bool Start(const std::string& exe, const std::string& folder) {
        std::string command = "\"" + exe + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &startup, &info))
            return false;
        CloseHandle(info.hThread);
        process_.Reset(info.hProcess);
        return true;
    }
    bool Exited() const { return WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0; }
    bool WaitExit(std::chrono::milliseconds timeout) const {
        return WaitForSingleObject(process_.Get(), static_cast<DWORD>(timeout.count())) ==
               WAIT_OBJECT_0;
    }
    void Kill() {
        if (process_ && !Exited()) {
            TerminateProcess(process_.Get(), 99);
            WaitExit(10s);
        }
    }
    HANDLE Handle() const { return process_.Get(); }

  private:
    win::ScopedHandle process_;
};

struct Resources {
    unsigned long handles = 0, gdi = 0, user = 0, windows = 0;
    double privateMb = 0;
};

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM param) {
    auto* count = reinterpret_cast<std::pair<DWORD, unsigned long>*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == count->first) {
        ++count->second;
        EnumChildWindows(hwnd, CountWindow, param);
    }
    return TRUE;
}

// Whether the system counts GDI and USER objects at all: this test's own
// process holds windows, so a count of 0 means it does not (Wine's answer).
bool GuiObjectsCounted() {
    return GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS) > 0;
}

// The process's handles and private bytes as the system's process list gives
// them (Wine answers the per-process queries for another process with 0),
// its GDI and USER objects where the system counts them, and its windows (a
// USER count that works everywhere).
Resources Measure(HANDLE process) {
    Resources r;
    const DWORD pid = GetProcessId(process);
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    constexpr ULONG kSystemProcessInformation = 5;
    if (query != nullptr && query(kSystemProcessInformation, buffer.data(),
                                  static_cast<ULONG>(buffer.size()), &needed) >= 0) {
        for (std::size_t at = 0;;) {
            const auto* info = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(&buffer[at]);
            if (reinterpret_cast<ULONG_PTR>(info->UniqueProcessId) == pid) {
                r.handles = info->HandleCount;
                const SIZE_T bytes = info->PrivatePageCount != 0
                                         ? info->PrivatePageCount
                                         : info->VirtualMemoryCounters.PagefileUsage;
                r.privateMb = static_cast<double>(bytes) / (1024.0 * 1024.0);
                break;
            }
            if (info->NextEntryOffset == 0)
                break;
            at += info->NextEntryOffset;
        }
    }
    r.gdi = GetGuiResources(process, GR_GDIOBJECTS);
    r.user = GetGuiResources(process, GR_USEROBJECTS);
    std::pair<DWORD, unsigned long> count{pid, 0};
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
    r.windows = count.second;
    return r;
}

// The decoded state a mouse that received `block` in a full upload reports,
// worked out with the upload sequence and the virtual mouse's firmware.
class FirmwareTransport : public device::Transport {
  public:
    void SendCommand(const device::CommandReport& report) override { firmware.OnFeature(report); }
    int WriteChunk(const device::DataChunk& chunk) override {
        firmware.OnChunk(chunk);
        return 1;
    }
    vmouse::VirtualFirmware firmware;
};

class NoWaitPacer : public device::Pacer {
  public:
    std::int64_t NowMicros() override { return now_; }
    void SleepMicros(std::int64_t micros) override { now_ += micros; }

  private:
    std::int64_t now_ = 0;
};

std::vector<std::string> ExpectedDump(const settings::SettingsBlock& block) {
    FirmwareTransport transport;
    NoWaitPacer pacer;
    std::atomic<std::int32_t> abort{0};
    auto sequence = std::make_unique<device::UploadSequence>(transport, pacer, abort);
    sequence->Run(protocol::UploadJob::Full, block);
    return e2e::SplitLines(transport.firmware.Dump());
}

// The macro sections ("macro <slot> ..." and its event lines) of a dump.
std::map<std::string, std::vector<std::string>> MacroSections(
    const std::vector<std::string>& dump) {
    std::map<std::string, std::vector<std::string>> out;
    std::string current;
    for (const std::string& line : dump) {
        if (line.rfind("macro ", 0) == 0) {
            current = line.substr(0, line.find(" repeat"));
            out[current].push_back(line);
        } else if (!current.empty() && line.rfind("  ", 0) == 0) {
            out[current].push_back(line);
        } else {
            current.clear();
        }
    }
    return out;
}

// What the mouse must hold after the last Apply: the selected profile, every
// profile's settings and key map, and each macro the key maps name. Slots the
// block no longer uses may keep what earlier uploads put there.
std::vector<std::string> DumpDifferences(const std::vector<std::string>& live,
                                         const std::vector<std::string>& expected) {
    std::vector<std::string> differences;
    auto lineStarting = [](const std::vector<std::string>& dump, const std::string& prefix) {
        for (const std::string& line : dump)
            if (line.rfind(prefix, 0) == 0)
                return line;
        return std::string("<none>");
    };
    if (lineStarting(live, "selected_profile") != lineStarting(expected, "selected_profile"))
        differences.push_back(lineStarting(live, "selected_profile") + " / expected " +
                              lineStarting(expected, "selected_profile"));
    // An unplug may cut a block short (counted as incomplete, or a chunk
    // without its block); the next arrival's full upload sends it again. Bad
    // checksums, codes or arguments are never right.
    if (lineStarting(live, "errors checksum 0 unknown 0 argument 0 ") == "<none>")
        differences.push_back(lineStarting(live, "errors"));
    for (int n = 1; n <= settings::kProfileCount; ++n) {
        const auto a = VirtualMouseSession::ProfileSection(live, n);
        const auto b = VirtualMouseSession::ProfileSection(expected, n);
        if (a != b)
            differences.push_back("profile " + std::to_string(n) + " differs");
    }
    const auto liveMacros = MacroSections(live);
    for (const auto& [slot, lines] : MacroSections(expected)) {
        const auto found = liveMacros.find(slot);
        if (found == liveMacros.end() || found->second != lines)
            differences.push_back(slot + " differs");
    }
    return differences;
}

// Every key that went down came up: the keys whose last recorded event is a
// press.
std::set<DWORD> KeysStillDown(const std::vector<e2e::InputEvent>& keys) {
    std::set<DWORD> down;
    for (const e2e::InputEvent& e : keys) {
        const DWORD vk = e2e::SidelessKey(e.vk);
        if (e.KeyDown())
            down.insert(vk);
        else if (e.KeyUp())
            down.erase(vk);
    }
    return down;
}

class Soak : public ::testing::Test {
  protected:
    void SetUp() override {
        seconds_ = EnvInt("MOUSE_SOAK_SECONDS", 45);
        cycles_ = EnvInt("MOUSE_SOAK_CYCLES", std::min(50, std::max(2, seconds_ / 12)));
        seed_ = static_cast<unsigned>(EnvInt("MOUSE_SOAK_SEED", 20261208));
        std::printf("soak: %d s of mixed load, %d unplug/plug cycles, seed %u\n", seconds_, cycles_,
                    seed_);
    }
    void TearDown() override {
        option_.reset();
        if (HWND monitor = MonitorWindow())
            PostMessageA(monitor, WM_COMMAND, kCmdExit, 0);
        monitor_.WaitExit(15s);
        monitor_.Kill();
    }

    HWND MonitorWindow() const { return FindWindowA(nullptr, e2e::kMonitorTitle); }
    bool MonitorAlive() const { return !monitor_.Exited() && MonitorWindow() != nullptr; }
    void Post(std::uint32_t code) {
        PostMessageA(MonitorWindow(), kMsgDeviceEvent, code >> 16, code & 0xFFFF);
        ++posted_;
    }
    // Monitor publishes a sensitivity taken over from the mouse at once.
    bool SharedSensitivityIs(int x, int y) const {
        auto block = std::make_unique<settings::SettingsBlock>();
        if (!e2e::ReadSharedBlock(*block))
            return false;
        const settings::ProfileRecord* p = settings::CurrentProfile(*block);
        return p != nullptr && p->Sensitivity_X == x && p->Sensitivity_Y == y;
    }
    std::string DeviceKey() const { return folder_.ReadIni("config.ini", "Setting", "Device"); }

    bool StartOption() {
        option_ = std::make_unique<e2e::OptionDriver>(folder_);
        return option_->Start() && e2e::WaitUntil([&] { return option_->ApplyReady(); }, 60s);
    }
    // One Apply clicked in Option; false when Option is not ready for it.
    bool ClickApply() {
        if (!option_ || option_->Window() == nullptr || !option_->ApplyReady())
            return false;
        option_->Click(kKeyApply);
        applyClickedAt_ = Clock::now();
        ++applies_;
        return true;
    }
    // The Apply just clicked was answered: OK and Apply are enabled again.
    bool WaitApplyAnswered(std::chrono::milliseconds timeout) {
        // The click disables them before Monitor sees the Apply.
        const bool taken = e2e::WaitUntil([&] { return !option_->ApplyReady(); }, 10s);
        return taken && e2e::WaitUntil([&] { return option_->ApplyReady(); }, timeout);
    }

    // One step of the mixed load.
    void RandomEvent(std::mt19937& rng, Clock::time_point now) {
        switch (rng() % 16) {
            case 0:
            case 1:
            case 2: {  // a key combination pressed, released later
                const int button = kComboButtons[rng() % 2];
                if (held_.count(button) != 0)
                    break;
                const std::uint32_t category = rng() % 2 ? 0x4000 : 0x5000;
                Post(Code(category, static_cast<std::uint32_t>(button)));
                held_[button] = {now + std::chrono::milliseconds(30 + rng() % 1800), category};
                ++counts_["combination"];
                break;
            }
            case 3:
            case 4: {  // a macro started, or stopped when it plays
                const auto button = static_cast<std::uint32_t>(kMacroButtons[rng() % 2]);
                Post(Code(0x4000, button));
                Post(Code(0x4000, 0x0100 | button));
                ++counts_["macro"];
                break;
            }
            case 5:
            case 6:
                Post(Code(0x7000, 1 + rng() % 5));
                ++counts_["profile"];
                break;
            case 7:
                Post(Code(0x0700, 1 + rng() % 8));
                ++counts_["cpi"];
                break;
            case 8: {
                static constexpr std::uint32_t kRates[] = {1, 2, 4, 8};
                Post(Code(0x0500, kRates[rng() % 4]));
                ++counts_["rate"];
                break;
            }
            case 9:
                Post(Code(0xC000, ((1 + rng() % 20) << 8) | (1 + rng() % 20)));
                ++counts_["sensitivity"];
                break;
            case 10:
            case 11:
                Post(Code(0x1000, rng() % 2 ? 1 : 255));
                ++counts_["tilt"];
                break;
            case 12:
                if (rng() % 8 == 0) {
                    Post(Code(0x6000 + kLaunchButton, 0));
                    Post(Code(0x6000 + kLaunchButton, 0x0100));
                    ++counts_["launch"];
                }
                break;
            case 13:
                if (rng() % 16 == 0)
                    SessionInterruption(rng);
                break;
            default:
                break;  // a pause
        }
    }
    // The computer's day: a sleep and wake-up, the screen locked and
    // unlocked, or the console taken by another user and given back, with a
    // button pressed and released in between (which must do nothing). Each
    // ends where it began, so the end state is checked as before; a wake-up
    // and a return to the console each give the mouse a full upload.
    void SessionInterruption(std::mt19937& rng) {
        const std::uint32_t button = static_cast<std::uint32_t>(kComboButtons[rng() % 2]);
        auto between = [&] {
            Post(Code(0x4000, button));
            Post(Code(0x4000, 0x0100 | button));
        };
        switch (rng() % 3) {
            case 0:
                PostMessageA(MonitorWindow(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
                between();
                // Both notices of one wake-up.
                PostMessageA(MonitorWindow(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
                PostMessageA(MonitorWindow(), WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
                ++counts_["sleep"];
                break;
            case 1:
                PostMessageA(MonitorWindow(), WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
                between();
                PostMessageA(MonitorWindow(), WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
                ++counts_["lock"];
                break;
            default:
                PostMessageA(MonitorWindow(), WM_WTSSESSION_CHANGE, WTS_CONSOLE_DISCONNECT, 0);
                between();
                PostMessageA(MonitorWindow(), WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT, 0);
                ++counts_["console"];
                break;
        }
    }
    void ReleaseDue(Clock::time_point now, bool all) {
        for (auto it = held_.begin(); it != held_.end();) {
            if (all || it->second.releaseAt <= now) {
                Post(Code(it->second.category, 0x0100 | static_cast<std::uint32_t>(it->first)));
                it = held_.erase(it);
            } else {
                ++it;
            }
        }
    }

    // What the mixed load leaves for the report and the checks.
    struct MixedLoad {
        Clock::time_point start;
        Clock::time_point baselineAt;
        Resources baseline;
        int cycles = 0;
        int appliesAnswered = 0;
        int optionRestarts = 0;
        long posted = 0;
    };
    // Keys, the mouse, the files and Monitor once the mixed load is over.
    struct EndState {
        bool keysUp = false;
        std::set<DWORD> stuck;
        std::size_t keyEvents = 0;
        std::vector<std::string> differences;
        int profilesLost = 0;
        bool currentLost = false;
        Resources last;
        int launches = 0;
    };
    // How Monitor came through the two bursts.
    struct BurstTimes {
        int removals = 0;
        int fullUploadsAfterBurst = 0;
        bool drained = false;
        std::chrono::milliseconds drainTook{};
        bool burstApplied = false;
        std::chrono::milliseconds applyTook{};
        bool markerSeen = false;
        bool exited = false;
        std::chrono::milliseconds shutDownTook{};
        std::chrono::milliseconds exitTook{};
    };

    void WriteTheSettings() {
        settings::SystemSettingsFiles files(folder_.Path());
        auto block = std::make_unique<settings::SettingsBlock>();
        settings::FillDefaults(*block, settings::DefaultsFor::Monitor);
        SoakAssignments(*block, folder_.File("Launched.exe"));
        ASSERT_TRUE(settings::SaveAll(files, nullptr, *block));
    }

    // Monitor over the mouse, the start-up upload timed, then Option.
    void StartTheSession(const VirtualMouseSession& mouse, std::chrono::milliseconds& fullUpload) {
        ASSERT_TRUE(monitor_.Start(folder_.File("Monitor.exe"), folder_.Path()));
        ASSERT_TRUE(e2e::WaitUntil([&] { return MonitorWindow() != nullptr; }));
        // The start-up upload: its length is the bound of an Apply after a burst.
        const auto uploadStart = Clock::now();
        ASSERT_TRUE(
            e2e::WaitUntil([&] { return VirtualMouseSession::FullUploadDone(mouse.Log()); }, 60s));
        fullUpload =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - uploadStart);
        ASSERT_TRUE(StartOption());
    }

    void PointAt(const e2e::StandInWindow& pointerTarget) {
        // The pointer rests on a window of the test's own, on top of the others,
        // as it would on the game: tilt steps go to a window that takes them at
        // once instead of to whatever lies under the pointer (Wine's desktop
        // shell, which Monitor's Exit then waits for when it removes its icon).
        SetWindowPos(pointerTarget.Hwnd(), HWND_TOPMOST, 0, 0, 300, 200,
                     SWP_NOACTIVATE | SWP_SHOWWINDOW);
        SetCursorPos(150, 100);
        ASSERT_TRUE(e2e::WaitUntil([&] {
            POINT p{150, 100};
            return GetAncestor(WindowFromPoint(p), GA_ROOT) == pointerTarget.Hwnd();
        }));
    }

    void RunTheMixedLoad(const VirtualMouseSession& mouse, MixedLoad& load) {
        std::mt19937 rng(seed_);
        load.start = Clock::now();
        const auto end = load.start + std::chrono::seconds(seconds_);
        load.baselineAt =
            load.start + std::chrono::seconds(std::min(60, std::max(10, seconds_ / 4)));
        const auto cycleEvery = std::chrono::seconds(seconds_) / (cycles_ + 1);
        auto nextCycle = load.start + cycleEvery;
        auto nextApply = load.start + 3s;
        bool haveBaseline = false;
        bool applyPending = false;
        bool deaths = false;
        while (Clock::now() < end) {
            const auto now = Clock::now();
            if (!MonitorAlive() || !mouse.Running()) {
                deaths = true;
                break;
            }
            if (!haveBaseline && now >= load.baselineAt) {
                load.baseline = Measure(monitor_.Handle());
                haveBaseline = true;
            }
            ReleaseDue(now, false);
            if (load.cycles < cycles_ && now >= nextCycle) {
                // Unplugged with whatever is held; the release never comes.
                held_.clear();
                ASSERT_EQ(mouse.Command("/unplug"), 0);
                ASSERT_TRUE(e2e::WaitUntil([&] { return DeviceKey() == "0"; }));
                ASSERT_TRUE(option_->WaitGone()) << "Option closes when the mouse goes";
                applyPending = false;
                ASSERT_EQ(mouse.Command("/plug"), 0);
                ASSERT_TRUE(e2e::WaitUntil([&] { return DeviceKey() == "1"; }));
                ++load.cycles;
                nextCycle += cycleEvery;
                ASSERT_TRUE(StartOption());
                ++load.optionRestarts;
                continue;
            }
            if (applyPending && option_->ApplyReady()) {
                applyPending = false;
                ++load.appliesAnswered;
            }
            if (!applyPending && now >= nextApply) {
                // Now and then a profile chosen in Option goes with it.
                if (rng() % 3 == 0 && option_->ApplyReady())
                    option_->Click(kKeyProfile1 + static_cast<int>(rng() % 5));
                if (ClickApply()) {
                    applyPending = e2e::WaitUntil([&] { return !option_->ApplyReady(); }, 10s);
                    ASSERT_TRUE(applyPending) << "the Apply click was not taken";
                }
                nextApply = now + 3s + std::chrono::milliseconds(rng() % 2000);
            }
            RandomEvent(rng, now);
            Sleep(1 + rng() % 20);
        }
        ASSERT_FALSE(deaths) << "Monitor alive " << MonitorAlive() << ", mouse " << mouse.Running();
        ReleaseDue(Clock::now(), true);
        load.posted = posted_;
    }

    void TakeTheEndState(const VirtualMouseSession& mouse, const e2e::InputRecorder& recorder,
                         MixedLoad& load, EndState& end) {
        // Every key that went down comes up once the last macro has played.
        end.keysUp = e2e::WaitUntil([&] { return KeysStillDown(recorder.Keys()).empty(); }, 60s);
        end.stuck = KeysStillDown(recorder.Keys());
        end.keyEvents = recorder.Keys().size();

        // The last Apply: the mouse and the files end with Option's block.
        ASSERT_TRUE(e2e::WaitUntil([&] { return option_->ApplyReady(); }, 60s));
        ASSERT_TRUE(ClickApply());
        ASSERT_TRUE(WaitApplyAnswered(60s));
        ++load.appliesAnswered;
        auto shared = std::make_unique<settings::SettingsBlock>();
        ASSERT_TRUE(e2e::ReadSharedBlock(*shared));
        end.differences = DumpDifferences(mouse.Dump(), ExpectedDump(*shared));
        auto fromFiles = std::make_unique<settings::SettingsBlock>();
        {
            settings::SystemSettingsFiles files(folder_.Path());
            ASSERT_TRUE(
                settings::LoadAll(files, nullptr, *fromFiles, settings::DefaultsFor::Option));
        }
        for (int p = 0; p < settings::kProfileCount; ++p) {
            if (std::memcmp(&fromFiles->profiles[p], &shared->profiles[p],
                            sizeof shared->profiles[p]) != 0)
                ++end.profilesLost;
        }
        end.currentLost = fromFiles->currentProfile != shared->currentProfile;
        end.last = Measure(monitor_.Handle());
        end.launches = static_cast<int>(e2e::SplitLines(folder_.ReadText("started.log")).size());
    }

    // 3000 device events in about 3.6 s, among them a flapping connection
    // (arrivals and removals from the library, connection reports from the
    // mouse itself) and codes no mouse sends; it ends with an arrival, as a
    // loose cable that holds again. Counts the removals among them.
    void Burst(std::mt19937& rng, int& removals) {
        static constexpr std::uint32_t kRates[] = {1, 2, 4, 8};
        static constexpr std::uint32_t kUnknown[] = {0x2000'0001, 0x3000'0005, 0x8000'0000,
                                                     0x7F00'0007, 0xFFFF'FFFF, 0x4000'0000};
        const auto burstStart = Clock::now();
        for (int i = 0; i < 3000; ++i) {
            const std::uint32_t r = rng();
            const bool arrived = (r >> 8) % 2 == 0;
            switch (r % 100) {
                case 0:  // the library's arrival or removal notice
                    PostMessageA(MonitorWindow(), kMsgDeviceArrival, arrived ? 1 : 0, 0);
                    removals += arrived ? 0 : 1;
                    continue;
                case 1:  // the mouse's own connection report
                    Post(Code(0x7F00, arrived ? 1 : 2));
                    removals += arrived ? 0 : 1;
                    continue;
                case 2:
                case 3:
                    Post(kUnknown[(r >> 8) % std::size(kUnknown)]);
                    continue;
                default:
                    break;
            }
            switch (r % 6) {
                case 0:
                case 1:  // any button, pressed or released
                    Post(Code(r % 2 ? 0x4000 : 0x5000,
                              ((r >> 8) % 2 ? 0x0100 : 0) | (1 + (r >> 9) % 15)));
                    break;
                case 2:
                    Post(Code(0x7000, 1 + (r >> 8) % 5));
                    break;
                case 3:
                    Post(Code(0x0700, 1 + (r >> 8) % 8));
                    break;
                case 4:
                    Post(Code(0x0500, kRates[(r >> 8) % 4]));
                    break;
                default:
                    Post(Code(0xC000, ((1 + (r >> 8) % 19) << 8) | (1 + (r >> 16) % 19)));
                    break;
            }
            if (i % 25 == 24)
                std::this_thread::sleep_until(burstStart + std::chrono::milliseconds(i * 6 / 5));
        }
        PostMessageA(MonitorWindow(), kMsgDeviceArrival, 1, 0);
    }

    // A burst, then an Apply: answered within one full upload once the one
    // full upload the flapping leaves is done; then another burst and the
    // tray's Exit, within 2 s. No launches, and no tilt: a tilt step's cost is
    // the window search under the pointer, which under Wine walks every
    // top-level window of the session (milliseconds a step); the mixed load has
    // them at a mouse's pace.
    void BurstApplyAndExit(VirtualMouseSession& mouse, BurstTimes& times) {
        std::mt19937 burstRng(seed_ + 1);
        const std::size_t recordsBeforeBurst = mouse.Log().size();
        Burst(burstRng, times.removals);
        ASSERT_TRUE(MonitorAlive());
        // Sensitivity 20,20 comes only here: once it is in the shared block,
        // Monitor's window has worked through the burst.
        const auto burstPosted = Clock::now();
        Post(Code(0xC000, (20 << 8) | 20));
        times.drained = e2e::WaitUntil([&] { return SharedSensitivityIs(20, 20); }, 120s);
        times.drainTook =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - burstPosted);
        // The connection ends as it was last reported: the mouse is there, has
        // had one full upload, and Option (closed by the removals) opens again.
        auto afterBurst = [&] {
            const auto all = mouse.Log();
            return std::vector<std::string>(
                all.begin() + static_cast<std::ptrdiff_t>(std::min(recordsBeforeBurst, all.size())),
                all.end());
        };
        ASSERT_TRUE(e2e::WaitUntil([&] { return DeviceKey() == "1"; }, 30s));
        ASSERT_TRUE(
            e2e::WaitUntil([&] { return VirtualMouseSession::FullUploadDone(afterBurst()); }, 60s));
        if (times.removals > 0) {
            ASSERT_TRUE(option_->WaitGone()) << "Option closes when the mouse goes";
            ASSERT_TRUE(StartOption());
        }
        times.fullUploadsAfterBurst =
            VirtualMouseSession::CountPrefix(VirtualMouseSession::Commands(afterBurst()), "0D 05");
        ASSERT_TRUE(ClickApply());
        times.burstApplied = WaitApplyAnswered(120s);
        times.applyTook =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - applyClickedAt_);
        int moreRemovals = 0;
        Burst(burstRng, moreRemovals);
        // Sensitivity 20,19 (an x of 20 is also unique) marks the end of the
        // second burst; the Exit follows once Monitor has worked through it, so
        // that the shut-down itself is timed. The time from the burst's last post
        // is printed too.
        const auto secondPosted = Clock::now();
        Post(Code(0xC000, (19 << 8) | 20));
        times.markerSeen = e2e::WaitUntil([&] { return SharedSensitivityIs(20, 19); }, 120s);
        PostMessageA(MonitorWindow(), WM_COMMAND, kCmdExit, 0);
        const auto exitAsked = Clock::now();
        times.exited = monitor_.WaitExit(120s);
        times.shutDownTook =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - exitAsked);
        times.exitTook =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - secondPosted);
    }

    void Report(const MixedLoad& load, const EndState& end, const BurstTimes& times,
                std::chrono::milliseconds fullUpload) const {
        std::printf("soak: %ld device events posted over %d s of mixed load (", load.posted,
                    seconds_);
        for (const auto& [name, count] : counts_) std::printf(" %s %d", name.c_str(), count);
        std::printf(
            " ), %d unplug/plug cycles, Option started %d times, %d Applies clicked, %d answered, "
            "%d launches, %zu key events recorded\n",
            load.cycles, load.optionRestarts + 1, applies_, load.appliesAnswered, end.launches,
            end.keyEvents);
        std::printf("soak: keys stuck %zu (", end.stuck.size());
        for (DWORD vk : end.stuck) std::printf(" %02lX", static_cast<unsigned long>(vk));
        std::printf(
            " ), mouse differences %zu, profiles lost in files %d, current profile lost %d\n",
            end.differences.size(), end.profilesLost, end.currentLost ? 1 : 0);
        std::printf("soak: Monitor (baseline at %d s -> end) handles %lu -> %lu, ",
                    static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(
                                         load.baselineAt - load.start)
                                         .count()),
                    load.baseline.handles, end.last.handles);
        if (GuiObjectsCounted())
            std::printf("GDI %lu -> %lu, USER %lu -> %lu, ", load.baseline.gdi, end.last.gdi,
                        load.baseline.user, end.last.user);
        else
            std::printf("GDI and USER objects not counted by this system, ");
        std::printf("windows %lu -> %lu, private %.1f -> %.1f MB\n", load.baseline.windows,
                    end.last.windows, load.baseline.privateMb, end.last.privateMb);
        std::printf(
            "soak: burst of 3000 events (%d removals among the connection changes) worked "
            "through %lld ms after its last post, %d full uploads followed; full "
            "upload %lld ms; Apply after the burst answered in %lld ms; Exit after a burst "
            "%lld ms from its last post, of that the shut-down %lld ms\n",
            times.removals, static_cast<long long>(times.drainTook.count()),
            times.fullUploadsAfterBurst, static_cast<long long>(fullUpload.count()),
            static_cast<long long>(times.applyTook.count()),
            static_cast<long long>(times.exitTook.count()),
            static_cast<long long>(times.shutDownTook.count()));
    }

    struct Held {
        Clock::time_point releaseAt;
        std::uint32_t category;
    };

    int seconds_ = 45;
    int cycles_ = 5;
    unsigned seed_ = 1;
    e2e::ProgramFolder folder_;
    PlainProcess monitor_;
    std::unique_ptr<e2e::OptionDriver> option_;
    std::map<int, Held> held_;
    std::map<std::string, int> counts_;
    long posted_ = 0;
    int applies_ = 0;
    Clock::time_point applyClickedAt_;
};

TEST_F(Soak, MixedLoadThenBurstLosesNothing) {
    e2e::InputRecorder recorder;
    ASSERT_TRUE(recorder.Installed());
    ASSERT_TRUE(folder_.AddTestProgram("standin_program.exe", "Launched.exe"));
    ASSERT_NO_FATAL_FAILURE(WriteTheSettings());
    VirtualMouseSession mouse(folder_);
    ASSERT_TRUE(mouse.Running());
    std::chrono::milliseconds fullUpload{};
    ASSERT_NO_FATAL_FAILURE(StartTheSession(mouse, fullUpload));
    e2e::StandInWindow pointerTarget("Soak pointer target");
    ASSERT_NO_FATAL_FAILURE(PointAt(pointerTarget));

    MixedLoad load;
    ASSERT_NO_FATAL_FAILURE(RunTheMixedLoad(mouse, load));
    EndState end;
    ASSERT_NO_FATAL_FAILURE(TakeTheEndState(mouse, recorder, load, end));
    BurstTimes times;
    ASSERT_NO_FATAL_FAILURE(BurstApplyAndExit(mouse, times));
    Report(load, end, times, fullUpload);

    EXPECT_EQ(load.cycles, cycles_);
    EXPECT_TRUE(end.keysUp) << "keys still down, first vk "
                            << (end.stuck.empty() ? 0 : *end.stuck.begin());
    for (const std::string& d : end.differences) ADD_FAILURE() << "mouse: " << d;
    EXPECT_EQ(end.profilesLost, 0);
    EXPECT_FALSE(end.currentLost);
    EXPECT_GT(load.baseline.handles, 0u) << "no handle count: the growth check would be empty";
    EXPECT_LE(end.last.handles, load.baseline.handles + 40) << "handle growth";
    EXPECT_LE(end.last.gdi, load.baseline.gdi + 20) << "GDI growth";
    EXPECT_LE(end.last.user, load.baseline.user + 20) << "USER growth";
    EXPECT_LE(end.last.windows, load.baseline.windows + 2) << "window growth";
    EXPECT_LE(end.last.privateMb, load.baseline.privateMb + 8.0) << "private bytes growth";
    EXPECT_TRUE(times.drained);
    EXPECT_EQ(times.fullUploadsAfterBurst, times.removals > 0 ? 1 : 0)
        << "a flapping connection ends in one full upload";
    EXPECT_TRUE(times.burstApplied);
    EXPECT_LE(times.applyTook, fullUpload) << "an Apply after a burst waits for no backlog";
    EXPECT_TRUE(times.exited);
    // The upload queue no longer holds the Exit up: once Monitor has worked
    // through the burst, it ends within the 2 s aimed at.
    EXPECT_TRUE(times.markerSeen);
    EXPECT_LE(times.shutDownTook, 2s);
}

}  // namespace
