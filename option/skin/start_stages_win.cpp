#include "option/skin/start_stages_win.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace skin {
namespace {

std::uint64_t Ticks(const FILETIME& t) {
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// The log file's name, read once; empty when no log is wanted.
const std::string& LogPath() {
    static const std::string path = [] {
        char buffer[MAX_PATH] = {};
        const DWORD n = GetEnvironmentVariableA("MOUSE_START_LOG", buffer, sizeof buffer);
        return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
    }();
    return path;
}

}  // namespace

void MarkStartStage(const char* stage) {
    const std::string& path = LogPath();
    if (path.empty())
        return;
    // Only the first time: the first paint is the stage, not every paint.
    static std::vector<std::string> logged;
    for (const std::string& seen : logged) {
        if (seen == stage)
            return;
    }
    logged.emplace_back(stage);
    FILETIME created{}, ended{}, kernel{}, user{}, now{};
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    // File times count 100 ns.
    const double ms = static_cast<double>(Ticks(now) - Ticks(created)) / 10000.0;
    if (std::FILE* f = std::fopen(path.c_str(), "a")) {
        std::fprintf(f, "%8.1f %s\n", ms, stage);
        std::fclose(f);
    }
}

}  // namespace skin
