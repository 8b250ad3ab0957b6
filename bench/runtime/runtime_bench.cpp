// Macro timing through the real adapters, recorded by a low-level hook, on a
// quiet machine and with two CPU-bound processes (started here) keeping every
// core busy as a game would; and the cost of one automatic-profile tick.
// Prints figures; never fails on time.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench/support/bench_process_win.h"
#include "common/win/playback_priority_win.h"
#include "common/win/precise_clock_win.h"
#include "common/win/scoped_win.h"

#include "monitor/runtime/game_watch.h"
#include "monitor/runtime/win/game_watch_win.h"
#include "monitor/runtime/macro_player.h"
#include "monitor/runtime/win/runtime_input_win.h"
#include "tests/win/monitor/runtime/input_hook.h"

namespace {

using runtime::test::HookedEvent;
using runtime::test::InputHook;

constexpr int kEvents = 40;

class LetterKeys : public runtime::KeyTranslator {
  public:
    std::uint8_t VirtualKey(std::uint8_t code) override {
        return static_cast<std::uint8_t>('A' + (code - 4) % 26);
    }
};

// Notes the counter time at which each key is handed to the system.
class TimedInput : public runtime::InputSink {
  public:
    TimedInput(runtime::InputSink& inner, runtime::Clock& clock) : inner_(inner), clock_(clock) {}
    void KeyDown(std::uint8_t v) override { Note(), inner_.KeyDown(v); }
    void KeyUp(std::uint8_t v) override { Note(), inner_.KeyUp(v); }
    void ExtendedKeyDown(std::uint8_t v) override { Note(), inner_.ExtendedKeyDown(v); }
    void ExtendedKeyUp(std::uint8_t v) override { Note(), inner_.ExtendedKeyUp(v); }
    void MouseButton(std::uint32_t f, std::uint32_t d) override {
        Note(), inner_.MouseButton(f, d);
    }
    std::vector<HookedEvent> sent;

  private:
    void Note() { sent.push_back({true, 0, 0, 0, 0, clock_.NowUs()}); }
    runtime::InputSink& inner_;
    runtime::Clock& clock_;
};

class QuietDebug : public runtime::DebugOutput {
  public:
    void Write(const char*) override {}
};

struct Figures {
    double p50 = 0, p99 = 0, max = 0, min = 0, totalMs = 0;
    int shorter = 0;
    int gaps = 0;
};

double Percentile(std::vector<double> v, double p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t i = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

Figures Measure(const std::vector<HookedEvent>& ev, const std::uint16_t* delays) {
    Figures f;
    std::vector<double> over;
    for (std::size_t i = 0; i + 1 < ev.size() && i + 1 < kEvents; ++i) {
        const double gapMs = static_cast<double>(ev[i + 1].us - ev[i].us) / 1000.0;
        const double o = gapMs - delays[i];
        if (o < 0)
            ++f.shorter;
        over.push_back(o);
    }
    f.gaps = static_cast<int>(over.size());
    f.p50 = Percentile(over, 0.50);
    f.p99 = Percentile(over, 0.99);
    f.max = over.empty() ? 0 : *std::max_element(over.begin(), over.end());
    f.min = over.empty() ? 0 : *std::min_element(over.begin(), over.end());
    if (ev.size() >= 2)
        f.totalMs = static_cast<double>(ev.back().us - ev.front().us) / 1000.0;
    return f;
}

void Print(const char* name, const Figures& f, double requestedMs) {
    std::printf(
        "%-26s gaps %2d  overshoot p50 %6.3f ms  p99 %6.3f ms  max %6.3f ms  min %6.3f ms  "
        "shorter than requested %d  total %8.1f ms (requested %.0f)\n",
        name, f.gaps, f.p50, f.p99, f.max, f.min, f.shorter, f.totalMs, requestedMs);
}

// The same events played with Sleep and no raised timer resolution.
void PlayNaive(const settings::ButtonAssignment& r, LetterKeys& keys) {
    for (int j = 0; j < r.eventCount; ++j) {
        const auto& e = r.events[j];
        const BYTE v = keys.VirtualKey(e.keyCode);
        keybd_event(v, static_cast<BYTE>(MapVirtualKeyA(v, 0)), e.state == 2 ? KEYEVENTF_KEYUP : 0,
                    0);
        Sleep(e.delayMs == 0 ? 1 : e.delayMs);
    }
}

// The player's clock without the raised thread priority of a playing macro
// (only the timer resolution): what the priority buys under load.
class UnraisedClock : public runtime::Clock {
  public:
    std::int64_t NowUs() override { return clock_.NowUs(); }
    void SleepUntilUs(std::int64_t deadlineUs) override { clock_.SleepUntilUs(deadlineUs); }
    void BeginPrecise() override { resolution_ = std::make_unique<win::TimerResolution>(); }
    void EndPrecise() override { resolution_.reset(); }

  private:
    win::PreciseClock clock_;
    std::unique_ptr<win::TimerResolution> resolution_;
};

constexpr const char* kBurnArgument = "--burn";

// Copies of this program that only spin, each keeping one core busy, ended
// when the object goes.
class CpuBurners {
  public:
    explicit CpuBurners(int count) {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        for (int i = 0; i < count; ++i) {
            if (win::ScopedHandle process = bench::StartProgram(self, kBurnArgument))
                processes_.push_back(std::move(process));
        }
    }
    ~CpuBurners() {
        for (auto& process : processes_) {
            TerminateProcess(process.Get(), 0);
            WaitForSingleObject(process.Get(), 5000);
        }
    }
    CpuBurners(const CpuBurners&) = delete;
    CpuBurners& operator=(const CpuBurners&) = delete;
    int Running() const { return static_cast<int>(processes_.size()); }

  private:
    std::vector<win::ScopedHandle> processes_;
};

[[noreturn]] void Burn() {
    volatile unsigned long long spin = 0;
    for (;;) spin = spin + 1;
}

double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

void BenchGameTick() {
    // A foreground window of our own, so the tick walks the snapshot.
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RuntimeBenchWindow";
    RegisterClassA(&wc);
    HWND w = CreateWindowA("RuntimeBenchWindow", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                           200, 200, nullptr, nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(w);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);

    settings::SettingsBlock block;
    settings::FillDefaults(block, settings::DefaultsFor::Monitor);
    const char* games[5] = {"C:\\Games\\a.exe", "D:\\b.EXE", "", "  e:\\x\\y\\c.exe ", "d.exe"};
    for (int i = 0; i < 5; ++i) settings::CopyField(block.profiles[i].GameFile, games[i]);
    runtime::ForegroundQueryWin foreground;
    std::string name;
    const bool found = foreground.ForegroundExeName(name);

    constexpr int kTicks = 200;
    runtime::ClockWin clock;
    int matches = 0;
    double cpu0 = ThreadCpuMs();
    std::int64_t t0 = clock.NowUs();
    for (int i = 0; i < kTicks; ++i) matches += runtime::PollGameProfile(block, foreground) >= 0;
    const double tickWallUs = static_cast<double>(clock.NowUs() - t0) / kTicks;
    const double tickCpuUs = (ThreadCpuMs() - cpu0) * 1000.0 / kTicks;

    // Baseline: only the foreground window's process id, no snapshot.
    cpu0 = ThreadCpuMs();
    t0 = clock.NowUs();
    DWORD pid = 0;
    for (int i = 0; i < kTicks; ++i) GetWindowThreadProcessId(GetForegroundWindow(), &pid);
    const double baseWallUs = static_cast<double>(clock.NowUs() - t0) / kTicks;
    const double baseCpuUs = (ThreadCpuMs() - cpu0) * 1000.0 / kTicks;

    std::printf("auto-profile tick: foreground %s (%s), %d ticks, matches %d\n",
                found ? name.c_str() : "-", found ? "found" : "not found", kTicks, matches);
    std::printf(
        "auto-profile tick: wall %.1f us  cpu %.1f us per tick (timer period 2000 ms: "
        "%.4f%% of one core)\n",
        tickWallUs, tickCpuUs, tickCpuUs / 2000000.0 * 100.0);
    std::printf(
        "baseline foreground query only: wall %.1f us  cpu %.1f us; tick/baseline wall "
        "ratio %.1f\n",
        baseWallUs, baseCpuUs, baseWallUs > 0 ? tickWallUs / baseWallUs : 0.0);
    DestroyWindow(w);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == kBurnArgument)
        Burn();
    InputHook hook;
    if (!hook.Installed()) {
        std::printf("low-level hooks not available; macro timing skipped\n");
        BenchGameTick();
        return 0;
    }
    settings::ButtonAssignment record;
    std::memset(&record, 0, sizeof record);
    record.actionCode = settings::action::kMacro;
    record.repeatCount = 1;
    std::uint16_t delays[kEvents];
    unsigned seed = 12345;
    double requested = 0;
    for (int i = 0; i < kEvents; ++i) {
        seed = seed * 1103515245u + 12345u;
        // Delays 1..500 ms, weighted towards short ones as typed macros are.
        const unsigned r = (seed >> 8) % 1000;
        delays[i] = static_cast<std::uint16_t>(1 + (r * r / 1000) * 499 / 999);
        if (i == 0)
            delays[i] = 1;
        if (i == 1)
            delays[i] = 500;
        record.events[i] = {static_cast<std::uint8_t>(4 + (i / 2) % 26),
                            static_cast<std::uint8_t>(i % 2 == 0 ? 1 : 2), delays[i]};
        if (i + 1 < kEvents)
            requested += delays[i];
    }
    record.eventCount = kEvents;

    runtime::InputSinkWin input;
    LetterKeys keys;
    QuietDebug debug;
    std::printf("macro timing, %d events, delays 1..500 ms, recorded by a low-level hook\n",
                kEvents);

    struct Variant {
        const char* name;
        std::int64_t spinUs;
        bool yield;
    };
    const Variant variants[] = {
        {"player (default clock)", runtime::ClockWin::kDefaultSpinWindowUs, true},
        {"player, sleep only", 0, false},
        {"player, 2 ms busy poll", 2000, false},
    };
    // Warm-up: the first synthesised keys of a process are slow to reach the
    // hook; a short unmeasured run keeps that out of the figures.
    {
        runtime::ClockWin clock;
        runtime::MacroPlayer player(input, clock, keys, debug);
        settings::ButtonAssignment warm = record;
        warm.eventCount = 4;
        player.StartOrStop(warm);
        player.PlayQueued();
        hook.WaitFor(4);
    }
    Figures first;
    for (int round = 0; round < 2; ++round) {
        for (const Variant& v : variants) {
            runtime::ClockWin clock(v.spinUs, v.yield);
            TimedInput timed(input, clock);
            runtime::MacroPlayer player(timed, clock, keys, debug);
            hook.Clear();
            player.StartOrStop(record);
            player.PlayQueued();
            const Figures f = Measure(hook.WaitFor(kEvents), delays);
            Print(v.name, f, requested);
            Print("  (as sent)", Measure(timed.sent, delays), requested);
            if (round == 0 && &v == &variants[0])
                first = f;
        }
    }

    hook.Clear();
    PlayNaive(record, keys);
    const Figures naive = Measure(hook.WaitFor(kEvents), delays);
    Print("baseline Sleep()", naive, requested);
    std::printf("p99 overshoot ratio baseline/player: %.2f\n",
                first.p99 > 0 ? naive.p99 / first.p99 : 0.0);

    {
        CpuBurners load(2);
        {
            win::ScopedPlaybackPriority probe;
            std::printf(
                "under load: %d CPU-bound processes started; a playing macro's thread: priority "
                "%d (raised %d), multimedia task %d\n",
                load.Running(), GetThreadPriority(GetCurrentThread()), probe.Raised() ? 1 : 0,
                probe.InMultimediaTask() ? 1 : 0);
        }
        for (int round = 0; round < 2; ++round) {
            {
                runtime::ClockWin clock;
                TimedInput timed(input, clock);
                runtime::MacroPlayer player(timed, clock, keys, debug);
                hook.Clear();
                player.StartOrStop(record);
                player.PlayQueued();
                Print("loaded: player (raised)", Measure(hook.WaitFor(kEvents), delays), requested);
                Print("  (as sent)", Measure(timed.sent, delays), requested);
            }
            {
                UnraisedClock clock;
                TimedInput timed(input, clock);
                runtime::MacroPlayer player(timed, clock, keys, debug);
                hook.Clear();
                player.StartOrStop(record);
                player.PlayQueued();
                Print("loaded: player, normal prio", Measure(hook.WaitFor(kEvents), delays),
                      requested);
                Print("  (as sent)", Measure(timed.sent, delays), requested);
            }
        }
    }
    BenchGameTick();
    return 0;
}
