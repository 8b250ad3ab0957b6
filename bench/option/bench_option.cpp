// Figures for Option under Wine:
//  - start of Option.exe until its window is shown and completely painted
//    (its controls included), against the same for an empty dialog program,
//    in the same run (ratio), with Option's own log of its start-up stages;
//  - the Apply round trip with Monitor but without the mouse: from the
//    Apply click until OK and Apply are enabled again (p50, p99).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/support/bench_process_win.h"

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

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const std::size_t i =
        std::min(v.size() - 1, static_cast<std::size_t>(p * (v.size() - 1) + 0.5));
    return v[i];
}

}  // namespace

int main() {
    const std::string dist = Env("MOUSE_DIST");
    const std::string bin = Env("MOUSE_TEST_BIN");
    if (dist.empty() || bin.empty()) {
        std::printf("MOUSE_DIST or MOUSE_TEST_BIN is not set\n");
        return 1;
    }
    constexpr int kStarts = 5;
    std::vector<double> option, trivial;
    std::vector<Stages> optionStages;
    const bool keepLog = !Env("MOUSE_START_LOG").empty();
    const std::string startLog = StartLogPath();
    SetEnvironmentVariableA("MOUSE_START_LOG", startLog.c_str());
    // Each stage's times over the measured starts, in the order first seen.
    std::vector<std::string> stageOrder;
    std::map<std::string, std::vector<double>> stageTimes;
    // A first start of each loads what Wine caches; the figures are the starts after it.
    StartToPaint(bin + "\\TrivialDialog.exe", bin, "Trivial Dialog");
    StartToPaint(dist + "\\Option.exe", dist, kOptionTitle);
    for (int i = 0; i < kStarts; ++i) {
        const Stages t = StartToPaint(bin + "\\TrivialDialog.exe", bin, "Trivial Dialog");
        DeleteFileA(startLog.c_str());
        const Stages o = StartToPaint(dist + "\\Option.exe", dist, kOptionTitle);
        for (const auto& [stage, ms] : ReadStartLog(startLog)) {
            auto& times = stageTimes[stage];
            if (times.empty())
                stageOrder.push_back(stage);
            times.push_back(ms);
        }
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
    for (const std::string& stage : stageOrder) {
        std::printf("  %8.1f %s\n", Percentile(stageTimes[stage], 0.5), stage.c_str());
    }
    if (!keepLog)
        DeleteFileA(startLog.c_str());
    SetEnvironmentVariableA("MOUSE_START_LOG", nullptr);
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

    // Monitor without the mouse answers each Apply at once.
    const win::ScopedHandle monitor = StartProgram(dist + "\\Monitor.exe", {}, dist);
    const win::ScopedHandle opt = StartProgram(dist + "\\Option.exe", {}, dist);
    const auto t0 = Clock::now();
    HWND w = nullptr;
    PaintWatch watch;
    while ((FindWindowA(nullptr, kMonitorTitle) == nullptr || !watch.Painted(w)) &&
           Ms(Clock::now() - t0) < 30000) {
        w = FindWindowA(nullptr, kOptionTitle);
        Sleep(10);
    }
    HWND apply = GetDlgItem(w, kApplyId);
    HWND ok = GetDlgItem(w, kOkId);
    std::vector<double> rounds;
    constexpr int kApplies = 100;
    for (int i = 0; i < kApplies && apply != nullptr; ++i) {
        const auto a = Clock::now();
        // Sent, so that it returns once Option has handed the block over.
        SendMessageA(w, WM_COMMAND, MAKEWPARAM(kApplyId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(apply));
        while (!(IsWindowEnabled(apply) && IsWindowEnabled(ok)) && Ms(Clock::now() - a) < 10000) {
        }
        rounds.push_back(Ms(Clock::now() - a));
    }
    if (!rounds.empty()) {
        std::printf(
            "Apply round trip without the mouse: p50 %.1f ms, p99 %.1f ms over %zu applies\n",
            Percentile(rounds, 0.5), Percentile(rounds, 0.99), rounds.size());
    } else {
        std::printf("Option's Apply button was not found\n");
    }
    if (w != nullptr)
        PostMessageA(w, WM_CLOSE, 0, 0);
    if (HWND m = FindWindowA(nullptr, kMonitorTitle))
        PostMessageA(m, WM_COMMAND, 6002, 0);
    for (HANDLE p : {opt.Get(), monitor.Get()}) bench::EndWithin(p, 20000);
    return 0;
}
