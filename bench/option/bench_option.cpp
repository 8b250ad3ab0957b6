// Figures for Option under Wine:
//  - start of Option.exe until its window is shown and completely painted
//    (its controls included), against the same for an empty dialog program,
//    in the same run (ratio), with Option's own log of its start-up stages;
//  - the Apply round trip with Monitor, without and with the (virtual) mouse:
//    from the Apply click until OK and Apply are enabled again (p50, p99);
//    with the mouse also the round trip minus the upload itself, from the
//    first to the last transfer as the mouse stamped them.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/support/bench_process_win.h"
#include "bench/support/bench_virtual_mouse_win.h"
#include "monitor/device/upload_sequence.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kOptionTitle = "Professional Gaming Optical Mouse Option";
constexpr const char* kMonitorTitle = "Professional Gaming Optical Mouse Monitor";
constexpr int kApplyId = 1013;
constexpr int kOkId = 1012;

using bench::Env;
using bench::StartProgram;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

BOOL CALLBACK CollectVisible(HWND child, LPARAM list) {
    if (IsWindowVisible(child))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

// Watches one window until it is shown, has nothing left to paint, nor any
// of its controls (they paint after it), and its thread answers. Each look
// is a few trips to the window server, which the program being measured
// needs too: the controls are listed once, when the window itself is
// painted, and each later look asks only about those still unpainted.
class PaintWatch {
  public:
    bool Painted(HWND w) {
        if (w == nullptr || !IsWindowVisible(w) || GetUpdateRect(w, nullptr, FALSE))
            return false;
        if (!listed_) {
            EnumChildWindows(w, &CollectVisible, reinterpret_cast<LPARAM>(&unpainted_));
            listed_ = true;
        }
        std::erase_if(unpainted_, [](HWND c) { return !GetUpdateRect(c, nullptr, FALSE); });
        if (!unpainted_.empty())
            return false;
        return SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr) != 0;
    }

  private:
    bool listed_ = false;
    std::vector<HWND> unpainted_;
};

// Option's own log of its start-up stages ("<ms since its process was
// created> <stage>" a line), asked for through MOUSE_START_LOG: the file it
// names when it is set (the raw log of the last start is kept there), else
// one in the temporary folder.
std::string StartLogPath() {
    const std::string given = Env("MOUSE_START_LOG");
    if (!given.empty())
        return given;
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "option_start_stages.log";
}

// The stages of the last start, in order, with their times.
std::vector<std::pair<std::string, double>> ReadStartLog(const std::string& path) {
    std::vector<std::pair<std::string, double>> stages;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        double ms = 0;
        std::string stage;
        if (fields >> ms && std::getline(fields >> std::ws, stage))
            stages.emplace_back(stage, ms);
    }
    return stages;
}

// The start-up stages as seen from outside, in milliseconds from the start:
// the process created, its window found by title (created and named), shown,
// completely painted. -1 where a stage was not reached.
struct Stages {
    double started = -1;
    double found = -1;
    double shown = -1;
    double painted = -1;
};

// The stages of one start of `exe` up to the first complete paint of its
// window titled `title`; the program is closed again.
Stages StartToPaint(const std::string& exe, const std::string& folder, const char* title) {
    Stages s;
    const auto t0 = Clock::now();
    const win::ScopedHandle process = StartProgram(exe, {}, folder);
    if (!process)
        return s;
    s.started = Ms(Clock::now() - t0);
    PaintWatch watch;
    while (Ms(Clock::now() - t0) < 30000) {
        HWND w = FindWindowA(nullptr, title);
        const double now = Ms(Clock::now() - t0);
        if (w != nullptr && s.found < 0)
            s.found = now;
        if (w != nullptr && s.shown < 0 && IsWindowVisible(w))
            s.shown = now;
        if (watch.Painted(w)) {
            s.painted = Ms(Clock::now() - t0);
            break;
        }
        Sleep(1);
    }
    if (HWND w = FindWindowA(nullptr, title))
        PostMessageA(w, WM_CLOSE, 0, 0);
    bench::EndWithin(process.Get(), 20000);
    return s;
}

double Percentile(std::vector<double> v, double p);

// Option's own stage times over several starts, each stage's median in the
// order the stages were first seen.
class StageTimes {
  public:
    // Adds the stages of the start just made, from the log at `path`.
    void AddStart(const std::string& path) {
        for (const auto& [stage, ms] : ReadStartLog(path)) {
            auto& times = times_[stage];
            if (times.empty())
                order_.push_back(stage);
            times.push_back(ms);
        }
    }
    const std::vector<std::string>& Order() const { return order_; }
    double Median(const std::string& stage) const;

  private:
    std::vector<std::string> order_;
    std::map<std::string, std::vector<double>> times_;
};

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const std::size_t i =
        std::min(v.size() - 1, static_cast<std::size_t>(p * (v.size() - 1) + 0.5));
    return v[i];
}

double StageTimes::Median(const std::string& stage) const {
    const auto found = times_.find(stage);
    return found == times_.end() || found->second.empty() ? -1 : Percentile(found->second, 0.5);
}

// Monitor and Option started from `dist`, for a run of Applies; Option's
// window once Monitor is up (connected to the mouse when `mouse`) and Option
// has painted, nullptr when that did not happen within 30 s.
struct ApplySession {
    ApplySession(const std::string& dist, bool mouse) : dist_(dist) {
        monitor_ = StartProgram(dist + "\\Monitor.exe", {}, dist);
        const auto t0 = Clock::now();
        while (!(FindWindowA(nullptr, kMonitorTitle) != nullptr && (!mouse || Connected())) &&
               Ms(Clock::now() - t0) < 30000) {
            Sleep(10);
        }
        option_ = StartProgram(dist + "\\Option.exe", {}, dist);
        PaintWatch watch;
        while (!watch.Painted(window) && Ms(Clock::now() - t0) < 30000) {
            window = FindWindowA(nullptr, kOptionTitle);
            Sleep(10);
        }
        if (!watch.Painted(window))
            window = nullptr;
    }
    ~ApplySession() {
        if (window != nullptr)
            PostMessageA(window, WM_CLOSE, 0, 0);
        if (HWND m = FindWindowA(nullptr, kMonitorTitle))
            PostMessageA(m, WM_COMMAND, 6002, 0);
        for (HANDLE p : {option_.Get(), monitor_.Get()}) bench::EndWithin(p, 20000);
    }
    // Monitor records the mouse as present in its settings.
    bool Connected() const {
        char value[8] = {};
        GetPrivateProfileStringA("Setting", "Device", "", value, sizeof value,
                                 (dist_ + "\\config.ini").c_str());
        return std::string(value) == "1";
    }
    // One Apply, in ms from the click: until Option has handed the block over
    // (`handedOver`), until OK and Apply are enabled again (`round`), and until
    // the file `watched` first grew (`firstWrite`, -1 when it did not or none
    // is watched).
    struct Times {
        double handedOver = -1;
        double round = -1;
        double firstWrite = -1;
    };
    Times Apply(const std::string& watched = {}) const {
        HWND apply = GetDlgItem(window, kApplyId);
        HWND ok = GetDlgItem(window, kOkId);
        Times t;
        const std::uint64_t sizeBefore = SizeOf(watched);
        const auto a = Clock::now();
        // Sent, so that it returns once Option has handed the block over.
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(kApplyId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(apply));
        t.handedOver = Ms(Clock::now() - a);
        while (!(IsWindowEnabled(apply) && IsWindowEnabled(ok)) && Ms(Clock::now() - a) < 10000) {
            if (t.firstWrite < 0 && !watched.empty() && SizeOf(watched) != sizeBefore)
                t.firstWrite = Ms(Clock::now() - a);
        }
        t.round = Ms(Clock::now() - a);
        return t;
    }

    HWND window = nullptr;

  private:
    static std::uint64_t SizeOf(const std::string& file) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (file.empty() || !GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data))
            return 0;
        return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    }

    std::string dist_;
    win::ScopedHandle monitor_;
    win::ScopedHandle option_;
};

void PrintPercentiles(const char* what, const std::vector<double>& v) {
    std::printf("%s: p50 %.1f ms, p99 %.1f ms over %zu applies\n", what, Percentile(v, 0.5),
                Percentile(v, 0.99), v.size());
}

// Without the mouse Monitor answers each Apply at once.
void ApplyWithoutMouse(const std::string& dist) {
    const ApplySession session(dist, false);
    if (session.window == nullptr) {
        std::printf("Option's window was not found\n");
        return;
    }
    std::vector<double> rounds;
    for (int i = 0; i < 100; ++i) rounds.push_back(session.Apply().round);
    PrintPercentiles("Apply round trip without the mouse", rounds);
}

// The pauses, in ms, that the upload owes the mouse after its last transfer:
// a chunk pause after a block's second chunk, then the pause that follows
// that kind of block; the command pause after a plain command.
double PausesAfterLast(const std::vector<bench::Transfer>& upload) {
    if (upload.empty())
        return 0;
    if (upload.back().command)
        return device::kCommandPauseMs;
    const auto block = std::find_if(upload.rbegin(), upload.rend(),
                                    [](const bench::Transfer& t) { return t.command; });
    const unsigned code = block != upload.rend() ? block->code : 0;
    const int after = code == device::command::kProfileParameters ? device::kCommandPauseMs
                      : code == device::command::kKeyMap          ? device::kKeyMapPauseMs
                                                                  : 0;
    return device::kChunkPauseMs + after;
}

// With the mouse Monitor answers after the upload of what changed; the
// upload's own span (first to last transfer) is the mouse's pacing, the rest
// is what Option and Monitor add.
void ApplyWithMouse(const std::string& dist) {
    char tmp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, tmp);
    const std::string log = std::string(tmp) + "bench_option_apply.log";
    DeleteFileA(log.c_str());
    if (!bench::StartVirtualMouse(dist, log)) {
        std::printf("the virtual mouse did not start\n");
        return;
    }
    {
        const ApplySession session(dist, true);
        if (session.window == nullptr || !session.Connected()) {
            std::printf("Option's window was not found or Monitor did not open the mouse\n");
        } else {
            // Measured from a quiet mouse: an Apply clicked while the start-up
            // upload still runs waits for it, and its answer with it.
            if (!bench::WaitUntilQuiet(log, 1500, 60000))
                std::printf("the start-up upload did not end\n");
            session.Apply();  // not measured
            std::vector<double> rounds, uploads, beside, handOver, lead, tail;
            std::size_t transfers = 0;
            // Each Apply uploads for seconds (the mouse's pauses), so fewer of them.
            for (int i = 0; i < 20; ++i) {
                const std::size_t before = bench::Transfers(log).size();
                const ApplySession::Times times = session.Apply(log);
                const std::vector<bench::Transfer> all = bench::Transfers(log);
                const std::vector<bench::Transfer> t(
                    all.begin() + static_cast<std::ptrdiff_t>(std::min(before, all.size())),
                    all.end());
                // The upload itself: first transfer to the end of the pauses the
                // mouse is owed after the last one.
                const double upload =
                    t.empty() ? 0
                              : static_cast<double>(t.back().us - t.front().us) / 1000.0 +
                                    PausesAfterLast(t);
                transfers = t.size();
                rounds.push_back(times.round);
                uploads.push_back(upload);
                beside.push_back(times.round - upload);
                handOver.push_back(times.handedOver);
                lead.push_back(times.firstWrite);
                tail.push_back(times.round - (times.firstWrite + upload));
            }
            std::printf("Apply with the mouse: %zu transfers an Apply\n", transfers);
            PrintPercentiles("Apply round trip with the mouse", rounds);
            PrintPercentiles("  the upload itself (first transfer to the end of the pauses owed)",
                             uploads);
            PrintPercentiles("  round trip minus the upload (target p99 <= 40 ms)", beside);
            // Of that: the click to the first transfer (Option's hand-over and
            // Monitor's work before the job), and the end of the upload to
            // Apply enabled (Monitor's answer).
            PrintPercentiles("    click to the first transfer", lead);
            PrintPercentiles("      of which Option's Apply (click until it handed over)",
                             handOver);
            PrintPercentiles("    end of the upload to Apply enabled again", tail);
        }
    }
    bench::QuitVirtualMouse(dist);
}

}  // namespace

// The prefix's system DPI for the programs started after it (0 removes the
// setting, which means 96).
void SetSystemDpi(DWORD dpi) {
    constexpr const char* kDesktop = "Control Panel\\Desktop";
    if (dpi == 0) {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels");
        return;
    }
    RegSetKeyValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
}

// Option's start to first complete paint at 150 % against 100 %, started in
// turns in the same run: the larger set must not make the start much slower.
void CompareScales(const std::string& dist, const std::string& startLog, int starts) {
    DWORD before = 0;
    DWORD size = sizeof before;
    if (RegGetValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", RRF_RT_REG_DWORD,
                     nullptr, &before, &size) != ERROR_SUCCESS) {
        before = 0;
    }
    std::vector<double> at100, at150;
    StageTimes stages100, stages150;
    for (int i = 0; i < starts; ++i) {
        for (const DWORD dpi : {96u, 144u}) {
            SetSystemDpi(dpi);
            DeleteFileA(startLog.c_str());
            const Stages o = StartToPaint(dist + "\\Option.exe", dist, kOptionTitle);
            (dpi == 96 ? stages100 : stages150).AddStart(startLog);
            if (o.painted > 0)
                (dpi == 96 ? at100 : at150).push_back(o.painted);
        }
    }
    SetSystemDpi(before);
    if (at100.empty() || at150.empty()) {
        std::printf("Option did not paint its window at 100 %% or 150 %%\n");
        return;
    }
    const double m100 = Percentile(at100, 0.5);
    const double m150 = Percentile(at150, 0.5);
    const double q100 = *std::min_element(at100.begin(), at100.end());
    const double q150 = *std::min_element(at150.begin(), at150.end());
    std::printf(
        "Option start to first complete paint at 150 %%: median %.1f ms, at 100 %%: "
        "%.1f ms, ratio %.2f (target at most 1.20)\n",
        m150, m100, m150 / m100);
    std::printf("quickest starts: 150 %% %.1f ms, 100 %% %.1f ms, ratio %.2f\n", q150, q100,
                q150 / q100);
    std::printf("Option's own start-up stages at 100 %% and 150 %% (ms, median):\n");
    for (const std::string& stage : stages100.Order()) {
        std::printf("  %8.1f %8.1f %s\n", stages100.Median(stage), stages150.Median(stage),
                    stage.c_str());
    }
}

// With the argument "start" only the start figures are taken (no Apply runs).
int main(int argc, char** argv) {
    const bool startOnly = argc > 1 && std::string(argv[1]) == "start";
    const std::string dist = Env("MOUSE_DIST");
    const std::string bin = Env("MOUSE_TEST_BIN");
    if (dist.empty() || bin.empty()) {
        std::printf("MOUSE_DIST or MOUSE_TEST_BIN is not set\n");
        return 1;
    }
    // Nine starts each: on a shared machine single starts vary by a tenth or
    // more, and the medians of five moved the ratios by as much.
    constexpr int kStarts = 9;
    std::vector<double> option, trivial;
    std::vector<Stages> optionStages;
    const bool keepLog = !Env("MOUSE_START_LOG").empty();
    const std::string startLog = StartLogPath();
    SetEnvironmentVariableA("MOUSE_START_LOG", startLog.c_str());
    StageTimes stages;
    // A first start of each loads what Wine caches; the figures are the starts after it.
    StartToPaint(bin + "\\TrivialDialog.exe", bin, "Trivial Dialog");
    StartToPaint(dist + "\\Option.exe", dist, kOptionTitle);
    for (int i = 0; i < kStarts; ++i) {
        const Stages t = StartToPaint(bin + "\\TrivialDialog.exe", bin, "Trivial Dialog");
        DeleteFileA(startLog.c_str());
        const Stages o = StartToPaint(dist + "\\Option.exe", dist, kOptionTitle);
        stages.AddStart(startLog);
        if (t.painted > 0)
            trivial.push_back(t.painted);
        if (o.painted > 0) {
            option.push_back(o.painted);
            optionStages.push_back(o);
        }
    }
    std::printf(
        "Option start-up stages (ms from the start: process created, window found, "
        "shown, painted):\n");
    for (const Stages& s : optionStages) {
        std::printf("  %8.1f %8.1f %8.1f %8.1f\n", s.started, s.found, s.shown, s.painted);
    }
    std::printf("Option's own start-up stages (ms since its process was created, median):\n");
    for (const std::string& stage : stages.Order())
        std::printf("  %8.1f %s\n", stages.Median(stage), stage.c_str());
    if (option.empty() || trivial.empty()) {
        std::printf("a program did not paint its window\n");
        return 1;
    }
    const double o50 = Percentile(option, 0.5);
    const double t50 = Percentile(trivial, 0.5);
    std::printf("Option start to first complete paint: median %.1f ms over %d runs\n", o50,
                kStarts);
    std::printf("empty dialog program, same measure: median %.1f ms\n", t50);
    std::printf("ratio: %.2f\n", o50 / t50);
    // On a shared machine the slowest starts mostly measure the neighbours;
    // the quickest of each is what the program itself costs.
    const double oMin = *std::min_element(option.begin(), option.end());
    const double tMin = *std::min_element(trivial.begin(), trivial.end());
    std::printf("quickest starts: Option %.1f ms, empty dialog program %.1f ms, ratio %.2f\n", oMin,
                tMin, oMin / tMin);

    CompareScales(dist, startLog, kStarts);
    if (!keepLog)
        DeleteFileA(startLog.c_str());
    SetEnvironmentVariableA("MOUSE_START_LOG", nullptr);
    if (startOnly)
        return 0;

    ApplyWithoutMouse(dist);
    ApplyWithMouse(dist);
    return 0;
}
