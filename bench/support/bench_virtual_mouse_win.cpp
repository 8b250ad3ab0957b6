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

std::vector<Transfer> Transfers(const std::string& log) {
    std::vector<Transfer> transfers;
    FILE* f = std::fopen(log.c_str(), "rb");
    if (f == nullptr)
        return transfers;
    char line[512];
    while (std::fgets(line, sizeof line, f)) {
        long long seq = 0, us = 0;
        char kind[32] = {};
        unsigned code = 0;
        const int fields = std::sscanf(line, "%lld %lld %31s %x", &seq, &us, kind, &code);
        if (fields < 3)
            continue;
        const bool command = std::strcmp(kind, "FEATURE") == 0;
        if (command || std::strcmp(kind, "OUTPUT") == 0)
            transfers.push_back({us, command, fields == 4 ? code : 0});
    }
    std::fclose(f);
    return transfers;
}

std::vector<std::int64_t> TransferStamps(const std::string& log) {
    std::vector<std::int64_t> times;
    for (const Transfer& t : Transfers(log)) times.push_back(t.us);
    return times;
}

bool WaitUntilQuiet(const std::string& log, unsigned quietMs, unsigned timeoutMs) {
    const ULONGLONG start = GetTickCount64();
    ULONGLONG lastChange = start;
    std::size_t lastSize = Transfers(log).size();
    while (GetTickCount64() - lastChange < quietMs) {
        if (GetTickCount64() - start > timeoutMs)
            return false;
        Sleep(50);
        const std::size_t size = Transfers(log).size();
        if (size != lastSize) {
            lastSize = size;
            lastChange = GetTickCount64();
        }
    }
    return true;
}

}  // namespace bench
