#include "bench/support/bench_process_win.h"

namespace bench {

std::string Env(const char* name) {
    char value[MAX_PATH * 2] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

win::ScopedHandle StartProgram(const std::string& exe, const std::string& arguments,
                               const std::string& folder) {
    std::string line = "\"" + exe + "\"";
    if (!arguments.empty())
        line += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return win::ScopedHandle();
    CloseHandle(info.hThread);
    return win::ScopedHandle(info.hProcess);
}

bool EndWithin(HANDLE process, DWORD timeoutMs) {
    if (process == nullptr)
        return true;
    if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0)
        return true;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    return false;
}

}  // namespace bench
