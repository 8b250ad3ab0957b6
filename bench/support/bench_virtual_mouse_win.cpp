#include "bench/support/bench_virtual_mouse_win.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "bench/support/bench_process_win.h"

namespace bench {

namespace {

constexpr const char* kVirtualMouseClass = "MouseVirtualDeviceWindow";

std::string Exe(const std::string& dist) {
    return dist + (dist.empty() || dist.back() == '\\' ? "" : "\\") + "VirtualMouse.exe";
}

// Waits up to ten seconds until the virtual mouse's window is there or not.
bool WaitForWindow(bool there) {
    for (int i = 0; i < 200; ++i) {
        if ((FindWindowA(kVirtualMouseClass, nullptr) != nullptr) == there)
            return true;
        Sleep(50);
    }
    return false;
}

}  // namespace

long VirtualMouseCommand(const std::string& dist, const std::string& arguments) {
    const win::ScopedHandle process = StartProgram(Exe(dist), arguments);
    DWORD code = 0;
    if (!process || WaitForSingleObject(process.Get(), 15000) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.Get(), &code))
        return -1;
    return static_cast<long>(code);
}

bool StartVirtualMouse(const std::string& dist, const std::string& log) {
    return StartProgram(Exe(dist), "/log \"" + log + "\"") && WaitForWindow(true);
}

void QuitVirtualMouse(const std::string& dist) {
    VirtualMouseCommand(dist, "/quit");
    WaitForWindow(false);
}

std::vector<std::int64_t> TransferStamps(const std::string& log) {
    std::vector<std::int64_t> times;
    FILE* f = std::fopen(log.c_str(), "rb");
    if (f == nullptr)
        return times;
    char line[512];
    while (std::fgets(line, sizeof line, f)) {
        long long seq = 0, us = 0;
        char kind[32] = {};
        if (std::sscanf(line, "%lld %lld %31s", &seq, &us, kind) != 3)
            continue;
        if (std::strcmp(kind, "FEATURE") == 0 || std::strcmp(kind, "OUTPUT") == 0)
            times.push_back(us);
    }
    std::fclose(f);
    return times;
}

}  // namespace bench
