// Figures for the display program, under Wine:
//  - delay from posting a profile notice to the notice window being visible
//    with that notice's text (p50, p90, max over a series; each notice
//    replaces the one before, as a quick series of profile switches would);
//  - CPU time the display program uses over 60 s with nothing on the screen
//    (it should block in its message loop and use nothing).
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/support/bench_process_win.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kOsdTitle = "Professional Gaming Optical Mouse OSD";
constexpr const char* kNoticeClass = "VantorOSDNotice";

using bench::Env;

double Us(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

bool Shows(HWND notice, const std::string& prefix) {
    if (!IsWindowVisible(notice))
        return false;
    char text[256] = {};
    GetWindowTextA(notice, text, sizeof text);
    return std::string(text).rfind(prefix, 0) == 0;
}

unsigned long long CpuTicks(HANDLE process) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    auto ticks = [](FILETIME f) {
        return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    };
    return ticks(kernel) + ticks(user);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dist = Env("MOUSE_DIST");
    if (dist.empty()) {
        std::printf("MOUSE_DIST is not set\n");
        return 1;
    }
    DWORD idleMs = 60000;
    if (argc > 2 && std::string(argv[1]) == "--idle-seconds")
        idleMs = static_cast<DWORD>(std::atoi(argv[2])) * 1000;

    const win::ScopedHandle process = bench::StartProgram(dist + "\\VantorOSD.exe", {}, dist);
    const HANDLE osd = process.Get();
    if (osd == nullptr) {
        std::printf("could not start VantorOSD.exe\n");
        return 1;
    }
    HWND window = nullptr;
    HWND notice = nullptr;
    const auto started = Clock::now();
    while ((window = FindWindowA(nullptr, kOsdTitle)) == nullptr ||
           (notice = FindWindowA(kNoticeClass, nullptr)) == nullptr) {
        if (Clock::now() - started > std::chrono::seconds(20)) {
            std::printf("the display window did not appear\n");
            TerminateProcess(osd, 1);
            return 1;
        }
        Sleep(1);
    }

    constexpr int kNotices = 60;
    std::vector<double> delays;
    for (int i = 0; i < kNotices; ++i) {
        const int index = i % 5;
        const std::string expected = "PROFILE " + std::to_string(index + 1) + ":";
        const auto t0 = Clock::now();
        PostMessageA(window, 1324, 40, static_cast<LPARAM>(index) << 16);
        while (!Shows(notice, expected) && Clock::now() - t0 < std::chrono::seconds(10)) Sleep(1);
        delays.push_back(Us(Clock::now() - t0));
    }
    std::sort(delays.begin(), delays.end());
    std::printf("profile notice, post to visible: p50 %.2f ms, p90 %.2f ms, max %.2f ms over %d\n",
                delays[delays.size() / 2] / 1000, delays[delays.size() * 9 / 10] / 1000,
                delays.back() / 1000, kNotices);

    // Idle: once the last notice has faded nothing is left to do.
    while (IsWindowVisible(notice)) Sleep(50);
    Sleep(500);
    const unsigned long long before = CpuTicks(osd);
    Sleep(idleMs);
    const double cpuMs = static_cast<double>(CpuTicks(osd) - before) / 1e4;
    std::printf("idle VantorOSD: %.1f ms CPU over %u s (%.4f %% of one core)\n", cpuMs,
                static_cast<unsigned>(idleMs / 1000), idleMs ? 100.0 * cpuMs / idleMs : 0.0);

    PostMessageA(window, WM_CLOSE, 0, 0);
    if (!bench::EndWithin(osd, 10000))
        std::printf("VantorOSD did not end on WM_CLOSE\n");
    return 0;
}
