// How fast Monitor's window thread turns device events into input: events
// per second of a burst, and the delay from an event reaching Monitor's
// window to its synthesised key as a low-level hook sees it. The baseline is
// the same burst posted to a trivial window of this program whose handler
// synthesises the same key, so the ratio is Monitor's dispatch cost.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/bench_process_win.h"
#include "common/settings/ini_file_win.h"
#include "common/settings/osd_settings.h"
#include "common/settings/settings_block.h"
#include "common/settings/settings_files.h"
#include "tests/e2e/device/virtual_mouse_session_win.h"
#include "tests/e2e/harness/harness_win.h"
#include "tests/e2e/harness/input_recorder_win.h"

namespace {

using namespace std::chrono_literals;

using e2e::kMonitorTitle;
using e2e::kVirtualMouseClass;
constexpr UINT kDeviceEvent = 1325;
constexpr WPARAM kButtonCategory = 0x4000;
constexpr LPARAM kPress3 = 0x0003;
constexpr LPARAM kRelease3 = 0x0103;
constexpr int kBurst = 2000;
constexpr int kLatencyRounds = 300;

// Counts keys seen by the hook and wakes a waiter at a target count.
struct KeyCounter {
    std::atomic<int> count{0};
    std::atomic<int> target{-1};
    std::atomic<std::int64_t> lastUs{0};
    HANDLE reached = CreateEventA(nullptr, FALSE, FALSE, nullptr);

    void Seen(const e2e::InputEvent& e) {
        if (e.mouse || e.vk != 'A')
            return;
        lastUs.store(e.microseconds);
        if (count.fetch_add(1) + 1 == target.load())
            SetEvent(reached);
    }
    void Expect(int n) {
        ResetEvent(reached);
        target.store(count.load() + n);
    }
    bool Wait(DWORD ms) { return WaitForSingleObject(reached, ms) == WAIT_OBJECT_0; }
};

// The baseline: a window whose handler types what Monitor types for the
// same message (key A down on a press, up on a release).
class TrivialWindow {
  public:
    TrivialWindow() {
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ready] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = &Proc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "BenchTrivialWindow";
            RegisterClassA(&wc);
            hwnd_ = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                    nullptr, wc.hInstance, nullptr);
            SetEvent(ready);
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        });
        WaitForSingleObject(ready, INFINITE);
        CloseHandle(ready);
    }
    ~TrivialWindow() {
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
        thread_.join();
    }
    HWND Hwnd() const { return hwnd_; }

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == kDeviceEvent) {
            const bool up = (lParam & 0xFF00) != 0;
            keybd_event('A', static_cast<BYTE>(MapVirtualKeyA('A', 0)), up ? KEYEVENTF_KEYUP : 0,
                        0);
            return 0;
        }
        if (msg == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    std::thread thread_;
    HWND hwnd_ = nullptr;
};

struct Burst {
    double eventsPerSecond = 0;
    int handled = 0;
};

// Posts press/release pairs and times until the hook has seen every key.
Burst PostBurst(HWND target, KeyCounter& keys) {
    keys.Expect(kBurst);
    const std::int64_t start = e2e::NowMicroseconds();
    int posted = 0;
    for (int i = 0; i < kBurst; ++i) {
        const LPARAM data = i % 2 == 0 ? kPress3 : kRelease3;
        while (!PostMessageA(target, kDeviceEvent, kButtonCategory, data)) Sleep(0);
        ++posted;
    }
    Burst b;
    const int before = keys.target.load() - kBurst;
    keys.Wait(60000);
    b.handled = keys.count.load() - before;
    const double seconds = static_cast<double>(keys.lastUs.load() - start) / 1e6;
    b.eventsPerSecond = seconds > 0 ? b.handled / seconds : 0;
    return b;
}

struct Latency {
    double p50 = 0, p99 = 0, max = 0;
    int samples = 0;
};

Latency MeasureLatency(HWND target, KeyCounter& keys) {
    std::vector<double> ms;
    for (int i = 0; i < kLatencyRounds; ++i) {
        for (LPARAM data : {kPress3, kRelease3}) {
            keys.Expect(1);
            const std::int64_t start = e2e::NowMicroseconds();
            PostMessageA(target, kDeviceEvent, kButtonCategory, data);
            if (!keys.Wait(5000))
                continue;
            if (data == kPress3)
                ms.push_back(static_cast<double>(keys.lastUs.load() - start) / 1000.0);
        }
    }
    Latency l;
    l.samples = static_cast<int>(ms.size());
    if (ms.empty())
        return l;
    std::sort(ms.begin(), ms.end());
    l.p50 = ms[ms.size() / 2];
    l.p99 = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    l.max = ms.back();
    return l;
}

void RunAndWait(const std::string& exe, const std::string& args) {
    if (const win::ScopedHandle p = bench::StartProgram(exe, args))
        WaitForSingleObject(p.Get(), 30000);
}

}  // namespace

int main() {
    if (e2e::DistFolder().empty()) {
        std::printf("runtime_dispatch: MOUSE_DIST is not set, nothing measured\n");
        return 0;
    }
    e2e::ProgramFolder folder;
    auto block = std::make_unique<settings::SettingsBlock>();
    settings::FillDefaults(*block, settings::DefaultsFor::Monitor);
    settings::ButtonAssignment& button = block->profiles[0].MacroKeyInfo[2];
    button.actionCode = settings::action::kKeyCombination;
    button.eventCount = 1;
    button.events[0] = {0x04, settings::modifier::kPlainKey, 0};  // plain A
    settings::OsdSettings osd{};
    settings::ResetOsdSettings(osd);
    {
        settings::SystemSettingsFiles files(folder.Path());
        settings::SaveAll(files.Files(), nullptr, *block);
        settings::SaveOsdSettings(files.Files(), osd);
    }

    const std::string vm = folder.File("VirtualMouse.exe");
    const win::ScopedHandle mouse =
        bench::StartProgram(vm, "/log \"" + folder.File("vm.log") + "\"");
    win::ScopedHandle monitor;
    if (!mouse ||
        !e2e::WaitUntil([] { return FindWindowA(kVirtualMouseClass, nullptr) != nullptr; }) ||
        !(monitor = bench::StartProgram(folder.File("Monitor.exe"))) ||
        !e2e::WaitUntil([&] { return folder.ReadIni("config.ini", "Setting", "Device") == "1"; })) {
        std::printf("runtime_dispatch: Monitor or the virtual mouse did not start\n");
        return 0;
    }
    const HWND monitorWnd = FindWindowA(nullptr, kMonitorTitle);
    // Measured once the start-up upload is over: its last key map (profile 5)
    // announced and both of its chunks received.
    const bool uploaded = e2e::WaitUntil([&] {
        const std::string log = folder.ReadText("vm.log");
        const std::size_t last = log.find("FEATURE 0D 05 80");
        if (last == std::string::npos)
            return false;
        const std::size_t first = log.find("OUTPUT", last);
        return first != std::string::npos && log.find("OUTPUT", first + 1) != std::string::npos;
    });
    if (!uploaded)
        std::printf("runtime_dispatch: the start-up upload did not end; measuring anyway\n");

    KeyCounter keys;
    e2e::InputRecorder hook;
    hook.SetObserver([&keys](const e2e::InputEvent& e) { keys.Seen(e); });
    TrivialWindow trivial;

    // Warm-up of both paths.
    PostBurst(trivial.Hwnd(), keys);
    PostBurst(monitorWnd, keys);
    hook.Clear();

    const Burst base = PostBurst(trivial.Hwnd(), keys);
    const Burst mon = PostBurst(monitorWnd, keys);
    hook.Clear();

    // A burst from the virtual mouse itself, through the device library.
    std::string args;
    constexpr int kMousePairs = 250;
    for (int i = 0; i < kMousePairs; ++i) args += "/event press:3 /event release:3 ";
    keys.Expect(2 * kMousePairs);
    const int before = keys.count.load();
    const std::int64_t vmStart = e2e::NowMicroseconds();
    RunAndWait(vm, args);
    keys.Wait(30000);
    const int vmHandled = keys.count.load() - before;
    const double vmSeconds = static_cast<double>(keys.lastUs.load() - vmStart) / 1e6;
    hook.Clear();

    const Latency baseLat = MeasureLatency(trivial.Hwnd(), keys);
    const Latency monLat = MeasureLatency(monitorWnd, keys);

    std::printf("runtime_dispatch: burst of %d device events (press/release of a key button)\n",
                kBurst);
    std::printf("  baseline window : %10.0f events/s (%d handled)\n", base.eventsPerSecond,
                base.handled);
    std::printf("  Monitor window  : %10.0f events/s (%d handled)\n", mon.eventsPerSecond,
                mon.handled);
    std::printf("  ratio Monitor/baseline throughput: %.2f\n",
                base.eventsPerSecond > 0 ? mon.eventsPerSecond / base.eventsPerSecond : 0.0);
    std::printf(
        "  virtual mouse burst of %d events: %d handled in %.3f s (%.0f events/s, "
        "including the command's start)\n",
        2 * kMousePairs, vmHandled, vmSeconds, vmSeconds > 0 ? vmHandled / vmSeconds : 0);
    std::printf("runtime_dispatch: event posted -> first synthesised key (%d rounds)\n",
                kLatencyRounds);
    std::printf("  baseline window : p50 %.3f ms  p99 %.3f ms  max %.3f ms (%d samples)\n",
                baseLat.p50, baseLat.p99, baseLat.max, baseLat.samples);
    std::printf("  Monitor window  : p50 %.3f ms  p99 %.3f ms  max %.3f ms (%d samples)\n",
                monLat.p50, monLat.p99, monLat.max, monLat.samples);
    std::printf("  ratio Monitor/baseline p99: %.2f\n",
                baseLat.p99 > 0 ? monLat.p99 / baseLat.p99 : 0.0);

    hook.SetObserver(nullptr);
    PostMessageA(monitorWnd, WM_COMMAND, 6002, 0);
    bench::EndWithin(monitor.Get(), 15000);
    RunAndWait(vm, "/quit");
    bench::EndWithin(mouse.Get(), 10000);
    return 0;
}
