// Figures for Monitor's start and idle cost, under Wine:
//  - start of Monitor.exe until its settings block is published, against the
//    start of a program that does nothing, measured in the same run;
//  - CPU time an idle Monitor uses over 60 s (it should block in its message
//    loops and use next to nothing).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/support/bench_process_win.h"

namespace {

using Clock = std::chrono::steady_clock;

using bench::Env;
using bench::StartProgram;

bool SectionExists() {
    HANDLE mapping =
        OpenFileMappingA(FILE_MAP_READ, FALSE, "Professional_Gaming_Mouse_Normal_Share_Data");
    if (mapping == nullptr)
        return false;
    CloseHandle(mapping);
    return true;
}

void StopMonitor(HANDLE process) {
    if (HWND w = FindWindowA(nullptr, "Professional Gaming Optical Mouse Monitor")) {
        PostMessageA(w, WM_COMMAND, 6002, 0);
    }
    bench::EndWithin(process, 20000);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main() {
    const std::string dist = Env("MOUSE_DIST");
    const std::string bin = Env("MOUSE_TEST_BIN");
    if (dist.empty()) {
        std::printf("MOUSE_DIST is not set\n");
        return 1;
    }
    const std::string monitor = dist + "\\Monitor.exe";
    const std::string baseline = bin + "\\Option.exe";  // the stand-in: starts, writes, ends

    constexpr int kRuns = 5;
    std::vector<double> monitorMs, baselineMs;
    for (int i = 0; i < kRuns; ++i) {
        auto t0 = Clock::now();
        if (const win::ScopedHandle b = StartProgram(baseline, {}, bin)) {
            WaitForSingleObject(b.Get(), 20000);
            baselineMs.push_back(Ms(Clock::now() - t0));
        }
        t0 = Clock::now();
        const win::ScopedHandle m = StartProgram(monitor, {}, dist);
        if (!m) {
            std::printf("could not start %s\n", monitor.c_str());
            return 1;
        }
        while (!SectionExists() && Ms(Clock::now() - t0) < 20000) Sleep(1);
        monitorMs.push_back(Ms(Clock::now() - t0));
        StopMonitor(m.Get());
    }
    const double monitorMedian = Median(monitorMs);
    const double baselineMedian = baselineMs.empty() ? 0 : Median(baselineMs);
    std::printf("Monitor start to block published: median %.1f ms over %d runs\n", monitorMedian,
                kRuns);
    std::printf("baseline (start and end of a trivial program): median %.1f ms\n", baselineMedian);
    if (baselineMedian > 0)
        std::printf("ratio: %.2f\n", monitorMedian / baselineMedian);

    const win::ScopedHandle m = StartProgram(monitor, {}, dist);
    while (!SectionExists()) Sleep(10);
    Sleep(3000);  // past start-up work
    FILETIME c, e, k0, u0, k1, u1;
    GetProcessTimes(m.Get(), &c, &e, &k0, &u0);
    constexpr DWORD kIdleMs = 60000;
    Sleep(kIdleMs);
    GetProcessTimes(m.Get(), &c, &e, &k1, &u1);
    auto ticks = [](FILETIME f) {
        return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    };
    const double cpuMs =
        static_cast<double>((ticks(k1) - ticks(k0)) + (ticks(u1) - ticks(u0))) / 1e4;
    std::printf("idle Monitor: %.1f ms CPU over %u s (%.3f %% of one core)\n", cpuMs,
                static_cast<unsigned>(kIdleMs / 1000), 100.0 * cpuMs / kIdleMs);
    StopMonitor(m.Get());
    return 0;
}
