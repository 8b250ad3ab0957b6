// Figures for the button assignment menu under Wine: from the click on a
// button of Option's button page until its skinned menu is shown and
// completely painted (p50, p99), against the same measure for a plain system
// popup menu of as many items opened in this program, in the same run.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/bench_process_win.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kOptionTitle = "Professional Gaming Optical Mouse Option";
constexpr int kButtonPageId = 2000;
constexpr int kFirstAssignButtonId = 30001;
constexpr int kRounds = 60;
constexpr UINT kOpenPlainMenu = WM_APP + 1;

using bench::Env;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const std::size_t i =
        std::min(v.size() - 1, static_cast<std::size_t>(p * (v.size() - 1) + 0.5));
    return v[i];
}

// Shown, nothing left to paint, and its thread answering.
bool Painted(HWND w) {
    if (w == nullptr || !IsWindowVisible(w) || GetUpdateRect(w, nullptr, FALSE))
        return false;
    return SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr) != 0;
}

struct MenuSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMenu(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<MenuSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == search->processId && IsWindowVisible(hwnd) && std::string(cls) == "#32768") {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND OpenMenuOf(DWORD processId) {
    MenuSearch search{processId, nullptr};
    EnumWindows(&FindMenu, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One round: `open` starts the menu; the time until it is painted; the menu
// is closed again. -1 on time-out.
template <class Open>
double MenuRound(DWORD processId, Open open) {
    const auto t0 = Clock::now();
    open();
    HWND menu = nullptr;
    double ms = -1;
    while (Ms(Clock::now() - t0) < 10000) {
        menu = OpenMenuOf(processId);
        if (Painted(menu)) {
            ms = Ms(Clock::now() - t0);
            break;
        }
    }
    if (menu != nullptr) {
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageA(menu, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0000001u));
    }
    const auto t1 = Clock::now();
    while (OpenMenuOf(processId) != nullptr && Ms(Clock::now() - t1) < 10000) Sleep(1);
    return ms;
}

// The yardstick: a window of this program whose plain popup menu has the
// assignment menu's shape (ten commands, five submenus of eight).
LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY)
        PostQuitMessage(0);
    if (msg != kOpenPlainMenu)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    HMENU top = CreatePopupMenu();
    for (int s = 0; s < 5; ++s) {
        HMENU sub = CreatePopupMenu();
        for (int i = 0; i < 8; ++i)
            AppendMenuA(sub, MF_STRING, 2000 + 10 * s + i, ("Item " + std::to_string(i)).c_str());
        AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(sub),
                    ("Submenu " + std::to_string(s)).c_str());
    }
    for (int i = 0; i < 10; ++i)
        AppendMenuA(top, MF_STRING, 1000 + i, ("Command " + std::to_string(i)).c_str());
    SetForegroundWindow(hwnd);
    TrackPopupMenu(top, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, 100, 100, 0, hwnd, nullptr);
    DestroyMenu(top);
    return 0;
}

void PlainMenuThread(HWND* window, HANDLE ready) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &PlainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BenchPlainMenuOwner";
    RegisterClassA(&wc);
    *window = CreateWindowA(wc.lpszClassName, "Bench plain menu", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            50, 50, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
    SetEvent(ready);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

void Report(const char* what, const std::vector<double>& v) {
    if (v.empty()) {
        std::printf("%s: no menu was painted\n", what);
        return;
    }
    std::printf("%s: p50 %.1f ms, p99 %.1f ms over %zu openings\n", what, Percentile(v, 0.5),
                Percentile(v, 0.99), v.size());
}

}  // namespace

int main() {
    const std::string dist = Env("MOUSE_DIST");
    if (dist.empty()) {
        std::printf("MOUSE_DIST is not set\n");
        return 1;
    }
    const win::ScopedHandle option = bench::StartProgram(dist + "\\Option.exe", {}, dist);
    if (!option) {
        std::printf("Option.exe did not start\n");
        return 1;
    }
    const DWORD optionId = GetProcessId(option.Get());
    HWND w = nullptr;
    const auto t0 = Clock::now();
    while (!Painted(w) && Ms(Clock::now() - t0) < 30000) {
        w = FindWindowA(nullptr, kOptionTitle);
        Sleep(10);
    }
    HWND button = GetDlgItem(GetDlgItem(w, kButtonPageId), kFirstAssignButtonId);

    HWND plain = nullptr;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread plainThread(&PlainMenuThread, &plain, ready);
    WaitForSingleObject(ready, 10000);
    CloseHandle(ready);

    std::vector<double> skinned, system;
    for (int i = 0; i < kRounds && button != nullptr && plain != nullptr; ++i) {
        const double s = MenuRound(optionId, [&] { PostMessageA(button, BM_CLICK, 0, 0); });
        const double p =
            MenuRound(GetCurrentProcessId(), [&] { PostMessageA(plain, kOpenPlainMenu, 0, 0); });
        if (s >= 0)
            skinned.push_back(s);
        if (p >= 0)
            system.push_back(p);
    }
    if (button == nullptr)
        std::printf("the button page's first button was not found\n");
    Report("button click to its skinned menu painted", skinned);
    Report("plain system popup menu, same measure", system);
    if (!skinned.empty() && !system.empty())
        std::printf("ratio of medians: %.2f\n", Percentile(skinned, 0.5) / Percentile(system, 0.5));

    if (plain != nullptr)
        PostMessageA(plain, WM_CLOSE, 0, 0);
    plainThread.join();
    if (w != nullptr)
        PostMessageA(w, WM_CLOSE, 0, 0);
    bench::EndWithin(option.Get(), 20000);
    return skinned.empty() || system.empty() ? 1 : 0;
}
